#!/bin/sh
# wine-run.sh PREFIX PROGRAM [ARGUMENT...]: runs a Windows program under Wine with the Wine
# prefix PREFIX (made on first use), without Wine's debug output, and keeps one wineserver
# running for a minute after the last program so that the next start is quick.
set -eu
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/system.reg" ]; then
  # Programs started together make the prefix once; the making talks on standard error.
  mkdir -p "$prefix"
  flock "$prefix/.making" sh -c '[ -f "$WINEPREFIX/system.reg" ] || wineboot --init' \
    > "$prefix/.making.log" 2>&1
  wineserver --wait
fi
# Fails when a server already runs for this prefix, which is as good. It is cut loose from
# this program's output so that whoever reads that output is not kept waiting by it.
wineserver -p60 < /dev/null > /dev/null 2>&1 || true
exec wine "$@"
