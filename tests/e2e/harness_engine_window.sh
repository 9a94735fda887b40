#!/usr/bin/env bash
# The harness drives the real engine: its window appears, a key press ends it,
# and nothing is left running.
# shellcheck source=../lib/wine.sh
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh"

h_start "$H_BIN_DIR/Orvane.dll"
engine=$H_PID
xwin=$(h_wait_window OrvaneVC 30)
check "engine window is found by its title" test -n "$xwin"
check "the probe sees it from the Windows side" h_probe exists OrvaneVC
h_focused "$xwin"
h_key space
h_wait_exit "$engine" 15
rc=$?
check "a key press ends the engine with exit code 0 (got $rc)" test "$rc" -eq 0
check "its window is gone" h_wait_no_window OrvaneVC 5
check "the engine process is gone" bash -c "! kill -0 $engine 2>/dev/null"
h_finish
