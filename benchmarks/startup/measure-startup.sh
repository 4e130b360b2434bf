#!/usr/bin/env bash
# Start-up time of the editor against the framework's floor: from process start until the first
# window is mapped on the display, N launches of each, interleaved, in one run.
#
#   measure-startup.sh <marlo-editor> <marlo_minimal_window> [N]
#
# Needs a display (run under xvfb-run) with a window manager; starts openbox if there is none.
set -u

editor="$(realpath "${1:?path to marlo-editor}")"
minimal="$(realpath "${2:?path to marlo_minimal_window}")"
runs="${3:-10}"

[[ -n "${DISPLAY:-}" ]] || { echo "DISPLAY is not set; run under xvfb-run" >&2; exit 1; }

openbox_pid=""
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
    openbox >/dev/null 2>&1 &
    openbox_pid=$!
    sleep 1
fi

work="$(mktemp -d)"
cleanup()
{
    [[ -n "$openbox_pid" ]] && kill "$openbox_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# launch BINARY TITLE: prints the milliseconds from launch until a visible window has the title.
launch()
{
    local binary="$1" title="$2" start end pid
    start=$(date +%s%N)
    HOME="$work" MARLO_EDITOR_INSTANCE="startup-$$-$RANDOM" "$binary" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "$binary ended before showing its window" >&2
            exit 1
        fi
        sleep 0.005
    done
    end=$(date +%s%N)
    kill "$pid"
    wait "$pid" 2>/dev/null
    echo $(((end - start) / 1000000))
}

# One launch of each first, so both are measured with warm file caches.
launch "$minimal" "^Minimal Window$" >/dev/null
launch "$editor" "^Orvane Marlo Editor - Untitled 1$" >/dev/null

editor_total=0
minimal_total=0
for ((i = 1; i <= runs; i++)); do
    m=$(launch "$minimal" "^Minimal Window$") || exit 1
    e=$(launch "$editor" "^Orvane Marlo Editor - Untitled 1$") || exit 1
    echo "run $i: minimal ${m} ms, editor ${e} ms"
    minimal_total=$((minimal_total + m))
    editor_total=$((editor_total + e))
done

awk -v e="$editor_total" -v m="$minimal_total" -v n="$runs" 'BEGIN {
    printf "mean minimal window: %.1f ms\nmean editor:         %.1f ms\nratio editor/minimal: %.2f\n", m / n, e / n, e / m
}'
