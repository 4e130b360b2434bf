#include "library/LibraryExport.h"

#include "library/NumberedFile.h"
#include "library/PresetLibrary.h"
#include "platform/NewFile.h"

juce::Result LibraryExport::toSysEx (const std::vector<PresetCodec::Image>& presets, const juce::File& target)
{
    // A preset file is the dump message itself.
    juce::MemoryBlock content;
    for (const auto& image : presets)
    {
        const auto dump = PresetCodec::encodeFile (image);
        content.append (dump.getData(), dump.getSize());
    }
    bool taken = false;
    const auto result = NewFile::create (target, content.getData(), content.getSize(), taken);
    if (taken)
        return juce::Result::fail ("already exists; it is left as it is");
    return result;
}

juce::Result LibraryExport::toFolder (const std::vector<PresetCodec::Image>& presets,
                                      const juce::StringArray& names, const juce::File& folder)
{
    NumberedFile files;
    for (size_t i = 0; i < presets.size(); ++i)
    {
        juce::File written;
        const auto& name = names[static_cast<int> (i)];
        if (const auto result =
                files.write (folder, name.isNotEmpty() ? name : juce::String ("Preset"),
                             PresetLibrary::extension, PresetCodec::encodeFile (presets[i]), written);
            result.failed())
            return juce::Result::fail (written.getFullPathName() + ": " + result.getErrorMessage());
    }
    return juce::Result::ok();
}
