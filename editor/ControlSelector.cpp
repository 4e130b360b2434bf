#include "editor/ControlSelector.h"

ControlSelector::ControlSelector (const juce::Array<juce::Button*>& newButtons, int layoutKind)
{
    for (auto* button : newButtons)
    {
        button->setWantsKeyboardFocus (false);
        addAndMakeVisible (button);
        buttons.add (button);
        button->toFront (false);
    }

    if (layoutKind == 0)
    {
        int x = 0;

        for (auto* button : buttons)
        {
            button->setTopLeftPosition (x, 0);
            x += button->getWidth();
        }
    }

    setSize (1200, 40);
    // It paints all of itself black.
    setOpaque (true);
}

ControlSelector::~ControlSelector()
{
    background.reset();
    buttons.clear();
}

void ControlSelector::setBackgroundImage (const juce::Image& image)
{
    background = std::make_unique<juce::ImageComponent> (juce::String());
    background->setImage (image);
    background->setOpaque (!image.hasAlphaChannel());
    background->setBounds (0, 0, getWidth(), getHeight());
    addAndMakeVisible (*background);
    background->toBack();
}

void ControlSelector::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
}
