#!/usr/bin/env bash
# The engine window as other programs see it, whatever the command line, and the
# picture it draws.
source "$ORVANE_SOURCE_DIR/scripts/harness.sh"

field() { sed -nE "s/.*(^| )$1=([^ ]+).*/\2/p" <<<"$2"; }
has_bits() { (( ($1 & $2) == $2 )); }
no_window() { ! h_probe exists "$1"; }

# Share of pixels that are not black (any channel above 0).
lit_fraction() {
  convert "$1" -channel RGB -separate -evaluate-sequence max -threshold 0 -format '%[fx:mean]' info:
}

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
first=1
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
  check "[$args] no window keeps the creation title" no_window Screensaver

  if ((first)); then
    first=0
    sleep 1
    shot1=$(h_shot engine_veils_1)
    lit=$(lit_fraction "$shot1")
    check "after a second most of the screen shows the veils (lit share $lit, $shot1)" \
      awk "BEGIN { exit !($lit > 0.5) }"
    # Eight seconds apart: the two veils may start in nearly one hue, and their hues
    # drift at random speeds; over eight seconds the spread stays under the limit in
    # well under one start in a hundred, over four in about one in fifty.
    sleep 8
    shot2=$(h_shot engine_veils_2)
    moved=$(compare -metric RMSE "$shot1" "$shot2" null: 2>&1 | sed -nE 's/.*\(([0-9.e-]+)\).*/\1/p')
    check "the picture moves (RMS difference ${moved:-?} between $shot1 and $shot2)" \
      awk "BEGIN { exit !(\"${moved:-0}\" + 0 > 0.01) }"
    spread=$(hue_spread "$shot1" "$shot2")
    check "more than one hue over time (hue spread ${spread:-?} degrees)" test "${spread:-0}" -gt 15
  fi

  h_focus "$xwin"
  h_key space
  h_wait_exit "$engine" 15
  rc=$?
  check "[$args] a key press ends it with exit code 0 (got $rc)" test "$rc" -eq 0
  check "[$args] its window is gone" h_wait_no_window OrvaneVC 5
done

h_finish
