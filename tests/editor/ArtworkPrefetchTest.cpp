#include <gtest/gtest.h>

#include "editor/Artwork.h"
#include "editor/ArtworkPrefetch.h"

#include <cstring>
#include <future>

namespace
{
juce::Image pictureOfSize (int width)
{
    return juce::Image (juce::Image::RGB, width, 1, true, juce::SoftwareImageType());
}
} // namespace

TEST (ArtworkPrefetch, HandsEachPictureOutOnceAndOnlyWhileItLives)
{
    {
        const ArtworkPrefetch prefetch ({"one", "two"}, [] (const juce::String& stem)
                                        { return pictureOfSize (stem == "one" ? 1 : 2); });

        EXPECT_EQ (ArtworkPrefetch::take ("two").getWidth(), 2);
        EXPECT_TRUE (ArtworkPrefetch::take ("two").isNull());
        EXPECT_TRUE (ArtworkPrefetch::take ("three").isNull());
        // "one" is never taken: dropped with the prefetch.
    }

    EXPECT_TRUE (ArtworkPrefetch::take ("one").isNull());
}

TEST (ArtworkPrefetch, ATakeGivesAPictureStillBeingDecodedOnceItIsDone)
{
    std::promise<void> release;
    auto released = release.get_future().share();

    const ArtworkPrefetch prefetch ({"slow"},
                                    [released] (const juce::String&)
                                    {
                                        released.wait();
                                        return pictureOfSize (7);
                                    });

    // Taken on another thread while the decoder is held: the take must wait, not give nothing.
    auto taken = std::async (std::launch::async, [] { return ArtworkPrefetch::take ("slow"); });
    release.set_value();
    EXPECT_EQ (taken.get().getWidth(), 7);
}

TEST (ArtworkPrefetch, DecodeArtworkTakesFromThePrefetchFirst)
{
    {
        const ArtworkPrefetch prefetch ({"editor_at_rest"},
                                        [] (const juce::String&) { return pictureOfSize (3); });
        EXPECT_EQ (decodeArtwork ("editor_at_rest").getWidth(), 3);
        // Taken once; the next decode is the embedded picture's.
        EXPECT_EQ (decodeArtwork ("editor_at_rest").getWidth(), 1200);
    }

    EXPECT_EQ (decodeArtwork ("editor_at_rest").getWidth(), 1200);
}

TEST (ArtworkPrefetch, APrefetchedPictureHasTheEmbeddedPicturesPixels)
{
    const auto direct = decodeArtwork ("editor_at_rest");
    const auto prefetch = prefetchArtwork ({"editor_at_rest"});
    const auto prefetched = ArtworkPrefetch::take ("editor_at_rest");

    ASSERT_EQ (prefetched.getBounds(), direct.getBounds());
    ASSERT_EQ (prefetched.getFormat(), direct.getFormat());

    const juce::Image::BitmapData a (direct, juce::Image::BitmapData::readOnly);
    const juce::Image::BitmapData b (prefetched, juce::Image::BitmapData::readOnly);
    for (int y = 0; y < direct.getHeight(); ++y)
        ASSERT_EQ (std::memcmp (a.getLinePointer (y), b.getLinePointer (y),
                                static_cast<size_t> (a.width * a.pixelStride)),
                   0)
            << "row " << y;
}
