#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "midi/ui/MonitorComponentProbe.h"
#include "midi/ui/MonitorFixture.h"

#include "app/MonitorWindow.h"
#include "app/WindowManager.h"

namespace
{
/** Whether the light glows over a part of the controller's picture, as a user sees it lit. */
bool glowsOver (PictureLight& light, const ControlSelector& picture, int part)
{
    const auto* button = picture.getButtons()[part];
    if (button == nullptr)
        return false;
    const auto centre = button->getBounds().getCentre();
    return light.createComponentSnapshot (light.getLocalBounds()).getPixelAt (centre.x, centre.y).getAlpha() >
           0;
}
} // namespace

TEST_F (MonitorTest, TheWindowLightsTheWatchedDocumentsControlBriefly)
{
    juce::File lastDirectory;
    auto document = createEditorDocument (midi, "Untitled 1", &lastDirectory);
    ASSERT_TRUE (document->getController()->loadPresetData (preset));

    auto drainTimer = std::make_unique<ManualTimer>();
    auto* drains = drainTimer.get();
    juce::WeakReference<MonitorWindow> window =
        new MonitorWindow (midi, document.get(), std::move (drainTimer), [this] { return now; });
    EXPECT_EQ (window->getName(), "MIDI Monitor");
    EXPECT_FALSE (window->isResizable());
    ASSERT_NE (window->getLight(), nullptr);

    const auto& picture = document->getEditor()->getPictureSelector();
    inject (juce::MidiMessage::controllerEvent (2, 74, 10));
    drains->fire();
    EXPECT_TRUE (MonitorComponentProbe (window->getComponent()).getLine (0).endsWith ("Knob 1"));
    EXPECT_TRUE (glowsOver (*window->getLight(), picture, PictureLight::partOf ("Knob 1")));
    EXPECT_FALSE (glowsOver (*window->getLight(), picture, PictureLight::partOf ("Pad 5")));
    EXPECT_EQ (PictureLight::partOf ("Knob 8"), PictureLight::partOf ("Knob 1"));
    EXPECT_EQ (PictureLight::partOf ("Mod Wheel"), PictureLight::partOf ("Pitch Wheel"));
    EXPECT_NE (PictureLight::partOf ("Pad 16"), PictureLight::partOf ("Knob 1"));
    EXPECT_EQ (PictureLight::partOf ("Sustain"), -1);

    now += PictureLight::litForMs + 1.0;
    drains->fire();
    EXPECT_FALSE (glowsOver (*window->getLight(), picture, PictureLight::partOf ("Knob 1")));

    // The document goes first: the monitor names nothing, and nothing is lit in a deleted picture.
    document.reset();
    inject (juce::MidiMessage::controllerEvent (2, 74, 11));
    drains->fire();
    EXPECT_EQ (window->getLight(), nullptr);
    EXPECT_FALSE (MonitorComponentProbe (window->getComponent()).getLine (1).contains ("Knob 1"));

    window->closeButtonPressed();
    EXPECT_TRUE (runMessageLoopUntil ([&window] { return window == nullptr; }));
}

TEST_F (MonitorTest, TheWindowMenuOpensOneMonitorInsideTheScreenWatchingTheDocument)
{
    juce::ApplicationCommandManager commands;
    juce::File lastDirectory;
    WindowManager windows (&midi, &commands, &lastDirectory);
    windows.newDocument();
    windows.showMonitor();
    auto* first = windows.getMonitorWindow();
    ASSERT_NE (first, nullptr);
    windows.showMonitor();
    EXPECT_EQ (windows.getMonitorWindow(), first) << "raised, not opened a second time";
    EXPECT_EQ (first->getWatchedDocument(), windows.getDocument (0));
    EXPECT_TRUE (first->isOnDesktop());

    const auto* display = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay();
    ASSERT_NE (display, nullptr);
    EXPECT_TRUE (display->userArea.contains (first->getBounds())) << first->getBounds().toString();

    // When the watched document closes, the monitor watches one that is still open.
    windows.newDocument();
    first->watch (windows.getDocument (0));
    dialogs.saveAnswers.push_back (Dialogs::SaveAnswer::no);
    windows.windowCloseRequested (windows.getDocument (0));
    ASSERT_EQ (windows.getNumDocuments(), 1);
    EXPECT_EQ (first->getWatchedDocument(), windows.getDocument (0));
}
