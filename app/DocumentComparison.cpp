#include "app/DocumentComparison.h"

#include "preset/PresetDifference.h"

void DocumentComparison::show (const PresetModel& documentPreset, const PresetModel& controllerPreset,
                               const juce::String& documentName, juce::Rectangle<int> owner)
{
    const auto rows = PresetDifference::between (documentPreset, controllerPreset);
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
