#!/usr/bin/env bash
# Builds the Debian package from a Release tree and checks it as a distribution's packager would
# (lintian, appstreamcli, desktop-file-validate: any error or warning fails), installs it with
# apt-get as a user would, runs the installed marlo-preset with no display and the installed editor
# under Xvfb until its window shows, then removes the package. Needs root (apt-get); tools/run-tests
# runs it after the test suite.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${MARLO_PACKAGE_BUILD_DIR:-$top/build-release}"
package_name="orvane-marlo-editor"
app_id="org.orvane.MarloEditor"

fail() { echo "FAIL: $*" >&2; exit 1; }
[[ $(id -u) == 0 ]] || fail "installing the package needs root"

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DMARLO_BUILD_TESTS=OFF -DMARLO_BUILD_BENCHMARKS=OFF -DMARLO_SANITIZE=OFF >/dev/null
cmake --build "$build" --target marlo-editor marlo-preset marlo-documents
rm -f "$build"/${package_name}_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/${package_name}_*.deb)"
echo "package: $deb"

contents="$(dpkg-deb -c "$deb")"
doc="./usr/share/doc/$package_name"
for path in ./usr/bin/marlo-editor ./usr/bin/marlo-preset \
            ./usr/share/man/man1/marlo-editor.1.gz ./usr/share/man/man1/marlo-preset.1.gz \
            "./usr/share/applications/$app_id.desktop" "./usr/share/metainfo/$app_id.metainfo.xml" \
            ./usr/share/icons/hicolor/{48x48,64x64,128x128,256x256}/apps/$app_id.png \
            "./usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
            ./usr/share/mime/packages/orvane-marlo-preset.xml \
            "$doc/copyright" "$doc/changelog.gz" "$doc/user-guide/index.html"; do
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
    [[ -n "${tree:-}" ]] && rm -rf "$tree"
    if dpkg -s "$package_name" >/dev/null 2>&1; then
        DEBIAN_FRONTEND=noninteractive apt-get remove -y -q "$package_name" >/dev/null
    fi
}
trap cleanup EXIT

# What a packager checks before proposing the package to a distribution. As root lintian warns
# about that on its error stream; its tags are what is judged.
tree="$(mktemp -d)"
dpkg-deb -x "$deb" "$tree"
echo "lintian:"
status=0
tags="$(lintian --fail-on error,warning "$deb")" || status=$?
echo "${tags:-(no tags)}"
[[ $status == 0 ]] || fail "lintian found errors or warnings"
# The programs carry the distribution's hardening; lintian names each missing part, at any level.
hardening="$(lintian -I --pedantic "$deb" 2>/dev/null | grep "hardening-" || true)"
[[ -z "$hardening" ]] || fail "lintian finds hardening missing: $hardening"
echo "lintian -I --pedantic: no hardening-* tag"
echo "appstreamcli:"
appstreamcli validate --no-net --strict "$tree/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "the AppStream description is not valid"
# The tree as installed: the desktop entry the description names is there too.
appstreamcli validate-tree --no-net --strict "$tree" || fail "the installed AppStream data is not valid"
echo "desktop-file-validate:"
report="$(desktop-file-validate "$tree/usr/share/applications/$app_id.desktop" 2>&1)" ||
    fail "the desktop entry is not valid: $report"
[[ -z "$report" ]] || fail "desktop-file-validate: $report"
echo "(nothing to report)"

# The tool's manual page names every command as --help does.
page="$(MANWIDTH=200 man -E ascii -l "$tree/usr/share/man/man1/marlo-preset.1.gz" 2>&1)"
synopses="$("$build/marlo-preset" --help | sed -n 's/^  \(marlo-preset .*\)$/\1/p')"
[[ -n "$synopses" ]] || fail "marlo-preset --help lists no commands"
while read -r synopsis; do
    grep -qF "$synopsis" <<<"$page" || fail "the manual page lacks \"$synopsis\""
done <<<"$synopses"
echo "manual page: all $(wc -l <<<"$synopses") commands of marlo-preset --help"

DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
[[ -x /usr/bin/marlo-preset && -x /usr/bin/marlo-editor ]] || fail "the programs were not installed"
# Help > Open User Guide looks for the guide where the package put it.
grep -qaF "share/doc/$package_name/user-guide/index.html" /usr/bin/marlo-editor ||
    fail "the editor does not look for its guide under /usr/share/doc/$package_name"

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
