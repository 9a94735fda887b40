#!/usr/bin/env bash
# orvane --music on a private PulseAudio null sink: a 3-second MP3 and WAV are
# heard, loud enough, and go on past their end; a key (standalone) or SIGTERM
# (--root) silences them within 300 ms and leaves no stream; files that cannot
# be played give one line on stderr while the veils run on; no --music opens no
# stream at all.
# shellcheck source=../../lib/linux.sh
source "$(dirname "$0")/../../lib/linux.sh"

x_start
sound_start

# Test media: a steady tone, 3 seconds, so that a 5-second capture spans a loop.
media="$WORK/media"
mkdir -p "$media"
make_tone "$media/tone.wav" 3
lame --quiet "$media/tone.wav" "$media/tone.mp3"

# RMS amplitude of FILE from START for LENGTH seconds (to the end without it); 9 if unreadable.
rms() {
  local value
  value=$(sox "$1" -n trim "${2:-0}" ${3:+"$3"} stat 2>&1 | awk '/RMS +amplitude/ { print $3 }')
  echo "${value:-9}"
}
no_stream() { (($(sink_inputs) == 0)); }
one_stream() { (($(sink_inputs) == 1)); }
streams_gone() { wait_until 1 "no stream on the sink" no_stream; }
# The tone is on the sink, loud: a quarter second of it.
tone_heard() {
  timeout 5 parec -d nullsink.monitor --raw --format=s16le --rate=44100 --channels=2 2>/dev/null |
    head -c 44100 | sox -t raw -r 44100 -e signed -b 16 -c 2 - -t wav "$WORK/heard.wav" 2>/dev/null
  gt "$(rms "$WORK/heard.wav")" 0.1
}
now() { date +%s.%N; }
recording_started() { (($(stat -c %s "$1" 2>/dev/null || echo 0) > 4096)); }
# Seconds from $1 until the sink has no stream (10 s at most).
seconds_until_no_stream() {
  WAIT_STEP=0.02 wait_until 10 "no stream on the sink" no_stream
  awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'
}
# silenced_by NAME COMMAND...: runs COMMAND while the sink is recorded. What was
# recorded from 300 ms after it on must be silent, and the stream must be gone
# (polled with pactl, whose own start-up is slow on a loaded machine: a second).
silenced_by() {
  local name=$1 recording="$WORK/stop-$RANDOM.wav" recorder started offset at took before after
  shift
  parec -d nullsink.monitor --file-format=wav --latency-msec=20 "$recording" 2>/dev/null &
  recorder=$!
  x_track $recorder
  # Finely: the moment it starts is where the recording's times count from.
  WAIT_STEP=0.02 wait_until 2 "the recorder to write" recording_started "$recording"
  started=$(now)
  sleep 0.5 # the stretch heard before the command
  at=$(now)
  "$@"
  offset=$(awk -v a="$started" -v b="$at" 'BEGIN { print b - a + 0.3 }')
  took=$(seconds_until_no_stream "$at")
  sleep 0.6 # the stretch that must be silent after it
  kill "$recorder"
  wait "$recorder" 2>/dev/null
  before=$(rms "$recording" 0.1 0.3)
  after=$(rms "$recording" "$offset")
  check "$name: heard before it (RMS $before)" gt "$before" 0.1
  check "$name: silent 300 ms later (RMS $after from ${offset}s)" gt 0.01 "$after"
  check "$name: no stream left (gone ${took}s later)" gt 1 "$took"
}

# A file plays, loud enough, on past the end of the file (3 s).
for kind in mp3 wav; do
  program_start --root --music "$media/tone.$kind"
  check "$kind: the veils show" wait_for_picture
  # Five seconds of sound without a gap span the end of a 3-second file.
  wait_until 5 "the tone on the sink" tone_heard
  sound_capture 5 "$WORK/$kind.wav"
  quietest=9
  for at in 0 0.5 1 1.5 2 2.5 3 3.5 4 4.5; do
    level=$(rms "$WORK/$kind.wav" "$at" 0.5)
    gt "$quietest" "$level" && quietest=$level
  done
  check "$kind: loud for 5 s on end, past the file's end (quietest half second: RMS $quietest)" \
    gt "$quietest" 0.1
  check "$kind: one stream on the sink" test "$(sink_inputs)" = 1
  check "$kind: nothing on stderr" test ! -s "$WORK/program.err"

  silenced_by "$kind: SIGTERM" kill -TERM "$PROGRAM_PID"
  program_ends_within 5
  check "$kind: SIGTERM ends it with 0" test "$HACK_STATUS" = 0
