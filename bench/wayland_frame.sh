#!/usr/bin/env bash
# Frame rate of `orvane` on Wayland (headless sway, one 1024x768 output, paced by
# the compositor's frame callbacks) against the X11 program on Xvfb at the same
# size, in turns, in one run. For each turn: the median of the program's
# per-second rates (--fps), and the processor time per frame of the program and
# of its display server (sway, Xvfb), read from /proc while it said its rates.
# Then the medians over the turns and the ratios of Wayland to X11: frame time,
# and processor time per frame (on a loaded machine the steadier of the two).
#   ORVANE_PROGRAM=build/native/bin/orvane ORVANE_BUILD_DIR=build/native \
#     ORVANE_WAYLAND_POINTER=build/native/testbin/wayland_pointer bash bench/wayland_frame.sh [TURNS]
# WAYLAND_ALSO="NAME=PROGRAM ..." runs other builds on Wayland in the same turns (a before and
# after in one run).
# shellcheck source=../tests/lib/linux.sh
source "$(dirname "$0")/../tests/lib/linux.sh"
# shellcheck source=../tests/lib/wayland.sh
source "$(dirname "$0")/../tests/lib/wayland.sh"

turns=${1:-3}
# One output, the size of the X screen: sway 1.7's headless outputs answer "output ... disable"
# with success and stay on, and a second output would be drawn too.
WL_OUTPUTS=1 sway_start
if [[ $(as_user swaymsg -t get_outputs | grep -c '"active": true') != 1 ]]; then
  echo "wayland_frame: sway has more than one output on" >&2
  exit 1
fi
x_start 1024x768

# Waits (within a limit) until the program has said its rate N times, once a second.
rates_said() {
  for _ in $(seq 300); do
    (($(grep -c fps "$WORK/program.err") >= $1)) && return 0
    sleep 0.1
  done
  echo "wayland_frame: no rates from the program ($(head -c 200 "$WORK/program.err"))" >&2
  return 1
}
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
median() { sort -n | awk '{ a[NR] = $1 } END { print (NR ? a[int((NR + 1) / 2)] : 0) }'; }
# One turn of the program started last, its display server's process id $1: the
# rates from the second to the eighth (the first holds the set-up), and the
# processor time of both over them. Prints "FPS CLIENT_MS SERVER_MS" per frame.
measure() {
  rates_said 2 || return 1
  local said client server
  said=$(grep -c fps "$WORK/program.err")
  client=$(ticks "$PROGRAM_PID")
  server=$(ticks "$1")
  rates_said 8 || return 1
  client=$(($(ticks "$PROGRAM_PID") - client))
  server=$(($(ticks "$1") - server))
  kill -TERM "$PROGRAM_PID"
  program_ends_within 5
  local rates frames
  rates=$(awk -v said="$said" '/fps/ && ++n > said && n <= 8 { print $2 }' "$WORK/program.err")
  frames=$(awk '{ f += $1 } END { print f }' <<<"$rates")
  awk -v fps="$(median <<<"$rates")" -v f="$frames" -v c="$client" -v s="$server" \
    -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.1f %.1f %.1f\n", fps, c * 1000 / hz / f, s * 1000 / hz / f }'
}

wayland=()
x11=()
declare -A also=()
for turn in $(seq "$turns"); do
  line="turn $turn (fps, ms of processor per frame for the program, its server):"
  for build in ${WAYLAND_ALSO:-}; do
    cp "${build#*=}" "$WL_PROGRAM"
    wl_start --wayland --fps
    also[${build%%=*}]+="$(measure "$SWAY_PID")"$'\n'
    line+=" ${build%%=*} $(tail -n1 <<<"${also[${build%%=*}]%$'\n'}");"
  done
  cp "$ORVANE_PROGRAM" "$WL_PROGRAM"
  wl_start --wayland --fps
  wayland+=("$(measure "$SWAY_PID")")
  program_start --x11 --fps
  x11+=("$(measure "$XVFB_PID")")
  echo "$line Wayland ${wayland[-1]}; X11 ${x11[-1]}; load $(cut -d' ' -f1 /proc/loadavg)"
done
nth() { printf '%s\n' "${@:2}" | awk -v k="$1" '{ print $k }' | median; }
w=$(nth 1 "${wayland[@]}") x=$(nth 1 "${x11[@]}")
wc=$(nth 2 "${wayland[@]}") ws=$(nth 3 "${wayland[@]}")
xc=$(nth 2 "${x11[@]}") xs=$(nth 3 "${x11[@]}")
awk -v w="$w" -v x="$x" -v wc="$wc" -v ws="$ws" -v xc="$xc" -v xs="$xs" 'BEGIN {
  printf "median: Wayland %.1f fps (%.1f ms), X11 %.1f fps (%.1f ms); Wayland frame time / X11: %.2f\n", w, 1000 / w, x, 1000 / x, x / w
  printf "processor per frame: Wayland %.1f + sway %.1f ms, X11 %.1f + Xvfb %.1f ms; Wayland / X11: %.2f (programs alone %.2f)\n", wc, ws, xc, xs, (wc + ws) / (xc + xs), wc / xc }'
for name in "${!also[@]}"; do
  mapfile -t rows <<<"${also[$name]%$'\n'}"
  awk -v n="$name" -v w="$(nth 1 "${rows[@]}")" -v x="$x" -v wc="$(nth 2 "${rows[@]}")" \
    -v ws="$(nth 3 "${rows[@]}")" -v xc="$xc" -v xs="$xs" 'BEGIN {
    printf "%s: %.1f fps, frame time / X11: %.2f; processor per frame %.1f + sway %.1f ms, / X11: %.2f\n", n, w, x / w, wc, ws, (wc + ws) / (xc + xs) }'
done
