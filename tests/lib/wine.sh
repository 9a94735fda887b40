# shellcheck shell=bash
# Library for the e2e scenarios: source it, then drive Windows programs under
# the harness that CTest started (ORVANE_HARNESS_DIR) with real X input.
#
#   h_start PROG [ARGS..]       start a Windows program in the background; H_PID is its pid
#   h_wait_exit PID [SECS]      wait for it; returns its exit code (124 on time-out)
#   h_alive PID                 true while it runs
#   h_wait_window TITLE [SECS]  prints the X id of the mapped top-level window with that title
#   h_wait_no_window TITLE [SECS]
#   h_probe ARGS..              the Windows-side probe (find, exists, post-close, post, wait-gone,
#                               wait-window, children, control, client, stats, acp, screen,
#                               monitors, version, acc, acc-do): see tests/e2e/probe/probe.cpp
#   h_absent TITLE              no top-level window with that title, from the Windows side
#   h_focus XWIN                give the X focus to a window (also sets H_XWIN)
#   h_focused XWIN              the same, and waits until the focus is there
#   h_key KEYSYM.. / h_keydown KEYSYM / h_keyup KEYSYM / h_type TEXT
#   h_click BUTTON / h_mousedown BUTTON / h_mouseup BUTTON   (1 left, 2 middle, 3 right, 4/5 wheel)
#   h_mouse_to X Y / h_mouse_by DX DY   (h_mouse_to fails when the pointer does not get there)
#   h_control TITLE ID|CAPTION  "x y w h" of a control of the window (fails: "control not found")
#   h_point_at_control TITLE ID|CAPTION [X Y]   the pointer to its middle, or to X,Y from its corner
#   h_click_control TITLE ID|CAPTION [BUTTON [X Y]]   a click there
#   h_wait_drawn NAME [SHARE [LIMIT]]   waits (10 s) until more than SHARE (0.1) of the screen
#                               is not black, its last screenshot NAME
#   h_shot NAME                 screenshot of the whole screen to $H_SHOTS/NAME.png (prints the path)
#   h_capture_start NAME / h_capture_stop   sound from the null sink to $H_AUDIO/NAME.wav ($H_CAPTURE)
#   h_level WAV [START [DUR]]   RMS amplitude of the file (or of a stretch of it)
#   h_level_of NAME SECS        RMS amplitude of SECS seconds of sound (kept as NAME.wav)
#   h_heard NAME LIMIT [LEVEL]  waits up to LIMIT s for a second of sound louder than LEVEL
#                               (H_LOUD); prints the level heard last
#   write_settings INI MODE REPEAT FILE   an Orvane.ini as the dialog writes it, with its
#                               code page 932 keys MODE_KEY, REPEAT_KEY, FILE_KEY
#   h_workdir NAME              a fresh folder for this scenario under the build folder (prints it)
#   h_install DIR               copies Orvane.scr and Orvane.dll into DIR
#   h_monitors SIZE..           from here on a desk of several monitors (one per WxH, side by
#                               side, the first primary; MONITOR_RECTS holds them): Xephyr in the
#                               lane's display. Call it first: it ends the prefix's wineserver so
#                               that Wine starts afresh on the new display, and the scenario's end
#                               ends it again, so the lane's next scenario has the lane's display.
#   h_shot_monitor NAME N       screenshot of monitor N alone (0 = primary; prints the path)
#   h_display_dpi [DPI]         the display scale of the lane's prefix (LogPixels: 96, 144,
#                               192) for the programs started from here on; without DPI, and
#                               when the script exits, the scale the scenario found comes back
#   h_finish                    finish_checks (see checks.sh: check, skip and the
#                               helpers every scenario shares)
#
# Every process started here is stopped when the script exits, even on failure.

# shellcheck source=checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

: "${ORVANE_HARNESS_DIR:?run under CTest, or set ORVANE_HARNESS_DIR to a started harness}"
if [[ ! -f "$ORVANE_HARNESS_DIR/env" ]]; then
  echo "wine.sh: no harness running in $ORVANE_HARNESS_DIR" >&2
  exit 1
