#include "editor/ConnectionLine.h"

namespace
{
constexpr int buttonWidth = 130;
constexpr int gap = 12;
} // namespace

ConnectionLine::ConnectionLine()
{
    // As the sent note beside "Send": the pages' own label colour on the blue band.
    text.setFont (juce::Font (18.0f, juce::Font::plain));
    text.setJustificationType (juce::Justification::centredLeft);
    text.setColour (juce::Label::textColourId, juce::Colours::white);
    text.setMinimumHorizontalScale (1.0f);
    text.setInterceptsMouseClicks (false, false);
    text.setText ("Not connected", juce::dontSendNotification);
    addAndMakeVisible (text);
    addAndMakeVisible (findButton);
}

ConnectionLine::~ConnectionLine() = default;

void ConnectionLine::setConnection (const juce::String& connection)
{
    text.setText (connection, juce::dontSendNotification);
}

void ConnectionLine::resized()
{
    auto area = getLocalBounds();
    findButton.setBounds (area.removeFromRight (buttonWidth).reduced (0, 3));
    area.removeFromRight (gap);
    text.setBounds (area);
}
