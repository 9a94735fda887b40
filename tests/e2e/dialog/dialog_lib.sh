# shellcheck shell=bash
# The settings dialog for scenarios that open it: source it after
# scripts/harness.sh.
#
#   dialog_origin      waits for the dialog, gives it the focus and sets DX DY,
#                      its client origin on the screen
#   press BUTTON X Y   a click at a point of its client area
#   stored KEY         a value of $INI as the dialog wrote it (Wine's profile
#                      functions drop the leading blank that Windows keeps)

DIALOG='<Orvane>'
DX=0 DY=0
# rect_of LINE: "x y w h" of a window line of the probe.
rect_of() { sed -E 's/.* x=(-?[0-9]+) y=(-?[0-9]+) w=([0-9]+) h=([0-9]+) .*/\1 \2 \3 \4/' <<<"$1"; }
# The client origin from the frame: equal borders left, right and below.
dialog_origin() {
  local xwin line x y w h border
  xwin=$(h_wait_window "$DIALOG" 30) || return 1
  h_focus "$xwin"
  line=$(h_probe find "$DIALOG")
  read -r x y w h < <(rect_of "$line")
  border=$(((w - 479) / 2))
  DX=$((x + border)) DY=$((y + h - 252 - border))
  sleep 0.5
}
press() { h_mouse_to $((DX + $2)) $((DY + $3)); h_click "$1"; sleep 0.3; }
stored() { LC_ALL=C grep -a "^$1=" "$INI" | head -n1 | LC_ALL=C sed -E "s/^[^=]*= ?//; s/\r$//"; }
