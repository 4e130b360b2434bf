#pragma once

#include "support/MessageLoop.h"
#include "support/RecordingDialogs.h"
#include "support/TemporaryFolder.h"

#include "midi/MidiManager.h"
#include "midi/SimulatedMarlo.h"
#include "preset/PresetController.h"

#include <juce_gui_basics/juce_gui_basics.h>

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

/** Makes a top-level window the active one and waits until the window system agrees. JUCE polls
    for the active window up to 1.7 s apart, so on a loaded machine 2 s was too short a wait. */
inline bool activate (juce::TopLevelWindow& window)
{
    // The window manager sometimes drops a request that comes right after another window went
    // away; it is asked again rather than waited on.
    for (int attempt = 0; attempt < 8; ++attempt)
    {
        window.toFront (true);

        if (runMessageLoopUntil ([&window] { return window.isActiveWindow(); }, 2500))
            return true;
    }

    return false;
}

/** Minimising needs a window manager: without one the window system never reports the change. */
inline bool windowManagerIsRunning()
{
    juce::ChildProcess xprop;
    return xprop.start ("xprop -root _NET_SUPPORTING_WM_CHECK") &&
           xprop.readAllProcessOutput().contains ("window id");
}
