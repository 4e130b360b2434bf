#include "platform/HandOverFrame.h"

#include "platform/ExactText.h"

namespace
{
constexpr int idOffset = 4;
constexpr int lengthOffset = 12;
} // namespace

juce::MemoryBlock HandOverFrame::encode (juce::uint64 requestId, const juce::String& commandLine)
{
    const auto textBytes = commandLine.getNumBytesAsUTF8();
    juce::MemoryOutputStream out;
    out.writeInt ((int)marker);
    out.writeInt64 ((juce::int64)requestId);
    out.writeInt ((int)textBytes);
    out.write (commandLine.toRawUTF8(), textBytes);
    return out.getMemoryBlock();
}

HandOverFrame::State HandOverFrame::append (const void* data, size_t numBytes)
{
    if (state == State::malformed)
        return state;

    // Past the end of its one message a launch has nothing more to say.
    if (state == State::complete)
        return state = numBytes > 0 ? State::malformed : state;

    // Never buffer more than one capped frame, however much arrives at once.
    const auto room = (size_t)(headerBytes + maxTextBytes) - received.getSize();
    received.append (data, juce::jmin (numBytes, room + 1));
    return state = check();
}

HandOverFrame::State HandOverFrame::check()
{
    const auto size = (int)received.getSize();
    const auto* bytes = static_cast<const char*> (received.getData());

    // The marker is checked byte by byte as it arrives, so garbage is refused at once.
    const auto markerBytesHere = juce::jmin (size, 4);
    for (int i = 0; i < markerBytesHere; ++i)
        if ((juce::uint8)bytes[i] != (juce::uint8) ((marker >> (8 * i)) & 0xff))
            return State::malformed;

    if (size < headerBytes)
        return State::incomplete;

    const auto textBytes = (juce::uint32)juce::ByteOrder::littleEndianInt (bytes + lengthOffset);

    if (textBytes > (juce::uint32)maxTextBytes)
        return State::malformed;

    const auto expected = headerBytes + (int)textBytes;

    if (size < expected)
        return State::incomplete;

    if (size > expected)
        return State::malformed;

    return ExactText::fromBytes (bytes + headerBytes, textBytes).has_value() ? State::complete
                                                                             : State::malformed;
}

juce::String HandOverFrame::getText() const
{
    if (state != State::complete)
        return {};

    const auto* bytes = static_cast<const char*> (received.getData());
    return *ExactText::fromBytes (bytes + headerBytes, received.getSize() - headerBytes);
}

juce::uint64 HandOverFrame::getRequestId() const
{
    if (state != State::complete)
        return 0;

    return juce::ByteOrder::littleEndianInt64 (static_cast<const char*> (received.getData()) + idOffset);
}
