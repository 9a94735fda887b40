#!/usr/bin/env bash
# orvane on a Wayland desktop: a headless sway with two outputs of different
# sizes, one at scale 2. Each output lit and moving; a key, a click and a move
# beyond the tolerance end the show with 0, a small move does not; SIGTERM and
# SIGINT end it with 0 at once; the compositor killed under it: 1 and one line;
# --music heard on the null sink and silent after the end.
# shellcheck source=../../lib/linux.sh
source "$(dirname "$0")/../../lib/linux.sh"
source "$(dirname "$0")/wayland_lib.sh"

sway_start
pointer_start
keyboard_start

# Chosen without --wayland: a Wayland display is named and no X display is reachable.
unset DISPLAY
wl_start
check "covers the first output without --wayland" wl_wait_lit HEADLESS-1
check "covers the second output" wl_wait_lit HEADLESS-2
for output in HEADLESS-1 HEADLESS-2; do
  a=$(wl_shot "$output-a" "$output")
  sleep 0.7
  b=$(wl_shot "$output-b" "$output")
  lit=$(lit_share "$a")
  changed=$(changed_pixels "$a" "$b")
  check "$output: veils light it ($lit)" more_than "$lit" 0.05
  check "$output: the picture moves ($changed pixels changed)" more_than "$changed" 20000
done
# The 2x output's picture has its real pixels, not a quarter of them stretched.
size=$(identify -format '%wx%h' "$WORK/HEADLESS-2-a.png")
check "the 2x output is shot at 800x600 ($size)" test "$size" = 800x600
check "nothing on stderr" test ! -s "$WORK/hack.err"

key x
check "a key ends it" hack_ends_within 5
check "a key: exit 0 ($HACK_STATUS)" test "$HACK_STATUS" = 0

# The pointer's first reading is the reference; a move within 4 pixels is no input.
wl_start --wayland
wl_wait_lit HEADLESS-1
pointer move 1 0
pointer move 1 1
sleep 0.5
check "small moves do not end it" hack_running
pointer move 40 30
check "a move beyond the tolerance ends it" hack_ends_within 5
check "a move: exit 0 ($HACK_STATUS)" test "$HACK_STATUS" = 0

wl_start --wayland
wl_wait_lit HEADLESS-1
pointer move 1 0
pointer click
check "a click ends it" hack_ends_within 5
check "a click: exit 0 ($HACK_STATUS)" test "$HACK_STATUS" = 0

# Ended within 300 ms of the signal, polled every 10 ms. A zombie has ended: the
# kernel's freeing of a GL process's memory and threads took seconds on a loaded
# machine, after the program's own exit.
ended() { [[ ! -e /proc/$1 || $(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) == [ZX] ]]; }
for signal in TERM INT; do
  wl_start --wayland
  wl_wait_lit HEADLESS-2
  sleep 0.5
  start=$(date +%s%N)
  kill -"$signal" "$HACK_PID"
  for _ in $(seq 300); do ended "$HACK_PID" && break; sleep 0.01; done
  took=$((($(date +%s%N) - start) / 1000000))
  hack_ends_within 5
  check "SIG$signal: exit 0 ($HACK_STATUS)" test "$HACK_STATUS" = 0
  # The program itself is out in about 0.2 s; what a loaded machine adds is the
  # kernel ending its GL threads, so the limit here is a second.
  check "SIG$signal: ended in ${took} ms" test "$took" -le 1000
done

# The sound of --music on a private null sink, silent once a key ends the show.
if command -v pulseaudio >/dev/null && command -v parec >/dev/null; then
  sound_start
  chmod 755 "$WORK/pulse"
  chmod 666 "$WORK/pulse/native" 2>/dev/null
  sox -n -r 44100 -c 2 "$WORK/tone.wav" synth 3 sine 440 vol 0.5
  chmod 644 "$WORK/tone.wav"
  wl_start --wayland --music "$WORK/tone.wav"
  wl_wait_lit HEADLESS-1
  for _ in $(seq 100); do (($(sink_inputs) == 1)) && break; sleep 0.05; done
  sound_capture 2 "$WORK/heard.wav"
  level=$(sox "$WORK/heard.wav" -n stat 2>&1 | awk '/RMS +amplitude/ { print $3 }')
  check "music: heard (RMS $level)" more_than "$level" 0.1
  key x
  check "music: a key ends it" hack_ends_within 5
  for _ in $(seq 40); do (($(sink_inputs) == 0)) && break; sleep 0.05; done
  check "music: no stream left" test "$(sink_inputs)" = 0
  check "music: nothing on stderr" test ! -s "$WORK/hack.err"
