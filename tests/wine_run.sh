#!/usr/bin/env bash
# Runs a Windows program under Wine in the test prefix ($WINEPREFIX, made by
# wine_server.sh start), quietly and without a display.
set -eu
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
export WINEPREFIX WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# The code pages (OEM 437, ANSI 1252) follow the locale; the tests expect these.
export LC_ALL=C.UTF-8
exec wine "$@"
