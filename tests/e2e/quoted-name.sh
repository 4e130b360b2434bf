#!/usr/bin/env bash
# A name opens itself, quotes and spaces included, on the first launch and handed over; a name
# that is not UTF-8 is refused by name and opens nothing else.
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup

write_preset "$E2E_HOME/a.marlo" 3
write_preset "$E2E_HOME/'a.marlo" 5
write_preset "$E2E_HOME/ b c'.marlo" 6
write_preset "$E2E_HOME/bad.marlo" 7
cd "$E2E_HOME" || fail "no temporary home"

start_editor "'a.marlo"
window="$(wait_for_window "^Orvane Marlo Editor - 'a$")" || exit 1
[[ "$(window_count "^Orvane Marlo Editor - a$")" -eq 0 ]] || fail "a.marlo was opened instead of 'a.marlo"

# Handed over: a leading space and a trailing quote.
focus "$window"
hand_over "$E2E_HOME/second.log" " b c'.marlo"
wait_for_window "^Orvane Marlo Editor -  b c'$" >/dev/null || exit 1

# Not UTF-8, handed over: refused by name, and the running editor opens nothing for it.
bad_name="$(printf 'bad\xff.marlo')"
hand_over "$E2E_HOME/bad.log" "$bad_name"
grep -qF 'bad\xff.marlo' "$E2E_HOME/bad.log" || fail "the refusal does not name the file: $(cat "$E2E_HOME/bad.log")"
# The running editor has answered a later launch, so it has seen the bad one before.
hand_over "$E2E_HOME/last.log" "a.marlo"
wait_for_window "^Orvane Marlo Editor - a$" >/dev/null || exit 1
[[ "$(window_count "^Orvane Marlo Editor - bad")" -eq 0 ]] || fail "a bad name opened another file"

# Not UTF-8, on the first launch: the editor starts with its new document and says why.
export MARLO_EDITOR_INSTANCE="$MARLO_EDITOR_INSTANCE-first"
"$EDITOR_BINARY" "$bad_name" >"$E2E_HOME/first-bad.log" 2>&1 &
E2E_PIDS+=($!)
# The first editor's documents all have files, so this is the new one's.
wait_for_window "^Orvane Marlo Editor - Untitled 1$" 20 >/dev/null || exit 1
grep -qF 'bad\xff.marlo' "$E2E_HOME/first-bad.log" || fail "the first launch's refusal does not name the file"
# Started from the desktop there is no terminal: the window says it too.
wait_for_window "^Invalid File$" >/dev/null || fail "the first launch's refusal was not shown in a window"
[[ "$(window_count "^Orvane Marlo Editor - bad")" -eq 0 ]] || fail "a bad name opened another file"
echo "PASS: names with quotes and spaces open themselves; a name that is not UTF-8 is refused"
