#!/usr/bin/env bash
# The harness's desk of several monitors: Wine sees both heads with their
# places, and a screenshot of one monitor shows just that monitor.
# shellcheck source=../lib/wine.sh
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh" || exit 1
h_monitors 1024x768 800x600 || exit 1

heads=$(xdpyinfo -ext XINERAMA 2>/dev/null | grep 'head #')
check "X has the primary head 1024x768 at 0,0" grep -q 'head #0: 1024x768 @ 0,0' <<<"$heads"
check "and the second 800x600 at 1024,0" grep -q 'head #1: 800x600 @ 1024,0' <<<"$heads"

monitors=$(h_probe monitors)
echo "$monitors"
check "Wine lists two monitors" test "$(grep -c . <<<"$monitors")" = 2
check "the primary at 0,0-1024,768" grep -qxF '\\.\DISPLAY1 0,0-1024,768 primary' <<<"$monitors"
check "the second at 1024,0-1824,600" grep -qxF '\\.\DISPLAY2 1024,0-1824,600' <<<"$monitors"
check "the primary screen is the first monitor ($(h_probe screen))" test "$(h_probe screen)" = "1024 768"

# The engine's window on the primary monitor, seen in that monitor's screenshot
# (a known start, whose veils light most of the screen: see the engine window scenario).
ORVANE_TEST_SEED=20 h_start "$H_BUILD_DIR/testbin/seeded/Orvane.dll" /s
engine=$H_PID
xwin=$(h_wait_window OrvaneVC 30)
check "the engine's window opens" test -n "$xwin"
primary_lit() { more_than "$(share_not_black "$(h_shot_monitor monitors_0 0)")" 0.5; }
wait_until 10 "the veils on the primary monitor" primary_lit
for n in 0 1; do
  shot=$(h_shot_monitor "monitors_$n" "$n")
  check "monitor $n's screenshot has its size" \
    test "$(identify -format %wx%h "$shot")" = "${MONITOR_RECTS[$n]%%+*}"
done
lit=$(share_not_black "$H_SHOTS/monitors_0.png")
check "the primary monitor shows the veils (lit share $lit)" more_than "$lit" 0.5
h_focus "$xwin"
h_key space
check "a key ends the engine" h_wait_exit "$engine" 15

h_finish
