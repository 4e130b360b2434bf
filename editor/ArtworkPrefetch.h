#pragma once

#include <juce_graphics/juce_graphics.h>

#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <thread>

/** Decodes embedded pictures on a thread of its own while the application waits on the desktop
    at start-up, so that the first window's paint finds them ready. The pictures are handed out
    through decodeArtwork by the instance made last. */
class ArtworkPrefetch
{
public:
    /** Decodes one picture; called on the prefetch's own thread. */
    using Decoder = std::function<juce::Image (const juce::String& stem)>;

    /** Starts decoding the pictures of these stems, in this order. */
    ArtworkPrefetch (const juce::StringArray& stems, Decoder decode);
    /** Waits for the decoding thread; pictures nobody took are dropped. */
    ~ArtworkPrefetch();

    /** The prefetched picture of a stem, once, waiting if it is still being decoded; a null image
        if it was not prefetched or was already taken. Called on the message thread. */
    static juce::Image take (const juce::String& stem);

private:
    std::map<juce::String, std::future<juce::Image>> pictures;
    std::thread decoder;

    // The one taking requests; changed and read only under the registration lock.
    static ArtworkPrefetch* current;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ArtworkPrefetch)
};
