#!/usr/bin/env bash
# kantoria-cli index and find --content over documents of several formats made for the run:
# each marker finds its one document, the words may stand in different places, a second run
# reads nothing again, and a disk that fills up leaves the index answering as before.
# Usage: content_end_to_end.sh KANTORIA_CLI MAKE_DOCUMENT
set -uo pipefail
cli=$1
make=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME=$work/cache
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
one_line() { tr -d '\n' <<<"$1" | tr -s ' '; }

mkdir "$work/docs"
"$make" docx "$work/docs/minutes.docx" "会議の議事録" "識別DOCX０００１番 を含む段落" || fail "docx"
"$make" pdf "$work/docs/plan.pdf" "Project plan" "marker 識別PDF０００２番 here" || fail "pdf"
"$make" pdf "$work/docs/decoy.pdf" "識別PDF０００２３番 と 識別 と 番" || fail "pdf decoy"
"$make" cp932 "$work/docs/memo.txt" "しきべつTXT０００３ばん のメモ" || fail "cp932"
"$make" html "$work/docs/page.html" "ホームページ 識別HTML０００４番" || fail "html"
{
    printf 'SELECTED=\r\nLASTHOLDER=\r\nTITLEWIDTH=200\r\nCOMMENTWIDTH=400\r\nPATHWIDTH=250\r\n'
    for f in minutes.docx plan.pdf decoy.pdf memo.txt page.html; do
        printf '%s\t%s\t\r\n' "$work/docs/$f" "${f%.*}"
    done
    printf 'C:\\elsewhere\\old.doc\told\t\r\n'
} >"$work/c.ZNL"

# Without an index, find --content says what to do.
"$cli" find --content "$work/c.ZNL" 議事録 >/dev/null 2>"$work/err" && fail "found without an index"
grep -q 'run kantoria-cli index' "$work/err" || fail "no hint to index: $(cat "$work/err")"

out=$(one_line "$("$cli" index "$work/c.ZNL")") || fail "index: $out"
grep -q '"indexed": 5, "unchanged": 0, "removed": 0, "failed": \[\], "unsupported": 0, "missing": 1' \
    <<<"$out" || fail "first index: $out"

# Each marker finds its one document, whatever its format and encoding.
for marker in 識別DOCX０００１番:minutes 識別PDF０００２番:plan シキベツtxt0003バン:memo \
    識別HTML０００４番:page 識別pdf00023番:decoy; do
    out=$(one_line "$("$cli" find --content "$work/c.ZNL" "${marker%%:*}")")
    [ "$(grep -o '"title": ' <<<"$out" | wc -l)" -eq 1 ] &&
        grep -q "\"title\": \"${marker##*:}\"" <<<"$out" || fail "${marker%%:*}: $out"
done
# Words may stand in different places; each match says where and shows the text around.
out=$(one_line "$("$cli" find --content "$work/c.ZNL" "plan marker")")
grep -q '"title": "plan", [^}]*"in": \[ "title", "path", "content" \], "snippet": "Project plan marker 識別PDF０００２番 here"' \
    <<<"$out" || fail "places and snippet: $out"
# find without --content is as before.
out=$(one_line "$("$cli" find "$work/c.ZNL" plan)")
grep -q '"in"' <<<"$out" && fail "plain find changed: $out"

out=$(one_line "$("$cli" index "$work/c.ZNL")") || fail "second index"
grep -q '"indexed": 0, "unchanged": 5' <<<"$out" || fail "second index read again: $out"

# A full disk while indexing: one clear line, and the index answers as before.
"$make" html "$work/docs/page.html" "$(head -c 75000 /dev/urandom | base64 -w0) 新しい本文" || fail "html"
(trap '' XFSZ; ulimit -f 64; "$cli" index "$work/c.ZNL") >/dev/null 2>"$work/err" &&
    fail "index on a full disk succeeded"
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "not one line: $(cat "$work/err")"
out=$(one_line "$("$cli" find --content "$work/c.ZNL" 識別PDF０００２番)") || fail "index unusable"
grep -q '"title": "plan"' <<<"$out" || fail "the previous index lost: $out"
out=$(one_line "$("$cli" index "$work/c.ZNL")") || fail "index after the disk"
grep -q '"indexed": 1' <<<"$out" || fail "the changed file not read again: $out"

[ "$failures" -eq 0 ] && echo "all passed"
[ "$failures" -eq 0 ]
