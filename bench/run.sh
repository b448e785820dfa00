#!/usr/bin/env bash
# Benchmark of the converter on the largest ZADAZA file the size limits allow, with the echo
# report, in both output formats.
#
# CPU time (user + system of each finished run) and wall time are medians over paired runs
# against the floor (bench/floor.cpp: one process that reads the same answers and input file
# and writes the same byte counts through buffers of the same size); the two alternate, so a
# busy machine slows both alike. Then instructions per run where `perf` can count them, and
# the converter's peak resident memory, and its heap allocations from the start of main, counted
# by the counting-allocator build.
#
# Usage: bench/run.sh [runs]              (default 41 pairs per format)
#        bench/run.sh --exactness [M]     (the long run of the quick digits, M million values
#                                          per digit count, default 20)
#        bench/run.sh --tables [runs]     (zadaza-view's table and JSON and zadaza-make --decode
#                                          on the same file, bench/tables.sh; default 21 runs)
#        bench/run.sh --profile [runs]    (zadaza-make --profile of an 80-layer, 4-diameter
#                                          profile, bench/profile.sh; default 21 runs)
# Build dir: $BENCH_BUILD_DIR or build-bench in the source tree.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD_DIR:-$root/build-bench}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
if [[ ${1:-} == --exactness ]]; then
  cmake --build "$build" -j2 --target bench-exactness >/dev/null
  exec "$build/bench/bench-exactness" "${2:-20}"
fi
if [[ ${1:-} == --tables || ${1:-} == --profile ]]; then
  runs=${2:-21}
  cmake --build "$build" -j2 --target zadaza-make zadaza-view >/dev/null
else
  runs=${1:-41}
  cmake --build "$build" -j2 --target zadaza2krano zadaza-make zadaza2krano-counting bench-measure \
    bench-floor >/dev/null
fi

converter=$build/zadaza2krano
counting=$build/bench/zadaza2krano-counting
make_tool=$build/tools/zadaza-make
measure=$build/bench/bench-measure
floor=$build/bench/bench-floor

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [[ ${1:-} == --profile ]]; then
  source "$root/bench/profile.sh"
  exit "$status"
fi
input=$work/largest.zdz
"$make_tool" --synthetic --layers 80 --diameters 15 --in-use 4 --dsp 15 --seed 1 "$input" >/dev/null
if [[ ${1:-} == --tables ]]; then
  source "$root/bench/tables.sh"
  exit "$status"
fi

# The answers in dialogue order: generation, file, orientation, origin, force scale, length
# scale, offset, format, output name, then (after reading) the echo question.
answers() {
  printf '\n%s\nPOS\n0.0\n1.0\n1.0\n0\n%s\n%s\nY\n' "$input" "$1" "$work/out.fem"
}

# One checked run; leaves the console text in $work/console.
run_once() {
  local program=$1 format=$2
  "$program" <"$work/answers$format" >"$work/console" 2>"$work/stderr"
  grep -q "Conversion Completed" "$work/console" || {
    echo "run failed (format $format):" >&2
    cat "$work/console" "$work/stderr" >&2
    exit 1
  }
}

instructions() {
  local count
  count=$(perf stat -x, -e instructions:u,instructions:k "$@" 2>&1 >/dev/null |
    awk -F, '$1 ~ /^[0-9]+$/ { n += $1 } END { if (n > 0) print n }') || true
  if [[ -n $count ]]; then echo "$((count / 1000000)) M"; else echo "n/a"; fi
}

printf 'input: %s bytes; %s paired runs per format; load average %s\n' \
  "$(stat -c %s "$input")" "$runs" "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-6s | %9s | %9s | %9s | %10s | %10s | %12s | %12s | %6s | %8s\n' format "ours CPU" \
  "floor CPU" "ours/floor" "ours wall" "floor wall" "ours instr." "floor instr." allocs "peak RSS"
for format in 1 2; do
  answers "$format" >"$work/answers$format"
  run_once "$converter" "$format"
  floor_command=("$floor" "$input" "$work/floor.echo" "$(stat -c %s "$input.echo")"
    "$work/floor.fem" "$(stat -c %s "$work/out.fem")" - "$(stat -c %s "$work/console")")
  read -r _ _ ours_cpu _ ours_wall _ ours_rss < <("$measure" "$runs" "$work/answers$format" -- "$converter" -- \
    "$work/answers$format" -- "${floor_command[@]}" | tee "$work/measured" | sed -n 1p)
  read -r _ _ floor_cpu _ floor_wall _ _ < <(sed -n 2p "$work/measured")
  ratio=$(sed -n 's/^ratio A\/B cpu //p' "$work/measured")
  ours_instructions=$(instructions "$converter" <"$work/answers$format")
  floor_instructions=$(instructions "${floor_command[@]}" <"$work/answers$format")
  run_once "$counting" "$format"
  allocations=$(sed -n 's/^allocations: //p' "$work/stderr")
  printf '%-6s | %6s ms | %6s ms | %9s | %7s ms | %7s ms | %12s | %12s | %6s | %4s KiB\n' \
    "$([[ $format == 1 ]] && echo SESAM || echo KNF)" "$ours_cpu" "$floor_cpu" "$ratio" \
    "$ours_wall" "$floor_wall" "$ours_instructions" "$floor_instructions" "$allocations" "$ours_rss"
done
