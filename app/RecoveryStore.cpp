#include "app/RecoveryStore.h"

#include "platform/ThisProcess.h"
#include "platform/UserFolders.h"
#include "preset/PresetCodec.h"
#include "preset/PresetFile.h"

#include <algorithm>
#include <cstdio>

namespace
{
const juce::String presetSuffix (".marlo");
const juce::String descriptionSuffix (".txt");
const juce::String lockName ("lock");
/** Sessions claimed at once; each holds two descriptors until the editor ends. */
constexpr size_t mostClaimed = 16;

/** The number of an entry's file ("12.marlo", "12.txt"), or 0 for any other name. */
int entryNumber (const juce::String& name, const juce::String& suffix)
{
    const auto stem = name.dropLastCharacters (suffix.length());
    if (!name.endsWith (suffix) || stem.isEmpty() || stem.length() > 9 || !stem.containsOnly ("0123456789") ||
        stem[0] == '0')
        return 0;
    return stem.getIntValue();
}

juce::String presetName (int number)
{
    return juce::String (number) + presetSuffix;
}

juce::String descriptionName (int number)
{
    return juce::String (number) + descriptionSuffix;
}

/** Whether the preset's own file already holds exactly this preset: then nothing was lost. */
bool isSavedAlready (const RecoveryStore::Preset& preset)
{
    PresetCodec::Image onDisk;
    return preset.file != juce::File() && PresetFile::read (preset.file, onDisk).wasOk() &&
           onDisk == preset.image;
}

void say (const juce::String& line)
{
    std::fprintf (stderr, "marlo-editor: %s\n", line.toRawUTF8());
}
} // namespace

/** One editor's folder of entries and the lock that says the editor still runs. */
class RecoveryStore::Session
{
public:
    explicit Session (juce::String folderName) : name (std::move (folderName)) {}

    /** Leaves the session unlocked when another process holds the lock (its editor runs); fails
        when the lock cannot be taken at all. */
    juce::Result lock() { return folder.lock (lockName, held); }

    bool isLocked() const noexcept { return held.isOpen(); }

    /** The numbers of its presets, in the order they were first kept. */
    juce::Array<int> presetNumbers() const
    {
        juce::Array<int> numbers;
        for (const auto& entry : folder.names())
            if (const auto number = entryNumber (entry, presetSuffix); number > 0)
                numbers.add (number);
        numbers.sort();
        return numbers;
    }

    juce::Result write (int number, const RecoveryStore::Preset& preset) const
    {
        const auto content = PresetCodec::encodeFile (preset.image);
        // The preset first: a description without its preset is never offered.
        auto written = folder.write (presetName (number), content.getData(), content.getSize());
        if (written.wasOk())
        {
            const auto description = preset.describe();
            written = folder.write (descriptionName (number), description.getData(), description.getSize());
        }
        return written;
    }

    juce::Result read (int number, RecoveryStore::Preset& preset) const
    {
        juce::MemoryBlock content, description;
        if (const auto read = folder.read (presetName (number), PresetFile::largestFile, content);
            read.failed())
            return read;
        // A description may be missing (a crash between the two writes), but one that is there
        // must be read. Up to one byte past the bound, so that a larger one is refused as such.
        if (!folder.contains (descriptionName (number)))
            return RecoveryEntry::read (content, nullptr, preset);
        if (const auto read =
                folder.read (descriptionName (number), RecoveryEntry::largestDescription + 1, description);
            read.failed())
            return juce::Result::fail (descriptionName (number) + ": " + read.getErrorMessage());
        return RecoveryEntry::read (content, &description, preset);
    }

    void remove (int number) const
    {
        folder.remove (descriptionName (number));
        folder.remove (presetName (number));
    }

    /** A session without presets goes: its descriptions, its lock and the folder. Anything that
        is no entry of its own keeps the folder, which then stays. */
    void removeIfEmpty (const PrivateFolder& recovery)
    {
        if (!isLocked() || !presetNumbers().isEmpty())
            return;
        for (const auto& entry : folder.names())
            if (entryNumber (entry, descriptionSuffix) > 0)
                folder.remove (entry);
        folder.remove (lockName);
        // Let go of the lock only once its name is gone, so no other editor takes it meanwhile.
        // A removed file stays in its folder while it is still open on some systems (Windows),
        // and the folder would not be empty.
        held.close();
        recovery.removeFolder (name);
    }

    juce::String name;
    PrivateFolder folder;

private:
    FileDescriptor held;

    JUCE_DECLARE_NON_COPYABLE (Session)
};

RecoveryStore::RecoveryStore (const juce::File& recoveryFolder, const juce::String& instance)
    : folder (recoveryFolder), instanceName (instance)
{
}

RecoveryStore::~RecoveryStore()
{
    flush();
    if (opened == nullptr)
        return;
    for (auto& other : claimed)
        other->removeIfEmpty (*opened);
    if (session != nullptr)
        session->removeIfEmpty (*opened);
}

juce::File RecoveryStore::defaultFolder()
{
    return UserFolders::state().getChildFile ("orvane-marlo-editor").getChildFile ("recovery");
}

const PrivateFolder* RecoveryStore::openFolder (bool make)
{
    if (opened != nullptr)
        return opened.get();
    // Looking for what others left makes nothing: there is nothing to find where there is no folder.
    if (!make && !folder.exists())
        return nullptr;

    auto candidate = std::make_unique<PrivateFolder>();
    if (const auto result = PrivateFolder::open (folder, make, *candidate); result.failed())
    {
        if (!std::exchange (reportedFolder, true))
            report (folder.getFullPathName() + ": " + result.getErrorMessage());
        return nullptr;
    }
    opened = std::move (candidate);
    return opened.get();
}

