#!/usr/bin/env bash
# The Wine prefix and server that the Windows test runs share.
#   wine_server.sh start  makes the prefix once, then keeps a wineserver up so
#                         each run costs a fraction of a second
#   wine_server.sh stop   ends that wineserver
set -eu
source "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"

# Debian keeps wineserver out of PATH.
server=$(command -v wineserver || true)
for candidate in /usr/lib/wine/wineserver /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver32 /usr/lib/i386-linux-gnu/wine/wineserver; do
  [[ -n $server ]] && break
  [[ -x $candidate ]] && server=$candidate
done
[[ -n $server ]] || { echo "wine_server.sh: no wineserver; run scripts/install-deps.sh" >&2; exit 1; }

case "${1:-}" in
  start)
    # Wine's helper processes live as long as the server and keep whatever
    # output they inherited; given a test's pipe, they would hold that test
    # open. So they start here, talking to a log file.
    log=$(dirname "$WINEPREFIX")/wine.log
    mkdir -p "$(dirname "$WINEPREFIX")"
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
      echo "making the Wine prefix $WINEPREFIX (once)"
      "$WINE_LOADER" wineboot --init </dev/null >>"$log" 2>&1
      "$server" --wait
    fi
    # Stays up between runs; ends by itself after 10 idle minutes should
    # stop never be called.
    # A server that is already up (started by hand, or by an earlier run)
    # serves as well.
    "$server" --persistent=600 </dev/null >>"$log" 2>&1 || true
    "$WINE_LOADER" cmd /c exit </dev/null >>"$log" 2>&1
    ;;
  stop)
    "$server" --kill 2>/dev/null || true
    ;;
  *)
    echo "usage: wine_server.sh start|stop" >&2
    exit 2
    ;;
esac
