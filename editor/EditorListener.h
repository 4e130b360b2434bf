#pragma once

#include "editor/ParameterValue.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** What the editor's widgets report to: the four transfer buttons (told apart by their component
    names) and every parameter binding. The document's preset controller is one; the editor knows
    nothing more of it. */
class EditorListener : public juce::Button::Listener, public ParameterValue::Listener
{
};
