#include "library/LibraryFiles.h"

#include "library/NumberedFile.h"
#include "library/PresetLibrary.h"
#include "platform/NewFile.h"

juce::Result LibraryFiles::rename (const juce::File& file, const juce::String& newName, juce::File& renamed)
{
    const auto name = newName.trim();
    // A name that would make a hidden file or reach into another folder is not a preset's name.
    if (name.isEmpty() || name.startsWithChar ('.') || name.containsAnyOf ("/\\") ||
        juce::File::createLegalFileName (name) != name)
        return juce::Result::fail ("\"" + name + "\" cannot be a preset's name");

    renamed = file.getSiblingFile (name + PresetLibrary::extension);
    if (renamed == file)
        return juce::Result::ok();

    juce::MemoryBlock content;
    if (!file.loadFileAsData (content))
        return juce::Result::fail ("\"" + file.getFileName() + "\" cannot be read");

    bool taken = false;
    if (const auto made = NewFile::create (renamed, content.getData(), content.getSize(), taken);
        made.failed())
        return taken ? juce::Result::fail ("A preset named \"" + name + "\" is already in this group") : made;

    // The new name holds every byte before the old one goes; a failure here leaves both.
    renamed.setLastModificationTime (file.getLastModificationTime());
    if (!file.deleteFile())
        return juce::Result::fail ("\"" + file.getFileName() + "\" could not be removed after it was copied");
    return juce::Result::ok();
}

juce::Result LibraryFiles::duplicate (const juce::File& file, juce::File& written)
{
    juce::MemoryBlock content;
    if (!file.loadFileAsData (content))
        return juce::Result::fail ("\"" + file.getFileName() + "\" cannot be read");

    NumberedFile names;
    // The original holds the plain name, so the copy is numbered from 2.
    return names.write (file.getParentDirectory(), file.getFileNameWithoutExtension(),
                        PresetLibrary::extension, content, written);
}
