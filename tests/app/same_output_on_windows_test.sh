#!/usr/bin/env bash
# same_output_on_windows_test.sh LINUX_BUILD WINDOWS_BUILD SOURCE EMULATOR...: converts the example and 32
# generated ZADAZA files (both generations, both record framings, many sizes, several identifier
# offsets) in both formats with echo, and two files that fail, with the Linux and the Windows converter (the latter under the emulator), and
# compares console output, standard error, exit status and every file written, byte for byte.
# Exit status 77 (skipped) when the Linux build has no converter.
set -euo pipefail
linux=$1 windows=$2 source=$3
shift 3
emulator=("$@")
if [ ! -x "$linux/zadaza2krano" ] || [ ! -x "$linux/tools/zadaza-make" ]; then
  echo "no Linux build in $linux: build it first (cmake --workflow --preset test)"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Standard error is compared: Wine's refused starts, tried again, are named apart.
export ZZ_WINE_RETRY_LOG="$work/wine-retries.log"
failures=0
runs=0

# compare NAME ZADAZA_FILE: one conversion with the answers last set on both systems, in
# folders of their own.
compare() {
  local name=$1 zadaza=$2 system
  for system in linux windows; do
    mkdir -p "$work/$name/$system"
    cp "$zadaza" "$work/$name/$system/f.zdz"
  done
  printf '%s' "$answer_lines" > "$work/$name/answers"
  local status_linux=0 status_windows=0
  (cd "$work/$name/linux" && "$linux/zadaza2krano" < ../answers > ../linux.out 2> ../linux.err) ||
    status_linux=$?
  (cd "$work/$name/windows" &&
    "${emulator[@]}" "$windows/zadaza2krano.exe" < ../answers > ../windows.out 2> ../windows.err) ||
    status_windows=$?
  runs=$((runs + 1))
  local differs=""
  [ "$status_linux" = "$status_windows" ] || differs+=" exit status $status_linux/$status_windows;"
  cmp -s "$work/$name/linux.out" "$work/$name/windows.out" || differs+=" console;"
  cmp -s "$work/$name/linux.err" "$work/$name/windows.err" || differs+=" standard error;"
  diff -r "$work/$name/linux" "$work/$name/windows" > "$work/$name/files.diff" ||
    differs+=" files: $(head -c 300 "$work/$name/files.diff");"
  if [ -n "$differs" ]; then
    echo "$name differs:$differs"
    failures=$((failures + 1))
  fi
}

# answers GENERATION ORIENTATION ORIGO FORCE LENGTH OFFSET FORMAT: sets the dialogue's ten
# answers, the output under its default name, echo on.
answers() {
  printf -v answer_lines '%s\nf.zdz\n%s\n%s\n%s\n%s\n%s\n%s\n\nY\n' "$@"
}

"$linux/tools/zadaza-make" "$source/examples/soil.txt" "$work/example.zdz" > "$work/make.log"
answers N NEG 0.0 1.0 1.0 0 1
compare example-sesam "$work/example.zdz"
answers N NEG 0.0 1.0 1.0 0 2
compare example-knf "$work/example.zdz"

offsets=(0 7 -3 1000 250)
origins=(-20.0 0 5.5 -0.25)
scales=("1.0 1.0" "1000 1d-3" "0.5 2.0")
for i in $(seq 1 32); do
  generation=N old="" diameters=$((1 + i % 15))
  # An Old file has no count of diameters: always four slots.
  if ((i % 2 == 0)); then generation=O old=--old diameters=4; fi
  blocks=full
  if ((i % 3 == 0)); then blocks=led0; fi
  layers=$((1 + (i * 7) % 40))
  in_use=$((1 + (i * 5) % diameters))
  dsp=$(((i * 3) % 16))
  orientation=NEG
  if ((i % 4 == 1)); then orientation=POS; fi
  zadaza="$work/generated-$i.zdz"
  "$linux/tools/zadaza-make" --synthetic --layers "$layers" --diameters "$diameters" \
    --in-use "$in_use" --dsp "$dsp" --seed "$i" --blocks "$blocks" $old "$zadaza" > "$work/make.log"
  read -r force length <<< "${scales[i % 3]}"
  for format in 1 2; do
    answers "$generation" "$orientation" "${origins[i % 4]}" "$force" "$length" \
      "${offsets[i % 5]}" "$format"
    compare "generated-$i-format-$format" "$zadaza"
  done
done

# Failures too: a file beyond the size limits and one cut short.
"$linux/tools/zadaza-make" --synthetic --layers 81 --diameters 1 --in-use 1 --dsp 0 \
  "$work/beyond.zdz" > "$work/make.log"
answers N NEG 0 1.0 1.0 0 1
compare beyond-limits "$work/beyond.zdz"
head -c 1000 "$work/generated-1.zdz" > "$work/cut.zdz"
compare cut-short "$work/cut.zdz"

[ ! -s "$ZZ_WINE_RETRY_LOG" ] || cat "$ZZ_WINE_RETRY_LOG"
echo "$runs conversions compared, $((runs - failures)) the same, $failures different"
[ "$failures" = 0 ]
