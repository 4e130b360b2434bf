#include "app/DocumentComparison.h"

#include "preset/PresetDifference.h"
#include "preset/ShownValue.h"

void DocumentComparison::show (const PresetModel& documentPreset, const PresetModel& controllerPreset,
                               const juce::String& documentName, juce::Rectangle<int> owner)
{
    showRows (PresetDifference::between (documentPreset, controllerPreset), documentName, owner);
}

void DocumentComparison::showUnanswered (const PresetModel& sentPreset, const juce::String& documentName,
                                         juce::Rectangle<int> owner)
{
    std::vector<PresetDifference::Row> rows;
    for (const auto& name : sentPreset.getShownNames())
        rows.push_back ({name, PresetDifference::textOf (ShownValue::of (sentPreset, name)), "(no answer)"});
    showRows (rows, documentName, owner);
}

void DocumentComparison::showRows (const std::vector<PresetDifference::Row>& rows,
                                   const juce::String& documentName, juce::Rectangle<int> owner)
{
    if (window == nullptr)
    {
        window = std::make_unique<CompareWindow> (documentName);
        // Deleted once the click or key that closed it has been handled by the window. The window
        // is deleted with this object, so while it lives this does too.
        window->onClose = [this, closing = juce::Component::SafePointer<CompareWindow> (window.get())]
        {
            juce::MessageManager::callAsync (
                [this, closing]
                {
                    if (closing != nullptr)
                        window.reset();
                });
        };
        window->placeOver (owner);
    }

    window->setName (CompareWindow::titleFor (documentName));
    window->showRows (rows);
}
