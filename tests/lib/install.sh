# shellcheck shell=bash disable=SC1091,SC2034 # the names are for the scenarios that source it
# Shared by the setup scenarios: source it after wine.sh.
#
#   install_prefix NAME     a Wine prefix made fresh under the work folder NAME (WORK),
#                           its Wine processes ended at exit
#   SETUP ZIP VERSION PACKAGE_NAME   the package of this build
#   reg_values KEY / value_of VALUES NAME / value_is VALUES NAME DATA / no_key KEY
#   saver_is WINPATH                          the selected screen saver is WINPATH
#   winpath_unix WINPATH / short_path WINPATH
#   setup ARGS.. / uninstall / wait_removed   (INSTDIR: the install folder, Unix form)
#   and the settings dialog's helpers of dialog.sh

source "$ORVANE_SOURCE_DIR/tests/lib/dialog.sh" || exit 1

# What the build packaged: name and version from CPack's own configuration.
cpack_value() { sed -nE "s/^set\($1 \"([^\"]*)\"\)/\1/p" "$H_BUILD_DIR/CPackConfig.cmake"; }
VERSION=$(cpack_value CPACK_PACKAGE_VERSION)
PACKAGE_NAME=$(cpack_value CPACK_PACKAGE_FILE_NAME)
SETUP=$H_BUILD_DIR/package/$PACKAGE_NAME.exe
ZIP=$H_BUILD_DIR/package/$PACKAGE_NAME.zip
if [[ -z "$VERSION" || ! -f "$SETUP" || ! -f "$ZIP" ]]; then
  echo "no package for version '$VERSION' in $H_BUILD_DIR/package (build the target 'package')" >&2
  exit 1
fi

DESKTOP='HKCU\Control Panel\Desktop'
UNINSTALL='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane'
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver64)

# The prefix's own Wine processes (its wineserver, services) end with it.
_install_cleanup() {
  _h_cleanup
  "$WINESERVER" -k 2>/dev/null
  timeout 10 "$WINESERVER" -w 2>/dev/null
}

install_prefix() {
  WORK=$(h_workdir "$1")
  [[ -d "$WORK" ]] || exit 1
  export WINEPREFIX=$WORK/prefix
  trap _install_cleanup EXIT
  "$WINE" wineboot -i >"$H_LOGS/$1-wineboot.log" 2>&1
  "$WINE" regedit /S "$ORVANE_HARNESS_DIR/fonts.reg" >/dev/null 2>&1
  "$WINE" regedit /S "$ORVANE_SOURCE_DIR/tests/lib/windows_file_types.reg" >/dev/null 2>&1
  # Captions on the screenshots, as the dialog scenario does.
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
}

# reg_values KEY: the values of a key as "NAME<tab>DATA" lines, read with one
# Wine process (fails when the key is missing); value_of VALUES NAME.
reg_values() {
  local out
  out=$("$WINE" reg query "$1" 2>/dev/null) || return 1
  sed -nE 's/\r$//; s/^ {4}([^ ]+) {4}REG_[A-Z_]+( {4}(.*))?$/\1\t\3/p' <<<"$out"
}
value_of() { awk -F'\t' -v name="$2" '$1 == name { print $2; exit }' <<<"$1"; }
value_is() { [[ "$(value_of "$1" "$2")" == "$3" ]]; }
no_key() { ! "$WINE" reg query "$1" >/dev/null 2>&1; }
saver_is() { value_is "$(reg_values "$DESKTOP")" SCRNSAVE.EXE "$1"; }
# short_path WINPATH: the short form Windows reports for an existing file.
short_path() { "$WINE" "$H_BUILD_DIR/testbin/host_helper.exe" short-path "$1" 2>/dev/null | tr -d '\r'; }
winpath_unix() { "$WINE" winepath -u "$1" 2>/dev/null | tr -d '\r'; }

# setup ARGS..: runs the setup program and waits; returns its exit code.
setup() {
  h_start "$SETUP" "$@"
  h_wait_exit "$H_PID" 60
}

# uninstall: the uninstaller /S hands over to a copy of itself and returns at
# once, so wait for the files to go.
uninstall() {
  h_start "$INSTDIR/Uninstall.exe" /S
  h_wait_exit "$H_PID" 30 || return 1
  wait_removed
}
_removed() { [[ ! -e "$INSTDIR/Uninstall.exe" && ! -e "$INSTDIR/Orvane.scr" ]]; }
wait_removed() { wait_until 15 "the uninstaller to remove the files" _removed; }
