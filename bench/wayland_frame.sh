#!/usr/bin/env bash
# Frame rate of `orvane` on Wayland (headless sway, one 1024x768 output, paced by
# the compositor's frame callbacks) against the X11 program on Xvfb at the same
# size, in turns, in one run. Prints the median of each program's per-second
# rates (--fps) for each turn, and the ratio of Wayland's frame time to X11's.
#   ORVANE_HACK=build/native/bin/orvane ORVANE_BUILD_DIR=build/native \
#     ORVANE_WAYLAND_POINTER=build/native/testbin/wayland_pointer bash bench/wayland_frame.sh [TURNS]
tests="$(dirname "$0")/../tests/e2e/linux"
# shellcheck source=../tests/lib/linux.sh
source "$(dirname "$0")/../tests/lib/linux.sh"
# shellcheck source=../tests/e2e/linux/wayland_lib.sh
source "$tests/wayland_lib.sh"

turns=${1:-3}
# One output, the size of the X screen: sway 1.7's headless outputs answer "output ... disable"
# with success and stay on, and a second output would be drawn too.
WL_OUTPUTS=1 sway_start
if [[ $(as_user swaymsg -t get_outputs | grep -c '"active": true') != 1 ]]; then
  echo "wayland_frame: sway has more than one output on" >&2
  exit 1
fi
x_start 1024x768

median_fps() { awk '/fps/ { print $2 }' "$1" | sort -n | awk '{ a[NR] = $1 } END { print (NR ? a[int((NR + 1) / 2)] : 0) }'; }
wayland_all=()
x11_all=()
for turn in $(seq "$turns"); do
  wl_start --wayland --fps
  sleep 8
  kill -TERM "$HACK_PID"
  hack_ends_within 5
  cp "$WORK/hack.err" "$WORK/wayland-$turn.fps"
  hack_start --x11 --fps
  sleep 8
  kill -TERM "$HACK_PID"
  hack_ends_within 5
  cp "$WORK/hack.err" "$WORK/x11-$turn.fps"
  w=$(median_fps "$WORK/wayland-$turn.fps")
  x=$(median_fps "$WORK/x11-$turn.fps")
  wayland_all+=("$w")
  x11_all+=("$x")
  echo "turn $turn: Wayland $w fps, X11 $x fps"
done
w=$(printf '%s\n' "${wayland_all[@]}" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
x=$(printf '%s\n' "${x11_all[@]}" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
awk -v w="$w" -v x="$x" 'BEGIN { printf "median: Wayland %.1f fps (%.1f ms), X11 %.1f fps (%.1f ms); Wayland frame time / X11: %.2f\n", w, 1000 / w, x, 1000 / x, x / w }'
