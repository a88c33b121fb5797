#!/usr/bin/env bash
# kantoria-cli index ends promptly while a file system holds its looks forever: the held files
# are failed as not answering, the local one is indexed and found. Needs root and /dev/fuse.
# Usage: index_hung_mount.sh KANTORIA_CLI HUNG_MOUNT EXTRACT
set -uo pipefail
cli=$1
hung=$2
export KANTORIA_EXTRACT=$3
source "$(dirname "$0")/hung_mount_setup.sh"
export XDG_CACHE_HOME=$work/cache

echo "ローカルの本文 localword" >"$work/local/here.txt"
{
    for i in 1 2 3 4 5; do printf '%s\t%s\t\r\n' "$work/mnt/held$i.txt" "held$i"; done
    printf '%s\t%s\t\r\n' "$work/local/here.txt" here
} >"$work/c.ZNL"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
start=$(date +%s)
timeout 30 "$cli" index "$work/c.ZNL" >"$work/out" 2>"$work/err" || fail "index: $? $(cat "$work/err")"
[ $(($(date +%s) - start)) -le 10 ] || fail "took $(($(date +%s) - start)) s"
out=$(tr -d '\n' <"$work/out")
grep -q '"indexed": 1' <<<"$out" || fail "the local file not indexed: $out"
[ "$(grep -o 'does not answer' <<<"$out" | wc -l)" -eq 5 ] || fail "held files not failed: $out"
"$cli" find --content "$work/c.ZNL" localword | grep -q '"title": "here"' || fail "not found"
[ "$failures" -eq 0 ] && echo "all passed"
[ "$failures" -eq 0 ]
