#!/usr/bin/env bash
# The pointer's tolerance on a scaled display: 4 pixels of a 96-DPI display, so at
# 144 DPI (150 %) a move of 5 or 6 physical pixels leaves the show running and 7 ends
# it; at 96 DPI the 4 and 5 of old. Real X input; Wine gives the per-monitor-aware
# engine physical pixels and the monitor's DPI at the lane's LogPixels.
# shellcheck source=../../lib/wine.sh
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh"

# dpi | moves (dx,dy) that leave it running, after the forgiven first one | the move that ends it
cases=(
  "144|5,0 0,6 -3,-3|4,3"
  "96|4,0 -3,-1|3,2"
)

for row in "${cases[@]}"; do
  IFS='|' read -r dpi stays ends <<<"$row"
  h_display_dpi "$dpi"
  h_mouse_to 500 400
  h_start "$H_BIN_DIR/Orvane.dll"
  engine=$H_PID
  xwin=$(h_wait_window OrvaneVC 30)
  if [[ -z $xwin ]]; then
    check "at $dpi DPI: the engine window appears" false
    continue
  fi
  h_focused "$xwin"
  h_wait_drawn "scaled_input_$dpi"  # the first frames, under the still pointer
  # Each move is served on its own, not merged with the next: the gaps are the point.
  h_mouse_by 1 0  # the first move, forgiven whatever its length
  sleep 0.4
  for move in $stays; do
    h_mouse_by "${move%,*}" "${move#*,}"
    sleep 0.4
  done
  sleep 1 # moves that must not end it: the settle time is the point
  check "at $dpi DPI: moves of $stays leave the show running" h_alive "$engine"
  h_mouse_by "${ends%,*}" "${ends#*,}"
  h_wait_exit "$engine" 15
  rc=$?
  check "at $dpi DPI: a move of $ends ends it with exit code 0 (got $rc)" test "$rc" -eq 0
  check "at $dpi DPI: its window is gone" h_wait_no_window OrvaneVC 5
done
h_finish
