#!/usr/bin/env bash
# Windows that fit the screen, zoom and a size the window manager cannot change, through the real
# window on screens of their own: at 1366 x 768 two documents lie wholly on the screen, frames
# included, and a zoom never puts a window past it: the steps that would are greyed in the View menu
# and their keys do nothing, and a window that grows near the edge moves back inside; at 1920 x 1080
# Ctrl+= makes the window larger, a resize request leaves it as it is, and a click on the zoomed
# Knob 1 CC box with typed digits writes that box's byte; on a desktop scaled by 2 (XSETTINGS, as
# GNOME sets it) at 1600 x 1000, the window opens at the 50 % that fits and no larger step is taken.
# With E2E_SHOTS set to a folder, it leaves a screenshot of each screen there.
set -u
here="$(cd "$(dirname "$0")" && pwd)"

# Each phase runs on a virtual screen of the size it needs, beside whatever display runs the suite.
if [[ -z "${ZOOM_PHASE:-}" ]]; then
    for phase in 1366x768 1920x1080 1600x1000; do
        ZOOM_PHASE="$phase" xvfb-run -a -s "-screen 0 ${phase}x24" bash "$0" "$@" || exit 1
    done
    echo "PASS: windows fit the screen, zoom, and keep their size"
    exit 0
fi

source "$here/lib/e2e-common.bash"
e2e_setup
# Where the menu bar shows "View" in the window at 100 %.
VIEW_MENU_X="${VIEW_MENU_X:-130}"
screen_width="${ZOOM_PHASE%x*}"
screen_height="${ZOOM_PHASE#*x}"

# geometry WINDOW: "x y width height" of the window's inside, in screen pixels.
geometry()
{
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
                             /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }'
}

# inside_screen WINDOW: the window and the frame the window manager put round it lie on the screen.
inside_screen()
{
    local x y w h left right top bottom
    read -r x y w h <<<"$(geometry "$1")"
    # Until the window manager has framed the window, there is no frame to count.
    read -r left right top bottom <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | tr -d ',' | awk '{ print $3, $4, $5, $6 }')"
    [[ "$left$right$top$bottom" =~ ^[0-9]+$ ]] && ((x - left >= 0 && y - top >= 0 && x + w + right <= screen_width &&
        y + h + bottom <= screen_height))
}

# has_size WINDOW WIDTH HEIGHT
has_size()
{
    local x y w h
    read -r x y w h <<<"$(geometry "$1")"
    ((w == $2 && h == $3))
}

if [[ "$ZOOM_PHASE" == 1600x1000 ]]; then
    command -v xsettingsd >/dev/null || fail "xsettingsd is missing"
    printf 'Gdk/WindowScalingFactor 2\n' >"$E2E_HOME/xsettingsd.conf"
    # xsettingsd makes a window of its own and owns the settings through it at once.
    windows_before="$(xwininfo -root -children | grep -c '^ *0x')"
    xsettingsd -c "$E2E_HOME/xsettingsd.conf" >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    wait_until 15 bash -c "(( \$(xwininfo -root -children | grep -c '^ *0x') > $windows_before ))" ||
        fail "xsettingsd made no window"
    start_editor
    window="$(wait_for_window "Orvane Marlo Editor - Untitled 1")" || exit 1
    # 2400 x 1448 pixels at actual size do not fit; half of it does.
    wait_until 15 has_size "$window" 1200 724 || fail "at scale 2 the window opened at $(geometry "$window")"
    wait_until 15 inside_screen "$window" || fail "at scale 2 the window is not inside the screen: $(geometry "$window")"
    focus "$window"
    # 67 % would be 1608 pixels wide, 100 % 2400: neither fits, so neither key does anything.
    xdotool key ctrl+0 ctrl+equal
    wait_until 3 bash -c "! xwininfo -id $window | grep -q 'Width: 1200'" &&
        fail "a zoom at scale 2 made the window $(geometry "$window")"
    inside_screen "$window" || fail "at scale 2 a zoom put the window past the screen: $(geometry "$window")"
    echo "ok: on a desktop scaled by 2 the window opens at the step that fits, and takes no step that does not"
    exit 0
fi

