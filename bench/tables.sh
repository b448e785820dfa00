# Sourced by bench/run.sh --tables, with $build, $runs, $work and the largest file $input made:
# wall time of whole runs of zadaza-view's curve table and JSON (22080 rows) and of
# zadaza-make --decode, median of $runs runs each, against the aim of 0.5 s. Sets $status.
view=$build/tools/zadaza-view

# Median wall time in milliseconds of $runs runs of the command.
median_ms() {
  local times=() start end
  for ((r = 0; r < runs; r++)); do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { printf "%.1f", t[int((NR + 1) / 2)] / 1000 }'
}

printf 'input: %s bytes; %s runs each; load average %s\n' \
  "$(stat -c %s "$input")" "$runs" "$(cut -d' ' -f1-3 /proc/loadavg)"
status=0
for what in table json decode; do
  case $what in
    table) command=("$view" --mudline 0 --table "$work/t.csv" "$input") ;;
    json) command=("$view" --mudline 0 --json "$work/t.json" "$input") ;;
    decode) command=("$make_tool" --decode "$input" -o "$work/t.txt") ;;
  esac
  ms=$(median_ms "${command[@]}")
  verdict=$(awk -v ms="$ms" 'BEGIN { print (ms < 500) ? "under 0.5 s" : "OVER 0.5 s" }')
  [[ $verdict == "under 0.5 s" ]] || status=1
  printf '%-6s | %8s ms | %s\n' "$what" "$ms" "$verdict"
done
printf 'sizes: table %s bytes, JSON %s bytes\n' "$(stat -c %s "$work/t.csv")" "$(stat -c %s "$work/t.json")"
