// The reader of other programs' system-exclusive files on raw bytes, core alone. Besides never
// crashing, the reader is held to what must not change its answer: real-time bytes put in
// anywhere, and a whole preset dump put in front, which must then be the preset read.
#include "preset/PresetCodec.h"
#include "preset/PresetLayout.h"
#include "preset/PresetMessages.h"
#include "preset/SysExReader.h"

#include <cstdint>
#include <vector>

namespace
{
void check (bool condition)
{
    if (!condition)
        __builtin_trap();
}

struct Answer
{
    bool ok = false;
    PresetCodec::Image image;
    SysExReader::Summary summary;
};

Answer readAll (const std::vector<uint8_t>& bytes)
{
    Answer answer;
    answer.ok = SysExReader::read (bytes.data(), bytes.size(), answer.image, &answer.summary).wasOk();
    return answer;
}

/** Real-time bytes (F8 to FF) after every `step`-th byte, their values taken from the input too. */
std::vector<uint8_t> withRealTimeBytes (const std::vector<uint8_t>& bytes, size_t step)
{
    std::vector<uint8_t> mixed;
    for (size_t i = 0; i < bytes.size(); ++i)
    {
        mixed.push_back (bytes[i]);
        if (i % step == 0)
            mixed.push_back (static_cast<uint8_t> (0xF8 | (bytes[i] & 0x07)));
    }
    return mixed;
}

std::vector<uint8_t> dumpOf (const PresetCodec::Image& image)
{
    const auto message = PresetCodec::encodeFile (image);
    const auto* begin = static_cast<const uint8_t*> (message.getData());
    return {begin, begin + message.getSize()};
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes (data, data + size);
    const auto answer = readAll (bytes);

    check (answer.summary.presets <= answer.summary.messages);
    check (!answer.ok || answer.summary.presets > 0);
    if (answer.ok)
        check (PresetCodec::checkImage (answer.image).wasOk());
    else
        check (answer.image.isEmpty());

    const auto mixed = readAll (withRealTimeBytes (bytes, 1 + (size % 13)));
    check (mixed.ok == answer.ok && mixed.image == answer.image);
    check (mixed.summary.messages == answer.summary.messages &&
           mixed.summary.presets == answer.summary.presets);

    // A valid dump in front is the preset read, whatever follows it.
    static const auto factory = factoryPresetData();
    auto prefixed = dumpOf (factory);
    prefixed.insert (prefixed.end(), bytes.begin(), bytes.end());
    const auto first = readAll (prefixed);
    check (first.ok && first.image == factory);
    check (first.summary.messages == answer.summary.messages + 1);
    check (first.summary.presets == answer.summary.presets + 1);
    return 0;
}
