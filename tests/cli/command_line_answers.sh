#!/usr/bin/env bash
# --help and --version of both programs, on a machine without a display (as help2man and
# scripts run them), and the bash completion of kantoria-cli against the commands --help lists.
# Usage: command_line_answers.sh VERSION COMPLETION KANTORIA_CLI [KANTORIA]
set -uo pipefail
version=$1 completion=$2 cli=$3 window=${4:-}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# No display at all: a program that connected to one before answering would fail here.
headless() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb timeout 10 "$@"; }

# program, argument: the first line of the answer
while IFS='|' read -r program argument expected; do
  [ -n "$program" ] || continue
  [ "$program" = kantoria ] && { [ -n "$window" ] || continue; program=$window; }
  [ "$program" = kantoria-cli ] && program=$cli
  out=$(headless "$program" "$argument" 2>&1)
  code=$?
  [ "$code" -eq 0 ] || fail "$program $argument ended with $code: $out"
  [ "$(head -n 1 <<<"$out")" = "$expected" ] || fail "$program $argument: '$(head -n 1 <<<"$out")'"
done <<EOF_TABLE
kantoria-cli|--version|kantoria-cli $version
kantoria-cli|--help|Usage: kantoria-cli COMMAND [ARGS]
kantoria|--version|kantoria $version
kantoria|--help|Usage: kantoria [CATALOGUE | FILE]
kantoria|-h|Usage: kantoria [CATALOGUE | FILE]
EOF_TABLE

# What bash offers for the words typed so far (the last one is being completed).
complete_words() {
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _kantoria_cli
           for w in "${COMPREPLY[@]}"; do echo "$w"; done | sort | tr "\n" " "' _ "$completion" "$@"
}
listed=$("$cli" --help | sed -n 's/^  \([a-z-][a-z-]*\).*/\1/p' | sort -u | tr '\n' ' ')
[ "$(complete_words kantoria-cli '')" = "$listed" ] ||
  fail "completion offers '$(complete_words kantoria-cli '')', --help lists '$listed'"
while IFS='|' read -r words expected; do
  [ -n "$words" ] || continue
  read -ra typed <<<"$words"
  [ "${words: -1}" = " " ] && typed+=("")
  got=$(complete_words kantoria-cli "${typed[@]}")
  [ "$got" = "$expected" ] || fail "completing '$words': '$got', expected '$expected'"
done <<'EOF_TABLE'
re|relocate 
search x --|--ext --no-subfolders --wait 
relocate c.ZNL a b --d|--dry-run 
tree --|--folders 
find --c|--content 
index c.ZNL --|--wait 
search c.ZNL x --wait |
types |
EOF_TABLE

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "command-line answers and completion as expected"
