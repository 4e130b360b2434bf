#include "editor/SentNote.h"

SentNote::SentNote() : clock ([] { return juce::Time::getCurrentTime(); })
{
    setFont (juce::Font (18.0f, juce::Font::plain));
    setJustificationType (juce::Justification::centredLeft);
    setEditable (false, false, false);
    // The colour of the pages' own labels on the blue band.
    setColour (juce::Label::textColourId, juce::Colours::white);
    setWantsKeyboardFocus (false);
    setInterceptsMouseClicks (false, false);
    setVisible (false);
}

SentNote::~SentNote()
{
    stopTimer();
}

void SentNote::setClock (std::function<juce::Time()> newClock)
{
    clock = std::move (newClock);
}

void SentNote::showSendTo (const juce::String& outputName)
{
    shownAt = clock();
    setText ("Sent to " + outputName + " at " + shownAt.formatted ("%H:%M:%S"), juce::dontSendNotification);
    setVisible (true);
    startTimer (shownForMs);
}

void SentNote::markVerified()
{
    if (isVisible() && !getText().endsWith (" verified"))
        setText (getText() + " verified", juce::dontSendNotification);
}

void SentNote::refresh()
{
    if (!isVisible())
        return;

    const auto elapsed = (clock() - shownAt).inMilliseconds();
    // A clock set back since the send makes the time shown wrong; the note goes.
    if (elapsed >= 0 && elapsed < shownForMs)
    {
        // The timer may fire early or the clock run behind it: wait for the rest.
        startTimer (static_cast<int> (juce::jmax<juce::int64> (1, shownForMs - elapsed)));
        return;
    }

    stopTimer();
    setVisible (false);
    setText ({}, juce::dontSendNotification);
}
