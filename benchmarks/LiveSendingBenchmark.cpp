#include <benchmark/benchmark.h>

#include "midi/PresetSender.h"
#include "midi/SimulatedMarlo.h"
#include "support/BoundPreset.h"
#include "support/RecordingDialogs.h"
#include "support/SimulatedClock.h"

#include <algorithm>
#include <utility>

namespace
{
/** A document edited live: its controller sends through the sender to the simulated Marlo, all
    on one simulated clock, so two seconds of edits take no two seconds to run. */
struct LiveDocument
{
    LiveDocument()
    {
        clock.afterEachStep = [this] { marlo->deliverDue(); };
        midi.setOutputDevice (SimulatedMarlo::deviceName);
        midi.onMessageSent = [this] (const juce::MidiMessage& message)
        { onWire.push_back (clock.now() + SimulatedMarlo::wireTimeMs (message)); };
        sender.setSendingChanges (true);
        controller->clearUndoHistory();
    }

    RecordingDialogs dialogs;
    SimulatedClock clock;
    SimulatedMarlo* marlo = new SimulatedMarlo (clock.function()); // owned by the MIDI manager
    MidiManager midi{std::unique_ptr<MidiPorts> (marlo)};
    PresetSender sender{midi, clock.createTimer(), clock.function()};
    std::unique_ptr<PresetController> controller =
        createPresetController (midi, clock.createTimer(), &sender);
    BoundPreset preset{*controller};
    /** When each dump sent has wholly left the cable. */
    std::vector<double> onWire;
};
} // namespace

// 1,000 edits over 2 s (one every 2 ms, as a held key or a dragged value makes them), sent live.
// The dumps must stay within one per bound plus the first and the last, every edit must be on
// the wire within the bound plus one dump's wire time, the Marlo must drop none and must end
// holding the document's preset.
static void BM_LiveSendingOfAThousandEdits (benchmark::State& state)
{
    constexpr int edits = 1000;
    constexpr double spanMs = 2000.0;
    double longest = 0.0;
    std::size_t dumps = 0;
    int drops = 0;
    bool holdsDocument = true;

    for (auto _ : state)
    {
        LiveDocument document;
        // Each edit's time and how many dumps had gone before it: the next one carries it.
        std::vector<std::pair<double, std::size_t>> editsMade;
        for (int i = 0; i < edits; ++i)
        {
            document.clock.advanceTo (spanMs * i / edits);
            // Every edit changes the value: the box starts at 0.
            document.preset["Knob 1 CC"].userSets ((i + 1) % 128);
            editsMade.emplace_back (document.clock.now(), document.onWire.size());
        }
        document.clock.advanceBy (1000.0);

        for (const auto& [time, dumpsBefore] : editsMade)
            longest = std::max (
                longest, dumpsBefore < document.onWire.size() ? document.onWire[dumpsBefore] - time : 1.0e9);
        dumps = document.onWire.size();
        drops = document.marlo->getDroppedDumpCount();
        holdsDocument = holdsDocument && document.marlo->getPreset() == document.controller->getPresetData();
    }

    state.counters["dumps_sent"] = static_cast<double> (dumps);
    state.counters["longest_edit_to_wire_ms"] = longest;
    state.counters["drops"] = drops;
    state.counters["holds_document"] = holdsDocument ? 1 : 0;
    if (static_cast<double> (dumps) > spanMs / SendSchedule::longestWaitMs + 2)
        state.SkipWithError ("more dumps than one per bound and two");
    else if (longest > 333.0)
        state.SkipWithError (("an edit waited more than 333 ms to be on the wire: " +
                              std::to_string (longest) + " ms, dumps " + std::to_string (dumps))
                                 .c_str());
    else if (drops != 0 || !holdsDocument)
        state.SkipWithError ("the simulated Marlo lost a dump or does not hold the document's preset");
}
BENCHMARK (BM_LiveSendingOfAThousandEdits)->Unit (benchmark::kMillisecond);
