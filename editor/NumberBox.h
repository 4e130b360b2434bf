#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A single-line field that holds one number within an inclusive range.

    Typed text becomes the value on Return or when the field loses focus; text outside the range,
    or no text at all, brings back the last accepted value and tells nobody. Every accepted value
    is reported, even one equal to the value already held.

    Keys: taking focus selects the text, so typing replaces it; Up and Down step by 1, Page Up and
    Page Down by 10, kept within the range and committed as Return commits; Escape drops typed
    text. Keys with Ctrl (Cmd) other than the clipboard's, keys with Alt and F10 go on to the
    window. Its tooltip names its range ("1 to 16"), and the value in words where a box has them.
*/
class NumberBox : public juce::TextEditor, public juce::TextEditor::Listener
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;
        /** Called after the box has accepted a value. */
        virtual void numberBoxValueChanged (NumberBox* box) = 0;
    };

    NumberBox();
    ~NumberBox() override;

    /** Also decides whether signs may be typed: only a negative minimum allows them. */
    void setMinimum (double newMinimum);
    void setMaximum (double newMaximum);
    double getMinimum() const noexcept { return minimum; }
    double getMaximum() const noexcept { return maximum; }
    double getValue() const noexcept { return value; }

    /** Takes a value within the range and, if asked, tells the listeners; refuses any other. */
    void setValue (double newValue, bool notify);

    /** Whether the text differs from the value: typed and not yet committed. */
    bool hasPendingText() const;
    /** Commits typed text as Return would, by the box's own rules; does nothing without any. */
    void commitPendingText();

    /** Only an optional sign followed by digits is a number here. */
    static bool isNumber (const juce::String& text);

    /** Words for a value, shown in the tooltip below the range ("36 is C1"); none by default. */
    void setValueWords (std::function<juce::String (int value)> words);

    /** Adds a listener (not owned) unless it is already there; listeners are never removed. */
    void addListener (Listener* listener);

    void paint (juce::Graphics& g) override;
    bool keyPressed (const juce::KeyPress& key) override;

    void textEditorTextChanged (juce::TextEditor&) override;
    void textEditorReturnKeyPressed (juce::TextEditor&) override;
    void textEditorFocusLost (juce::TextEditor&) override;

private:
    void commitText();
    /** Moves the typed number, or the value when nothing valid is typed, by delta and commits. */
    void step (int delta);
    void showValue();
    void showTooltip();
    static juce::String textOf (double number);

    juce::ListenerList<Listener> listeners;
    std::function<juce::String (int)> valueWords;
    double minimum = 0.0;
    double maximum = 0.0;
    double value = 0.0;
    // A second holder of the framework's text value. Every setText posts the new text to the
    // value's listeners, and when that message arrives the editor sets its text from the value
    // again; with one holder, keys typed before it arrived (a page opened and typed into at once)
    // were put back to the text set before them. With two, typing keeps the value up to date.
    juce::Value typedText;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (NumberBox)
};
