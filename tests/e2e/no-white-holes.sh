#!/usr/bin/env bash
# No white holes: on a 1024 x 600 screen of its own, the MIDI Monitor and Device Setup open over the
# document, and the part of the document that each leaves showing is drawn again at once, while the
# pointer stays still. The window manager shows a new window at the screen's corner before it moves
# it to its place, so the corner of the document is uncovered each time. The screen has no shared
# memory extension, as over a remote or virtual display: the framework then copies each picture
# through the connection, which leaves it waiting on the server while the uncovering's events
# arrive, every time (with shared memory, some of the time).
set -u
here="$(cd "$(dirname "$0")" && pwd)"

if [[ -z "${HOLES_SCREEN:-}" ]]; then
    HOLES_SCREEN=1 xvfb-run -a -s "-screen 0 1024x600x24 -extension MIT-SHM" bash "$0" "$@" || exit 1
    echo "PASS: what a window uncovers is drawn again at once"
    exit 0
fi

source "$here/lib/e2e-common.bash"
e2e_setup

# white_pixels [TITLE]: how many pixels of pure white a stretch of the document beside the window
# titled TITLE shows (the background and the picture's dark edge there have none). The stretch lies
# left of the window, short of it, as its own background is white; a window that a busy window
# manager left at the screen's corner uncovers nothing there, so the stretch then lies right of it.
white_pixels()
{
    local width=180 left=5 X=1000 Y WIDTH=0 HEIGHT SCREEN id=""
    [[ -n "${1:-}" ]] && id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)"
    [[ -n "$id" ]] && eval "$(xdotool getwindowgeometry --shell "$id")"
    if ((X - 15 >= width + 5)); then
        :
    elif ((X - 15 > 25)); then
        width=$((X - 20))
    else
        left=$((X + WIDTH + 15))
        ((left + width > 885)) && width=$((885 - left))
    fi
    # Too little of the document beside the window to look at: that is no pass.
    ((width > 20)) || { echo "the window at x $X, $WIDTH wide, leaves nothing to look at" >&2; echo 99999; return; }
    import -window root png:- 2>/dev/null | convert png:- -crop "${width}x140+${left}+250" +repage -fill black +opaque white \
        -format "%[fx:round(mean*w*h)]" info:
}
no_hole() { (($(white_pixels "$@") == 0)); }

start_editor
window="$(wait_for_window "^Orvane Marlo Editor - Untitled 1$")" || exit 1
focus "$window"
wait_until 10 no_hole || fail "the document shows white before anything opened ($(white_pixels) pixels)"

# open_from_menu X DOWNS TITLE: clicks the menu bar at X, presses Down DOWNS times and Return, and
# returns once a window titled TITLE shows, the pointer back where it was.
open_from_menu()
{
    xdotool key ctrl+2 ctrl+1
    open_menu "$window" "$1" || fail "the menu at $1 did not open"
    xdotool mousemove --window "$window" 20 300
    for _ in $(seq "$2"); do xdotool key Down; done
    xdotool key Return
    wait_for_window "$3" >/dev/null || exit 1
}

for round in 1 2 3; do
    open_from_menu 196 3 "^MIDI Monitor$"
    wait_until 5 no_hole "^MIDI Monitor$" ||
        { shot "hole-monitor-$round"; fail "the document stayed white beside the monitor ($(white_pixels "^MIDI Monitor$") pixels)"; }
    wmctrl -i -c "$(xdotool search --onlyvisible --name "^MIDI Monitor$" | head -1)"
    wait_until 15 no_window "^MIDI Monitor$" || fail "the monitor stayed open"

    open_from_menu 150 1 "Device Setup"
    wait_until 5 no_hole "Device Setup" ||
        { shot "hole-setup-$round"; fail "the document stayed white beside Device Setup ($(white_pixels "Device Setup") pixels)"; }
    wmctrl -i -c "$(xdotool search --onlyvisible --name "Device Setup" | head -1)"
    wait_until 15 no_window "Device Setup" || fail "Device Setup stayed open"
done
echo "ok: the document was drawn again beside the monitor and Device Setup, three times each"
