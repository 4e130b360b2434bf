#!/usr/bin/env bash
# The editor against the framework's floors, every ratio from one run: time from process start until
# the first window is mapped and until it is first painted whole, the processor time used until that
# paint (steadier than the wall clock on a busy machine), resident memory with that one window, and
# time from Ctrl+N until the next window is mapped. Two floors, both JUCE applications of the
# editor's window size (benchmarks/startup): an empty window, and one that lays out a line of text
# in a label with the framework's own fonts. The framework maps a window before it paints it and
# lays text out as it paints, so what text costs a program shows in the time to the first paint.
#
#   measure-all.sh [-n RUNS] BUILD_DIR [BUILD_DIR ...]
#
# Each BUILD_DIR holds marlo-editor and benchmarks/startup/marlo_minimal_window (a Release build),
# and may hold benchmarks/startup/marlo_label_window; a folder without one (a tree from before it
# existed) is measured with the first one found in the folders given. Several build folders, say
# before and after a change, are measured interleaved in the same run, so they share the machine's
# conditions. Needs a display (run under xvfb-run); starts openbox if no window manager runs.
set -u

runs=10
if [[ "${1:-}" == "-n" ]]; then
    runs="${2:?number of runs}"
    shift 2
fi
(($# > 0)) || { echo "usage: $0 [-n RUNS] BUILD_DIR [BUILD_DIR ...]" >&2; exit 2; }
[[ -n "${DISPLAY:-}" ]] || { echo "DISPLAY is not set; run under xvfb-run" >&2; exit 1; }

builds=()
label_window=""
for dir in "$@"; do
    dir="$(realpath "$dir")"
    for binary in marlo-editor benchmarks/startup/marlo_minimal_window; do
        [[ -x "$dir/$binary" ]] || { echo "$dir/$binary is missing" >&2; exit 1; }
    done
    builds+=("$dir")
    if [[ -z "$label_window" && -x "$dir/benchmarks/startup/marlo_label_window" ]]; then
        label_window="$dir/benchmarks/startup/marlo_label_window"
    fi
done
[[ -n "$label_window" ]] || { echo "no build folder holds benchmarks/startup/marlo_label_window" >&2; exit 1; }

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
c++ -O2 -o "$waiter" "$(dirname "$(realpath "$0")")/startup/WaitForWindow.cpp" -lX11 -lXdamage ||
    { echo "cannot build the window waiter (needs g++, libx11-dev and libxdamage-dev)" >&2; exit 1; }

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

# measure BINARY FIRST_TITLE SECOND_TITLE: prints "start_ms painted_ms rss_kb new_window_ms cpu_ms".
measure()
{
    local binary="$1" first="$2" second="$3" start shown painted pid rss window pressed opened cpu
    # The first paint can only be seen by a waiter that watches before the window is made.
    coproc waiting { "$waiter" "$first" - painted; }
    read -r _ <&"${waiting[0]}"
    start=$(now_ms)
    HOME="$work" MARLO_EDITOR_INSTANCE="measure-$$-$RANDOM" "$binary" >/dev/null 2>&1 &
    pid=$!
    echo "$pid" >&"${waiting[1]}"
    read -r shown painted <&"${waiting[0]}"
    [[ -n "$painted" ]] || { echo "$binary ended before painting its window" >&2; return 1; }
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
    echo "$((shown - start)) $((painted - start)) $rss $((opened - pressed)) $cpu"
}

measure_editor() { measure "$1/marlo-editor" "Orvane Marlo Editor - Untitled 1" "Orvane Marlo Editor - Untitled 2"; }
measure_minimal() { measure "$1/benchmarks/startup/marlo_minimal_window" "Minimal Window" "Minimal Window 2"; }
measure_label()
{
    local binary="$1/benchmarks/startup/marlo_label_window"
    [[ -x "$binary" ]] || binary="$label_window"
    measure "$binary" "Label Window" "Label Window 2"
}

# One launch of each first, so every binary is measured with warm file caches.
for build in "${builds[@]}"; do
    measure_minimal "$build" >/dev/null || exit 1
    measure_label "$build" >/dev/null || exit 1
    measure_editor "$build" >/dev/null || exit 1
done

results="$work/results"
for ((i = 1; i <= runs; i++)); do
    for index in "${!builds[@]}"; do
        build="${builds[$index]}"
        m=$(measure_minimal "$build") || exit 1
        l=$(measure_label "$build") || exit 1
        e=$(measure_editor "$build") || exit 1
        echo "$index $e $m $l" >>"$results"
        read -r es ep er en ec <<<"$e"
        read -r ms mp mr mn mc <<<"$m"
        read -r ls lp lr ln lc <<<"$l"
        echo "run $i, $build (editor/minimal/label): window ${es}/${ms}/${ls} ms," \
            "painted ${ep}/${mp}/${lp} ms (processor ${ec}/${mc}/${lc} ms), memory ${er}/${mr}/${lr} kB," \
            "new window ${en}/${mn}/${ln} ms"
    done
done

# Medians: on a shared machine a launch now and then waits on something else, and one such
# launch would move a mean by more than the differences being measured.
median()
{
    sort -n | awk '{ value[NR] = $1 } END { if (NR == 0) print 0; else if (NR % 2) print value[(NR + 1) / 2]; else print (value[NR / 2] + value[NR / 2 + 1]) / 2 }'
}

# shown MEASURE VALUE: memory in MB, the rest as measured.
shown() { awk -v v="$2" -v d="$([[ "$1" == 2 ]] && echo 1024 || echo 1)" 'BEGIN { printf "%8.1f", v / d }'; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%5.2f", a / b; else printf "    -" }'; }

# Fields of a result line: the build's index, then start, painted, memory, new window and processor
# of the editor, the empty window and the label window, in that order.
measures=("start-up to window (ms)" "start-up to painted (ms)" "resident memory (MB)" "Ctrl+N to window (ms)"
          "processor to painted (ms)")
for index in "${!builds[@]}"; do
    column() { awk -v want="$index" -v field="$1" '$1 == want { print $field }' "$results" | median; }
    printf "\n%s (median of %d runs)\n" "${builds[$index]}" "$runs"
    printf "%-27s %8s %8s %8s   %s  %s\n" "" editor minimal label "/minimal" "/label"
    for m in "${!measures[@]}"; do
        e=$(column $((2 + m))) mi=$(column $((7 + m))) la=$(column $((12 + m)))
        printf "%-27s %s %s %s   %s     %s\n" "${measures[$m]}" "$(shown "$m" "$e")" "$(shown "$m" "$mi")" \
            "$(shown "$m" "$la")" "$(ratio "$e" "$mi")" "$(ratio "$e" "$la")"
    done
done
