# shellcheck shell=bash
# What every bash scenario shares, under Wine (wine.sh) or natively
# (linux.sh): one way to count and print checks, small helpers,
# and a desk of several monitors. Source one of those two libraries, not this.
#
#   check "what" COMMAND..      runs COMMAND; prints "ok - what" or "FAIL - what"
#   skip "why"                  a case that cannot run on this machine: "skip - why"
#   finish_checks               prints "N passed, N failed, N skipped" and exits: 1 after a
#                               failure, else 77 after a skip (CTest reports the scenario as
#                               skipped, so keep such a case in a scenario of its own), else 0
#   more_than A B / less_than A B / at_most A B   decimal comparisons (empty reads as 0)
#   has_bits VALUE MASK         every bit of MASK is set in VALUE
#   lit_fraction IMAGE          share of its pixels that are not black (any channel above 0)
#   field KEY LINE              VALUE of "KEY=VALUE" in a line such as the probe prints
#   winpath PATH                the path as Wine's programs see it (Z:\...)
#   monitors_start DIR SIZE..   one Xephyr screen per SIZE (WxH), side by side as Xinerama
#                               heads, nested in $DISPLAY; exports DISPLAY to it; sets
#                               MONITOR_RECTS (WxH+X+Y each, primary first); log in DIR
#   monitors_stop               ends it and gives DISPLAY back
#   crop_monitor FILE N OUT     the part of a screenshot that monitor N (0 = primary) shows;
#                               the rest of the X screen is junk on a desk of several monitors

T_PASSED=0
T_FAILED=0
T_SKIPPED=0

check() {
  local what=$1
  shift
  if "$@"; then
    T_PASSED=$((T_PASSED + 1))
    echo "ok - $what"
  else
    T_FAILED=$((T_FAILED + 1))
    echo "FAIL - $what"
  fi
}

skip() {
  T_SKIPPED=$((T_SKIPPED + 1))
  echo "skip - $1"
}

finish_checks() {
  echo "$T_PASSED passed, $T_FAILED failed, $T_SKIPPED skipped"
  ((T_FAILED == 0)) || exit 1
  ((T_SKIPPED == 0)) || exit 77
  exit 0
}

more_than() { awk -v a="${1:-0}" -v b="${2:-0}" 'BEGIN { exit !(a + 0 > b + 0) }'; }
at_most() { ! more_than "$@"; }
less_than() { awk -v a="${1:-0}" -v b="${2:-0}" 'BEGIN { exit !(a + 0 < b + 0) }'; }
has_bits() { (( ($1 & $2) == $2 )); }
lit_fraction() {
  convert "$1" -channel RGB -separate -evaluate-sequence max -threshold 0 -format '%[fx:mean]' info:
}
field() { sed -nE "s/.*(^| )$1=([^ ]+).*/\\2/p" <<<"$2"; }

winpath() {
  local p
  p=$(realpath -m "$1")
  echo "Z:${p//\//\\}"
}

MONITORS_PID=
MONITORS_HOST_DISPLAY=
MONITOR_RECTS=()

monitors_start() {
  local dir=$1 size x=0 w h args=() number=""
  shift
  MONITOR_RECTS=()
  for size in "$@"; do
    [[ $size =~ ^([0-9]+)x([0-9]+)$ ]] || { echo "monitors_start: bad size '$size'" >&2; return 1; }
    w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]}
    MONITOR_RECTS+=("${w}x${h}+$x+0")
    x=$((x + w))
    args+=(-screen "$size")
  done
  mkdir -p "$dir"
  rm -f "$dir/monitors.display"
  # Each screen is a window of its own on the outer display, all at its corner.
  Xephyr -displayfd 6 "${args[@]}" +xinerama -extension RANDR -nolisten tcp -ac -noreset \
    6>"$dir/monitors.display" >"$dir/xephyr.log" 2>&1 &
  MONITORS_PID=$!
  for _ in $(seq 100); do
    [[ -s "$dir/monitors.display" ]] && number=$(head -n1 "$dir/monitors.display")
    [[ $number =~ ^[0-9]+$ ]] && break
    kill -0 "$MONITORS_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [[ ! $number =~ ^[0-9]+$ ]] || ! DISPLAY=":$number" xdpyinfo >/dev/null 2>&1; then
    echo "monitors_start: Xephyr did not start (log: $dir/xephyr.log)" >&2
    monitors_stop
    return 1
  fi
  MONITORS_HOST_DISPLAY=$DISPLAY
  export DISPLAY=":$number"
}

monitors_stop() {
  [[ -n $MONITORS_PID ]] || return 0
  kill -TERM "$MONITORS_PID" 2>/dev/null
  wait "$MONITORS_PID" 2>/dev/null
  MONITORS_PID=
  if [[ -n $MONITORS_HOST_DISPLAY ]]; then
    export DISPLAY=$MONITORS_HOST_DISPLAY
    MONITORS_HOST_DISPLAY=
  fi
}

crop_monitor() {
  local rect=${MONITOR_RECTS[$2]:-}
  [[ -n $rect ]] || { echo "crop_monitor: no monitor $2" >&2; return 1; }
  convert "$1" -crop "$rect" +repage "$3"
}
