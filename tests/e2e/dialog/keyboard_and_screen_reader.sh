#!/usr/bin/env bash
# The settings dialog of Orvane.scr /c driven from the keyboard (real X keys) and through the
# interface screen readers use (the probe asks it from another process, as a screen reader does).
# shellcheck source=dialog_scenario.sh
source "$ORVANE_SOURCE_DIR/tests/e2e/dialog/dialog_scenario.sh" || exit 1

# acc_line CONTROL [CHILD]: what a screen reader hears from the control (or one of its parts).
acc_line() { h_probe acc "$TITLE" "$1" | grep -a "^child=${2:-0} "; }
heard() {  # heard CONTROL CHILD ROLE NAME ACTION: role, name and default action as expected
  local line
  line=$(acc_line "$1" "$2")
  echo "  $line"
  [[ "$(field role "$line")" == "$3" && "$line" == *" name=$4 value="* &&
    "$(field action "$line")" == "$5" ]]
}
state_of() { field state "$(acc_line "$1" "${2:-0}")"; }
focused() { has_bits "$(state_of "$1")" 0x4; }
checked() { has_bits "$(state_of 3100 "$1")" 0x10; }
only_checked() {  # only_checked PART: that choice checked, the other two not
  local part
  for part in 1 2 3; do
    if [[ $part == "$1" ]]; then checked "$part" || return 1; else ! checked "$part" || return 1; fi
  done
}
mode_is() { [[ $(selected_mode) == "$1" ]]; }
unchanged() { cmp -s "$INI" "$dir/before.ini"; }
ended() { h_wait_exit "$DIALOG_PID" 20 >/dev/null; ! kill -0 "$DIALOG_PID" 2>/dev/null; }

# 1. Tab to 設定 and Space saves, as a click does. From the music panel (the focus at the
#    start) the order is the repeat box, then 設定 ("..." is off for the audio CD).
write_settings "$INI" 1 3 ""
cp "$INI" "$dir/before.ini"
open_dialog
h_key Tab Tab
wait_until 3 "the focus on 設定" focused 設定
check "two Tabs from the music panel reach 設定" focused 設定
h_shot dialog_focus_on_save >/dev/null
h_keydown space
sleep 0.3 # the pressed look: nothing outside Wine shows when it is painted
h_shot dialog_space_down_on_save >/dev/null
check "Space down does not save yet" unchanged
h_keyup space
check "Space up on 設定 saves and ends the program" ended
check "saved mode 1 (read: $(stored "$MODE_KEY"))" test "$(stored "$MODE_KEY")" = 1
check "saved repeat 3 (read: $(stored "$REPEAT_KEY"))" test "$(stored "$REPEAT_KEY")" = 3

# 2. Enter on ｷｬﾝｾﾙ after a change: nothing saved.
write_settings "$INI" 2 0 ""
cp "$INI" "$dir/before.ini"
open_dialog
click_spot label_none
h_key Tab Tab
wait_until 3 "the focus on ｷｬﾝｾﾙ" focused ｷｬﾝｾﾙ
check "Tab, Tab from the panel in mode 0 reach ｷｬﾝｾﾙ" focused ｷｬﾝｾﾙ
h_key Return
check "Enter on ｷｬﾝｾﾙ ends the program" ended
check "Enter on ｷｬﾝｾﾙ leaves Orvane.ini byte for byte" unchanged

# 3. Esc anywhere closes without saving: in the repeat box while typing, and on 設定.
write_settings "$INI" 1 3 ""
cp "$INI" "$dir/before.ini"
open_dialog
replace_repeat_text 9
h_key Escape
check "Esc in the repeat box ends the program" ended
check "Esc leaves Orvane.ini byte for byte" unchanged
open_dialog
h_key Tab Tab
h_key Escape
check "Esc on 設定 ends the program" ended
check "Esc on 設定 leaves Orvane.ini byte for byte" unchanged

# 4. The arrow keys on the music panel move the choice (音楽CD, 無し, MP3、WAV on screen);
#    then Space on "..." opens the file dialog (in mode 2 Tab from the panel goes to "...").
write_settings "$INI" 1 3 ""
open_dialog
h_key Down
wait_until 3 "無し chosen" mode_is 0
check "Down from 音楽CD chooses 無し" test "$(selected_mode)" = 0
h_key Down
wait_until 3 "MP3、WAV chosen" mode_is 2
check "Down again chooses MP3、WAV" test "$(selected_mode)" = 2
check "... and a screen reader hears it checked" only_checked 3
h_key Tab
wait_until 3 "the focus on '...'" focused ...
check "Tab from the panel in mode 2 reaches '...'" focused ...
h_key space
check "Space on '...' opens the file dialog ﾌｧｲﾙを開く" h_probe wait-window 'ﾌｧｲﾙを開く' 20000
h_shot dialog_file_dialog_by_space >/dev/null
fxwin=$(h_wait_window 'ﾌｧｲﾙを開く' 5) && h_focus "$fxwin" && h_key Escape
h_probe wait-gone 'ﾌｧｲﾙを開く' 10000
h_focused "$(h_wait_window "$TITLE" 5)"
h_key Escape
check "after the file dialog, Esc closes the dialog" ended

# 5. What a screen reader hears: push buttons named by their captions with "Press"; the music
#    choices as radio buttons (role 45), the chosen one checked; the panel a group (role 20); the
#    repeat box a combo box named by its painted label.
write_settings "$INI" 2 0 "$TUNE"
cp "$INI" "$dir/before.ini"
open_dialog
for caption in 設定 ｷｬﾝｾﾙ その他の作品 ...; do
  check "'$caption' is a push button named '$caption' whose action is Press" \
    heard "$caption" 0 43 "$caption" Press
done
check "'...' can take the focus in mode 2" has_bits "$(state_of ...)" 0x100000
check "the music panel is the group BGM" heard 3100 0 20 BGM ""
check "the repeat box is the combo box 曲目をﾘﾋﾟｰﾄ (role 46)" heard 3101 0 46 曲目をﾘﾋﾟｰﾄ ""
check "... off in mode 2 (unavailable)" has_bits "$(state_of 3101)" 0x1
check "choice 1 is the radio button 音楽CD" heard 3100 1 45 音楽CD Check
check "choice 2 is the radio button 無し" heard 3100 2 45 無し Check
check "choice 3 is the radio button MP3、WAV" heard 3100 3 45 MP3、WAV Check
check "MP3、WAV is checked, the others not" only_checked 3
h_probe acc-do "$TITLE" 3100 2
wait_until 3 "無し chosen" mode_is 0
check "Check on 無し through the interface chooses it (indicator)" test "$(selected_mode)" = 0
check "... and the interface says so" only_checked 2
check "'...' is off in mode 0 (unavailable)" has_bits "$(state_of ...)" 0x1
h_shot dialog_chosen_by_screen_reader >/dev/null
check "Press on ｷｬﾝｾﾙ through the interface" h_probe acc-do "$TITLE" ｷｬﾝｾﾙ
check "... ends the program" ended
check "... and saves nothing" unchanged
write_settings "$INI" 2 0 "$TUNE"
open_dialog
check "Press on 設定 through the interface" h_probe acc-do "$TITLE" 設定
check "... saves and ends the program" ended
check "... saving mode 2 (read: $(stored "$MODE_KEY"))" test "$(stored "$MODE_KEY")" = 2

h_finish
