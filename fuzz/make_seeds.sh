#!/usr/bin/env bash
# Writes the seed corpora of fuzz/corpus/ afresh: small ZADAZA files made with zadaza-make
# (each behind its byte of dialogue choices), typical console answers, and one value per field
# form. Needs the normal build (build/tools/zadaza-make).
set -euo pipefail
cd "$(dirname "$0")"
make_tool=../build/tools/zadaza-make
[ -x "$make_tool" ] || { echo "build first: cmake --workflow --preset test" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
rm -rf corpus
mkdir -p corpus/whole-run corpus/answers corpus/fields corpus/command-line

# name, choices byte (octal; see whole_run_target.cpp), zadaza-make arguments
run_seed() {
  local name=$1 choices=$2
  shift 2
  "$make_tool" "$@" "$scratch/$name.zdz" > /dev/null
  { printf "\\$choices"; cat "$scratch/$name.zdz"; } > "corpus/whole-run/$name"
}
run_seed new-sesam 000 --synthetic --layers 1 --diameters 1 --in-use 1 --dsp 1
run_seed new-knf-pos 006 --synthetic --layers 2 --diameters 2 --in-use 2 --dsp 0 --seed 2
run_seed old-knf 003 --old --synthetic --layers 1 --diameters 4 --in-use 2 --dsp 0
run_seed led0-offset 030 --blocks led0 --synthetic --layers 1 --diameters 3 --in-use 1 --dsp 2
run_seed far-mudline 040 --synthetic --layers 3 --diameters 1 --in-use 1 --dsp 0 --seed 3
run_seed no-layers 002 --synthetic --layers 0 --diameters 1 --in-use 1 --dsp 0

cp ../examples/answers-sesam.txt corpus/answers/example-sesam
cp ../examples/answers-knf.txt corpus/answers/example-knf
printf 'N\r\n-1.5D+03, 2\r\n  +7 / 8\n' > corpus/answers/crlf-exponent-d
printf '\n\n  ,\n.5e-400\n1E400\n2147483648\n-2147483648\n' > corpus/answers/limits
printf 'x\n1.0\n12x\n' > corpus/answers/unreadable

# form, width, digits (octal), then the 8 bytes of the value (little-endian)
field_seed() {
  printf "\\$2\\$3\\$4$5" > "corpus/fields/$1"
}
field_seed integer 000 004 000 '\071\060\000\000\000\000\000\000'
field_seed fixed 001 007 001 '\000\000\000\000\000\000\076\100'
field_seed exponent 002 013 003 '\000\000\000\000\100\034\310\100'
field_seed scaled 003 013 003 '\000\000\000\000\100\034\310\300'
field_seed tie 001 005 002 '\000\000\000\000\000\000\300\077'
field_seed tiny 003 020 010 '\001\000\000\000\000\000\000\000'
field_seed text 004 012 000 '\000\000\000\000\000\000\000\000FORMATTED'
field_seed layout 005 003 023 '\000\000\000\000\000\000\360\077'
field_seed compiled-exponent 006 004 000 '\000\000\000\000\100\034\310\100'

# the arguments after the program name, each ended by a NUL
argument_seed() {
  local name=$1
  shift
  printf '%s\0' "$@" > "corpus/command-line/$name"
}
argument_seed sesam --mudline=-20.0 --format sesam site.zdz
argument_seed knf-all --old --orientation POS --mudline -1.5D+03 --force-scale 1.0 \
  --length-scale=0.001 --id-offset 1000000 --format=KNF -o out.knf --echo -- -site.zdz
argument_seed help --help
argument_seed unknown --mudline=1 --colour x.zdz
argument_seed missing-value x.zdz --format
ls -l corpus/*
