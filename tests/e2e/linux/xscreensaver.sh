#!/usr/bin/env bash
# The real xscreensaver daemon runs the installed program: cmake --install into a
# prefix, the daemon (as an unprivileged user: it launches no hacks as root) on
# this scenario's own Xvfb with "GL: .../orvane --root" as its only program;
# activate -> the orvane process runs and the screen shows veils; deactivate ->
# the process is gone.
# shellcheck source=../../lib/linux.sh
source "$(dirname "$0")/../../lib/linux.sh"

# Installed where Debian's xscreensaver keeps hacks and their descriptions.
prefix="$WORK/prefix"
cmake --install "$ORVANE_BUILD_DIR" --prefix "$prefix" --strip >"$WORK/install.log" 2>&1
program="$prefix/libexec/xscreensaver/orvane"
check "installs the program under libexec/xscreensaver" test -x "$program"
xml="$prefix/share/xscreensaver/config/orvane.xml"
check "installs orvane.xml under share/xscreensaver/config" test -f "$xml"
xml_ok() { grep -q '<screensaver name="orvane"' "$xml" && grep -q '<command arg="--root"/>' "$xml"; }
check "orvane.xml names the program and its --root" xml_ok

x_start

# Who runs the daemon: this user, or as root a user made for the purpose.
if [[ $(id -u) == 0 ]]; then
  user=${ORVANE_SAVER_USER:-orvane-saver}
  # A user made here goes again at the end, with its home; one that was there stays.
  if ! id "$user" >/dev/null 2>&1 && useradd --create-home --shell /usr/sbin/nologin "$user"; then
    remove_user() {
      user_processes_end "$user"
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
    [[ -x $path && $(stat -c %A "$path") == *x ]] || { program_copy=1; break; }
    path=$(dirname "$path")
  done
  if [[ -n ${program_copy:-} ]]; then
    mkdir -p "$home/bin"
    cp "$program" "$home/bin/orvane"
    chown -R "$user" "$home/bin"
    program="$home/bin/orvane"
  fi
else
  user=$(id -un)
  home="$WORK/home"
  mkdir -p "$home"
  as_user() { env HOME="$home" "$@"; }
fi
owner=$(stat -c %U "$home")
saver_config "$home" "$program --root --fps" "$owner"

saver_daemon_start
check "the daemon answers" saver_daemon_up

program_pids() { pgrep -u "$user" -f "^$program --root" || true; }
program_runs() { [[ -n $(program_pids) ]]; }
program_gone() { [[ -z $(program_pids) ]]; }
saver_command -activate
wait_until 10 "orvane to start" program_runs
check "activate starts orvane" test -n "$(program_pids)"
check "the screen shows veils" wait_for_picture
check_moving_veils active

saver_command -deactivate
wait_until 10 "orvane to end" program_gone
check "deactivate ends orvane" test -z "$(program_pids)"

saver_daemon_exit
check "the daemon ends" process_gone "$SAVER_DAEMON_PID"
user_processes_end "$user"
check "nothing of the user is left running" test -z "$(pgrep -u "$user")"
finish
