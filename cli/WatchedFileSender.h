#pragma once

#include "midi/PresetTransfer.h"
#include "midi/SendSchedule.h"
#include "preset/PresetCodec.h"

#include <functional>
#include <juce_core/juce_core.h>
#include <optional>

/** Keeps the controller holding what a file holds: each look at the file that finds another
    preset there counts as a change, and the newest preset goes out paced as the editor's live
    sending paces it. A file caught half-written, or gone for a moment while an editor replaces it,
    is waited out, not sent. With verification, the last send of a burst is asked back and
    compared.

    Message thread; the time is the caller's, in milliseconds, so that tests drive it.
*/
class WatchedFileSender
{
public:
    /** The transfer must be open on the output (and, to verify, the input), and outlive this. */
    WatchedFileSender (juce::File watched, PresetTransfer& transfer, bool verify);
    ~WatchedFileSender();

    /** Told of each send and each verification, one line each. */
    std::function<void (const juce::String& line)> onReport;
    /** Told once each time the file stops being readable as a preset, with why. */
    std::function<void (const juce::String& reason)> onUnreadable;

    /** Looks at the file and sends what is due by `now`. False once a send failed: the output is
        gone. */
    bool poll (double now);

    /** The preset the file held at the last look that could read it. */
    const std::optional<PresetCodec::Image>& getNewest() const noexcept { return newest; }

    /** How often the file is looked at. */
    static constexpr int lookIntervalMs = 20;

private:
    void look (double now);
    bool sendIfDue (double now);
    void startVerifyIfQuiet (double now);
    void verifyFinished (const PresetTransfer::Result& result);
    juce::String at() const;

    juce::File file;
    PresetTransfer& transfer;
    const bool verify;
    SendSchedule schedule;
    juce::MemoryBlock lastContent;
    bool seenOnce = false;
    bool unreadableSaid = false;
    std::optional<PresetCodec::Image> newest;
    std::optional<PresetCodec::Image> lastSent;
    std::optional<double> verifyAfter;
    std::optional<PresetCodec::Image> beingVerified;
};
