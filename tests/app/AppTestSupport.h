#pragma once

#include "support/MessageLoop.h"
#include "support/RecordingDialogs.h"
#include "support/TemporaryFolder.h"
#include "support/WindowChecks.h"

#include "midi/MidiManager.h"
#include "midi/SimulatedMarlo.h"
#include "preset/PresetController.h"

/** Writes a valid preset file whose first preset byte ("Keybed Transpose") is the given value. */
inline juce::File writePresetFile (const juce::File& file, juce::uint8 transpose)
{
    auto data = factoryPresetData();
    data.set (0, transpose);
    juce::MemoryBlock dump;
    dump.append ("\xF0", 1);
    MidiManager midi{std::make_unique<SimulatedMarlo>()};
    auto controller = createPresetController (midi);
    auto header = controller->createDumpData();
    // The dump is header + image; take the header from a real dump and put our image after it.
    header.removeRange (header.size() - data.size(), data.size());
    dump.append (header.getRawDataPointer(), (size_t)header.size());
    dump.append (data.getRawDataPointer(), (size_t)data.size());
    dump.append ("\xF7", 1);
    file.replaceWithData (dump.getData(), dump.getSize());
    return file;
}
