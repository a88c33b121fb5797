# Sourced by the end-to-end scripts that drive the real program under a virtual X display.
step() { echo "e2e: $*"; }
wait_window() {  # name: prints the id of the visible window with that exact name
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "e2e: no window named $1" >&2
  return 1
}
