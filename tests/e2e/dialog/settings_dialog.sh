#!/usr/bin/env bash
# The settings dialog of Orvane.scr /c with real clicks and keys: its look, the
# mode choice with either mouse button, saving, cancelling, the real file
# dialog (also under another system code page) and a settings file that
# cannot be written.
source "$ORVANE_SOURCE_DIR/scripts/harness.sh" || exit 1
TITLE='<Orvane>'
MODE_KEY=$'BGM\x8b\xe6\x95\xaa'
REPEAT_KEY=$'BGM\xd8\xcb\xdf\xb0\xc4'
FILE_KEY=$'BGM\xcc\xa7\xb2\xd9'

# Without a window manager Wine draws captions and frames only when told to;
# the screenshots should show the dialog's title bar. Put back at exit.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
LOCKED=
_dialog_cleanup() {
  [[ -n "$LOCKED" ]] && chattr -i "$LOCKED" 2>/dev/null
  "$WINE" reg delete 'HKCU\Software\Wine\X11 Driver' /v Decorated /f >/dev/null 2>&1
  _h_cleanup
}
trap _dialog_cleanup EXIT

dir=$(h_workdir settings_dialog)
[[ -d "$dir" ]] || exit 1
h_install "$dir"
INI=$dir/Orvane.ini
music=$dir/music
mkdir -p "$music"
head -c 4096 /dev/zero > "$music/tune.mp3"
TUNE="Z:${music//\//\\}\\tune.mp3"

# settings_file MODE REPEAT FILE: an Orvane.ini as the dialog writes it on Windows.
settings_file() {
  printf '[Section]\r\n%s= %s\r\n%s= %s\r\n%s=%s\r\n' "$MODE_KEY" "$1" "$REPEAT_KEY" "$2" "$FILE_KEY" "$3"
}

# The value stored under KEY (Wine's profile functions drop a leading blank
# that Windows keeps, so both spellings are read the same here).
stored() { LC_ALL=C grep -a "^$1=" "$INI" | head -n1 | LC_ALL=C sed -E "s/^[^=]*= ?//; s/\r$//"; }

DX=0 DY=0
open_dialog() {
  h_start "$dir/Orvane.scr" /c
  DIALOG_PID=$H_PID
  local xwin
  xwin=$(h_wait_window "$TITLE" 30) || return 1
  h_focus "$xwin"
  # Client origin on the screen from the frame: equal borders left, right and below.
  local line x y w h border
  line=$(h_probe find "$TITLE")
  read -r x y w h < <(sed -E 's/.* x=(-?[0-9]+) y=(-?[0-9]+) w=([0-9]+) h=([0-9]+) .*/\1 \2 \3 \4/' <<<"$line")
  border=$(((w - 479) / 2))
  DX=$((x + border)) DY=$((y + h - 252 - border))
  sleep 0.5
}

# press BUTTON X Y: a click at a point of the client area; pressP the same in Pic_C.
press() { h_mouse_to $((DX + $2)) $((DY + $3)); h_click "$1"; sleep 0.3; }
pressP() { press "$1" $((12 + $2)) $((16 + $3)); }

# The colour "R,G,B" of a client pixel in a fresh screenshot.
pixel() {
  local shot
  shot=$(h_shot "dialog_pixel")
  convert "$shot" -crop "1x1+$((DX + $1))+$((DY + $2))" -depth 8 -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:
}
near() {  # near "R,G,B" R G B TOLERANCE
  local r g b
  IFS=, read -r r g b <<<"$1"
  (( ${r} - $2 <= $5 && $2 - ${r} <= $5 && ${g} - $3 <= $5 && $3 - ${g} <= $5 && ${b} - $4 <= $5 && $4 - ${b} <= $5 ))
}
# An indicator shows "selected" when its middle is blue.
selected() {
  local c r g b
  c=$(pixel 38 $((16 + $1 + 6)))
  IFS=, read -r r g b <<<"$c"
  (( b > r + 60 ))
}
INDICATOR_Y=(76 56 96)  # top of Img_BGM(0..2) in Pic_C
selected_mode() {
  local m found=-1
  for m in 0 1 2; do selected "${INDICATOR_Y[$m]}" && found=$m; done
  echo "$found"
}

enabled() {  # enabled PATTERN: the child window matching PATTERN has no WS_DISABLED
  local style
  style=$(h_probe children "$TITLE" | grep -F "$1" | head -n1 | sed -E 's/.* style=(0x[0-9a-f]+) .*/\1/')
  [[ -n "$style" ]] && (( (style & 0x08000000) == 0 ))
}
state_is() {  # state_is MODE REPEAT_ENABLED BROWSE_ENABLED
  local ok=0
  [[ "$(selected_mode)" == "$1" ]] || ok=1
  if [[ $2 == 1 ]]; then enabled class=ComboBox || ok=1; else ! enabled class=ComboBox || ok=1; fi
  if [[ $3 == 1 ]]; then enabled 'title=... ' || ok=1; else ! enabled 'title=... ' || ok=1; fi
  return $ok
}

