// Floods the simulated controller's input at 10,000 messages a second while the editor's gets run
// against it, and reports whether every get succeeded, what the monitor kept and dropped, and the
// process's resident memory along the way. Then stalls the message thread for a second under the
// same flood, to show the FIFO dropping and counting instead of growing.
#include "midi/MidiMonitor.h"
#include "midi/PresetTransfer.h"
#include "midi/SimulatedMarlo.h"
#include "preset/ControlMatcher.h"
#include "preset/PresetLayout.h"

#include <atomic>
#include <cstdio>
#include <deque>
#include <fstream>
#include <juce_events/juce_events.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace
{
constexpr int messagesPerSecond = 10000;

double nowMs()
{
    return juce::Time::getMillisecondCounterHiRes();
}

double residentMegabytes()
{
    std::ifstream statm ("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double> (resident) * static_cast<double> (sysconf (_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double processorSeconds()
{
    rusage usage{};
    getrusage (RUSAGE_SELF, &usage);
    const auto seconds = [] (const timeval& t) { return static_cast<double> (t.tv_sec) + t.tv_usec / 1e6; };
    return seconds (usage.ru_utime) + seconds (usage.ru_stime);
}

/** Injects messages at the rate on a thread of its own, as a device would, for `seconds`. */
class Flood
{
public:
    Flood (SimulatedMarlo& device, double seconds)
        : thread (
              [this, &device, seconds]
              {
                  const auto start = nowMs();
                  for (;;)
                  {
                      const auto elapsed = nowMs() - start;
                      if (elapsed >= seconds * 1000.0)
                          break;
                      const auto due = static_cast<long> (elapsed * messagesPerSecond / 1000.0);
                      for (; sent < due; ++sent)
                          device.inject (
                              juce::MidiMessage::controllerEvent (1, 20, static_cast<int> (sent % 128)));
                      std::this_thread::sleep_for (std::chrono::milliseconds (1));
                  }
                  finished = true;
              })
    {
    }

    ~Flood() { thread.join(); }

    std::atomic<long> sent{0};
    std::atomic<bool> finished{false};

private:
    std::thread thread;
};

/** What the monitor's window would do with each record: decode, match, format, keep 5,000 lines. */
struct Lines
{
    explicit Lines (const PresetCodec::Image& preset) : matcher (preset) {}

    void add (const MonitorRecord& record)
    {
        const auto message = record.describe();
        lines.push_back (message.toText() + "  " + matcher.controlsSending (message).joinIntoString (", "));
        if (lines.size() > MidiMonitor::defaultKeptLimit)
            lines.pop_front();
        ++count;
    }

    ControlMatcher matcher;
    std::deque<juce::String> lines;
    long count = 0;
};
} // namespace

int main (int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI framework;
    const double seconds = argc > 1 ? juce::String (argv[1]).getDoubleValue() : 10.0;

    auto* marlo = new SimulatedMarlo(); // owned by the MIDI manager
    MidiManager midi{std::unique_ptr<MidiPorts> (marlo)};
    midi.setInputDevice (SimulatedMarlo::deviceName);
    midi.setOutputDevice (SimulatedMarlo::deviceName);
    MidiMonitor monitor (midi, TransferTimer::createSystemTimer());
    Lines lines (factoryPresetData());
    monitor.onRecord = [&] (const MonitorRecord& record) { lines.add (record); };

    PresetTransfer transfer (midi);
    int gets = 0, received = 0;
    double getStarted = 0.0, longestGetMs = 0.0;
    bool getRunning = false;
    transfer.onGetFinished = [&] (const PresetTransfer::Result& result)
    {
        getRunning = false;
        received += result.outcome == PresetTransfer::Outcome::received ? 1 : 0;
        longestGetMs = juce::jmax (longestGetMs, nowMs() - getStarted);
    };

    std::vector<std::pair<double, double>> memory;
    const auto start = nowMs();
    const auto processorAtStart = processorSeconds();
    long floodSent = 0;
    {
        Flood flood (*marlo, seconds);
        double nextGet = start + 200.0, nextSample = start;
        while (!flood.finished || getRunning)
        {
            juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
            const auto now = nowMs();
            if (!getRunning && !flood.finished && now >= nextGet)
            {
                getRunning = true;
                getStarted = now;
                ++gets;
                transfer.get();
                nextGet = now + 500.0;
            }
            if (now >= nextSample)
            {
                memory.emplace_back ((now - start) / 1000.0, residentMegabytes());
                nextSample += 1000.0;
            }
        }
        floodSent = flood.sent;
    }
    monitor.drain();
    // The gets' requests and replies are recorded too.
    const auto transferMessages = 2L * gets;

    std::printf ("flood: %ld messages in %.1f s while %d gets ran: %d received, the longest took %.0f ms\n",
                 floodSent, (nowMs() - start) / 1000.0, gets, received, longestGetMs);
    std::printf ("monitor: %ld records drained (%ld of them the gets'), %lld dropped, %zu lines kept\n",
                 lines.count, transferMessages, static_cast<long long> (monitor.getDroppedCount()),
                 lines.lines.size());
    std::printf ("processor time, flood thread included: %.2f s\n", processorSeconds() - processorAtStart);
    std::printf ("resident memory (MB):");
    for (const auto& [at, megabytes] : memory)
        std::printf (" %.0fs %.1f", at, megabytes);
    std::printf ("\n");

    // The message thread busy for a second: the FIFO fills, drops and counts; nothing grows.
    monitor.clear();
    const auto countBefore = lines.count;
    {
        Flood flood (*marlo, 1.0);
        while (!flood.finished)
            std::this_thread::sleep_for (std::chrono::milliseconds (10));
    }
    monitor.drain();
    std::printf (
        "stalled 1 s under the flood: %ld drained, %lld dropped (the FIFO holds %d), %.1f MB resident\n",
        lines.count - countBefore, static_cast<long long> (monitor.getDroppedCount()),
        MidiMonitor::defaultCapacity, residentMegabytes());
    // Every get answered, and every message of the first phase shown: none lost while drained.
    return received == gets && lines.count - countBefore == MidiMonitor::defaultCapacity &&
                   countBefore == floodSent + transferMessages
               ? 0
               : 1;
}
