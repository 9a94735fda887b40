#!/usr/bin/env bash
# shellcheck disable=SC1091,SC2153 # WORK, DESKTOP and their like come from lib.sh
# The setup program and the zip as a user meets them, in a Wine prefix made
# fresh for this run (not the harness's shared one): a silent install, the
# settings saved through the installed program's dialog opened from the Start
# menu, installs over an install (one through its pages, with screenshots, one
# while Orvane runs), silent removal, the screen saver choice put back, and
# the Start-menu entry that makes Orvane the screen saver again (also where a
# policy decides).
# shellcheck source=../../lib/wine.sh
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh" || exit 1

source "$ORVANE_SOURCE_DIR/tests/lib/install.sh" || exit 1
install_prefix install
work=$WORK

LOCALAPPDATA_WIN=$("$WINE" cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
APPDATA_WIN=$("$WINE" cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')
INSTDIR_WIN="$LOCALAPPDATA_WIN\\Programs\\Orvane"
INSTDIR=$(winpath_unix "$INSTDIR_WIN")
SHORTCUT_WIN="$APPDATA_WIN\\Microsoft\\Windows\\Start Menu\\Programs\\Orvane Settings.lnk"
SHORTCUT=$(winpath_unix "$SHORTCUT_WIN")
SELECT_SHORTCUT_WIN="$APPDATA_WIN\\Microsoft\\Windows\\Start Menu\\Programs\\Make Orvane my screen saver.lnk"
LAUNCHER_WIN="$INSTDIR_WIN\\OrvaneSettings.exe"
SCR_WIN="$INSTDIR_WIN\\Orvane.scr"
echo "install folder: $INSTDIR_WIN ($INSTDIR)"

# The screen saver the user had before Orvane (a file must be there for it to
# be put back).
OTHER_WIN='C:\windows\system32\ssother.scr'
touch "$(winpath_unix "$OTHER_WIN")"
"$WINE" reg add "$DESKTOP" /v SCRNSAVE.EXE /d "$OTHER_WIN" /f >/dev/null 2>&1
"$WINE" reg add "$DESKTOP" /v ScreenSaveActive /d 0 /f >/dev/null 2>&1

# same_as_built DIR: Orvane.scr and Orvane.dll in DIR are the ones this build made.
same_as_built() {
  local f
  for f in Orvane.scr Orvane.dll OrvaneSettings.exe; do cmp -s "$1/$f" "$H_BIN_DIR/$f" || return 1; done
}
same_programs() { same_as_built "$INSTDIR"; }

# version_ok FILE_WIN DESCRIPTION: the version resource as Windows reads it.
version_ok() {
  local out
  out=$(h_probe version "$1") || return 1
  grep -qx "Fixed=$VERSION.0 Product=$VERSION.0" <<<"$out" &&
    grep -qx "FileVersion=$VERSION" <<<"$out" && grep -qx "ProductVersion=$VERSION" <<<"$out" &&
    grep -qx "ProductName=Orvane" <<<"$out" && grep -qx "FileDescription=$2" <<<"$out" &&
    grep -qE "^LegalCopyright=Copyright .+" <<<"$out"
}

# Setup's pages: wait for a text of a page, click a button by its text. The
# window is titled "Orvane Setup" on the welcome and finish pages and
# "Orvane Setup " (an empty sub-caption) on the others.
setup_children() { h_probe children 'Orvane Setup' 2>/dev/null || h_probe children 'Orvane Setup ' 2>/dev/null; }
_shows_text() { setup_children | grep -qF "title=$1"; }
wait_text() { wait_until 10 "'$1' in setup's window" _shows_text "$1"; }
click_button() {
  local line x y w h
  line=$(setup_children | grep -F "class=Button title=$1 " | head -n1)
  [[ -n "$line" ]] || return 1
  read -r x y w h < <(rect_of "$line")
  # Next sits at the same place on page after page, and a --sync move to
  # where the pointer already is waits for a motion that never comes.
  xdotool mousemove $((x + w / 2)) $((y + h / 2))
  wait_until 1 "the pointer on the button" _h_pointer_at $((x + w / 2)) $((y + h / 2))
  h_click 1
}

# start.exe under Wine now and then fails to open a link it has just been
# given ("ShellExecuteEx failed: internal error"); a broken link fails twice.
start_shortcut() {
  local rc
  h_start start "$SHORTCUT_WIN"
  h_wait_exit "$H_PID" 30
  rc=$?
  ((rc == 0)) && return 0
  echo "start.exe could not open the Start menu entry (exit code $rc); once more"
  h_start start "$SHORTCUT_WIN"
}
INI=$INSTDIR/Orvane.ini

# 1. Silent install into the fresh prefix.
setup /S
rc=$?
check "silent setup ends with exit code 0 (got $rc)" test $rc = 0
check "the uninstaller is in the install folder" test -f "$INSTDIR/Uninstall.exe"
check "Orvane.scr, Orvane.dll and OrvaneSettings.exe installed as built" same_programs
check "the readme installed" grep -q "Orvane.ini" "$INSTDIR/readme.txt"
desktop=$(reg_values "$DESKTOP")
uninstall_entry=$(reg_values "$UNINSTALL")
# Selected by its short form, as Windows' own settings do.
SCR_SHORT=$(short_path "$SCR_WIN")
check "Orvane is the screen saver, by its short form ($SCR_SHORT)" test -n "$SCR_SHORT" -a "$(value_of "$desktop" SCRNSAVE.EXE)" = "$SCR_SHORT"
check "the screen saver is on" value_is "$desktop" ScreenSaveActive 1
while read -r name expected; do
  check "uninstall entry $name = $expected (read: $(value_of "$uninstall_entry" "$name"))" \
    value_is "$uninstall_entry" "$name" "$expected"
done <<EOF2
DisplayName Orvane
DisplayVersion $VERSION
Publisher Orvane developers
DisplayIcon $SCR_WIN,0
UninstallString "$INSTDIR_WIN\\Uninstall.exe"
NoModify 0x1
NoRepair 0x1
EOF2
size=$(value_of "$uninstall_entry" EstimatedSize)
programs_kb=$((($(stat -c %s "$H_BIN_DIR/Orvane.scr") + $(stat -c %s "$H_BIN_DIR/Orvane.dll")) / 1024))
check "uninstall entry EstimatedSize at least the programs' $programs_kb KB (read: $size)" \
  test $((size)) -ge "$programs_kb"
check "a Start menu entry" test -f "$SHORTCUT"
# Windows opens a shortcut to a .scr through the .scr file type ("%1" /S) and
# drops its arguments, so neither entry may name Orvane.scr.
link_is() {
  local out
  out=$(h_probe link "$1") || return 1
  grep -qxF "target=$2" <<<"$out" && grep -qxF "arguments=$3" <<<"$out" &&
    grep -qxF "icon=$SCR_WIN,0" <<<"$out"
}
check "the settings entry starts OrvaneSettings.exe, with no arguments" link_is "$SHORTCUT_WIN" "$LAUNCHER_WIN" ""
check "the 'Make Orvane my screen saver' entry starts OrvaneSettings.exe /select" \
  link_is "$SELECT_SHORTCUT_WIN" "$LAUNCHER_WIN" /select
check "the prefix opens a .scr as Windows does (\"%1\" /S)" \
  grep -qF '"%1" /S' <<<"$("$WINE" reg query 'HKCR\scrfile\shell\open\command' /ve 2>/dev/null)"
check "Orvane.scr's version resource" version_ok "$SCR_WIN" "Orvane (ScreenSaver)"
check "Orvane.dll's version resource" version_ok "$INSTDIR_WIN\\Orvane.dll" "Orvane visual engine"
check "OrvaneSettings.exe's version resource" version_ok "$LAUNCHER_WIN" "Orvane settings"
check "the setup program's version resource" version_ok "Z:${SETUP//\//\\}" "Orvane setup"

# 2. The Start menu entry opens the installed program's dialog; 設定 saves
#    audio CD, track 4 into the install folder.
start_shortcut
check "the Start menu entry opens the settings dialog" dialog_wait
h_shot install_dialog >/dev/null
h_click_control "$DIALOG" 3100 1 50 62 # 音楽CD
h_click_control "$DIALOG" 3101 # the repeat box
h_key End shift+Home
h_type 4
h_click_control "$DIALOG" 設定
check "設定 closes the dialog" h_wait_no_window "$DIALOG" 20
check "the settings were saved next to the installed Orvane.scr (mode $(stored "$MODE_KEY"), repeat $(stored "$REPEAT_KEY"))" \
  test "$(stored "$MODE_KEY")/$(stored "$REPEAT_KEY")" = 1/4
cp "$INI" "$work/saved.ini"

# pages STEP..: walks setup's pages; each STEP is "page text:button:screenshot"
# (no screenshot when empty). Fails at the first page that does not show.
pages() {
  local step text button shot
  for step in "$@"; do
    IFS=: read -r text button shot <<<"$step"
    if ! wait_text "$text"; then
      echo "no page showing '$text'"
      return 1
    fi
    [[ -n "$shot" ]] && h_shot "$shot" >/dev/null
    click_button "$button" || return 1
  done
}
TO_INSTALL=("Welcome to Orvane Setup:&Next >:" "Choose Components:&Next >:"
  "Choose Install Location:&Install:")

# 3. Setup again, through its pages: the saved settings stay byte for byte.
h_start "$SETUP"
SETUP_PID=$H_PID
pages "Welcome to Orvane Setup:&Next >:setup_welcome" \
  "Choose Components:&Next >:setup_components" \
  "Choose Install Location:&Install:setup_folder" \
  "Completing Orvane Setup:&Finish:setup_finish"
pages_ok=$?
check "setup's pages: welcome, components, folder, finish" test $pages_ok = 0
h_wait_exit "$SETUP_PID" 30
rc=$?
check "setup through its pages ends with exit code 0 (got $rc)" test $rc = 0
check "Orvane.ini kept byte for byte" cmp -s "$INI" "$work/saved.ini"
check "the programs are there as built" same_programs

# 4. Setup while the dialog runs, from an older install: through its pages it
#    says why it cannot go on and, cancelled, ends with code 2; silent, it
#    waits. Neither changes anything until the dialog closes.
printf 'older' >>"$INSTDIR/Orvane.dll"
cp "$INSTDIR/Orvane.dll" "$work/older.dll"
h_start "$INSTDIR/Orvane.scr" /c
DIALOG_PID=$H_PID
h_wait_window "$DIALOG" 30 >/dev/null
h_start "$SETUP"
SETUP_PID=$H_PID
pages "${TO_INSTALL[@]}"
check "setup reached its install step" test $? = 0
check "setup says that Orvane is running" wait_text "Orvane is running (the screen saver or its settings window), so its files cannot be changed now."
h_shot setup_running >/dev/null
# Setup itself is titled "Orvane Setup " on this page: the exact title is the message.
h_focus "$(h_wait_window 'Orvane Setup' 10)"
h_key Escape
h_wait_exit "$SETUP_PID" 20
rc=$?
check "cancelled there, setup ends with exit code 2 (got $rc)" test $rc = 2
check "and has changed nothing" cmp -s "$INSTDIR/Orvane.dll" "$work/older.dll"
h_start "$SETUP" /S
SETUP_PID=$H_PID
sleep 2 # the time it must keep waiting
check "setup waits while the dialog is open" h_alive "$SETUP_PID"
check "and has not touched Orvane.dll" cmp -s "$INSTDIR/Orvane.dll" "$work/older.dll"
h_probe post-close "$DIALOG"
h_wait_exit "$DIALOG_PID" 20
h_wait_exit "$SETUP_PID" 30
rc=$?
check "once the dialog has closed, setup ends with exit code 0 (got $rc)" test $rc = 0
check "and has installed the programs" same_programs
check "Orvane.ini still kept byte for byte" cmp -s "$INI" "$work/saved.ini"

# The show's hidden window and the engine's window hold setup back the same
# way (stand-in windows with their titles).
for title in Orvane_Main OrvaneVC; do
  h_start "$H_BUILD_DIR/testbin/host_helper.exe" window "$title" 64 64
  HELPER_PID=$H_PID
  h_probe wait-window "$title" 10000
  h_start "$SETUP" /S
  SETUP_PID=$H_PID
  sleep 1.5 # the time it must keep waiting
  check "setup waits while a window titled $title is there" h_alive "$SETUP_PID"
  h_probe post-close "$title"
  h_wait_exit "$HELPER_PID" 10
  h_wait_exit "$SETUP_PID" 30
  rc=$?
  check "and goes on once it has gone (exit code $rc)" test $rc = 0
done

# 5. Silent removal, started while the dialog runs: nothing goes until it has
#    closed; then files, entry and key go, the earlier saver is back, the
#    settings stay.
h_start "$INSTDIR/Orvane.scr" /c
DIALOG_PID=$H_PID
h_wait_window "$DIALOG" 30 >/dev/null
h_start "$INSTDIR/Uninstall.exe" /S
h_wait_exit "$H_PID" 30
sleep 2 # the time it must keep waiting
check "the uninstaller waits while the dialog is open" \
  test -f "$INSTDIR/Orvane.scr" -a -f "$INSTDIR/Orvane.dll" -a -f "$INSTDIR/Uninstall.exe"
check "and leaves the saver selected meanwhile" saver_is "$SCR_SHORT"
h_probe post-close "$DIALOG"
h_wait_exit "$DIALOG_PID" 20
check "once the dialog has closed, the programs go" wait_removed
for f in Orvane.scr Orvane.dll readme.txt Uninstall.exe; do
  check "$f removed" test ! -e "$INSTDIR/$f"
done
check "the Start menu entry removed" test ! -e "$SHORTCUT"
check "the uninstall key removed" no_key "$UNINSTALL"
desktop=$(reg_values "$DESKTOP")
check "the earlier screen saver is selected again" value_is "$desktop" SCRNSAVE.EXE "$OTHER_WIN"
check "and its on/off state is back" value_is "$desktop" ScreenSaveActive 0
check "Orvane.ini kept byte for byte for a later install" cmp -s "$INI" "$work/saved.ini"

# 6. No saver before: removal leaves none selected.
"$WINE" reg delete "$DESKTOP" /v SCRNSAVE.EXE /f >/dev/null 2>&1
setup /S
check "installed again, selected (exit code $?)" saver_is "$SCR_SHORT"
check "the uninstaller removes it again" uninstall
desktop=$(reg_values "$DESKTOP")
check "no screen saver selected after removal" test -n "$desktop" -a -z "$(value_of "$desktop" SCRNSAVE.EXE)"

# 7. /NOSELECT leaves the current saver; a saver chosen after install stays
#    through the removal.
"$WINE" reg add "$DESKTOP" /v SCRNSAVE.EXE /d "$OTHER_WIN" /f >/dev/null 2>&1
setup /S /NOSELECT
check "setup /S /NOSELECT installs (exit code $?)" same_programs
check "and leaves the current saver selected" saver_is "$OTHER_WIN"
setup /S
THIRD_WIN='C:\windows\system32\ssthird.scr'
"$WINE" reg add "$DESKTOP" /v SCRNSAVE.EXE /d "$THIRD_WIN" /f >/dev/null 2>&1
check "removed once more" uninstall
check "a saver chosen since the install stays selected" saver_is "$THIRD_WIN"

# 8. The way back without setup: installed, then another saver chosen in
#    Windows' settings; the Start-menu entry, started as a user starts it,
#    makes Orvane the saver again, switches the saver on and tells the session
#    (WM_SETTINGCHANGE for SPI_SETSCREENSAVEACTIVE, 17); removal then puts
#    back the saver chosen just before and tells the session too.
POLICY='HKCU\Software\Policies\Microsoft\Windows\Control Panel\Desktop'
SETTINGS_LOG=$work/setting-changes.log
: >"$SETTINGS_LOG"
h_start "$H_BUILD_DIR/testbin/host_helper.exe" setting-watch "Z:${SETTINGS_LOG//\//\\}"
h_probe wait-window SettingWatch 10000
heard_changes() { grep -cx 17 "$SETTINGS_LOG"; }
setup /S
"$WINE" reg add "$DESKTOP" /v SCRNSAVE.EXE /d "$OTHER_WIN" /f >/dev/null 2>&1
"$WINE" reg add "$DESKTOP" /v ScreenSaveActive /d 0 /f >/dev/null 2>&1
# select_entry WHAT TEXT: the entry started through start.exe; its message box
# must say TEXT, and goes when closed.
select_entry() {
  h_start start "$SELECT_SHORTCUT_WIN"
  h_wait_window Orvane 30 >/dev/null
  check "[$1] the entry says so" grep -qF "title=$2" <<<"$(h_probe children Orvane)"
  h_shot "select_$1" >/dev/null
  h_probe post-close Orvane
  check "[$1] its message closes" h_wait_no_window Orvane 20
}
before=$(heard_changes)
select_entry chosen "Orvane is your screen saver again."
desktop=$(reg_values "$DESKTOP")
check "[chosen] Orvane is the screen saver again, by its short form" value_is "$desktop" SCRNSAVE.EXE "$SCR_SHORT"
check "[chosen] the screen saver is on" value_is "$desktop" ScreenSaveActive 1
check "[chosen] the saver chosen before is remembered for removal" \
  value_is "$(reg_values "$UNINSTALL")" PreviousScreenSaver "$OTHER_WIN"
check "[chosen] the session heard of it (changes heard: $before, then $(heard_changes))" \
  test "$(heard_changes)" -gt "$before"

# A policy that switches savers off, or one that names another saver: the
# entry says that the policy decides; quiet, it ends with exit code 3, and so
# does a silent setup.
"$WINE" reg add "$POLICY" /v ScreenSaveActive /d 0 /f >/dev/null 2>&1
select_entry policy "Orvane is kept as your choice, but a policy set on this computer decides the screen saver, so Windows starts another one or none."
"$WINE" "$INSTDIR/OrvaneSettings.exe" /select /quiet
rc=$?
check "[policy: savers off] OrvaneSettings.exe /select /quiet ends with exit code 3 (got $rc)" test $rc = 3
"$WINE" reg delete "$POLICY" /v ScreenSaveActive /f >/dev/null 2>&1
"$WINE" reg add "$POLICY" /v SCRNSAVE.EXE /d "$OTHER_WIN" /f >/dev/null 2>&1
"$WINE" "$INSTDIR/OrvaneSettings.exe" /select /quiet
rc=$?
check "[policy: another saver] OrvaneSettings.exe /select /quiet ends with exit code 3 (got $rc)" test $rc = 3
setup /S
rc=$?
check "[policy] a silent setup ends with exit code 3 (got $rc)" test $rc = 3
check "[policy] Orvane stays the user's own choice" saver_is "$SCR_SHORT"
"$WINE" reg delete "$POLICY" /f >/dev/null 2>&1

before=$(heard_changes)
check "removed after the way back" uninstall
desktop=$(reg_values "$DESKTOP")
check "the saver chosen before the way back is selected again" value_is "$desktop" SCRNSAVE.EXE "$OTHER_WIN"
check "its on/off state is back" value_is "$desktop" ScreenSaveActive 0
check "and the session heard of it (changes heard: $before, then $(heard_changes))" \
  test "$(heard_changes)" -gt "$before"
h_probe post-close SettingWatch

# 9. The zip: one folder with the programs and the readme, as built.
unzipped=$work/unzipped
mkdir -p "$unzipped"
unzip -q "$ZIP" -d "$unzipped"
check "the zip holds exactly the programs and the readme" \
  test "$(cd "$unzipped" && find . -type f | LC_ALL=C sort | tr '\n' ' ')" = \
  "./$PACKAGE_NAME/Orvane.dll ./$PACKAGE_NAME/Orvane.scr ./$PACKAGE_NAME/OrvaneSettings.exe ./$PACKAGE_NAME/readme.txt "
check "the zip's programs are as built" same_as_built "$unzipped/$PACKAGE_NAME"
check "the readme says where the settings live" grep -q 'Orvane.ini' "$unzipped/$PACKAGE_NAME/readme.txt"
echo "package sizes: setup $(stat -c %s "$SETUP") bytes, zip $(stat -c %s "$ZIP") bytes"

h_finish
