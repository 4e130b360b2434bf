#include <gtest/gtest.h>

#include "editor/Artwork.h"
#include "editor/ArtworkPrefetch.h"

#include <atomic>
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

TEST (ArtworkPrefetch, ATakeWaitsForAPictureStillBeingDecoded)
{
    std::promise<void> release;
    auto released = release.get_future().share();
    std::atomic<bool> decoded{false};

    const ArtworkPrefetch prefetch ({"slow"},
                                    [&] (const juce::String&)
                                    {
                                        released.wait();
                                        decoded = true;
                                        return pictureOfSize (7);
                                    });

    auto taken = std::async (std::launch::async, [] { return ArtworkPrefetch::take ("slow"); });
    EXPECT_EQ (taken.wait_for (std::chrono::milliseconds (50)), std::future_status::timeout);
    release.set_value();
    EXPECT_EQ (taken.get().getWidth(), 7);
    EXPECT_TRUE (decoded);
}

TEST (ArtworkPrefetch, DecodeArtworkGivesThePrefetchedPictureAsTheEmbeddedOneDecodes)
{
    const auto direct = decodeArtwork ("editor_at_rest");
    const auto prefetch = prefetchArtwork ({"editor_at_rest"});
    const auto prefetched = decodeArtwork ("editor_at_rest");

    ASSERT_EQ (prefetched.getBounds(), direct.getBounds());
    EXPECT_NE (prefetched.getPixelData(), direct.getPixelData());

    const juce::Image::BitmapData a (direct, juce::Image::BitmapData::readOnly);
    const juce::Image::BitmapData b (prefetched, juce::Image::BitmapData::readOnly);
    for (int y = 0; y < direct.getHeight(); y += 37)
        EXPECT_EQ (std::memcmp (a.getLinePointer (y), b.getLinePointer (y),
                                static_cast<size_t> (a.width * a.pixelStride)),
                   0);
}
