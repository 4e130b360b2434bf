#include "editor/BankView.h"

#include <cmath>

BankView::Bank::Bank (const juce::Array<juce::Component*>& panels) : controls (panels)
{
    for (int i = 0; i < controls.size(); ++i)
    {
        auto* panel = controls.getUnchecked (i);
        addAndMakeVisible (panel);
        panel->setBounds (40 + i * panel->getWidth(), 0, panel->getWidth(), panel->getHeight());
    }
}

BankView::BankView (juce::Button* next, juce::Button* previous) : nextButton (next), previousButton (previous)
{
    for (auto* arrow : {nextButton.get(), previousButton.get()})
    {
        if (arrow == nullptr)
            continue;

        addChildComponent (arrow);
        arrow->addListener (this);
        arrow->setAlwaysOnTop (true);
        arrow->setWantsKeyboardFocus (false);
    }
}

BankView::~BankView()
{
    // The panels belong to the page; take them out of the banks before the banks go.
    for (auto* bank : banks)
        bank->removeAllChildren();
}

void BankView::addControls (const juce::Array<juce::Component*>& panels)
{
    controls.addArray (panels);
    rebuildBanks();
}

void BankView::setControlsPerBank (int count)
{
    controlsPerBank = count;
    rebuildBanks();
}

void BankView::rebuildBanks()
{
    for (auto* bank : banks)
        bank->removeAllChildren();

    banks.clear();

    if (controlsPerBank <= 0)
        return;

    bankCount = static_cast<int> (
        std::ceil (static_cast<float> (controls.size()) / static_cast<float> (controlsPerBank)));

    for (int i = 0; i < bankCount - 1; ++i)
    {
        juce::Array<juce::Component*> panels;

        for (int j = 0; j < controlsPerBank; ++j)
            panels.add (controls[i * controlsPerBank + j]);

        addBank (panels);
    }

    const auto lastStart = bankCount > 1 ? (bankCount - 1) * controlsPerBank : 0;
    juce::Array<juce::Component*> lastPanels;

    for (int i = lastStart; i < controls.size(); ++i)
        lastPanels.add (controls.getUnchecked (i));

    if (!lastPanels.isEmpty())
    {
        addBank (lastPanels);
        banks.getLast()->setWantsKeyboardFocus (false);
    }

    // Fewer banks than before must not leave the view pointing past the last one.
    currentBank = juce::jlimit (0, juce::jmax (0, banks.size() - 1), currentBank);
    resized();
}

void BankView::addBank (const juce::Array<juce::Component*>& panels)
{
    auto* bank = banks.add (std::make_unique<Bank> (panels));
    addChildComponent (bank);
}

void BankView::resized()
{
    for (auto* bank : banks)
        bank->setVisible (false);

    if (auto* bank = banks[currentBank])
    {
        bank->setBounds (0, 0, 1200, 200);
        bank->setVisible (true);
    }

    const auto severalBanks = banks.size() >= 2;

    if (nextButton != nullptr)
    {
        nextButton->setTopLeftPosition (1170, 0);
        nextButton->setVisible (severalBanks);
    }

    if (previousButton != nullptr)
    {
        previousButton->setTopLeftPosition (10, 0);
        previousButton->setVisible (severalBanks);
    }
}

void BankView::buttonClicked (juce::Button* button)
{
    if (button == nextButton.get() && currentBank + 1 < bankCount)
    {
        ++currentBank;
        resized();
    }
    else if (button == previousButton.get() && currentBank > 0)
    {
        --currentBank;
        resized();
    }
}
