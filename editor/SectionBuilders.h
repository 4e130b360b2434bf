#pragma once

#include "editor/ParameterValue.h"
#include "editor/ZellControlLayoutView.h"

// Each builds one section page, whose panels are made when it is first shown or reached into.
// listener (not owned; the document's preset controller, or null) is attached to every binding of
// every panel, and each new binding asks it for the value to show; it must outlive the page.

std::unique_ptr<ZellControlLayoutView> createKnobsView (int count, ParameterValue::Listener* listener);
std::unique_ptr<ZellControlLayoutView> createSwitchesView (int count, ParameterValue::Listener* listener);
std::unique_ptr<ZellControlLayoutView> createPadsView (int count, ParameterValue::Listener* listener);
std::unique_ptr<ZellControlLayoutView> createKeybedView (ParameterValue::Listener* listener);
std::unique_ptr<ZellControlLayoutView> createWheelsView (ParameterValue::Listener* listener);
std::unique_ptr<ZellControlLayoutView> createSustainView (ParameterValue::Listener* listener);
