# shellcheck shell=bash
# The Wayland scenarios' desk: a headless sway with two outputs, run by an
# unprivileged user (sway refuses root), and orvane run by that user on it.
# Sourced after lib.sh; every process is ended by its id when the scenario exits.
#
#   sway_start                  headless sway: HEADLESS-1 1024x768, HEADLESS-2 800x600 at
#                               scale 2 (400x300 logical, to its right); exports WAYLAND_DISPLAY,
#                               SWAYSOCK, XDG_RUNTIME_DIR for as_user; skips (77) without sway;
#                               WL_OUTPUTS=1 leaves HEADLESS-2 out
#   wl_reachable FILE           a copy of FILE the user can reach (the build folder may be
#                               closed to others); prints its path. The desk's own files, the
#                               program and the test helpers are in $WL_DIR, under /tmp
#   as_user COMMAND..           COMMAND as that user, in this desk's environment (exec'd: the
#                               process id is the command's own)
#   wl_start ARGS...            orvane ARGS as that user in the background: $PROGRAM_PID, stderr in
#                               $WORK/program.err (lib.sh's program_ends_within, program_running work)
#   wl_shot NAME OUTPUT         grim screenshot of one output to $WORK/NAME.png (prints the path)
#   wl_wait_lit OUTPUT          waits until that output shows a lit picture
#   pointer_start, pointer ACTION   a virtual pointer (test helper): "move DX DY", "click"
#   keyboard_start, key ARGS    a virtual keyboard held open; wtype ARGS
#   focus_client HOW            another client (test helper wayland_focus) with a "layer" that
#                               takes the keyboard or a "toplevel" window; waits until it is on
#                               screen; $FOCUS_PID, what it says in $WORK/focus.out
#   focus_said WORD             waits until that client has said WORD ("focused")
#   focus_end                   ends that client
#   wl_wait_moving NAME OUTPUT  waits until two shots of OUTPUT differ (the veils move): the shots
#                               in $WORK/NAME-a.png and NAME-b.png, the count in $CHANGED
#   sway_ok                     true while sway answers

if ! command -v sway >/dev/null || ! command -v grim >/dev/null || ! command -v wtype >/dev/null; then
  echo "skip - sway, grim and wtype are needed (scripts/bootstrap installs them)"
  exit 77
fi

SWAY_PID=
WL_USER=


# sway refuses to run as root, so root runs the desk as a user made for it.
wl_user() {
  if [[ $(id -u) != 0 ]]; then
    WL_USER=$(id -un)
    return
  fi
  WL_USER=${ORVANE_WAYLAND_USER:-orvane-wayland}
  if ! id "$WL_USER" >/dev/null 2>&1 && useradd --create-home --shell /usr/sbin/nologin "$WL_USER"; then
    remove_wl_user() {
      for _ in $(seq 50); do [[ -z $(pgrep -u "$WL_USER") ]] && break; sleep 0.1; done
      userdel --remove "$WL_USER" 2>/dev/null || echo "could not remove the user $WL_USER" >&2
    }
    at_exit remove_wl_user
  fi
}

# USER_COMMAND: what runs a command as that user in this desk's environment,
# exec'ing it, so that a command started in the background has its own process id.
user_command() {
  local home
  home=$(getent passwd "$WL_USER" | cut -d: -f6)
  USER_COMMAND=()
  [[ $(id -u) == 0 ]] &&
    USER_COMMAND=(setpriv --reuid="$WL_USER" --regid="$(id -g "$WL_USER")" --init-groups)
  # Empty names are left out: sway takes an empty SWAYSOCK for its socket's path.
  USER_COMMAND+=(env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" LANG=C.UTF-8
    ${WAYLAND_DISPLAY:+WAYLAND_DISPLAY="$WAYLAND_DISPLAY"} ${SWAYSOCK:+SWAYSOCK="$SWAYSOCK"}
    ${PULSE_SERVER:+PULSE_SERVER="$PULSE_SERVER"} ${PULSE_COOKIE:+PULSE_COOKIE="$PULSE_COOKIE"}
    ${WL_DEBUG:+WAYLAND_DEBUG=1} ${ORVANE_WAYLAND_SHELL:+ORVANE_WAYLAND_SHELL="$ORVANE_WAYLAND_SHELL"})
}

as_user() {
  user_command
  "${USER_COMMAND[@]}" "$@"
}

