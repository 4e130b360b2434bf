#include "editor/ArtworkPrefetch.h"

#include <vector>

namespace
{
// Guards the registration: a take on any thread never meets a prefetch being destroyed.
std::mutex registration;
} // namespace

ArtworkPrefetch* ArtworkPrefetch::current = nullptr;

ArtworkPrefetch::ArtworkPrefetch (const juce::StringArray& stems, Decoder decode)
{
    std::vector<std::pair<juce::String, std::promise<juce::Image>>> work;

    for (const auto& stem : stems)
    {
        work.emplace_back (stem, std::promise<juce::Image>());
        pictures[stem] = work.back().second.get_future();
    }

    decoder = std::thread (
        [work = std::move (work), decode = std::move (decode)]() mutable
        {
            for (auto& [stem, picture] : work)
                picture.set_value (decode (stem));
        });

    const std::lock_guard<std::mutex> guard (registration);
    current = this;
}

ArtworkPrefetch::~ArtworkPrefetch()
{
    {
        const std::lock_guard<std::mutex> guard (registration);

        if (current == this)
            current = nullptr;
    }

    decoder.join();
}

juce::Image ArtworkPrefetch::take (const juce::String& stem)
{
    std::future<juce::Image> picture;
    {
        const std::lock_guard<std::mutex> guard (registration);

        if (current == nullptr)
            return {};

        const auto found = current->pictures.find (stem);

        if (found == current->pictures.end())
            return {};

        picture = std::move (found->second);
        current->pictures.erase (found);
    }

    // Waited for outside the lock: the picture's promise lives with the decoding thread, which
    // the prefetch's destruction joins.
    return picture.get();
}
