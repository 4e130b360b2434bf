#!/usr/bin/env bash
# Builds the Debian package from a Release tree, installs it with apt-get as a user would, runs the
# installed marlo-preset with no display and the installed editor under Xvfb until its window shows,
# then removes the package. Needs root (apt-get); tools/run-tests runs it after the test suite.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${MARLO_PACKAGE_BUILD_DIR:-$top/build-release}"
package_name="orvane-marlo-editor"

fail() { echo "FAIL: $*" >&2; exit 1; }
[[ $(id -u) == 0 ]] || fail "installing the package needs root"

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DMARLO_BUILD_TESTS=OFF -DMARLO_BUILD_BENCHMARKS=OFF -DMARLO_SANITIZE=OFF >/dev/null
cmake --build "$build" --target marlo-editor marlo-preset
rm -f "$build"/${package_name}_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/${package_name}_*.deb)"
echo "package: $deb"

contents="$(dpkg-deb -c "$deb")"
for path in ./usr/bin/marlo-editor ./usr/bin/marlo-preset \
            ./usr/share/applications/orvane-marlo-editor.desktop \
            ./usr/share/icons/hicolor/256x256/apps/orvane-marlo-editor.png \
            ./usr/share/mime/packages/orvane-marlo-preset.xml; do
    grep -q " $path\$" <<<"$contents" || fail "$path is not in the package"
done
depends="$(dpkg-deb -f "$deb" Depends)"
echo "depends: $depends"
for needed in libc6 libasound2 libfreetype6 libx11-6; do
    grep -q "$needed" <<<"$depends" || fail "the package does not depend on $needed"
done

cleanup()
{
    [[ -n "${editor_pid:-}" ]] && kill "$editor_pid" 2>/dev/null && wait "$editor_pid" 2>/dev/null
    [[ -n "${work:-}" ]] && rm -rf "$work"
    if dpkg -s "$package_name" >/dev/null 2>&1; then
        DEBIAN_FRONTEND=noninteractive apt-get remove -y -q "$package_name" >/dev/null
    fi
}
trap cleanup EXIT

DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
[[ -x /usr/bin/marlo-preset && -x /usr/bin/marlo-editor ]] || fail "the programs were not installed"

work="$(mktemp -d)"
(
    unset DISPLAY
    cd "$work"
    /usr/bin/marlo-preset new good.marlo
    /usr/bin/marlo-preset validate good.marlo
    head -c 60 good.marlo >bad.marlo
    status=0
    /usr/bin/marlo-preset validate good.marlo bad.marlo >validate.txt || status=$?
    [[ $status == 1 ]] || fail "validate of a bad file exited $status, expected 1"
    grep -q "^bad.marlo: " validate.txt || fail "validate did not name the bad file"
) 2> >(grep -v '^ALSA lib' >&2)
echo "installed marlo-preset: new and validate work without a display"

# The installed editor, opened on a file, in a virtual display of its own.
HOME="$work" xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    /usr/bin/marlo-editor "$0/good.marlo" >/dev/null 2>&1 &
    pid=$!
    found=""
    for _ in $(seq 150); do
        found="$(xdotool search --name "^Orvane Marlo Editor - good$" 2>/dev/null | head -1)"
        [[ -n "$found" ]] && break
        sleep 0.2
    done
    kill $pid 2>/dev/null; wait $pid 2>/dev/null
    [[ -n "$found" ]]' "$work" || fail "the installed editor showed no window"
echo "installed marlo-editor: its window showed"

DEBIAN_FRONTEND=noninteractive apt-get remove -y -q "$package_name" >/dev/null
[[ ! -e /usr/bin/marlo-preset && ! -e /usr/bin/marlo-editor ]] || fail "removing the package left the programs"
echo "package: installed, run and removed"
