#!/usr/bin/env bash
# Drives the real program under a virtual X display as a user would, with the keyboard: opens a
# catalogue, runs the automatic search on a fresh folder, renames a found entry in place and
# ends the program; then checks the catalogue file byte for byte and the settings file.
# Usage: search_rename_end.sh KANTORIA. Exits 77 (skipped) when Xvfb or xdotool is missing.
set -euo pipefail
kantoria=$1
command -v xvfb-run >/dev/null && command -v xdotool >/dev/null || exit 77

if [ -z "${DISPLAY:-}" ] || [ "${KANTORIA_E2E_INNER:-}" != 1 ]; then
  KANTORIA_E2E_INNER=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
  XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

folder=$work/docs
mkdir -p "$folder"
touch "$folder/alpha.txt" "$folder/beta.txt"
catalogue=$work/test.ZNL
cp1() { iconv -f UTF-8 -t CP932; }
printf 'SELECTED=alpha\r\nLASTHOLDER=docs\r\nTITLEWIDTH=200\r\nCOMMENTWIDTH=400\r\nPATHWIDTH=250\r\nC:\\\xe6\x9b\xb8\xe9\xa1\x9e\\old.txt\told\t\xe6\xb3\xa8\xe8\xa8\x98\r\n' \
  | cp1 >"$catalogue"

source "$(dirname "$0")/window_steps.sh"

wait_gone() {  # name
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  echo "e2e: window $1 did not close" >&2
  return 1
}

focus() {  # window id: the display has no window manager, so focus is given directly
  for _ in $(seq 50); do
    xdotool windowfocus --sync "$1" 2>/dev/null && { sleep 0.2; return 0; }
    sleep 0.1
  done
  echo "e2e: cannot focus window $1" >&2
  return 1
}

"$kantoria" "$catalogue" &
pid=$!
main=$(wait_window "test.ZNL - Kantoria")
focus "$main"

step "Tools > Search on $folder"
xdotool key alt+t
sleep 0.6
xdotool key s
search=$(wait_window "追加検索")
focus "$search"
xdotool type --delay 2 "$folder"
xdotool key Return
question=$(wait_window "Kantoria")
focus "$question"
xdotool key Return
wait_gone "追加検索"

step "rename alpha to gamma in place"
focus "$main"
xdotool key F2
sleep 0.6
xdotool key ctrl+a
xdotool type --delay 2 "gamma"
xdotool key Return
sleep 1.5

step "end the program"
xdotool key alt+f
sleep 0.6
xdotool key x
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then echo "e2e: the program did not end" >&2; exit 1; fi
wait "$pid" || { echo "e2e: the program failed" >&2; exit 1; }

expected=$work/expected.ZNL
printf 'SELECTED=gamma\r\nLASTHOLDER=docs\r\nTITLEWIDTH=200\r\nCOMMENTWIDTH=400\r\nPATHWIDTH=250\r\nC:\\\xe6\x9b\xb8\xe9\xa1\x9e\\old.txt\told\t\xe6\xb3\xa8\xe8\xa8\x98\r\n%s/alpha.txt\tgamma\t\xe8\x87\xaa\xe5\x8b\x95\xe6\xa4\x9c\xe7\xb4\xa2\r\n%s/beta.txt\tbeta\t\xe8\x87\xaa\xe5\x8b\x95\xe6\xa4\x9c\xe7\xb4\xa2\r\n' \
  "$folder" "$folder" | cp1 >"$expected"
if ! cmp "$catalogue" "$expected"; then
  echo "e2e: the catalogue is not what the session should have written" >&2
  diff <(iconv -f CP932 -t UTF-8 "$catalogue" | cat -A) <(iconv -f CP932 -t UTF-8 "$expected" | cat -A) >&2 || true
  exit 1
fi
settings=$XDG_CONFIG_HOME/Velmoor/MORKA2.conf
grep -qx "ZNLPATH=$catalogue" "$settings" || { echo "e2e: ZNLPATH not stored" >&2; cat "$settings" >&2; exit 1; }
step "catalogue and settings as expected"
