#!/usr/bin/env bash
# The preview inside a preview area made by the test: a child at the area's
# full size, deaf to clicks and keys, and gone with the area however it goes.
# shellcheck source=../../lib/wine.sh
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh"
# Waits up to SECS for PID to end, and checks that it ended with exit code 0.
ends_ok() { h_wait_exit "$1" "$2"; local rc=$?; check "$3 (exit $rc)" test "$rc" -eq 0; }
HELPER=$H_BUILD_DIR/testbin/host_helper.exe

dir=$(h_workdir host_preview)
cp "$H_BIN_DIR/Orvane.scr" "$dir/"

# Starts a preview area W x H and a preview in it; sets AREA, HOST, HWND.
start_preview() {
  h_start "$HELPER" window PreviewArea "$1" "$2"
  AREA=$H_PID
  h_probe wait-window PreviewArea 20000 || return 1
  HWND=$(h_probe find PreviewArea | sed -E 's/.*hwnd=(0x[0-9a-f]+).*/\1/')
  h_start "$dir/Orvane.scr" /p $((HWND))
  HOST=$H_PID
  wait_until 20 "the preview in its area" _previewing
}
_previewing() { h_probe children PreviewArea | grep -q 'class=Orvane_R'; }
in_front() { [[ $(h_probe foreground) == "$1" ]]; }

check "a 152 x 112 preview starts" start_preview 152 112
line=$(h_probe children PreviewArea | grep 'class=Orvane_R')
echo "# $line"
check "it is titled Preview Window" grep -q 'title=Preview Window ' <<<"$line"
check "it is a visible child of the area" grep -qE "visible=1 .*parent=$HWND\$" <<<"$line"
check "it covers the whole area" grep -qE ' x=100 y=100 w=152 h=112 ' <<<"$line"
style=$(sed -E 's/.* style=(0x[0-9a-f]+).*/\1/' <<<"$line")
check "its style has WS_CHILD and no caption ($style)" test $((style & 0x40000000)) -ne 0 -a $((style & 0x00C00000)) -eq 0

# A click on it brings the window that holds it to the front, as a click on
# any other part of that window does; clicks and keys do nothing else.
h_start "$HELPER" window Other 100 100
other=$H_PID
check "another window is up" h_probe wait-window Other 20000
wait_until 5 "the other window in front" in_front Other
check "and in front" bash -c "\"\$WINE\" \"$H_PROBE\" foreground 2>/dev/null | grep -qx 'Other.\?'"
# (The other window covers the area's top-left 100 x 100 pixels.)
h_mouse_to 230 200
h_click 1
wait_until 5 "the preview's area in front" in_front PreviewArea
front=$(h_probe foreground)
check "a click on the preview brings its area to the front ($front)" test "$front" = PreviewArea
h_probe post-close Other
h_wait_exit "$other" 10
h_click 3
h_focus "$(h_wait_window PreviewArea 5)"
h_key space Escape Return
sleep 1 # input that must not end it: the settle time is the point
check "clicks and keys leave the preview running" h_alive "$HOST"
check "and in its place" bash -c "\"\$WINE\" \"$H_PROBE\" children PreviewArea 2>/dev/null | grep -q 'class=Orvane_R'"

# The area destroyed without closing the preview first.
h_probe post PreviewArea 0x0401
ends_ok "$HOST" 20 "the preview ends when its area is destroyed"
h_wait_exit "$AREA" 20

# At 144 dots per inch (LogPixels in the lane's prefix, put back afterwards) the preview
# still covers its area exactly, at the usual size and at 1.5 times it.
h_display_dpi 144
for size in "152 112" "228 168"; do
  read -r w h <<<"$size"
  check "at 144 dpi a $w x $h preview starts" start_preview "$w" "$h"
  line=$(h_probe children PreviewArea | grep 'class=Orvane_R')
  echo "# $line"
  check "at 144 dpi it covers the $w x $h area exactly" grep -qE " x=100 y=100 w=$w h=$h " <<<"$line"
  h_probe post PreviewArea 0x0401
  ends_ok "$HOST" 20 "at 144 dpi the preview ends with its area"
  h_wait_exit "$AREA" 20
done
h_display_dpi

# Another size; then the area's program dies.
check "a 300 x 200 preview starts" start_preview 300 200
check "it covers the whole larger area" bash -c \
  "\"\$WINE\" \"$H_PROBE\" children PreviewArea 2>/dev/null | grep 'class=Orvane_R' | grep -q ' w=300 h=200 '"
"$WINE" "$HELPER" kill-window PreviewArea
ends_ok "$HOST" 20 "the preview ends when the area's program dies"
h_finish
