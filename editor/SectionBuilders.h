#pragma once

#include "editor/ParameterValue.h"
#include "editor/ZellControlLayoutView.h"

// Each builds one section page. listener (not owned; the document's preset controller, or null)
// is attached to every binding of every panel; building writes the panels' defaults through it.

std::unique_ptr<ZellControlLayoutView> createKnobsView (int count, ParameterValue::Listener* listener);
std::unique_ptr<ZellControlLayoutView> createSwitchesView (int count, ParameterValue::Listener* listener);
std::unique_ptr<ZellControlLayoutView> createPadsView (int count, ParameterValue::Listener* listener);
std::unique_ptr<ZellControlLayoutView> createKeybedView (ParameterValue::Listener* listener);
std::unique_ptr<ZellControlLayoutView> createWheelsView (ParameterValue::Listener* listener);
std::unique_ptr<ZellControlLayoutView> createSustainView (ParameterValue::Listener* listener);
