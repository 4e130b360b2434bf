#include "platform/ExactText.h"

#include <cstring>

std::optional<juce::String> ExactText::fromBytes (const char* bytes, size_t numBytes)
{
    // A string ends at its first zero byte; a name never holds one.
    if (std::memchr (bytes, 0, numBytes) != nullptr ||
        !juce::CharPointer_UTF8::isValidString (bytes, (int)numBytes))
        return std::nullopt;

    auto text = juce::String::fromUTF8 (bytes, (int)numBytes);

    if ((size_t)text.getNumBytesAsUTF8() != numBytes || std::memcmp (text.toRawUTF8(), bytes, numBytes) != 0)
        return std::nullopt;

    return text;
}

std::optional<juce::String> ExactText::fromBytes (const std::string& bytes)
{
    return fromBytes (bytes.data(), bytes.size());
}

juce::String ExactText::escaped (const std::string& bytes)
{
    juce::String result;

    for (const auto byte : bytes)
    {
        const auto code = (juce::uint8)byte;

        if (code >= 0x20 && code < 0x7f && code != '\\')
            result << (char)code;
        else
            result << "\\x" << juce::String::toHexString (code).paddedLeft ('0', 2);
    }

    return result;
}
