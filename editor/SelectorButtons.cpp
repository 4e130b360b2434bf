#include "editor/SelectorButtons.h"

#include "editor/Artwork.h"

namespace
{
const char* const tabArtwork[] = {"tab_main",   "tab_knobs",  "tab_switches", "tab_pads",
                                  "tab_keybed", "tab_wheels", "tab_sustain"};

/** A clickable part of the controller picture, at its position in the full-size design. */
struct PicturePart
{
    const char* artwork;
    int designX;
    int designY;
};

const PicturePart pictureParts[] = {
    {"part_knobs", 79, 24},   {"part_switches", 200, 80}, {"part_pads", 25, 220},
    {"part_keybed", 338, 78}, {"part_octave", 200, 155},  {"part_wheels", 40, 85},
};

// The design is drawn at 52 %, except the keybed, which keeps its full picture size.
constexpr int keybedPart = 3;
constexpr float designScale = 0.52f;

const char* const controllerPictureKey = "controller on black";

int scaled (int value)
{
    return static_cast<int> (static_cast<float> (value) * designScale);
}

void setSelectorArtwork (juce::ImageButton& button, const juce::String& stem)
{
    setButtonArtwork (button, stem, true, true, 0.0f);
}
} // namespace

juce::Image shownControllerPicture (float scale)
{
    const auto size = loadArtwork ("controller").getBounds();

    return renderArtwork (controllerPictureKey + juce::String (" x") + juce::String (scale), juce::Image::RGB,
                          juce::roundToInt (static_cast<float> (size.getWidth()) * scale),
                          juce::roundToInt (static_cast<float> (size.getHeight()) * scale),
                          [scale, size] (juce::Graphics& g)
                          {
                              g.fillAll (juce::Colours::black);
                              g.addTransform (juce::AffineTransform::scale (scale));
                              g.drawImage (decodeArtwork (artworkStemAt ("controller", scale)),
                                           size.toFloat());
                          });
}

juce::Array<juce::Button*> createTabButtons()
{
    juce::Array<juce::Button*> tabs;
    // The tab bar paints black behind the tabs; being opaque, tabs on it are copied, not blended.
    const auto tabBar = [] (float scale)
    {
        return renderArtwork ("tab bar x" + juce::String (scale), juce::Image::RGB,
                              juce::roundToInt (1200 * scale), juce::roundToInt (40 * scale),
                              [] (juce::Graphics& g) { g.fillAll (juce::Colours::black); });
    };

    for (const auto* stem : tabArtwork)
    {
        auto tab = std::make_unique<juce::ImageButton> (juce::String());
        setSelectorArtwork (*tab, stem);
        flattenButtonArtwork (*tab, stem, tabBar, "tab bar");
        tabs.add (tab.release());
    }

    tabs.getFirst()->setName ("Main Window Button");
    return tabs;
}

juce::Array<juce::Button*> createPictureButtons()
{
    juce::OwnedArray<juce::ImageButton> parts;

    for (int i = 0; i < static_cast<int> (std::size (pictureParts)); ++i)
    {
        auto* button = parts.add (std::make_unique<juce::ImageButton> (juce::String()));

        if (i == keybedPart)
            continue;

        const auto& part = pictureParts[i];
        setSelectorArtwork (*button, part.artwork);
        // Sized by the picture at scale 1, whatever the button draws.
        const auto picture = loadArtwork (juce::String (part.artwork) + "_normal");
        button->setBounds (part.designX, part.designY, picture.getWidth(), picture.getHeight());
    }

    for (auto* button : parts)
        button->setSize (scaled (button->getWidth()), scaled (button->getHeight()));

    const auto& keybed = pictureParts[keybedPart];
    auto* keybedButton = parts[keybedPart];
    setSelectorArtwork (*keybedButton, keybed.artwork);
    const auto keybedPicture = loadArtwork (juce::String (keybed.artwork) + "_normal");
    keybedButton->setBounds (keybed.designX, keybed.designY, keybedPicture.getWidth(),
                             keybedPicture.getHeight());

    for (auto* button : parts)
        button->setTopLeftPosition (scaled (button->getX()), scaled (button->getY()));

    // Scaled in every paint, the reduced parts cost more than anything else on the page, and every
    // hover repaints one; the keybed is flattened too, so that its hover repaints nothing behind it.
    for (int i = 0; i < parts.size(); ++i)
        flattenButtonArtwork (*parts[i], pictureParts[i].artwork, shownControllerPicture,
                              controllerPictureKey);

    juce::Array<juce::Button*> result;

    while (!parts.isEmpty())
        result.add (parts.removeAndReturn (0));

    return result;
}
