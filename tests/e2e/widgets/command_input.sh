#!/usr/bin/env bash
# The push button with real X input in a small host window: its looks (screenshots), one Click
# per click, none after dragging out past a poll, right clicks, and a disabled button.
# shellcheck source=../../lib/wine.sh
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh"

HOST="$H_BUILD_DIR/testbin/command_host.exe"
WORK=$(h_workdir widgets_command)
TITLE="Command Host"


# start_host NAME [ARGS..]: the host with its button; sets LOG, HOST_PID, BX BY BW BH, CX CY.
start_host() {
  LOG="$WORK/$1.log"
  shift
  h_start "$HOST" "$(winpath "$LOG")" "$@"
  HOST_PID=$H_PID
  h_wait_window "$TITLE" 30 >/dev/null || { echo "no host window"; return 1; }
  wait_until 5 "the button's rect in $LOG" grep -q '^rect ' "$LOG"
  read -r _ BX BY BW BH < <(grep '^rect ' "$LOG")
  CX=$((BX + BW / 2))
  CY=$((BY + BH / 2))
  # Let the first polls pass with the pointer away.
  h_mouse_to "$((BX - 20))" "$CY"
  poll
}

stop_host() {
  h_probe post-close "$TITLE"
  h_wait_exit "$HOST_PID" 10 >/dev/null
  h_wait_no_window "$TITLE" 5
}

clicks() { grep -c '^click' "$LOG"; }
_reported_since() { (($(grep -c '^state' "$LOG") > $1)); }

# "STATE LOOK" as the host reports them.
state() {
  local before
  before=$(grep -c '^state' "$LOG")
  h_probe post "$TITLE" 0x8000
  wait_until 3 "the host to report its state" _reported_since "$before"
  grep '^state' "$LOG" | tail -n1 | awk '{print $2, $4}'
}

# A close-up of the button (4x) under $H_SHOTS/command_NAME.png.
shot() {
  local full
  full=$(h_shot "command_full_$1")
  convert "$full" -crop "$((BW + 16))x$((BH + 16))+$((BX - 8))+$((BY - 8))" +repage \
    -filter point -resize 400% "$H_SHOTS/command_$1.png"
  rm -f "$full"
}

# The pointer beside the button, over the host window (so that Wine sees it leave and come back).
away() { h_mouse_to "$((BX - 20))" "$CY"; }

# Waits for the hover poll (100 ms) to have run at least twice: its period is the point.
poll() { sleep 0.35; }

# settle STATE-LOOK: waits (3 s at most) for the button to show it after input.
STATE=
_state_is() { STATE=$(state); [[ $STATE == "$1" ]]; }
settle() { wait_until 3 "state and look $1 (last: $STATE)" _state_is "$1"; }

expect() {  # WHAT EXPECTED-STATE-LOOK EXPECTED-CLICKS
  local got
  settle "$2"
  got=$STATE
  check "$1: state and look $2 (got $got)" test "$got" = "$2"
  check "$1: $3 Click(s) so far (got $(clicks))" test "$(clicks)" -eq "$3"
}

# Looks: 0 Normal, 1 HighLight, 2 Pressed, 3 Selected, 4 HighLightSelect, 5 Disable.
start_host looks
expect "at rest" "1 0" 0
shot normal
h_mouse_to "$CX" "$CY"
expect "pointer over" "2 1" 0
shot highlight
h_mousedown 1
expect "left button down" "4 2" 0
shot pressed
h_mouseup 1
expect "released over the button" "4 4" 1
shot highlightselect
away
expect "pointer gone" "3 3" 1
shot selected

# Dragging out with the button held: the poll turns 4 into 3 and the release clicks nothing.
h_mouse_to "$CX" "$CY"
expect "back over the focused button" "4 4" 1
h_mousedown 1; settle "4 2"
h_mouse_to "$((BX + BW + 40))" "$CY"; poll
h_mouseup 1
expect "dragged out, released after a poll" "3 3" 1

# Back in with the left button held: stays Selected; a right click there (state 3) raises no
# Click, nor does the left release; the next move highlights.
h_mouse_to "$CX" "$CY"; settle "4 4"
h_mousedown 1; settle "4 2"
away; poll
h_mouse_to "$CX" "$CY"
expect "dragged back in while held" "3 3" 1
h_click 3; sleep 0.3 # nothing may change: the time to show it is the point
expect "right click in state 3" "3 3" 1
h_mouseup 1; sleep 0.3 # as above: no Click may come
# (Releasing the capture makes the platform send a move, which may highlight at once.)
check "left release in state 3: no Click (got $(clicks))" test "$(clicks)" -eq 1
h_mouse_by 2 0
expect "next move" "4 4" 1

# The caption is part of the button: a click on the caption's centre counts like any other.
h_click 1
expect "click on the caption" "4 4" 2

# A press beside the button takes its focus away.
h_mouse_to "$((BX - 20))" "$((BY - 20))"; h_click 1
expect "focus lost" "1 0" 2
stop_host

# Right click on a hovered button without focus: Click, and no Pressed look.
start_host right
h_mouse_to "$CX" "$CY"; settle "2 1"
h_mousedown 3
expect "right button down" "2 1" 0
h_mouseup 3
expect "right button up" "2 1" 1
h_click 2
expect "middle click" "2 1" 2
stop_host

# The dialog's small button (435 x 315 twips).
start_host small 29 21
h_mouse_to "$CX" "$CY"; settle "2 1"
shot small_highlight
away; settle "1 0"
shot small_normal
stop_host

# A disabled button ignores everything.
start_host disabled disabled
shot disable
# Nothing may change here: the settle times are the point.
h_mouse_to "$CX" "$CY"; sleep 0.3
h_click 1; sleep 0.3
h_click 3; sleep 0.3
away
expect "disabled, after moves and clicks" "1 5" 0
stop_host

h_finish
