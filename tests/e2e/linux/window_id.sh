#!/usr/bin/env bash
# --window-id: draws into a window the test makes and follows its size; ends with
# 0 when the window goes away; bad ids, a missing display and a display without GLX
# give one line on stderr and exit code 1.
# shellcheck source=../../lib/linux.sh
source "$(dirname "$0")/../../lib/linux.sh"
x_start

test_window window 320 240
owner=$WINDOW_PID
window=$WINDOW_ID

program_start --window-id "$window"
check "draws into the window" wait_for_picture "$window"
small=$(shot small "$window")
lit=$(share_not_near_black "$small")
check "fills it ($lit)" gt "$lit" 0.05

# Grown to 640x480: a picture that kept the old viewport would leave the top and
# the right black (GL counts from the bottom left).
xdotool windowsize "$window" 640 480
top_drawn() {
  big=$(shot big "$window")
  more_than "$(share_not_near_black "$big" 280x200+360+0)" 0.02 &&
    more_than "$(share_not_near_black "$big" 300x200+0+0)" 0.02
}
wait_until 5 "the grown window's top drawn" top_drawn
right=$(share_not_near_black "$big" 280x200+360+0)
left=$(share_not_near_black "$big" 300x200+0+0)
check "the new area is drawn: top right ($right)" gt "$right" 0.02
check "the new area is drawn: top left ($left)" gt "$left" 0.02
check "still running" program_running

kill -TERM "$owner"
program_ends_within 5
check "ends with 0 when the window goes away (got $HACK_STATUS)" test "$HACK_STATUS" = 0

# Synced to the display: without a driver that waits at the swap, frames are paced
# to about 60 a second instead of running flat out, even in a small cheap window.
test_window tiny 64 48
program_start --window-id "$WINDOW_ID" --fps
rates_reported() { (($(grep -c 'fps$' "$WORK/program.err") >= 2)); }
wait_until 10 "two rates reported" rates_reported
kill -TERM "$PROGRAM_PID"
program_ends_within 5
fastest=$(awk '/fps$/ { if ($2 > m) m = $2 } END { print m + 0 }' "$WORK/program.err")
check "at most about 60 frames a second with vsync ($fastest)" gt 66 "$fastest"

# Refusals: one line on stderr, exit code 1, quickly.
refused() {
  local expect=$1 status lines
  shift
  timeout 10 "$@" >"$WORK/out" 2>"$WORK/err"
  status=$?
  lines=$(wc -l <"$WORK/err")
  if [[ $status == 1 && $lines == 1 ]] && grep -q "$expect" "$WORK/err"; then
    return 0
  fi
  echo "  status $status, stderr: $(cat "$WORK/err")"
  return 1
}
check "an id that is no window" refused "0x7ffffff0 is not a window" "$ORVANE_PROGRAM" --window-id 0x7ffffff0
check "a decimal id that is no window" refused "is not a window" "$ORVANE_PROGRAM" --window-id 123456
check "an id that is no number" refused "'12ab' is not a window id" "$ORVANE_PROGRAM" --window-id 12ab
check "an unknown option" refused "unknown option '--speed'" "$ORVANE_PROGRAM" --speed 3
check "a display that cannot be opened" refused "cannot open display ':999'" \
  env DISPLAY=:999 "$ORVANE_PROGRAM" --root
check "no display at all" refused "cannot open display ''" env -u DISPLAY "$ORVANE_PROGRAM"
# A display without GLX: no visual to draw with, in either kind of window.
x_server_start "$WORK/plain.display" "$WORK/plain.log" \
  Xvfb -screen 0 320x240x24 -nolisten tcp -extension GLX
x_track "$X_SERVER_PID"
plain=$X_SERVER_DISPLAY
check "no GLX: --root refused" refused "GLX" env DISPLAY="$plain" "$ORVANE_PROGRAM" --root
check "no GLX: standalone refused" refused "no usable GLX visual" env DISPLAY="$plain" "$ORVANE_PROGRAM"

help() { "$ORVANE_PROGRAM" --help | grep -q -- '--window-id ID'; }
check "--help exits 0 with the options" help
finish
