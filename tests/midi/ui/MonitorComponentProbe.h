#pragma once

#include "midi/MonitorComponent.h"

/** What the tests read of a monitor's lines and reach of its controls, which it keeps to itself. */
struct MonitorComponentProbe
{
    explicit MonitorComponentProbe (MonitorComponent& shown) : monitor (shown) {}

    const juce::String& getLine (int index) const { return monitor.lines[static_cast<size_t> (index)]; }
    juce::Button& getPauseButton() const { return monitor.pauseButton; }
    juce::Button& getClearButton() const { return monitor.clearButton; }
    juce::Button& getHideClockButton() const { return monitor.hideClockButton; }
    const juce::Label& getDroppedLabel() const { return monitor.droppedLabel; }
    /** The names of the columns, over the lines. */
    juce::Label& getHeading() const { return *monitor.heading; }
    /** Null without the simulated controller. */
    juce::ComboBox* getControlChoice() const
    {
        return monitor.simulated != nullptr ? &monitor.controlChoice : nullptr;
    }
    juce::TextEditor& getPlayValue() const { return monitor.playValue; }
    juce::Button& getPlayButton() const { return monitor.playButton; }
    const juce::Label& getPlayProblem() const { return monitor.playProblem; }

    MonitorComponent& monitor;
};