fi
# shellcheck disable=SC1091
source "$ORVANE_HARNESS_DIR/env"
# Without a display every X call of the scenario would fail, one check after another.
if [[ ! ${DISPLAY:-} =~ ^:[0-9]+$ ]]; then
  echo "wine.sh: lane $ORVANE_HARNESS_DIR has no display (DISPLAY='${DISPLAY:-}'); start the harness again" >&2
  exit 1
fi

H_BUILD_DIR=${ORVANE_BUILD_DIR:-$(dirname "$ORVANE_HARNESS_DIR")}
H_BIN_DIR=${ORVANE_BIN_DIR:-$H_BUILD_DIR/bin}
H_SHOTS=$H_BUILD_DIR/screenshots
H_AUDIO=$H_BUILD_DIR/audio
H_LOGS=$H_BUILD_DIR/e2e-logs
H_PROBE=$H_BUILD_DIR/testbin/orvane_probe.exe
H_WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
mkdir -p "$H_SHOTS" "$H_AUDIO" "$H_LOGS" "$ORVANE_HARNESS_DIR/pids.d"
H_PIDFILE=$ORVANE_HARNESS_DIR/pids.d/$$
H_PIDS=()
H_CAPTURE_PID=
H_CAPTURE=
H_XWIN=

_h_all_gone() {
  local pid
  for pid in "${H_PIDS[@]}"; do process_gone "$pid" || return 1; done
}

_h_cleanup() {
  local pid
  # Processes that already ended are no failure, also under `set -e`.
  [[ -n "$H_CAPTURE_PID" ]] && kill -INT "$H_CAPTURE_PID" 2>/dev/null
  for pid in "${H_PIDS[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
  wait_until 1 "the scenario's processes to end" _h_all_gone 2>/dev/null || true
  for pid in "${H_PIDS[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  if [[ -n $MONITORS_PID ]]; then
    # The lane's next scenario meets Wine on the lane's own display again.
    "$H_WINESERVER" -k 2>/dev/null || true
    timeout 10 "$H_WINESERVER" -w 2>/dev/null || true
    monitors_stop
  fi
  h_display_dpi
  rm -f "$H_PIDFILE"
}
trap _h_cleanup EXIT

# The display scale of the lane's prefix as the scenario found it ("none": not set).
H_SAVED_DPI=
H_DPI_KEY='HKCU\Control Panel\Desktop'
# shellcheck disable=SC2120 # the scenarios pass the scale; the clean-up passes none
h_display_dpi() {
  if [[ -n "${1:-}" ]]; then
    [[ -n "$H_SAVED_DPI" ]] || H_SAVED_DPI=$("$WINE" reg query "$H_DPI_KEY" /v LogPixels 2>/dev/null |
      tr -d '\r' | awk '$1 == "LogPixels" { print $3; found = 1 } END { if (!found) print "none" }')
    "$WINE" reg add "$H_DPI_KEY" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  elif [[ "$H_SAVED_DPI" == none ]]; then
    "$WINE" reg delete "$H_DPI_KEY" /v LogPixels /f >/dev/null 2>&1
  elif [[ -n "$H_SAVED_DPI" ]]; then
    "$WINE" reg add "$H_DPI_KEY" /v LogPixels /t REG_DWORD /d "$((H_SAVED_DPI))" /f >/dev/null 2>&1
  else
    return 0
  fi
  # Wine reads the scale when its server starts: the programs started from here on see the new
  # one, and the lane's next scenario its own again.
  "$H_WINESERVER" -k 2>/dev/null || true
  timeout 10 "$H_WINESERVER" -w 2>/dev/null || true
  return 0
}

_h_track() {
  H_PIDS+=("$1")
  echo "$1" >> "$H_PIDFILE"
}

