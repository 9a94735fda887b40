# shellcheck shell=bash
# Shared by the Linux scenarios: an Xvfb of their own, the program, screenshots.
# Every process started here is ended by its id when the scenario exits.
# check, skip, more_than, field and the rest every scenario shares come from
# checks.sh (see its header).
#
#   x_start [SIZE]              Xvfb (1024x768 or SIZE, 24 bit) on a free display; exports DISPLAY
#   x_monitors SIZE..           after x_start: a desk of several monitors (Xephyr in that Xvfb,
#                               one WxH per monitor, side by side); exports DISPLAY to it
#   shot_monitor NAME N         screenshot of monitor N alone to $WORK/NAME.ppm (prints the path)
#   x_track PID                 end PID with the scenario
#   at_exit FUNCTION            run FUNCTION when the scenario ends, after its processes
#   program_start ARGS...          orvane in the background: $PROGRAM_PID, stderr in $WORK/program.err
#   program_ends_within SECONDS    waits for it; $HACK_STATUS is its exit code (fails on timeout)
#   program_running                true while it runs
#   shot NAME [WINDOW]          screenshot to $WORK/NAME.ppm (prints the path); PNG copies at the end
#   changed_pixels A B          pixels that differ between two screenshots
#   test_window NAME W H [ARGS] a window of the test helper: $WINDOW_ID, $WINDOW_PID
#   check_moving_veils NAME     two screenshots apart: lit, and changed between them
#   saver_config HOME PROGRAM OWNER         a ~/.xscreensaver that runs PROGRAM alone
#   saver_daemon_start          the xscreensaver daemon as the scenario's as_user runs it
#                               ($SAVER_DAEMON_PID, log $WORK/daemon.log); fails when it does
#                               not answer within 30 s
#   saver_command ARG..         xscreensaver-command as that user, said into the daemon's log
#   saver_daemon_exit           asks the daemon to exit and waits for it (fails: still there)
#   user_processes_end USER [SECONDS]   waits until USER runs nothing (fails: some left)
#   finish                      PNG copies of the screenshots, then finish_checks
set -uo pipefail
# shellcheck source=checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

: "${ORVANE_PROGRAM:?the orvane program}"
: "${ORVANE_BUILD_DIR:?the native build folder}"
WORK="$ORVANE_BUILD_DIR/linux-e2e/$(basename "$0" .sh)"
rm -rf "$WORK"
mkdir -p "$WORK"
PIDS=()
AT_EXIT=()

XVFB_PID=

# The X clients first, so that none of them sees its display vanish.
cleanup() {
  local pid
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null; done
  local hook
  for hook in "${AT_EXIT[@]}"; do "$hook"; done
  monitors_stop
  if [[ -n $XVFB_PID ]]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
  fi
}
trap cleanup EXIT

x_track() { PIDS+=("$1"); }
at_exit() { AT_EXIT+=("$1"); }

x_start() {
  x_server_start "$WORK/display" "$WORK/xvfb.log" \
    Xvfb -screen 0 "${1:-1024x768}x24" -nolisten tcp || exit 1
  XVFB_PID=$X_SERVER_PID
  export DISPLAY=$X_SERVER_DISPLAY
}

program_start() {
  "$ORVANE_PROGRAM" "$@" 2>"$WORK/program.err" &
  PROGRAM_PID=$!
  x_track $PROGRAM_PID
}

program_running() { kill -0 "$PROGRAM_PID" 2>/dev/null; }

program_ends_within() {
  if ! wait_until "$1" "orvane (pid $PROGRAM_PID) to end" process_gone "$PROGRAM_PID"; then
    HACK_STATUS=timeout
    return 1
  fi
  wait "$PROGRAM_PID"
  # shellcheck disable=SC2034 # read by the scenarios
  HACK_STATUS=$?
}

# The program has drawn at least one frame once its window shows something.
_window_lit() {
  import -window "$1" "$WORK/probe.ppm" 2>/dev/null &&
    [[ $(share_not_near_black "$WORK/probe.ppm") != 0 ]]
}
wait_for_picture() { wait_until 6 "a picture in window ${1:-root}" _window_lit "${1:-root}"; }

# Taken as PPM, which is quick to write and read; the scenario's end keeps PNG copies to look at.
shot() {
  local file="$WORK/$1.ppm"
  import -window "${2:-root}" "$file"
  echo "$file"
}


changed_pixels() { compare -metric AE -fuzz 2% "$1" "$2" null: 2>&1; }

