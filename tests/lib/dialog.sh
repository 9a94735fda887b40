# shellcheck shell=bash disable=SC2034 # the names are for the scenarios that source it
# The settings dialog for scenarios that drive it: source it after
# wine.sh. Its controls are found from the Windows side by id or
# caption; the music choices are painted in Pic_C (control 3100), not windows.
#
#   DIALOG                     its title (the INI keys are wine.sh's)
#   dialog_wait                waits for the dialog and gives it the focus (fails without one)
#   dialog_click CONTROL [BUTTON]            a click on a control (caption or id)
#   dialog_choose_file [BUTTON]              a click on the MP3、WAV choice
#   stored KEY                 a value of $INI as the dialog wrote it (Wine's profile functions
#                              drop the leading blank that Windows keeps; both read alike)
#   rect_of LINE               "x y w h" of a window line of the probe
#   open_first_file TITLE      a double click on the first file in the list of the file dialog
#                              titled TITLE, its list found from the Windows side

DIALOG='<Orvane>'

dialog_wait() {
  local xwin
  xwin=$(h_wait_window "$DIALOG" 30) || return 1
  h_focused "$xwin"
}
# Nothing outside Wine shows when the dialog has handled a click: a short settle.
dialog_click() { h_click_control "$DIALOG" "$1" "${2:-1}" && sleep 0.3; }
dialog_choose_file() { h_click_control "$DIALOG" 3100 "${1:-1}" 26 102 && sleep 0.3; }
stored() { LC_ALL=C grep -a "^$1=" "$INI" | head -n1 | LC_ALL=C sed -E "s/^[^=]*= ?//; s/\r$//"; }
rect_of() { sed -E 's/.* x=(-?[0-9]+) y=(-?[0-9]+) w=([0-9]+) h=([0-9]+) .*/\1 \2 \3 \4/' <<<"$1"; }
open_first_file() {
  local list x y
  list=$(h_probe children "$1" | grep -F 'class=SysListView32' | head -n1)
  if [[ -z "$list" ]]; then
    echo "control not found: the file list of '$1'" >&2
    return 1
  fi
  read -r x y _ _ < <(rect_of "$list")
  h_mouse_to $((x + 40)) $((y + 10)) || return 1
  xdotool click --repeat 2 --delay 80 1
}
