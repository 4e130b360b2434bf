#!/usr/bin/env bash
# The keyboard stays where the user is, through the real window: the MIDI Monitor opened from the
# Window menu holds the keyboard at once (Escape closes it, no click first), on a 1024 x 600 screen
# of its own; Ctrl+Right and Ctrl+Left keep the keyboard on the same box of the panel at the same
# place (Pad 2's Note, then Pad 6's), or on that panel's first box where it has none; Up and Down
# move between the main page's buttons; the save question's focused button shows the ring.
set -u
here="$(cd "$(dirname "$0")" && pwd)"

if [[ -z "${KEYS_PHASE:-}" ]]; then
    KEYS_PHASE=monitor xvfb-run -a -s "-screen 0 1024x600x24" bash "$0" "$@" || exit 1
    KEYS_PHASE=page bash "$0" "$@" || exit 1
    echo "PASS: the keyboard stays where the user is"
    exit 0
fi

source "$here/lib/e2e-common.bash"
e2e_setup

if [[ "$KEYS_PHASE" == monitor ]]; then
    start_editor
    window="$(wait_for_window "^Orvane Marlo Editor - Untitled 1$")" || exit 1
    focus "$window"
    # Whether the window system shows the monitor before or after it asks for the keyboard varies,
    # so it is opened a few times.
    for round in 1 2 3 4 5 6 7 8; do
        focus "$window"
        xdotool key ctrl+2 ctrl+1
        open_menu "$window" "${WINDOW_MENU_X:-196}" || fail "the Window menu did not open"
        xdotool key Down Down Down Return
        monitor="$(wait_for_window "^MIDI Monitor$")" || exit 1
        wait_for_focus "$monitor"
        xdotool key Escape
        wait_until 10 no_window "^MIDI Monitor$" ||
            fail "the monitor opened from the Window menu ($round. time) did not take Escape"
    done
    echo "ok: the monitor opened from the Window menu holds the keyboard"
    exit 0
fi

tool="$(dirname "$EDITOR_BINARY")/marlo-preset"
[[ -x "$tool" ]] || fail "no marlo-preset beside the editor"
file="$E2E_HOME/stays.marlo"
"$tool" new "$file" || fail "marlo-preset new failed"
# Pad 7 has no Note box in this mode: the keyboard goes to its first number box, MIDI Channel.
"$tool" set "$file" "Pad 7 Mode=Program Change" || fail "marlo-preset set failed"
value_of() { "$tool" show "$file" | sed -n "s/^$1 = //p"; }

start_editor "$file"
window="$(wait_for_window "^Orvane Marlo Editor - stays$")" || exit 1
focus "$window"

# Drum Pads: Pad 2's Note box (second panel, third row), then the next bank's box at its place.
xdotool key ctrl+4
focus_knobs_box "$window" 1 2 || fail "Pad 2's Note box did not take the keyboard"
xdotool key ctrl+Right
xdotool type --delay 30 77
xdotool key Return ctrl+Left
xdotool type --delay 30 66
xdotool key Return
focus_knobs_box "$window" 2 2 || fail "Pad 3's Note box did not take the keyboard"
xdotool key ctrl+Right
xdotool type --delay 30 7
xdotool key Return
date_back "$file"
xdotool key ctrl+s
wait_until 15 written_since_dated_back "$file" || fail "Ctrl+S wrote nothing"
[[ "$(value_of "Pad 6 Note")" == 77 && "$(value_of "Pad 2 Note")" == 66 ]] ||
    fail "after Ctrl+Right and Ctrl+Left the typing went elsewhere: Pad 6 Note $(value_of "Pad 6 Note"), Pad 2 Note $(value_of "Pad 2 Note")"
[[ "$(value_of "Pad 7 MIDI Channel")" == 7 ]] ||
    fail "Ctrl+Right from Pad 3's Note did not reach Pad 7's first box: its channel is $(value_of "Pad 7 MIDI Channel")"
echo "ok: Ctrl+Right and Ctrl+Left keep the keyboard on the same box at the same place, else its panel's first box"

# editor_pixel WINDOW X Y: the colour at a point of the 1200 x 700 editor, as RRGGBB.
editor_pixel()
{
    local WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window "$1" png:- 2>/dev/null |
        convert png:- -format "%[hex:p{$2,$((HEIGHT - 700 + $3))}]" info: 2>/dev/null | cut -c1-6
}
# ringed BUTTON: the main page's button (0 is the first, top) shows the ring inside its left edge.
ringed() { [[ "$(editor_pixel "$window" 8 $((544 + 40 * $1)))" == 117FC6 ]]; }

xdotool key ctrl+1
wait_until 10 ringed 0 || fail "Ctrl+1 did not ring the first button"
for button in 1 2 3 3; do
    xdotool key Down
    wait_until 10 ringed "$button" || fail "Down did not move the ring to button $((button + 1))"
done
xdotool key Up
wait_until 10 ringed 2 || fail "Up did not move the ring back to the third button"
# Down to "Save Preset to Hard Drive", whose Return asks where to save.
xdotool key Down Return
chooser="$(wait_for_window "^Select Filename to save$" 20)" || exit 1
activate "$chooser"
xdotool key Escape
wait_until 15 no_window "^Select Filename to save$" || fail "Escape left the save chooser open"
echo "ok: Up and Down move between the main page's buttons"

# accent_pixels WINDOW: how many pixels of the window have the ring's colour.
accent_pixels()
{
    import -window "$1" png:- 2>/dev/null | convert png:- -fill black +opaque "#117FC6" -fill white -opaque "#117FC6" \
        -format "%[fx:round(mean*w*h)]" info:
}
ring_shown() { (($(accent_pixels "$question") > 60)); }
xdotool key ctrl+2
focus_knobs_box "$window" 0 1 || fail "Knob 1's channel box did not take the keyboard"
xdotool type --delay 30 3
xdotool key Return ctrl+w
question="$(wait_for_window "^Save Document$")" || exit 1
wait_until 10 ring_shown || fail "no button of the save question shows the ring ($(accent_pixels "$question") pixels)"
shot save-question
answer_no "$question"
wait_until 15 no_window "^Orvane Marlo Editor - stays$" || fail "No did not close the document"
echo "ok: the save question's focused button shows the ring"
