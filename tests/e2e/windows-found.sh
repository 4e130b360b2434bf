#!/usr/bin/env bash
# Windows that can be found, on a 1366 x 768 screen of its own: three new windows lie on the screen
# and none covers another exactly; the Window menu lists the three documents, ticks the active one
# and brings the one chosen to the front; the File menu's Hardware item shows its sub-menu arrow.
# With E2E_SHOTS set to a folder, it leaves the screen with the Window menu open there.
set -u
here="$(cd "$(dirname "$0")" && pwd)"

if [[ -z "${WINDOWS_SCREEN:-}" ]]; then
    WINDOWS_SCREEN=1 xvfb-run -a -s "-screen 0 1366x768x24" bash "$0" "$@" || exit 1
    echo "PASS: windows can be found"
    exit 0
fi

source "$here/lib/e2e-common.bash"
e2e_setup

# place WINDOW: "x y width height" of the window's inside, in screen pixels.
place()
{
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
                             /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }'
}
on_screen()
{
    local x y w h
    read -r x y w h <<<"$(place "$1")"
    ((x >= 0 && y >= 0 && x + w <= 1366 && y + h <= 768))
}
active_is() { [[ "$(xdotool getactivewindow 2>/dev/null)" == "$1" ]]; }

start_editor
first="$(wait_for_window "^Orvane Marlo Editor - Untitled 1$")" || exit 1
focus "$first"
xdotool key ctrl+n
second="$(wait_for_window "^Orvane Marlo Editor - Untitled 2$")" || exit 1
wait_for_focus "$second"
xdotool key ctrl+n
third="$(wait_for_window "^Orvane Marlo Editor - Untitled 3$")" || exit 1
wait_for_focus "$third"
for window in "$first" "$second" "$third"; do
    wait_until 10 on_screen "$window" || fail "window $window lies at $(place "$window"), not on the screen"
done
[[ "$(place "$first")" != "$(place "$second")" && "$(place "$first")" != "$(place "$third")" &&
    "$(place "$second")" != "$(place "$third")" ]] ||
    fail "a window covers another: $(place "$first") / $(place "$second") / $(place "$third")"
echo "ok: three new windows lie apart on the screen"

# The menu's rows, as the editor's look lays them out: 2 pixels of border, 22 for an item and 10
# for a separator. non_blue_pixels IMAGE X Y WIDTH HEIGHT counts what is drawn over the menu's blue.
row_top() { echo $((2 + 22 * $1 + 10 * $2)); }
non_blue_pixels()
{
    convert "$1" -crop "$4x$5+$2+$3" +repage -fill black -opaque "#117FC6" -fill white +opaque black \
        -format "%[fx:round(mean*w*h)]" info:
}
menu_window() { xdotool search --all --onlyvisible --pid "$EDITOR_PID" --name '^menu$' | head -1; }

xdotool key alt+w
wait_until 5 menus_shown 1 || fail "Alt+W opened no menu"
import -window "$(menu_window)" "$E2E_HOME/window-menu.png"
shot window-menu
# Minimize, Bring All to Front, MIDI Monitor and Library, a separator, then the documents: the tick
# goes in the first 22 columns of the active one's row only.
ticks=""
for row in 4 5 6; do
    ticks+="$(non_blue_pixels "$E2E_HOME/window-menu.png" 0 "$(row_top "$row" 1)" 22 22) "
done
read -r one two three <<<"$ticks"
((one == 0 && two == 0 && three > 10)) || fail "the documents' rows are not ticked as the active one: $ticks"
# The first item is selected: Up goes round to the last, then on up to Untitled 1.
xdotool key Up Up Up Return
wait_until 10 active_is "$first" || fail "choosing Untitled 1 left $(xdotool getactivewindow getwindowname) active"
echo "ok: the Window menu lists the documents, ticks the active one and brings the chosen one forward"

xdotool key alt+f
wait_until 5 menus_shown 1 || fail "Alt+F opened no menu"
import -window "$(menu_window)" "$E2E_HOME/file-menu.png"
xdotool key Escape
width="$(identify -format %w "$E2E_HOME/file-menu.png")"
# Hardware is the seventh item, with no separator before it; its arrow is in its last 22 columns.
arrow="$(non_blue_pixels "$E2E_HOME/file-menu.png" $((width - 22)) "$(row_top 6 0)" 22 22)"
((arrow > 10)) || fail "the Hardware item shows no arrow ($arrow pixels)"
echo "ok: the Hardware item shows its sub-menu arrow"
