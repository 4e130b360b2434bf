#!/usr/bin/env bash
# The editor against the framework's floor, every ratio from one run: time from process start until
# the first window is mapped, the processor time it used until then (steadier than the wall clock on
# a busy machine), resident memory with that one window, and time from Ctrl+N until the next window
# is mapped. The minimal JUCE window (benchmarks/startup) is the floor for all three.
#
#   measure-all.sh [-n RUNS] BUILD_DIR [BUILD_DIR ...]
#
# Each BUILD_DIR holds marlo-editor and benchmarks/startup/marlo_minimal_window (a Release build).
# Several build folders, say before and after a change, are measured interleaved in the same run,
# so they share the machine's conditions. Needs a display (run under xvfb-run); starts openbox if
# no window manager runs.
set -u

runs=10
if [[ "${1:-}" == "-n" ]]; then
    runs="${2:?number of runs}"
    shift 2
fi
(($# > 0)) || { echo "usage: $0 [-n RUNS] BUILD_DIR [BUILD_DIR ...]" >&2; exit 2; }
[[ -n "${DISPLAY:-}" ]] || { echo "DISPLAY is not set; run under xvfb-run" >&2; exit 1; }

builds=()
for dir in "$@"; do
    dir="$(realpath "$dir")"
    for binary in marlo-editor benchmarks/startup/marlo_minimal_window; do
        [[ -x "$dir/$binary" ]] || { echo "$dir/$binary is missing" >&2; exit 1; }
    done
    builds+=("$dir")
done

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

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# One small process that polls the window tree every millisecond: starting a tool every few
# milliseconds instead would take processor time from the program being measured.
waiter="$work/wait-for-window"
c++ -O2 -o "$waiter" "$(dirname "$(realpath "$0")")/startup/WaitForWindow.cpp" -lX11 ||
    { echo "cannot build the window waiter (needs g++ and libx11-dev)" >&2; exit 1; }

# wait_for_window PID TITLE: prints the time in ms when a visible window has exactly that title;
# fails if PID ended first.
wait_for_window() { "$waiter" "$2" "$1"; }

# cpu_ms PID: user and system time the process has used so far.
cpu_ms()
{
    local ticks
    ticks=$(getconf CLK_TCK)
    # The command name in field 2 may hold blanks; the fields after its closing parenthesis do not.
    sed 's/.*) //' "/proc/$1/stat" | awk -v t="$ticks" '{ print int(($12 + $13) * 1000 / t) }'
}

# measure BINARY FIRST_TITLE SECOND_TITLE: prints "start_ms rss_kb new_window_ms cpu_ms".
measure()
{
    local binary="$1" first="$2" second="$3" start shown pid rss window pressed opened cpu
    start=$(now_ms)
    HOME="$work" MARLO_EDITOR_INSTANCE="measure-$$-$RANDOM" "$binary" >/dev/null 2>&1 &
    pid=$!
    shown=$(wait_for_window "$pid" "$first") || { echo "$binary ended before showing its window" >&2; return 1; }
    cpu=$(cpu_ms "$pid")

    # Settle, then weigh the process with its one window.
    sleep 0.5
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")

    window=$(xdotool search --onlyvisible --name "^$first\$" | head -1)
    xdotool windowactivate --sync "$window" >/dev/null 2>&1
    sleep 0.1
    pressed=$(now_ms)
    xdotool key ctrl+n
    opened=$(wait_for_window "$pid" "$second") || { echo "$binary ended before its second window" >&2; return 1; }

    # An interrupt quits through the framework's message loop, which gives back the memory each
    # window shares with the X server; a program killed outright leaves it behind.
    kill -INT "$pid"
    wait "$pid" 2>/dev/null
    echo "$((shown - start)) $rss $((opened - pressed)) $cpu"
}

measure_editor() { measure "$1/marlo-editor" "Orvane Marlo Editor - Untitled 1" "Orvane Marlo Editor - Untitled 2"; }
measure_minimal() { measure "$1/benchmarks/startup/marlo_minimal_window" "Minimal Window" "Minimal Window 2"; }

# One launch of each first, so every binary is measured with warm file caches.
for build in "${builds[@]}"; do
    measure_minimal "$build" >/dev/null || exit 1
    measure_editor "$build" >/dev/null || exit 1
done

results="$work/results"
for ((i = 1; i <= runs; i++)); do
    for index in "${!builds[@]}"; do
        build="${builds[$index]}"
        m=$(measure_minimal "$build") || exit 1
        e=$(measure_editor "$build") || exit 1
        echo "$index $m $e" >>"$results"
        read -r ms mr mn mc <<<"$m"
        read -r es er en ec <<<"$e"
        echo "run $i, $build: start ${es}/${ms} ms (processor ${ec}/${mc} ms), memory ${er}/${mr} kB," \
            "new window ${en}/${mn} ms (editor/minimal)"
    done
done

# Medians: on a shared machine a launch now and then waits on something else, and one such
# launch would move a mean by more than the differences being measured.
median()
{
    sort -n | awk '{ value[NR] = $1 } END { if (NR == 0) print 0; else if (NR % 2) print value[(NR + 1) / 2]; else print (value[NR / 2] + value[NR / 2 + 1]) / 2 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%5.2f", a / b; else printf "    -" }'; }

for index in "${!builds[@]}"; do
    column() { awk -v want="$index" -v field="$1" '$1 == want { print $field }' "$results" | median; }
    ms=$(column 2) mr=$(column 3) mn=$(column 4) mc=$(column 5)
    es=$(column 6) er=$(column 7) en=$(column 8) ec=$(column 9)
    printf "\n%s (median of %d runs)\n" "${builds[$index]}" "$runs"
    printf "                          editor    minimal   ratio\n"
    printf "start-up to window (ms)  %7.1f    %7.1f   %s\n" "$es" "$ms" "$(ratio "$es" "$ms")"
    printf "processor to window (ms) %7.1f    %7.1f   %s\n" "$ec" "$mc" "$(ratio "$ec" "$mc")"
    printf "resident memory (MB)     %7.1f    %7.1f   %s\n" "$(awk -v v="$er" 'BEGIN { print v / 1024 }')" \
        "$(awk -v v="$mr" 'BEGIN { print v / 1024 }')" "$(ratio "$er" "$mr")"
    printf "Ctrl+N to window (ms)    %7.1f    %7.1f   %s\n" "$en" "$mn" "$(ratio "$en" "$mn")"
done
