#!/usr/bin/env bash
# Times `kantoria-cli dump` of a big catalogue against `kantoria-cli copy` of the same catalogue
# (read and written back, the floor), in the same run, with the peak memory of each.
# A report, not a test. Usage: bench/dump_bench.sh [KANTORIA_CLI] [CATALOGUE]
# The catalogue defaults to the one kantoria-bench-catalogue generates (1,000,000 entries).
set -euo pipefail
cli=${1:-build-release/kantoria-cli}
catalogue=${2:-/tmp/kantoria-bench/catalogue-1000000x20000-v1.ZNL}
runs=3
[ -x "$cli" ] || { echo "no kantoria-cli at $cli (build it first)" >&2; exit 1; }
[ -f "$catalogue" ] || { echo "no catalogue at $catalogue (run kantoria-bench-catalogue)" >&2; exit 1; }
command -v /usr/bin/time >/dev/null || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "load before:    $(uptime)"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

cat "$catalogue" >/dev/null  # warm the cache
copy_times=()
dump_times=()
copy_kib=0
dump_kib=0
for i in $(seq $runs); do
  t0=$(now_ms)
  /usr/bin/time -f '%M' -o "$work/rss" "$cli" copy "$catalogue" "$work/copy.ZNL"
  copy_times+=($(($(now_ms) - t0)))
  rss=$(cat "$work/rss")
  [ "$rss" -gt "$copy_kib" ] && copy_kib=$rss
  rm -f "$work/copy.ZNL"

  t0=$(now_ms)
  /usr/bin/time -f '%M' -o "$work/rss" "$cli" dump "$catalogue" >/dev/null
  dump_times+=($(($(now_ms) - t0)))
  rss=$(cat "$work/rss")
  [ "$rss" -gt "$dump_kib" ] && dump_kib=$rss
done

copy_ms=$(printf '%s\n' "${copy_times[@]}" | median)
dump_ms=$(printf '%s\n' "${dump_times[@]}" | median)
time_ratio=$(awk -v d="$dump_ms" -v c="$copy_ms" 'BEGIN {printf "%.2f", d / c}')
mem_ratio=$(awk -v d="$dump_kib" -v c="$copy_kib" 'BEGIN {printf "%.2f", d / c}')
verdict() { awk -v r="$1" -v g="$2" 'BEGIN {print (r <= g) ? "met" : "MISSED"}'; }

echo "catalogue:      $catalogue ($(grep -c '' "$catalogue") lines)"
echo "copy:           $copy_ms ms, peak $((copy_kib / 1024)) MiB (median of $runs; peak of all)"
echo "dump:           $dump_ms ms, peak $((dump_kib / 1024)) MiB"
echo "dump / copy:    time ${time_ratio}x  goal <= 2x: $(verdict "$time_ratio" 2)   memory ${mem_ratio}x  goal <= 1.5x: $(verdict "$mem_ratio" 1.5)"
echo "load after:     $(uptime)"
