#!/usr/bin/env bash
# The Debian package as a user meets it: lintian has nothing to say about it;
# dpkg -i (twice) installs it; the real xscreensaver daemon runs
# "GL: orvane --root" by name and the screen shows the veils; the settings app
# previews it (it adds --window-id to --root) and its Settings dialog shows
# orvane.xml's options, the music file chooser among them; dpkg -r leaves none
# of the package's files behind.
# shellcheck source=../../lib/linux.sh
source "$(dirname "$0")/../../lib/linux.sh"

if [[ $(id -u) != 0 ]]; then
  echo "skipped: installing a package needs root"
  exit 77
fi
if dpkg -s orvane >/dev/null 2>&1; then
  echo "skipped: orvane is installed on this machine and this scenario would remove it"
  exit 77
fi

debs=("$ORVANE_BUILD_DIR"/package/orvane_*_amd64.deb)
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
check "the package is named by its version ($(basename "$deb"))" \
  test "$(basename "$deb")" = "orvane_${version}_amd64.deb"
dpkg-deb -c "$deb" >"$WORK/contents.txt"
dpkg-deb -I "$deb" >"$WORK/control.txt"
for file in /usr/libexec/xscreensaver/orvane /usr/share/xscreensaver/config/orvane.xml \
  /usr/share/man/man6/orvane.6.gz /usr/share/doc/orvane/copyright \
  /usr/share/applications/screensavers/orvane.desktop; do
  check "the package holds $file" grep -q " \.$file\$" "$WORK/contents.txt"
done
check "Depends were computed (libX11, GStreamer)" \
  grep -Eq '^ Depends: .*libx11-6.*' "$WORK/control.txt"

# lintian refuses to run as root; another user reads a copy.
lint_dir=$(mktemp -d)
chmod 755 "$lint_dir"
cp "$deb" "$lint_dir/"
chmod 644 "$lint_dir/$(basename "$deb")"
runuser -u nobody -- lintian "$lint_dir/$(basename "$deb")" >"$WORK/lintian.txt" 2>&1
rm -rf "$lint_dir"
check "lintian reports no error or warning ($(head -c 300 "$WORK/lintian.txt"))" \
  bash -c "! grep -Eq '^[EW]: ' '$WORK/lintian.txt'"

# The package's paths that exist before it comes (folders other packages own).
sed -E 's|.* \./|/|; s|/$||' "$WORK/contents.txt" | grep -v '^/$' >"$WORK/paths.txt"
while read -r path; do [[ -e $path ]] && echo "$path"; done <"$WORK/paths.txt" >"$WORK/existed.txt"

for round in first second; do
  dpkg -i "$deb" >"$WORK/dpkg-i-$round.log" 2>&1
  check "dpkg -i, the $round time, succeeds" test $? = 0
done
dpkg -L orvane | grep -vx '/\.' >"$WORK/dpkg-L.txt"
missing() { while read -r path; do [[ -e $path ]] || echo "$path"; done <"$WORK/dpkg-L.txt"; }
check "every file dpkg -L names is there after two installs" test -z "$(missing)"
check "man finds the page orvane(6)" test "$(man -w 6 orvane 2>/dev/null)" = /usr/share/man/man6/orvane.6.gz
man --warnings -l /usr/share/man/man6/orvane.6.gz >/dev/null 2>"$WORK/man-warnings.txt"
check "the man page formats without warnings" test ! -s "$WORK/man-warnings.txt"
desktop=/usr/share/applications/screensavers/orvane.desktop
desktop-file-validate "$desktop" >"$WORK/desktop-validate.txt" 2>&1
check "desktop-file-validate accepts orvane.desktop" test $? = 0
check "  with no error or warning" bash -c "! grep -Eq 'error|warning' '$WORK/desktop-validate.txt'"

x_start

# xscreensaver launches no hacks as root: a user made for the purpose runs it.
user=orvane-saver
id "$user" >/dev/null 2>&1 || useradd --create-home --shell /usr/sbin/nologin "$user"
home=$(getent passwd "$user" | cut -d: -f6)
as_user() { runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="$home" DISPLAY="$DISPLAY" "$@"; }
saver_config "$home" "orvane --root" "$user"

