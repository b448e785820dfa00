# Sourced by bench/run.sh --profile, with $build, $runs, $work and $make_tool: wall time of
# whole runs of zadaza-make --profile making the ZADAZA file of an 80-layer profile (80 units
# of 1 m, clay and sand in turn) for 4 diameters, median of $runs runs, against the aim of
# 50 ms; then the file is checked against its profile. Sets $status.
view=$build/tools/zadaza-view
profile=$work/profile80.csv

{
  echo "top,bottom,soil,unit_weight,su_top,su_bottom,eps50,J,t_res,phi,k,beta,f_lim,Nq,q_lim"
  for ((u = 0; u < 80; u++)); do
    if ((u % 2 == 0)); then
      echo "$u,$((u + 1)),clay,7,$((10 + 2 * u)),$((12 + 2 * u)),0.01,0.5,0.8,,,,,,"
    else
      echo "$u,$((u + 1)),sand,9.5,,,,,,$((28 + u % 10)),20000,0.37,81,40,9600"
    fi
  done
} >"$profile"

times=()
for ((r = 0; r < runs; r++)); do
  start=$(date +%s%N)
  "$make_tool" --profile "$profile" --diameters 0.9,1.2,1.5,2.0 --loading cyclic "$work/p.zdz"
  end=$(date +%s%N)
  times+=($(((end - start) / 1000)))
done
ms=$(printf '%s\n' "${times[@]}" | sort -n |
  awk '{ t[NR] = $1 } END { printf "%.1f", t[int((NR + 1) / 2)] / 1000 }')
verdict=$(awk -v ms="$ms" 'BEGIN { print (ms < 50) ? "under 50 ms" : "OVER 50 ms" }')
status=0
[[ $verdict == "under 50 ms" ]] || status=1
printf 'profile: 80 layers, 4 diameters; %s runs; load average %s\n' "$runs" \
  "$(cut -d' ' -f1-3 /proc/loadavg)"
printf 'zadaza-make --profile | %8s ms | %s | file %s bytes\n' "$ms" "$verdict" \
  "$(stat -c %s "$work/p.zdz")"
"$view" --check "$profile" --loading cyclic "$work/p.zdz" 2>/dev/null | tail -1 || status=1
