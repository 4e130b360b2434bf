#pragma once

#include "editor/CheckBoxLook.h"
#include "midi/MidiMonitor.h"
#include "preset/ControlMatcher.h"

#include <deque>
#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>
#include <optional>

class SimulatedMarlo;

/** The content of the MIDI Monitor window: one line per message in and out, newest at the bottom,
    under the names of its columns, with the name of a note beside its number and the controls of
    the watched preset that send it; "Pause", "Clear", "Hide Clock and Active Sensing"; the count
    of messages the FIFO had to drop; with the simulated controller, a row to play one of the
    controls that can be played. Selected lines copy as text (Ctrl+C); Escape asks to close.

    It watches the MIDI manager from its construction to its destruction.
*/
class MonitorComponent final : public juce::Component, public juce::KeyListener, private juce::ListBoxModel
{
public:
    static constexpr int keptLines = MidiMonitor::defaultKeptLimit;

    /** The manager is not owned and outlives this; the timer drains the monitor's FIFO (a test's
        own timer drains by hand); the clock is in milliseconds. */
    MonitorComponent (MidiManager& midiManager, std::unique_ptr<TransferTimer> drainTimer,
                      std::function<double()> clockMs = &juce::Time::getMillisecondCounterHiRes);
    ~MonitorComponent() override;

    /** A document's preset, with the name the monitor gives it in its heading. */
    struct WatchedPreset
    {
        juce::String documentName;
        PresetCodec::Image image;
        bool operator== (const WatchedPreset& other) const
        {
            return documentName == other.documentName && image == other.image;
        }
    };
    /** The preset whose controls are named: the most recently active document's; nothing when
        there is no document. Its name and its controls come from one call, so the heading never
        names another document than the one matched. */
    std::function<std::optional<WatchedPreset>()> presetSource;
    /** The controls that sent a message just shown, with the monitor's time. */
    std::function<void (const juce::StringArray& controls, double nowMs)> onControlsHeard;
    /** After every drain, with the monitor's time: what was lit can go out. */
    std::function<void (double nowMs)> onDrained;
    /** Escape, or the window's own close. */
    std::function<void()> onCloseRequested;

    /** Takes what the FIFO holds and shows it; the timer calls it, tests may too. */
    void drain();
    void clear();
    /** The selected lines, one per line, oldest first. */
    juce::String selectedText() const;
    void copySelection() const;

    int getNumLines() const noexcept { return static_cast<int> (lines.size()); }
    juce::ListBox& getList() noexcept { return list; }

    /** Plays the chosen control with the typed value on the simulated controller. */
    void playChosen();

    void resized() override;
    void paint (juce::Graphics& g) override;
    void focusOfChildComponentChanged (FocusChangeType) override { repaint(); }
    /** Heard on every child before the child itself, which would take Escape for its own. */
    bool keyPressed (const juce::KeyPress& key, juce::Component* origin) override;
    bool keyPressed (const juce::KeyPress& key) override { return keyPressed (key, this); }

private:
    // What tests read of the lines and the controls.
    friend struct MonitorComponentProbe;

    int getNumRows() override { return getNumLines(); }
    void paintListBoxItem (int row, juce::Graphics& g, int width, int height, bool selected) override;
    void addRecord (const MonitorRecord& record);
    juce::String lineFor (const MonitorRecord& record, const MonitoredMessage& message,
                          const juce::StringArray& controls) const;
    void refreshMatcher();
    void showDropped();
    /** Lets the list scroll sideways far enough to show its longest line whole. */
    void fitContentWidth();

    MidiManager& midiManager;
    SimulatedMarlo* simulated;
    const std::function<double()> clock;
    const double startMs;
    std::unique_ptr<MidiMonitor> monitor;
    std::optional<WatchedPreset> matchedPreset;
    std::unique_ptr<ControlMatcher> matcher;
    std::deque<juce::String> lines;
    // Made once: every visible line is drawn with it at each repaint.
    const juce::Font font{juce::Font::getDefaultMonospacedFontName(), 13.0f, juce::Font::plain};
    const float characterWidth = font.getStringWidthFloat ("0");
    int longestLine = 0;
    bool linesAdded = false;
    double drainTimeMs = 0.0;

    juce::ListBox list{"Messages"};
    juce::ToggleButton pauseButton{"Pause"};
    juce::TextButton clearButton{"Clear"};
    juce::ToggleButton hideClockButton{"Hide Clock and Active Sensing"};
    juce::Label droppedLabel;
    juce::ComboBox controlChoice{"Control"};
    juce::TextEditor playValue{"Value"};
    juce::TextButton playButton{"Play"};
    juce::Label playProblem;
    // The names of the columns, over the lines and scrolled with them; owned by the list.
    juce::Label* heading;
    CheckBoxLook look;
    juce::TooltipWindow tooltips{this};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MonitorComponent)
};
