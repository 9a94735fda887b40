#!/usr/bin/env bash
# The library's desk of several monitors: two Xinerama heads side by side on one
# X screen, and screenshots cropped to each.
# shellcheck source=../../lib/linux.sh
source "$(dirname "$0")/../../lib/linux.sh"
x_start
x_monitors 1024x768 800x600

heads=$(xdpyinfo -ext XINERAMA 2>/dev/null | grep 'head #')
echo "$heads"
check "the primary head is 1024x768 at 0,0" grep -q 'head #0: 1024x768 @ 0,0' <<<"$heads"
check "the second head is 800x600 at 1024,0" grep -q 'head #1: 800x600 @ 1024,0' <<<"$heads"
check "one X screen spans both" grep -q 'dimensions: *1824x768 pixels' <<<"$(xdpyinfo)"

program_start --root
check "the program draws on the desk" wait_for_picture
for n in 0 1; do
  file=$(shot_monitor "monitor$n" "$n")
  check "monitor $n's screenshot has its size ($(identify -format %wx%h "$file"))" \
    test "$(identify -format %wx%h "$file")" = "${MONITOR_RECTS[$n]%%+*}"
done
kill -TERM "$PROGRAM_PID"
program_ends_within 5
finish
