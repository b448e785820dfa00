#!/bin/sh
# wine-run.sh PREFIX PROGRAM [ARGUMENT...]: runs a Windows program under Wine with the Wine
# prefix PREFIX (made on first use), without Wine's debug output, and keeps one wineserver
# running for a minute after the last program so that the next start is quick.
#
# Wine now and then ends with status 1 before the program runs, having written nothing (here in
# about one run of all tests in five). None of our programs ends so: each says why it failed,
# and a test program writes its banner first. That ending alone is tried again, twice at most,
# each try named on standard error, or in the file ZZ_WINE_RETRY_LOG names (for a caller that
# compares the program's standard error). So that a try is known to have written nothing, the
# program's output waits in files until it ends.
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
output=$(mktemp) errors=$(mktemp)
trap 'rm -f "$output" "$errors"' EXIT
tries=3
try=1
while :; do
  status=0
  wine "$@" > "$output" 2> "$errors" || status=$?
  if [ "$status" != 1 ] || [ -s "$output" ] || [ -s "$errors" ] || [ "$try" = "$tries" ]; then
    break
  fi
  try=$((try + 1))
  note="wine-run.sh: wine ended with status 1 before $1 ran (nothing written); try $try of $tries"
  if [ -n "${ZZ_WINE_RETRY_LOG:-}" ]; then
    echo "$note" >> "$ZZ_WINE_RETRY_LOG"
  else
    echo "$note" >&2
  fi
  sleep 1
done
cat "$output"
cat "$errors" >&2
exit "$status"
