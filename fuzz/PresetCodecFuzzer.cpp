// The codec and the windowless model on raw bytes, with no controller, widgets or message loop in
// the way, so that each input costs microseconds. The input is read three ways: as a file, as an
// image, and as a reply; what is left drives edits on a model.
#include "preset/ControlSchema.h"
#include "preset/PresetCodec.h"
#include "preset/PresetMessages.h"
#include "preset/PresetModel.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

namespace
{
void check (bool condition)
{
    if (!condition)
        __builtin_trap();
}

/** Whatever the codec accepts loads into a model, which then holds exactly it, and encodes to a
    file that decodes to it again. */
void checkAccepted (PresetModel& model, const PresetCodec::Image& image)
{
    check (PresetCodec::checkImage (image).wasOk());
    check (model.load (image).wasOk());
    check (model.getImage() == image);
    const auto file = PresetCodec::encodeFile (image);
    check (file.getSize() == static_cast<size_t> (presetDumpMessageSize));
    PresetCodec::Image again;
    check (PresetCodec::decodeFile (file.getData(), file.getSize(), again).wasOk());
    check (again == image);
}

/** Every offset's range for every value of the byte that decides its meaning, taken once from
    allowedAt: the oracle the codec's own decision is held to, without building names per input. */
class RangeOracle
{
public:
    RangeOracle()
    {
        PresetCodec::Image image;
        image.insertMultiple (0, 0, presetDataLength());
        for (int offset = 0; offset < image.size(); ++offset)
        {
            const auto position = *controlAt (offset);
            const auto modeByte = controlSchema (position.type).getModeByte();
            deciders.push_back (modeByte >= 0 && modeByte != position.byte ? offset - position.byte + modeByte
                                                                           : -1);
            for (int value = 0; value < 256; ++value)
            {
                if (deciders.back() >= 0)
                    image.set (deciders.back(), static_cast<juce::uint8> (value));
                const auto allowed = PresetCodec::allowedAt (image, offset);
                check (allowed.minimum >= 0 && allowed.maximum <= 127 && allowed.minimum <= allowed.maximum);
                ranges.push_back ({allowed.minimum, allowed.maximum});
            }
            if (deciders.back() >= 0)
                image.set (deciders.back(), 0);
        }
    }

    bool anyOutside (const PresetCodec::Image& image) const
    {
        for (int offset = 0; offset < image.size(); ++offset)
        {
            const auto decider = deciders[static_cast<size_t> (offset)];
            const auto& range =
                ranges[static_cast<size_t> (offset * 256 + (decider >= 0 ? image[decider] : 0))];
            if (image[offset] < range.first || image[offset] > range.second)
                return true;
        }
        return false;
    }

private:
    std::vector<int> deciders;
    std::vector<std::pair<int, int>> ranges;
};

/** A refusal names a byte that is indeed outside the range allowedAt gives it; an acceptance has
    none. */
void checkDecisionMatchesRanges (const PresetCodec::Image& image, const juce::Result& result)
{
    static const RangeOracle oracle;
    check (oracle.anyOutside (image) == result.failed());
    check (result.wasOk() || result.getErrorMessage().contains ("outside the range"));
}

/** The names the model's modes show, remade only when a mode byte changed: building them is most
    of an input's cost otherwise. */
const juce::StringArray& shownNames (const PresetModel& presets)
{
    static const auto modeOffsets = []
    {
        std::vector<int> offsets;
        for (int offset = 0; offset < presetDataLength(); ++offset)
            if (PresetModel::isModeByte (offset))
                offsets.push_back (offset);
        return offsets;
    }();
    static std::vector<juce::uint8> modes;
    static juce::StringArray names;

    std::vector<juce::uint8> now;
    for (const auto offset : modeOffsets)
        now.push_back (presets.getImage()[offset]);
    if (names.isEmpty() || now != modes)
    {
        modes = now;
        names = presets.getShownNames();
    }
    return names;
}

PresetModel& model()
{
    static PresetModel instance;
    return instance;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    auto& presets = model();
    const auto imageSize = static_cast<size_t> (presetDataLength());

    // As a file.
    PresetCodec::Image fromFile;
    if (PresetCodec::decodeFile (data, size, fromFile).wasOk())
    {
        // Everything but the closing byte is the dump itself.
        const auto encoded = PresetCodec::encodeFile (fromFile);
        check (std::memcmp (encoded.getData(), data, static_cast<size_t> (presetDumpMessageSize) - 1) == 0);
        checkAccepted (presets, fromFile);
    }
    else
        check (fromFile.isEmpty());

    // As an image: the first 93 bytes.
    if (size >= imageSize)
    {
        const PresetCodec::Image image (data, static_cast<int> (imageSize));
        const auto result = PresetCodec::checkImage (image);
        checkDecisionMatchesRanges (image, result);
        if (result.wasOk())
            checkAccepted (presets, image);
        else
            check (presets.load (image).failed());
    }

    // As a reply: the raw message, and the bytes behind the reply header.
    if (size > 0 && size < 4096)
    {
        PresetCodec::Image fromReply;
        const auto raw = juce::MidiMessage::createSysExMessage (data, static_cast<int> (size));
        if (PresetCodec::decodeReply (raw, fromReply).wasOk())
            checkAccepted (presets, fromReply);
        auto framed = createReplyHeader();
        framed.addArray (data, static_cast<int> (size));
        PresetCodec::Image behindHeader;
        const auto result = PresetCodec::decodeReply (
            juce::MidiMessage::createSysExMessage (framed.getRawDataPointer(), framed.size()), behindHeader);
        check (result.wasOk() ==
               (size >= imageSize &&
                PresetCodec::checkImage (PresetCodec::Image (data, static_cast<int> (imageSize))).wasOk()));
    }

    // Edits: up to four pairs of (which shown box, which value) after the image, as a user's typing
    // would be. Only shown boxes: a hidden one is not on the screen to be typed into.
    bool edited = false;
    for (size_t i = imageSize; i + 1 < size && i < imageSize + 8; i += 2)
    {
        const auto& names = shownNames (presets);
        const auto name = names[data[i] % names.size()];
        const auto before = presets.getImage();
        if (presets.setStoredValue (name, data[i + 1]).failed())
        {
            check (presets.getImage() == before);
            continue;
        }
        check (*presets.getStoredValue (name) == data[i + 1]);
        edited = true;
    }
    if (edited)
    {
        // Edits keep the preset loadable, and every box on the screen shows what its byte holds.
        check (PresetCodec::checkImage (presets.getImage()).wasOk());
        check (presets.shownBoxesMatchImage());
    }
    return 0;
}
