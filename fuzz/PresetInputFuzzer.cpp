// Feeds arbitrary bytes to the two ways a preset enters the editor: a file and a MIDI reply.
#include "midi/SimulatedMarlo.h"
#include "preset/PresetMessages.h"
#include "support/BoundPreset.h"
#include "support/RecordingDialogs.h"

#include <cstdint>

namespace
{
struct Rig
{
    juce::ScopedJuceInitialiser_GUI juce;
    RecordingDialogs dialogs;
    SimulatedMarlo* marlo = new SimulatedMarlo();
    MidiManager midi{std::unique_ptr<MidiPorts> (marlo)};
    std::unique_ptr<PresetController> controller = createPresetController (midi);
    BoundPreset preset{*controller};
    juce::File file = juce::File::createTempFile (".marlo");

    Rig()
    {
        marlo->setBehaviour (SimulatedMarlo::Behaviour::silent);
        midi.setInputDevice (SimulatedMarlo::deviceName);
        midi.setOutputDevice (SimulatedMarlo::deviceName);
    }
};

Rig& rig()
{
    // Never destroyed: the framework's own statics go first at exit, and shutting it down after
    // them would free its bookkeeping twice.
    static auto* instance = new Rig();
    return *instance;
}

void checkImageInRange (Rig& r)
{
    // Whatever was accepted, every byte must still be a valid MIDI data byte.
    for (auto byte : r.controller->getPresetData())
        if (byte > 127)
            __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    auto& r = rig();
    r.dialogs.clear();

    // As a file: the raw bytes, and the bytes behind a valid header of the right size.
    r.file.replaceWithData (data, size);
    r.controller->loadFromFile (r.file);
    if (size >= 94)
    {
        juce::MemoryBlock framed ("\xF0\x00\x3A\x6C\x00\x43\x61\x00\x5D", 9);
        framed.append (data, 94);
        r.file.replaceWithData (framed.getData(), framed.getSize());
        r.controller->loadFromFile (r.file);
    }
    checkImageInRange (r);

    // As a reply: the bytes behind the reply header, and as they are. Each arrives while a get
    // waits, so the raw bytes meet the header check too rather than being ignored.
    r.controller->requestPreset();
    auto reply = createReplyHeader();
    reply.addArray (data, static_cast<int> (size));
    r.midi.handleIncomingMidiMessage (
        nullptr, juce::MidiMessage::createSysExMessage (reply.getRawDataPointer(), reply.size()));
    juce::MessageManager::getInstance()->runDispatchLoopUntil (1);
    checkImageInRange (r);

    r.controller->requestPreset();
    if (!r.controller->isAwaitingReply())
        __builtin_trap();
    r.midi.handleIncomingMidiMessage (nullptr,
                                      juce::MidiMessage::createSysExMessage (data, static_cast<int> (size)));
    juce::MessageManager::getInstance()->runDispatchLoopUntil (1);
    checkImageInRange (r);
    return 0;
}
