#include <benchmark/benchmark.h>

#include "support/RecordingDialogs.h"

#include "app/WindowManager.h"
#include "midi/CombinedMidiPorts.h"
#include "midi/SimulatedMarlo.h"

#include <algorithm>
#include <chrono>
#include <time.h>

// What a changed device list costs the message thread: the MIDI manager closes the unplugged
// Marlo or opens it again, every document's main page says so, each document's transfer hears
// of it, and Device Setup shows the new lists with its selection kept on the name and the
// remembered devices that are missing.
namespace
{
/** This thread's processor time: on a loaded machine the wall clock also counts the time the
    system gave other programs. */
double threadCpuMs()
{
    timespec now{};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double> (now.tv_sec) * 1000.0 + static_cast<double> (now.tv_nsec) / 1.0e6;
}

/** Devices that are listed and open to nothing: a studio with many ports beside the Marlo. */
class ListedOnlyPorts final : public MidiPorts
{
public:
    explicit ListedOnlyPorts (int count)
    {
        for (int i = 1; i <= count; ++i)
            names.add ("USB MIDI Interface " + juce::String (i) + " Port 1");
    }
    juce::StringArray getInputNames() override { return names; }
    juce::StringArray getOutputNames() override { return names; }
    std::unique_ptr<Input> openInput (int, juce::MidiInputCallback&) override { return nullptr; }
    std::unique_ptr<Output> openOutput (int) override { return nullptr; }

private:
    juce::StringArray names;
};

void BM_HandleChangedDeviceList (benchmark::State& state)
{
    RecordingDialogs dialogs;
    auto* marlo = new SimulatedMarlo();
    std::vector<std::unique_ptr<MidiPorts>> parts;
    parts.push_back (std::unique_ptr<MidiPorts> (marlo));
    parts.push_back (std::make_unique<ListedOnlyPorts> (static_cast<int> (state.range (0))));
    MidiManager midi{std::make_unique<CombinedMidiPorts> (std::move (parts))};
    juce::ApplicationCommandManager commands;
    juce::File lastDirectory = juce::File::getSpecialLocation (juce::File::tempDirectory);
    // With the Marlo remembered, Device Setup grows by a "Not connected" line each time it leaves
    // and shrinks again when it is back: a window resize, which the framework does through the X
    // server.
    const juce::TemporaryFile settingsFile (".xml");
    DeviceSettings settings (settingsFile.getFile());
    const bool remembered = state.range (1) != 0;
    if (remembered)
        settings.remember ({SimulatedMarlo::deviceName, SimulatedMarlo::deviceName});
    {
        WindowManager windows (&midi, &commands, &lastDirectory);
        if (remembered)
            windows.setDeviceSettings (&settings);
        for (int i = 0; i < WindowManager::maxDocuments; ++i)
            windows.newDocument();
        midi.setOutputDevice (SimulatedMarlo::deviceName);
        midi.setInputDevice (SimulatedMarlo::deviceName);
        windows.showDeviceSetup();

        const DeviceListPoller::Lists plugged{midi.getPorts().getInputNames(),
                                              midi.getPorts().getOutputNames()};
        marlo->vanish();
        const DeviceListPoller::Lists unplugged{midi.getPorts().getInputNames(),
                                                midi.getPorts().getOutputNames()};
        marlo->plugIn();

        double longestMs = 0.0;
        double longestCpuMs = 0.0;
        std::int64_t longestCpuAt = 0;
        std::int64_t handled = 0;
        std::int64_t overOneMs = 0;
        bool inList = true;
        for (auto _ : state)
        {
            inList = !inList;
            const auto start = std::chrono::steady_clock::now();
            const auto cpuStart = threadCpuMs();
            windows.followDeviceLists (inList ? plugged : unplugged);
            const auto cpu = threadCpuMs() - cpuStart;
            const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
            longestMs = std::max (longestMs, took.count());
            if (cpu > longestCpuMs)
            {
                longestCpuMs = cpu;
                longestCpuAt = handled;
            }
            ++handled;
            overOneMs += took.count() > 1.0 ? 1 : 0;
            // The same state the poller would see next.
            if (inList)
                marlo->vanish();
            else
                marlo->plugIn();
        }
        if (midi.describeConnection().startsWith ("Connected") != inList)
            state.SkipWithError ("the connection did not follow the lists");
        state.counters["longest_ms"] = longestMs;
        state.counters["longest_cpu_ms"] = longestCpuMs;
        state.counters["longest_cpu_at"] = static_cast<double> (longestCpuAt);
        state.counters["over_1ms"] = static_cast<double> (overOneMs);
        windows.closeAllDocuments();
    }
}
} // namespace

// Arguments: the devices listed beside the Marlo; whether the Marlo is remembered.
BENCHMARK (BM_HandleChangedDeviceList)
    ->Args ({8, 0})
    ->Args ({64, 0})
    ->Args ({8, 1})
    ->Unit (benchmark::kMicrosecond);
