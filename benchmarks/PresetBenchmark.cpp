#include <benchmark/benchmark.h>

#include "midi/SimulatedMarlo.h"
#include "support/BoundPreset.h"
#include "support/RecordingDialogs.h"

namespace
{
struct Document
{
    RecordingDialogs dialogs;
    MidiManager midi{std::make_unique<SimulatedMarlo>()};
    std::unique_ptr<PresetController> controller = createPresetController (midi);
    BoundPreset preset{*controller};
};
} // namespace

// Applying a whole preset to 177 bindings: what a file load or a received reply costs.
static void BM_LoadPresetData (benchmark::State& state)
{
    Document document;
    const auto data = factoryPresetData();
    for (auto _ : state)
        benchmark::DoNotOptimize (document.controller->loadPresetData (data));
}
BENCHMARK (BM_LoadPresetData);

static void BM_SaveAndLoadFile (benchmark::State& state)
{
    Document document;
    const auto file = juce::File::createTempFile (".marlo");
    for (auto _ : state)
    {
        document.controller->saveToFile (file);
        benchmark::DoNotOptimize (document.controller->loadFromFile (file));
    }
    file.deleteFile();
}
BENCHMARK (BM_SaveAndLoadFile);

static void BM_CreatePresetController (benchmark::State& state)
{
    MidiManager midi{std::make_unique<SimulatedMarlo>()};
    for (auto _ : state)
        benchmark::DoNotOptimize (createPresetController (midi));
}
BENCHMARK (BM_CreatePresetController);
