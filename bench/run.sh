#!/usr/bin/env bash
# Runs every benchmark under bench/ against a build (KESTRIX_BUILD_DIR, default
# build/) and prints one table: what was measured, the figure and the target.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${KESTRIX_BUILD_DIR:-$root/build}"
runs="${RUNS:-20}"

row() { printf '%-46s %14s %14s\n' "$1" "$2" "$3"; }
row "measured" "figure" "target"

# A whole start of the program, offscreen, on a prepared data directory.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/app/ktx" --data-dir "$work" config set "CWPATH=$root/samples/clarion" >/dev/null
"$build/app/ktx" --data-dir "$work" equates load >/dev/null
"$build/app/ktx" --data-dir "$work" popups load >/dev/null
if [ -x "$build/app/ui/kestrix" ]; then
  times=()
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    QT_QPA_PLATFORM=offscreen "$build/app/ui/kestrix" --data-dir "$work" --exit-after-start >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000000 )))
  done
  sorted=($(printf '%s\n' "${times[@]}" | sort -n))
  row "kestrix start to exit (median of $runs)" "${sorted[$((runs / 2))]} ms" ""
fi

# Google Benchmark figures, one row each.
gbench() {
  local binary="$build/bench/$1"
  [ -x "$binary" ] || return 0
  "$binary" --benchmark_min_time=0.2 --benchmark_format=csv 2>/dev/null | awk -F, -v targets="$2" '
    BEGIN { n = split(targets, t, ";"); for (i = 1; i <= n; i++) { split(t[i], kv, "="); target[kv[1]] = kv[2] } }
    /^name,/ { next }
    /^"/ { name = $1; gsub(/"/, "", name); time = $3; unit = $5;
           figure = (unit == "ms") ? sprintf("%.2f ms", time) : sprintf("%.1f %s", time, unit);
           if (name ~ /10000\/1000/) ratio = time / last; else last = time;
           printf "%-46s %14s %14s\n", name, figure, target[name];
           if (name ~ /10000\/1000/) printf "%-46s %14.2f %14s\n", "  twice as large / once", ratio, "< 2.3" }'
}
gbench data_file_bench ""
gbench message_bench ""
gbench key_analysis_bench "analyse/5000/500=< 50 ms"
if [ -x "$build/bench/equate_load_bench" ]; then
  "$build/bench/equate_load_bench" | tail -n +2 | while IFS= read -r line; do echo "$line"; done
fi
