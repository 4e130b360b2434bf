#include "midi/MonitorComponent.h"

#include "midi/SimulatedMarlo.h"
#include "preset/ControlPlayer.h"
#include "preset/NoteName.h"

#include <cmath>

namespace
{
constexpr int width = 760;
constexpr int height = 440;
constexpr int margin = 10;
constexpr int rowHeight = 26;
constexpr int lineHeight = 16;
// Where a line's text starts in its row, and where its controls start, in characters.
constexpr int lineInset = 4;
constexpr int controlsColumn = 58;
// Typed values longer than this are no number the controller takes, and the play row's reply
// to one must fit on its line.
constexpr int longestPlayValue = 16;

/** The time and direction in front of each line's message. */
juce::String lineStart (const juce::String& time, const juce::String& direction)
{
    return time.paddedLeft (' ', 9) + "  " + direction.paddedRight (' ', 3) + "  ";
}

juce::String headingFor (const juce::String& documentName)
{
    return (lineStart ("Time", "Dir") + MonitoredMessage::heading()).paddedRight (' ', controlsColumn) +
           "  " +
           (documentName.isEmpty() ? juce::String ("Controls (no document)") : "Controls of " + documentName);
}
} // namespace

MonitorComponent::MonitorComponent (MidiManager& manager, std::unique_ptr<TransferTimer> drainTimer,
                                    std::function<double()> clockMs)
    : midiManager (manager), simulated (manager.getPorts().getSimulatedMarlo()), clock (std::move (clockMs)),
      startMs (clock())
{
    // The monitor drains on the timer's tick; the tick is taken over so that the list is laid out
    // once per drain, not once per message.
    auto* timer = drainTimer.get();
    monitor = std::make_unique<MidiMonitor> (manager, std::move (drainTimer), MidiMonitor::defaultCapacity,
                                             MidiMonitor::defaultKeptLimit, clock);
    timer->onTick = [this] { drain(); };
    monitor->onRecord = [this] (const MonitorRecord& record) { addRecord (record); };

    if (simulated != nullptr)
    {
        auto* watched = monitor.get();
        // What is played waits for room, so none of it is dropped.
        simulated->setRoomCheck ([watched] { return watched->hasRoomForInput(); });
        controlChoice.addItemList (
            ControlPlayer::playableControls (PresetCodec::Image (simulated->getPreset())), 1);
        controlChoice.setText ("Knob 1", juce::dontSendNotification);
        playValue.setTextToShowWhenEmpty ("a number, press or release", juce::Colours::grey);
        playValue.setInputRestrictions (longestPlayValue);
        playValue.onReturnKey = [this] { playChosen(); };
        playButton.onClick = [this] { playChosen(); };
        for (auto* child :
             std::initializer_list<juce::Component*>{&controlChoice, &playValue, &playButton, &playProblem})
            addAndMakeVisible (child);
    }

    list.setModel (this);
    list.setMultipleSelectionEnabled (true);
    list.setRowHeight (lineHeight);
    auto columns = std::make_unique<juce::Label>();
    heading = columns.get();
    heading->setFont (font);
    heading->setBorderSize ({0, lineInset, 0, lineInset});
    heading->setColour (juce::Label::backgroundColourId, juce::Colour (0xffeeeeee));
    heading->setText (headingFor ({}), juce::dontSendNotification);
    heading->setTooltip (NoteName::convention);
    heading->setSize (width, lineHeight + 4);
    list.setHeaderComponent (std::move (columns));
    hideClockButton.setToggleState (true, juce::dontSendNotification);
    clearButton.onClick = [this] { clear(); };
    droppedLabel.setColour (juce::Label::textColourId, juce::Colours::darkred);

    for (auto* child : std::initializer_list<juce::Component*>{&list, &pauseButton, &clearButton,
                                                               &hideClockButton, &droppedLabel})
        addAndMakeVisible (child);
    for (auto* child : getChildren())
        child->addKeyListener (this);

    setLookAndFeel (&look);
    setSize (width, simulated != nullptr ? height + 2 * rowHeight + margin : height);
}

MonitorComponent::~MonitorComponent()
{
    if (simulated != nullptr)
        simulated->setRoomCheck (nullptr);
    for (auto* child : getChildren())
        child->removeKeyListener (this);
    list.setModel (nullptr);
    setLookAndFeel (nullptr);
}

void MonitorComponent::drain()
{
    drainTimeMs = clock();
    refreshMatcher();
    monitor->drain();
    showDropped();

    if (linesAdded)
    {
        linesAdded = false;
        fitContentWidth();
        list.updateContent();
        list.scrollToEnsureRowIsOnscreen (getNumLines() - 1);
        list.repaint();
    }

    if (onDrained != nullptr)
        onDrained (drainTimeMs);
}

void MonitorComponent::refreshMatcher()
{
    auto preset = presetSource != nullptr ? presetSource() : std::nullopt;
    if (preset == matchedPreset)
        return;
    // Built again only when the preset changed: matching a flood stays cheap.
    matchedPreset = std::move (preset);
    matcher = matchedPreset.has_value() ? std::make_unique<ControlMatcher> (matchedPreset->image) : nullptr;
    heading->setText (headingFor (matchedPreset.has_value() ? matchedPreset->documentName : juce::String()),
                      juce::dontSendNotification);
    fitContentWidth();
}

