#!/usr/bin/env bash
# Device Setup's "Open these devices when the editor starts": the simulated Marlo chosen and kept,
# opened by the next start without Device Setup, skipped when it is absent, and forgotten again.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

settings="$HOME/.config/orvane-marlo-editor/settings-$MARLO_EDITOR_INSTANCE.xml"
setup_title="Orvane Brindle Editor Device Setup"

open_device_setup()
{
    focus "$window"
    open_menu "$window" 200 || fail "the Options menu did not open"
    xdotool key Down Return
    setup="$(wait_for_window "$setup_title")" || exit 1
}

# Device Setup's height: 425, the check box's 28, and 18 for each device that is not connected.
setup_height() { xdotool getwindowgeometry "$setup" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p'; }

press_ok()
{
    xdotool mousemove --window "$setup" 50 $(($(setup_height) - 28)) click 1
    wait_until 15 no_window "$setup_title" || fail "OK did not close Device Setup"
}

stop_editor()
{
    kill "$EDITOR_PID"
    wait "$EDITOR_PID" 2>/dev/null
}

get_preset_succeeds()
{
    focus "$window"
    open_menu "$window" 35 || fail "the File menu did not open"
    xdotool key Down Down Down Down Down Down Down Right
    wait_until 15 menus_shown 2 || fail "the Hardware submenu did not open"
    xdotool key Return
    wait_for_window "^MIDI Get Sucess$" >/dev/null
}

# Off by default: choosing devices writes no settings.
start_editor --simulated-device
window="$(wait_for_window "Orvane Marlo Editor - Untitled 1")" || exit 1
open_device_setup
[[ "$(setup_height)" -eq 453 ]] || fail "Device Setup is $(setup_height) high, not 453"
xdotool mousemove --window "$setup" 100 80 click 1
xdotool mousemove --window "$setup" 100 251 click 1
press_ok
[[ ! -e "$settings" ]] || fail "a settings file was written with the check box off"

# On: the names are kept.
open_device_setup
xdotool mousemove --window "$setup" 30 388 click 1
press_ok
wait_until 5 test -f "$settings" || fail "no settings file at $settings"
grep -q 'Marlo (simulated)' "$settings" || fail "the settings do not name the simulated device: $(cat "$settings")"
stop_editor

# A restart opens them: Get Preset works without Device Setup.
start_editor --simulated-device
window="$(wait_for_window "Orvane Marlo Editor - Untitled 1")" || exit 1
get_preset_succeeds || fail "the remembered devices were not open after a restart"
stop_editor

# Without the simulated device the remembered one is absent: no alert at start, and Device Setup
# grows by one "Not connected" line.
start_editor
window="$(wait_for_window "Orvane Marlo Editor - Untitled 1")" || exit 1
sleep 1
[[ "$(window_count "MIDI Error")" -eq 0 ]] || fail "an absent device raised an alert at start"
open_device_setup
[[ "$(setup_height)" -eq 471 ]] || fail "Device Setup is $(setup_height) high, not 471 with one device not connected"
# With E2E_SHOTS set to a folder, the window is left there as a picture.
[[ -n "${E2E_SHOTS:-}" ]] && import -window "$setup" "$E2E_SHOTS/device-setup-not-connected.png"

# Turned off: the file goes.
xdotool mousemove --window "$setup" 30 388 click 1
press_ok
wait_until 5 bash -c "[[ ! -e '$settings' ]]" || fail "turning the check box off left $settings"
kill -0 "$EDITOR_PID" 2>/dev/null || fail "the editor ended"
echo "PASS: devices remembered across a restart, an absent one skipped, and forgotten"
