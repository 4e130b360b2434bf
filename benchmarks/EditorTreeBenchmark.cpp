#include <benchmark/benchmark.h>

#include "HeapCount.h"
#include "editor/EditorComponent.h"
#include "midi/MidiManager.h"
#include "midi/SimulatedMarlo.h"
#include "preset/PresetController.h"

namespace
{
/** A MIDI service with a controller for one document, without a window. JUCE's message system is
    brought up by the benchmarks' main. */
struct Document
{
    MidiManager midi{std::make_unique<SimulatedMarlo>()};
    std::unique_ptr<PresetController> controller = createPresetController (midi);
};

/** Builds one tree for a controller and applies a preset to it, as a new document does; with
    everyPage, each page's panels are made as well, as if every page had been opened. */
std::unique_ptr<EditorComponent> buildAndApply (PresetController& controller,
                                                const juce::Array<juce::uint8>& image, bool everyPage = false)
{
    auto editor = createEditorComponent (&controller);
    if (everyPage)
        editor->makeAllPages();
    if (!controller.loadPresetData (image))
        throw std::runtime_error ("the factory image was refused");
    return editor;
}

void BM_BuildTreeAndApplyPreset (benchmark::State& state)
{
    const auto everyPage = state.range (0) != 0;
    Document document;
    const auto image = factoryPresetData();

    // Warm the picture cache once, as every document after the first finds it warm.
    {
        auto controller = createPresetController (document.midi);
        buildAndApply (*controller, image, everyPage);
        controller->detach();
    }

    std::int64_t peakPerTree = 0;
    std::int64_t retainedPerTree = 0;

    for (auto _ : state)
    {
        const auto before = HeapCount::liveBytes();
        HeapCount::resetPeak();

        // A fresh controller each time: a detached one no longer takes bindings.
        auto controller = createPresetController (document.midi);
        auto editor = buildAndApply (*controller, image, everyPage);
        benchmark::DoNotOptimize (editor.get());

        if (controller->getPresetData() != image)
        {
            state.SkipWithError ("the tree did not leave the applied preset as it was");
            break;
        }

        retainedPerTree = juce::jmax (retainedPerTree, HeapCount::liveBytes() - before);
        peakPerTree = juce::jmax (peakPerTree, HeapCount::peakBytes() - before);

        controller->detach();
        editor.reset();
        controller.reset();
    }

    state.counters["document_live_bytes"] = static_cast<double> (retainedPerTree);
    state.counters["document_peak_bytes"] = static_cast<double> (peakPerTree);
}
// 0: the tree a new window builds (its main page); 1: every page made.
BENCHMARK (BM_BuildTreeAndApplyPreset)->Arg (0)->Arg (1)->Unit (benchmark::kMillisecond);

void BM_ApplyPresetToTree (benchmark::State& state)
{
    Document document;
    auto image = factoryPresetData();
    auto editor = createEditorComponent (document.controller.get());
    editor->makeAllPages();
    auto other = image;
    // Every pad in "Program Change": each apply switches twenty panels' rows back and forth.
    for (int pad = 1; pad <= 8; ++pad)
        other.set (controlOffset (ControlType::Pad, pad), 3);

    bool flip = false;
    for (auto _ : state)
    {
        flip = !flip;
        benchmark::DoNotOptimize (document.controller->loadPresetData (flip ? other : image));
    }

    document.controller->detach();
}
BENCHMARK (BM_ApplyPresetToTree)->Unit (benchmark::kMicrosecond);

/** What the first opening of a page costs a document whose window shows only its main page: the
    page's panels are made then, and each box takes its value from the preset. */
void BM_FirstShowOfPage (benchmark::State& state)
{
    const auto page = static_cast<int> (state.range (0));
    Document document;
    const auto image = factoryPresetData();
    std::int64_t pageBytes = 0;

    for (auto _ : state)
    {
        state.PauseTiming();
        auto controller = createPresetController (document.midi);
        auto editor = buildAndApply (*controller, image);
        const auto before = HeapCount::liveBytes();
        state.ResumeTiming();

        editor->showPage (page);

        state.PauseTiming();
        pageBytes = juce::jmax (pageBytes, HeapCount::liveBytes() - before);
        controller->detach();
        editor.reset();
        controller.reset();
        state.ResumeTiming();
    }

    state.counters["page_live_bytes"] = static_cast<double> (pageBytes);
}
// Knobs, Switches, Drum Pads, Keybed, Mod/Pitch, Sustain.
BENCHMARK (BM_FirstShowOfPage)->DenseRange (1, 6)->Unit (benchmark::kMillisecond);
} // namespace
