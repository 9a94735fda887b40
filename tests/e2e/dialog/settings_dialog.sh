#!/usr/bin/env bash
# The settings dialog of Orvane.scr /c with real clicks and keys: its look, the
# mode choice with either mouse button, saving, cancelling and the real file
# dialog (also under another system code page).
# shellcheck source=dialog_scenario.sh
source "$ORVANE_SOURCE_DIR/tests/e2e/dialog/dialog_scenario.sh" || exit 1

# 1. The look, loaded from a prepared file: audio CD, track 3.
write_settings "$INI" 1 3 ""
open_dialog
check "the dialog opens for /c" test "$DX" -gt 0
shot=$(h_shot dialog_open)
echo "screenshot: $shot"
line=$(h_probe find "$TITLE")
style=$(sed -E 's/.* style=(0x[0-9a-f]+) .*/\1/' <<<"$line")
check "class Orvane_P" grep -q 'class=Orvane_P ' <<<"$line"
check "a close box, no minimise or maximise box, fixed frame" \
  test $(( (style & 0x00080000) != 0 && (style & 0x00070000) == 0 )) = 1
check "the dialog's top row is dark blue" near "$(pixel 240 0)" 0 0 30 6
check "the dialog's middle row is light blue-grey" near "$(pixel 472 126)" 220 220 250 6
check "Pic_C's middle row is near white" near "$(pixel 452 100)" 250 250 250 6
check "Pic_C's top row is dark grey" near "$(pixel 300 16)" 30 30 30 6
check "mode 1 loaded: CD indicator selected, repeat box on, '...' off" state_is 1 1 0

# 2. Mouse-downs on labels and indicators, with either button.
click_spot label_none
check "left click on 無し: mode 0, both off" state_is 0 0 0
click_spot indicator_file 3
check "right click on the MP3、WAV indicator: mode 2, '...' on" state_is 2 0 1
click_spot label_cd 3
check "right click on 音楽CD: mode 1, repeat box on" state_is 1 1 0

# 3. Type 7 into the repeat box and save.
replace_repeat_text 7
save_and_wait
check "設定 closes the dialog and ends the program (exit $?)" bash -c "! kill -0 $DIALOG_PID 2>/dev/null"
check "saved mode 1 (read: $(stored "$MODE_KEY"))" test "$(stored "$MODE_KEY")" = 1
check "saved repeat 7 (read: $(stored "$REPEAT_KEY"))" test "$(stored "$REPEAT_KEY")" = 7
check "the file key is kept, empty" test "$(LC_ALL=C grep -ac "^$FILE_KEY="$'\r'"\?$" "$INI")" = 1
check "no other line in the file" test "$(LC_ALL=C grep -acv '^\[Section\]' "$INI")" = 3

# 4. The exact texts handed to the profile function (Wine's trace shows them
#    before it trims the value): " 1" and " 0" for "abc".
write_settings "$INI" 1 3 ""
trace_log="$H_LOGS/Orvane.scr.$$.${#H_PIDS[@]}.log"
WINEDEBUG=+profile open_dialog
replace_repeat_text abc
save_and_wait
writes=$(grep -a 'WritePrivateProfileString' "$trace_log" | grep -a 'L"Section"')
echo "$writes"
check "three writes" test "$(grep -ac . <<<"$writes")" = 3
check "first the mode, as \" 1\"" grep -qF 'L"BGM\533a\5206", L" 1"' <<<"$(sed -n 1p <<<"$writes")"
check "then the repeat track: 'abc' as \" 0\"" \
  grep -qF 'L"BGM\ff98\ff8b\ff9f\ff70\ff84", L" 0"' <<<"$(sed -n 2p <<<"$writes")"
check "then the file, empty" grep -qF 'L"BGM\ff8c\ff67\ff72\ff99", L""' <<<"$(sed -n 3p <<<"$writes")"
check "saved repeat 0 for 'abc'" test "$(stored "$REPEAT_KEY")" = 0

