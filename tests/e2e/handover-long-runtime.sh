#!/usr/bin/env bash
# A runtime folder whose path is too long for a socket's name does not stop the hand-over: the
# editor keeps its socket in a short private folder instead.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

runtime="$E2E_HOME/$(printf 'a-runtime-folder-with-a-long-name-%.0s' 1 2 3)"
mkdir -p -m 0700 "$runtime" || fail "cannot make $runtime"
export XDG_RUNTIME_DIR="$runtime"
write_preset "$E2E_HOME/Long Way.marlo" 2

start_editor
window="$(wait_for_window "^Orvane Marlo Editor - Untitled 1$")" || exit 1
focus "$window"

hand_over "$E2E_HOME/launch.log" "$E2E_HOME/Long Way.marlo"
wait_for_window "^Orvane Marlo Editor - Long Way$" >/dev/null || exit 1
[[ "$(window_count "^Orvane Marlo Editor - Long Way$")" -eq 1 ]] || fail "the file is open more than once"

socket="$(find /tmp -maxdepth 2 -type s -name "*$MARLO_EDITOR_INSTANCE*" 2>/dev/null | head -1)"
[[ -n "$socket" ]] || fail "no socket in a short folder"
[[ "$(stat -c '%a %u' "$(dirname "$socket")")" == "700 $(id -u)" ]] || fail "$(dirname "$socket") is not private"
echo "PASS: a long runtime folder gave way to $(dirname "$socket")"
