#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The seven tabs, Main first (named "Main Window Button"), sized to their pictures. The caller
    owns the buttons until a ControlSelector takes them. */
juce::Array<juce::Button*> createTabButtons();

/** The six clickable parts of the controller picture (knobs, switches, pads, keybed, octave
    buttons, wheels), placed on the 1151 x 206 picture. The caller owns them until a
    ControlSelector takes them. */
juce::Array<juce::Button*> createPictureButtons();

/** The controller picture as the picture selector shows it, on the selector's black: opaque, so
    nothing behind it is painted. Shared by every document. */
juce::Image shownControllerPicture (float scale);
