#!/usr/bin/env bash
# Runs each fuzz target for SECONDS seconds, one after another, starting from the corpus kept
# in fuzz/corpus/ and the inputs that once found something (fuzz/regressions/). New inputs
# go to build-fuzz/corpus/; a finding is written to build-fuzz/findings/ and fails the run.
#
#   fuzz/run.sh SECONDS [TARGET...]     TARGET: whole-run, answers, fields, command-line
#                                        (default: all)
#
# Builds the fuzz preset first (clang with libFuzzer).
set -euo pipefail
cd "$(dirname "$0")/.."
# Absolute paths: the targets work in a scratch folder of their own.
root=$PWD

seconds=${1:?usage: fuzz/run.sh SECONDS [TARGET...]}
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(whole-run answers fields command-line)

declare -A max_len=([whole-run]=24000 [answers]=4096 [fields]=96 [command-line]=4096)

mkdir -p build-fuzz
cmake --workflow --preset fuzz > build-fuzz/build.log 2>&1 || { cat build-fuzz/build.log; exit 1; }

status=0
for target in "${targets[@]}"; do
  [ -n "${max_len[$target]:-}" ] || { echo "no fuzz target '$target'" >&2; exit 2; }
  work=$root/build-fuzz/corpus/$target
  findings=$root/build-fuzz/findings
  mkdir -p "$work" "$findings" "fuzz/regressions/$target"
  echo "== $target: ${seconds} s"
  # -close_fd_mask=2: the program's one-line diagnostics would flood the log; libFuzzer and
  # the sanitizers still report on their own descriptor.
  log=build-fuzz/$target.log
  if "build-fuzz/fuzz/fuzz-$target" -max_total_time="$seconds" -timeout=10 \
      -max_len="${max_len[$target]}" -close_fd_mask=2 -print_final_stats=1 \
      -artifact_prefix="$findings/$target-" \
      "$work" "$root/fuzz/corpus/$target" "$root/fuzz/regressions/$target" > "$log" 2>&1; then
    grep -E '^(INFO: seed|#[0-9]+[[:space:]]+(INITED|DONE))' "$log" || true
  else
    tail -n 40 "$log" >&2
    echo "== $target: FINDING, see $findings/ and $log" >&2
    status=1
  fi
done
exit $status