h_start() {
  local log
  log="$H_LOGS/$(basename "$1").$$.${#H_PIDS[@]}.log"
  "$WINE" "$@" >"$log" 2>&1 &
  H_PID=$!
  _h_track "$H_PID"
}

h_alive() { kill -0 "$1" 2>/dev/null; }

h_wait_exit() {
  wait_until "${2:-30}" "process $1 to end" process_gone "$1" || return 124
  wait "$1" 2>/dev/null
}

_h_window_id() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
_h_window_shown() { [[ -n $(_h_window_id "$1") ]]; }
h_wait_window() {
  wait_until "${2:-20}" "a window titled '$1'" _h_window_shown "$1" || return 1
  _h_window_id "$1"
}

_h_window_gone() { ! _h_window_shown "$1"; }
h_wait_no_window() { wait_until "${2:-20}" "no window titled '$1'" _h_window_gone "$1"; }

# The probe writes CRLF line ends; scripts get plain lines.
h_probe() {
  local out rc
  out=$("$WINE" "$H_PROBE" "$@" 2>/dev/null)
  rc=$?
  [[ -n "$out" ]] && printf '%s\n' "${out//$'\r'/}"
  return $rc
}

h_absent() { ! h_probe exists "$1"; }

# h_focused XWIN: h_focus, then waits until the X focus is there (fails after 5 s).
_h_has_focus() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]]; }
h_focused() {
  h_focus "$1"
  wait_until 5 "the focus on window $1" _h_has_focus "$1"
}

h_focus() {
  H_XWIN=$1
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
}

_h_refocus() { [[ -n "$H_XWIN" ]] && xdotool windowfocus "$H_XWIN" 2>/dev/null; return 0; }

h_key() { _h_refocus; xdotool key "$@"; }
h_keydown() { _h_refocus; xdotool keydown "$1"; }
h_keyup() { _h_refocus; xdotool keyup "$1"; }
h_type() { _h_refocus; xdotool type --delay 50 "$1"; }
h_click() { xdotool click "$1"; }
h_mousedown() { xdotool mousedown "$1"; }
h_mouseup() { xdotool mouseup "$1"; }
# Not "mousemove --sync": it waits 15 s for the pointer to leave where it was, which
# it never does when it is there already, or when the display starts afresh as its
# last client leaves and puts the pointer back in the middle.
h_mouse_to() {
  xdotool mousemove "$1" "$2"
  wait_until 1 "the pointer at $1,$2" _h_pointer_at "$1" "$2" 2>/dev/null && return 0
  echo "h_mouse_to: the pointer did not reach $1,$2 ($(xdotool getmouselocation 2>&1))" >&2
  return 1
}
_h_pointer_at() { [[ $(xdotool getmouselocation 2>/dev/null) == "x:$1 y:$2 "* ]]; }
h_mouse_by() { xdotool mousemove_relative --sync -- "$1" "$2"; }

# h_control TITLE ID|CAPTION: "x y w h" on the screen of a control of the window,
# from the Windows side; fails with "control not found" when it has none such.
h_control() {
  h_probe control "$1" "$2" && return 0
  echo "control not found: '$2' in '$1'" >&2
  return 1
}

# h_point_at_control TITLE ID|CAPTION [X Y]: the pointer to X,Y from the control's
# corner (the parts a control paints itself), or to its middle.
h_point_at_control() {
  local x y w h
  read -r x y w h < <(h_control "$1" "$2") || return 1
  h_mouse_to $((x + ${3:-$((w / 2))})) $((y + ${4:-$((h / 2))}))
}

# h_click_control TITLE ID|CAPTION [BUTTON [X Y]]: a click in the middle of the
# control, or at X,Y from its corner.
h_click_control() {
  h_point_at_control "$1" "$2" "${4:-}" "${5:-}" || return 1
  h_click "${3:-1}"
}

h_shot() {
  local file="$H_SHOTS/$1.png"
  import -window root "$file"
  echo "$file"
}