saver_daemon_start
check "the daemon answers" saver_daemon_up

program_lines() { pgrep -u "$user" -a -x orvane | cut -d' ' -f2- || true; }
program_runs() { [[ -n $(program_lines) ]]; }
program_gone() { [[ -z $(program_lines) ]]; }
preview_runs() { [[ $(program_lines) == *--window-id* ]]; }
saver_command -activate
wait_until 10 "orvane to start" program_runs
check "activate runs the installed orvane by name ($(program_lines))" test "$(program_lines)" = "orvane --root"
check "the screen shows veils" wait_for_picture
check_moving_veils installed
saver_command -deactivate
wait_until 10 "orvane to end" program_gone
check "deactivate ends orvane" test -z "$(program_lines)"

# The settings app: its preview runs the programs line with --window-id added.
# Its own session bus ends with it; no accessibility bus is started.
as_user dbus-run-session -- env NO_AT_BRIDGE=1 xscreensaver-settings >"$WORK/settings.log" 2>&1 &
settings=$!
x_track $settings
wait_until 15 "the settings app's preview" preview_runs
preview_line=$(program_lines)
check "the preview runs orvane with --root and --window-id ($preview_line)" \
  grep -q '^orvane --root --window-id 0x' <<<"$preview_line"
preview=${preview_line##* }
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
    /Width:/ { w = $2 } /Height:/ { h = $2 } END { printf "%dx%d+%d+%d", w, h, x, y }'
}
area=$(geometry "$preview")
preview_lit() {
  import -window root -crop "$area" +repage "$WORK/preview-1.ppm" &&
    more_than "$(share_not_near_black "$WORK/preview-1.ppm")" 0.05
}
wait_until 10 "veils in the preview pane" preview_lit
sleep 0.5 # the time the veils have to move between the two
import -window root -crop "$area" +repage "$WORK/preview-2.ppm"
lit=$(share_not_near_black "$WORK/preview-1.ppm")
changed=$(changed_pixels "$WORK/preview-1.ppm" "$WORK/preview-2.ppm")
check "the preview pane ($area) is lit ($lit)" gt "$lit" 0.05
check "the preview pane moves ($changed pixels changed)" gt "$changed" 5000
import -window root "$WORK/settings.ppm"

# Words on screen and where they are, read back from a screenshot: the first
# word that starts with WORD (read at twice the size, where the reading is surer).
word_at() {
  convert "$1" -colorspace Gray -resize 200% "$WORK/ocr.png"
  tesseract "$WORK/ocr.png" - tsv 2>/dev/null |
    awk -F'\t' -v word="$2" 'index($12, word) == 1 {
      printf "%d %d\n", ($7 + $9 / 2) / 2, ($8 + $10 / 2) / 2; exit }'
  rm -f "$WORK/ocr.png"
}
# The app may still be laying itself out on a loaded machine: readings until it shows.
settings_button() {
  import -window root "$WORK/settings.ppm"
  read -r bx by < <(word_at "$WORK/settings.ppm" "Settings")
  [[ -n ${bx:-} ]]
}
wait_until 10 "the Settings button on screen" settings_button
check "the settings app shows its Settings button" test -n "${bx:-}"
if [[ -n ${bx:-} ]]; then
  xdotool mousemove "$bx" "$by" click 1
  # Without a window manager the dialog opens beside the screen: bring it in.
  dialog_found() {
    dialog=$(xdotool search --name "Orvane Settings" | tail -n +2 | head -n1)
    [[ -n $dialog ]]
  }
  wait_until 5 "the Settings dialog" dialog_found
  check "the Settings dialog opens" test -n "$dialog"
  if [[ -n $dialog ]]; then
    xdotool windowmove "$dialog" 0 0
    dialog_read() {
      import -window root -crop "$(geometry "$dialog")" +repage -resize 200% "$WORK/dialog.ppm"
      tesseract "$WORK/dialog.ppm" - 2>/dev/null >"$WORK/dialog.txt"
      grep -q "Music file" "$WORK/dialog.txt"
    }
    wait_until 10 "the dialog's options on screen" dialog_read
    for words in "Show frame rate" "Sync with the display" "Music file"; do
      check "the dialog shows \"$words\"" grep -q "$words" "$WORK/dialog.txt"
    done
  fi
