#!/usr/bin/env bash
# The simulated Marlo pulled out (Options > Unplug Simulated Marlo) while a get waits for it: the
# "MIDI Error" alert comes at the next look at the device lists, well before the get's seven
# seconds, and the main page's connection line says the Marlo is gone. Plugged in again, the
# editor opens it again by itself: the line is as it was, and a get succeeds.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

# The connection line's text, beside the main page's first button, in the window's own pixels.
line_geometry="490x35+274+551"
line_shot() { import -window "$window" -crop "$line_geometry" +repage "$E2E_HOME/$1.png"; }
# same_line A B: the two shots of the line are the same but for a few pixels of the text's edges,
# which a repaint of part of the line may smooth differently; another text differs in hundreds.
same_line()
{
    local differing
    differing="$(compare -fuzz 10% -metric AE "$E2E_HOME/$1.png" "$E2E_HOME/$2.png" null: 2>&1)"
    [[ "$differing" =~ ^[0-9]+$ ]] && ((differing <= 12))
}
line_now_is() { line_shot now && same_line now "$1"; }
line_now_differs_from() { line_shot now && ! same_line now "$1"; }

# Options > the last item, Unplug or Plug In Simulated Marlo; further KEYS follow at once.
options_last_item()
{
    focus "$window"
    xdotool key ctrl+1
    open_menu "$window" 200 || fail "the Options menu did not open"
    xdotool key Up Return "$@"
}

dismiss()
{
    local alert
    alert="$(wait_for_window "$1")" || exit 1
    activate "$alert"
    xdotool key Return
    wait_until 15 no_window "$1" || fail "Return did not dismiss '$1'"
}

start_editor --simulated-device
window="$(wait_for_window "Orvane Marlo Editor - Untitled 1")" || exit 1
focus "$window"
line_shot not-connected

# Options > Device Setup: the first row of each list, then OK.
open_menu "$window" 200 || fail "the Options menu did not open"
xdotool key Down Return
setup="$(wait_for_window "Orvane Brindle Editor Device Setup")" || exit 1
xdotool mousemove --window "$setup" 100 80 click 1
xdotool mousemove --window "$setup" 100 251 click 1
xdotool mousemove --window "$setup" 50 425 click 1
wait_until 15 no_window "Orvane Brindle Editor Device Setup" || fail "OK did not close Device Setup"
wait_until 15 line_now_differs_from not-connected || fail "the connection line did not change on connecting"
line_shot connected
shot connection-line-connected

# Unplugged, then at once Return on the focused "Load From MIDI": a get on its way to a device that
# is gone. Should the lists be looked at between the two (no device then), it is tried again.
for attempt in 1 2 3; do
    options_last_item Return
    asked=$SECONDS
    wait_until 15 bash -c '[[ $(xdotool search --onlyvisible --name "^(MIDI Error|No MIDI Device selected.)$" | wc -l) -gt 0 ]]' \
        || fail "neither the MIDI error nor the no-device alert came after the unplug"
    waited=$((SECONDS - asked))
    [[ "$(window_count "^MIDI Error$")" -gt 0 ]] && break
    echo "attempt $attempt: the unplug was seen before the get started; again"
    dismiss "^No MIDI Device selected.$"
    options_last_item
    wait_until 15 line_now_is connected || fail "plugging in again did not reconnect"
done
[[ "$(window_count "^MIDI Error$")" -gt 0 ]] || fail "the get never met the unplugged device"
((waited < 5)) || fail "the MIDI error came after ${waited}s, as late as the get's time-out"
dismiss "^MIDI Error$"
line_now_differs_from connected || fail "the connection line still reads as connected"
line_now_differs_from not-connected || fail "the connection line reads as never connected"
shot connection-line-disconnected

# Plugged in again: connected again, without Device Setup, and a get succeeds.
options_last_item
wait_until 15 line_now_is connected || fail "plugging in again did not reconnect"
focus "$window"
xdotool key ctrl+1 Return
dismiss "^MIDI Get Sucess$"

is_running "$EDITOR_PID" || fail "the editor ended"
echo "PASS: an unplug during a get ends it with the MIDI error at the next look; plugging in reconnects"
