#pragma once

#include "editor/ControlSelector.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <map>

/** Lights the parts of a document's controller picture whose controls were just heard from, for a
    moment: a glow over the knobs, the pads, the switches, the keybed or the wheels. It lies over
    the picture and takes no clicks. Time comes from whoever calls it, so that it can be tested
    without waiting.
*/
class PictureLight final : public juce::Component
{
public:
    static constexpr double litForMs = 400.0;

    /** Puts itself over the picture selector, which must outlive it or delete it first. */
    explicit PictureLight (ControlSelector& pictureSelector);
    ~PictureLight() override;

    /** The part of the picture a control sits in, in the picture's part order; -1 for a control
        the picture shows no part for ("Sustain"). */
    static int partOf (const juce::String& controlName);

    /** Lights the parts of these controls ("Knob 1", "Pad 5") from now on. */
    void light (const juce::StringArray& controlNames, double nowMs);
    /** Puts out what has been lit long enough. */
    void update (double nowMs);

    void paint (juce::Graphics& g) override;

private:
    juce::Rectangle<int> boundsOfPart (int part) const;

    juce::Component::SafePointer<ControlSelector> selector;
    /** Part index to the time it goes out. */
    std::map<int, double> litUntil;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PictureLight)
};