fi
# The app ends; its preview sees its window go and ends too, and the session bus with them.
app=$(pgrep -u "$user" -f '^xscreensaver-settings' | head -n1)
[[ -n $app ]] && kill "$app"
wait_until 5 "the preview to end" program_gone
check "the preview ends with the settings app" test -z "$(program_lines)"
wait_until 5 "the settings app's session to end" process_gone "$settings"

saver_daemon_exit
user_processes_end "$user"
check "nothing of the user is left running ($(pgrep -u "$user" -a | tr '\n' ' '))" \
  test -z "$(pgrep -u "$user")"

# mate-screensaver finds the entry through its menu of screen savers: chosen
# as its only theme (gsettings, in a key file of this scenario's own) and
# activated, it runs the installed program and the screen shows veils.
mate_home="$WORK/mate-home"
mkdir -p "$mate_home"
cat >"$WORK/mate.sh" <<'MATE'
gsettings set org.mate.screensaver mode single
gsettings set org.mate.screensaver themes "['screensavers-orvane']"
gsettings set org.mate.screensaver lock-enabled false
mate-screensaver --no-daemon --debug >"$WORK/mate-screensaver.log" 2>&1 &
saver=$!
source "$LIB"
answers() { mate-screensaver-command --query >/dev/null 2>&1; }
wait_until 5 "mate-screensaver to answer" answers
mate-screensaver-command --activate
installed() { pgrep -a -f '^/usr/libexec/xscreensaver/orvane --root'; }
not_installed() { ! installed >/dev/null; }
wait_until 5 "mate-screensaver to run orvane" installed >/dev/null
installed >"$WORK/mate-program.txt"
shows() { import -window root "$WORK/mate.ppm" && more_than "$(share_not_near_black "$WORK/mate.ppm")" 0.05; }
[[ -s $WORK/mate-program.txt ]] && wait_until 10 "veils from mate-screensaver's orvane" shows
mate-screensaver-command --deactivate
wait_until 5 "mate-screensaver's orvane to end" not_installed
installed >"$WORK/mate-program-after.txt"
kill "$saver"
wait "$saver"
MATE
LIB="$(cd "$(dirname "$0")/../../lib" && pwd)/checks.sh"
export WORK LIB
HOME=$mate_home XDG_CONFIG_HOME="$mate_home/config" GSETTINGS_BACKEND=keyfile \
  XDG_CURRENT_DESKTOP=MATE NO_AT_BRIDGE=1 timeout 60 dbus-run-session -- bash "$WORK/mate.sh" \
  >"$WORK/mate.log" 2>&1
check "mate-screensaver runs the installed orvane ($(cat "$WORK/mate-program.txt"))" \
  grep -q ' /usr/libexec/xscreensaver/orvane --root$' "$WORK/mate-program.txt"
if [[ -f $WORK/mate.ppm ]]; then
  lit=$(share_not_near_black "$WORK/mate.ppm")
  check "mate-screensaver shows veils ($lit)" gt "$lit" 0.05
fi
check "mate-screensaver's deactivation ends it" test ! -s "$WORK/mate-program-after.txt"

# Removal: every path the package brought that was not there before it goes.
dpkg -r orvane >"$WORK/dpkg-r.log" 2>&1
check "dpkg -r succeeds" test $? = 0
left() {
  while read -r path; do
    [[ -e $path ]] && ! grep -qxF "$path" "$WORK/existed.txt" && echo "$path"
  done <"$WORK/dpkg-L.txt"
}
check "dpkg -r leaves none of the package's files or folders ($(left | tr '\n' ' '))" test -z "$(left)"
check "dpkg no longer lists orvane" bash -c "! dpkg -s orvane >/dev/null 2>&1"
finish
