#!/usr/bin/env bash
# Runs the built kantoria-cli as a user would: on the sample catalogue, on damaged input and
# with wrong command lines. Usage: cli_end_to_end.sh KANTORIA_CLI EXAMPLES_DIR
set -uo pipefail
cli=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The sample dumps as JSON with Japanese text decoded from Shift-JIS.
out=$("$cli" dump "$examples/MORKA.ZNL") || fail "dump of the sample failed"
grep -q '"encoding": "cp932"' <<<"$out" || fail "sample not read as cp932"
grep -q '"title": "四半期報告書"' <<<"$out" || fail "Japanese title not decoded"
grep -q '"C:\\\\書類\\\\報告\\\\"' <<<"$out" || fail "holder missing"

# copy writes the same bytes back.
"$cli" copy "$examples/MORKA.ZNL" "$work/copy.ZNL" || fail "copy failed"
cmp -s "$examples/MORKA.ZNL" "$work/copy.ZNL" || fail "copy changed the bytes"

# A file name with spaces, quotes and shell syntax is just a file name.
odd="$work/a b;\$(touch pwned)'\".ZNL"
cp "$examples/MORKA.ZNL" "$odd"
"$cli" copy "$odd" "$work/-out.ZNL" >/dev/null || fail "odd file name not handled"
[ -e pwned ] || [ -e "$work/pwned" ] && fail "a file name was run through a shell"
cmp -s "$odd" "$work/-out.ZNL" || fail "copy through odd names changed the bytes"

# Undecodable bytes: dumped as U+FFFD, copied back unchanged.
printf 'SELECTED=\r\nLASTHOLDER=\r\nTITLEWIDTH=200\r\nCOMMENTWIDTH=400\r\nPATHWIDTH=250\r\nC:\\\xff\x80.txt\t\x85\x5c\t\x81\r\n' >"$work/bad.ZNL"
out=$("$cli" dump "$work/bad.ZNL") || fail "dump of undecodable bytes failed"
grep -q '�' <<<"$out" || fail "undecodable bytes not shown as U+FFFD"
"$cli" copy "$work/bad.ZNL" "$work/bad-copy.ZNL" || fail "copy of undecodable bytes failed"
cmp -s "$work/bad.ZNL" "$work/bad-copy.ZNL" || fail "undecodable bytes changed"

