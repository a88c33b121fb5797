#!/usr/bin/env bash
# The first start on a fresh HOME: the sample documents are copied into the data folder and the
# sample catalogue registers each of them there, in code page 932; the window opens on it
# (offscreen). With the content search built, the committed documents are what
# tools/make_samples.sh makes and a word found only inside the PDF is read out of it.
# Usage: first_run_sample.sh SOURCE_DIR KANTORIA_CLI KANTORIA|- [MAKE_DOCUMENT KANTORIA_EXTRACT]
set -uo pipefail
source_dir=$1 cli=$2 window=${3:--} make_document=${4:-} extract=${5:-}
[ "$window" = - ] && window=
samples=$source_dir/examples/samples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
export HOME=$work/home XDG_DATA_HOME=$work/home/.local/share XDG_CONFIG_HOME=$work/home/.config
data=$XDG_DATA_HOME/kantoria
catalogue=$data/サンプル.ZNL

"$source_dir/scripts/kantoria-make-sample" "$cli" "$samples" "$data" || fail "first run failed"
count=$(wc -l <"$samples/samples.tsv")
while IFS=$'\t' read -r path title _; do
  [ -s "$data/サンプル/$path" ] || fail "not copied: $path"
  "$cli" find "$catalogue" "$title" | grep -qF "\"path\": \"$data/サンプル/$path\"" ||
    fail "'$title' not registered at $data/サンプル/$path"
done <"$samples/samples.tsv"
out=$("$cli" missing "$catalogue")
grep -q "\"checked\": $count\b" <<<"$out" || fail "not $count entries checked: $out"
grep -q '"missing": \[\]' <<<"$out" || fail "entries missing on disk: $out"
"$cli" dump "$catalogue" | grep -q '"encoding": "cp932"' || fail "sample not in code page 932"

# A second start keeps the user's catalogue as it is.
before=$(md5sum <"$catalogue")
echo extra >>"$data/サンプル/手紙/引継ぎメモ.txt"
"$source_dir/scripts/kantoria-make-sample" "$cli" "$samples" "$data" || fail "second run failed"
[ "$(md5sum <"$catalogue")" = "$before" ] || fail "a second start rewrote the sample catalogue"
tail -n 1 "$data/サンプル/手紙/引継ぎメモ.txt" | grep -q extra || fail "a second start copied again"

if [ -n "$window" ]; then
  QT_QPA_PLATFORM=offscreen timeout 4 "$window" "$catalogue" >"$work/window.log" 2>&1
  [ $? -eq 124 ] || { cat "$work/window.log"; fail "the window did not stay open on the sample"; }
fi

if [ -n "$make_document" ]; then
  "$source_dir/tools/make_samples.sh" "$make_document" "$work/made" || fail "make_samples.sh"
  cmp -s "$work/made/samples.tsv" "$samples/samples.tsv" || fail "samples.tsv differs from the script's"
  while IFS=$'\t' read -r path _; do
    [ "$("$extract" "$work/made/$path" 2>&1)" = "$("$extract" "$samples/$path" 2>&1)" ] ||
      fail "$path holds other text than make_samples.sh writes"
  done <"$samples/samples.tsv"
  pdf=$data/サンプル/報告/2026年度第3四半期報告書.pdf
  "$extract" "$pdf" | grep -q 'ひまわり印刷' || fail "the PDF's own words are not read out of it"
  # A word that stands only inside the PDF finds its entry, and only that one.
  export XDG_CACHE_HOME=$work/cache
  "$cli" index "$catalogue" >"$work/index.json" || fail "index: $(cat "$work/index.json")"
  found=$("$cli" find --content "$catalogue" ひまわり印刷)
  [ "$(grep -c '"path":' <<<"$found")" -eq 1 ] && grep -qF "\"path\": \"$pdf\"" <<<"$found" ||
    fail "a word inside the PDF does not find its one entry: $found"
fi

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "first run: $count sample documents registered and present"
