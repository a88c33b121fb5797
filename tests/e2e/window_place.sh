#!/usr/bin/env bash
# Starts and ends the real program three times under a virtual X display with a window manager
# (openbox: it frames the window, as a desktop does) without touching the window, and checks
# that the window shows at the remembered outer rectangle and that the program writes that
# rectangle back exactly each time.
# Usage: window_place.sh KANTORIA
set -euo pipefail
kantoria=$1

if [ -z "${DISPLAY:-}" ] || [ "${KANTORIA_E2E_INNER:-}" != 1 ]; then
  KANTORIA_E2E_INNER=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

work=$(mktemp -d)
trap 'kill "$pid" "$wm" 2>/dev/null || true; rm -rf "$work"' EXIT
pid=
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
  XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Velmoor" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

openbox --sm-disable --config-file /dev/null >/dev/null 2>&1 &
wm=$!
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done

settings=$XDG_CONFIG_HOME/Velmoor/MORKA2.conf
printf '[STATUS]\nWINPOSX=120\nWINPOSY=70\nWINWIDTH=962\nWINHEIGHT=623\n' >"$settings"
rect() { grep -E '^WIN(POSX|POSY|WIDTH|HEIGHT)=' "$settings" | sort | tr '\n' ' '; }
expected=$(rect)

# The outer rectangle of window id as the screen shows it: the client's place and size with the
# frame the window manager put around it.
shown() {
  local X Y WIDTH HEIGHT left right top bottom info
  info=$(xwininfo -id "$1")
  X=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  Y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  WIDTH=$(sed -n 's/.*Width: *//p' <<<"$info")
  HEIGHT=$(sed -n 's/.*Height: *//p' <<<"$info")
  read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  echo "WINHEIGHT=$((HEIGHT + top + bottom)) WINPOSX=$((X - left)) WINPOSY=$((Y - top)) WINWIDTH=$((WIDTH + left + right)) "
}

for run in 1 2 3; do
  touch -d '2001-01-01' "$settings"
  "$kantoria" &
  pid=$!
  id=
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name " - Kantoria\$" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "e2e: no main window" >&2; exit 1; }
  sleep 1.5  # the window manager frames the window and the program settles
  on_screen=$(shown "$id")
  echo "e2e: run $run shows: $on_screen"
  [ "$on_screen" = "$expected" ] || { echo "e2e: shown at $on_screen, expected $expected" >&2; exit 1; }
  xdotool windowactivate --sync "$id" >/dev/null 2>&1 || true
  xdotool key alt+F4
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then echo "e2e: the program did not end" >&2; exit 1; fi
  wait "$pid" || { echo "e2e: the program failed" >&2; exit 1; }
  [ "$(date -r "$settings" +%Y)" != 2001 ] || { echo "e2e: the rectangle was not written" >&2; exit 1; }
  got=$(rect)
  echo "e2e: run $run: $got"
  [ "$got" = "$expected" ] || { echo "e2e: expected $expected" >&2; exit 1; }
done
echo "e2e: the window came back where it was three times"
