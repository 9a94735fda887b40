#!/usr/bin/env bash
# The engine window as other programs see it, whatever the command line, and the
# picture it draws.
# shellcheck source=../../lib/wine.sh
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh"



# Circular standard deviation, in degrees, of the hue of the clearly coloured pixels of
# the pictures: about 7 for a picture in one hue, 20 and more where hues differ.
hue_spread() {
  convert "$@" -resize 160x120! -depth 8 txt:- |
    sed -nE 's/^[0-9]+,[0-9]+: *\(([0-9.]+),([0-9.]+),([0-9.]+).*/\1 \2 \3/p' |
    awk '{
      r = $1; g = $2; b = $3
      max = r; if (g > max) max = g; if (b > max) max = b
      min = r; if (g < min) min = g; if (b < min) min = b
      if (max < 40 || (max - min) < 0.25 * max) next
      d = max - min
      if (max == r) h = (g - b) / d; else if (max == g) h = 2 + (b - r) / d; else h = 4 + (r - g) / d
      c += cos(h * pi / 3); s += sin(h * pi / 3); n++
    }
    BEGIN { pi = atan2(0, -1) }
    END {
      if (n == 0) { print 0; exit }
      R = sqrt(c * c + s * s) / n; if (R > 0.999999) R = 0.999999
      printf "%.0f\n", sqrt(-2 * log(R)) * 180 / pi
    }'
}

read -r screen_w screen_h < <(h_probe screen | tr -d "\r")
h_mouse_to 500 400

# Any command line gives the same full-screen topmost window.
for args in "" "/s" "/p 65552" "/c:1234" "-x anything"; do
  # shellcheck disable=SC2086
  h_start "$H_BIN_DIR/Orvane.dll" $args
  engine=$H_PID
  xwin=$(h_wait_window OrvaneVC 30)
  check "[$args] a window titled OrvaneVC appears" test -n "$xwin"
  info=$(h_probe find OrvaneVC | tr -d "\r")
  check "[$args] class WindowsScreenSaverClass ($(field class "$info"))" \
    test "$(field class "$info")" = WindowsScreenSaverClass
  check "[$args] covers the screen ${screen_w}x${screen_h} at 0,0 ($info)" \
    test "$(field x "$info") $(field y "$info") $(field w "$info") $(field h "$info")" = "0 0 $screen_w $screen_h"
  check "[$args] topmost" has_bits "$(field exstyle "$info")" 0x8
  check "[$args] visible popup" has_bits "$(field style "$info")" 0x90000000
  check "[$args] no window keeps the creation title" h_absent Screensaver

  h_focus "$xwin"
  h_key space
  h_wait_exit "$engine" 15
  rc=$?
  check "[$args] a key press ends it with exit code 0 (got $rc)" test "$rc" -eq 0
  check "[$args] its window is gone" h_wait_no_window OrvaneVC 5
done

# The picture, from the scenarios' copy of the engine whose start is fixed
# (ORVANE_TEST_SEED), so the hues are known: start 20 has two veils in nearly
# opposite hues; start 47361 two veils in one hue (3 degrees apart) that both
# turn by about 140 degrees in eight seconds.
SEEDED=$H_BUILD_DIR/testbin/seeded/Orvane.dll
seeded_start() {
  ORVANE_TEST_SEED=$1 h_start "$SEEDED" /s
  engine=$H_PID
  xwin=$(h_wait_window OrvaneVC 30)
  check "[start $1] the window appears" test -n "$xwin"
  sleep 1 # the checks look at the picture a second in
}
seeded_end() {
  h_focus "$xwin"
  h_key space
  check "[start $1] a key press ends it" h_wait_exit "$engine" 15
}

seeded_start 20
shot=$(h_shot engine_veils_two_hues)
lit=$(share_not_black "$shot")
check "[start 20] after a second most of the screen shows the veils (lit share $lit, $shot)" more_than "$lit" 0.5
spread=$(hue_spread "$shot")
check "[start 20] two veils in two hues (hue spread $spread degrees)" more_than "$spread" 40
seeded_end 20

seeded_start 47361
shot1=$(h_shot engine_veils_one_hue_1)
spread=$(hue_spread "$shot1")
check "[start 47361] both veils in one hue (hue spread $spread degrees; the start was honoured)" \
  test "${spread:-99}" -lt 20
sleep 8 # the time the picture has to move
shot2=$(h_shot engine_veils_one_hue_2)
moved=$(compare -metric RMSE "$shot1" "$shot2" null: 2>&1 | sed -nE 's/.*\(([0-9.e-]+)\).*/\1/p')
check "[start 47361] the picture moves (RMS difference ${moved:-?} between $shot1 and $shot2)" \
  more_than "$moved" 0.01
spread=$(hue_spread "$shot1" "$shot2")
check "[start 47361] the hue turns over eight seconds (hue spread $spread degrees)" more_than "$spread" 40
seeded_end 47361

h_finish
