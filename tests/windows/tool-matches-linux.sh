#!/usr/bin/env bash
# The Windows build's marlo-preset.exe under Wine against the Linux build's marlo-preset: the files
# that new, set, convert and get (from the simulated Marlo) write are the same bytes, and what show,
# diff and validate print is the same text with the same exit code, Windows' line ends aside.
#   bash tests/windows/tool-matches-linux.sh LINUX_TOOL WINDOWS_BUILD_DIR
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
linux_tool="$(realpath "$1")"
build="$(realpath "$2")"
windows_tool="$build/marlo-preset.exe"
source "$here/lib/wine.bash"
wine_prefix "$build" || exit 1
[[ -x "$linux_tool" && -f "$windows_tool" ]] || { echo "usage: $0 LINUX_TOOL WINDOWS_BUILD_DIR" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/linux" "$work/windows"
failures=0
checks=0

# Runs one command with each tool in its own folder; prints go to files named after the step.
step()
{
    local name="$1"
    shift
    (cd "$work/linux" && timeout 60 "$linux_tool" "$@" >"$name.out" 2>"$name.err"; echo $? >"$name.code")
    (cd "$work/windows" && timeout 120 "$MARLO_WINE" "$windows_tool" "$@" >"$name.out" 2>"$name.err"
     echo $? >"$name.code")
    # The Linux tool's lines of the system's MIDI library are no output of the tool's own.
    sed -i '/^ALSA lib /d' "$work/linux/$name.err"
    sed -i 's/\r$//' "$work/windows/$name.out" "$work/windows/$name.err"
}

same()
{
    local what="$1"
    checks=$((checks + 1))
    if ! cmp -s "$work/linux/$what" "$work/windows/$what"; then
        failures=$((failures + 1))
        echo "DIFFERENT: $what" >&2
        diff <(od -c "$work/linux/$what" 2>&1 | head -n 20) <(od -c "$work/windows/$what" 2>&1 | head -n 20) | head -n 20 >&2
    fi
}

# Files written.
step new new a.marlo && same a.marlo && same new.code
cp "$work/linux/a.marlo" "$work/linux/b.marlo" && cp "$work/windows/a.marlo" "$work/windows/b.marlo"
step set set b.marlo "Keybed Transpose=-5" "pad 1 mode=CC Toggle" "Knob 2 CC=74" && same b.marlo && same set.code
step to-syx convert b.marlo b.syx && same b.syx && same to-syx.code
step from-syx convert b.syx c.marlo && same c.marlo && same from-syx.code
step get get d.marlo --in "Marlo (simulated)" --out "Marlo (simulated)" --simulated-device && same d.marlo &&
    same get.code
# A name with characters beyond the system's ANSI code page, on the command line and in what is
# printed back.
step unicode new "Grüße ✓.marlo" && same "Grüße ✓.marlo" && same unicode.code
step unicode-missing validate "Grüße ✗.marlo" && same unicode-missing.out && same unicode-missing.err &&
    same unicode-missing.code
head -c 50 "$work/linux/a.marlo" >"$work/linux/short.marlo" && cp "$work/linux/short.marlo" "$work/windows/"

# Texts printed, and their exit codes.
for text in "show:show b.marlo" "json:show --json b.marlo" "diff:diff a.marlo b.marlo" "same:diff a.marlo c.marlo" \
    "validate:validate a.marlo b.syx" "invalid:validate a.marlo short.marlo"; do
    name="${text%%:*}"
    read -r -a arguments <<<"${text#*:}"
    step "$name" "${arguments[@]}"
    same "$name.out"
    same "$name.err"
    same "$name.code"
done

echo "tool under Wine against Linux: $((checks - failures)) of $checks the same"
[[ $failures == 0 ]]
