#!/usr/bin/env bash
# kantoria-cli missing ends promptly while a file system holds its look forever, answers the
# files of the local disk listed after the held one, and leaves no process of its own behind.
# Needs root and /dev/fuse for the mount that never answers. Usage: missing_hung_mount.sh
# KANTORIA_CLI HUNG_MOUNT
set -uo pipefail
cli=$1
hung=$2
source "$(dirname "$0")/hung_mount_setup.sh"

touch "$work/local/here.txt"
{
    printf '%s\t%s\t\r\n' "$work/mnt/held.txt" held
    for i in 1 2 3 4 5 6; do printf '%s\t%s\t\r\n' "$work/mnt/held$i.txt" "held$i"; done
    printf '%s\t%s\t\r\n' "$work/local/here.txt" here "$work/local/gone.txt" gone
} >"$work/c.ZNL"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
start=$(date +%s)
"$cli" missing "$work/c.ZNL" >"$work/out" 2>"$work/err" &
pid=$!
# Ended: every thread of it gone (a thread the file system holds keeps the process from ending).
ended() {
    [ -d /proc/"$pid" ] || return 0
    awk '$3 != "Z" { alive = 1 } END { exit alive }' /proc/"$pid"/task/*/stat 2>/dev/null
}
for _ in $(seq 200); do
    ended && break
    sleep 0.05
done
if ended; then
    wait "$pid" || fail "exit status $?: $(cat "$work/err")"
else
    fail "not ended after 10 s: $(ps -L -o pid,stat,wchan:25,cmd -p "$pid")"
fi
[ $(($(date +%s) - start)) -le 8 ] || fail "took $(($(date +%s) - start)) s"
out=$(cat "$work/out")
grep -q '"checked": 9' <<<"$out" || fail "not every entry checked: $out"
grep -q '"title": "gone"' <<<"$out" || fail "the missing local file not reported: $out"
grep -q '"title": "here"' <<<"$out" && fail "the local file reported: $out"
[ "$(grep -o '"title": "held[0-9]*"' <<<"$out" | wc -l)" -eq 7 ] || fail "held files not unknown: $out"
grep -q '"missing": \[[^]]*held' <<<"$(tr -d '\n' <<<"$out")" && fail "held files reported missing"
[ "$failures" -eq 0 ] && echo "all passed"
[ "$failures" -eq 0 ]
