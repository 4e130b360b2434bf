#include "editor/Artwork.h"

#include "MarloArtwork.h"
#include "MarloArtworkSizes.h"

namespace
{
/** Pixels made the first time anything reads or draws them. Size and format are fixed before, so
    layout can use the image without paying for it. */
class DeferredPixelData final : public juce::ImagePixelData
{
public:
    DeferredPixelData (juce::Image::PixelFormat format, int imageWidth, int imageHeight,
                       std::function<juce::Image()> makeImage)
        : juce::ImagePixelData (format, imageWidth, imageHeight), make (std::move (makeImage))
    {
    }

    std::unique_ptr<juce::LowLevelGraphicsContext> createLowLevelContext() override
    {
        return pixels().createLowLevelContext();
    }

    Ptr clone() override { return pixels().clone(); }

    std::unique_ptr<juce::ImageType> createType() const override
    {
        return std::make_unique<juce::SoftwareImageType>();
    }

    void initialiseBitmapData (juce::Image::BitmapData& data, int x, int y,
                               juce::Image::BitmapData::ReadWriteMode mode) override
    {
        pixels().initialiseBitmapData (data, x, y, mode);
    }

private:
    juce::ImagePixelData& pixels()
    {
        if (made == nullptr)
        {
            auto image = make();
            make = nullptr;

            // Readers were promised this size and format; never let them read past what exists.
            if (image.getWidth() != width || image.getHeight() != height)
                image = juce::Image (pixelFormat, width, height, true, juce::SoftwareImageType());
            else if (image.getFormat() != pixelFormat)
                image = image.convertedToFormat (pixelFormat);

            made = image.getPixelData();
        }

        return *made;
    }

    std::function<juce::Image()> make;
    Ptr made;
};

juce::Image sharedDeferred (const juce::String& key, juce::Image::PixelFormat format, int width, int height,
                            std::function<juce::Image()> make)
{
    const auto hash = key.hashCode64();
    auto image = juce::ImageCache::getFromHashCode (hash);

    if (image.isNull())
    {
        image = juce::Image (new DeferredPixelData (format, width, height, std::move (make)));
        juce::ImageCache::addImageToCache (image, hash);
    }

    return image;
}

/** The embedded PNG of a stem, or null. */
const char* embeddedPicture (const juce::String& stem, int& size)
{
    return MarloArt::getNamedResource ((stem + "_png").toRawUTF8(), size);
}

/** A picture's size and kind as its header states them, known without touching its data. */
const MarloArtSizes::Picture* findPicture (const juce::String& stem)
{
    for (const auto& picture : MarloArtSizes::pictures)
        if (stem == picture.stem)
            return &picture;

    return nullptr;
}

/** The area an image button with proportions kept draws a picture into, inside bounds of size. */
juce::Rectangle<int> shownArea (juce::Rectangle<int> picture, juce::Rectangle<int> bounds)
{
    const auto pictureRatio =
        static_cast<float> (picture.getHeight()) / static_cast<float> (picture.getWidth());
    const auto boundsRatio = static_cast<float> (bounds.getHeight()) / static_cast<float> (bounds.getWidth());

    if (pictureRatio > boundsRatio)
        return {juce::roundToInt (static_cast<float> (bounds.getHeight()) / pictureRatio),
                bounds.getHeight()};

    return {bounds.getWidth(), juce::roundToInt (static_cast<float> (bounds.getWidth()) * pictureRatio)};
}
} // namespace

juce::Image decodeArtwork (const juce::String& stem)
{
    int size = 0;
    const auto* data = embeddedPicture (stem, size);
    return data == nullptr ? juce::Image()
                           : juce::ImageFileFormat::loadFrom (data, static_cast<size_t> (size));
}

juce::Image loadArtwork (const juce::String& stem)
{
    int size = 0;
    const auto* data = embeddedPicture (stem, size);

    if (data == nullptr)
        return {};

    const auto* picture = findPicture (stem);

    if (picture == nullptr)
        return juce::ImageCache::getFromMemory (data, size);

    return sharedDeferred ("artwork " + stem, picture->opaque ? juce::Image::RGB : juce::Image::ARGB,
                           picture->width, picture->height, [stem] { return decodeArtwork (stem); });
}

juce::Image renderArtwork (const juce::String& key, juce::Image::PixelFormat format, int width, int height,
                           std::function<void (juce::Graphics&)> draw)
{
    return sharedDeferred ("rendered " + key, format, width, height,
                           [format, width, height, draw = std::move (draw)]
                           {
                               juce::Image image (format, width, height, true, juce::SoftwareImageType());
                               juce::Graphics g (image);
                               draw (g);
                               return image;
                           });
}

juce::String artworkStemAt (const juce::String& stem, float scale)
{
    if (scale > 1.0f)
        if (const auto twice = stem + "_2x"; findPicture (twice) != nullptr)
            return twice;

    return stem;
}

juce::Image loadArtworkAt (const juce::String& stem, float scale)
{
    return loadArtwork (artworkStemAt (stem, scale));
}

