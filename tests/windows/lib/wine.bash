# Shared by the scripts that run the Windows build under Wine: the prefix beside the build, made
# once, and the 64-bit loader. Sourced, not run.
# Needs a display with a window manager already up (the caller's Xvfb and openbox): making a
# prefix and the programs' windows both open windows.

# No network here: a fresh prefix would offer to download Mono and Gecko, which nothing needs.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"
MARLO_WINE="${MARLO_WINE:-/usr/lib/wine/wine64}"
export WINELOADER="$MARLO_WINE"

# wine_prefix BUILD_DIR: uses BUILD_DIR/wine-prefix, making it first when it is not there yet.
wine_prefix()
{
    export WINEPREFIX="$1/wine-prefix"
    [[ -f "$WINEPREFIX/system.reg" ]] && return 0
    [[ -n "${DISPLAY:-}" ]] || { echo "wine_prefix: DISPLAY is not set" >&2; return 1; }
    local start=$SECONDS
    "$MARLO_WINE" wineboot -i >"$1/wine-prefix.log" 2>&1 || { cat "$1/wine-prefix.log" >&2; return 1; }
    wineserver -w
    echo "made the Wine prefix $WINEPREFIX in $((SECONDS - start)) s" >&2
}

# wine_run PROGRAM.exe [ARGS...]: runs a Windows program in the prefix, its exit code kept.
wine_run()
{
    "$MARLO_WINE" "$@"
}
