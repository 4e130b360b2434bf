#include "app/CompareComponent.h"

#include "editor/CustomLook.h"

namespace
{
constexpr int width = 520;
constexpr int height = 360;
constexpr int margin = 12;
constexpr int headingHeight = 24;
constexpr int buttonWidth = 100;
constexpr int buttonHeight = 28;
// Room between the list's text and the ring round it.
constexpr int listFrame = 3;
} // namespace

const juce::String CompareComponent::sameText ("The controller holds this preset.");

CompareComponent::CompareComponent()
{
    heading.setFont (juce::Font (16.0f, juce::Font::bold));
    heading.setColour (juce::Label::textColourId, juce::Colours::black);
    heading.setWantsKeyboardFocus (false);
    addAndMakeVisible (heading);

    list.setMultiLine (true, false);
    list.setReadOnly (true);
    list.setScrollbarsShown (true);
    list.setFont (juce::Font (15.0f));
    list.setColour (juce::TextEditor::textColourId, juce::Colours::black);
    list.setColour (juce::TextEditor::highlightColourId,
                    juce::Colour (CustomLook::accentColour).withAlpha (0.3f));
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
    juce::Desktop::getInstance().addFocusChangeListener (this);
}

CompareComponent::~CompareComponent()
{
    juce::Desktop::getInstance().removeFocusChangeListener (this);
}

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
    list.setBounds (area.reduced (listFrame));
}

void CompareComponent::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xfff0f0f0));
    const auto listArea = list.getBounds().expanded (listFrame);
    g.setColour (juce::Colours::white);
    g.fillRect (listArea);
    g.setColour (juce::Colour (0xff999999));
    g.drawRect (listArea);

    // The list draws no ring of its own while it is read-only.
    if (list.hasKeyboardFocus (true))
    {
        g.saveState();
        g.setOrigin (listArea.getPosition());
        CustomLook::drawFocusRing (g, listArea.withZeroOrigin());
        g.restoreState();
    }
}
