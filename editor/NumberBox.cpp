#include "editor/NumberBox.h"

#include "preset/ShownValue.h"

#include <cmath>

namespace
{
const juce::String digits ("0123456789");
const juce::String digitsAndSigns ("0123456789-+");
constexpr int pageStep = 10;

bool isClipboardOrSelectAllKey (const juce::KeyPress& key)
{
    for (auto letter : {'a', 'c', 'v', 'x'})
        if (key == juce::KeyPress (letter, juce::ModifierKeys::commandModifier, 0))
            return true;
    return false;
}
} // namespace

NumberBox::NumberBox() : juce::TextEditor (juce::String(), 0)
{
    setInputRestrictions (0, digitsAndSigns);
    setMultiLine (false);
    setScrollbarsShown (false);
    setReadOnly (false);
    setCaretVisible (true);
    setSelectAllWhenFocused (true);
    juce::TextEditor::addListener (this);
    typedText.referTo (getTextValue());
}

NumberBox::~NumberBox()
{
    juce::TextEditor::removeListener (this);
}

void NumberBox::setMinimum (double newMinimum)
{
    minimum = newMinimum;
    setInputRestrictions (0, minimum >= 0.0 ? digits : digitsAndSigns);
    showTooltip();
}

void NumberBox::setMaximum (double newMaximum)
{
    maximum = newMaximum;
    showTooltip();
}

void NumberBox::showTooltip()
{
    const auto range = textOf (minimum) + " to " + textOf (maximum);
    setTooltip (valueWords != nullptr ? range + "\n" + valueWords (juce::roundToInt (value)) : range);
}

void NumberBox::setValueWords (std::function<juce::String (int value)> words)
{
    valueWords = std::move (words);
    showTooltip();
}

void NumberBox::setValue (double newValue, bool notify)
{
    if (newValue < minimum || newValue > maximum)
    {
        showValue();
        return;
    }

    // Adding 0.0 turns -0 into +0, so "-0" never shows.
    value = newValue + 0.0;
    showValue();

    if (notify)
        listeners.call ([this] (Listener& listener) { listener.numberBoxValueChanged (this); });
}

void NumberBox::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.add (listener);
}

void NumberBox::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xffffffff));
}

bool NumberBox::keyPressed (const juce::KeyPress& key)
{
    // The box's own text undo and word moves would shadow the document's undo, page and bank keys.
    if (key.getModifiers().isCommandDown() && !isClipboardOrSelectAllKey (key))
        return false;

    // F10 and Alt with a letter open the window's menus; a box that took them would swallow them.
    if (key.getModifiers().isAltDown() || key.getKeyCode() == juce::KeyPress::F10Key)
        return false;

    const auto code = key.getKeyCode();
    if (code == juce::KeyPress::upKey || code == juce::KeyPress::downKey ||
        code == juce::KeyPress::pageUpKey || code == juce::KeyPress::pageDownKey)
    {
        const auto size =
            (code == juce::KeyPress::pageUpKey || code == juce::KeyPress::pageDownKey) ? pageStep : 1;
        step (code == juce::KeyPress::upKey || code == juce::KeyPress::pageUpKey ? size : -size);
        return true;
    }

    if (code == juce::KeyPress::escapeKey)
    {
        showValue();
        selectAll();
        return true;
    }

    return juce::TextEditor::keyPressed (key);
}

void NumberBox::step (int delta)
{
    const auto text = getText();
    const auto from = isNumber (text) ? text.getDoubleValue() : value;
    setValue (juce::jlimit (minimum, maximum, from + delta), true);
    selectAll();
}

void NumberBox::textEditorTextChanged (juce::TextEditor&) {}

void NumberBox::textEditorReturnKeyPressed (juce::TextEditor&)
{
    commitText();
}

void NumberBox::textEditorFocusLost (juce::TextEditor&)
{
    // Only typed text is committed. The framework delivers the loss of focus later, and by then a
    // load or an undo may have hidden this box: reporting its unchanged value again would write it
    // into a byte that the box now shown shares with it.
    commitPendingText();
    setHighlightedRegion ({0, 0});
}

void NumberBox::commitText()
{
    const auto text = getText();

    // Empty text, a lone sign or anything else that is not a number brings the value back:
    // reading "-" as 0 would write a value the user never typed.
    if (!isNumber (text))
    {
        showValue();
        return;
    }

    setValue (text.getDoubleValue(), true);
}

bool NumberBox::hasPendingText() const
{
    return getText() != textOf (value);
}

void NumberBox::commitPendingText()
{
    if (hasPendingText())
        commitText();
}

bool NumberBox::isNumber (const juce::String& text)
{
    // The same rule the command-line tool reads values by.
    return ShownValue::isNumber (text);
}

juce::String NumberBox::textOf (double number)
{
    // A whole number is shown without a decimal point: "12", not "12.0".
    const auto whole = std::floor (number) == number && std::abs (number) < 1.0e15;
    return whole ? juce::String (static_cast<juce::int64> (number)) : juce::String (number);
}

void NumberBox::showValue()
{
    setText (textOf (value), true);
    if (valueWords != nullptr)
        showTooltip();
}