_h_drawn() { more_than "$(share_not_black "$(h_shot "$1")")" "$2"; }
h_wait_drawn() { wait_until "${3:-10}" "a picture on the screen ($1)" _h_drawn "$1" "${2:-0.1}"; }

h_capture_start() {
  H_CAPTURE="$H_AUDIO/$1.wav"
  # A short latency: by default the recorder writes in bursts of up to two seconds, and a
  # short stretch stopped between two of them holds no sound at all (an RMS of "-nan").
  parec -d nullsink.monitor --file-format=wav --latency-msec=50 "$H_CAPTURE" &
  H_CAPTURE_PID=$!
  echo "$H_CAPTURE_PID" >> "$H_PIDFILE"
  # Sound flows into the file once it holds more than its header: on a loaded machine the
  # recorder can take longer than a short stretch to start, which would measure nothing.
  wait_until 5 "the recorder writing $H_CAPTURE" _h_recording "$H_CAPTURE"
}
_h_recording() { (($(stat -c %s "$1" 2>/dev/null || echo 0) > 4096)); }

h_capture_stop() {
  [[ -n "$H_CAPTURE_PID" ]] || return 0
  kill -INT "$H_CAPTURE_PID" 2>/dev/null
  wait "$H_CAPTURE_PID" 2>/dev/null
  H_CAPTURE_PID=
}

h_level() {
  local file=$1 start=${2:-} dur=${3:-}
  local trim=()
  [[ -n "$start" ]] && trim=(trim "$start" ${dur:+"$dur"})
  # The recorder, stopped on a loaded machine, can leave a header that counts no samples
  # (sox then says "-nan"): the file's own length counts.
  sox --ignore-length "$file" -n "${trim[@]}" stat 2>&1 | awk '/^RMS[ ]+amplitude/ {print $3}'
}

h_level_of() {
  h_capture_start "$1"
  sleep "$2" # the stretch of sound to measure
  h_capture_stop
  h_level "$H_CAPTURE"
}

# A second of sound at a time, so that the wait ends as soon as the music plays.
H_LOUD=0.05 # the test tone's RMS is about 0.3
H_HEARD=
_h_loud_second() { H_HEARD=$(h_level_of "$1" 1); more_than "$H_HEARD" "$2"; }
h_heard() {
  wait_until "$2" "sound louder than ${3:-$H_LOUD} ($1)" _h_loud_second "$1" "${3:-$H_LOUD}"
  local rc=$?
  echo "$H_HEARD"
  return $rc
}

MODE_KEY=$'BGM\x8b\xe6\x95\xaa'
REPEAT_KEY=$'BGM\xd8\xcb\xdf\xb0\xc4'
FILE_KEY=$'BGM\xcc\xa7\xb2\xd9'
write_settings() {
  printf '[Section]\r\n%s= %s\r\n%s= %s\r\n%s=%s\r\n' \
    "$MODE_KEY" "$2" "$REPEAT_KEY" "$3" "$FILE_KEY" "$4" >"$1"
}

h_workdir() {
  local d="$H_BUILD_DIR/e2e-work/$1"
  rm -rf "$d"
  mkdir -p "$d"
  echo "$d"
}

h_install() {
  mkdir -p "$1"
  cp "$H_BIN_DIR/Orvane.scr" "$H_BIN_DIR/Orvane.dll" "$1/"
}

h_finish() { finish_checks; }

h_monitors() {
  # A wineserver still running for this prefix keeps the display it started on.
  "$H_WINESERVER" -k 2>/dev/null || true
  timeout 10 "$H_WINESERVER" -w 2>/dev/null || true
  monitors_start "$H_LOGS/monitors.$$" "$@" || return 1
  echo "$MONITORS_PID" >> "$H_PIDFILE"
}

h_shot_monitor() {
  local whole file="$H_SHOTS/$1.png"
  whole=$(h_shot "$1.whole") || return 1
  crop_monitor "$whole" "$2" "$file" || return 1
  rm -f "$whole"
  echo "$file"
}
