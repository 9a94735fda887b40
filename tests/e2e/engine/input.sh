#!/usr/bin/env bash
# What ends the engine and what does not, through real X input; every end is exit
# code 0 and leaves nothing running.
# shellcheck source=../../lib/wine.sh
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh"


# Another X client taking the focus: the engine's application is no longer active.
focus_elsewhere() {
  xmessage -title elsewhere -geometry 200x80+20+20 elsewhere 2>/dev/null &
  other=$!
  _h_track "$other"
  local xid
  xid=$(h_wait_window elsewhere 10)
  h_focus "$xid"
}

# Which key and button events reached Windows at all, so that "still running" is not
# merely input that never arrived.
input_log=$H_BUILD_DIR/e2e-logs/engine_input_events.log
: > "$input_log"
h_start "$H_BUILD_DIR/testbin/engine_input_log.exe" "Z:${input_log//\//\\}"
wait_until 10 "the input log to be ready" grep -q ready "$input_log"

# seen:WORDS (underscores for blanks): the event shows in the log since the case began.
seen() { tail -n +"$((log_mark + 1))" "$input_log" | tr -d '\r' | grep -q "^${1//_/ }"; }

# Waits up to 5 s for the event to show in the log since the case began.
seen_soon() { wait_until 5 "'$1' in the input log" seen "$1"; }

# One step of a case: input, or an expectation.
step() {
  case $1 in
    seen:*)
      check "$name: Windows received '${1#seen:}'" seen_soon "${1#seen:}"
      return
      ;;
    by:*) IFS=, read -r dx dy <<<"${1#by:}"; h_mouse_by "$dx" "$dy" ;;
    key:*) h_key "${1#key:}" ;;
    keydown:*) h_keydown "${1#keydown:}" ;;
    keyup:*) h_keyup "${1#keyup:}" ;;
    click:*) h_click "${1#click:}" ;;
    mousedown:*) h_mousedown "${1#mousedown:}" ;;
    mouseup:*) h_mouseup "${1#mouseup:}" ;;
    close) h_probe post-close OrvaneVC ;;
    away) focus_elsewhere ;;
    alive)
      sleep 1.5 # input that must not end it: the settle time is the point
      check "$name: still running after '$done_steps'" h_alive "$engine"
      return
      ;;
    ends)
      h_wait_exit "$engine" 15
      local rc=$?
      check "$name: '$done_steps' ends it with exit code 0 (got $rc)" test "$rc" -eq 0
      check "$name: its window is gone" h_wait_no_window OrvaneVC 5
      ended=1
      return
      ;;
  esac
  done_steps="${done_steps:+$done_steps }$1"
  # Each input is served on its own, not merged with the next in the queue: the gap is the point.
  sleep 0.4
}

# Starts an engine under the still pointer; sets engine and xwin.
start_engine() {
  h_start "$H_BIN_DIR/Orvane.dll"
  engine=$H_PID
  engines+=("$engine")
  xwin=$(h_wait_window OrvaneVC 30)
  [[ -n "$xwin" ]] || return 1
  h_focused "$xwin"
  # Let the first frames come under the still pointer.
  h_wait_drawn engine_input_start
}

# A key press ends an engine that is still listening after its cases.
end_listening_engine() {
  h_focus "$xwin"
  h_key space
  h_wait_exit "$engine" 15
  local rc=$?
  check "$1: afterwards a key press ends it with exit code 0 (got $rc)" test "$rc" -eq 0
  h_wait_no_window OrvaneVC 5
}

# name | input before the engine starts | steps
# The cases that must not end the engine share one, the first engine of the scenario, in
# the order given, each starting where the one before left it: the first of them meets
# an engine that has had no input, and their input before the start is all given before
# that engine starts. A case that ends the engine has one of its own.
cases=(
  "foreign close before any input||close alive close alive"
  "first move of 10 px, then a second||by:10,0 alive by:10,0 ends"
  "moves of 4 px, then 5 px||by:3,1 by:3,1 by:-1,3 by:0,-4 by:-2,-2 alive by:4,1 ends"
  "key press||key:space ends"
  "system key press||key:alt ends"
  "left button||click:1 ends"
  "middle button||click:2 ends"
  "right button||click:3 ends"
  "loss of activation||away ends"
  "key release|keydown:shift|keyup:shift seen:keyup alive"
  "button release|mousedown:1|mouseup:1 seen:buttonup_1 alive"
  "wheel||click:4 click:5 click:6 click:7 seen:wheel_120 seen:wheel_-120 seen:hwheel alive"
)

engines=()
listening=()
ending=()
for row in "${cases[@]}"; do
  IFS='|' read -r name before steps <<<"$row"
  if [[ " $steps " == *" ends "* ]]; then ending+=("$row"); else listening+=("$row"); fi
done

# The cases that must not end the engine, on one engine.
h_mouse_to 500 400
for row in "${listening[@]}"; do
  IFS='|' read -r name before steps <<<"$row"
  for s in $before; do step "$s"; done
done
names=()
if start_engine; then
  for row in "${listening[@]}"; do
    IFS='|' read -r name before steps <<<"$row"
    names+=("$name")
    log_mark=$(wc -l < "$input_log")
    done_steps="" ended=0 other=""
    for s in $steps; do step "$s"; done
    [[ -n "$other" ]] && kill "$other" 2>/dev/null
  done
  end_listening_engine "$(IFS=';'; echo "${names[*]}")"
else
  check "the engine for the cases that must not end it appears" false
fi

# The cases that end the engine, one engine each.
for row in "${ending[@]}"; do
  IFS='|' read -r name before steps <<<"$row"
  log_mark=$(wc -l < "$input_log")
  h_mouse_to 500 400
  for s in $before; do step "$s"; done
  if ! start_engine; then
    check "$name: the engine window appears" false
    continue
  fi
  done_steps="" ended=0 other=""
  for s in $steps; do step "$s"; done
  ((ended)) || end_listening_engine "$name"
  [[ -n "$other" ]] && kill "$other" 2>/dev/null
done

check "no engine process is left" bash -c "! kill -0 ${engines[*]} 2>/dev/null"
check "no engine window is left" h_absent OrvaneVC
h_finish
