#pragma once

#include "app/CompareWindow.h"
#include "preset/PresetModel.h"

#include <memory>

/** A document's compare with the controller: the window the first result opens over the document,
    shown again with each newer one, and deleted once the user has closed it. */
class DocumentComparison
{
public:
    DocumentComparison() = default;

    /** Shows what differs between the document's preset and the controller's; `owner` is where
        the document's window is on the screen, which a new compare window is put over. */
    void show (const PresetModel& documentPreset, const PresetModel& controllerPreset,
               const juce::String& documentName, juce::Rectangle<int> owner);

    /** After a send the controller did not answer: every shown parameter of what was sent, the
        controller's side "(no answer)". */
    void showUnanswered (const PresetModel& sentPreset, const juce::String& documentName,
                         juce::Rectangle<int> owner);

    /** The window of the last compare, while it is open. */
    CompareWindow* getWindow() const noexcept { return window.get(); }

    void closeWindow() { window.reset(); }

private:
    void showRows (const std::vector<PresetDifference::Row>& rows, const juce::String& documentName,
                   juce::Rectangle<int> owner);

    std::unique_ptr<CompareWindow> window;

    JUCE_DECLARE_NON_COPYABLE (DocumentComparison)
};
