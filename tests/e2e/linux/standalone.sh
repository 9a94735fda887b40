#!/usr/bin/env bash
# Without --root or --window-id: a full-screen window of its own that ends with 0
# on a key or button press, on a pointer move beyond 4 px after the first move, or
# when another window takes the focus; the wheel and small moves do not end it.
# shellcheck source=../../lib/linux.sh
source "$(dirname "$0")/../../lib/linux.sh"
x_start 640x480  # a smaller screen: quicker frames, the same rules
xdotool mousemove 500 400

test_window other 100 100
other=$WINDOW_ID

# Starts the program and waits until its window has the focus.
start() {
  xdotool mousemove 500 400
  program_start "$@"
  wait_until 5 "orvane's window with the focus" focused
}
focused() {
  window=$(xdotool search --name '^Orvane$' 2>/dev/null | head -n1)
  [[ -n $window && $(xdotool getwindowfocus 2>/dev/null) == "$window" ]]
}

ends() {
  program_ends_within 5
  [[ $HACK_STATUS == 0 ]] || { echo "  status $HACK_STATUS"; return 1; }
}
# Input that must not end it: the settle time is the point.
still() { sleep 0.3; program_running; }

start
wait_for_picture
a=$(shot standalone)
lit=$(share_not_near_black "$a")
check "covers the screen with veils ($lit)" gt "$lit" 0.05
xdotool click 4 click 5
check "the wheel does not end it" still
xdotool key shift
check "a key press ends it" ends

start
xdotool click 1
check "a left button press ends it" ends
start
xdotool click 3
check "a right button press ends it" ends

start
xdotool mousemove 510 400  # the first move never ends it, however far
check "the first move does not end it" still
xdotool mousemove 503 401  # 4 px from the start: within the tolerance
check "a move of 4 px does not end it" still
xdotool mousemove 506 403  # 5 px from the last position within the tolerance
check "then a move of 5 px ends it" ends

start --fps
xdotool windowfocus "$other"
check "losing the focus ends it" ends
finish
