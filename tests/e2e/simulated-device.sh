#!/usr/bin/env bash
# Device Setup from the menu, the simulated Marlo chosen in both lists, then Get and Send Preset.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

# hardware_menu KEYS...: File > Hardware, then KEYS in its submenu; returns once the menus closed.
hardware_menu()
{
    focus "$window"
    open_menu "$window" 35 || return 1
    xdotool key Down Down Down Down Down Down Down Right
    wait_until 15 menus_shown 2 || fail "the Hardware submenu did not open"
    xdotool key "$@"
    wait_until 15 menus_shown 0 || fail "the Hardware menu stayed open"
}

start_editor --simulated-device
window="$(wait_for_window "Orvane Marlo Editor - Untitled 1")" || exit 1
focus "$window"

# Options > Device Setup
open_menu "$window" 200 || fail "the Options menu did not open"
xdotool key Down Return
setup="$(wait_for_window "Orvane Brindle Editor Device Setup")" || exit 1

# The first row of each list, then OK.
xdotool mousemove --window "$setup" 100 80 click 1
xdotool mousemove --window "$setup" 100 251 click 1
xdotool mousemove --window "$setup" 50 425 click 1
wait_until 15 bash -c '[[ $(xdotool search --name "Orvane Brindle Editor Device Setup" 2>/dev/null | wc -l) -eq 0 ]]' \
    || fail "OK did not close Device Setup"

# File > Hardware > Get Preset
hardware_menu Return || fail "the File menu did not open"
alert="$(wait_for_window "^MIDI Get Sucess$")" || exit 1
activate "$alert"
xdotool key Return
wait_until 15 no_window "^MIDI Get Sucess$" || fail "Return did not dismiss the get's alert"

# Send Preset goes through without an error alert. Menu commands are carried out in the order
# they were chosen, so once a Get chosen after the send has shown its alert, an alert of the send
# would be showing too.
send_alerts()
{
    [[ "$(window_count "No MIDI Device selected.")" -eq 0 ]] || fail "Send Preset found no device"
    [[ "$(window_count "MIDI Error")" -eq 0 ]] || fail "Send Preset reported a MIDI error"
}
hardware_menu Down Return || fail "the File menu did not open"
hardware_menu Return || { send_alerts; fail "the File menu did not open after Send Preset"; }
wait_for_window "^MIDI Get Sucess$" >/dev/null || { send_alerts; exit 1; }
send_alerts
kill -0 "$EDITOR_PID" 2>/dev/null || fail "the editor ended"
echo "PASS: get and send against the simulated device"
