# Sourced by the scripts that run the Windows edition under wine: one prefix of the build's
# own, booted once, with one wine server kept running until the script ends, so that each
# program starts in a fraction of a second rather than seconds.
export WINEPREFIX="${WINEPREFIX:-$PWD/build-windows/wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No prompts to install wine's .NET and HTML engines, which nothing here uses.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

start_wine() {
    [ -f "$WINEPREFIX/system.reg" ] || /usr/lib/wine/wine64 wineboot -i
    /usr/lib/wine/wineserver -p
    trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
}

# A Linux path as the Windows programs under wine see it.
windows_path() {
    printf 'Z:%s' "${1//\//\\}"
}