RecoveryStore::Session* RecoveryStore::openSession()
{
    if (session != nullptr)
        return session.get();
    const auto* recovery = openFolder (true);
    if (recovery == nullptr)
        return nullptr;

    const auto name = instanceName + "." + juce::String (ThisProcess::id()) + "." +
                      juce::String::toHexString (juce::Random::getSystemRandom().nextInt());
    // Made and locked under a name no editor looks for, then given its own: another editor that
    // starts meanwhile could otherwise take an unlocked new session for an ended one.
    const auto hidden = "." + name;
    auto own = std::make_unique<Session> (name);
    auto made = recovery->openFolder (hidden, true, own->folder);
    if (made.wasOk())
        made = own->lock();
    if (made.wasOk() && !own->isLocked())
        made = juce::Result::fail ("another program holds its lock");
    if (made.wasOk())
        made = recovery->rename (hidden, name);
    if (made.failed())
    {
        report (recovery->getFile().getChildFile (hidden).getFullPathName() + ": " + made.getErrorMessage());
        if (own->folder.isOpen())
        {
            own->folder.remove (lockName);
            recovery->removeFolder (hidden);
        }
        return nullptr;
    }
    session = std::move (own);
    return session.get();
}

void RecoveryStore::report (const juce::String& problem)
{
    // Once per run: the editor goes on without recovery rather than nagging at every change.
    if (std::exchange (reported, true))
        return;
    say ("unsaved presets cannot be kept for recovery: " + problem);
}

void RecoveryStore::keep (const void* owner, const Preset& preset)
{
    auto found = numbers.find (owner);
    if (found == numbers.end())
        found = numbers.emplace (owner, nextNumber++).first;
    pending[found->second] = preset;
    if (!isTimerRunning())
        startTimer (writeDelayMs);
}

void RecoveryStore::forget (const void* owner)
{
    const auto found = numbers.find (owner);
    if (found == numbers.end())
        return;
    pending.erase (found->second);
    if (session != nullptr)
        session->remove (found->second);
    numbers.erase (found);
}

void RecoveryStore::timerCallback()
{
    stopTimer();
    flush();
}

bool RecoveryStore::flush()
{
    stopTimer();
    if (pending.empty())
        return true;

    auto* own = openSession();
    if (own == nullptr)
        return false;

    for (auto entry = pending.begin(); entry != pending.end();)
    {
        if (const auto written = own->write (entry->first, entry->second); written.failed())
        {
            report (own->folder.getFile().getChildFile (presetName (entry->first)).getFullPathName() + ": " +
                    written.getErrorMessage());
            ++entry;
        }
        else
        {
            entry = pending.erase (entry);
        }
    }
    return pending.empty();
}

std::vector<RecoveryStore::LeftEntry> RecoveryStore::claimLeftEntries()
{
    std::vector<LeftEntry> entries;
    const auto* recovery = openFolder (false);
    if (recovery == nullptr)
        return entries;

    const auto prefix = instanceName + ".";
    for (const auto& candidate : recovery->names())
    {
        // "<instance>.<pid>.<tag>": another instance whose name begins with this one's is skipped.
        if (!candidate.startsWith (prefix))
            continue;
        const auto suffix = candidate.substring (prefix.length());
        const auto pid = suffix.upToFirstOccurrenceOf (".", false, false);
        const auto tag = suffix.fromFirstOccurrenceOf (".", false, false);
        if (pid.isEmpty() || !pid.containsOnly ("0123456789") || tag.isEmpty() || tag.containsChar ('.'))
            continue;
        if ((session != nullptr && candidate == session->name) ||
            std::any_of (claimed.begin(), claimed.end(),
                         [&] (const auto& other) { return other->name == candidate; }))
            continue;
        // A start offers what a few ended editors left; the rest waits for the next start, but
        // every empty session goes now.
        claim (candidate, entries, claimed.size() < mostClaimed);
    }
    return entries;
}

void RecoveryStore::claim (const juce::String& name, std::vector<LeftEntry>& entries, bool mayClaim)
{
    auto other = std::make_unique<Session> (name);
    auto usable = opened->openFolder (name, false, other->folder);
    if (usable.wasOk())
        usable = other->lock();
    if (usable.failed())
    {
        say ("recovery: skipped " + folder.getChildFile (name).getFullPathName() + ": " +
             usable.getErrorMessage());
        return;
    }
    // Its editor still runs.
    if (!other->isLocked())
        return;
    if (!mayClaim)
    {
        other->removeIfEmpty (*opened);
        return;
    }

    size_t offered = 0;
    for (const auto number : other->presetNumbers())
    {
        LeftEntry entry;
        entry.session = name;
        entry.number = number;
        if (const auto read = other->read (number, entry.preset); read.failed())
        {
            // Left where it is: it may be something this editor cannot read, but not nothing.
            say ("recovery: skipped " +
                 other->folder.getFile().getChildFile (presetName (number)).getFullPathName() + ": " +
                 read.getErrorMessage());
            continue;
        }
        // Already saved: nothing there to give back.
        if (isSavedAlready (entry.preset))
            other->remove (number);
        else
        {
            entries.push_back (std::move (entry));
            ++offered;
        }
    }
    // Only a session with something to offer stays claimed, holding its folder and its lock: the
    // others are released now, so a crowd of them cannot use up the editor's descriptors.
    if (offered == 0)
        other->removeIfEmpty (*opened);
    else
        claimed.push_back (std::move (other));
}

void RecoveryStore::remove (const LeftEntry& entry)
{
    for (const auto& other : claimed)
        if (other->name == entry.session)
            other->remove (entry.number);
}
