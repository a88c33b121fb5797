#!/usr/bin/env bash
# Times `kantoria-cli search` over a generated tree of 200,000 files in 20,000 folders against
# `find DIR -type f` over the same warm tree, in the same run, and reports peak memory. Then the
# same over a real tree (REAL_TREE, /usr by default) against `fdfind -u -L -t f` and
# `find -L -type f`, which follow links as the search does.
# A report, not a test. Usage: bench/search_bench.sh [KANTORIA_CLI] [WORK_DIR] [REAL_TREE]
set -euo pipefail
cli=${1:-build-release/kantoria-cli}
work=${2:-/tmp/kantoria-search-bench}
real=${3:-/usr}
runs=5
tree=$work/tree
[ -x "$cli" ] || { echo "no kantoria-cli at $cli (build it first)" >&2; exit 1; }
command -v /usr/bin/time >/dev/null || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 1; }
command -v fdfind >/dev/null || { echo "needs fdfind (apt-get install fd-find)" >&2; exit 1; }
echo "load before:    $(uptime)"

# 200 top folders x 100 subfolders, 10 files each. Every folder holds a README.md and an
# index.html (40,000 files sharing two names), a Japanese name, and names that differ only
# in case between folders.
if [ ! -f "$work/.complete" ]; then
  rm -rf "$work"
  mkdir -p "$tree"
  echo "generating the tree in $tree ..."
  for top in $(seq -w 0 199); do
    (
      cd "$tree"
      mkdir "d$top"
      cd "d$top"
      mkdir $(seq -f 's%03g' 0 99)
      for sub in s*; do
        n=$((10#$top * 100 + 10#${sub#s}))
        touch "$sub/README.md" "$sub/index.html" "$sub/報告$n.doc" "$sub/Report.DOC" \
          "$sub/report.doc" "$sub/data$n.csv" "$sub/.hidden" "$sub/notes" \
          "$sub/写真 $n.jpg" "$sub/file$((n % 1000)).txt"
      done
    )
  done
  # Some files are registered already: a catalogue of the first 20 top folders.
  "$cli" search "$work/base.ZNL" "$tree/d000" >/dev/null
  for top in $(seq -w 1 19); do "$cli" search "$work/base.ZNL" "$tree/d0$top" >/dev/null; done
  touch "$work/.complete"
fi

files=$(find "$tree" -type f | wc -l)
folders=$(find "$tree" -mindepth 1 -type d | wc -l)
registered=$("$cli" dump "$work/base.ZNL" | grep -c '"path"')

now_ms() { echo $(($(date +%s%N) / 1000000)); }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

find "$tree" -type f >/dev/null  # warm the cache
find_times=()
search_times=()
peak_kib=0
for i in $(seq $runs); do
  t0=$(now_ms)
  find "$tree" -type f >/dev/null
  find_times+=($(($(now_ms) - t0)))

  cp "$work/base.ZNL" "$work/run.ZNL"
  t0=$(now_ms)
  /usr/bin/time -f '%M' -o "$work/rss" "$cli" search "$work/run.ZNL" "$tree" >"$work/out.json"
  search_times+=($(($(now_ms) - t0)))
  rss=$(cat "$work/rss")
  [ "$rss" -gt "$peak_kib" ] && peak_kib=$rss
done

find_ms=$(printf '%s\n' "${find_times[@]}" | median)
search_ms=$(printf '%s\n' "${search_times[@]}" | median)
found=$(grep -o '"found": [0-9]*' "$work/out.json" | grep -o '[0-9]*$')
entries=$("$cli" dump "$work/run.ZNL" | grep -c '"path"')
ratio=$(awk -v s="$search_ms" -v f="$find_ms" 'BEGIN {printf "%.2f", s / f}')
peak_mb=$(awk -v k="$peak_kib" 'BEGIN {printf "%.1f", k / 1024}')

echo "tree:           $files files in $folders folders ($registered registered beforehand)"
echo "found:          $found new entries; catalogue now $entries entries"
echo "find -type f:   $find_ms ms (median of $runs)"
echo "search + save:  $search_ms ms (median of $runs) = ${ratio}x find   goal <= 1.5x: $(awk -v r="$ratio" 'BEGIN {print (r <= 1.5) ? "met" : "MISSED"}')"
echo "peak memory:    $peak_mb MB   goal < 300 MB: $(awk -v m="$peak_mb" 'BEGIN {print (m < 300) ? "met" : "MISSED"}')"

# The real tree. The search follows links to folders except those that lead into the searched
# folder, enters each real folder once however many links lead to it, and registers links to
# files (dangling ones too). fd -L and find -L follow every link and enter a folder again by
# each link, stopping only at loops; they count no dangling link as a file.
find -L "$real" -type f >/dev/null 2>&1 || true  # warm the cache
fd_times=()
findl_times=()
real_times=()
for i in $(seq $runs); do
  t0=$(now_ms)
  fdfind -u -L -t f . "$real" >/dev/null 2>&1 || true
  fd_times+=($(($(now_ms) - t0)))

  t0=$(now_ms)
  find -L "$real" -type f >/dev/null 2>&1 || true
  findl_times+=($(($(now_ms) - t0)))

  rm -f "$work/real.ZNL"
  t0=$(now_ms)
  "$cli" search "$work/real.ZNL" "$real" >"$work/real.json"
  real_times+=($(($(now_ms) - t0)))
done
# Both complain of loops and unreadable folders and exit non-zero; their counts still stand.
fd_files=$({ fdfind -u -L -t f . "$real" 2>/dev/null || true; } | wc -l)
findl_files=$({ find -L "$real" -type f 2>/dev/null || true; } | wc -l)
real_found=$(grep -o '"found": [0-9]*' "$work/real.json" | grep -o '[0-9]*$')
fd_ms=$(printf '%s\n' "${fd_times[@]}" | median)
findl_ms=$(printf '%s\n' "${findl_times[@]}" | median)
real_ms=$(printf '%s\n' "${real_times[@]}" | median)
real_ratio=$(awk -v s="$real_ms" -v f="$fd_ms" 'BEGIN {printf "%.2f", s / f}')

echo
echo "$real:  search registered $real_found files; fd -L lists $fd_files, find -L $findl_files"
echo "fdfind -u -L -t f:  $fd_ms ms (median of $runs)"
echo "find -L -type f:    $findl_ms ms (median of $runs)"
echo "search + save:      $real_ms ms (median of $runs) = ${real_ratio}x fd   goal <= 1x: $(awk -v r="$real_ratio" 'BEGIN {print (r <= 1) ? "met" : "MISSED"}')"
echo "load after:     $(uptime)"
