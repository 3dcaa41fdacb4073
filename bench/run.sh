#!/usr/bin/env bash
# Wall time of a whole start of the GUI (offscreen) on a prepared data
# directory: from launch to exit with --exit-after-start. Prints the median
# and the spread of RUNS runs, then the benchmarks under bench/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${KESTRIX_BUILD_DIR:-$root/build}"
runs="${RUNS:-20}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/app/ktx" --data-dir "$work" config set "CWPATH=$root/samples/clarion" >/dev/null
export QT_QPA_PLATFORM=offscreen
times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  "$build/app/ui/kestrix" --data-dir "$work" --exit-after-start >/dev/null 2>&1
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000 )))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "kestrix start to exit (--exit-after-start, offscreen), $runs runs:"
echo "  median ${sorted[$((runs / 2))]} us, min ${sorted[0]} us, max ${sorted[$((runs - 1))]} us"
for b in data_file_bench message_bench key_analysis_bench equate_load_bench; do
  if [ -x "$build/bench/$b" ]; then
    if [ "$b" = equate_load_bench ]; then "$build/bench/$b"; else "$build/bench/$b" --benchmark_min_time=0.2; fi
  fi
done
