#!/usr/bin/env bash
# Several monitors against each alone, in one run: the Windows engine's show under
# Wine and the Linux program, each on a nested display (Xephyr) of 1024x768 alone,
# 800x600 alone and both side by side. Prints rounds (one frame of every window)
# per second and CPU use, and the pair's time per round over the two alone added.
#
#   bench/desk_bench.sh [SECONDS]    after both presets are built; needs Xvfb and Xephyr
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-10}
desk_bench=$root/build/windows/bench/engine_desk_bench.exe
program=$root/build/native/bin/orvane
# shellcheck source=../tests/lib/checks.sh
source "$root/tests/lib/checks.sh"
work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  if [[ -n ${WINEPREFIX:-} ]]; then wineserver -k 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own that can hold the nested one.
x_server_start "$work/xvfb.display" "$work/xvfb.log" Xvfb -screen 0 2000x1000x24 -nolisten tcp
pids+=("$X_SERVER_PID")
outer=${X_SERVER_DISPLAY#:}
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
DISPLAY=:$outer wineboot -i >/dev/null 2>&1 || true

# nested SCREEN.. : starts Xephyr with those monitors; sets inner (its display number) and xephyr
nested() {
  local args=() s
  for s in "$@"; do args+=(-screen "$s"); done
  DISPLAY=:$outer x_server_start "$work/xephyr.display" "$work/xephyr.log" \
    Xephyr "${args[@]}" +xinerama -extension RANDR -ac
  xephyr=$X_SERVER_PID
  inner=${X_SERVER_DISPLAY#:}
}

# cpu_seconds PID: user and system time of a process so far
cpu_seconds() {
  awk -v hz="$(getconf CLK_TCK)" '{print ($14 + $15) / hz}' "/proc/$1/stat"
}

declare -A windows_rate linux_rate windows_cpu linux_cpu
for desk in "1024x768" "800x600" "1024x768 800x600"; do
  # shellcheck disable=SC2086  # one word per monitor
  nested $desk
  pids+=("$xephyr")
  wineserver -k 2>/dev/null || true
  line=$(DISPLAY=:$inner wine "$desk_bench" "$seconds" 2>/dev/null | tail -n1)
  windows_rate[$desk]=$(awk '{print $4}' <<<"$line")
  windows_cpu[$desk]=$(awk '{print $6}' <<<"$line")
  wineserver -k 2>/dev/null || true

  DISPLAY=:$inner "$program" --no-vsync --fps 2>"$work/fps" &
  program_pid=$!
  # The first rate is reported after its first full second of frames: warm from there.
  wait_until 20 "orvane's first rate" grep -q fps "$work/fps"
  start_cpu=$(cpu_seconds "$program_pid")
  : >"$work/fps"
  sleep "$seconds" # the stretch measured
  end_cpu=$(cpu_seconds "$program_pid")
  kill -TERM "$program_pid"
  wait "$program_pid" || true
  linux_rate[$desk]=$(awk '/fps/ {sum += $2; n++} END {if (n) printf "%.2f", sum / n}' "$work/fps")
  linux_cpu[$desk]=$(awk -v a="$start_cpu" -v b="$end_cpu" -v s="$seconds" 'BEGIN {printf "%.2f", (b - a) / s}')
  kill "$xephyr" 2>/dev/null || true
done

printf '%-20s %14s %10s %14s %10s\n' desk "Wine rounds/s" "Wine CPU" "Linux rounds/s" "Linux CPU"
for desk in "1024x768" "800x600" "1024x768 800x600"; do
  printf '%-20s %14s %10s %14s %10s\n' "$desk" "${windows_rate[$desk]}" "${windows_cpu[$desk]}" \
    "${linux_rate[$desk]}" "${linux_cpu[$desk]}"
done
# Time per round of the pair over the two alone added: at most 1.10 is the goal.
for side in windows linux; do
  declare -n rate=${side}_rate
  awk -v a="${rate[1024x768]}" -v b="${rate[800x600]}" -v p="${rate[1024x768 800x600]}" -v s="$side" \
    'BEGIN {printf "%s: pair per round / (1024x768 + 800x600 alone) = %.2f\n", s, (1 / p) / (1 / a + 1 / b)}'
done
