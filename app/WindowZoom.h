#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A document window's zoom and its one size: the zoom scales the window, menu bar included, over
    the display's own scale and keeps it on the screen; the size is the only one the window has,
    told to the window manager and put back when something else changes it.

    Not owned: the window, and the component whose pictures are made again at each zoom; both
    outlive this.
*/
class WindowZoom
{
public:
    WindowZoom (juce::DocumentWindow& window, juce::Component& pictures);

    /** In percent: it multiplies the display's own scale. */
    int getZoom() const noexcept { return zoomPercent; }
    /** What the framework draws the window at, over the display's own scale. */
    float getScaleFactor() const;

    /** Draws the window at a zoom step, keeping its top left where it is on the screen unless that
        would put a part of it off the screen's user area; its pictures are made again for the new
        scale. */
    void setZoom (int percent);
    /** Whether the window may go to a step: one that the window, frame included, does not fit in
        its screen's user area at is refused, unless it makes the window smaller. */
    bool canZoomTo (int percent) const;

    /** Takes the window's present size as its one size, after `change` has sized it. */
    void resize (const std::function<void()>& change);
    /** Tells the window manager the window's one size; called whenever the framework has moved or
        sized the window, since that drops what the window manager was told. */
    void keepFixedSize();
    /** After the window was sized: a size other than its own is put back. */
    void windowResized();

private:
    /** The display the window is on, and the frame round it in that display's units; none until
        the window manager has framed it. */
    const juce::Displays::Display* displayOfWindow() const;
    juce::BorderSize<int> frameOnScreen() const;

    juce::DocumentWindow& window;
    juce::Component& pictures;
    int zoomPercent = 100;
    // Where on the screen the window was when a run of zooms began, and where the last zoom put it.
    juce::Point<float> zoomAnchor;
    juce::Point<int> zoomedPosition{-1, -1};
    // The window's size in its own units, taken when its content and menu bar are in place; a
    // size the window manager forces on it anyway is put back.
    juce::Point<int> fixedSize;

    JUCE_DECLARE_NON_COPYABLE (WindowZoom)
};
