# Shared by the end-to-end scripts of the command-line tool: finds the tool beside the editor
# binary given as the argument (or at $MARLO_PRESET), drops the display so that nothing can lean on
# one, and works in a folder of its own that goes when the script ends.
# Sourced, not run: the file name does not end in .sh, so CTest does not pick it up.
set -u
tool="$(realpath -m "${MARLO_PRESET:-$(dirname "${1:?usage: $0 <path to marlo-editor>}")/marlo-preset}")"
[[ -x "$tool" ]] || { echo "FAIL: no marlo-preset beside $1" >&2; exit 1; }
unset DISPLAY WAYLAND_DISPLAY
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
