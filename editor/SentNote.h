#pragma once

#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>

/** The line beside the main page's buttons that says where and when the preset was last sent:
    "Sent to <output> at <hh:mm:ss>" (then "... verified" when the controller gave it back), in
    the page's text colour, gone five seconds later.

    The time of day and the five seconds are read from one clock, which tests replace, so that
    they drive the note's life without waiting. Message thread only.
*/
class SentNote final : public juce::Label, private juce::Timer
{
public:
    static constexpr int shownForMs = 5000;

    SentNote();
    ~SentNote() override;

    /** Shows the note for a send to `outputName` now; a send while it shows starts it anew. */
    void showSendTo (const juce::String& outputName);

    /** The controller gave back what was sent: "... verified", while the note still shows. */
    void markVerified();

    /** Hides the note once its time is up by the clock; the note's own timer calls this. */
    void refresh();

    /** The clock the note reads (the system's time unless replaced). */
    void setClock (std::function<juce::Time()> newClock);

private:
    void timerCallback() override { refresh(); }

    std::function<juce::Time()> clock;
    juce::Time shownAt;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SentNote)
};
