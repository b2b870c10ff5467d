#!/usr/bin/env bash
# Times our interpreter alone on every benchmark, once each, checking what
# each printed: a quick look while working on speed. compare.sh also times
# the peers; this passes its options on to it.
#
#   bench/run.sh [--build DIR] [--only NAME] [--rounds N] ...
exec "$(dirname "$0")/compare.sh" --peers none --rounds 1 "$@"