void MonitorComponent::fitContentWidth()
{
    const auto characters = juce::jmax (longestLine, heading->getText().length());
    list.setMinimumContentWidth (juce::roundToInt (std::ceil (characters * characterWidth)) + 2 * lineInset +
                                 2);
}

void MonitorComponent::addRecord (const MonitorRecord& record)
{
    const auto message = record.describe();
    if (pauseButton.getToggleState() ||
        (hideClockButton.getToggleState() && message.isClockOrActiveSensing()))
        return;

    const auto controls = matcher != nullptr ? matcher->controlsSending (message) : juce::StringArray();
    lines.push_back (lineFor (record, message, controls));
    longestLine = juce::jmax (longestLine, lines.back().length());
    if (lines.size() > static_cast<size_t> (keptLines))
    {
        lines.pop_front();
        // The rows moved up by one under the selection; it is dropped rather than left on other lines.
        list.deselectAllRows();
    }
    linesAdded = true;

    if (!controls.isEmpty() && onControlsHeard != nullptr)
        onControlsHeard (controls, drainTimeMs);
}

juce::String MonitorComponent::lineFor (const MonitorRecord& record, const MonitoredMessage& message,
                                        const juce::StringArray& controls) const
{
    const auto seconds = juce::jmax (0.0, record.timeMs - startMs) / 1000.0;
    auto line = lineStart (juce::String (seconds, 3),
                           record.direction == MonitorRecord::Direction::in ? "in" : "out") +
                message.toText();
    if (!controls.isEmpty())
        line = line.paddedRight (' ', controlsColumn) + "  " + controls.joinIntoString (", ");
    return line;
}

void MonitorComponent::showDropped()
{
    const auto dropped = monitor->getDroppedCount();
    const auto text = dropped > 0
                          ? juce::String (dropped) + (dropped == 1 ? " message" : " messages") + " not shown"
                          : juce::String();
    if (droppedLabel.getText() != text)
        droppedLabel.setText (text, juce::dontSendNotification);
}

void MonitorComponent::clear()
{
    lines.clear();
    longestLine = 0;
    fitContentWidth();
    monitor->clear();
    list.deselectAllRows();
    list.updateContent();
    list.repaint();
    showDropped();
}

juce::String MonitorComponent::selectedText() const
{
    juce::StringArray selected;
    const auto rows = list.getSelectedRows();
    for (int i = 0; i < rows.size(); ++i)
        if (juce::isPositiveAndBelow (rows[i], getNumLines()))
            selected.add (lines[static_cast<size_t> (rows[i])].trimEnd());
    return selected.joinIntoString ("\n");
}

void MonitorComponent::copySelection() const
{
    const auto text = selectedText();
    if (text.isNotEmpty())
        juce::SystemClipboard::copyTextToClipboard (text + "\n");
}

void MonitorComponent::playChosen()
{
    if (simulated == nullptr)
        return;
    const auto result = simulated->play (controlChoice.getText() + "=" + playValue.getText().trim());
    playProblem.setText (result.failed() ? result.getErrorMessage() : juce::String(),
                         juce::dontSendNotification);
}

void MonitorComponent::paintListBoxItem (int row, juce::Graphics& g, int rowWidth, int rowHeight,
                                         bool selected)
{
    if (!juce::isPositiveAndBelow (row, getNumLines()))
        return;
    if (selected)
        g.fillAll (juce::Colour (0xffcfe0f7));
    g.setColour (juce::Colours::black);
    g.setFont (font);
    g.drawText (lines[static_cast<size_t> (row)], lineInset, 0, rowWidth - 2 * lineInset, rowHeight,
                juce::Justification::centredLeft, false);
}

bool MonitorComponent::keyPressed (const juce::KeyPress& key, juce::Component* origin)
{
    if (key == juce::KeyPress::escapeKey)
    {
        if (onCloseRequested != nullptr)
            onCloseRequested();
        return true;
    }
    // Ctrl+C in the value box copies the box's own text.
    if (origin != &playValue && key == juce::KeyPress ('c', juce::ModifierKeys::commandModifier, 0))
    {
        copySelection();
        return true;
    }
    return false;
}

void MonitorComponent::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::white);
    g.setColour (juce::Colours::grey);
    g.drawRect (list.getBounds().expanded (1));
    // The editor's text boxes have no frame of their own.
    if (simulated != nullptr)
        g.drawRect (playValue.getBounds());
    if (list.hasKeyboardFocus (true))
        CustomLook::drawFocusRing (g, list.getBounds().expanded (3));
}

void MonitorComponent::resized()
{
    auto area = getLocalBounds().reduced (margin);
    auto buttons = area.removeFromTop (rowHeight);
    pauseButton.setBounds (buttons.removeFromLeft (80));
    clearButton.setBounds (buttons.removeFromLeft (70).reduced (2, 0));
    buttons.removeFromLeft (margin);
    hideClockButton.setBounds (buttons.removeFromLeft (240));
    droppedLabel.setBounds (buttons);
    area.removeFromTop (margin);

    if (simulated != nullptr)
    {
        auto play = area.removeFromBottom (rowHeight);
        // What went wrong with a play has a line of its own above the row, the whole width of it.
        playProblem.setBounds (area.removeFromBottom (rowHeight));
        area.removeFromBottom (margin);
        controlChoice.setBounds (play.removeFromLeft (150));
        play.removeFromLeft (margin);
        playValue.setBounds (play.removeFromLeft (170));
        play.removeFromLeft (margin);
        playButton.setBounds (play.removeFromLeft (70));
    }

    list.setBounds (area);
}
