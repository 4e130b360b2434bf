// The framework's floor for a window with text: one window whose only content is a label, which
// lays out and draws a line of text with the framework's own default font, found the framework's
// own way.
#include "FloorApplication.h"

namespace
{
class LabelContent final : public juce::Component
{
public:
    LabelContent()
    {
        label.setText ("Keybed MIDI Channel, Pad 1 Bank MSB, Aftertouch", juce::dontSendNotification);
        addAndMakeVisible (label);
    }

    void resized() override { label.setBounds (getLocalBounds().reduced (20).withHeight (24)); }

private:
    juce::Label label;
};
} // namespace

struct LabelWindow
{
    static constexpr const char* title = "Label Window";

    static std::unique_ptr<juce::Component> makeContent() { return std::make_unique<LabelContent>(); }
};

START_JUCE_APPLICATION (FloorApplication<LabelWindow>)
