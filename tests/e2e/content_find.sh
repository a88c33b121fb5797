#!/usr/bin/env bash
# The real program under a virtual X display with a window manager, driven with the keyboard:
# turns on reading the documents (行操作 > 本文も検索), types a word that stands only inside a
# PDF, goes from the field to the row it found with Return and renames it in place; the saved
# catalogue shows that the PDF's entry, and only it, was found.
# Usage: content_find.sh KANTORIA MAKE_DOCUMENT. Exits 77 (skipped) when Xvfb, openbox or
# xdotool is missing.
set -euo pipefail
kantoria=$1 make_document=$2
for tool in xvfb-run xdotool openbox; do command -v $tool >/dev/null || exit 77; done

if [ -z "${DISPLAY:-}" ] || [ "${KANTORIA_E2E_INNER:-}" != 1 ]; then
  KANTORIA_E2E_INNER=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

work=$(mktemp -d)
pid= wm=
trap 'kill "$pid" "$wm" 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
  XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

openbox --sm-disable --config-file /dev/null >/dev/null 2>&1 &
wm=$!
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done

docs=$work/docs
mkdir -p "$docs"
"$make_document" pdf "$docs/report.pdf" "第3四半期の売上は前年を上回った。" "担当 QZXMARKER 印刷"
"$make_document" utf8 "$docs/memo.txt" "QZX で始まる別の言葉 QZXOTHER"
catalogue=$work/test.ZNL
printf 'SELECTED=\r\nLASTHOLDER=docs\r\nTITLEWIDTH=200\r\nCOMMENTWIDTH=400\r\nPATHWIDTH=250\r\n%s/memo.txt\tmemo\t\r\n%s/report.pdf\treport\t\r\n' \
  "$docs" "$docs" >"$catalogue"

source "$(dirname "$0")/window_steps.sh"

"$kantoria" "$catalogue" &
pid=$!
main=$(wait_window "test.ZNL - Kantoria")
xdotool windowactivate --sync "$main"
sleep 0.5

step "turn on 本文も検索 and let the index be built"
xdotool key alt+g
sleep 0.6
xdotool key b
sleep 3

step "type a word found only inside the PDF, go to its row and rename it"
xdotool key ctrl+f
xdotool type --delay 20 "qzxmarker"
sleep 1.5
xdotool key Return
sleep 0.5
xdotool key F2
sleep 0.6
xdotool key ctrl+a
xdotool type --delay 2 "found"
xdotool key Return
sleep 0.5
xdotool key ctrl+s
sleep 1

step "end the program"
xdotool key alt+f
sleep 0.6
xdotool key x
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then echo "e2e: the program did not end" >&2; exit 1; fi
wait "$pid" || { echo "e2e: the program failed" >&2; exit 1; }

grep -q "report.pdf	found" "$catalogue" && grep -q "memo.txt	memo" "$catalogue" || {
  echo "e2e: the PDF's entry was not the one found" >&2
  cat -A "$catalogue" >&2
  exit 1
}
grep -qx "FINDCONTENT=1" "$XDG_CONFIG_HOME"/*/*.conf || {
  echo "e2e: the toggle was not remembered" >&2
  exit 1
}
step "the word inside the PDF found its entry"
