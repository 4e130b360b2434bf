// The reader of recovery entries on raw bytes, core alone: whatever was put in the recovery
// folder, a start must neither crash nor hang on it. The input is split in two at its first
// byte: the preset file and the description. Besides never crashing, an entry that reads is held
// to what a start relies on: a valid preset, a name to show, and a description that reads back
// as what it said.
#include "preset/PresetCodec.h"
#include "preset/PresetModel.h"
#include "preset/RecoveryEntry.h"

#include <algorithm>
#include <cstdint>

namespace
{
void check (bool condition)
{
    if (!condition)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte says how much of the rest is the preset; past 103 it tries sizes near a
    // preset file's, which the codec refuses.
    const auto presetSize = std::min<size_t> (data[0], size - 1);
    const juce::MemoryBlock preset (data + 1, presetSize);
    const juce::MemoryBlock description (data + 1 + presetSize, size - 1 - presetSize);

    // A valid preset in front, so that the description is read too.
    static const auto validPreset = PresetCodec::encodeFile (PresetModel().getImage());

    for (const auto& tried : {preset, validPreset})
    {
        RecoveryEntry entry;
        if (RecoveryEntry::read (tried, &description, entry).failed())
            continue;
        check (PresetCodec::checkImage (entry.image).wasOk());
        check (entry.name.isNotEmpty());

        // What a start writes of it reads back the same.
        RecoveryEntry again;
        const auto rewritten = entry.describe();
        check (RecoveryEntry::read (tried, &rewritten, again).wasOk());
        check (again.name == entry.name && again.file == entry.file && again.image == entry.image);
    }
    return 0;
}
