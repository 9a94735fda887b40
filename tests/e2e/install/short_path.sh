#!/usr/bin/env bash
# shellcheck disable=SC1091,SC2153 # WORK, DESKTOP and their like come from lib.sh
# The saver as Windows starts it, in a Wine prefix made fresh for this run:
# setup into a folder whose names have blanks and do not fit 8.3 selects the
# saver by its short form; the show started by exactly that value (and by
# other spellings of the path), the preview and the dialog started by the
# short path share one Orvane.ini with the dialog opened from the Start menu
# by the long path; reinstall and removal know Orvane's saver in any spelling
# and put back the earlier one exactly as it was stored.
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh" || exit 1
source "$ORVANE_SOURCE_DIR/tests/lib/install.sh" || exit 1
install_prefix install_short
HELPER=$H_BUILD_DIR/testbin/host_helper.exe
QUIET=0.005

INSTDIR_WIN='C:\My Screen Savers\Orvane Folder'
INSTDIR=$(winpath_unix "$INSTDIR_WIN")
SCR_WIN="$INSTDIR_WIN\\Orvane.scr"
INI=$INSTDIR/Orvane.ini
APPDATA_WIN=$("$WINE" cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')
SHORTCUT_WIN="$APPDATA_WIN\\Microsoft\\Windows\\Start Menu\\Programs\\Orvane Settings.lnk"
# The music lies on a long path of its own, with blanks.
TUNE_WIN='C:\My Music Collection\A Long Tone Name.mp3'
TUNE=$(winpath_unix "$TUNE_WIN")
mkdir -p "$(dirname "$TUNE")"
make_tone_mp3 "$TUNE" 30

# Setup, silent, into the folder: /D= must come last and unquoted, so the
# command line is written out here rather than made from arguments.
SETUP_WIN="Z:${SETUP//\//\\}"
setup_into() {
  h_start "$HELPER" run "\"$SETUP_WIN\" /S /D=$INSTDIR_WIN"
  h_wait_exit "$H_PID" 60
}

# "TYPE DATA" of the selected screen saver as the registry holds it.
saver_stored() {
  "$WINE" reg query "$DESKTOP" /v SCRNSAVE.EXE 2>/dev/null |
    sed -nE 's/\r$//; s/^ {4}SCRNSAVE\.EXE {4}(REG_[A-Z_]+) {4}(.*)$/\1 \2/p'
}
select_saver() { "$WINE" reg add "$DESKTOP" /v SCRNSAVE.EXE /t "$1" /d "$2" /f >/dev/null 2>&1; }
# level_of NAME SECS: the RMS level of SECS seconds of sound (kept as NAME.wav);
# heard / silent NAME SECS TEXT check it.
# heard NAME SECS TEXT: sound within SECS; silent NAME SECS TEXT: SECS of silence.
heard() { local level; level=$(h_heard "$1" "$2"); check "$3 (RMS $level)" more_than "$level" "$H_LOUD"; }
silent() { local level; level=$(h_level_of "$1" "$2"); check "$3 (RMS $level)" more_than $QUIET "$level"; }
ends_ok() { h_wait_exit "$1" "$2"; local rc=$?; check "$3 (exit $rc)" test "$rc" -eq 0; }

# The earlier saver, stored with %variables% as REG_EXPAND_SZ and in a case of
# its own: it must come back exactly so.
OTHER_STORED='%SystemRoot%\System32\SSOther.SCR'
touch "$(winpath_unix 'C:\windows\system32\ssother.scr')"
select_saver REG_EXPAND_SZ "$OTHER_STORED"
"$WINE" reg add "$DESKTOP" /v ScreenSaveActive /d 0 /f >/dev/null 2>&1

# 1. Silent install into the folder: the saver is selected by the short form.
setup_into
rc=$?
check "silent setup into $INSTDIR_WIN ends with exit code 0 (got $rc)" test $rc = 0
check "Orvane.scr is there" test -f "$INSTDIR/Orvane.scr"
SHORT=$(short_path "$SCR_WIN")
echo "short form: $SHORT"
check "Wine reports a short form that differs from the long path ($SHORT)" \
  test -n "$SHORT" -a "$SHORT" != "$SCR_WIN"
check "SCRNSAVE.EXE is the short form, unquoted ($(saver_stored))" test "$(saver_stored)" = "REG_SZ $SHORT"
entry=$(reg_values "$UNINSTALL")
check "the earlier saver is remembered as it was stored" value_is "$entry" PreviousScreenSaver "$OTHER_STORED"
check "and its type (REG_EXPAND_SZ)" value_is "$entry" PreviousScreenSaverType 0x2

# save_tune WHAT COMMAND..: COMMAND opens the dialog by the long path; the
# MP3 on its long path is chosen through the file dialog and saved into the
# install folder.
save_tune() {
  local what=$1
  shift
  h_start "$@"
  check "[$what] the dialog opens by the long path" dialog_wait
  dialog_choose_file
  dialog_click ...
  local fxwin
  fxwin=$(h_wait_window 'ﾌｧｲﾙを開く' 20)
  check "[$what] '...' opens the file dialog" test -n "$fxwin"
  h_focus "$fxwin"
  h_type "$TUNE_WIN"
  h_key Return
  check "[$what] the file dialog closes" h_wait_no_window 'ﾌｧｲﾙを開く' 10
  h_focused "$(h_wait_window "$DIALOG" 5)"
  dialog_click 設定
  check "[$what] 設定 closes the dialog" h_wait_no_window "$DIALOG" 20
  check "[$what] mode 2 saved in the install folder (read: $(stored "$MODE_KEY"))" test "$(stored "$MODE_KEY")" = 2
  check "[$what] the long path of the MP3 saved (read: $(stored "$FILE_KEY"))" test "$(stored "$FILE_KEY")" = "$TUNE_WIN"
}

# 2. The settings saved from the Start menu.
save_tune "Start menu" start "$SHORTCUT_WIN"
cp "$INI" "$WORK/saved.ini"

# show_by COMMAND_LINE WHAT: the show started as Windows starts it; the
# engine's window opens and the music is heard; a key ends it with exit code 0.
SHOW=
start_show() {
  h_start "$HELPER" run "$1"
  SHOW=$H_PID
  XWIN=$(h_wait_window OrvaneVC 60)
  check "[$2] the engine's window opens" test -n "$XWIN"
}
end_show() {
  h_focus "$XWIN"
  h_key space
  ends_ok "$SHOW" 30 "[$1] a key press ends the show"
  h_wait_no_window OrvaneVC 10
}

# 3. Exactly the value of SCRNSAVE.EXE plus " /s": the music from the long
#    stored path, the veils; a second start by the long path ends at once.
start_show "$SHORT /s" "SCRNSAVE.EXE /s"
heard short_show 10 "[SCRNSAVE.EXE /s] the saved MP3 is heard"
h_wait_drawn short_show 0.2
shot=$(h_shot short_show)
lit=$(share_not_black "$shot")
check "[SCRNSAVE.EXE /s] the veils are drawn (lit share $lit)" more_than "$lit" 0.2
h_start "$HELPER" run "\"$SCR_WIN\" /s"
ends_ok "$H_PID" 20 "a second show, by the long path, ends at once"
check "and the first goes on" h_alive "$SHOW"
end_show "SCRNSAVE.EXE /s"
silent short_show_after 2 "silence after the show"

# 4. The engine watch by the short path: the engine killed ends the show.
start_show "$SHORT /s" "engine killed"
"$WINE" "$HELPER" kill-window OrvaneVC
ends_ok "$SHOW" 30 "[engine killed] the show ends with its engine"
silent short_show_killed 2 "[engine killed] and its music"

# 5. Other spellings Windows may have stored: the same settings, the same show.
lower_long="C:\\my screen savers\\orvane folder\\orvane.scr"
for line in "${SHORT^^} /S" "\"${SCR_WIN^^}\" /s" "\"$lower_long\" /s"; do
  start_show "$line" "$line"
  heard short_spelling 10 "[$line] the saved MP3 is heard"
  end_show "$line"
done

# The .scr opened as a double click opens it, through the file type the test
# prefix carries as Windows does ("%1" /S): the show, with the saved music.
h_start start "$SCR_WIN"
XWIN=$(h_wait_window OrvaneVC 60)
check "[.scr file type] the engine's window opens" test -n "$XWIN"
heard by_file_type 10 "[.scr file type] the saved MP3 is heard"
h_focus "$XWIN"
h_key space
check "[.scr file type] a key press ends the show" h_probe wait-gone Orvane_Main 30000

# 6. The dialog by the short path reads the same file; cancelled, it leaves it.
h_start "$HELPER" run "$SHORT /c"
DIALOG_RUN=$H_PID
dialog_wait
h_shot short_dialog >/dev/null
# Mode 2 is loaded only with a music file that opens: "..." is then enabled.
browse=$(h_probe children "$DIALOG" | grep -F 'title=... ' | sed -E 's/.* style=(0x[0-9a-f]+) .*/\1/')
check "the dialog by the short path loads mode 2 with the MP3 (style ${browse:-none})" \
  test -n "$browse" -a $(((browse & 0x08000000) == 0)) = 1
dialog_click ｷｬﾝｾﾙ
ends_ok "$DIALOG_RUN" 20 "ｷｬﾝｾﾙ ends it"
check "Orvane.ini byte for byte as saved" cmp -s "$INI" "$WORK/saved.ini"

# 7. The preview by the short path draws into the area it is given.
h_start "$HELPER" window PreviewArea 152 112
AREA=$H_PID
h_probe wait-window PreviewArea 20000
HWND=$(h_probe find PreviewArea | sed -E 's/.*hwnd=(0x[0-9a-f]+).*/\1/')
h_start "$HELPER" run "$SHORT /p $((HWND))"
PREVIEW=$H_PID
PREVIEW_LINE=
_preview_placed() {
  PREVIEW_LINE=$(h_probe children PreviewArea | grep -F 'class=Orvane_R ')
  grep -q 'visible=1' <<<"$PREVIEW_LINE" && grep -q ' x=100 y=100 w=152 h=112 ' <<<"$PREVIEW_LINE"
}
preview_up() {
  wait_until 20 "the preview in its area" _preview_placed && return 0
  echo "# preview: ${PREVIEW_LINE:-none}"
  return 1
}
check "[/p] the preview covers the area" preview_up
sleep 1 # it must keep running a while
check "[/p] and keeps drawing" h_alive "$PREVIEW"
h_probe post PreviewArea 0x0401
ends_ok "$PREVIEW" 20 "[/p] the preview ends with its area"
h_wait_exit "$AREA" 10

# 8. Reinstalls while SCRNSAVE.EXE holds Orvane in several spellings: each is
#    known as Orvane's, so the earlier saver stays remembered; Orvane.ini stays.
for spelling in "$SHORT" "\"${SHORT,,}\"" "${SCR_WIN^^}"; do
  select_saver REG_SZ "$spelling"
  setup_into
  rc=$?
  entry=$(reg_values "$UNINSTALL")
  check "[$spelling] reinstall ends with exit code 0 (got $rc)" test $rc = 0
  check "[$spelling] known as Orvane: the earlier saver stays remembered" \
    value_is "$entry" PreviousScreenSaver "$OTHER_STORED"
  check "[$spelling] selected by the short form again" test "$(saver_stored)" = "REG_SZ $SHORT"
  check "[$spelling] Orvane.ini kept byte for byte" cmp -s "$INI" "$WORK/saved.ini"
done

# 9. Removal while the short form is selected: the earlier saver is back,
#    text and type, and so is its on/off state; Orvane.ini stays.
check "removed" uninstall
check "the earlier saver back exactly ($(saver_stored))" test "$(saver_stored)" = "REG_EXPAND_SZ $OTHER_STORED"
check "its on/off state back" value_is "$(reg_values "$DESKTOP")" ScreenSaveActive 0
check "Orvane.ini kept for a later install" cmp -s "$INI" "$WORK/saved.ini"

# 10. Installed again: the settings are found by the show at once.
setup_into
check "installed again over the kept Orvane.ini" cmp -s "$INI" "$WORK/saved.ini"
start_show "$(value_of "$(reg_values "$DESKTOP")" SCRNSAVE.EXE) /s" "after reinstall"
heard short_show_reinstalled 10 "[after reinstall] the saved MP3 is heard"
end_show "after reinstall"

# 11. A selected saver that no longer exists: remembered as it is; on removal
#     the missing file means no saver comes back.
check "removed again" uninstall
GONE='C:\windows\system32\gone.scr'
select_saver REG_SZ "$GONE"
setup_into
check "a missing earlier saver is remembered as it is" \
  value_is "$(reg_values "$UNINSTALL")" PreviousScreenSaver "$GONE"
check "removed once more" uninstall
check "a saver whose file is gone is not put back" test -z "$(saver_stored)"

# 12. A folder named outside the code page (932 here has no e-acute): the
#     dialog from the Start menu and the show by SCRNSAVE.EXE still find
#     Orvane.dll and share one Orvane.ini.
INSTDIR_WIN='C:\Savers Café\Orvane'
INSTDIR=$(winpath_unix "$INSTDIR_WIN")
INI=$INSTDIR/Orvane.ini
setup_into
rc=$?
check "[café] setup ends with exit code 0 (got $rc)" test $rc = 0
# (Wine's start finds no target through this shortcut, whose ANSI part says
# "Cafe": so the long path is started as the entry would start it.)
save_tune "café" "$HELPER" run "\"$INSTDIR_WIN\\Orvane.scr\" /c"
start_show "$(value_of "$(reg_values "$DESKTOP")" SCRNSAVE.EXE) /s" "café"
heard cafe_show 10 "[café] the saved MP3 is heard"
end_show "café"
check "[café] removed" uninstall

h_finish
