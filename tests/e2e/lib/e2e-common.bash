# Shared by the end-to-end scripts: starts the editor under the current display with a window
# manager, finds windows by title, and cleans up whatever it started.
# Sourced, not run: the file name does not end in .sh, so CTest does not pick it up.

set -u

EDITOR_BINARY="${1:-}"
E2E_PIDS=()
E2E_OPENBOX=""
E2E_HOME=""
E2E_SOURCE_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"

fail()
{
    echo "FAIL: $*" >&2
    # What the editor said, such as a sanitizer's report, goes with the failure.
    local log
    for log in "${E2E_HOME:-/nonexistent}"/editor-*.log; do
        [[ -s "$log" ]] || continue
        echo "--- $log" >&2
        if grep -q "Sanitizer" "$log"; then
            grep -E "ERROR: |SUMMARY: |^    #[0-9] " "$log" | head -n 30 >&2
        else
            grep -v "^Warning: Missing charsets" "$log" | tail -n 25 >&2
        fi
    done
    exit 1
}

e2e_cleanup()
{
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        kill "$pid" 2>/dev/null
    done
    for pid in "${E2E_PIDS[@]}"; do
        wait "$pid" 2>/dev/null
    done
    if [[ -n "$E2E_OPENBOX" ]]; then
        kill "$E2E_OPENBOX" 2>/dev/null
        wait "$E2E_OPENBOX" 2>/dev/null
    fi
    [[ -n "$E2E_HOME" ]] && rm -rf "$E2E_HOME"
}

e2e_setup()
{
    [[ -x "$EDITOR_BINARY" ]] || fail "usage: $0 <path to marlo-editor> (got '${EDITOR_BINARY}')"
    EDITOR_BINARY="$(realpath "$EDITOR_BINARY")"
    [[ -n "${DISPLAY:-}" ]] || fail "DISPLAY is not set; run under xvfb-run"
    command -v xdotool >/dev/null || fail "xdotool is missing"

    trap e2e_cleanup EXIT

    # Keys reach a JUCE window only with a window manager; start one if the display has none.
    # A window shown before the manager runs is never framed or placed, so wait for it, start it
    # again if it ended on a display that was still coming up, and say so if it never came.
    local attempt i
    for attempt in 1 2; do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        openbox >/dev/null 2>&1 &
        E2E_OPENBOX=$!
        for i in $(seq 150); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
            kill -0 "$E2E_OPENBOX" 2>/dev/null || break
            sleep 0.1
        done
    done
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" || fail "no window manager came up on $DISPLAY"

    E2E_HOME="$(mktemp -d)"
    export HOME="$E2E_HOME"
    # A pipe of its own, so the test never hands anything to a user's running editor.
    export MARLO_EDITOR_INSTANCE="e2e-$$-$RANDOM"
}

# start_editor [args...]: starts the editor in the background; its pid is in EDITOR_PID.
start_editor()
{
    "$EDITOR_BINARY" "$@" >"$E2E_HOME/editor-$RANDOM.log" 2>&1 &
    EDITOR_PID=$!
    E2E_PIDS+=("$EDITOR_PID")
}

# wait_for_window TITLE [SECONDS]: prints the id of the first shown window whose title matches.
# Called in a command substitution, so callers add "|| exit 1".
# Only a mapped window counts: one that exists but is not on screen yet takes no click, and a
# dialog hidden for reuse is not the one that is showing.
# Each look is a search of its own: one search that goes wrong (a window closing under it, say)
# must not end the wait early.
wait_for_window()
{
    local title="$1" seconds="${2:-15}" id="" errors="$E2E_HOME/xdotool-search.err"
    local end=$((SECONDS + seconds))
    while true; do
        id="$(timeout 5 xdotool search --onlyvisible --name "$title" 2>"$errors" | head -1)"
        [[ -n "$id" ]] && break
        ((SECONDS < end)) || fail "no window titled '$title' appeared within ${seconds}s" \
            "$([[ -s "$errors" ]] && echo "(the last search said: $(head -c 300 "$errors"))")" \
            "$([[ -n "${EDITOR_PID:-}" ]] && ! is_running "$EDITOR_PID" && echo "(the editor has ended)")"
        sleep 0.1
    done
    echo "$id"
}


# wait_until SECONDS COMMAND...: runs the command every 0.1 s until it succeeds.
# The command runs anew each time: a value it tests must be computed inside it (a function or
# "bash -c"), never in an argument, which is expanded once before the first look.
wait_until()
{
    local seconds="$1"
    shift
    local end=$((SECONDS + seconds))
    until "$@"; do
        ((SECONDS < end)) || return 1
        sleep 0.1
    done
}