# The sample was made on Windows: here every entry's file is missing.
out=$("$cli" missing "$examples/MORKA.ZNL") || fail "missing on the sample failed"
checked=$(grep -o '"checked": [0-9]*' <<<"$out" | grep -o '[0-9]*$')
[ "$(grep -c '"path": "[A-Z]:' <<<"$out")" -eq "${checked:-x}" ] || fail "not every Windows path missing"

# Failures: one line on stderr, the documented status, nothing written.
check_failure() {
  local want=$1
  shift
  # A hang is a failure too: timeout's 124 is no status the program uses.
  timeout 20 "$cli" "$@" >"$work/stdout" 2>"$work/stderr"
  local got=$?
  [ "$got" -eq "$want" ] || fail "'$*' exited $got, expected $want"
  [ -s "$work/stdout" ] && fail "'$*' wrote to stdout"
  [ "$(wc -l <"$work/stderr")" -eq 1 ] || fail "'$*' did not say why on one line"
}
check_failure 2
check_failure 2 nonsense
check_failure 2 dump
check_failure 1 dump "$work/missing.ZNL"
check_failure 1 copy "$work/missing.ZNL" "$work/never.ZNL"
check_failure 2 types extra
check_failure 2 missing
check_failure 1 missing "$work/missing.ZNL"
# What is no regular file is refused at once: a device that never ends, a pipe without a writer.
mkfifo "$work/fifo.ZNL"
check_failure 1 dump /dev/zero
check_failure 1 dump "$work/fifo.ZNL"
grep -q 'Not a regular file' "$work/stderr" || fail "a pipe is not named as such"
# ... nor replaced by a save.
check_failure 1 copy "$examples/MORKA.ZNL" "$work/fifo.ZNL"
[ -p "$work/fifo.ZNL" ] || fail "copy replaced a named pipe"
[ -e "$work/never.ZNL" ] && fail "a failed copy wrote its output"
"$cli" --help | grep -q 'dump CATALOGUE' || fail "--help does not describe dump"
"$cli" --help | grep -q 'types' || fail "--help does not describe types"

# types: the system's file types, .doc chosen, descriptions in the user's language.
out=$(LANG=C.UTF-8 LANGUAGE= LC_ALL= "$cli" types) || fail "types failed"
[ "$(grep -c '^\* ' <<<"$out")" -eq 1 ] || fail "types does not mark exactly one line"
grep -q '^\* \.doc  ' <<<"$out" || fail "types does not choose the .doc line"
grep -q '^  \.txt  ' <<<"$out" || fail "types lists no .txt line"
ja=$(LANG=ja_JP.UTF-8 LANGUAGE=ja LC_ALL= "$cli" types | grep '^  \.txt  ') || fail "no .txt line in Japanese"
[ "$ja" != "$(grep '^  \.txt  ' <<<"$out")" ] || fail "the .txt description is not translated"
LC_ALL=C grep -q $'[\x80-\xff]' <<<"$ja" || fail "the Japanese .txt description is plain ASCII"

# tree and list: the two panes of the sample as JSON, in the order of the code page 932 bytes.
out=$("$cli" tree "$examples/MORKA.ZNL") || fail "tree of the sample failed"
tr -d ' \n' <<<"$out" | grep -q '"label":"書類","folder":"C:\\\\書類\\\\","children":\[{"label":"手紙",.*},{"label":"報告",' ||
  fail "tree of the sample does not hold 手紙 and 報告 under 書類"
out=$("$cli" list "$examples/MORKA.ZNL") || fail "list of the sample failed"
[ "$out" = "$("$cli" list "$examples/MORKA.ZNL" --holder '書類\報告')" ] ||
  fail "list does not default to the sample's LASTHOLDER"
grep -q '"holder": "C:\\\\書類\\\\報告\\\\"' <<<"$out" || fail "list shows the wrong holder"
[ "$(grep -o '"title": "[^"]*"' <<<"$out" | tr '\n' '|')" = \
  '"title": "四半期報告書"|"title": "売上集計"|"title": "報告書の表紙"|' ] ||
  fail "list does not show the holder's entries in title order"
grep -q '"comment": "3月の価格表から作成  営業部に確認すること"' <<<"$out" ||
  fail "a comment's line break is not two blanks"
out=$("$cli" list "$examples/MORKA.ZNL" --holder 'Nowhere') || fail "list of an unknown holder failed"
grep -q '"holder": null' <<<"$out" || fail "an unknown holder is not null"
check_failure 2 tree
check_failure 2 list
check_failure 2 list "$examples/MORKA.ZNL" --holder
check_failure 1 tree "$work/missing.ZNL"

# relocate: the sample's C:\書類 comes to Linux, the shown holder with it; --dry-run writes nothing.
cp "$examples/MORKA.ZNL" "$work/moved.ZNL"
out=$("$cli" relocate "$work/moved.ZNL" 'C:\書類' /home/u/書類 --dry-run) || fail "relocate --dry-run failed"
cmp -s "$examples/MORKA.ZNL" "$work/moved.ZNL" || fail "relocate --dry-run changed the file"
[ "$(tr -d ' \n' <<<"$out")" = '{"moved":6,"conflicts":[],"switchedToUtf8":false,"undecodable":0}' ] ||
  fail "relocate --dry-run said $out"
[ "$out" = "$("$cli" relocate "$work/moved.ZNL" 'C:\書類' /home/u/書類)" ] ||
  fail "relocate did not do what its dry run said"
out=$("$cli" dump "$work/moved.ZNL") || fail "dump of the relocated sample failed"
grep -q '"path": "/home/u/書類/報告/売上集計.xls"' <<<"$out" || fail "relocate did not rewrite a path"
grep -q '"path": "C:\\\\書類' <<<"$out" && fail "relocate left an entry in C:\書類"
grep -q '"encoding": "cp932"' <<<"$out" || fail "relocate changed the encoding"
grep -q '"lastHolder": "書類\\\\報告"' <<<"$out" || fail "the shown holder was lost"
check_failure 2 relocate "$work/moved.ZNL" 'C:\書類'
check_failure 1 relocate "$work/missing.ZNL" 'C:\書類' /home/u/書類
[ -e "$work/missing.ZNL" ] && fail "relocate created a catalogue"

# A twin code (EE E0 for 髙) names the file as Windows shows it. Once the catalogue must become
# UTF-8 it holds what it showed: the twin as its character, bytes without one (85 40) as U+FFFD,
# counted in the JSON and said on one line of stderr; a dry run says the same and writes nothing.
mkdir -p "$work/tw" "$work/new"
touch "$work/tw/髙山.jpg" "$work/new/café.txt"
printf 'SELECTED=\r\nLASTHOLDER=\r\nTITLEWIDTH=200\r\nCOMMENTWIDTH=400\r\nPATHWIDTH=250\r\n%s/\xee\xe0\x8e\x52.jpg\t\xee\xe0\x8e\x52\t\x85\x40\r\n' \
  "$work/tw" >"$work/twin.ZNL"
grep -q '"checked": 1, *"missing": \[\]' <<<"$("$cli" missing "$work/twin.ZNL" | tr -d '\n')" ||
  fail "missing does not find the file a twin code names"
cp "$work/twin.ZNL" "$work/twin-dry.ZNL"
out=$("$cli" relocate "$work/twin-dry.ZNL" "$work/tw" "$work/ü" --dry-run 2>"$work/stderr") ||
  fail "relocate --dry-run into UTF-8 failed"
grep -q '"switchedToUtf8": true' <<<"$out" || fail "relocate --dry-run hid the switch: $out"
cmp -s "$work/twin.ZNL" "$work/twin-dry.ZNL" || fail "relocate --dry-run wrote"
out=$("$cli" search "$work/twin.ZNL" "$work/new" 2>"$work/stderr") || fail "search into UTF-8 failed"
tr -d ' \n' <<<"$out" | grep -q '"switchedToUtf8":true,"undecodable":1' || fail "search said $out"
[ "$(wc -l <"$work/stderr")" -eq 1 ] || fail "the switch is not one line on stderr"
out=$("$cli" dump "$work/twin.ZNL") || fail "dump after the switch failed"
grep -q '"encoding": "utf-8-bom"' <<<"$out" || fail "the switch did not write UTF-8"
grep -q '"title": "髙山"' <<<"$out" || fail "the twin code was not written as its character"
grep -q '"comment": "��"' <<<"$out" || fail "undecodable bytes were not written as U+FFFD"
grep -q '"missing": \[\]' <<<"$("$cli" missing "$work/twin.ZNL" | tr -d '\n')" ||
  fail "after the switch the path no longer names its file"

# Two searches into one catalogue at once take turns: neither loses the other's files, and
# no lock file is left behind.
mkdir -p "$work/one" "$work/two"
(cd "$work/one" && seq 1 1500 | sed 's/$/.txt/' | xargs touch)
(cd "$work/two" && seq 1 1500 | sed 's/$/.doc/' | xargs touch)
"$cli" search "$work/both.ZNL" "$work/one" >/dev/null &
first=$!
"$cli" search "$work/both.ZNL" "$work/two" >/dev/null || fail "second concurrent search failed"
wait "$first" || fail "first concurrent search failed"
[ "$(tr -cd '\n' <"$work/both.ZNL" | wc -c)" -eq 3005 ] ||
  fail "concurrent searches lost files: $(tr -cd '\n' <"$work/both.ZNL" | wc -c) lines"
[ -z "$(ls -A "$work" | grep '\.lock$')" ] || fail "a lock file was left behind"

# No path that the file would read back as a header line, or with a NUL, gets in.
printf 'path,title,comment\nSELECTED=x,a,\nPATHWIDTH9,b,\n/nn/a\0b.txt,c,\n/ok/d.txt,d,\n' >"$work/keys.csv"
out=$("$cli" import "$work/keys.ZNL" "$work/keys.csv") || fail "import of header-like paths failed"
[ "$(grep -o '"added": [0-9]*' <<<"$out")" = '"added": 1' ] || fail "header-like paths imported: $out"
[ "$("$cli" dump "$work/keys.ZNL" | grep -c '"path"')" -eq 1 ] || fail "the import did not read back"
grep -q '"reason": "NUL in path"' <<<"$out" || fail "a NUL in a path is not named"
cp "$examples/MORKA.ZNL" "$work/keys.ZNL"
check_failure 1 relocate "$work/keys.ZNL" 'C:\書類' SELECTED
grep -q 'header line' "$work/stderr" || fail "relocate does not say why SELECTED is refused"
cmp -s "$examples/MORKA.ZNL" "$work/keys.ZNL" || fail "a refused relocate changed the catalogue"

# A lock that cannot be taken is no licence to write: every writer fails with one line and
# leaves the catalogue as it was.
mkdir -p "$work/locked" "$work/in"
touch "$work/in/new.txt"
printf 'path,title,comment\n/x/new.txt,New,\n' >"$work/in.csv"
cp "$examples/MORKA.ZNL" "$work/locked/c.ZNL"
mkdir "$work/locked/.c.ZNL.lock"
for writer in "copy $examples/MORKA.ZNL" "search" "import" "relocate"; do
  case $writer in
    search) args=(search "$work/locked/c.ZNL" "$work/in") ;;
    import) args=(import "$work/locked/c.ZNL" "$work/in.csv") ;;
    relocate) args=(relocate "$work/locked/c.ZNL" 'C:\書類' /home/u/書類) ;;
    *) args=(copy "$examples/MORKA.ZNL" "$work/locked/c.ZNL") ;;
  esac
  check_failure 1 "${args[@]}"
  grep -q 'cannot lock' "$work/stderr" || fail "${args[0]} does not say the lock failed"
  cmp -s "$examples/MORKA.ZNL" "$work/locked/c.ZNL" || fail "${args[0]} wrote without its lock"
  cp "$examples/MORKA.ZNL" "$work/locked/c.ZNL"
