#pragma once

#include "app/CompareComponent.h"
#include "editor/CustomLook.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

/** The window a compare with the controller opens beside its document: one per document, shown
    again with the newest result. It closes by its close button, its "Close" button or Escape; the
    document that owns it is told through onClose and deletes it. */
class CompareWindow final : public juce::DocumentWindow
{
public:
    explicit CompareWindow (const juce::String& documentName);
    ~CompareWindow() override;

    CompareComponent& getCompareComponent() noexcept { return *content; }

    static juce::String titleFor (const juce::String& documentName);

    /** Shows a result and brings the window to the front with the keyboard focus in its list. */
    void showRows (const std::vector<PresetDifference::Row>& rows);

    /** Puts the window on the screen centred over `owner`, at the largest zoom up to the actual
        size at which it fits the user area of the owner's display, and wholly inside that area. */
    void placeOver (juce::Rectangle<int> owner);

    int getZoom() const noexcept { return zoomPercent; }
    float getDesktopScaleFactor() const override;

    std::function<void()> onClose;

    void closeButtonPressed() override;
    void activeWindowStatusChanged() override;
    bool keyPressed (const juce::KeyPress& key) override;

private:
    void keepFixedSize();

    CustomLook look;
    std::unique_ptr<CompareComponent> content;
    int zoomPercent = 100;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CompareWindow)
};
