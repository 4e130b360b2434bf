#pragma once

// What the start-up floors share: a JUCE application that shows one window of the editor's size
// with a native title bar, built from the same JUCE objects as the editor. Ctrl+N opens one more
// such window, the floor for the editor's new document.
#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** Floor names the first window (later ones get a number) and makes a window's content, or
    nullptr for an empty window. */
template <typename Floor> class FloorApplication final : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return Floor::title; }
    const juce::String getApplicationVersion() override { return "1.0"; }
    bool moreThanOneInstanceAllowed() override { return true; }

    void initialise (const juce::String&) override { openAnotherWindow(); }

    void shutdown() override { windows.clear(); }

    void openAnotherWindow() { windows.add (std::make_unique<Window> (*this, windows.size() + 1)); }

private:
    class Window final : public juce::DocumentWindow
    {
    public:
        Window (FloorApplication& owner, int number)
            : juce::DocumentWindow (number == 1 ? juce::String (Floor::title)
                                                : juce::String (Floor::title) + " " + juce::String (number),
                                    juce::Colour (0xff999999), closeButton),
              app (owner)
        {
            setUsingNativeTitleBar (true);

            if (auto content = Floor::makeContent())
                setContentOwned (content.release(), false);

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
        FloorApplication& app;
    };

    juce::OwnedArray<Window> windows;
};