done
check_failure 2 search "$work/locked/c.ZNL" "$work/in" --wait soon

# Writers as two users at once: neither loses the other's files, whether the lock file is
# made by one of them or left, not writable by the other, by a colleague. A writer that finds
# the lock held waits as long as it was told, says so after a second, then gives up as busy.
if [ "$(id -u)" -eq 0 ]; then
  as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"; }
  chmod 755 "$work"
  mkdir -m 777 "$work/shared"
  chmod -R a+rX "$work/one" "$work/two" "$work/in"
  for leftover in none colleague; do
    rm -f "$work/shared/"*.ZNL "$work/shared/".*.lock
    printf 'SELECTED=\r\nLASTHOLDER=\r\nTITLEWIDTH=200\r\nCOMMENTWIDTH=400\r\nPATHWIDTH=250\r\n' \
      >"$work/shared/both.ZNL"
    chmod 666 "$work/shared/both.ZNL"
    [ $leftover = colleague ] && (umask 022 && touch "$work/shared/.both.ZNL.lock")
    "$cli" search "$work/shared/both.ZNL" "$work/one" >/dev/null &
    first=$!
    as_nobody "$cli" search "$work/shared/both.ZNL" "$work/two" >/dev/null ||
      fail "the other user's search failed ($leftover)"
    wait "$first" || fail "root's search failed ($leftover)"
    [ "$(tr -cd '\n' <"$work/shared/both.ZNL" | wc -c)" -eq 3005 ] ||
      fail "writers as two users lost files ($leftover lock file)"
  done
  cp "$examples/MORKA.ZNL" "$work/shared/held.ZNL"
  chmod 666 "$work/shared/held.ZNL"
  (umask 022 && touch "$work/shared/.held.ZNL.lock")
  flock -o "$work/shared/.held.ZNL.lock" sleep 10 >/dev/null 2>&1 &
  holder=$!
  sleep 0.3
  start=$(date +%s)
  as_nobody timeout 20 "$cli" search "$work/shared/held.ZNL" "$work/in" --wait 2 >"$work/stdout" 2>"$work/stderr"
  got=$?
  [ $got -eq 1 ] || fail "a search past a held lock exited $got"
  [ $(($(date +%s) - start)) -le 5 ] || fail "a search waited longer than told"
  grep -q 'waiting' "$work/stderr" || fail "a waiting search did not say so"
  grep -q 'busy' "$work/stderr" || fail "a search that gave up did not say busy"
  cmp -s "$examples/MORKA.ZNL" "$work/shared/held.ZNL" || fail "a search wrote past a held lock"
  kill "$holder" 2>/dev/null
  wait "$holder" 2>/dev/null
else
  echo "not root: writers as two users not tried"
fi

if [ "$failures" -eq 0 ]; then echo "cli end-to-end: all checks passed"; fi
exit $((failures > 0))
