#include "app/RecoveryStore.h"

#include "platform/AtomicFile.h"
#include "preset/PresetCodec.h"
#include "preset/PresetFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
const juce::String presetSuffix (".marlo");
const juce::String descriptionSuffix (".txt");
const juce::String lockName ("lock");

juce::String systemReason()
{
    return juce::String (std::strerror (errno));
}

/** Makes the folder for this user alone; an existing one is closed to everybody else. */
juce::Result makePrivateFolder (const juce::File& folder)
{
    const auto path = folder.getFullPathName();
    if (::mkdir (path.toRawUTF8(), 0700) != 0 && errno != EEXIST)
        return juce::Result::fail (path + ": " + systemReason());

    struct stat info = {};
    if (::lstat (path.toRawUTF8(), &info) != 0)
        return juce::Result::fail (path + ": " + systemReason());
    if (!S_ISDIR (info.st_mode))
        return juce::Result::fail (path + ": not a folder");
    if ((info.st_mode & 0077) != 0 && ::chmod (path.toRawUTF8(), 0700) != 0)
        return juce::Result::fail (path + ": " + systemReason());
    return juce::Result::ok();
}

juce::Result writeFile (const juce::File& file, const juce::MemoryBlock& content)
{
    // A new entry is made for this user alone; replacing it keeps that.
    if (!file.exists())
    {
        const auto handle = ::open (file.getFullPathName().toRawUTF8(),
                                    O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (handle < 0 && errno != EEXIST)
            return juce::Result::fail (file.getFullPathName() + ": " + systemReason());
        if (handle >= 0)
            ::close (handle);
    }
    const auto written = AtomicFile::replaceContent (file, content.getData(), content.getSize());
    if (written.failed())
        return juce::Result::fail (file.getFullPathName() + ": " + written.getErrorMessage());
    return written;
}

juce::MemoryBlock describe (const RecoveryStore::Preset& preset)
{
    auto* description = new juce::DynamicObject();
    description->setProperty ("name", preset.name);
    description->setProperty ("file",
                              preset.file == juce::File() ? juce::String() : preset.file.getFullPathName());
    const auto text = juce::JSON::toString (juce::var (description)) + "\n";
    return {text.toRawUTF8(), text.getNumBytesAsUTF8()};
}

bool readEntry (const juce::File& presetFile, RecoveryStore::Preset& preset)
{
    if (PresetFile::read (presetFile, preset.image).failed())
        return false;

    juce::MemoryBlock text;
    const auto description =
        PresetFile::readContent (presetFile.withFileExtension (descriptionSuffix), text).wasOk()
            ? juce::JSON::parse (text.toString())
            : juce::var();
    const auto path = description.getProperty ("file", {}).toString();
    preset.file = juce::File::isAbsolutePath (path) ? juce::File (path) : juce::File();
    preset.name = description.getProperty ("name", {}).toString();
    if (preset.name.isEmpty())
        preset.name = preset.file != juce::File() ? preset.file.getFileNameWithoutExtension() : "Untitled";
    return true;
}

/** Whether the preset's own file already holds exactly this preset: then nothing was lost. */
bool isSavedAlready (const RecoveryStore::Preset& preset)
{
    PresetCodec::Image onDisk;
    return preset.file != juce::File() && PresetFile::read (preset.file, onDisk).wasOk() &&
           onDisk == preset.image;
}
} // namespace

/** One editor's folder of entries and the lock that says the editor still runs. */
class RecoveryStore::Session
{
public:
    explicit Session (const juce::File& sessionFolder) : folder (sessionFolder) {}

    ~Session()
    {
        if (lockHandle >= 0)
            ::close (lockHandle);
    }