# Types TEXT over the whole text of the repeat box.
replace_repeat_text() {
  pressP 1 104 62
  h_key End shift+Home
  h_type "$1"
}

save_and_wait() {
  press 1 356 212  # 設定
  h_wait_exit "$DIALOG_PID" 20
}

# Chooses MP3、WAV and then $TUNE through the real file dialog of "...".
choose_tune() {
  pressP 1 26 102  # MP3、WAV
  pressP 1 50 126  # "..."
  local fxwin
  fxwin=$(h_wait_window 'ﾌｧｲﾙを開く' 20)
  check "'...' opens the file dialog titled ﾌｧｲﾙを開く" test -n "$fxwin"
  h_shot dialog_file_chooser >/dev/null
  h_focus "$fxwin"
  h_type "$TUNE"
  h_key Return
  check "the file dialog closes" h_wait_no_window 'ﾌｧｲﾙを開く' 10
  h_focus "$(h_wait_window "$TITLE" 5)"
  sleep 0.5
}

# 1. The look, loaded from a prepared file: audio CD, track 3.
settings_file 1 3 "" > "$INI"
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
pressP 1 45 82   # label 無し
check "left click on 無し: mode 0, both off" state_is 0 0 0
pressP 3 26 102  # indicator of MP3、WAV, right button
check "right click on the MP3、WAV indicator: mode 2, '...' on" state_is 2 0 1
pressP 3 50 62   # label 音楽CD, right button
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
settings_file 1 3 "" > "$INI"
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
settings_file 2 0 "" > "$INI"
cp "$INI" "$dir/before.ini"
open_dialog
choose_tune
h_shot dialog_file_chosen >/dev/null
press 1 430 212  # ｷｬﾝｾﾙ
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
settings_file 2 0 "" > "$INI"
acp=$(LANG=C.UTF-8 LC_ALL=C.UTF-8 h_probe acp)
check "a non-Japanese locale gives another ANSI code page (ACP $acp)" test "$acp" != 932
LANG=C.UTF-8 LC_ALL=C.UTF-8 open_dialog
pressP 1 26 102  # MP3、WAV
pressP 1 50 126  # "..."
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
  h_focus "$(h_wait_window "$TITLE" 5)"
  sleep 0.5
fi
save_and_wait
check "the path chosen there is saved" test "$(stored "$FILE_KEY")" = "$TUNE"

# A file whose name that code page cannot hold is refused with a message,
# and nothing garbled is stored. (Chosen from the list: no typing needed.)
song=$dir/music_cp/曲.mp3
mkdir -p "$dir/music_cp"
head -c 4096 /dev/zero > "$song"
settings_file 2 0 "" > "$INI"
LANG=C.UTF-8 LC_ALL=C.UTF-8 open_dialog
pressP 1 26 102  # MP3、WAV
pressP 1 50 126  # "..."
h_probe wait-window 'ﾌｧｲﾙを開く' 20000
fxwin=
for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
  [[ "$(xdotool getwindowname "$w" 2>/dev/null)" == 'ﾌｧｲﾙを開く' ]] && fxwin=$w && break
done
if [[ -n "$fxwin" ]]; then
  h_focus "$fxwin"
  h_type "Z:${dir//\//\\}\\music_cp"
  h_key Return
  sleep 1
  # A double click on the folder's only file, the first in the list.
  eval "$(xdotool getwindowgeometry --shell "$fxwin")"
  h_mouse_to $((X + 53)) $((Y + 60))
  xdotool click --repeat 2 --delay 80 1
fi
mxwin=$(h_wait_window 'Orvane \(ScreenSaver\)' 15)
check "a name the code page cannot hold is refused with a message" test -n "$mxwin"
h_shot dialog_file_refused >/dev/null
check "the message says why" grep -qF 'ﾌｧｲﾙ名 に' <<<"$(h_probe children 'Orvane (ScreenSaver)')"
[[ -n "$mxwin" ]] && h_focus "$mxwin" && h_key Return
h_probe wait-gone 'Orvane (ScreenSaver)' 10000
h_focus "$(h_wait_window "$TITLE" 5)"
sleep 0.5
save_and_wait
check "after the refusal no path is stored" test -z "$(stored "$FILE_KEY")"

# 8. A settings file that cannot be written: the failure is reported with its
#    path and the dialog stays open. (The read-only attribute alone does not
#    stop root, so the file is also made immutable.)
settings_file 1 3 "" > "$INI"
cp "$INI" "$dir/before.ini"
chmod a-w "$INI"
if chattr +i "$INI" 2>/dev/null; then
  LOCKED=$INI
  open_dialog
  press 1 356 212  # 設定
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
  chattr -i "$INI"
  LOCKED=
  check "the unwritable file is unchanged" cmp -s "$INI" "$dir/before.ini"
else
  echo "skip - cannot make a file unwritable for this user here"
fi
chmod u+w "$INI"

h_finish
