#!/usr/bin/env bash
# Standalone on a desk of two monitors (1024x768 primary, 800x600 to its right):
# a window with veils on each, and a key ends both windows and the program.
# shellcheck source=../../lib/linux.sh
source "$(dirname "$0")/../../lib/linux.sh"
x_start 1024x768
x_monitors 1024x768 800x600
xdotool mousemove 500 400

program_start
second_window() { [[ -n $(xdotool search --name '^Orvane monitor$' 2>/dev/null) ]]; }
wait_until 5 "the second monitor's window" second_window
primary=$(xdotool search --name '^Orvane$' | head -n1)
other=$(xdotool search --name '^Orvane monitor$' | head -n1)
check "a window on each monitor" test -n "$primary" -a -n "$other"
geometry() { xdotool getwindowgeometry "$1" | tr -s ' \n' ' '; }
check "the first window covers the first monitor ($(geometry "$primary"))" \
  grep -q 'Position: 0,0 .*Geometry: 1024x768' <<<"$(geometry "$primary")"
check "the second window covers the second monitor ($(geometry "$other"))" \
  grep -q 'Position: 1024,0 .*Geometry: 800x600' <<<"$(geometry "$other")"
wait_for_picture
both_lit() {
  a=$(shot monitors-1)
  more_than "$(share_not_near_black "$a" 1024x768+0+0)" 0.05 &&
    more_than "$(share_not_near_black "$a" 800x600+1024+0)" 0.05
}
wait_until 10 "veils on both monitors" both_lit
sleep 1 # the time the veils have to move between the two
b=$(shot monitors-2)
for part in "1024x768+0+0 first" "800x600+1024+0 second"; do
  read -r area name <<<"$part"
  lit=$(share_not_near_black "$b" "$area")
  check "the $name monitor is lit ($lit)" gt "$lit" 0.05
  convert "$a" -crop "$area" +repage "$WORK/part-a.ppm"
  convert "$b" -crop "$area" +repage "$WORK/part-b.ppm"
  changed=$(changed_pixels "$WORK/part-a.ppm" "$WORK/part-b.ppm")
  check "the $name monitor's picture moves ($changed pixels changed)" gt "$changed" 10000
done
rm -f "$WORK/part-a.ppm" "$WORK/part-b.ppm"

xdotool key shift
check "a key ends the program" program_ends_within 5
check "with exit code 0 ($HACK_STATUS)" test "$HACK_STATUS" = 0
check "both windows are gone" \
  test -z "$(xdotool search --name '^Orvane( monitor)?$' 2>/dev/null)"
finish
