#include "library/PresetDumps.h"

#include "platform/RegularFile.h"
#include "preset/SysExReader.h"

namespace
{
constexpr juce::uint8 messageStart = 0xf0;
constexpr juce::uint8 messageEnd = 0xf7;
// A bank of ten thousand dumps takes about 1 MB; far beyond that is no bank.
constexpr juce::int64 largestBank = 64 << 20;
} // namespace

juce::Result PresetDumps::read (const juce::File& file, std::vector<PresetCodec::Image>& presets,
                                juce::StringArray* skipped)
{
    juce::MemoryBlock content;
    if (const auto read = RegularFile::read (file, largestBank, "a preset file", content); read.failed())
        return read;
    return readBytes (content, presets, skipped);
}

juce::Result PresetDumps::readBytes (const juce::MemoryBlock& content,
                                     std::vector<PresetCodec::Image>& presets, juce::StringArray* skipped)
{
    const auto* bytes = static_cast<const juce::uint8*> (content.getData());
    const auto size = content.getSize();
    // Each message on its own, from its F0 to its F7 or to the next F0 that cuts it short; the
    // single-preset reader then finds whether it carries a preset, as it does in a whole file.
    juce::String firstRefusal;
    int dumps = 0;
    for (size_t start = 0; start < size; ++start)
    {
        if (bytes[start] != messageStart)
            continue;
        auto end = start + 1;
        while (end < size && bytes[end] != messageEnd && bytes[end] != messageStart)
            ++end;
        const auto length = (end < size && bytes[end] == messageEnd ? end + 1 : end) - start;
        PresetCodec::Image image;
        SysExReader::Summary summary;
        const auto read = SysExReader::read (bytes + start, length, image, &summary);
        dumps += summary.presets;
        if (read.wasOk())
            presets.push_back (image);
        else if (summary.presets > 0)
        {
            if (firstRefusal.isEmpty())
                firstRefusal = read.getErrorMessage();
            if (skipped != nullptr)
                skipped->add ("dump " + juce::String (dumps) + ": " + read.getErrorMessage());
        }
        start = end - 1;
    }
    if (!presets.empty())
        return juce::Result::ok();
    if (firstRefusal.isNotEmpty())
        return juce::Result::fail (firstRefusal);
    // Not one message: what the single-preset reader says about the whole.
    PresetCodec::Image image;
    const auto whole = SysExReader::read (bytes, size, image);
    return whole.failed() ? whole : juce::Result::fail ("it holds no preset");
}
