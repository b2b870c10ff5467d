# Sourced by the Wine scripts: the settings every test run under Wine shares,
# and WINE_LOADER, the Wine loader for the prefix's architecture.
#
# WINEARCH chooses: win32 (the default) runs 32-bit programs through the
# `wine` front script; win64 calls the 64-bit loader itself, because Debian's
# front script picks the 32-bit loader whenever wine32 is installed, and on a
# host that cannot run 32-bit programs that fails even for 64-bit ones.
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
export WINEPREFIX WINEARCH=${WINEARCH:-win32} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# The code pages (OEM 437, ANSI 1252) follow the locale; the tests expect these.
export LC_ALL=C.UTF-8

case "$WINEARCH" in
  win32) WINE_LOADER=$(command -v wine || true) ;;
  win64)
    WINE_LOADER=$(command -v /usr/lib/wine/wine64 wine64 || true)
    WINE_LOADER=${WINE_LOADER%%$'\n'*}
    # Wine starts its own helper programs through this variable.
    [[ -n $WINE_LOADER ]] && export WINELOADER=$WINE_LOADER
    ;;
  *) echo "wine_env.sh: WINEARCH must be win32 or win64, not $WINEARCH" >&2; exit 2 ;;
esac
[[ -n $WINE_LOADER ]] || { echo "wine_env.sh: no Wine loader for $WINEARCH; run scripts/install-deps.sh" >&2; exit 1; }
