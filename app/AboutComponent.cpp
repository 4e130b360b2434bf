#include "app/AboutComponent.h"

const char* const AboutComponent::copyrightLine = "Copyright (C) 2026 Orvane. All rights reserved.";
const char* const AboutComponent::trademarkLine = "Orvane, Zell Series and Marlo are trademarks of Orvane.";

namespace
{
constexpr float textHeight = 15.0f;
constexpr int lineHeight = 15;
constexpr int copyrightY = 211;
constexpr int trademarkY = 227;
} // namespace

AboutComponent::AboutComponent (juce::Image* image) : aboutImage (image)
{
    if (aboutImage == nullptr)
        return;

    setSize (aboutImage->getWidth(), aboutImage->getHeight());

    versionLabel = std::make_unique<juce::Label> ("new label", juce::String ("Version: ") +
                                                                   JUCE_APPLICATION_VERSION_STRING);
    addAndMakeVisible (versionLabel.get());
    versionLabel->setFont (juce::Font (textHeight, juce::Font::plain));
    versionLabel->setJustificationType (juce::Justification::centred);
    versionLabel->setEditable (false, false, false);
    // The default look draws labels white; the picture is light, and the legal lines are black too.
    versionLabel->setColour (juce::Label::textColourId, juce::Colours::black);
    versionLabel->setBounds (0, getHeight() / 2, getWidth(), lineHeight);
}

AboutComponent::~AboutComponent() = default;

void AboutComponent::mouseUp (const juce::MouseEvent&)
{
    // The window owns this component, so deleting the window ends this call's object too.
    if (auto* window = getParentComponent())
        delete window;
}

void AboutComponent::paint (juce::Graphics& g)
{
    if (aboutImage == nullptr)
        return;

    g.drawImage (*aboutImage, getLocalBounds().toFloat());
    g.setColour (juce::Colours::black);
    g.setFont (juce::Font (textHeight, juce::Font::plain));
    g.drawText (copyrightLine, 0, copyrightY, getWidth(), lineHeight, juce::Justification::centred, true);
    g.drawText (trademarkLine, 0, trademarkY, getWidth(), lineHeight, juce::Justification::centred, true);
}
