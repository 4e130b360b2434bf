#include "editor/Artwork.h"

#include "MarloArtwork.h"

juce::Image loadArtwork (const juce::String& stem)
{
    int size = 0;
    const auto resourceName = stem + "_png";

    if (const auto* data = MarloArt::getNamedResource (resourceName.toRawUTF8(), size))
        return juce::ImageCache::getFromMemory (data, size);

    return {};
}

void setButtonArtwork (juce::ImageButton& button, const juce::String& stem, bool resizeButtonToImage,
                       bool rescaleImages, float hitTestAlphaThreshold)
{
    button.setImages (resizeButtonToImage, rescaleImages, true, loadArtwork (stem + "_normal"), 1.0f,
                      juce::Colours::transparentBlack, loadArtwork (stem + "_hover"), 1.0f,
                      juce::Colours::transparentBlack, loadArtwork (stem + "_pressed"), 1.0f,
                      juce::Colours::transparentBlack, hitTestAlphaThreshold);
}
