#pragma once

#include "editor/CustomLook.h"
#include "editor/ParameterValue.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <map>

class ZellControlReferenceData;

/** The panel that edits one physical control: a title with the control's name and one row (label
    and widget) per parameter of the control's current mode.

    Every widget is a binding named control name + " " + label. Widgets are made once; a mode
    change only shows, hides and moves them, so hidden parameters keep their values.
*/
class ZellControlView final : public juce::Component, public juce::ComboBox::Listener
{
public:
    /** referenceData is not owned and must outlive construction and every mode change.
        controller (not owned) may be null: the panel then works but reaches no preset. */
    ZellControlView (ZellControlReferenceData* referenceData, const juce::String& controlName,
                     ParameterValue::Listener* controller);
    ~ZellControlView() override;

    /** Shows the rows of a mode; a name the reference data does not know leaves the panel as it is. */
    void showMode (const juce::String& modeName);
    /** Shows exactly these rows, in this order; labels without a widget take no row. */
    void showParameters (const juce::StringArray& labels);

    /** The binding's widget for a parameter label, or null. */
    juce::Component* getWidget (const juce::String& label) const;
    /** The widgets of the rows now shown, top to bottom. */
    const juce::Array<juce::Component*>& getShownWidgets() const noexcept { return shownWidgets; }
    const juce::OwnedArray<juce::Label>& getRowLabels() const noexcept { return rowLabels; }
    const juce::Label& getTitleLabel() const noexcept { return titleLabel; }

    void comboBoxChanged (juce::ComboBox* box) override;
    void resized() override;
    void paint (juce::Graphics&) override {}

private:
    void addModeSelector (const juce::String& label, const juce::String& parameterName,
                          ParameterValue::Listener* controller);
    void addNumberBox (const juce::String& label, const juce::String& parameterName,
                       ParameterValue::Listener* controller);
    /** Shows the rows of the mode the mode selector holds (the first mode where there is none). */
    void showShownMode();

    ZellControlReferenceData* referenceData;
    // Owns the bindings: each widget is its binding, destroyed through its virtual destructor.
    std::map<juce::String, std::unique_ptr<juce::Component>> widgets;
    juce::Label titleLabel;
    juce::OwnedArray<juce::Label> rowLabels;
    CustomLook look;
    juce::Array<juce::Component*> shownWidgets;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZellControlView)
};
