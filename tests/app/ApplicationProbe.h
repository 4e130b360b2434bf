#pragma once

#include "app/OrvaneZellSeriesEditorApplication.h"

/** What the tests read of the parts a running application owns and keeps to itself. */
struct ApplicationProbe
{
    static WindowManager* windows (OrvaneZellSeriesEditorApplication& application)
    {
        return application.windowManager.get();
    }
    static juce::ApplicationCommandManager* commands (OrvaneZellSeriesEditorApplication& application)
    {
        return application.commandManager.get();
    }
    static MainMenuModel* menu (OrvaneZellSeriesEditorApplication& application)
    {
        return application.menuModel.get();
    }
    static MidiManager& midi (OrvaneZellSeriesEditorApplication& application)
    {
        return application.midiManager;
    }
    static juce::File& lastDirectory (OrvaneZellSeriesEditorApplication& application)
    {
        return application.lastDirectory;
    }
};
