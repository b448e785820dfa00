#!/usr/bin/env bash
# wine_run_test.sh WINE_RUN: runs the Wine runner with a stand-in `wine` that ends each start as
# a plan says, and checks that only a start ending with status 1 and nothing written is tried
# again, at most three starts, each try named where it should be, and that the program's
# output, standard error and status come through unchanged.
set -euo pipefail
wine_run=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/bin" "$work/prefix"
touch "$work/prefix/system.reg"
# The stand-in: start N ends as the Nth word of $PLAN (the last word for later starts).
cat > "$work/bin/wine" << 'EOF'
#!/usr/bin/env bash
starts=$(($(cat "$STARTS" 2> /dev/null || echo 0) + 1))
echo "$starts" > "$STARTS"
read -r -a plan <<< "$PLAN"
ending=${plan[$((starts <= ${#plan[@]} ? starts - 1 : ${#plan[@]} - 1))]}
case "$ending" in
  silent1) exit 1 ;;
  silent2) exit 2 ;;
  said1) echo "cannot open the file" >&2; exit 1 ;;
  printed1) echo "a question"; exit 1 ;;
  ran) echo "ran with $*"; echo "a warning" >&2; exit 0 ;;
esac
EOF
# No wineserver runs: the runner starts none, and the stand-in needs none.
printf '#!/bin/sh\nexit 1\n' > "$work/bin/wineserver"
chmod +x "$work/bin/wine" "$work/bin/wineserver"

failures=0
# check NAME PLAN STARTS STATUS OUTPUT ERRORS: one run of `program.exe --flag`.
check() {
  local name=$1 plan=$2 starts=$3 status=$4 output=$5 errors=$6
  rm -f "$work/starts" "$work/retries.log"
  local got_status=0
  PATH="$work/bin:$PATH" PLAN=$plan STARTS="$work/starts" \
    "$wine_run" "$work/prefix" program.exe --flag > "$work/out" 2> "$work/err" || got_status=$?
  local differs=""
  [ "$(cat "$work/starts")" = "$starts" ] || differs+=" starts $(cat "$work/starts"), not $starts;"
  [ "$got_status" = "$status" ] || differs+=" status $got_status, not $status;"
  [ "$(cat "$work/out")" = "$output" ] || differs+=" output '$(cat "$work/out")';"
  [ "$(cat "$work/err")" = "$errors" ] || differs+=" errors '$(cat "$work/err")';"
  if [ -n "$differs" ]; then
    echo "$name:$differs"
    failures=$((failures + 1))
  fi
}

try2="wine-run.sh: wine ended with status 1 before program.exe ran (nothing written); try 2 of 3"
try3="wine-run.sh: wine ended with status 1 before program.exe ran (nothing written); try 3 of 3"
ran="ran with program.exe --flag"
#     name                          plan                  starts status output errors
check "runs once"                   "ran"                 1      0      "$ran" "a warning"
check "silent status 1, then runs"  "silent1 ran"         2      0      "$ran" "$try2"$'\n'"a warning"
check "silent status 1 three times" "silent1"             3      1      ""     "$try2"$'\n'"$try3"
check "status 1 with a reason"      "said1 ran"           1      1      ""     "cannot open the file"
check "status 1 with output"        "printed1 ran"        1      1      "a question" ""
check "silent status 2"             "silent2 ran"         1      2      ""     ""
check "silent, then a reason"       "silent1 said1 ran"   2      1      ""     "$try2"$'\n'"cannot open the file"

# A caller that compares standard error has the tries named in a file of its own.
rm -f "$work/starts" "$work/retries.log"
PATH="$work/bin:$PATH" PLAN="silent1 ran" STARTS="$work/starts" ZZ_WINE_RETRY_LOG="$work/retries.log" \
  "$wine_run" "$work/prefix" program.exe --flag > "$work/out" 2> "$work/err"
if [ "$(cat "$work/err")" != "a warning" ] || [ "$(cat "$work/retries.log")" != "$try2" ]; then
  echo "a try named on standard error despite ZZ_WINE_RETRY_LOG: '$(cat "$work/err")'"
  failures=$((failures + 1))
fi

echo "$failures of 8 runs of the Wine runner wrong"
[ "$failures" = 0 ]
