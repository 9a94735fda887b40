# shellcheck shell=bash
# What the settings dialog scenarios share: a folder with Orvane.scr, its
# settings file, opening the dialog, clicks on its controls found from the
# Windows side, and reading its pixels.
# shellcheck source=../../lib/wine.sh
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh" || exit 1
# shellcheck source=../../lib/dialog.sh
source "$ORVANE_SOURCE_DIR/tests/lib/dialog.sh" || exit 1
TITLE=$DIALOG

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

dir=$(h_workdir "$(basename "$0" .sh)")
[[ -d "$dir" ]] || exit 1
h_install "$dir"
INI=$dir/Orvane.ini
music=$dir/music
mkdir -p "$music"
head -c 4096 /dev/zero > "$music/tune.mp3"
TUNE="Z:${music//\//\\}\\tune.mp3"


# Client area and Pic_C (control id 3100) on the screen, from the Windows side.
DX=0 DY=0 PX=0 PY=0
open_dialog() {
  h_start "$dir/Orvane.scr" /c
  DIALOG_PID=$H_PID
  local xwin
  xwin=$(h_wait_window "$TITLE" 30) || return 1
  h_focused "$xwin"
  read -r DX DY _ _ < <(h_probe client "$TITLE") || return 1
  read -r PX PY _ _ < <(h_control "$TITLE" 3100) || return 1
}

# click CONTROL [BUTTON]: a click on a control of the dialog (caption or id).
click() { dialog_click "$@"; }

# The labels and indicators are painted in Pic_C, not windows of their own:
# points inside Pic_C, from its corner.
declare -A SPOT=(
  [label_none]="45 82" [label_cd]="50 62" [indicator_file]="26 102"
)
click_spot() {  # click_spot SPOT [BUTTON]
  local x y
  read -r x y <<<"${SPOT[$1]}"
  h_click_control "$TITLE" 3100 "${2:-1}" "$x" "$y" && sleep 0.3 # as dialog_click: a settle
}

# The colour "R,G,B" of a client pixel in a fresh screenshot.
pixel() {
  local shot
  shot=$(h_shot "dialog_pixel")
  convert "$shot" -crop "1x1+$((DX + $1))+$((DY + $2))" -depth 8 -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:
}
near() {  # near "R,G,B" R G B TOLERANCE
  local r g b
  IFS=, read -r r g b <<<"$1"
  (( r - $2 <= $5 && $2 - r <= $5 && g - $3 <= $5 && $3 - g <= $5 && b - $4 <= $5 && $4 - b <= $5 ))
}
# An indicator shows "selected" when its middle is blue.
selected() {
  local c r g b
  c=$(pixel $((PX - DX + 26)) $((PY - DY + $1 + 6)))
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
  click 3101  # the repeat box
  h_key End shift+Home
  h_type "$1"
}

save_and_wait() {
  click 設定 || return 1
  h_wait_exit "$DIALOG_PID" 20
}

# Chooses MP3、WAV and then $TUNE through the real file dialog of "...".
choose_tune() {
  click_spot indicator_file
  click ...
  local fxwin
  fxwin=$(h_wait_window 'ﾌｧｲﾙを開く' 20)
  check "'...' opens the file dialog titled ﾌｧｲﾙを開く" test -n "$fxwin"
  h_shot dialog_file_chooser >/dev/null
  h_focus "$fxwin"
  h_type "$TUNE"
  h_key Return
  check "the file dialog closes" h_wait_no_window 'ﾌｧｲﾙを開く' 10
  h_focused "$(h_wait_window "$TITLE" 5)"
}