finish() {
  rm -f "$WORK/probe.ppm"
  local file
  for file in "$WORK"/*.ppm; do
    [[ -e $file ]] || continue
    convert "$file" -define png:compression-level=1 "${file%.ppm}.png" && rm -f "$file"
  done
  ((T_FAILED == 0)) || echo "files in $WORK"
  finish_checks
}

# Older name of more_than, kept for the scenarios that use it.
gt() { more_than "$@"; }

x_monitors() { monitors_start "$WORK" "$@"; }

shot_monitor() {
  local file="$WORK/$1.ppm"
  crop_monitor "$(shot "$1.whole")" "$2" "$file" || return 1
  rm -f "$WORK/$1.whole.ppm"
  echo "$file"
}

test_window() {
  local name=$1
  shift
  "$ORVANE_TEST_WINDOW" "$@" >"$WORK/$name.id" &
  WINDOW_PID=$!
  x_track "$WINDOW_PID"
  wait_until 3 "the test window $name" test -s "$WORK/$name.id"
  # shellcheck disable=SC2034 # read by the scenarios
  WINDOW_ID=$(cat "$WORK/$name.id")
}

check_moving_veils() {
  local a b lit changed
  a=$(shot "$1-1")
  sleep 0.5 # the time the veils have to move between the two
  b=$(shot "$1-2")
  lit=$(share_not_near_black "$a")
  changed=$(changed_pixels "$a" "$b")
  check "veils light the screen ($lit)" gt "$lit" 0.05
  check "the picture moves ($changed pixels changed)" gt "$changed" 20000
}

# sound_start [DIR]: a private PulseAudio server whose only sink is a null sink,
# as the Windows harness has, its socket in DIR ($WORK/pulse); exports PULSE_SERVER. sound_capture SECONDS FILE
# records what the sink plays (WAV); sink_inputs counts the streams open on it.
sound_start() {
  local dir="${1:-$WORK/pulse}"
  mkdir -p "$dir"
  PULSE_RUNTIME_PATH="$dir" PULSE_STATE_PATH="$dir" HOME="$dir" \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    --load="module-null-sink sink_name=nullsink" \
    --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
    >"$WORK/pulseaudio.log" 2>&1 &
  SOUND_PID=$!
  x_track "$SOUND_PID"
  wait_until 10 "the sound server's socket" test -S "$dir/native"
  export PULSE_SERVER="unix:$dir/native" PULSE_COOKIE="$dir/cookie"
}
# Exactly SECONDS of sound however late the recorder starts on a loaded machine.
sound_capture() {
  timeout $(($1 + 20)) parec -d nullsink.monitor --raw --format=s16le --rate=44100 --channels=2 \
    2>/dev/null | head -c $(($1 * 176400)) | sox -t raw -r 44100 -e signed -b 16 -c 2 - "$2"
}
sink_inputs() { pactl list short sink-inputs 2>/dev/null | wc -l; }

saver_daemon_up() { as_user xscreensaver-command -time >/dev/null 2>&1; }
saver_daemon_start() {
  as_user xscreensaver --no-splash >"$WORK/daemon.log" 2>&1 &
  SAVER_DAEMON_PID=$!
  x_track "$SAVER_DAEMON_PID"
  # A loaded machine can take many seconds to bring the daemon up.
  wait_until 30 "the xscreensaver daemon to answer" saver_daemon_up
}
saver_command() { as_user xscreensaver-command "$@" >>"$WORK/daemon.log" 2>&1; }
saver_daemon_exit() {
  saver_command -exit
  wait_until 5 "the xscreensaver daemon to exit" process_gone "$SAVER_DAEMON_PID"
}
_user_runs_nothing() { [[ -z $(pgrep -u "$1") ]]; }
user_processes_end() { wait_until "${2:-5}" "every process of $1 to end" _user_runs_nothing "$1"; }

# saver_config HOME PROGRAM OWNER: a ~/.xscreensaver that runs PROGRAM alone at
# once when activated (no lock, fade or splash), owned by OWNER.
saver_config() {
  printf '%s\n' 'mode: one' 'selected: 0' 'lock: False' 'timeout: 0:30:00' 'fade: False' \
    'unfade: False' 'splash: False' 'dpmsEnabled: False' 'nice: 0' "programs: GL: $2 \\n" \
    >"$1/.xscreensaver"
  chown "$3" "$1/.xscreensaver"
}
