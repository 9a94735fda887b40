#!/usr/bin/env bash
# Orvane.scr started the way Windows starts a saver: by the stored path as it
# is, here a long path with blanks and no quotes (a volume without 8.3 names
# stores it so; the helper keeps Wine from quoting it), and in front of another program that the test never takes
# the focus from: the first key must reach the show, not the program behind.
# shellcheck source=../../lib/wine.sh
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh"
# Waits up to SECS for PID to end, and checks that it ended with exit code 0.
ends_ok() { h_wait_exit "$1" "$2"; local rc=$?; check "$3 (exit $rc)" test "$rc" -eq 0; }
HELPER=$H_BUILD_DIR/testbin/host_helper.exe

savers="$(h_workdir host_start)/My Screen Savers"
h_install "$savers"
scr=$(winpath "$savers/Orvane.scr")
echo "# started as: $scr /s"

# 1. The long path, unquoted: "Screen" is not the argument text, so no
#    settings dialog (its letter "c") but the show; and in another case.
for line in "$scr /s" "${scr^^} /S"; do
  # A program the user was working in, in front, that ends on any key.
  h_start "$HELPER" window Editor 400 300
  editor=$H_PID
  check "[$line] the program in front is up" h_probe wait-window Editor 20000
  h_start "$HELPER" run-verbatim "$scr" "$line"
  show=$H_PID
  xwin=$(h_wait_window OrvaneVC 60)
  check "[$line] the show starts" test -n "$xwin"
  check "[$line] and no settings dialog opens" h_absent "<Orvane>"
  h_wait_drawn "host_start_${line: -1}"
  # No h_focus: the key goes wherever the focus is.
  H_XWIN=
  xdotool key space
  ends_ok "$show" 30 "[$line] the first key ends the show"
  check "[$line] the program behind did not get the key" h_alive "$editor"
  h_wait_no_window OrvaneVC 10
  h_probe post-close Editor
  h_wait_exit "$editor" 10
done

# 2. The settings by the same path, unquoted, in lower case.
h_start "$HELPER" run-verbatim "$scr" "${scr,,} /c"
dialog=$H_PID
check "'<long path in lower case> /c' opens the settings dialog" h_probe wait-window "<Orvane>" 30000
check "and no show" h_absent OrvaneVC
h_probe post-close "<Orvane>"
ends_ok "$dialog" 20 "the dialog closes"
h_finish