if [[ "$ZOOM_PHASE" == 1366x768 ]]; then
    start_editor
    first="$(wait_for_window "Orvane Marlo Editor - Untitled 1")" || exit 1
    activate "$first"
    xdotool key ctrl+n
    second="$(wait_for_window "Orvane Marlo Editor - Untitled 2")" || exit 1
    for window in "$first" "$second"; do
        wait_until 15 inside_screen "$window" ||
            fail "window $window ($(geometry "$window"), frame $(xprop -id "$window" _NET_FRAME_EXTENTS))" \
                "is not inside the 1366 x 768 screen"
    done
    [[ "$(geometry "$first")" != "$(geometry "$second")" ]] || fail "the second window covers the first"
    shot screen-1366x768
    echo "ok: at 1366 x 768 both windows lie on the screen"

    # 125 % would make the window 1500 x 905: every key for it does nothing.
    wait_until 15 has_size "$second" 1200 724 || fail "the second window opened at $(geometry "$second")"
    focus "$second"
    xdotool key ctrl+equal ctrl+plus ctrl+KP_Add
    wait_until 3 bash -c "! xwininfo -id $second | grep -q 'Width: 1200'" &&
        fail "a zoom key made the window $(geometry "$second") on a 1366 x 768 screen"
    inside_screen "$second" || fail "a zoom key put the window past the screen: $(geometry "$second")"
    shot screen-1366x768-after-zoom-in
    echo "ok: at 1366 x 768 the zoom keys take no step past the screen"

    # The View menu greys Zoom In: a click on it does nothing and leaves the menu open. A click on
    # Zoom Out, the second of its three items, works.
    open_menu "$second" "$VIEW_MENU_X" || fail "the View menu did not open"
    shot screen-1366x768-view-menu
    menu="$(xdotool search --all --onlyvisible --pid "$EDITOR_PID" --name '^menu$' | head -1)"
    eval "$(xdotool getwindowgeometry --shell "$menu")"
    xdotool mousemove --window "$menu" 40 $((HEIGHT / 6)) click 1
    wait_until 3 bash -c "! xwininfo -id $second | grep -q 'Width: 1200'" &&
        fail "View > Zoom In made the window $(geometry "$second")"
    menus_shown 1 || fail "a click on the greyed Zoom In closed the menu"
    xdotool mousemove --window "$menu" 40 $((HEIGHT / 2)) click 1
    wait_until 15 menus_shown 0 || fail "the View menu stayed open"
    wait_until 15 has_size "$second" 1080 652 || fail "View > Zoom Out gave $(geometry "$second")"
    echo "ok: the View menu greys the step that does not fit, and takes the one that does"

    # At 90 % near the right edge, Ctrl+= brings the window back to 100 % and moves it left into
    # the screen instead of past its edge, which 1200 pixels from x = 200 would reach.
    xdotool windowmove "$second" 200 40
    moved_right() { local x y w h; read -r x y w h <<<"$(geometry "$1")"; ((x >= 190)); }
    wait_until 15 moved_right "$second" || fail "the window did not move to x = 200: $(geometry "$second")"
    inside_screen "$second" || fail "at 90 % and x = 200 the window is already past the screen"
    focus "$second"
    xdotool key ctrl+equal
    wait_until 15 has_size "$second" 1200 724 || fail "Ctrl+= at 90 % gave $(geometry "$second")"
    wait_until 15 inside_screen "$second" || fail "Ctrl+= near the edge put the window past the screen: $(geometry "$second")"
    shot screen-1366x768-grown-near-the-edge
    echo "ok: a window that grows near the edge moves back onto the screen"
    exit 0
fi

file="$E2E_HOME/zoom.marlo"
original="$E2E_HOME/original.marlo"
write_preset "$file" 5
cp "$file" "$original"
start_editor "$file"
window="$(wait_for_window "Orvane Marlo Editor - zoom")" || exit 1
focus "$window"
wait_until 15 has_size "$window" 1200 724 || fail "the window starts at $(geometry "$window"), not 1200 x 724"

xdotool key ctrl+equal
wait_until 15 has_size "$window" 1500 905 || fail "Ctrl+= left the window at $(geometry "$window")"
echo "ok: Ctrl+= shows the window at 125 %"

# The window manager is told the one size there is, and offers neither resizing nor maximising.
hints="$(xprop -id "$window" WM_NORMAL_HINTS)"
grep -q "minimum size: 1500 by 905" <<<"$hints" && grep -q "maximum size: 1500 by 905" <<<"$hints" ||
    fail "the size hints are not the zoomed size: $hints"
xprop -id "$window" _NET_WM_ALLOWED_ACTIONS | grep -qE "ACTION_RESIZE|ACTION_MAXIMIZE" &&
    fail "the window manager offers: $(xprop -id "$window" _NET_WM_ALLOWED_ACTIONS)"
xdotool windowsize "$window" 1000 600
wmctrl -i -r "$window" -e 0,-1,-1,1700,1000 2>/dev/null
# Whatever the window manager does with the requests, it has done within these seconds.
wait_until 3 bash -c "! xwininfo -id $window | grep -q 'Width: 1500'" &&
    fail "a resize request changed the window to $(geometry "$window")"
has_size "$window" 1500 905 || fail "a resize request changed the window to $(geometry "$window")"
echo "ok: resize requests leave the window at its zoomed size"

# Knob 1's CC box, where the zoomed window shows it: every coordinate of the window times 1.25.
xdotool key ctrl+2
x=$(($(knobs_box_x 0) * 5 / 4))
y=$(($(knobs_row_y 2) * 5 / 4))
xdotool mousemove --window "$window" "$x" "$y" click 1
xdotool type --delay 30 "57"
xdotool key Return
date_back "$file"
xdotool key ctrl+s
wait_until 15 written_since_dated_back "$file" || fail "Ctrl+S wrote nothing"
changed="$(cmp -l "$original" "$file" | while read -r offset old new; do echo "$offset $((8#$new))"; done)"
# The file's preset starts at its tenth byte; Knob 1's CC is the preset's byte 14.
[[ "$changed" == "24 57" ]] || fail "the click and 57 changed '${changed}', not Knob 1's CC at byte 24"
shot screen-1920x1080-zoomed
echo "ok: a click on the zoomed Knob 1 CC box and typed digits write its byte"
