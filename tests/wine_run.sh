#!/usr/bin/env bash
# Runs a Windows program under Wine in the test prefix ($WINEPREFIX, made by
# wine_server.sh start), quietly and without a display. WINEARCH (win32 or
# win64) says which loader.
set -eu
source "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"
exec "$WINE_LOADER" "$@"
