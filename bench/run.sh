#!/usr/bin/env bash
# Benchmark of the converter on the largest ZADAZA file the size limits allow: median wall
# time of whole runs with echo in both output formats, then allocations and peak resident set
# size from the counting-allocator build.
#
# Usage: bench/run.sh [runs]     (default 21 runs per format; build dir: $BENCH_BUILD_DIR or
#                                  build-bench in the source tree)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD_DIR:-$root/build-bench}
runs=${1:-21}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j2 --target zadaza2krano zadaza-make zadaza2krano-counting >/dev/null

converter=$build/zadaza2krano
counting=$build/bench/zadaza2krano-counting
make_tool=$build/tools/zadaza-make

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
input=$work/largest.zdz
"$make_tool" --synthetic --layers 80 --diameters 15 --in-use 4 --dsp 15 --seed 1 "$input" >/dev/null

# The answers in dialogue order: generation, file, orientation, origin, force scale, length
# scale, offset, format, output name, then (after reading) the echo question.
answers() {
  printf '\n%s\nPOS\n0.0\n1.0\n1.0\n0\n%s\n%s\nY\n' "$input" "$1" "$work/out.fem"
}

one_run_ms() {
  local program=$1 format=$2
  rm -f "$work/out.fem" "$input.echo"
  answers "$format" >"$work/answers"
  local start end
  start=$(date +%s%N)
  "$program" <"$work/answers" >"$work/console" 2>"$work/stderr"
  end=$(date +%s%N)
  grep -q "Conversion Completed" "$work/console" || {
    echo "run failed (format $format):" >&2
    cat "$work/console" "$work/stderr" >&2
    exit 1
  }
  echo $(((end - start) / 1000))
}

median_ms() {
  sort -n | awk '{ t[NR] = $1 } END { m = t[int((NR + 1) / 2)]; printf "%.2f", m / 1000 }'
}

printf 'input: %s bytes\n' "$(stat -c %s "$input")"
for format in 1 2; do
  one_run_ms "$converter" "$format" >/dev/null  # warm the file cache
  median=$(for _ in $(seq "$runs"); do one_run_ms "$converter" "$format"; done | median_ms)
  lines=$(wc -l <"$work/out.fem")
  printf 'format %s: median wall time %s ms over %s runs (%s output lines, target < 20 ms)\n' \
    "$format" "$median" "$runs" "$lines"
done

for format in 1 2; do
  one_run_ms "$counting" "$format" >/dev/null
  allocations=$(sed -n 's/^allocations: //p' "$work/stderr")
  rss=$(sed -n 's/^peak RSS KiB: //p' "$work/stderr")
  printf 'format %s: %s allocations from main on (target 0), peak RSS %s KiB (target < 8192 KiB)\n' \
    "$format" "$allocations" "$rss"
done