    /** False when another process holds the lock (its editor runs) or it cannot be taken. */
    bool lock()
    {
        const auto path = folder.getChildFile (lockName).getFullPathName();
        lockHandle = ::open (path.toRawUTF8(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (lockHandle >= 0 && ::flock (lockHandle, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (lockHandle >= 0)
            ::close (lockHandle);
        lockHandle = -1;
        return false;
    }

    juce::File presetFile (int number) const
    {
        return folder.getChildFile (juce::String (number) + presetSuffix);
    }

    /** In the order they were first kept. */
    juce::Array<juce::File> presetFiles() const
    {
        auto files = folder.findChildFiles (juce::File::findFiles, false, "*" + presetSuffix);
        std::sort (files.begin(), files.end(),
                   [] (const juce::File& a, const juce::File& b) {
                       return a.getFileNameWithoutExtension().getIntValue() <
                              b.getFileNameWithoutExtension().getIntValue();
                   });
        return files;
    }

    /** A session without entries goes, lock and all; one with entries stays for the next start. */
    void removeIfEmpty()
    {
        if (!presetFiles().isEmpty())
            return;
        for (const auto& file : folder.findChildFiles (juce::File::findFiles, false))
            file.deleteFile();
        folder.deleteFile();
    }

    juce::File folder;

private:
    int lockHandle = -1;

    JUCE_DECLARE_NON_COPYABLE (Session)
};

RecoveryStore::RecoveryStore (const juce::File& recoveryFolder, const juce::String& instance)
    : folder (recoveryFolder), instanceName (instance)
{
}

RecoveryStore::~RecoveryStore()
{
    flush();
    for (auto& other : claimed)
        other->removeIfEmpty();
    if (session != nullptr)
        session->removeIfEmpty();
}

juce::File RecoveryStore::defaultFolder()
{
    const juce::String state (juce::SystemStats::getEnvironmentVariable ("XDG_STATE_HOME", {}));
    // The standard allows only an absolute path here; anything else means the default.
    const auto base =
        juce::File::isAbsolutePath (state)
            ? juce::File (state)
            : juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".local/state");
    return base.getChildFile ("orvane-marlo-editor").getChildFile ("recovery");
}

RecoveryStore::Session* RecoveryStore::openSession()
{
    if (session != nullptr)
        return session.get();

    if (!folder.getParentDirectory().getParentDirectory().createDirectory())
    {
        report (folder.getParentDirectory().getParentDirectory().getFullPathName() + ": cannot be made");
        return nullptr;
    }
    for (const auto& level : {folder.getParentDirectory(), folder})
    {
        if (const auto made = makePrivateFolder (level); made.failed())
        {
            report (made.getErrorMessage());
            return nullptr;
        }
    }

    const auto name = instanceName + "." + juce::String ((int)::getpid()) + "." +
                      juce::String::toHexString (juce::Random::getSystemRandom().nextInt());
    // Made and locked under a name no editor looks for, then given its own: another editor that
    // starts meanwhile could otherwise take an unlocked new session for an ended one.
    auto own = std::make_unique<Session> (folder.getChildFile ("." + name));
    if (const auto made = makePrivateFolder (own->folder); made.failed() || !own->lock())
    {
        report (made.failed() ? made.getErrorMessage()
                              : own->folder.getFullPathName() + ": cannot be locked");
        return nullptr;
    }
    const auto finalFolder = folder.getChildFile (name);
    if (::rename (own->folder.getFullPathName().toRawUTF8(), finalFolder.getFullPathName().toRawUTF8()) != 0)
    {
        report (finalFolder.getFullPathName() + ": " + systemReason());
        own->folder.deleteRecursively();
        return nullptr;
    }
    own->folder = finalFolder;
    session = std::move (own);
    return session.get();
}

void RecoveryStore::report (const juce::String& problem)
{
    // Once per run: the editor goes on without recovery rather than nagging at every change.
    if (std::exchange (reported, true))
        return;
    std::fprintf (stderr, "marlo-editor: unsaved presets cannot be kept for recovery: %s\n",
                  problem.toRawUTF8());
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
    {
        const auto presetFile = session->presetFile (found->second);
        presetFile.withFileExtension (descriptionSuffix).deleteFile();
        presetFile.deleteFile();
    }
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
        const auto presetFile = own->presetFile (entry->first);
        // The preset first: a description without its preset is never offered.
        auto written = writeFile (presetFile, PresetCodec::encodeFile (entry->second.image));
        if (written.wasOk())
            written = writeFile (presetFile.withFileExtension (descriptionSuffix), describe (entry->second));
        if (written.failed())
        {
            report (written.getErrorMessage());
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
    if (!folder.isDirectory())
        return entries;

    const auto prefix = instanceName + ".";
    for (const auto& candidate : folder.findChildFiles (juce::File::findDirectories, false, prefix + "*"))
    {
        // "<instance>.<pid>.<tag>": another instance whose name begins with this one's is skipped.
        const auto suffix = candidate.getFileName().substring (prefix.length());
        const auto pid = suffix.upToFirstOccurrenceOf (".", false, false);
        const auto tag = suffix.fromFirstOccurrenceOf (".", false, false);
        if (pid.isEmpty() || !pid.containsOnly ("0123456789") || tag.isEmpty() || tag.containsChar ('.'))
            continue;
        if (session != nullptr && candidate == session->folder)
            continue;

        auto other = std::make_unique<Session> (candidate);
        if (!other->lock())
            continue;

        for (const auto& presetFile : other->presetFiles())
        {
            LeftEntry entry;
            entry.presetFile = presetFile;
            entry.descriptionFile = presetFile.withFileExtension (descriptionSuffix);
            // Unreadable or already saved: nothing there to give back.
            if (!readEntry (presetFile, entry.preset) || isSavedAlready (entry.preset))
                remove (entry);
            else
                entries.push_back (std::move (entry));
        }
        claimed.push_back (std::move (other));
    }
    return entries;
}

void RecoveryStore::remove (const LeftEntry& entry)
{
    entry.descriptionFile.deleteFile();
    entry.presetFile.deleteFile();
}