# 5. Choose a file through the real file dialog, then cancel: the file stays byte for byte.
write_settings "$INI" 2 0 ""
cp "$INI" "$dir/before.ini"
open_dialog
choose_tune
h_shot dialog_file_chosen >/dev/null
click ｷｬﾝｾﾙ
h_wait_exit "$DIALOG_PID" 20
check "ｷｬﾝｾﾙ ends the program" bash -c "! kill -0 $DIALOG_PID 2>/dev/null"
check "ｷｬﾝｾﾙ leaves Orvane.ini byte for byte" cmp -s "$INI" "$dir/before.ini"

# 6. Choose the file and save it.
open_dialog
choose_tune
save_and_wait
check "saved mode 2" test "$(stored "$MODE_KEY")" = 2
check "saved the chosen path as typed" test "$(stored "$FILE_KEY")" = "$TUNE"

# 7. Another system code page: the file dialog still reads in Japanese (the
#    screenshot shows its filter too) and the chosen path is stored as that
#    code page has it.
write_settings "$INI" 2 0 ""
acp=$(LANG=C.UTF-8 LC_ALL=C.UTF-8 h_probe acp)
check "a non-Japanese locale gives another ANSI code page (ACP $acp)" test "$acp" != 932
LANG=C.UTF-8 LC_ALL=C.UTF-8 open_dialog
click_spot indicator_file
click ...
# Wine names the X window in the locale's code page too ("???????"); its
# UTF-8 name and the Windows title stay Japanese.
check "in a non-Japanese locale the file dialog is still titled ﾌｧｲﾙを開く" \
  h_probe wait-window 'ﾌｧｲﾙを開く' 20000
fxwin=
for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
  [[ "$(xdotool getwindowname "$w" 2>/dev/null)" == 'ﾌｧｲﾙを開く' ]] && fxwin=$w && break
done
h_shot dialog_file_chooser_english >/dev/null
if [[ -n "$fxwin" ]]; then
  h_focus "$fxwin"
  h_type "$TUNE"
  h_key Return
  h_probe wait-gone 'ﾌｧｲﾙを開く' 10000
  h_focused "$(h_wait_window "$TITLE" 5)"
fi
save_and_wait
check "the path chosen there is saved" test "$(stored "$FILE_KEY")" = "$TUNE"

# A file whose name that code page cannot hold is refused with a message,
# and nothing garbled is stored. (Chosen from the list: no typing needed.)
song=$dir/music_cp/曲.mp3
mkdir -p "$dir/music_cp"
head -c 4096 /dev/zero > "$song"
write_settings "$INI" 2 0 ""
LANG=C.UTF-8 LC_ALL=C.UTF-8 open_dialog
click_spot indicator_file
click ...
h_probe wait-window 'ﾌｧｲﾙを開く' 20000
fxwin=
for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
  [[ "$(xdotool getwindowname "$w" 2>/dev/null)" == 'ﾌｧｲﾙを開く' ]] && fxwin=$w && break
done
if [[ -n "$fxwin" ]]; then
  h_focus "$fxwin"
  h_type "Z:${dir//\//\\}\\music_cp"
  h_key Return
  sleep 1 # the file dialog lists the folder: nothing outside Wine shows when
  # A double click on the folder's only file, the first in the list.
  open_first_file 'ﾌｧｲﾙを開く'
fi
mxwin=$(h_wait_window 'Orvane \(ScreenSaver\)' 15)
check "a name the code page cannot hold is refused with a message" test -n "$mxwin"
h_shot dialog_file_refused >/dev/null
check "the message says why" grep -qF 'ﾌｧｲﾙ名 に' <<<"$(h_probe children 'Orvane (ScreenSaver)')"
[[ -n "$mxwin" ]] && h_focus "$mxwin" && h_key Return
h_probe wait-gone 'Orvane (ScreenSaver)' 10000
h_focused "$(h_wait_window "$TITLE" 5)"
save_and_wait
check "after the refusal no path is stored" test -z "$(stored "$FILE_KEY")"

h_finish
