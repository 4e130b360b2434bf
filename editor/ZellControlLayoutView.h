#pragma once

#include "editor/BankView.h"
#include "editor/ZellControlReferenceData.h"

#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>

/** A section page: owns the panels of one section and their reference data and shows the panels
    in banks of four.

    A page made from a maker makes its panels when it is first shown or reached into: a window
    that shows only its main page spends neither time nor memory on the 177 boxes of the others. */
class ZellControlLayoutView final : public juce::Component
{
public:
    /** What a page holds: panels and the reference data they read, handed over to the page. */
    struct Contents
    {
        juce::OwnedArray<juce::Component> panels;
        juce::OwnedArray<ZellControlReferenceData> referenceData;
    };
    using ContentsMaker = std::function<Contents()>;

    /** Makes the panels when they are first needed; the maker is called once at most. */
    explicit ZellControlLayoutView (ContentsMaker maker);
    /** Panels sharing one reference data; takes ownership of both. */
    ZellControlLayoutView (const juce::Array<juce::Component*>& panels,
                           ZellControlReferenceData* referenceData);
    /** Panels with one reference data each (the wheels); takes ownership of both. */
    ZellControlLayoutView (const juce::Array<juce::Component*>& panels,
                           const juce::Array<ZellControlReferenceData*>& referenceData);
    ~ZellControlLayoutView() override;

    /** Makes the panels now unless they are made; both getters below do it first. */
    void makeContents();
    bool hasContents() const noexcept { return bankView != nullptr; }

    BankView& getBankView();
    const juce::OwnedArray<juce::Component>& getControlViews();

    void visibilityChanged() override;

private:
    void build (const juce::Array<juce::Component*>& panels,
                const juce::Array<ZellControlReferenceData*>& referenceData);

    // Declared in reverse order of destruction: the reference data go first, then the panels
    // (each leaving its bank), then the bank view.
    std::unique_ptr<BankView> bankView;
    juce::OwnedArray<juce::Component> controlViews;
    juce::OwnedArray<ZellControlReferenceData> referenceDataList;
    ContentsMaker maker;
    // The scale the window's pictures were last drawn at: panels made later are drawn at it too.
    float artworkShownAt = 1.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZellControlLayoutView)
};
