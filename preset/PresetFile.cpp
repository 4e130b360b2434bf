#include "preset/PresetFile.h"

#include "platform/AtomicFile.h"
#include "platform/RegularFile.h"
#include "preset/SysExReader.h"

juce::Result PresetFile::readContent (const juce::File& file, juce::MemoryBlock& content)
{
    return RegularFile::read (file, largestFile, "a preset file", content);
}

juce::Result PresetFile::read (const juce::File& file, PresetCodec::Image& image, Reading* reading)
{
    Reading local;
    auto& details = reading != nullptr ? *reading : local;
    details = {};
    juce::MemoryBlock content;
    const auto read = readContent (file, content);
    details.unreadable = read.failed();
    if (read.failed())
        return read;

    if (PresetCodec::isPresetFile (content.getData(), content.getSize()))
    {
        details.presets = 1;
        return PresetCodec::decodeFile (content.getData(), content.getSize(), image);
    }
    details.foreign = true;
    SysExReader::Summary summary;
    const auto found = SysExReader::read (content.getData(), content.getSize(), image, &summary);
    details.presets = summary.presets;
    return found;
}

bool PresetFile::isForeign (const juce::File& file)
{
    juce::MemoryBlock content;
    return readContent (file, content).wasOk() &&
           !PresetCodec::isPresetFile (content.getData(), content.getSize());
}

bool PresetFile::mayBeForeign (const juce::File& file)
{
    juce::MemoryBlock content;
    return file.exists() && (readContent (file, content).failed() ||
                             !PresetCodec::isPresetFile (content.getData(), content.getSize()));
}

juce::Result PresetFile::write (const juce::File& file, const PresetCodec::Image& image)
{
    const auto content = PresetCodec::encodeFile (image);
    return AtomicFile::replaceContent (file, content.getData(), content.getSize());
}
