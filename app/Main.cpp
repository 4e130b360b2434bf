#include "app/OrvaneZellSeriesEditorApplication.h"

START_JUCE_APPLICATION (OrvaneZellSeriesEditorApplication)
