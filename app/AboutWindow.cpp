#include "app/AboutWindow.h"

#include "MarloArtwork.h"

AboutWindow::AboutWindow() : juce::ResizableWindow ({}, false)
{
    aboutImage = juce::ImageCache::getFromMemory (MarloArt::about_png, MarloArt::about_pngSize);
    content = std::make_unique<AboutComponent> (&aboutImage);
    setContentNonOwned (content.get(), true);
    setUsingNativeTitleBar (false);
    setResizable (false, false);
    centreWithSize (content->getWidth(), content->getHeight());
    // On the desktop once, at its final size and place, so that no earlier size can reach the
    // window manager after it.
    addToDesktop();
    setAlwaysOnTop (false);
    setVisible (true);
}

AboutWindow::~AboutWindow()
{
    clearContentComponent();
    content.reset();
}

bool AboutWindow::keyPressed (const juce::KeyPress& key)
{
    if (key != juce::KeyPress::escapeKey)
        return false;

    // Deleted once the key's handling has left the window's peer, which goes with the window.
    juce::MessageManager::callAsync ([window = juce::Component::SafePointer<AboutWindow> (this)]
                                     { delete window.getComponent(); });
    return true;
}
