// The framework's floor for start-up time: a JUCE application that shows one empty window of the
// editor's size with a native title bar, built from the same JUCE objects as the editor. Ctrl+N opens
// one more such window, the floor for the editor's new document.
#include <juce_gui_basics/juce_gui_basics.h>

class MinimalWindowApp final : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "Minimal Window"; }
    const juce::String getApplicationVersion() override { return "1.0"; }
    bool moreThanOneInstanceAllowed() override { return true; }

    void initialise (const juce::String&) override { windows.add (std::make_unique<Window> (*this, 1)); }

    void shutdown() override { windows.clear(); }

    void openAnotherWindow() { windows.add (std::make_unique<Window> (*this, windows.size() + 1)); }

private:
    class Window final : public juce::DocumentWindow
    {
    public:
        Window (MinimalWindowApp& owner, int number)
            : juce::DocumentWindow (number == 1 ? juce::String ("Minimal Window")
                                                : "Minimal Window " + juce::String (number),
                                    juce::Colour (0xff999999), closeButton),
              app (owner)
        {
            setUsingNativeTitleBar (true);
            centreWithSize (1200, 700);
            setVisible (true);
        }

        bool keyPressed (const juce::KeyPress& key) override
        {
            if (key != juce::KeyPress ('n', juce::ModifierKeys::ctrlModifier, 0))
                return juce::DocumentWindow::keyPressed (key);

            app.openAnotherWindow();
            return true;
        }

        void closeButtonPressed() override { juce::JUCEApplication::quit(); }

    private:
        MinimalWindowApp& app;
    };

    juce::OwnedArray<Window> windows;
};

START_JUCE_APPLICATION (MinimalWindowApp)
