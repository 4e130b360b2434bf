#include "editor/ZellControlView.h"

#include "editor/ComboBoxParameterValue.h"
#include "editor/NumberBoxParameterValue.h"
#include "editor/ZellControlReferenceData.h"
#include "preset/NoteName.h"

namespace
{
constexpr int firstRowY = 32;
constexpr int rowPitch = 26;
constexpr int rowHeight = 20;

void styleLabel (juce::Label& label, float fontHeight)
{
    label.setFont (juce::Font (fontHeight, juce::Font::plain));
    label.setJustificationType (juce::Justification::centredLeft);
    label.setEditable (false, false, false);
    label.setColour (juce::Label::textColourId, juce::Colours::white);
    label.setWantsKeyboardFocus (false);
}
} // namespace

ZellControlView::ZellControlView (ZellControlReferenceData* data, const juce::String& controlName,
                                  ParameterValue::Listener* controller)
    : referenceData (data)
{
    titleLabel.setText (juce::translate (controlName), juce::dontSendNotification);
    styleLabel (titleLabel, 18.0f);
    setName (controlName);
    addAndMakeVisible (titleLabel);

    for (const auto& label : referenceData->parameterLabels)
    {
        const auto parameterName = controlName + " " + label;
        const auto kind = referenceData->getWidgetKind (label);

        if (kind == 1 || kind == 2)
            addModeSelector (label, parameterName, controller);
        else
            addNumberBox (label, parameterName, controller);
    }

    showShownMode();
    setLookAndFeel (&look);

    const auto size = referenceData->getPanelSize();
    setSize (size.x, size.y);
}

ZellControlView::~ZellControlView()
{
    setLookAndFeel (nullptr);
    widgets.clear();
    rowLabels.clear();
}

void ZellControlView::addModeSelector (const juce::String& label, const juce::String& parameterName,
                                       ParameterValue::Listener* controller)
{
    auto box = createComboBoxParameterValue (referenceData->modeNames, parameterName);
    auto* binding = box.get();

    binding->juce::ComboBox::addListener (this);
    addChildComponent (binding);
    binding->setVisible (true);
    widgets[label] = std::move (box);

    // The first mode before the controller is attached, so that it hears of it as of a new
    // binding; the rows follow whichever mode the controller then gives it.
    binding->setSelectedId (1, juce::sendNotificationSync);
    binding->addListener (controller);
    if (controller != nullptr)
        controller->parameterValueAdded (binding);
}

void ZellControlView::addNumberBox (const juce::String& label, const juce::String& parameterName,
                                    ParameterValue::Listener* controller)
{
    const auto minimum = referenceData->getMinimum (label);
    const auto maximum = referenceData->getMaximum (label);
    const auto defaultValue = referenceData->getDefaultValue (label);
    const auto displayOffset = referenceData->getDisplayOffset (label);

    auto box = createNumberBoxParameterValue (minimum, maximum, defaultValue, displayOffset, parameterName);
    auto* binding = box.get();

    addAndMakeVisible (binding);
    binding->addListener (controller);
    if (label == "Note")
        binding->setValueWords (
            [] (int note)
            { return juce::String (note) + " is " + NoteName::of (note) + ". " + NoteName::convention; });
    widgets[label] = std::move (box);

    if (controller != nullptr)
        controller->parameterValueAdded (binding);
}

void ZellControlView::showShownMode()
{
    // A panel has at most one selector, the mode's.
    auto shown = referenceData->modeNames[0];
    for (const auto& entry : widgets)
        if (auto* selector = dynamic_cast<juce::ComboBox*> (entry.second.get());
            selector != nullptr && referenceData->hasMode (selector->getText()))
            shown = selector->getText();

    showMode (shown);
}

juce::Component* ZellControlView::getWidget (const juce::String& label) const
{
    const auto found = widgets.find (label);
    return found == widgets.end() ? nullptr : found->second.get();
}

void ZellControlView::showMode (const juce::String& modeName)
{
    if (referenceData == nullptr || !referenceData->hasMode (modeName))
        return;

    showParameters (referenceData->getModeParameters (modeName));
}

void ZellControlView::showParameters (const juce::StringArray& labels)
{
    shownWidgets.clear();
    rowLabels.clear();

    for (auto& entry : widgets)
        entry.second->setVisible (false);

    for (const auto& label : labels)
    {
        auto* widget = getWidget (label);

        if (widget == nullptr)
            continue;

        widget->setVisible (true);
        shownWidgets.add (widget);

        auto* rowLabel = rowLabels.add (std::make_unique<juce::Label>());
        addAndMakeVisible (rowLabel);
        rowLabel->setText (label, juce::dontSendNotification);
        styleLabel (*rowLabel, 16.0f);
    }

    resized();
}

void ZellControlView::comboBoxChanged (juce::ComboBox* box)
{
    showMode (box->getItemText (box->getSelectedId() - 1));

    // A preset applied while the page is hidden must not try to focus an invisible box.
    if (box->isShowing())
        box->grabKeyboardFocus();
}

void ZellControlView::resized()
{
    titleLabel.setBounds (97, 4, 150, 20);

    for (int row = 0; row < rowLabels.size(); ++row)
        rowLabels.getUnchecked (row)->setBounds (0, firstRowY + rowPitch * row, 100, rowHeight);

    for (int row = 0; row < shownWidgets.size(); ++row)
        shownWidgets.getUnchecked (row)->setBounds (105, firstRowY + rowPitch * row, 80, rowHeight);
}
