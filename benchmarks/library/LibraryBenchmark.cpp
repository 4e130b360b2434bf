#include <benchmark/benchmark.h>

#include "HeapCount.h"
#include "library/PresetLibrary.h"
#include "library/SearchTerms.h"
#include "support/GeneratedPresets.h"

#include <map>
#include <memory>

namespace
{
/** A library of `count` generated presets, a hundred to a group, made once per size and removed
    at the end of the run. */
class GeneratedLibrary
{
public:
    explicit GeneratedLibrary (int count)
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                      .getChildFile ("marlo-library-benchmark-" + juce::String (count) + "-" +
                                     juce::String::toHexString (juce::Random().nextInt64())))
    {
        for (int n = 0; n < count; ++n)
            writePreset (folder.getChildFile ("Group " + juce::String (n / 100))
                             .getChildFile ("Preset " + juce::String (n) + ".marlo"),
                         generatedPreset (n));
    }
    ~GeneratedLibrary() { folder.deleteRecursively(); }

    static const GeneratedLibrary& ofSize (int count)
    {
        static std::map<int, std::unique_ptr<GeneratedLibrary>> made;
        auto& library = made[count];
        if (library == nullptr)
            library = std::make_unique<GeneratedLibrary> (count);
        return *library;
    }

    juce::File folder;
};

/** What a user types, a keystroke at a time: a name word, then a parameter term. */
const juce::String typed ("preset 12 Knob 1 CC=12");
} // namespace

// Reading and listing the whole library, as opening the window or a command of the tool does
// (the files' pages are in the cache after the first run). heap_MB: what the list holds.
static void BM_ListLibrary (benchmark::State& state)
{
    const auto& library = GeneratedLibrary::ofSize (static_cast<int> (state.range (0)));
    std::int64_t held = 0;
    for (auto _ : state)
    {
        const auto before = HeapCount::liveBytes();
        const auto presets = PresetLibrary (library.folder).read();
        held = HeapCount::liveBytes() - before;
        benchmark::DoNotOptimize (presets.data());
        if (static_cast<int> (presets.size()) != state.range (0))
            state.SkipWithError ("the library lists another number of presets");
    }
    state.counters["heap_MB"] = static_cast<double> (held) / (1024.0 * 1024.0);
    state.counters["counts_malloc"] = HeapCount::countsMalloc() ? 1 : 0;
}
BENCHMARK (BM_ListLibrary)->Arg (1000)->Arg (10000)->Unit (benchmark::kMillisecond);

// One keystroke in the search field: the field's text read into terms, and every listed preset
// filtered by them. Each iteration is the next keystroke of `typed`, round and round.
static void BM_SearchKeystroke (benchmark::State& state)
{
    const auto presets =
        PresetLibrary (GeneratedLibrary::ofSize (static_cast<int> (state.range (0))).folder).read();
    std::vector<int> shown;
    shown.reserve (presets.size());
    int length = 0;
    size_t matched = 0;
    double slowest = 0.0;
    for (auto _ : state)
    {
        const auto start = juce::Time::getMillisecondCounterHiRes();
        length = length % typed.length() + 1;
        const auto terms = SearchTerms::fromField (typed.substring (0, length));
        shown.clear();
        for (size_t i = 0; i < presets.size(); ++i)
            if (terms.matches (presets[i]))
                shown.push_back (static_cast<int> (i));
        matched = shown.size();
        benchmark::DoNotOptimize (shown.data());
        slowest = juce::jmax (slowest, juce::Time::getMillisecondCounterHiRes() - start);
    }
    state.counters["last_matches"] = static_cast<double> (matched);
    // The target is per keystroke, so the slowest one counts, not the mean.
    state.counters["slowest_ms"] = slowest;
}
BENCHMARK (BM_SearchKeystroke)->Arg (1000)->Arg (10000)->Unit (benchmark::kMillisecond);

BENCHMARK_MAIN();
