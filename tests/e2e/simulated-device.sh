#!/usr/bin/env bash
# Device Setup from the menu, the simulated Marlo chosen in both lists, then Get and Send Preset.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

start_editor --simulated-device
window="$(wait_for_window "Orvane Marlo Editor - Untitled 1")" || exit 1
focus "$window"

# Options > Device Setup
xdotool mousemove --window "$window" 140 10 click 1
sleep 0.4
xdotool key Down Return
setup="$(wait_for_window "Orvane Brindle Editor Device Setup")" || exit 1
sleep 0.3

# The first row of each list, then OK.
xdotool mousemove --window "$setup" 100 80 click 1
xdotool mousemove --window "$setup" 100 251 click 1
sleep 0.2
xdotool mousemove --window "$setup" 50 397 click 1
wait_until 5 bash -c '[[ $(xdotool search --name "Orvane Brindle Editor Device Setup" 2>/dev/null | wc -l) -eq 0 ]]' \
    || fail "OK did not close Device Setup"

# File > Hardware > Get Preset
focus "$window"
xdotool mousemove --window "$window" 35 10 click 1
sleep 0.4
xdotool key Down Down Down Down Down Down Right
sleep 0.4
xdotool key Return
wait_for_window "^MIDI Get Sucess$" >/dev/null || exit 1

# Send Preset goes through without an error alert.
xdotool key Return
sleep 0.3
focus "$window"
xdotool mousemove --window "$window" 35 10 click 1
sleep 0.4
xdotool key Down Down Down Down Down Down Right
sleep 0.4
xdotool key Down Return
sleep 1
[[ "$(window_count "No MIDI Device selected.")" -eq 0 ]] || fail "Send Preset found no device"
[[ "$(window_count "MIDI Error")" -eq 0 ]] || fail "Send Preset reported a MIDI error"
kill -0 "$EDITOR_PID" 2>/dev/null || fail "the editor ended"
echo "PASS: get and send against the simulated device"
