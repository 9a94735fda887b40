#!/usr/bin/env bash
# --root: the veils on the root window, moving; SIGTERM and SIGINT end it with 0;
# a window marked as the virtual root is preferred; XSCREENSAVER_WINDOW wins.
# shellcheck source=../../lib/linux.sh
source "$(dirname "$0")/../../lib/linux.sh"
x_start

program_start --root --fps
check "draws on the root window" wait_for_picture
check_moving_veils root
# The rate is reported once a full second has passed; on a loaded machine the
# picture can be up sooner than that.
wait_until 5 "a rate on stderr" grep -qE 'fps$' "$WORK/program.err"
kill -TERM "$PROGRAM_PID"
program_ends_within 5
check "SIGTERM ends it with 0 (got $HACK_STATUS)" test "$HACK_STATUS" = 0
check "--fps reports on stderr" grep -qE '^orvane: [0-9.]+ fps$' "$WORK/program.err"

# A virtual root (as some window managers and screen savers make) is drawn on, not the root.
test_window vroot 300 200 --vroot
vroot=$WINDOW_ID
program_start --root
check "draws on the virtual root" wait_for_picture "$vroot"
kill -INT "$PROGRAM_PID"
program_ends_within 5
check "SIGINT ends it with 0 (got $HACK_STATUS)" test "$HACK_STATUS" = 0

test_window named 200 150
named=$WINDOW_ID
XSCREENSAVER_WINDOW=$named program_start --root
check "draws on the window XSCREENSAVER_WINDOW names" wait_for_picture "$named"
kill -TERM "$PROGRAM_PID"
program_ends_within 5
check "ends with 0 there too (got $HACK_STATUS)" test "$HACK_STATUS" = 0
finish
