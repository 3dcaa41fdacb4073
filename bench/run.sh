#!/usr/bin/env bash
# Runs every benchmark under bench/ against a build (KESTRIX_BUILD_DIR, default
# build/) and prints one table: what was measured, the figure and the target.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${KESTRIX_BUILD_DIR:-$root/build}"
runs="${RUNS:-20}"

row() { printf '%-46s %14s %14s\n' "$1" "$2" "$3"; }
row "measured" "figure" "target"

# Median wall time in ms of `runs` runs of a command; runs alternate between the
# commands compared, so both see the same load of the machine. The clock is the shell's own:
# starting `date` around each run would add two process starts to both sides of a ratio.
declare -A spent
timed() { # key command...
  local key=$1; shift
  local start end
  start=${EPOCHREALTIME/[.,]/}
  "$@" >/dev/null 2>&1 || true
  end=${EPOCHREALTIME/[.,]/}
  spent[$key]+="$(( 10#$end - 10#$start )) "
}
median() { printf '%s\n' ${spent[$1]} | sort -n | awk '{v[NR] = $1} END {printf "%.2f", v[int((NR + 1) / 2)] / 1000}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
instructions() { # Valgrind counts instructions repeatably, where times vary with the machine's load
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null | awk '/refs:/ {gsub(",", "", $NF); print $NF}'
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ktx="$build/app/ktx"

# ktx message generate against a hello-world process linked as ktx is.
"$ktx" --data-dir "$work/cli" config set "CWPATH=$root/samples/clarion" >/dev/null
generate=("$ktx" --data-dir "$work/cli" message generate --text "Save the changes?" --buttons Yes,No)
"${generate[@]}" >/dev/null
# A start takes milliseconds and its median follows the machine's passing load, so this pair runs
# ten times as often as the rest (a few seconds in all).
starts=$((runs * 10))
for _ in $(seq "$starts"); do
  timed ktx "${generate[@]}"
  timed hello "$build/bench/hello_ktx"
done
row "ktx message generate (median of $starts)" "$(median ktx) ms" ""
row "floor: hello world linked as ktx" "$(median hello) ms" ""
row "  ktx / floor" "$(ratio "$(median ktx)" "$(median hello)")" "< 1.5"
if command -v valgrind >/dev/null; then
  a=$(instructions "${generate[@]}")
  b=$(instructions "$build/bench/hello_ktx")
  row "  instructions: ktx / floor" "$(ratio "$a" "$b")" "< 1.5"
fi

# A whole start of the program, offscreen, against a bare Qt Widgets window, with
# the sample installation's equates and with 100,000 lines of them.
if [ -x "$build/app/ui/kestrix" ] && [ -x "$build/bench/bare_window" ]; then
  "$build/bench/equate_load_bench" --write "$work/large" 100000
  for data in small large; do
    cwpath=$root/samples/clarion
    [ "$data" = large ] && cwpath=$work/large/cw
    "$ktx" --data-dir "$work/$data" config set "CWPATH=$cwpath" >/dev/null
    "$ktx" --data-dir "$work/$data" equates load >/dev/null 2>&1
    "$ktx" --data-dir "$work/$data" popups load >/dev/null
  done
  for _ in $(seq "$runs"); do
    for data in small large; do
      QT_QPA_PLATFORM=offscreen timed "kestrix_$data" "$build/app/ui/kestrix" --data-dir "$work/$data" --exit-after-start
    done
    QT_QPA_PLATFORM=offscreen timed bare "$build/bench/bare_window"
  done
  row "kestrix start to exit (median of $runs)" "$(median kestrix_small) ms" ""
  row "floor: bare window, menu and toolbar" "$(median bare) ms" ""
  row "  kestrix / floor" "$(ratio "$(median kestrix_small)" "$(median bare)")" "< 1.5"
  row "kestrix start, 100,000 equate lines" "$(median kestrix_large) ms" ""
  row "  100,000 lines / sample equates" "$(ratio "$(median kestrix_large)" "$(median kestrix_small)")" "about 1"
  if command -v valgrind >/dev/null; then
    a=$(QT_QPA_PLATFORM=offscreen instructions "$build/app/ui/kestrix" --data-dir "$work/small" --exit-after-start)
    b=$(QT_QPA_PLATFORM=offscreen instructions "$build/bench/bare_window")
    row "  instructions: kestrix / floor" "$(ratio "$a" "$b")" "< 1.5"
  fi
fi

# The peak memory of a 400,000-line equate load.
if [ -x /usr/bin/time ]; then
  "$build/bench/equate_load_bench" --write "$work/peak" 400000
  "$ktx" --data-dir "$work/peak" config set "CWPATH=$work/peak/cw" >/dev/null
  /usr/bin/time -f '%M' -o "$work/peak.kb" "$ktx" --data-dir "$work/peak" equates load >/dev/null 2>&1 || true
  peak=$(tail -1 "$work/peak.kb")
  row "equate load of 400,000 lines: peak memory" "$(awk -v k="$peak" 'BEGIN {printf "%.1f MB", k / 1024}')" "< 60 MB"
else
  row "equate load of 400,000 lines: peak memory" "needs /usr/bin/time" "< 60 MB"
fi

# Google Benchmark figures, one row each: the median of five repetitions, taken in turns with the file's
# other benchmarks so that a slow spell of the machine does not fall on one of them alone.
gbench() {
  local binary="$build/bench/$1"
  [ -x "$binary" ] || return 0
  local order
  order=$("$binary" --benchmark_list_tests 2>/dev/null | tr '\n' ';')
  "$binary" --benchmark_min_time=0.2 --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, -v targets="$2" -v order="$order" '
    BEGIN { n = split(targets, t, ";"); for (i = 1; i <= n; i++) { split(t[i], kv, "="); target[kv[1]] = kv[2] } }
    /^"/ { name = $1; gsub(/"/, "", name); if (name !~ /_median$/) next; sub(/_median$/, "", name);
           time[name] = $3; unit[name] = $5 }
    END { count = split(order, names, ";");
          for (i = 1; i <= count; i++) { name = names[i]; if (!(name in time)) continue;
            figure = (unit[name] == "ms") ? sprintf("%.2f ms", time[name]) : sprintf("%.1f %s", time[name], unit[name]);
            printf "%-46s %14s %14s\n", name, figure, target[name];
            if (name ~ /10000\/1000/) printf "%-46s %14.2f %14s\n", "  twice as large / once", time[name] / last, "< 2.3";
            else last = time[name] } }'
}
gbench data_file_bench ""
gbench message_bench ""
gbench key_analysis_bench "analyse/5000/500=< 50 ms"
gbench map_scan_bench "scanGeneratedProgram/5000/50=< 100 ms"
gbench string_builder_bench "BuildFullText=< 1 ms"
gbench help_scan_bench "scanTree/20000/2000/iterations:3=< 1000 ms"
if [ -x "$build/bench/equate_load_bench" ]; then
  "$build/bench/equate_load_bench" | tail -n +2
fi
if [ -x "$build/bench/equate_helper_bench" ]; then
  "$build/bench/equate_helper_bench" | tail -n +2
fi
if [ -x "$build/bench/find_anything_bench" ]; then
  "$build/bench/find_anything_bench" | tail -n +2
fi
if [ -x "$build/bench/dictionary_import_bench" ]; then
  "$build/bench/dictionary_import_bench"
fi
