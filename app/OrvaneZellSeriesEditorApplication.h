#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The application object (a first window until the documents exist). */
class OrvaneZellSeriesEditorApplication final : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "Orvane Zell Series Editor"; }
    const juce::String getApplicationVersion() override { return "1.0.6"; }
    bool moreThanOneInstanceAllowed() override { return false; }
    void initialise (const juce::String& commandLine) override;
    void shutdown() override;

private:
    std::unique_ptr<juce::DocumentWindow> window;
};
