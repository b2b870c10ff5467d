#!/usr/bin/env bash
# Runs a Windows program under Wine in the test prefix ($WINEPREFIX, made by
# wine_server.sh start), quietly and without a display.
set -eu
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
export WINEPREFIX WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
exec wine "$@"
