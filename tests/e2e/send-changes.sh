#!/usr/bin/env bash
# Options > Send Changes to Controller: a value typed on the knobs page reaches the simulated Marlo
# without Send Preset, and Compare with Controller then says the controller holds the document's
# preset. Compare's heading is told apart by its pixels: "No differences" as it reads before any
# edit, anything else after an edit the controller has not had.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

start_editor --simulated-device
window="$(wait_for_window "Orvane Marlo Editor - Untitled 1")" || exit 1
focus "$window"

# Options > Device Setup, the simulated Marlo (each list's first row), OK.
open_menu "$window" 200 || fail "the Options menu did not open"
xdotool key Down Return
setup="$(wait_for_window "Orvane Brindle Editor Device Setup")" || exit 1
xdotool mousemove --window "$setup" 100 80 click 1
xdotool mousemove --window "$setup" 100 251 click 1
xdotool mousemove --window "$setup" 50 425 click 1
wait_until 15 no_window "Orvane Brindle Editor Device Setup" || fail "OK did not close Device Setup"

compare_title="^Compare with Controller - Untitled 1$"

# compare: File > Hardware > Compare with Controller; prints the heading's digest once it shows,
# then closes the window.
compare()
{
    focus "$window"
    open_menu "$window" 35 || fail "the File menu did not open"
    xdotool key Down Down Down Down Down Down Down Right
    wait_until 15 menus_shown 2 || fail "the Hardware submenu did not open"
    xdotool key Down Down Return
    compare_heading "$compare_title"
}

# type_on_knobs_page TEXT: replaces Knob 2's CC number with TEXT and commits it.
type_on_knobs_page()
{
    focus "$window"
    xdotool key ctrl+2
    focus_knobs_box "$window" 1 2 || fail "Knob 2's CC box did not take the keyboard"
    xdotool type --delay 30 "$1"
    xdotool key Return
}

same="$(compare)"
[[ -n "$same" ]] || fail "no compare heading was read"

# With the option off an edit stays in the editor: the controller's preset differs.
type_on_knobs_page 5
[[ "$(compare)" != "$same" ]] || fail "an edit reached the controller with Send Changes off (or compare shows no difference)"

# Options > Send Changes to Controller (the third item).
focus "$window"
open_menu "$window" 200 || fail "the Options menu did not open"
xdotool key Down Down Down Return
wait_until 15 menus_shown 0 || fail "the Options menu stayed open"
settings="$HOME/.config/orvane-marlo-editor/settings-$MARLO_EDITOR_INSTANCE.xml"
wait_until 15 grep -qs "sendChangesToController" "$settings" || fail "the option was not kept in the settings file"

type_on_knobs_page 7
# The change goes out once typing pauses; a compare that came first holds it back until it ends.
held() { [[ "$(compare)" == "$same" ]]; }
wait_until 20 held || fail "the typed value did not reach the simulated Marlo"
[[ "$(window_count "MIDI Error")" -eq 0 ]] || fail "a MIDI error was shown"
kill -0 "$EDITOR_PID" 2>/dev/null || fail "the editor ended"
echo "PASS: typed values reach the simulated Marlo with Send Changes to Controller on"
