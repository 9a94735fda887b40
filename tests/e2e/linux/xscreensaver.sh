#!/usr/bin/env bash
# The real xscreensaver daemon runs the installed hack: cmake --install into a
# prefix, the daemon (as an unprivileged user: it launches no hacks as root) on
# this scenario's own Xvfb with "GL: .../orvane --root" as its only program;
# activate -> the orvane process runs and the screen shows veils; deactivate ->
# the process is gone.
# shellcheck source=../../lib/linux.sh
source "$(dirname "$0")/../../lib/linux.sh"

# Installed where Debian's xscreensaver keeps hacks and their descriptions.
prefix="$WORK/prefix"
cmake --install "$ORVANE_BUILD_DIR" --prefix "$prefix" --strip >"$WORK/install.log" 2>&1
hack="$prefix/libexec/xscreensaver/orvane"
check "installs the program under libexec/xscreensaver" test -x "$hack"
xml="$prefix/share/xscreensaver/config/orvane.xml"
check "installs orvane.xml under share/xscreensaver/config" test -f "$xml"
xml_ok() { grep -q '<screensaver name="orvane"' "$xml" && grep -q '<command arg="--root"/>' "$xml"; }
check "orvane.xml names the hack and its --root" xml_ok

x_start

# Who runs the daemon: this user, or as root a user made for the purpose.
if [[ $(id -u) == 0 ]]; then
  user=${ORVANE_SAVER_USER:-orvane-saver}
  # A user made here goes again at the end, with its home; one that was there stays.
  if ! id "$user" >/dev/null 2>&1 && useradd --create-home --shell /usr/sbin/nologin "$user"; then
    remove_user() {
      for _ in $(seq 50); do [[ -z $(pgrep -u "$user") ]] && break; sleep 0.1; done
      userdel --remove "$user" 2>/dev/null || echo "could not remove the user $user" >&2
    }
    at_exit remove_user
  fi
  home=$(getent passwd "$user" | cut -d: -f6)
  as_user() { runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="$home" DISPLAY="$DISPLAY" "$@"; }
  # The user must reach the program through the build folder's parents.
  chmod o+rx "$prefix" "$prefix/libexec" "$prefix/libexec/xscreensaver" 2>/dev/null
  path="$prefix"
  while [[ $path != / ]]; do
    [[ -x $path && $(stat -c %A "$path") == *x ]] || { hack_copy=1; break; }
    path=$(dirname "$path")
  done
  if [[ -n ${hack_copy:-} ]]; then
    mkdir -p "$home/bin"
    cp "$hack" "$home/bin/orvane"
    chown -R "$user" "$home/bin"
    hack="$home/bin/orvane"
  fi
else
  user=$(id -un)
  home="$WORK/home"
  mkdir -p "$home"
  as_user() { env HOME="$home" "$@"; }
fi
owner=$(stat -c %U "$home")
saver_config "$home" "$hack --root --fps" "$owner"

as_user xscreensaver --no-splash >"$WORK/daemon.log" 2>&1 &
daemon=$!
x_track $daemon
up() { as_user xscreensaver-command -time >/dev/null 2>&1; }
# A loaded machine can take many seconds to bring the daemon up.
for _ in $(seq 300); do up && break; sleep 0.1; done
check "the daemon answers" up

hack_pids() { pgrep -u "$user" -f "^$hack --root" || true; }
as_user xscreensaver-command -activate >>"$WORK/daemon.log" 2>&1
for _ in $(seq 100); do [[ -n $(hack_pids) ]] && break; sleep 0.1; done
check "activate starts orvane" test -n "$(hack_pids)"
check "the screen shows veils" wait_for_picture
check_moving_veils active

as_user xscreensaver-command -deactivate >>"$WORK/daemon.log" 2>&1
for _ in $(seq 100); do [[ -z $(hack_pids) ]] && break; sleep 0.1; done
check "deactivate ends orvane" test -z "$(hack_pids)"

as_user xscreensaver-command -exit >>"$WORK/daemon.log" 2>&1
for _ in $(seq 50); do kill -0 $daemon 2>/dev/null || break; sleep 0.1; done
check "the daemon ends" bash -c "! kill -0 $daemon 2>/dev/null"
for _ in $(seq 50); do [[ -z $(pgrep -u "$user") ]] && break; sleep 0.1; done
check "nothing of the user is left running" test -z "$(pgrep -u "$user")"
finish