else
  skip "music: no PulseAudio tools"
fi

# Outputs that come during the show are covered; one that goes is dropped and
# the show runs on over the others.
wl_start --wayland
wl_wait_lit HEADLESS-1
as_user swaymsg create_output >/dev/null
as_user swaymsg output HEADLESS-3 mode 640x480 position 0 768 >/dev/null
check "an output that came is covered" wl_wait_lit HEADLESS-3
as_user swaymsg output HEADLESS-3 disable >/dev/null
as_user swaymsg output HEADLESS-2 disable >/dev/null
sleep 1
check "outputs that went: the show runs on" hack_running
a=$(wl_shot left-a HEADLESS-1)
sleep 0.7
b=$(wl_shot left-b HEADLESS-1)
check "outputs that went: the one left still moves" more_than "$(changed_pixels "$a" "$b")" 20000
as_user swaymsg output HEADLESS-2 enable >/dev/null
check "an output enabled again is covered" wl_wait_lit HEADLESS-2
check "outputs came and went: nothing on stderr ($(head -c 150 "$WORK/hack.err"))" test ! -s "$WORK/hack.err"
key x
check "outputs came and went: a key ends it" hack_ends_within 5

# Without a layer shell (GNOME): a full-screen window on each output instead.
ORVANE_WAYLAND_SHELL=xdg wl_start --wayland
check "windows: the first output covered" wl_wait_lit HEADLESS-1
check "windows: the second output covered" wl_wait_lit HEADLESS-2
key x
check "windows: a key ends it" hack_ends_within 5
check "windows: exit 0 ($HACK_STATUS)" test "$HACK_STATUS" = 0
check "windows: nothing on stderr ($(head -c 150 "$WORK/hack.err"))" test ! -s "$WORK/hack.err"

# The user's own set-up: the idle daemon starts the show after a second without
# input, and a key ends it.
user_command
"${USER_COMMAND[@]}" swayidle -w timeout 1 "$WL_PROGRAM --wayland" >"$WORK/swayidle.log" 2>&1 &
idle_pid=$!
x_track $idle_pid
started() { pgrep -u "$WL_USER" -x orvane >/dev/null; }
for _ in $(seq 100); do started && break; sleep 0.1; done
check "swayidle starts it after the timeout" started
check "swayidle: the veils show" wl_wait_lit HEADLESS-1
shown=$(pgrep -o -u "$WL_USER" -x orvane)
key x
# A second without input later the daemon starts the next show: this one must have ended.
for _ in $(seq 100); do [[ -e /proc/$shown ]] || break; sleep 0.05; done
check "swayidle: a key ends it" test ! -e "/proc/$shown"
# The daemon waits for its show (-w) before it ends; a show it started again goes by its id.
kill "$idle_pid" 2>/dev/null
for pid in $(pgrep -u "$WL_USER" -x orvane); do kill "$pid"; done
wait "$idle_pid" 2>/dev/null

# The compositor killed under the show: 1 and one line, no hang.
wl_start --wayland
wl_wait_lit HEADLESS-1
kill -KILL "$SWAY_PID"
check "compositor gone: it ends" hack_ends_within 5
check "compositor gone: exit 1 ($HACK_STATUS)" test "$HACK_STATUS" = 1
check "compositor gone: one line ($(head -c 120 "$WORK/hack.err"))" \
  test "$(wc -l <"$WORK/hack.err")" = 1
rm -f "$WORK/probe.png"
finish
