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
  flock -o "$prefix/.making" sh -c '[ -f "$WINEPREFIX/system.reg" ] || wineboot --init' \
    > "$prefix/.making.log" 2>&1
  wineserver --wait
fi
# `wineserver -p60` fails when a server already runs for this prefix, which is as good. A new
# server's first program starts Wine's services, which live as long as the server and hold
# that program's output open: they are started here, cut loose from it and before any other
# program, so that whoever reads the output of the program below is not kept waiting. The
# locks (-o) are not handed down to the server and the services, which would keep them.
flock -o "$prefix/.starting" sh -c \
  'if wineserver -p60; then wine wineboot; fi' < /dev/null > /dev/null 2>&1 || true
exec wine "$@"
