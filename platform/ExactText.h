#pragma once

#include <juce_core/juce_core.h>
#include <optional>
#include <string>

/** Text that must reach a file name unchanged. The framework's strings decode UTF-8 leniently: an
    overlong "/" becomes a real one and a stray byte becomes some other letter, so a name that
    is not strictly UTF-8 would quietly name another file. Such bytes are refused instead. */
class ExactText
{
public:
    /** The text the bytes spell, if a framework string gives back exactly those bytes. */
    static std::optional<juce::String> fromBytes (const char* bytes, size_t numBytes);
    static std::optional<juce::String> fromBytes (const std::string& bytes);

    /** The bytes as printable ASCII for a message: anything else as \xNN. */
    static juce::String escaped (const std::string& bytes);
};