# shared_memory_of PID: the System V segments that process made, such as its windows' pixels.
shared_memory_of()
{
    ipcs -m -p | awk -v pid="$1" '$3 == pid { print $1 }'
}

window_count()
{
    xdotool search --name "$1" 2>/dev/null | wc -l
}

# no_window TITLE: no window whose title matches exists, on screen or not.
no_window()
{
    [[ "$(window_count "$1")" -eq 0 ]]
}

# not_shown TITLE: no window whose title matches is on screen.
not_shown()
{
    [[ -z "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]]
}

# has_focus WINDOW: the window holds the keyboard. Keys sent while another one holds it are lost.
has_focus()
{
    [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$1" ]]
}

# wait_for_focus WINDOW: returns once the window holds the keyboard.
wait_for_focus()
{
    wait_until 15 has_focus "$1" ||
        fail "window $1 ('$(xdotool getwindowname "$1" 2>/dev/null)') did not get the keyboard;" \
            "'$(xdotool getwindowfocus getwindowname 2>/dev/null)' has it"
}

# activated WINDOW: asks for the window to come to the front and says whether it holds the
# keyboard. Asked again at every look: the window manager may pass over a request that comes
# while it is still taking a new window in.
activated()
{
    xdotool windowactivate "$1" 2>/dev/null
    has_focus "$1"
}

# activate WINDOW: brings the window to the front and returns once it holds the keyboard.
activate()
{
    wait_until 15 activated "$1" || wait_for_focus "$1"
}

# focus WINDOW: a click inside the window gives it the keyboard. The click is handled before any
# key sent after it, as the display delivers both in order to the window that holds the keyboard.
focus()
{
    xdotool windowactivate --sync "$1" 2>/dev/null
    xdotool mousemove --window "$1" 600 380 click 1
    wait_for_focus "$1"
}

# menus_shown COUNT: exactly COUNT of the editor's pop-up menus (menu and submenus) are on screen.
menus_shown()
{
    [[ "$(xdotool search --all --onlyvisible --pid "$EDITOR_PID" --name '^menu$' 2>/dev/null | wc -l)" -eq "$1" ]]
}

# open_menu WINDOW X: clicks the menu bar at X and returns once the menu shows; keys sent to the
# window then reach the menu. Returns non-zero if no menu opened.
open_menu()
{
    xdotool mousemove --window "$1" "$2" 10 click 1
    wait_until 15 menus_shown 1
}

# escape_save_question: once the save question shows, Escape cancels it; fails if it stays.
escape_save_question()
{
    local question
    question="$(wait_for_window "^Save Document$")" || exit 1
    activate "$question"
    xdotool key Escape
    wait_until 15 not_shown "^Save Document$" || fail "Escape did not dismiss the save question"
}

# answer_no QUESTION-WINDOW: the buttons are "Yes", "No", "Cancel" from left to right along the
# bottom, so "No" is in the middle. The window must be on screen, as wait_for_window finds it.
answer_no()
{
    local WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove --window "$1" $((WIDTH / 2)) $((HEIGHT - 33)) click 1
}

# click_editor WINDOW X Y: clicks a point of the 1200 x 700 editor, which fills the bottom of the
# window below its menu bar.
click_editor()
{
    local WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove --window "$1" "$2" $((HEIGHT - 700 + $3)) click 1
}

# is_running PID: whether the process still runs.
is_running()
{
    kill -0 "$1" 2>/dev/null
}

# is_shown WINDOW: the window is on screen.
is_shown()
{
    xwininfo -id "$1" 2>/dev/null | grep -q "IsViewable"
}

# zenity_open_path WINDOW PATH: types the path into the chooser's location field and confirms;
# returns once the chooser is gone, non-zero if it stays.
# The field ignores a Return that comes before it has looked up the folder typed into it, and
# nothing outside the chooser shows when it has; so Return is pressed again, half a second
# apart, while the chooser is still up and holds the keyboard. (It takes only keys from the
# keyboard itself, not ones sent to its window.)
zenity_open_path()
{
    local attempt look
    activate "$1"
    xdotool key ctrl+l
    xdotool type --delay 5 "$2"
    for attempt in $(seq 30); do
        is_shown "$1" || return 0
        has_focus "$1" && xdotool key Return
        for look in 1 2 3 4 5; do
            is_shown "$1" || return 0
            sleep 0.1
        done
    done
    return 1
}

# open_save_chooser: starts the editor, presses Ctrl+S in its first, untitled document and prints
# the id of the save chooser once it has the keyboard. Callers add "|| exit 1".
open_save_chooser()
{
    local window chooser
    start_editor
    window="$(wait_for_window "^Orvane Marlo Editor - Untitled 1$")" || exit 1
    focus "$window"
    xdotool key ctrl+s
    chooser="$(wait_for_window "^Select Filename to save$" 20)" || exit 1
    activate "$chooser"
    echo "$chooser"
}

# Where the knobs page (Ctrl+2) puts its number boxes, inside the window: the menu bar is 24 high,
# the page starts 527 below it, rows are 26 apart from 32 down, and panels are 280 wide from x = 40.
knobs_row_y() { echo $((24 + 527 + 32 + 26 * $1 + 10)); }
knobs_box_x() { echo $((40 + 280 * $1 + 145)); }

# shows_ring WINDOW PANEL ROW: the knobs page box's inner edge has the accent colour of the focus
# ring, so the box holds the keyboard and every key sent before the click that gave it has been
# handled.
shows_ring()
{
    local pixel
    pixel="$(import -window "$1" png:- 2>/dev/null |
        convert png:- -format "%[hex:p{$(($(knobs_box_x "$2") - 38)),$(knobs_row_y "$3")}]" info: 2>/dev/null)"
    [[ "${pixel:0:6}" == 117FC6 ]]
}

# focus_knobs_box WINDOW PANEL ROW: clicks the box until it shows the focus ring, then selects its
# text, so what is typed next replaces the value; non-zero if it never shows the ring. A window that
# has only just come up may still hand its keyboard to its first control after the click, so one
# click is not always enough. A click on a box that already has the keyboard puts the caret where it
# lands, as in any text field: typing then adds to the digits there instead of replacing them, and
# under load the ring can show later than a look, so the text is selected by key.
focus_knobs_box()
{
    local attempt look
    for attempt in $(seq 5); do
        xdotool mousemove --window "$1" "$(knobs_box_x "$2")" "$(knobs_row_y "$3")" click 1
        for look in $(seq 20); do
            if shows_ring "$1" "$2" "$3"; then
                xdotool key ctrl+a
                return 0
            fi
            sleep 0.1
        done
    done
    return 1
}

# shot NAME: with E2E_SHOTS set to a folder, leaves a screenshot of the whole screen there.
shot()
{
    [[ -n "${E2E_SHOTS:-}" ]] && import -window root "$E2E_SHOTS/$1.png"
    return 0
}

# date_back FILE, written_since_dated_back FILE: a file dated back shows any later write by its date.
date_back() { touch -d '2000-01-01' "$1"; }
written_since_dated_back() { [[ "$(stat -c %Y "$1" 2>/dev/null)" -gt 946771200 ]]; }

# write_preset FILE VALUE: a valid document file, the factory dump with the document header
# (0x43 where the factory dump has 0x41) and VALUE in the first preset byte.
write_preset()
{
    local file="$1" value="$2"
    cp "$E2E_SOURCE_DIR/resources/factoryPresetDump.syx" "$file"
    printf '\x43' | dd of="$file" bs=1 seek=5 conv=notrunc status=none
    printf "\\x$(printf %02x "$value")" | dd of="$file" bs=1 seek=9 conv=notrunc status=none
}

# hand_over LOG [args...]: a later launch, which must hand its command line to the running editor
# and end with success.
hand_over()
{
    local log="$1" launch
    shift
    "$EDITOR_BINARY" "$@" >"$log" 2>&1 &
    launch=$!
    E2E_PIDS+=("$launch")
    wait_until 20 bash -c "! kill -0 $launch 2>/dev/null" || fail "the launch with '$*' did not end"
    wait "$launch" || fail "the launch with '$*' ended with an error"
}

# compare_heading TITLE: once the compare window TITLE (a pattern) has the keyboard, prints a
# digest of its heading, the line above its list, then closes it with Escape. The heading is read
# once two looks in a row agree, so a window still being drawn is not read.
compare_heading()
{
    local title="$1" digest previous=""
    wait_until 15 has_focus "$(wait_for_window "$title")" || fail "the compare window did not take the keyboard"
    digest="$(compare_heading_pixels "$title")"
    for _ in $(seq 50); do
        [[ "$digest" == "$previous" ]] && break
        previous="$digest"
        sleep 0.1
        digest="$(compare_heading_pixels "$title")"
    done
    shot "compare-$SECONDS"
    xdotool key Escape
    wait_until 15 no_window "$title" || fail "Escape did not close the compare window"
    echo "$digest"
}

compare_heading_pixels()
{
    import -window "$(xdotool search --onlyvisible --name "$1" | head -1)" png:- 2>/dev/null |
        convert png:- -crop 496x24+12+12 +repage rgb:- | md5sum | cut -d' ' -f1
}
