#pragma once

#include <juce_core/juce_core.h>

/** The eight header bytes (no F0) of the three messages; they differ only in the command byte. */
juce::Array<juce::uint8> createDumpHeader();
juce::Array<juce::uint8> createRequestHeader();
juce::Array<juce::uint8> createReplyHeader();

/** Size of the header and of the complete dump message (and of a "*.marlo" file). */
constexpr int presetHeaderSize = 8;
constexpr int presetDumpMessageSize = 103;
