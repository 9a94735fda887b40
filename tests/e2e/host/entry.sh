#!/usr/bin/env bash
# Entry of Orvane.scr: the missing-engine message, the preview without the
# engine, a role letter it does not know, and the single-instance rule.
# shellcheck source=../../lib/wine.sh
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh"
# Waits up to SECS for PID to end, and checks that it ended with exit code 0.
ends_ok() { h_wait_exit "$1" "$2"; local rc=$?; check "$3 (exit $rc)" test "$rc" -eq 0; }
HELPER=$H_BUILD_DIR/testbin/host_helper.exe
CAPTION="Orvane (ScreenSaver)"

# Clicks the centre of the child window of TITLE whose probe line matches PATTERN.
click_child() {
  local line x y w h
  line=$(h_probe children "$1" | grep -F "$2" | head -n1)
  [[ -n "$line" ]] || return 1
  x=$(sed -E 's/.* x=(-?[0-9]+) .*/\1/' <<<"$line"); y=$(sed -E 's/.* y=(-?[0-9]+) .*/\1/' <<<"$line")
  w=$(sed -E 's/.* w=([0-9]+) .*/\1/' <<<"$line"); h=$(sed -E 's/.* h=([0-9]+) .*/\1/' <<<"$line")
  h_mouse_to $((x + w / 2)) $((y + h / 2))
  h_click 1
}

# True once a child of TITLE matches PATTERN (within about 10 s).
_has_child() { h_probe children "$1" | grep -qF "$2"; }
wait_child() { wait_until 10 "a child of '$1' like '$2'" _has_child "$1" "$2"; }
MESSAGE="Orvane.dll が Orvane.scr と同じﾌｫﾙﾀﾞに見つかりません！"

lonely=$(h_workdir host_entry_no_engine)
cp "$H_BIN_DIR/Orvane.scr" "$lonely/"
full=$(h_workdir host_entry_full)
h_install "$full"

# Without the engine, the show and the settings both end with the message.
for role in /s /c; do
  # shellcheck disable=SC2086 # no role is no argument
  h_start "$lonely/Orvane.scr" $role
  host=$H_PID
  xwin=$(h_wait_window 'Orvane \(ScreenSaver\)' 30)
  check "$role without the engine shows the message box" test -n "$xwin"
  h_shot "host_missing_engine_${role#/}" >/dev/null
  children=$(h_probe children "$CAPTION")
  check "$role: the message reads as it should" grep -qF "title=$MESSAGE " <<<"$children"
  check "$role: an OK button and nothing else to press" \
    test "$(grep -c 'class=Button' <<<"$children")" -eq 1 -a "$(grep -c 'title=OK ' <<<"$children")" -eq 1
  check "$role: the host waits for the user" h_alive "$host"
  click_child "$CAPTION" "title=OK "
  h_wait_exit "$host" 10
  check "$role: the host ends after OK (exit $?)" bash -c "! kill -0 $host 2>/dev/null"
done

# The preview needs no engine and shows no message.
h_start "$HELPER" window PreviewArea 152 112
area=$H_PID
check "the test's preview area is up" h_probe wait-window PreviewArea 10000
hwnd=$(h_probe find PreviewArea | sed -E 's/.*hwnd=(0x[0-9a-f]+).*/\1/')
h_start "$lonely/Orvane.scr" /p $((hwnd))
preview=$H_PID
check "the preview window appears inside the area" wait_child PreviewArea "class=Orvane_R"
check "no message box for the preview" bash -c "! xdotool search --name '^Orvane \\(ScreenSaver\\)\$' >/dev/null 2>&1"
check "the preview keeps running" h_alive "$preview"
h_probe post-close PreviewArea
h_wait_exit "$preview" 10
check "the preview ends with its area" bash -c "! kill -0 $preview 2>/dev/null"
h_wait_exit "$area" 5

# A preview for a handle that is no window ends at once.
for arg in "/p 0" "/p 1234" "/p"; do
  # shellcheck disable=SC2086 # the role and its handle are words of their own
  h_start "$lonely/Orvane.scr" $arg
  ends_ok "$H_PID" 10 "'$arg' ends at once"
done

# A role letter it does not know ends at once, with no window.
h_start "$full/Orvane.scr" /x
ends_ok "$H_PID" 10 "/x ends at once"
check "/x left no window" bash -c "! xdotool search --name 'Orvane' >/dev/null 2>&1"

# Any start while a show runs ends at once, even without the engine.
h_start "$HELPER" window Orvane_Main 10 10
blocker=$H_PID
check "a window titled Orvane_Main is up" h_probe wait-window Orvane_Main 10000
for role in /s /c "/p $((hwnd))" ""; do
  # shellcheck disable=SC2086 # no role is no argument
  h_start "$lonely/Orvane.scr" $role
  ends_ok "$H_PID" 10 "'$role' during a show ends at once"
done
check "and showed no message" bash -c "! xdotool search --name '^Orvane \\(ScreenSaver\\)\$' >/dev/null 2>&1"
h_probe post-close Orvane_Main
h_wait_exit "$blocker" 5
h_finish
