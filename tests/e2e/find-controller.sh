#!/usr/bin/env bash
# Options > Find Controller on the simulated set-up (the Marlo, a loopback that echoes, a
# synthesizer that ignores system exclusive): it finds the Marlo alone, Return opens it, and a
# Get over it succeeds. Then the same from Device Setup's button, which selects the pair there.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

# hardware_get: File > Hardware > Get Preset, then the get's success alert dismissed.
hardware_get()
{
    focus "$window"
    open_menu "$window" 35 || fail "the File menu did not open"
    xdotool key Down Down Down Down Down Down Down Right
    wait_until 15 menus_shown 2 || fail "the Hardware submenu did not open"
    xdotool key Return
    local alert
    alert="$(wait_for_window "^MIDI Get Sucess$")" || exit 1
    activate "$alert"
    xdotool key Return
    wait_until 15 no_window "^MIDI Get Sucess$" || fail "Return did not dismiss the get's alert"
}

start_editor --simulated-device
window="$(wait_for_window "Orvane Marlo Editor - Untitled 1")" || exit 1
focus "$window"

# Options > Find Controller (the item after Device Setup).
open_menu "$window" 200 || fail "the Options menu did not open"
xdotool key Down Down Return
wait_for_window "^Find Controller" >/dev/null || exit 1
finder="$(wait_for_window "^Find Controller: 1 found$")" || exit 1
shot find-controller
activate "$finder"
xdotool key Return
wait_until 15 no_window "^Find Controller" || fail "Return did not open the pair found"
hardware_get

# From Device Setup: nothing is open in the new instance's lists until the button finds it.
focus "$window"
open_menu "$window" 200 || fail "the Options menu did not open"
xdotool key Down Return
setup="$(wait_for_window "Orvane Brindle Editor Device Setup")" || exit 1
xdotool mousemove --window "$setup" 282 46 click 1
finder="$(wait_for_window "^Find Controller: 1 found$")" || exit 1
activate "$finder"
xdotool key Return
wait_until 15 no_window "^Find Controller" || fail "Return did not open the pair found"
shot find-controller-device-setup
xdotool mousemove --window "$setup" 50 425 click 1
wait_until 15 no_window "Orvane Brindle Editor Device Setup" || fail "OK did not close Device Setup"
hardware_get

is_running "$EDITOR_PID" || fail "the editor ended"
echo "PASS: Find Controller picks the simulated Marlo, not the loopback or the synthesizer"
