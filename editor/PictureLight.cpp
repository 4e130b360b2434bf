#include "editor/PictureLight.h"

namespace
{
/** Which picture part (the order createPictureButtons makes them in) a control's name starts with. */
struct NamedPart
{
    const char* prefix;
    int part;
};

constexpr NamedPart namedParts[] = {
    {"Knob ", 0}, {"Switch ", 1}, {"Pad ", 2}, {"Keybed", 3}, {"Mod Wheel", 5}, {"Pitch Wheel", 5},
};

const juce::Colour glow (0xffffc83d);
} // namespace

PictureLight::PictureLight (ControlSelector& pictureSelector) : selector (&pictureSelector)
{
    setInterceptsMouseClicks (false, false);
    setWantsKeyboardFocus (false);
    pictureSelector.addAndMakeVisible (this);
    setBounds (pictureSelector.getLocalBounds());
}

PictureLight::~PictureLight()
{
    if (auto* parent = selector.getComponent())
        parent->removeChildComponent (this);
}

int PictureLight::partOf (const juce::String& controlName)
{
    for (const auto& named : namedParts)
        if (controlName.startsWith (named.prefix))
            return named.part;
    return -1;
}

void PictureLight::light (const juce::StringArray& controlNames, double nowMs)
{
    for (const auto& name : controlNames)
    {
        const auto part = partOf (name);
        if (part < 0)
            continue;
        litUntil[part] = nowMs + litForMs;
        repaint (boundsOfPart (part).expanded (4));
    }
}

void PictureLight::update (double nowMs)
{
    for (auto it = litUntil.begin(); it != litUntil.end();)
    {
        if (it->second > nowMs)
        {
            ++it;
            continue;
        }
        repaint (boundsOfPart (it->first).expanded (4));
        it = litUntil.erase (it);
    }
}

juce::Rectangle<int> PictureLight::boundsOfPart (int part) const
{
    if (selector == nullptr)
        return {};
    const auto* button = selector->getButtons()[part];
    return button != nullptr ? button->getBounds() : juce::Rectangle<int>();
}

void PictureLight::paint (juce::Graphics& g)
{
    for (const auto& [part, until] : litUntil)
    {
        juce::ignoreUnused (until);
        const auto area = boundsOfPart (part).toFloat().expanded (2.0f);
        g.setColour (glow.withAlpha (0.25f));
        g.fillRoundedRectangle (area, 6.0f);
        g.setColour (glow);
        g.drawRoundedRectangle (area, 6.0f, 3.0f);
    }
}
