#include "app/CompareComponent.h"

namespace
{
constexpr int width = 520;
constexpr int height = 360;
constexpr int margin = 12;
constexpr int headingHeight = 24;
constexpr int buttonWidth = 100;
constexpr int buttonHeight = 28;
} // namespace

const juce::String CompareComponent::sameText ("The controller holds this preset.");

CompareComponent::CompareComponent()
{
    heading.setFont (juce::Font (16.0f, juce::Font::bold));
    heading.setWantsKeyboardFocus (false);
    addAndMakeVisible (heading);

    list.setMultiLine (true, false);
    list.setReadOnly (true);
    list.setScrollbarsShown (true);
    list.setFont (juce::Font (15.0f));
    // Escape goes on to the window, which closes; Tab goes on to the button.
    list.setEscapeAndReturnKeysConsumed (false);
    list.setTabKeyUsedAsCharacter (false);
    list.setExplicitFocusOrder (1);
    addAndMakeVisible (list);

    closeButton.setExplicitFocusOrder (2);
    closeButton.onClick = [this]
    {
        if (onClose != nullptr)
            onClose();
    };
    addAndMakeVisible (closeButton);

    setWantsKeyboardFocus (false);
    setSize (width, height);
}

CompareComponent::~CompareComponent() = default;

juce::String CompareComponent::lineFor (const PresetDifference::Row& row)
{
    return row.name + ": editor " + row.first + ", controller " + row.second;
}

void CompareComponent::showRows (const std::vector<PresetDifference::Row>& rows)
{
    heading.setText (rows.empty() ? juce::String ("No differences")
                                  : juce::String (static_cast<int> (rows.size())) +
                                        (rows.size() == 1 ? " parameter differs" : " parameters differ"),
                     juce::dontSendNotification);

    juce::StringArray lines;
    for (const auto& row : rows)
        lines.add (lineFor (row));
    if (lines.isEmpty())
        lines.add (sameText);

    list.setText (lines.joinIntoString ("\n"), false);
    list.moveCaretToTop (false);
}

void CompareComponent::resized()
{
    auto area = getLocalBounds().reduced (margin);
    heading.setBounds (area.removeFromTop (headingHeight));
    auto buttons = area.removeFromBottom (buttonHeight);
    closeButton.setBounds (buttons.removeFromRight (buttonWidth));
    area.removeFromBottom (margin);
    list.setBounds (area);
}

void CompareComponent::paint (juce::Graphics& g)
{
    g.fillAll (findColour (juce::ResizableWindow::backgroundColourId));
}
