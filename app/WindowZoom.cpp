#include "app/WindowZoom.h"

#include "app/WindowFit.h"
#include "editor/Artwork.h"
#include "platform/gui/FixedSizeHints.h"

WindowZoom::WindowZoom (juce::DocumentWindow& windowToZoom, juce::Component& picturesToRescale)
    : window (windowToZoom), pictures (picturesToRescale)
{
}

float WindowZoom::getScaleFactor() const
{
    return juce::Desktop::getInstance().getGlobalScaleFactor() * static_cast<float> (zoomPercent) / 100.0f;
}

void WindowZoom::setZoom (int percent)
{
    if (percent == zoomPercent)
        return;

    // A desktop window's position is kept in its own scaled units, so the same spot on the
    // screen is another position at another zoom. The spot is kept from the first of a run of
    // zooms, so that rounding at each step does not move the window.
    if (window.getPosition() != zoomedPosition)
        zoomAnchor = window.getPosition().toFloat() * getScaleFactor();
    zoomPercent = percent;
    auto topLeft = zoomAnchor;
    // A larger window that would reach past the user area moves back into it; the spot is kept,
    // so that zooming out again puts the window back there.
    if (const auto* shownOn = displayOfWindow(); shownOn != nullptr && window.isOnDesktop())
    {
        const auto scale = getScaleFactor();
        const juce::Rectangle<float> shown (zoomAnchor.x, zoomAnchor.y,
                                            static_cast<float> (window.getWidth()) * scale,
                                            static_cast<float> (window.getHeight()) * scale);
        topLeft = WindowFit::keptInside (shownOn->userArea, frameOnScreen(), shown.toNearestInt()).toFloat();
    }
    const auto position = topLeft / getScaleFactor();
    zoomedPosition = {juce::roundToInt (position.x), juce::roundToInt (position.y)};
    window.setTopLeftPosition (zoomedPosition);

    if (auto* peer = window.getPeer())
        peer->updateBounds();

    const auto* display =
        juce::Desktop::getInstance().getDisplays().getDisplayForRect (window.getScreenBounds());
    const auto displayScale = display != nullptr ? static_cast<float> (display->scale) : artworkScale();

    rescaleArtwork (pictures, displayScale * static_cast<float> (zoomPercent) / 100.0f);

    keepFixedSize();
    window.repaint();
}

bool WindowZoom::canZoomTo (int percent) const
{
    if (percent == zoomPercent)
        return false;
    const auto* display = displayOfWindow();
    if (percent < zoomPercent || display == nullptr)
        return true;
    const auto& displays = juce::Desktop::getInstance().getDisplays();
    const auto physicalFrame = frameOnScreen().multipliedBy (display->scale);
    return WindowFit::fits (displays.logicalToPhysical (display->userArea, display), display->scale,
                            physicalFrame, {window.getWidth(), window.getHeight()}, percent);
}

const juce::Displays::Display* WindowZoom::displayOfWindow() const
{
    return juce::Desktop::getInstance().getDisplays().getDisplayForRect (window.getScreenBounds());
}

juce::BorderSize<int> WindowZoom::frameOnScreen() const
{
    if (auto* peer = window.getPeer())
        if (const auto frame = peer->getFrameSizeIfPresent())
            return *frame;
    return {};
}

void WindowZoom::resize (const std::function<void()>& change)
{
    // Nothing is put back while the window takes its new size.
    fixedSize = {};
    change();
    fixedSize = {window.getWidth(), window.getHeight()};
    keepFixedSize();
}

void WindowZoom::keepFixedSize()
{
    auto* peer = window.getPeer();

    if (peer == nullptr)
        return;

    const auto physical = juce::Desktop::getInstance().getDisplays().logicalToPhysical (peer->getBounds());
    FixedSizeHints::apply (peer->getNativeHandle(), physical.getWidth(), physical.getHeight());
}

void WindowZoom::windowResized()
{
    if (fixedSize.x <= 0 || (window.getWidth() == fixedSize.x && window.getHeight() == fixedSize.y))
        return;

    // Put back after the window manager's own handling of its request has ended.
    juce::MessageManager::callAsync (
        [self = juce::Component::SafePointer<juce::DocumentWindow> (&window), this]
        {
            if (self == nullptr)
                return;
            self->setSize (fixedSize.x, fixedSize.y);
            keepFixedSize();
        });
}
