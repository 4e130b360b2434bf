#pragma once

#include "preset/PresetDifference.h"

#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>
#include <vector>

/** What a compare with the controller found: one line per shown parameter that differs, or that
    the controller holds this preset, and a button that closes the window. The list can be read
    and scrolled with the keyboard; Tab goes on to the button. */
class CompareComponent final : public juce::Component, private juce::FocusChangeListener
{
public:
    CompareComponent();
    ~CompareComponent() override;

    void showRows (const std::vector<PresetDifference::Row>& rows);

    /** The text the list shows. */
    juce::String getListText() const { return list.getText(); }
    juce::TextEditor& getList() noexcept { return list; }
    juce::TextButton& getCloseButton() noexcept { return closeButton; }

    /** Called by the button. */
    std::function<void()> onClose;

    static juce::String lineFor (const PresetDifference::Row& row);
    static const juce::String sameText;

    void resized() override;
    void paint (juce::Graphics& g) override;

private:
    // The ring round the list follows the focus, wherever it goes.
    void globalFocusChanged (juce::Component*) override { repaint(); }

    juce::Label heading;
    juce::TextEditor list;
    juce::TextButton closeButton{"Close"};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CompareComponent)
};
