#pragma once

#include "platform/FileDescriptor.h"

#include <juce_core/juce_core.h>

/** A folder of this user's alone, reached through a descriptor held open, so that whatever is
    done in it happens in it, and never through a link somebody put in its place.

    Every implementation keeps these rules:
    - a folder is opened only when it is a real folder (not a link, nor a junction on Windows),
      owned by the user, and writable by nobody else (or, where asked, not even open to anybody
      else: its mode on Linux, its access list on Windows, where the system and the
      administrators do not count); the descriptor decides this, not a path checked first and
      opened later;
    - every file in it is reached by its exact name inside the open folder, and a link found there
      is never followed;
    - whatever it makes (folders, files) is for this user alone.
*/
class PrivateFolder
{
public:
    /** Who else is kept out of the folder: writers (what it holds is nobody else's to change), or
        everybody (its names are nobody else's business either). */
    enum class KeptOut
    {
        writers,
        everybody
    };

    PrivateFolder() = default;
    PrivateFolder (PrivateFolder&&) noexcept = default;
    PrivateFolder& operator= (PrivateFolder&&) noexcept = default;

    /** The folder at `folder`, made (for this user alone) when missing and `make` is set. The
        folders above it are looked up as the system does; its own name is not followed. */
    static juce::Result open (const juce::File& folder, bool make, PrivateFolder& opened,
                              KeptOut keptOut = KeptOut::writers);

    /** The folder `name` inside this one, under the same rules. */
    juce::Result openFolder (const juce::String& name, bool make, PrivateFolder& opened) const;

    bool isOpen() const noexcept { return descriptor.isOpen(); }
    const juce::File& getFile() const noexcept { return file; }

    /** The names in the folder, less "." and "..". */
    juce::StringArray names() const;

    /** Whether there is an entry `name`, of whatever kind. */
    bool contains (const juce::String& name) const;

    /** The whole content of the regular file `name`, if it holds at most `largest` bytes. */
    juce::Result read (const juce::String& name, size_t largest, juce::MemoryBlock& content) const;

    /** Replaces (or makes) the file `name` all at once, readable by this user alone. */
    juce::Result write (const juce::String& name, const void* data, size_t numBytes) const;

    /** Makes the file `name`, which must not be there yet, and opens it; `nameTaken` tells that
        something of that name was there, and nothing was made. */
    juce::Result create (const juce::String& name, FileDescriptor& created, bool& nameTaken) const;

    /** Opens the regular file `name` for reading, without waiting for whatever it may be. */
    juce::Result openRegular (const juce::String& name, FileDescriptor& opened) const;

    /** Whether the entry `name` is still the file held open: it may have been removed, or
        replaced by another, since it was opened. */
    bool stillNames (const juce::String& name, const FileDescriptor& opened) const;

    /** Removes the file `name`; false when there was none or it could not be removed. */
    bool remove (const juce::String& name) const;
    /** Removes the empty folder `name`; a folder that still holds anything stays. */
    bool removeFolder (const juce::String& name) const;
    /** Gives the entry `from` the name `to`, which must be free. */
    juce::Result rename (const juce::String& from, const juce::String& to) const;

    /** Opens the file `name` (made if missing) to take its lock. */
    juce::Result openLockFile (const juce::String& name, FileDescriptor& opened) const;
    /** Takes the lock of the file `name` (made if missing), held for as long as `held` lives.
        Leaves `held` closed when another open file holds the lock already (another process
        runs); fails when the file cannot be opened or locked at all. */
    juce::Result lock (const juce::String& name, FileDescriptor& held) const;

private:
    static juce::Result checked (FileDescriptor candidate, const juce::File& file, KeptOut keptOut,
                                 PrivateFolder& opened);

    FileDescriptor descriptor;
    juce::File file;
    KeptOut keptOut = KeptOut::writers;
};
