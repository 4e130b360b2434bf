#pragma once

#include "preset/ControlSchema.h"
#include "preset/PresetCodec.h"

#include <functional>
#include <map>
#include <optional>
#include <vector>

/** A document's preset without windows: the image, and the value each of the 177 boxes holds,
    kept by the same rules the editor keeps them by.

    A box shows one parameter; several boxes share a byte where the control's mode picks the
    meaning. Loading sets every box that takes the byte's value; an edit writes the byte; a mode
    change makes each byte of the control take the value of the box the new mode shows there.
    The command-line tool edits presets through this class, and tests hold the editor to it.
*/
class PresetModel
{
public:
    /** As a new document: every box at its default, then the factory preset loaded. */
    PresetModel();

    /** Checks and loads an image; on refusal nothing changes. */
    juce::Result load (const PresetCodec::Image& image);

    /** As if the user committed a value (stored units) into the box of `name`. Fails, changing
        nothing, for an unknown name or a value the box does not take. */
    juce::Result setStoredValue (const juce::String& name, int storedValue);

    /** A box on the screen took a value, within the range its widget keeps: the model holds it and
        writes its byte. With `followModeRule` a "Mode" box rewrites its control's bytes as
        setStoredValue does; a load or an undo, which sets every byte itself, passes false.
        An unknown name changes nothing. */
    void takeShownValue (const juce::String& name, int storedValue, bool followModeRule);

    /** The stored value the box of `name` holds; nothing for an unknown name. */
    std::optional<int> getStoredValue (const juce::String& name) const;

    const PresetCodec::Image& getImage() const noexcept { return image; }

    /** The same image and the same value in every box. */
    bool operator== (const PresetModel& other) const
    {
        return image == other.image && values == other.values;
    }
    bool operator!= (const PresetModel& other) const { return !operator== (other); }

    /** The names of the boxes each control's current mode shows, in section and row order. */
    juce::StringArray getShownNames() const;

    /** Whether every byte that a box shows in its control's current mode holds that box's value:
        what the screen would show is what would be saved and sent. */
    bool shownBoxesMatchImage() const;

    /** A byte write caused by a mode change: the offset and the value it takes. */
    struct ByteWrite
    {
        int offset = 0;
        int value = 0;
    };

    /** The rule a mode change follows, shared with the editor: every byte of the control at
        `modeOffset` takes the value of the box the new mode shows there. `boxValue` gives the
        stored value of a box by parameter name, or nothing when there is no such box. */
    static std::vector<ByteWrite>
    writesForModeChange (int modeOffset, int modeValue,
                         const std::function<std::optional<int> (const juce::String&)>& boxValue);

    /** Whether `offset` is the "Mode" byte of a control whose modes share bytes or hide rows. */
    static bool isModeByte (int offset);

private:
    class Layout;
    static const Layout& layout();

    void write (int box, int value, bool followModeRule);

    PresetCodec::Image image;
    /** The stored value of every box, in layout order. */
    std::vector<int> values;
};
