# Sourced by the scripts that run the Windows edition under wine: one prefix of the build's
# own, booted once, with one wine server kept running until the script ends, so that each
# program starts in a fraction of a second rather than seconds.
export WINEPREFIX="${WINEPREFIX:-$PWD/build-windows/wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No prompts to install wine's .NET and HTML engines, which nothing here uses.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

start_wine() {
    # A server of its own, started before anything else so that it is the one that stays.
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    mkdir -p "$WINEPREFIX"
    /usr/lib/wine/wineserver -p
    trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1
        # wine draws its own window frames: with no window manager on a virtual display, a
        # managed window makes wine wait two seconds each time one is destroyed.
        /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    else
        # The prefix's services start now, holding no pipe that a test's reader waits on.
        /usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1
    fi
}

# A Linux path as the Windows programs under wine see it.
windows_path() {
    printf 'Z:%s' "${1//\//\\}"
}
