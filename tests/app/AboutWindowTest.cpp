#include <gtest/gtest.h>

#include "AppTestSupport.h"

#include "app/AboutWindow.h"

TEST (AboutWindow, ShowsThePictureAndTheVersionCentred)
{
    juce::WeakReference<AboutWindow> window = new AboutWindow();
    auto* content = window->getAboutComponent();
    ASSERT_NE (content, nullptr);

    EXPECT_EQ (content->getWidth(), 484);
    EXPECT_EQ (content->getHeight(), 267);
    EXPECT_EQ (window->getWidth(), 484);
    EXPECT_EQ (window->getHeight(), 267);
    EXPECT_TRUE (window->getName().isEmpty());
    EXPECT_FALSE (window->isUsingNativeTitleBar());
    EXPECT_FALSE (window->isResizable());
    EXPECT_FALSE (window->isAlwaysOnTop());

    const auto screen = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea;
    EXPECT_LE (std::abs (window->getBounds().getCentreX() - screen.getCentreX()), 1);

    auto* label = dynamic_cast<juce::Label*> (content->getChildComponent (0));
    ASSERT_NE (label, nullptr);
    EXPECT_EQ (label->getName(), "new label");
    EXPECT_EQ (label->getText(), juce::String ("Version: ") + JUCE_APPLICATION_VERSION_STRING);
    EXPECT_EQ (label->getBounds(), juce::Rectangle<int> (0, 133, 484, 15));
    EXPECT_FALSE (label->isEditable());

    delete window.get();
}

TEST (AboutWindow, AClickOnThePictureClosesTheWindow)
{
    juce::WeakReference<AboutWindow> window = new AboutWindow();
    auto* content = window->getAboutComponent();
    const juce::MouseEvent click (juce::Desktop::getInstance().getMainMouseSource(), {10.0f, 10.0f}, {}, 0.0f,
                                  0.0f, 0.0f, 0.0f, 0.0f, content, content, juce::Time::getCurrentTime(),
                                  {10.0f, 10.0f}, juce::Time::getCurrentTime(), 1, false);
    content->mouseUp (click);

    EXPECT_EQ (window.get(), nullptr);
}

TEST (AboutWindow, ANullPictureLeavesTheComponentEmpty)
{
    AboutComponent empty (nullptr);
    EXPECT_EQ (empty.getWidth(), 0);
    EXPECT_EQ (empty.getNumChildComponents(), 0);
}

TEST (AboutWindow, EscapeClosesTheWindowAndOtherKeysDoNot)
{
    juce::WeakReference<AboutWindow> window = new AboutWindow();
    EXPECT_FALSE (window->keyPressed (juce::KeyPress ('a')));
    EXPECT_TRUE (window->keyPressed (juce::KeyPress (juce::KeyPress::escapeKey)));
    runMessageLoopUntil ([&window] { return window.get() == nullptr; }, 2000);
    EXPECT_EQ (window.get(), nullptr);
}
