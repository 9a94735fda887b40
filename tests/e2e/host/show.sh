#!/usr/bin/env bash
# The saver show end to end: the real engine and music, its end by a key, by
# the engine's death, with a CD but no drive, with a file it cannot play, a
# second start during a show, and an engine slow to open its window.
# shellcheck source=../../lib/wine.sh
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh"
HELPER=$H_BUILD_DIR/testbin/host_helper.exe
QUIET=0.005

# heard NAME SECS TEXT: sound within SECS; silent NAME SECS TEXT: SECS of silence.
heard() { local level; level=$(h_heard "$1" "$2"); check "$3 (RMS $level)" more_than "$level" "$H_LOUD"; }
silent() { local level; level=$(h_level_of "$1" "$2"); check "$3 (RMS $level)" less_than "$level" $QUIET; }

# Waits up to SECS for PID to end, and checks that it ended with exit code 0.
ends_ok() { h_wait_exit "$1" "$2"; local rc=$?; check "$3 (exit $rc)" test "$rc" -eq 0; }

# Starts a show in DIR and waits for the engine's window; sets HOST and XWIN.
start_show() {
  h_start "$1/Orvane.scr" /s
  HOST=$H_PID
  XWIN=$(h_wait_window OrvaneVC 60)
  check "$2: the engine's window opens" test -n "$XWIN"
}

saver_window_hidden() { h_probe find Orvane_Main | grep -q 'class=Orvane_S .*visible=0'; }

# A key press on the engine's window; the host must end with exit code 0.
end_show_by_key() {
  h_focus "$XWIN"
  h_key space
  ends_ok "$HOST" 30 "$1"
}

dir=$(h_workdir host_show)
h_install "$dir"
make_tone_mp3 "$dir/tone.mp3" 30
printf 'MThd' > "$dir/tune.mid"

# 1. MP3 music while the engine's window is up; a key press ends it all.
write_settings "$dir/Orvane.ini" 2 0 "$(winpath "$dir/tone.mp3")"
"$WINE" "$HELPER" watch > "$H_LOGS/host_show_watch.txt" 2>/dev/null &
watcher=$!
start_show "$dir" "MP3 show"
check "the hidden saver window is there" saver_window_hidden
heard host_show_mp3 10 "the MP3 is heard during the show"
h_shot host_show_running >/dev/null
end_show_by_key "a key press ends the host"
check "the engine's window is gone" h_wait_no_window OrvaneVC 10
wait "$watcher"
ms=$(tr -d '\r' < "$H_LOGS/host_show_watch.txt")
echo "# host ended ${ms} ms after the engine's window (Windows side)"
# A generous bound: it tells a host that follows the engine from one that missed it.
check "the host followed the engine's window (${ms} ms)" test -n "$ms" -a "${ms:-99999}" -lt 2000
silent host_show_mp3_after 2 "silence after the show"

# 2. The engine killed: the host and the music end the same way.
start_show "$dir" "killed show"
heard host_show_kill_before 10 "killed show: the MP3 is heard"
"$WINE" "$HELPER" kill-window OrvaneVC
ends_ok "$HOST" 30 "killing the engine ends the host"
silent host_show_kill_after 2 "silence after the killed show"

# 3. An audio CD with no drive: a silent show that ends normally; a second
#    start during it ends at once and leaves it running.
write_settings "$dir/Orvane.ini" 1 3 ""
start_show "$dir" "CD show"
silent host_show_cd 2 "CD show without a drive is silent"
h_start "$dir/Orvane.scr" /s
ends_ok "$H_PID" 20 "a second /s during the show ends at once"
check "and the first show goes on" h_alive "$HOST"
end_show_by_key "CD show ends normally on a key"

# 4. A file ending in .mid plays nothing.
write_settings "$dir/Orvane.ini" 2 0 "$(winpath "$dir/tune.mid")"
start_show "$dir" "MIDI show"
silent host_show_mid 2 "a .mid file plays nothing"
end_show_by_key "MIDI show ends normally"

# 5. Windows ends the session during a show: the music stops and the host
#    ends; the engine is not told and goes on until its own input.
write_settings "$dir/Orvane.ini" 2 0 "$(winpath "$dir/tone.mp3")"
start_show "$dir" "log-off show"
h_probe post Orvane_Main 0x0016 1 0   # WM_ENDSESSION, the session really ends
ends_ok "$HOST" 30 "the end of the session ends the host"
silent host_show_logoff_after 2 "and its music"
check "the engine is left running" h_probe exists OrvaneVC
h_focus "$XWIN"
h_key space
check "until its own input ends it" h_wait_no_window OrvaneVC 20

# 6. A slow engine: the show waits for its window instead of ending at once.
slow=$(h_workdir host_show_slow_engine)
cp "$H_BIN_DIR/Orvane.scr" "$slow/"
cp "$HELPER" "$slow/Orvane.dll"
cp "$dir/tone.mp3" "$slow/"
write_settings "$slow/Orvane.ini" 2 0 "$(winpath "$slow/tone.mp3")"
export ORVANE_FAKE_ENGINE_DELAY_MS=3000
h_start "$slow/Orvane.scr" /s
host=$H_PID
check "the saver window is up before the engine's" h_probe wait-window Orvane_Main 30000
check "no engine window yet" bash -c "! \"\$WINE\" \"$H_PROBE\" exists OrvaneVC 2>/dev/null"
sleep 1 # it must still be waiting a while later
check "the show waits for a slow engine" h_alive "$host"
check "the slow engine's window opens" h_probe wait-window OrvaneVC 30000
heard host_show_slow 10 "its music plays"
h_probe post OrvaneVC 0x0401
ends_ok "$host" 30 "the show ends with the slow engine's window"

# 7. An engine that ends without a window ends the show, music and all.
export ORVANE_FAKE_ENGINE_DELAY_MS=-1
h_start "$slow/Orvane.scr" /s
host=$H_PID
ends_ok "$host" 30 "an engine that never opens a window ends the show"
silent host_show_no_window 2 "and nothing plays on"

# 8. An engine that keeps its window back too long: the show gives up after
#    its grace period, and the late window runs alone.
export ORVANE_FAKE_ENGINE_DELAY_MS=16000
h_start "$slow/Orvane.scr" /s
host=$H_PID
sleep 6 # the time it must keep waiting
check "still waiting after 6 s" h_alive "$host"
ends_ok "$host" 20 "the show gives up on the engine"
check "the late window comes" h_probe wait-window OrvaneVC 20000
"$WINE" "$HELPER" kill-window OrvaneVC
unset ORVANE_FAKE_ENGINE_DELAY_MS
h_finish
