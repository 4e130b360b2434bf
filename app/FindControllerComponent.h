#pragma once

#include "editor/CustomLook.h"
#include "midi/ControllerFinder.h"

#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>

/** The content of the Find Controller window: what the search is doing, its progress, the pairs
    found, "Open" for the selected pair and "Cancel". Return is "Open", Escape is "Cancel". */
class FindControllerComponent final : public juce::Component, private juce::ListBoxModel
{
public:
    static constexpr int width = 420;
    static constexpr int height = 250;

    /** The manager is not owned and outlives the component. */
    explicit FindControllerComponent (
        MidiManager& midiManager, std::unique_ptr<TransferTimer> timer = TransferTimer::createSystemTimer());
    ~FindControllerComponent() override;

    /** Starts the search. */
    void start();
    ControllerFinder& getFinder() noexcept { return finder; }

    /** The pair the user opened. */
    std::function<void (const ControllerFinder::Pair&)> onChosen;
    /** The user is done with the window: after "Open", "Cancel" or Escape. */
    std::function<void()> onDone;

    juce::String getStatus() const { return status.getText(); }
    juce::ListBox& getList() noexcept { return list; }
    juce::Button& getOpenButton() noexcept { return openButton; }
    juce::Button& getCancelButton() noexcept { return cancelButton; }

    void paint (juce::Graphics& g) override;
    /** The list has no look-and-feel hook of its own for a focus ring; it is drawn over it. */
    void paintOverChildren (juce::Graphics& g) override;
    void focusOfChildComponentChanged (FocusChangeType) override { repaint(); }
    void resized() override;
    bool keyPressed (const juce::KeyPress& key) override;

private:
    int getNumRows() override { return static_cast<int> (found.size()); }
    void paintListBoxItem (int row, juce::Graphics& g, int w, int h, bool selected) override;
    void selectedRowsChanged (int) override;
    void listBoxItemDoubleClicked (int, const juce::MouseEvent&) override { openSelected(); }
    void returnKeyPressed (int) override { openSelected(); }

    void showFound (const std::vector<ControllerFinder::Pair>& pairs);
    void openSelected();
    void close();

    ControllerFinder finder;
    std::vector<ControllerFinder::Pair> found;
    double progress = 0.0;
    juce::Label status;
    juce::ProgressBar progressBar{progress};
    juce::ListBox list{"Controllers Found"};
    juce::TextButton openButton{"Open"};
    juce::TextButton cancelButton{"Cancel"};
    CustomLook look;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FindControllerComponent)
};
