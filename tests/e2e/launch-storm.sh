#!/usr/bin/env bash
# Fifty launches at once, each with a file: five documents open, and the files refused past the
# limit share one alert, which Return closes; the editor then takes keys as before. (Each refusal
# once stacked an alert of its own, and the editor spun among them, closing none.)
source "$(dirname "$0")/lib/e2e-common.bash"
e2e_setup
alert="^Maxiumum Number of Open Documents Reached$"

launches=()
for i in $(seq 50); do
    write_preset "$E2E_HOME/storm-$i.marlo" 4
done
for i in $(seq 50); do
    "$EDITOR_BINARY" "$E2E_HOME/storm-$i.marlo" >"$E2E_HOME/editor-$i.log" 2>&1 &
    launches+=($!)
done
E2E_PIDS+=("${launches[@]}")

# All but the running editor hand their file over and end.
wait_until 120 bash -c "[[ \$(for p in ${launches[*]}; do kill -0 \$p 2>/dev/null && echo; done | wc -l) -le 1 ]]" ||
    fail "launches are still running"
for pid in "${launches[@]}"; do kill -0 "$pid" 2>/dev/null && EDITOR_PID=$pid; done
[[ -n "${EDITOR_PID:-}" ]] || fail "no editor kept running"

documents() { window_count "^Orvane Marlo Editor - storm-[0-9]*$"; }
wait_until 30 bash -c "[[ \$(xdotool search --name '^Orvane Marlo Editor - storm-[0-9]*$' | wc -l) -eq 5 ]]" ||
    fail "$(documents) documents opened, not 5"
shown="$(wait_for_window "$alert" 30)" || exit 1
# Every launch has ended, so every refusal has been made: still one alert.
[[ "$(window_count "$alert")" -eq 1 ]] || fail "$(window_count "$alert") limit alerts were stacked"
shot limit-alert
echo "ok: 50 launches opened 5 documents and one limit alert"

activate "$shown"
xdotool key Return
wait_until 15 no_window "$alert" || fail "Return did not close the limit alert"
is_running "$EDITOR_PID" || fail "the editor ended"

# The editor takes keys: Ctrl+W on a document asks the save question.
window="$(wait_for_window "^Orvane Marlo Editor - storm-[0-9]*$")" || exit 1
focus "$window"
xdotool key ctrl+w
escape_save_question
[[ "$(documents)" -eq 5 ]] || fail "Cancel closed a document"
echo "PASS: one limit alert for a storm of launches; Return closed it and the editor took keys"
