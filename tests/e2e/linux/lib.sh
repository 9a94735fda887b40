# Shared by the Linux scenarios: an Xvfb of their own, the hack, screenshots.
# Every process started here is ended by its id when the scenario exits.
#
#   x_start [SIZE]              Xvfb (1024x768 or SIZE, 24 bit) on a free display; exports DISPLAY
#   x_track PID                 end PID with the scenario
#   hack_start ARGS...          orvane in the background: $HACK_PID, stderr in $WORK/hack.err
#   hack_ends_within SECONDS    waits for it; $HACK_STATUS is its exit code (fails on timeout)
#   hack_running                true while it runs
#   shot NAME [WINDOW]          screenshot to $WORK/NAME.ppm (prints the path); PNG copies at the end
#   lit_share FILE [GEOMETRY]   share of pixels brighter than near-black, 0..1
#   changed_pixels A B          pixels that differ between two screenshots
#   check WHAT CONDITION...     counts a check; prints ok/FAIL
#   test_window NAME W H [ARGS] a window of the test helper: $WINDOW_ID, $WINDOW_PID
#   check_moving_veils NAME     two screenshots apart: lit, and changed between them
#   finish                      exit code from the checks
set -uo pipefail

: "${ORVANE_HACK:?the orvane program}"
: "${ORVANE_BUILD_DIR:?the native build folder}"
WORK="$ORVANE_BUILD_DIR/linux-e2e/$(basename "$0" .sh)"
rm -rf "$WORK"
mkdir -p "$WORK"
PIDS=()
FAILED=0

XVFB_PID=

# The X clients first, so that none of them sees its display vanish.
cleanup() {
  local pid
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null; done
  if [[ -n $XVFB_PID ]]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
  fi
}
trap cleanup EXIT

x_track() { PIDS+=("$1"); }

x_start() {
  rm -f "$WORK/display"
  Xvfb -displayfd 5 -screen 0 "${1:-1024x768}x24" -nolisten tcp 5>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local n
  for n in $(seq 100); do
    [[ -s "$WORK/display" ]] && break
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$WORK/display")"
  if [[ ! $DISPLAY =~ ^:[0-9]+$ ]]; then
    echo "x_start: Xvfb did not start (DISPLAY='$DISPLAY'; log: $WORK/xvfb.log)" >&2
    exit 1
  fi
}

hack_start() {
  "$ORVANE_HACK" "$@" 2>"$WORK/hack.err" &
  HACK_PID=$!
  x_track $HACK_PID
}

hack_running() { kill -0 "$HACK_PID" 2>/dev/null; }

hack_ends_within() {
  local n
  for n in $(seq $(($1 * 20))); do
    hack_running || break
    sleep 0.05
  done
  if hack_running; then
    HACK_STATUS=timeout
    return 1
  fi
  wait "$HACK_PID"
  HACK_STATUS=$?
}

# The hack has drawn at least one frame once its window shows something.
wait_for_picture() {
  local window=${1:-root} n
  for n in $(seq 60); do
    import -window "$window" "$WORK/probe.ppm" 2>/dev/null &&
      [[ $(lit_share "$WORK/probe.ppm") != 0 ]] && return 0
    sleep 0.1
  done
  return 1
}

# Taken as PPM, which is quick to write and read; the scenario's end keeps PNG copies to look at.
shot() {
  local file="$WORK/$1.ppm"
  import -window "${2:-root}" "$file"
  echo "$file"
}

lit_share() {
  local crop=()
  [[ -n "${2:-}" ]] && crop=(-crop "$2" +repage)
  convert "$1" "${crop[@]}" -colorspace Gray -threshold 8% -format '%[fx:mean]' info:
}

changed_pixels() { compare -metric AE -fuzz 2% "$1" "$2" null: 2>&1; }

check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAIL: $what"
    FAILED=$((FAILED + 1))
  fi
}

finish() {
  rm -f "$WORK/probe.ppm"
  local file
  for file in "$WORK"/*.ppm; do
    [[ -e $file ]] || continue
    convert "$file" -define png:compression-level=1 "${file%.ppm}.png" && rm -f "$file"
  done
  if ((FAILED)); then
    echo "$FAILED check(s) failed; files in $WORK"
    exit 1
  fi
  exit 0
}

# Float comparison for check: gt A B
gt() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

test_window() {
  local name=$1
  shift
  "$ORVANE_TEST_WINDOW" "$@" >"$WORK/$name.id" &
  WINDOW_PID=$!
  x_track "$WINDOW_PID"
  for _ in $(seq 60); do [[ -s "$WORK/$name.id" ]] && break; sleep 0.05; done
  WINDOW_ID=$(cat "$WORK/$name.id")
}

check_moving_veils() {
  local a b lit changed
  a=$(shot "$1-1")
  sleep 0.5
  b=$(shot "$1-2")
  lit=$(lit_share "$a")
  changed=$(changed_pixels "$a" "$b")
  check "veils light the screen ($lit)" gt "$lit" 0.05
  check "the picture moves ($changed pixels changed)" gt "$changed" 20000
}