done

# Standalone: a key ends the show and the sound with it.
program_start --music "$media/tone.mp3"
check "standalone: the veils show" wait_for_picture
wait_until 2 "a stream on the sink" one_stream
window=$(xdotool search --class orvane | head -n1)
xdotool windowfocus --sync "$window" 2>/dev/null
silenced_by "standalone: a key" xdotool key --window "$window" space
check "standalone: a key ends it" program_ends_within 5

# A window someone else owns goes away: the sound goes with it.
test_window owner 320 240
program_start --window-id "$WINDOW_ID" --music "$media/tone.mp3"
check "window: the veils show" wait_for_picture "$WINDOW_ID"
wait_until 2 "a stream on the sink" one_stream
silenced_by "window: gone" kill -TERM "$WINDOW_PID"
check "window: orvane ends" program_ends_within 5

# Files that cannot be played: one line, the picture runs on, no stream.
printf 'not a sound at all\n%.0s' $(seq 200) >"$media/broken.mp3"
: >"$media/empty.wav"
mkdir -p "$media/folder.mp3"
cp "$media/tone.mp3" "$media/unreadable.mp3"
chmod 000 "$media/unreadable.mp3"
declare -A bad=(
  [broken]="$media/broken.mp3"
  [empty]="$media/empty.wav"
  [missing]="$media/no such file.mp3"
  [folder]="$media/folder.mp3"
  [no-server]="$media/tone.mp3"
)
# Root reads any file whatever its mode, so that case means something only for others.
[[ $(id -u) != 0 ]] && bad[unreadable]="$media/unreadable.mp3"
for name in "${!bad[@]}"; do
  server=$PULSE_SERVER
  [[ $name == no-server ]] && server="unix:$WORK/no-server"
  PULSE_SERVER=$server program_start --root --music "${bad[$name]}"
  check "$name: the veils show" wait_for_picture
  wait_until 2 "a line on stderr" test -s "$WORK/program.err"
  sleep 0.5 # no second line may follow
  check "$name: one line on stderr ($(head -c 150 "$WORK/program.err"))" test "$(wc -l <"$WORK/program.err")" = 1
  check "$name: still running" program_running
  check "$name: no stream" test "$(sink_inputs)" = 0
  kill -TERM "$PROGRAM_PID"
  program_ends_within 5
  check "$name: ends with 0" test "$HACK_STATUS" = 0
done

# Names with blanks, quotes and non-ASCII letters play like any other.
odd="$media/my \"tune\" 'é 曲'.mp3"
cp "$media/tone.mp3" "$odd"
program_start --root "--music=$odd"
check "odd name: the veils show" wait_for_picture
sound_capture 4 "$WORK/odd.wav"
level=$(rms "$WORK/odd.wav" 1.5)
check "odd name: heard (RMS $level)" gt "$level" 0.1
check "odd name: nothing on stderr" test ! -s "$WORK/program.err"
kill -TERM "$PROGRAM_PID"
program_ends_within 5

# NAME COMMAND..: COMMAND does something to the file $playing while it plays. Removed, the
# loop goes on from what is open or stops with one line; overwritten with something else,
# silence with one line at most; never a crash or a hang, and the picture runs on.
playing="$media/playing.mp3"
file_changes_while_playing() {
  local name=$1
  shift
  cp "$media/tone.mp3" "$playing"
  program_start --root --music "$playing"
  check "$name: the veils show" wait_for_picture
  wait_until 5 "a stream on the sink" one_stream
  "$@"
  sleep 4 # the show must run on past the file's end
  check "$name: still running" program_running
  check "$name: at most one line on stderr" test "$(wc -l <"$WORK/program.err")" -le 1
  kill -TERM "$PROGRAM_PID"
  check "$name: ends" program_ends_within 5
  check "$name: no stream left" streams_gone
}
overwrite() { head -c 200000 /dev/urandom >"$playing"; }
file_changes_while_playing removed rm -f "$playing"
file_changes_while_playing changed overwrite

# No --music: no stream is ever opened.
program_start --root
check "no music: the veils show" wait_for_picture
sleep 1 # the time a stream would take to open
check "no music: no stream" test "$(sink_inputs)" = 0
kill -TERM "$PROGRAM_PID"
program_ends_within 5
finish
