#!/usr/bin/env bash
# A system whose ANSI code page is UTF-8 (65001), as Windows sets it when the
# user ticks "Use Unicode UTF-8 for worldwide language support"; under Wine
# the locale decides it. A music file named in no legacy code page is chosen
# through the real file dialog, stored as UTF-8 and played by the show.
# shellcheck disable=SC1091
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh" || exit 1
source "$ORVANE_SOURCE_DIR/tests/lib/dialog.sh" || exit 1
export LANG=hi_IN.UTF-8 LC_ALL=hi_IN.UTF-8
FILE_DIALOG='ﾌｧｲﾙを開く'

acp=$(h_probe acp)
check "the locale $LANG gives the ANSI code page 65001 (ACP $acp)" test "$acp" = 65001
if [[ "$acp" != 65001 ]]; then
  echo "no UTF-8 code page here: is the $LANG locale made (scripts/bootstrap)?"
  h_finish
fi

dir=$(h_workdir utf8_code_page)
[[ -d "$dir" ]] || exit 1
h_install "$dir"
INI=$dir/Orvane.ini
# Devanagari and a note sign: neither code page 932 nor 1252 holds them.
NAME='गीत ♪.mp3'
mkdir -p "$dir/music"
make_tone_mp3 "$dir/music/$NAME" 30
FOLDER_WIN="Z:${dir//\//\\}\\music"
TUNE_WIN="$FOLDER_WIN\\$NAME"

# 1. Choose the file from the list of its folder (no typing of its name) and save.
h_start "$dir/Orvane.scr" /c
DIALOG_PID=$H_PID
check "the dialog opens" dialog_wait
dialog_choose_file
dialog_click ...
fxwin=$(h_wait_window "$FILE_DIALOG" 20)
check "'...' opens the file dialog" test -n "$fxwin"
if [[ -n "$fxwin" ]]; then
  h_focus "$fxwin"
  h_type "$FOLDER_WIN"
  h_key Return
  sleep 1 # the file dialog lists the folder: nothing outside Wine shows when
  h_shot utf8_file_dialog >/dev/null
  # A double click on the folder's only file, the first in the list.
  open_first_file "$FILE_DIALOG"
fi
check "the file is taken: the file dialog closes" h_wait_no_window "$FILE_DIALOG" 10
check "and no refusal" bash -c "! \"\$WINE\" \"$H_PROBE\" exists 'Orvane (ScreenSaver)' 2>/dev/null"
h_focused "$(h_wait_window "$DIALOG" 5)"
h_shot utf8_dialog_chosen >/dev/null
dialog_click 設定
h_wait_exit "$DIALOG_PID" 20
rc=$?
check "設定 saves and ends the program (exit $rc)" test $rc = 0
echo "# Orvane.ini:"
od -c "$INI" | sed 's/^/# /'
# Everything goes through the ANSI profile functions, so under this code page
# the file is UTF-8 text: the path is its UTF-8 bytes (the code page 932 keys
# come out as UTF-8 too, with U+FFFD where UTF-8 has no reading of a byte).
check "the path is stored as its UTF-8 bytes" \
  test "$(LC_ALL=C grep -acF -- "=$TUNE_WIN"$'\r' "$INI")" = 1
check "with mode 2" test "$(LC_ALL=C grep -ac "= \?2"$'\r'"\?\$" "$INI")" = 1

# 2. The show plays it.
h_start "$dir/Orvane.scr" /s
HOST=$H_PID
xwin=$(h_wait_window OrvaneVC 60)
check "the show's engine window opens" test -n "$xwin"
level=$(h_heard utf8_show 10)
check "the chosen file is heard (RMS $level)" awk -v a="$level" 'BEGIN { exit !(a + 0 > 0.05) }'
h_focus "$xwin"
h_key space
h_wait_exit "$HOST" 30
rc=$?
check "a key press ends the show (exit $rc)" test $rc = 0

h_finish
