#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Shows the panels of a page in banks of side-by-side panels, one bank at a time, with a left
    and a right arrow to step between banks when there is more than one. Arrows do not wrap.
*/
class BankView final : public juce::Component, public juce::Button::Listener
{
public:
    /** One row of panels; the panels are not owned. */
    class Bank final : public juce::Component
    {
    public:
        explicit Bank (const juce::Array<juce::Component*>& panels);

        const juce::Array<juce::Component*>& getControls() const noexcept { return controls; }

    private:
        juce::Array<juce::Component*> controls;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Bank)
    };

    /** Takes ownership of both arrows; either may be null. */
    BankView (juce::Button* next, juce::Button* previous);
    ~BankView() override;

    /** Appends panels (not owned) and rebuilds the banks. */
    void addControls (const juce::Array<juce::Component*>& panels);
    void setControlsPerBank (int count);
    void rebuildBanks();

    int getCurrentBank() const noexcept { return currentBank; }
    int getBankCount() const noexcept { return bankCount; }
    const juce::OwnedArray<Bank>& getBanks() const noexcept { return banks; }
    juce::Button* getNextButton() const noexcept { return nextButton.get(); }
    juce::Button* getPreviousButton() const noexcept { return previousButton.get(); }

    void resized() override;
    void buttonClicked (juce::Button* button) override;

private:
    void addBank (const juce::Array<juce::Component*>& panels);

    int currentBank = 0;
    int bankCount = 0;
    int controlsPerBank = 0;
    std::unique_ptr<juce::Button> nextButton;
    std::unique_ptr<juce::Button> previousButton;
    juce::Array<juce::Component*> controls;
    juce::OwnedArray<Bank> banks;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BankView)
};
