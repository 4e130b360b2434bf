#!/usr/bin/env bash
# Window > MIDI Monitor on the real binary with the simulated controller opened at start: one
# monitor however often it is asked for, the focus inside it, a control played from its play row
# lighting that control in the document's picture, and Escape closing it.
# With E2E_SHOTS set to a folder, the screen with the control lit is left there.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

# The devices are remembered, so nothing needs choosing in Device Setup.
settings="$HOME/.config/orvane-marlo-editor/settings-$MARLO_EDITOR_INSTANCE.xml"
mkdir -p "$(dirname "$settings")"
cat >"$settings" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<PROPERTIES>
  <VALUE name="inputDevice" val="Marlo (simulated)"/>
  <VALUE name="outputDevice" val="Marlo (simulated)"/>
</PROPERTIES>
XML

# glow_pixels FILE: how many pixels of a screenshot have the light's own colour.
glow_pixels()
{
    python3 - "$1" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos + 1].isspace():
        pos += 1
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[pos:end])
    pos = end
pixels = data[pos + 1:]
assert fields[3] == b"255", "an 8-bit picture is expected"
print(sum(1 for i in range(0, len(pixels) - 2, 3) if pixels[i:i + 3] == b"\xff\xc8\x3d"))
PY
}

open_monitor()
{
    focus "$window"
    open_menu "$window" "$WINDOW_MENU_X" || fail "the Window menu did not open"
    xdotool key Down Down Down Return
    wait_until 15 menus_shown 0 || fail "the Window menu stayed open"
}

WINDOW_MENU_X="${WINDOW_MENU_X:-262}"
start_editor --simulated-device
window="$(wait_for_window "Orvane Marlo Editor - Untitled 1")" || exit 1
open_monitor
monitor="$(wait_for_window "^MIDI Monitor$")" || exit 1
wait_for_focus "$monitor" || fail "the monitor did not take the focus"
open_monitor
sleep 0.5
[[ "$(window_count "^MIDI Monitor$")" -eq 1 ]] || fail "a second monitor opened"

import -depth 8 -window root "$HOME/before.ppm"
[[ "$(glow_pixels "$HOME/before.ppm")" -eq 0 ]] || fail "something is lit before anything was played"

# The play row: Knob 1 is chosen; the value box, 64, Return, played again and again while the
# screen is looked at, so that the light is on when a picture is taken.
eval "$(xdotool getwindowgeometry --shell "$monitor")"
xdotool mousemove --window "$monitor" 250 $((HEIGHT - 23)) click 1
xdotool type --delay 50 "64"
xdotool key --delay 150 $(printf 'Return %.0s' $(seq 30)) &
keys=$!
is_lit() { import -depth 8 -window root "$HOME/lit.ppm" && [[ "$(glow_pixels "$HOME/lit.ppm")" -gt 50 ]]; }
wait_until 8 is_lit
lit=$?
# The keys go on for a few seconds: the light is still on for this picture.
[[ -n "${E2E_SHOTS:-}" ]] && import -window root "$E2E_SHOTS/monitor-played.png"
wait "$keys"
[[ "$lit" -eq 0 ]] || fail "no control lit in the document's picture ($(glow_pixels "$HOME/lit.ppm") pixels)"

# The light goes out by itself.
went_out() { import -depth 8 -window root "$HOME/after.ppm" && [[ "$(glow_pixels "$HOME/after.ppm")" -eq 0 ]]; }
wait_until 10 went_out || fail "the light stayed on"

focus "$monitor"
xdotool key Escape
wait_until 15 no_window "^MIDI Monitor$" || fail "Escape left the monitor open"
kill -0 "$EDITOR_PID" 2>/dev/null || fail "the editor ended"
echo "PASS: the monitor opened once, played Knob 1 and lit it, and closed on Escape"