namespace
{
const juce::Identifier artworkProperty ("artwork");

/** What gives a component its pictures, kept with it so that it can be run again. */
class ArtworkRecipe final : public juce::ReferenceCountedObject
{
public:
    explicit ArtworkRecipe (std::function<void (float)> applyAtScale) : apply (std::move (applyAtScale)) {}

    const std::function<void (float)> apply;
};
} // namespace

void keepArtwork (juce::Component& component, std::function<void (float scale)> apply)
{
    const juce::ReferenceCountedObjectPtr<ArtworkRecipe> recipe (new ArtworkRecipe (std::move (apply)));
    component.getProperties().set (artworkProperty, recipe.get());
    recipe->apply (artworkScale());
}

void rescaleArtwork (juce::Component& root, float scale)
{
    if (auto* recipe = dynamic_cast<ArtworkRecipe*> (root.getProperties()[artworkProperty].getObject()))
        recipe->apply (scale);

    for (auto* child : root.getChildren())
        rescaleArtwork (*child, scale);
}

float artworkScale()
{
    if (const auto* display = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay())
        return static_cast<float> (display->scale);

    return 1.0f;
}

void setButtonArtwork (juce::ImageButton& button, const juce::String& stem, bool resizeButtonToImage,
                       bool rescaleImages, float hitTestAlphaThreshold)
{
    const auto setPictures = [&button, stem, hitTestAlphaThreshold] (bool resize, bool rescale, float scale)
    {
        button.setImages (resize, rescale, true, loadArtworkAt (stem + "_normal", scale), 1.0f,
                          juce::Colours::transparentBlack, loadArtworkAt (stem + "_hover", scale), 1.0f,
                          juce::Colours::transparentBlack, loadArtworkAt (stem + "_pressed", scale), 1.0f,
                          juce::Colours::transparentBlack, hitTestAlphaThreshold);
    };

    // The size comes from the pictures at scale 1; larger pictures are drawn into it.
    setPictures (resizeButtonToImage, rescaleImages, 1.0f);
    keepArtwork (button, [setPictures, rescaleImages] (float scale)
                 { setPictures (false, rescaleImages || scale > 1.0f, scale); });
}

namespace
{
void flattenButtonArtworkAt (juce::ImageButton& button, const juce::String& stem,
                             const std::function<juce::Image (float scale)>& backdrop,
                             const juce::String& backdropKey, float hitTestAlphaThreshold, float scale)
{
    const auto bounds = button.getBounds();
    const auto area = shownArea (loadArtwork (stem + "_normal").getBounds(), bounds.withZeroOrigin());
    // Where the button centres a picture it scales with proportions kept.
    const auto shown = area.withPosition ((bounds.getWidth() - area.getWidth()) / 2,
                                          (bounds.getHeight() - area.getHeight()) / 2);

    const auto flattened = [&] (const char* state)
    {
        const auto picture = stem + state;
        const auto key =
            picture + " on " + backdropKey + " at " + bounds.toString() + " x" + juce::String (scale);

        return renderArtwork (
            key, juce::Image::RGB, juce::roundToInt (static_cast<float> (bounds.getWidth()) * scale),
            juce::roundToInt (static_cast<float> (bounds.getHeight()) * scale),
            [picture, backdrop, bounds, shown, scale] (juce::Graphics& g)
            {
                // Asked for only now: a backdrop shared in the image cache is made again if it
                // was dropped, instead of being kept for states that may never be shown.
                const auto behind = backdrop (scale);
                const auto behindArea =
                    juce::Rectangle<float> (static_cast<float> (behind.getWidth()) / scale,
                                            static_cast<float> (behind.getHeight()) / scale)
                        .translated (static_cast<float> (-bounds.getX()),
                                     static_cast<float> (-bounds.getY()));
                g.addTransform (juce::AffineTransform::scale (scale));
                g.drawImage (behind, behindArea);
                // The transform the button painted the full picture with, less
                // the button's own whole-pixel position.
                const auto source = decodeArtwork (artworkStemAt (picture, scale));
                g.drawImageTransformed (
                    source, juce::RectanglePlacement (juce::RectanglePlacement::stretchToFit)
                                .getTransformToFit (source.getBounds().toFloat(), shown.toFloat()));
            });
    };

    // Not resized to the pictures: they have the button's size, so it keeps its bounds and shows
    // them unscaled; being opaque, nothing behind it is painted again when it changes.
    button.setImages (false, true, true, flattened ("_normal"), 1.0f, juce::Colours::transparentBlack,
                      flattened ("_hover"), 1.0f, juce::Colours::transparentBlack, flattened ("_pressed"),
                      1.0f, juce::Colours::transparentBlack, hitTestAlphaThreshold);
    button.setOpaque (true);
}
} // namespace

void flattenButtonArtwork (juce::ImageButton& button, const juce::String& stem,
                           std::function<juce::Image (float scale)> backdrop, const juce::String& backdropKey,
                           float hitTestAlphaThreshold)
{
    keepArtwork (
        button, [&button, stem, backdrop, backdropKey, hitTestAlphaThreshold] (float scale)
        { flattenButtonArtworkAt (button, stem, backdrop, backdropKey, hitTestAlphaThreshold, scale); });
}
