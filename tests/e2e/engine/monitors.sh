#!/usr/bin/env bash
# The show on a desk of two monitors (1024x768 primary, 800x600 to its right): both
# lit and moving, each picture filling its own monitor, one "OrvaneVC" window for the
# host, the music as on one monitor, and input on the second monitor ending it all.
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh"
QUIET=0.005
# RMS difference of two screenshots.
moved() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed -nE 's/.*\(([0-9.e-]+)\).*/\1/p'; }

h_monitors 1024x768 800x600 || exit 1
first=()
check "the desk has two monitors" test "$(xdpyinfo -ext XINERAMA | grep -c 'head #')" -eq 2

dir=$(h_workdir engine_monitors)
h_install "$dir"
make_tone_mp3 "$dir/tone.mp3" 60
write_settings "$dir/Orvane.ini" 2 0 "$(winpath "$dir/tone.mp3")"

# Starts a show with the pointer at X Y; sets HOST, ENGINE_XWIN and OTHER_XWIN.
start_show() {
  h_mouse_to "$1" "$2"
  h_start "$dir/Orvane.scr" /s
  HOST=$H_PID
  ENGINE_XWIN=$(h_wait_window OrvaneVC 60)
  OTHER_XWIN=$(h_wait_window "Orvane monitor" 20)
  check "$3: both windows open" test -n "$ENGINE_XWIN" -a -n "$OTHER_XWIN"
  wait_until 10 "the show drawn on both monitors" both_drawn
}
_drawn() { more_than "$(share_not_black "$(h_shot_monitor "engine_monitors_drawn" "$1")")" 0.1; }
both_drawn() { _drawn 0 && _drawn 1; }

# Checks that the show ended: host exit code 0, no engine window left, music silent.
ended() {
  h_wait_exit "$HOST" 30
  local rc=$? level
  check "$1 ends the show (host exit $rc)" test "$rc" -eq 0
  check "$1: no engine window is left" h_wait_no_window OrvaneVC 10
  check "$1: no monitor window is left" h_wait_no_window "Orvane monitor" 10
  sleep 1.5  # the sound server plays out what it has buffered: nothing outside shows it
  level=$(h_level_of engine_monitors_after 1.5)
  check "$1: the music stopped (RMS $level)" less_than "$level" $QUIET
}

# Checks that the show still runs after input that must not end it.
runs_on() {
  sleep 1.5 # input that must not end it: the settle time is the point
  check "$1 does not end the show" h_alive "$HOST"
}

# 1. Both monitors covered, one window for the host, the music playing.
start_show 500 400 "the show"
titled=$(xdotool search --onlyvisible --name '^OrvaneVC$' | wc -l)
check "exactly one window is titled OrvaneVC ($titled)" test "$titled" -eq 1
info=$(h_probe find OrvaneVC)
check "the primary window covers the first monitor ($info)" \
  test "$(field x "$info") $(field y "$info") $(field w "$info") $(field h "$info")" = "0 0 1024 768"
other=$(h_probe find "Orvane monitor")
check "the other window covers the second monitor exactly ($other)" \
  test "$(field x "$other") $(field y "$other") $(field w "$other") $(field h "$other")" = "1024 0 800 600"
check "the other window has a class of its own ($(field class "$other"))" \
  test "$(field class "$other")" = OrvaneMonitorWindow
check "no window keeps the creation title" bash -c '! xdotool search --name "^Screensaver$"'
for n in 0 1; do
  first[n]=$(h_shot_monitor "engine_monitors_${n}_1" "$n")
done
sleep 2 # the time the veils have to move between the two
mostly_lit() {
  second=$(h_shot_monitor "engine_monitors_${1}_2" "$1")
  lit=$(share_not_black "$second")
  more_than "$lit" 0.5
}
for n in 0 1; do
  wait_until 10 "the veils over most of monitor $n" mostly_lit "$n"
  check "monitor $n (${MONITOR_RECTS[n]}) shows the veils over most of it (lit share $lit)" \
    more_than "$lit" 0.5
  rmse=$(moved "${first[n]}" "$second")
  check "monitor $n's picture moves (RMS difference ${rmse:-?})" more_than "${rmse:-0}" 0.01
done
level=$(h_heard engine_monitors_music 10)
check "the music plays during the show (RMS $level)" more_than "$level" "$H_LOUD"
h_focus "$OTHER_XWIN"
runs_on "activating the second monitor's window"
h_key space
ended "a key press on the second monitor"

# 2. A click on the second monitor.
start_show 1400 300 "click"
h_click 1
ended "a click on the second monitor"

# 3. Moves on the second monitor: 4 px at a time do not end it, 5 px do.
start_show 1400 300 "small moves"
h_mouse_to 1402 302  # the first move
h_mouse_to 1404 304
h_mouse_to 1401 305
runs_on "moving 4 px or less at a time on the second monitor"
h_mouse_to 1406 305
ended "a move of 5 px on the second monitor"

# 4. From the first monitor into the second.
start_show 1020 400 "crossing"
h_mouse_to 1021 400  # the first move
runs_on "the first small move"
h_mouse_to 1030 400
ended "a move from the first monitor into the second"

h_finish
