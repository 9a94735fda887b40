#!/usr/bin/env bash
# A settings file that cannot be written: the failure is reported with its
# path and the dialog stays open. Root ignores the read-only mode, so for root
# the file is also made immutable; where that cannot be done the case is
# skipped (CTest reports it so), never passed.
# shellcheck source=dialog_scenario.sh
source "$ORVANE_SOURCE_DIR/tests/e2e/dialog/dialog_scenario.sh" || exit 1

write_settings "$INI" 1 3 ""
cp "$INI" "$dir/before.ini"
chmod a-w "$INI"
if [[ $(id -u) -eq 0 ]] && ! chattr +i "$INI" 2>/dev/null; then
  skip "root, and the file system here cannot make a file immutable"
  chmod u+w "$INI"
  h_finish
fi
[[ $(id -u) -eq 0 ]] && LOCKED=$INI
open_dialog
click 設定
mxwin=$(h_wait_window 'Orvane \(ScreenSaver\)' 15)
check "a failed save shows a message" test -n "$mxwin"
h_shot dialog_save_failed >/dev/null
message=$(h_probe children 'Orvane (ScreenSaver)')
check "the message names the settings file" grep -qF 'Orvane.ini' <<<"$message"
h_focus "$mxwin"
h_key Return
h_wait_no_window 'Orvane \(ScreenSaver\)' 10
check "the dialog is still open after the message" h_probe exists "$TITLE"
check "and the program still runs" h_alive "$DIALOG_PID"
h_probe post-close "$TITLE"
h_wait_exit "$DIALOG_PID" 20
[[ -n "$LOCKED" ]] && chattr -i "$INI"
LOCKED=
check "the unwritable file is unchanged" cmp -s "$INI" "$dir/before.ini"
chmod u+w "$INI"

h_finish
