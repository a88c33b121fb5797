#!/usr/bin/env bash
# Times the window's start with a 1,000,000-entry catalogue, from just before the program is
# started until its main window is first painted on an X server of its own (Xvfb), against
# `iconv -f CP932 -t UTF-8` of the same file in the same run, and reads the window's resident
# memory at that moment. Two catalogues: 89,000 holders in a shallow tree, and 99,000 in a deep
# tree like /usr where most holders' parent folders hold no entries.
# A report, not a test: it exits 0 whatever the figures, non-zero only when something could not
# be done. Usage: bench/start_bench.sh BUILD_DIR [WORKDIR]   (RUNS=N for N starts, default 3)
set -euo pipefail
export LC_NUMERIC=C  # $EPOCHREALTIME and awk with a decimal point
build=${1:?usage: bench/start_bench.sh BUILD_DIR [WORKDIR]}
workdir=${2:-/tmp/kantoria-bench}
runs=${RUNS:-3}
deadline=${START_TIMEOUT:-120}  # seconds a start may take before it counts as hung
program=$build/kantoria
generator=$build/bench/kantoria-bench-catalogue

fail() { echo "error: $*" >&2; exit 1; }
[ -x "$program" ] || fail "no kantoria at $program (build it first)"
[ -x "$generator" ] || fail "no kantoria-bench-catalogue at $generator (build it first)"
for tool in Xvfb openbox iconv timeout xdpyinfo; do
  command -v "$tool" >/dev/null || fail "needs $tool (apt-get install xvfb openbox x11-utils)"
done
# grep reads to the end: with pipefail an early exit would fail fc-list on a closed pipe.
fc-list : family 2>/dev/null | grep -i ipagothic >/dev/null ||
  echo "note: no IPA Gothic font (fonts-ipafont-gothic); Japanese text is drawn with what there is" >&2

scratch=$(mktemp -d)
xvfb_pid=
wm_pid=
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

echo "load before: $(cat /proc/loadavg)"

flat=$("$generator" --dir "$workdir" --folders 89000 --generate-only) || fail "cannot generate"
deep=$("$generator" --dir "$workdir" --deep --generate-only) || fail "cannot generate"

# A display number no other server uses.
display=91
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  xdpyinfo -display ":$display" >/dev/null 2>&1 && break
  sleep 0.1
done
xdpyinfo -display ":$display" >/dev/null 2>&1 || fail "Xvfb did not start on :$display"
DISPLAY=":$display" openbox >"$scratch/openbox.log" 2>&1 &
wm_pid=$!
sleep 1

# The program registers its file type in the data folder at every start and, when it writes
# anything there, has the desktop's caches rebuilt in the background. One start beforehand
# leaves that folder as after any earlier start, so no run pays for it or shares the machine
# with it; settings and the running-instance folder are new for every run.
data_home=$scratch/data

now_us() { echo "${EPOCHREALTIME/./}"; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Starts the program with a fresh home on file and waits for the main window's first paint:
# Qt's painting log names the window when its pixels are flushed to the screen. Prints the
# milliseconds taken and the program's VmRSS in KiB then.
start_once() {
  local file=$1 run=$scratch/run
  rm -rf "$run"
  mkdir -p "$run/home" "$run/config" "$run/cache" "$run/runtime" "$data_home"
  chmod 700 "$run/runtime"
  mkfifo "$run/log"
  local t0 pid child='' line ms='' rss=0
  t0=$(now_us)
  HOME=$run/home XDG_CONFIG_HOME=$run/config XDG_CACHE_HOME=$run/cache \
    XDG_DATA_HOME=$data_home XDG_RUNTIME_DIR=$run/runtime DISPLAY=":$display" \
    QT_QPA_PLATFORM=xcb QT_LOGGING_RULES="qt.widgets.painting=true" \
    QT_MESSAGE_PATTERN='%{message}' \
    timeout -s KILL "$deadline" "$program" "$file" 2>"$run/log" >/dev/null &
  pid=$!
  exec 3<"$run/log"
  while IFS= read -r -t "$deadline" line <&3; do
    if [[ $line == Flushing\ QRegion*MainWindow* ]]; then
      ms=$((($(now_us) - t0) / 1000))
      child=$(cat "/proc/$pid/task/$pid/children" 2>/dev/null || true)
      child=${child%% *}
      [ -n "$child" ] && rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$child/status" 2>/dev/null || echo 0)
      break
    fi
  done
  [ -n "$child" ] && kill -KILL "$child" 2>/dev/null
  kill -KILL "$pid" 2>/dev/null || true
  exec 3<&-
  wait "$pid" 2>/dev/null || true
  [ -n "$ms" ] || return 1
  echo "$ms $rss"
}

echo "warming up (the page cache, the file-type registration) ..."
cat "$flat" "$deep" >/dev/null
start_once "$flat" >/dev/null || fail "the window never painted (see $program with QT_LOGGING_RULES)"

time_iconv() {
  local t0
  t0=$(now_us)
  iconv -f CP932 -t UTF-8 "$1" >/dev/null || fail "iconv failed on $1"
  echo $((($(now_us) - t0) / 1000))
}

results=()
measure() {
  local label=$1 file=$2 entries=$3 holders=$4 goal=$5
  local starts=() iconvs=() rss_max=0 out ms rss size
  for _ in $(seq "$runs"); do
    iconvs+=("$(time_iconv "$file")")
    out=$(start_once "$file") || fail "no first paint of the window within ${deadline}s for $file"
    read -r ms rss <<<"$out"
    starts+=("$ms")
    [ "$rss" -gt "$rss_max" ] && rss_max=$rss
  done
  size=$(stat -c %s "$file")
  local start_med iconv_med lo hi
  start_med=$(printf '%s\n' "${starts[@]}" | median)
  iconv_med=$(printf '%s\n' "${iconvs[@]}" | median)
  lo=$(printf '%s\n' "${starts[@]}" | sort -n | head -1)
  hi=$(printf '%s\n' "${starts[@]}" | sort -n | tail -1)
  results+=("$(awk -v l="$label" -v e="$entries" -v h="$holders" -v s="$start_med" \
    -v lo="$lo" -v hi="$hi" -v i="$iconv_med" -v g="$goal" -v r="$rss_max" -v z="$size" 'BEGIN {
      ratio = s / i; mem = r * 1024 / z
      printf "%-6s %9s %8s %9d %11s %8d %6.2fx %5s  %-6s %8.0f %5.2fx", l, e, h, s, lo "-" hi, \
        i, ratio, "<=" g "x", (ratio <= g) ? "met" : "MISSED", r / 1024, mem }')")
}

measure flat "$flat" 1000000 89000 5
measure deep "$deep" 1000000 99000 8

echo
echo "Start until the main window's first paint (Xvfb :$display, openbox), $runs runs each;"
echo "medians in ms, range of all runs; RSS: the window's resident memory at first paint (MiB,"
echo "largest of the runs) and its ratio to the file size."
echo "  flat: $flat ($(($(stat -c %s "$flat") / 1048576)) MiB)"
echo "  deep: $deep ($(($(stat -c %s "$deep") / 1048576)) MiB)"
echo
printf "%-6s %9s %8s %9s %11s %8s %7s %5s  %-6s %8s %6s\n" file entries holders start range \
  iconv ratio goal result RSS xfile
for r in "${results[@]}"; do echo "$r"; done
echo
echo "load after:  $(cat /proc/loadavg)"
