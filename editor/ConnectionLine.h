#pragma once

#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>

/** The main page's line that says which controller the editor talks to ("Connected: <input> /
    <output>", "Not connected" or "Disconnected: <name>"), with the "Find Controller" button
    beside it. What the text says and what the button does are the application's. */
class ConnectionLine final : public juce::Component
{
public:
    ConnectionLine();
    ~ConnectionLine() override;

    void setConnection (const juce::String& text);
    juce::String getConnection() const { return text.getText(); }
    juce::Button& getFindButton() noexcept { return findButton; }

    void resized() override;

private:
    juce::Label text;
    juce::TextButton findButton{"Find Controller"};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ConnectionLine)
};
