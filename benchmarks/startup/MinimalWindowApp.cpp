// The framework's floor for start-up time: one empty window, which draws no text.
#include "FloorApplication.h"

struct MinimalWindow
{
    static constexpr const char* title = "Minimal Window";

    static std::unique_ptr<juce::Component> makeContent() { return nullptr; }
};

START_JUCE_APPLICATION (FloorApplication<MinimalWindow>)
