#pragma once

#include "editor/BankView.h"
#include "editor/ZellControlReferenceData.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A section page: owns the panels of one section and their reference data and shows the panels
    in banks of four. */
class ZellControlLayoutView final : public juce::Component
{
public:
    /** Panels sharing one reference data; takes ownership of both. */
    ZellControlLayoutView (const juce::Array<juce::Component*>& panels,
                           ZellControlReferenceData* referenceData);
    /** Panels with one reference data each (the wheels); takes ownership of both. */
    ZellControlLayoutView (const juce::Array<juce::Component*>& panels,
                           const juce::Array<ZellControlReferenceData*>& referenceData);
    ~ZellControlLayoutView() override;

    BankView& getBankView() noexcept { return *bankView; }
    const juce::OwnedArray<juce::Component>& getControlViews() const noexcept { return controlViews; }

private:
    void build (const juce::Array<juce::Component*>& panels,
                const juce::Array<ZellControlReferenceData*>& referenceData);

    // Declared in reverse order of destruction: the reference data go first, then the panels
    // (each leaving its bank), then the bank view.
    std::unique_ptr<BankView> bankView;
    juce::OwnedArray<juce::Component> controlViews;
    juce::OwnedArray<ZellControlReferenceData> referenceDataList;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZellControlLayoutView)
};
