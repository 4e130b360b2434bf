#pragma once

#include "platform/PrivateFolder.h"
#include "preset/RecoveryEntry.h"

#include <juce_events/juce_events.h>
#include <map>
#include <memory>
#include <vector>

/** Keeps every changed document's preset on disk, so that an editor ended by a signal, kill -9
    or a crash loses nothing: the next start offers what it left.

    Each running editor writes into a session folder of its own inside the recovery folder and
    holds a lock on it for its whole life; the system drops the lock when the process ends however
    it ends. A session whose lock is free therefore belongs to an editor that is gone, and only
    such sessions are offered. An entry is two files: the preset as a preset file and a small text
    file with the document's name and file (RecoveryEntry).

    Whatever else is in the recovery folder is never touched: the folder and each session are used
    only when they are real folders of this user's that nobody else may write, every file is
    reached by its exact name inside the open folder, and only the entries' own names are ever
    removed, inside a session this editor holds locked. Anything else costs one line on stderr.

    Writes wait a little after a change, so typing costs one write, not one per key; every change
    reaches the disk within a second. A folder that cannot be written costs one line on stderr.
*/
class RecoveryStore final : private juce::Timer
{
public:
    using Preset = RecoveryEntry;

    /** What another editor left: claimed by this one until it is recovered or discarded. */
    struct LeftEntry
    {
        Preset preset;
        juce::String session; ///< the claimed session's folder name
        int number = 0;       ///< the entry's number in it
    };

    /** How long after a change its entry is written. */
    static constexpr int writeDelayMs = 500;

    /** Nothing touches the disk until the first entry is kept or left entries are looked for. */
    RecoveryStore (const juce::File& recoveryFolder, const juce::String& instanceName);
    /** Writes what is pending; the entries stay for the next start. */
    ~RecoveryStore() override;

    /** $XDG_STATE_HOME/orvane-marlo-editor/recovery, by default under ~/.local/state (on
        Windows under %LOCALAPPDATA%). */
    static juce::File defaultFolder();

    /** Keeps the latest preset of an owner (a document); written within writeDelayMs. */
    void keep (const void* owner, const Preset& preset);
    /** The owner's work is saved or given up: its entry goes. */
    void forget (const void* owner);
    /** Writes every pending entry now (a signal is about to end the editor). False when one
        could not be written; it stays pending and is tried again at the next change. */
    bool flush();

    /** The entries of editors of this instance that are no longer running. Their sessions stay
        claimed by this editor until it ends, so no other editor offers them meanwhile. */
    std::vector<LeftEntry> claimLeftEntries();
    /** Deletes a left entry: it was recovered (and kept anew) or discarded. */
    void remove (const LeftEntry& entry);

    juce::File getFolder() const { return folder; }

private:
    class Session;

    void timerCallback() override;
    /** The recovery folder, opened (and made, with `make`) once it is needed; null when it is
        not a private folder, which is reported. */
    const PrivateFolder* openFolder (bool make);
    Session* openSession();
    /** Takes what the session left; without `mayClaim` it only goes if it is empty. */
    void claim (const juce::String& name, std::vector<LeftEntry>& entries, bool mayClaim);
    void report (const juce::String& problem);

    juce::File folder;
    std::unique_ptr<PrivateFolder> opened;
    juce::String instanceName;
    std::unique_ptr<Session> session;
    // Other editors' sessions this one has claimed, with their locks.
    std::vector<std::unique_ptr<Session>> claimed;
    std::map<const void*, int> numbers;
    std::map<int, Preset> pending;
    int nextNumber = 1;
    bool reported = false;
    bool reportedFolder = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RecoveryStore)
};
