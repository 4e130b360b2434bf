#!/usr/bin/env bash
# Runs every test program of a Windows build under Wine and sums up: per program what passed,
# what was skipped and what failed, then every skipped test with the reason it printed.
#   bash tests/windows/run-under-wine.sh [BUILD_DIR]      (default build-windows)
# Run on a display with a window manager (tools/test-windows sets one up): the programs other than
# the core's bring the framework's message loop up, and some open windows.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$(realpath "${1:-$here/../../build-windows}")"
source "$here/lib/wine.bash"
wine_prefix "$build" || exit 1

logs="$build/wine-test-logs"
mkdir -p "$logs"
status=0
skipped_list=""
shopt -s nullglob
programs=("$build"/marlo_*_tests.exe)
[[ ${#programs[@]} -gt 0 ]] || { echo "no test programs in $build" >&2; exit 1; }
for program in "${programs[@]}"; do
    name="$(basename "$program" .exe)"
    log="$logs/$name.log"
    start=$SECONDS
    # A folder of its own for each program's files, under the prefix's drive.
    (cd "$build" && timeout 900 "$MARLO_WINE" "$program" --gtest_color=no) >"$log" 2>&1
    code=$?
    # gtest's closing lines; the Windows console's line ends taken off.
    sed -i 's/\r$//' "$log"
    passed="$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?.*/\1/p' "$log" | tail -n 1)"
    skipped="$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?, listed below:.*/\1/p' "$log" | tail -n 1)"
    failed="$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below:.*/\1/p' "$log" | tail -n 1)"
    printf '%-24s %4s passed, %3s skipped, %3s failed, exit %d, %d s\n' "$name" "${passed:-0}" "${skipped:-0}" \
        "${failed:-0}" "$code" $((SECONDS - start))
    if [[ $code != 0 || -z "$passed" ]]; then
        status=1
        grep -E '^\[  FAILED  \] [A-Za-z]' "$log" | sort -u | sed 's/^/    /'
        [[ -n "$passed" ]] || tail -n 15 "$log" | sed 's/^/    | /'
    fi
    # Each skipped test and the reason it printed (the line after gtest's "Skipped").
    skipped_list+="$(awk -v program="$name" '
        /^\[ RUN      \] / { test = $4; reason = "" }
        /: Skipped$/ { getline reason }
        /^\[  SKIPPED \] [A-Za-z_]+\.[A-Za-z_0-9\/]+ \(/ { print "  " program " " $4 ": " reason }' "$log")"
    [[ -n "$skipped_list" && "${skipped_list: -1}" != $'\n' ]] && skipped_list+=$'\n'
done
if [[ -n "$skipped_list" ]]; then
    echo "Skipped under Wine:"
    printf '%s' "$skipped_list"
fi
echo "logs: $logs"
exit $status
