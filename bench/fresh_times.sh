#!/usr/bin/env bash
# Times the README's two commands on a fresh Debian 12, made with debootstrap in
# a chroot: `scripts/run` (installs, builds and shows) and then `scripts/test`.
# Each output line is stamped with the wall clock, so the parts (apt, build,
# each preset's tests, the fuzz pass) can be read off the log. Run as root;
# the machine's load is logged at each start and end (figures are noisy).
#
#   bench/fresh_times.sh make DIR    debootstrap, apt sources, a clean clone of this checkout
#   bench/fresh_times.sh time DIR    mounts, times scripts/run then scripts/test, unmounts
#   bench/fresh_times.sh umount DIR  unmounts what `time` mounted (after an interruption)
#
# Logs go to DIR.logs/. The chroot's ccache starts empty: that is the fresh case.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
action=${1:-}
dir=${2:-}
[[ -n $dir && $action =~ ^(make|time|umount)$ ]] ||
  { sed -n '8,10p' "$0" >&2; exit 2; }
logs=$dir.logs
# What a chroot needs of the host, in mounting order (unmounted in reverse).
binds=(proc sys dev dev/pts dev/shm run)

make_fresh() {
  mkdir -p "$logs"
  # debootstrap is not part of the goal: timed apart.
  { time debootstrap bookworm "$dir" http://deb.debian.org/debian; } >"$logs/debootstrap.log" 2>&1
  # The suites a Debian 12 cloud machine has.
  rm -f "$dir/etc/apt/sources.list"
  cat >"$dir/etc/apt/sources.list.d/debian.sources" <<'SOURCES'
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  git clone -q "$root" "$dir/root/orvane"
}

mount_all() {
  cp /etc/resolv.conf "$dir/etc/resolv.conf"
  local m
  for m in "${binds[@]}"; do
    mkdir -p "${dir:?}/$m"
    case $m in
      proc) mount -t proc proc "$dir/proc" ;;
      run) mount -t tmpfs tmpfs "$dir/run" ;;
      sys) mount --rbind /sys "$dir/sys" && mount --make-rslave "$dir/sys" ;;
      *) mount --bind "/$m" "$dir/$m" ;;
    esac
  done
}

umount_all() {
  local i
  for ((i = ${#binds[@]} - 1; i >= 0; i--)); do
    if mountpoint -q "$dir/${binds[i]}"; then umount -R "$dir/${binds[i]}"; fi
  done
  if mount | grep -q " ${dir%/} "; then echo "still mounted under $dir" >&2; return 1; fi
}

# timed NAME COMMAND: COMMAND in the chroot as a newcomer runs it (root, a clean
# environment, no display), each line stamped, into $logs/NAME.log.
timed() {
  local name=$1 command=$2
  {
    echo "load at start: $(uptime)"
    chroot "$dir" /usr/bin/env -i HOME=/root TERM=xterm LANG=C.UTF-8 \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      /bin/bash -c "cd /root/orvane && time $command" 2>&1 || echo "exit code $?"
    echo "load at end: $(uptime)"
  } | while IFS= read -r line; do printf '%(%T)T %s\n' -1 "$line"; done >"$logs/$name.log"
  grep -E ' real\s' "$logs/$name.log" | sed "s/^/$name: /"
}

case $action in
  make) make_fresh ;;
  umount) umount_all ;;
  time)
    mkdir -p "$logs"
    trap umount_all EXIT
    mount_all
    timed run scripts/run
    timed test scripts/test
    # apt's own record: when each install began and ended (the download before it).
    grep -E 'Start-Date|End-Date' "$dir/var/log/apt/history.log" >"$logs/apt-times.log"
    ;;
esac
