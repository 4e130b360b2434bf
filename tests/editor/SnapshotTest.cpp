#include <gtest/gtest.h>

#include "editor/BankView.h"
#include "editor/EditorComponent.h"
#include "editor/ZellControlLayoutView.h"

// Writes a picture of every page when MARLO_SNAPSHOT_DIR names a folder; skipped otherwise.
TEST (Snapshots, EveryPageInARealWindow)
{
    const auto folder = juce::SystemStats::getEnvironmentVariable ("MARLO_SNAPSHOT_DIR", {});
    if (folder.isEmpty())
        GTEST_SKIP() << "MARLO_SNAPSHOT_DIR is not set";

    const juce::File directory (folder);
    ASSERT_TRUE (directory.createDirectory());

    auto editor = createEditorComponent (nullptr);
    juce::DocumentWindow window ("Snapshot", juce::Colours::black, 0);
    window.setUsingNativeTitleBar (true);
    window.setContentNonOwned (editor.get(), true);
    window.setVisible (true);
    juce::MessageManager::getInstance()->runDispatchLoopUntil (300);

    const char* pageNames[] = {"main", "knobs", "switches", "pads", "keybed", "wheels", "sustain"};
    auto& tabs = editor->getTabSelector().getButtons();

    const auto write = [&] (const juce::String& name)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (100);
        const auto image = editor->createComponentSnapshot (editor->getLocalBounds());
        const auto file = directory.getChildFile (name + ".png");
        file.deleteFile();
        juce::FileOutputStream stream (file);
        ASSERT_TRUE (stream.openedOk());
        ASSERT_TRUE (juce::PNGImageFormat().writeImageToStream (image, stream));
    };

    for (int i = 0; i < 7; ++i)
    {
        auto* tab = dynamic_cast<juce::Button*> (tabs[i]);
        editor->showViewFor (tab);
        write (juce::String (i) + "_" + pageNames[i]);

        if (auto* page = dynamic_cast<ZellControlLayoutView*> (editor->getViewFor (tab));
            page != nullptr && page->getBankView().getBankCount() > 1)
        {
            auto& banks = page->getBankView();
            banks.buttonClicked (banks.getNextButton());
            write (juce::String (i) + "_" + pageNames[i] + "_bank2");
            banks.buttonClicked (banks.getPreviousButton());
        }
    }

    window.clearContentComponent();
}
