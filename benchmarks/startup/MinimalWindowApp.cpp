// The framework's floor for start-up time: a JUCE application that shows one empty window of the
// editor's size with a native title bar, built from the same JUCE objects as the editor.
#include <juce_gui_basics/juce_gui_basics.h>

class MinimalWindowApp final : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "Minimal Window"; }
    const juce::String getApplicationVersion() override { return "1.0"; }
    bool moreThanOneInstanceAllowed() override { return true; }

    void initialise (const juce::String&) override { window = std::make_unique<Window>(); }

    void shutdown() override { window.reset(); }

private:
    class Window final : public juce::DocumentWindow
    {
    public:
        Window() : juce::DocumentWindow ("Minimal Window", juce::Colour (0xff999999), closeButton)
        {
            setUsingNativeTitleBar (true);
            centreWithSize (1200, 700);
            setVisible (true);
        }

        void closeButtonPressed() override { juce::JUCEApplication::quit(); }
    };

    std::unique_ptr<Window> window;
};

START_JUCE_APPLICATION (MinimalWindowApp)
