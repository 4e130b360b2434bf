#include "app/CompareWindow.h"

#include "app/WindowFit.h"
#include "platform/gui/FixedSizeHints.h"

#include <cmath>

namespace
{
/** Room for the window manager's frame before the window has one, in the display's pixels. */
const juce::BorderSize<int> assumedFrame (32, 4, 4, 4);
} // namespace

CompareWindow::CompareWindow (const juce::String& documentName)
    : juce::DocumentWindow (titleFor (documentName), juce::Colour (0xfff0f0f0), closeButton, false),
      content (std::make_unique<CompareComponent>())
{
    setLookAndFeel (&look);
    content->onClose = [this] { closeButtonPressed(); };
    setUsingNativeTitleBar (true);
    setResizable (false, false);
    setContentNonOwned (content.get(), true);
}

CompareWindow::~CompareWindow()
{
    clearContentComponent();
    content.reset();
    setLookAndFeel (nullptr);
}

juce::String CompareWindow::titleFor (const juce::String& documentName)
{
    return "Compare with Controller - " + documentName;
}

float CompareWindow::getDesktopScaleFactor() const
{
    return juce::Desktop::getInstance().getGlobalScaleFactor() * static_cast<float> (zoomPercent) / 100.0f;
}

void CompareWindow::showRows (const std::vector<PresetDifference::Row>& rows)
{
    content->showRows (rows);
    setVisible (true);
    // Only once the window is mapped where it asked to be: the hints replace those that carry the
    // position asked for, and the window manager would place a window without them itself.
    keepFixedSize();
    toFront (true);
    content->getList().grabKeyboardFocus();
}

void CompareWindow::placeOver (juce::Rectangle<int> owner)
{
    const auto& displays = juce::Desktop::getInstance().getDisplays();
    const auto* display = displays.getDisplayForRect (owner);
    if (display == nullptr)
        display = displays.getPrimaryDisplay();

    if (display != nullptr)
    {
        const auto scale = display->scale;
        const juce::Point<int> contentSize (content->getWidth(), content->getHeight());
        zoomPercent = WindowFit::fit (displays.logicalToPhysical (display->userArea, display), scale,
                                      assumedFrame, contentSize, 0)
                          .zoomPercent;

        // In the desktop's logical units: the window with its frame, centred over its document and
        // moved inside the user area where it would stick out.
        const auto zoom = zoomPercent / 100.0;
        const auto outer = juce::Rectangle<int> (
            juce::roundToInt (contentSize.x * zoom + assumedFrame.getLeftAndRight() / scale),
            juce::roundToInt (contentSize.y * zoom + assumedFrame.getTopAndBottom() / scale));
        const auto placed = outer.withCentre (owner.getCentre()).constrainedWithin (display->userArea);

        // A desktop window's position is in its own zoomed units.
        const auto factor = getDesktopScaleFactor();
        setTopLeftPosition (static_cast<int> (std::ceil (static_cast<float> (placed.getX()) / factor)),
                            static_cast<int> (std::ceil (static_cast<float> (placed.getY()) / factor)));
    }

    addToDesktop (getDesktopWindowStyleFlags());
}

void CompareWindow::keepFixedSize()
{
    // As a document window: one size, which the window manager offers no way to stretch.
    if (auto* peer = getPeer())
    {
        const auto physical =
            juce::Desktop::getInstance().getDisplays().logicalToPhysical (peer->getBounds());
        FixedSizeHints::apply (peer->getNativeHandle(), physical.getWidth(), physical.getHeight());
    }
}

void CompareWindow::activeWindowStatusChanged()
{
    juce::DocumentWindow::activeWindowStatusChanged();
    // The keyboard works in the list as soon as the window is active, without a click.
    // Also called while the window is taken apart, when the content may be gone.
    if (content != nullptr && isActiveWindow() && !content->hasKeyboardFocus (true))
        content->getList().grabKeyboardFocus();
}

void CompareWindow::closeButtonPressed()
{
    if (onClose != nullptr)
        onClose();
}

bool CompareWindow::keyPressed (const juce::KeyPress& key)
{
    if (key != juce::KeyPress::escapeKey)
        return juce::DocumentWindow::keyPressed (key);
    closeButtonPressed();
    return true;
}
