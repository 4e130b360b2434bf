#include "editor/ArtworkPrefetch.h"

#include <vector>

std::atomic<ArtworkPrefetch*> ArtworkPrefetch::current{nullptr};

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

    current = this;
}

ArtworkPrefetch::~ArtworkPrefetch()
{
    current = nullptr;
    decoder.join();
}

juce::Image ArtworkPrefetch::take (const juce::String& stem)
{
    auto* prefetch = current.load();

    if (prefetch == nullptr)
        return {};

    std::future<juce::Image> picture;
    {
        const std::lock_guard<std::mutex> guard (prefetch->lock);
        const auto found = prefetch->pictures.find (stem);

        if (found == prefetch->pictures.end())
            return {};

        picture = std::move (found->second);
        prefetch->pictures.erase (found);
    }

    return picture.get();
}