sway_start() {
  wl_user
  # What the user reads and runs lives where the user can reach it: the build
  # folder may be closed to others (a clone under /root is).
  WL_DIR=$(mktemp -d /tmp/orvane-wayland.XXXXXX)
  at_exit wl_dir_remove
  XDG_RUNTIME_DIR="$WL_DIR/run"
  mkdir -p "$XDG_RUNTIME_DIR" "$WL_DIR/bin"
  chmod 700 "$XDG_RUNTIME_DIR"
  chmod 755 "$WL_DIR" "$WL_DIR/bin"
  chown "$WL_USER" "$XDG_RUNTIME_DIR" "$WORK"
  export XDG_RUNTIME_DIR
  WL_PROGRAM=$(wl_reachable "$ORVANE_PROGRAM")
  [[ -n ${ORVANE_WAYLAND_POINTER:-} ]] && ORVANE_WAYLAND_POINTER=$(wl_reachable "$ORVANE_WAYLAND_POINTER")
  [[ -n ${ORVANE_WAYLAND_FOCUS:-} ]] && ORVANE_WAYLAND_FOCUS=$(wl_reachable "$ORVANE_WAYLAND_FOCUS")
  {
    echo 'xwayland disable'
    echo 'output HEADLESS-1 mode 1024x768 position 0 0'
    echo 'output HEADLESS-2 mode 800x600 position 1024 0 scale 2'
    echo 'seat * hide_cursor 0'
  } >"$WL_DIR/sway.config"
  chmod 644 "$WL_DIR/sway.config"
  WAYLAND_DISPLAY='' SWAYSOCK='' user_command
  "${USER_COMMAND[@]}" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS="${WL_OUTPUTS:-2}" \
    WLR_LIBINPUT_NO_DEVICES=1 sway -c "$WL_DIR/sway.config" >"$WORK/sway.log" 2>&1 &
  SWAY_PID=$!
  x_track "$SWAY_PID"
  local socket=
  for _ in $(seq 200); do
    socket=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name 'sway-ipc.*.sock' -print -quit)
    [[ -n $socket ]] && break
    sleep 0.05
  done
  SWAYSOCK=$socket
  WAYLAND_DISPLAY=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name 'wayland-*' ! -name '*.lock' -printf '%f\n' | head -n1)
  export SWAYSOCK WAYLAND_DISPLAY
  if [[ -z $SWAYSOCK || -z $WAYLAND_DISPLAY ]]; then
    echo "sway_start: sway did not start (log: $WORK/sway.log)" >&2
    exit 1
  fi
  for _ in $(seq 100); do sway_ok && break; sleep 0.05; done
}

wl_dir_remove() { [[ -n ${WL_DIR:-} ]] && rm -rf "$WL_DIR"; }
# wl_reachable FILE: a copy of FILE the desk's user can read and run; prints its path.
wl_reachable() {
  local copy
  copy="$WL_DIR/bin/$(basename "$1")"
  cp "$1" "$copy"
  chmod 755 "$copy"
  echo "$copy"
}

sway_ok() { as_user swaymsg -t get_version >/dev/null 2>&1; }

wl_start() {
  user_command
  "${USER_COMMAND[@]}" "$WL_PROGRAM" "$@" 2>"$WORK/program.err" &
  PROGRAM_PID=$!
  x_track "$PROGRAM_PID"
}

wl_shot() {
  local file="$WORK/$1.png"
  as_user grim -o "$2" - >"$file" 2>/dev/null
  echo "$file"
}

wl_wait_lit() {
  for _ in $(seq 100); do
    [[ $(share_not_near_black "$(wl_shot probe "$1")") != 0 ]] && return 0
    sleep 0.1
  done
  return 1
}

# A virtual pointer device held by the test helper for the whole scenario (the
# headless seat has none, and a client gets a pointer only from a seat that has
# one); pointer ACTION sends "move DX DY" or "click" and waits until it is sent.
pointer_start() {
  mkfifo "$WORK/pointer.in"
  chmod 666 "$WORK/pointer.in"
  user_command
  "${USER_COMMAND[@]}" "$ORVANE_WAYLAND_POINTER" <"$WORK/pointer.in" >"$WORK/pointer.out" 2>&1 &
  x_track $!
  exec 7>"$WORK/pointer.in"
  for _ in $(seq 100); do grep -q ready "$WORK/pointer.out" && return 0; sleep 0.05; done
  echo "pointer_start: the virtual pointer did not start ($(cat "$WORK/pointer.out"))" >&2
  exit 1
}
pointer() {
  local before
  before=$(grep -c "done" "$WORK/pointer.out")
  echo "$*" >&7
  for _ in $(seq 100); do (($(grep -c "done" "$WORK/pointer.out") > before)) && return 0; sleep 0.02; done
  return 1
}
# A virtual keyboard for as long as the scenario runs, so that the seat offers
# the show a keyboard before a key comes; key sends one key press.
keyboard_start() {
  user_command
  "${USER_COMMAND[@]}" wtype -s 3600000 >/dev/null 2>&1 &
  x_track $!
  for _ in $(seq 100); do
    as_user swaymsg -t get_inputs 2>/dev/null | grep -q '"type": "keyboard"' && return 0
    sleep 0.05
  done
  echo "keyboard_start: the virtual keyboard did not come" >&2
  exit 1
}
key() { as_user wtype "$@" >/dev/null 2>&1; }

focus_client() {
  user_command
  "${USER_COMMAND[@]}" "$ORVANE_WAYLAND_FOCUS" "$1" >"$WORK/focus.out" 2>&1 &
  FOCUS_PID=$!
  x_track "$FOCUS_PID"
  focus_said mapped
}
focus_said() {
  for _ in $(seq 100); do grep -qx "$1" "$WORK/focus.out" && return 0; sleep 0.05; done
  return 1
}
focus_end() {
  kill "$FOCUS_PID" 2>/dev/null
  wait "$FOCUS_PID" 2>/dev/null
}

# The veils change a great many pixels within a frame or two; a loaded machine
# draws slowly, so the second shot is taken again until it differs, within a limit.
wl_wait_moving() {
  local a b
  a=$(wl_shot "$1-a" "$2")
  for _ in $(seq 50); do
    b=$(wl_shot "$1-b" "$2")
    CHANGED=$(changed_pixels "$a" "$b")
    more_than "$CHANGED" 20000 && return 0
  done
  return 1
}
