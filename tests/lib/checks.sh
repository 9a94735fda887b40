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
#   wait_until LIMIT WHAT CMD.. runs CMD every WAIT_STEP (0.1) s until it succeeds; after LIMIT
#                               seconds prints "timed out after LIMIT s waiting for WHAT" and fails
#   share_not_black IMAGE [GEOMETRY]        share of its pixels (or of a part) with any
#                               channel above 0: how much of a screen anything is drawn on
#   share_not_near_black IMAGE [GEOMETRY]   share of its pixels brighter than 8% gray: how
#                               much of it the veils light, not the dark ends of their trails
#   x_server_start FILE LOG PROGRAM ARGS..  an X server (Xvfb, Xephyr) on a display it picks
#                               itself (-displayfd); X_SERVER_PID and X_SERVER_DISPLAY (:N)
#   process_gone PID                the process PID no longer runs (for wait_until)
#   make_tone FILE SECONDS [HZ [EFFECT..]]  a sine tone (440 Hz) at half scale, 16 bit stereo
#                               WAV (a format every player takes), then sox's EFFECTs
#   make_tone_mp3 FILE SECONDS  the same tone as an MP3 (lame's defaults)
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
_crop() { [[ -n "${1:-}" ]] && printf '%s\n' -crop "$1" +repage; }
share_not_black() {
  local crop
  mapfile -t crop < <(_crop "${2:-}")
  convert "$1" "${crop[@]}" -channel RGB -separate -evaluate-sequence max -threshold 0 \
    -format '%[fx:mean]' info:
}
share_not_near_black() {
  local crop
  mapfile -t crop < <(_crop "${2:-}")
  convert "$1" "${crop[@]}" -colorspace Gray -threshold 8% -format '%[fx:mean]' info:
}

wait_until() {
  local limit=$1 what=$2 end
  shift 2
  end=$((${EPOCHREALTIME/./} + $(awk -v s="$limit" 'BEGIN { printf "%d", s * 1000000 }')))
  until "$@"; do
    if ((${EPOCHREALTIME/./} >= end)); then
      echo "timed out after $limit s waiting for $what" >&2
      return 1
    fi
    sleep "${WAIT_STEP:-0.1}"
  done
}

process_gone() { ! kill -0 "$1" 2>/dev/null; }

make_tone() {
  local file=$1 seconds=$2 hz=${3:-440}
  shift $(($# < 3 ? $# : 3))
  sox -n -r 44100 -c 2 -b 16 "$file" synth "$seconds" sine "$hz" vol 0.5 "$@"
}

make_tone_mp3() {
  make_tone "$1.wav" "$2" && lame --quiet "$1.wav" "$1"
  rm -f "$1.wav"
}

X_SERVER_PID=
X_SERVER_DISPLAY=
# The file of an earlier server must go first: the redirection truncates it only in the
# child, some time after the fork, and until then the old number would be read as this one.
_x_server_said() {
  [[ $(head -n1 "$1" 2>/dev/null) =~ ^[0-9]+$ ]] || ! kill -0 "$X_SERVER_PID" 2>/dev/null
}
x_server_start() {
  local file=$1 log=$2 number
  shift 2
  rm -f "$file"
  "$@" -displayfd 9 9>"$file" >"$log" 2>&1 &
  X_SERVER_PID=$!
  wait_until 20 "$1 to tell its display" _x_server_said "$file"
  number=$(head -n1 "$file" 2>/dev/null)
  if [[ ! $number =~ ^[0-9]+$ ]]; then
    echo "x_server_start: $1 did not start (log: $log)" >&2
    return 1
  fi
  X_SERVER_DISPLAY=":$number"
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
  # Each screen is a window of its own on the outer display, all at its corner.
  if ! x_server_start "$dir/monitors.display" "$dir/xephyr.log" \
    Xephyr "${args[@]}" +xinerama -extension RANDR -nolisten tcp -ac -noreset; then
    MONITORS_PID=$X_SERVER_PID
    monitors_stop
    return 1
  fi
  MONITORS_PID=$X_SERVER_PID
  number=${X_SERVER_DISPLAY#:}
  if ! DISPLAY=":$number" xdpyinfo >/dev/null 2>&1; then
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
