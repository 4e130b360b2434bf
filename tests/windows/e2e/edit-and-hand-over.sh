#!/usr/bin/env bash
# The editor as a Windows program under Wine, through its real window: it starts from a file on its
# command line and shows its name in the title; Ctrl+2, a typed value, Return and Ctrl+S change the
# file's byte; a second launch hands its file to the first and ends, and the file opens in a window
# of its own. Argument: marlo-editor.exe of a Windows build; the Wine prefix is made beside it.
# With E2E_SHOTS set to a folder, it leaves a screenshot of the edited window there.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export MARLO_WINDOWS_EDITOR="$(realpath "$1")"
source "$here/../lib/wine.bash"
wine_prefix "$(dirname "$MARLO_WINDOWS_EDITOR")" || exit 1
source "$here/../../e2e/lib/e2e-common.bash" "$here/../lib/wine-editor"
e2e_setup

file="$E2E_HOME/keys.marlo"
original="$E2E_HOME/original.marlo"
write_preset "$file" 5
cp "$file" "$original"
write_preset "$E2E_HOME/Handed Over.marlo" 7

# Knob 1's MIDI Channel: the preset's byte 17, after the file's 9-byte header.
knob1_channel_in_file() { od -An -tu1 -j $((9 + 17)) -N1 "$1" | tr -d ' '; }

cd "$E2E_HOME" || fail "no temporary home"
start=$SECONDS
start_editor "$file"
first_pid=$EDITOR_PID
# Wine starts its own services with the first program, so the first window takes longer.
window="$(wait_for_window "^Orvane Marlo Editor - keys$" 90)" || exit 1
echo "ok: the window 'Orvane Marlo Editor - keys' after $((SECONDS - start)) s"
wait_for_focus "$window"
# Wine makes the window Windows' active one a moment after the X server gives it the keyboard,
# and keys before that are lost: Ctrl+S until a save is written shows that the keys arrive.
saved_on_ctrl_s() {
    xdotool key ctrl+s
    wait_until 1 written_since_dated_back "$file"
}
date_back "$file"
wait_until 30 saved_on_ctrl_s || fail "the window took no Ctrl+S"
cmp -s "$original" "$file" || fail "saving the file as it was loaded changed it"

[[ "$(knob1_channel_in_file "$file")" != 8 ]] || fail "the test file already holds channel 9"
xdotool key ctrl+2
xdotool type --delay 30 9
xdotool key Return
date_back "$file"
xdotool key ctrl+s
wait_until 30 written_since_dated_back "$file" || fail "Ctrl+S wrote nothing"
[[ "$(knob1_channel_in_file "$file")" == 8 ]] ||
    fail "Knob 1's channel byte is $(knob1_channel_in_file "$file"), not 8 (channel 9)"
[[ "$(cmp -l "$original" "$file" | wc -l)" -eq 1 ]] || fail "more than the channel changed"
echo "ok: Ctrl+2, 9, Return and Ctrl+S saved channel 9 in Knob 1's byte"
if [[ -n "${E2E_SHOTS:-}" ]]; then
    # Wine 8's DXGI has no vertical blank to wait for, on which the framework's Windows windows
    # repaint; what Windows itself asks to be painted is painted, such as a window shown again.
    xdotool windowminimize "$window"
    wait_until 15 not_shown "^Orvane Marlo Editor - keys$" || fail "the window did not minimise"
    activate "$window"
    sleep 1
    mkdir -p "$E2E_SHOTS" && import -window root "$E2E_SHOTS/wine-editor.png"
fi

# The second launch: a relative path, resolved against the second process's own folder.
"$here/../lib/wine-editor" "Handed Over.marlo" >"$E2E_HOME/second.log" 2>&1 &
second_pid=$!
E2E_PIDS+=("$second_pid")
wait_until 60 bash -c "! kill -0 $second_pid 2>/dev/null" || fail "the second launch did not end"
wait "$second_pid"
status=$?
[[ $status -eq 0 ]] || fail "the second launch ended with status $status ($(tail -n 5 "$E2E_HOME/second.log"))"
wait_for_window "^Orvane Marlo Editor - Handed Over$" 30 >/dev/null || exit 1
[[ "$(xdotool getwindowname "$window")" == "Orvane Marlo Editor - keys" ]] ||
    fail "the first window's title is '$(xdotool getwindowname "$window")': its preset was replaced"
kill -0 "$first_pid" 2>/dev/null || fail "the first editor ended"
echo "PASS: under Wine the editor loaded its file, saved a typed value, and took a second launch's file"
