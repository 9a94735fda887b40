#!/usr/bin/env bash
# shellcheck disable=SC1091,SC2153 # WORK, INSTDIR's parts and their like come from lib.sh
# The release's signing with a certificate made here and thrown away after: a
# CA and a code-signing certificate (openssl), packed as PKCS#12. This build's
# setup program and zip are made again with it; the setup program, Orvane.scr
# and Orvane.dll from the zip, and the uninstaller a silent install writes,
# carry signatures that check against that CA (and not against another); the
# signed show runs. A wrong password or a certificate that cannot be read stops
# the release with its message before anything is built, and the setup
# program's build with nothing left behind.
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh" || exit 1
source "$ORVANE_SOURCE_DIR/tests/lib/install.sh" || exit 1
install_prefix install_signed
work=$WORK
certs=$work/certs
mkdir -p "$certs"

# The CA, and a code-signing certificate it issues.
make_certificates() {
  local dir=$1
  printf '[signer]\nbasicConstraints = critical, CA:FALSE\nkeyUsage = critical, digitalSignature\nextendedKeyUsage = codeSigning\n' >"$dir/signer.cnf"
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$dir/ca.key" -out "$dir/ca.pem" -days 2 \
    -subj "/CN=Orvane Throw-away CA" -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign,cRLSign" &&
    openssl req -new -newkey rsa:2048 -nodes -keyout "$dir/signer.key" -out "$dir/signer.csr" \
      -subj "/CN=Orvane Throw-away Signer" &&
    openssl x509 -req -in "$dir/signer.csr" -CA "$dir/ca.pem" -CAkey "$dir/ca.key" -CAcreateserial \
      -days 2 -extfile "$dir/signer.cnf" -extensions signer -out "$dir/signer.pem" &&
    openssl pkcs12 -export -inkey "$dir/signer.key" -in "$dir/signer.pem" -certfile "$dir/ca.pem" \
      -passout pass:"throw away" -out "$dir/signer.p12"
} >"$H_LOGS/signed-openssl.log" 2>&1
make_certificates "$certs"
check "a throw-away CA and code-signing certificate, packed as PKCS#12" test -s "$certs/signer.p12"
mkdir -p "$work/other"
make_certificates "$work/other"

# signed_by CA FILE: an Authenticode signature on FILE that checks against CA.
signed_by() { osslsigncode verify -CAfile "$1" -in "$2" >"$H_LOGS/signed-verify.log" 2>&1; }
not_signed_by() { ! signed_by "$@"; }

# 1. The setup program and the zip of this build, packed again with the certificate.
packages=$work/package
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$ORVANE_SOURCE_DIR" log -1 --format=%ct)}
ORVANE_SIGN_PKCS12=$certs/signer.p12 ORVANE_SIGN_PASSWORD="throw away" \
  cpack --config "$H_BUILD_DIR/CPackConfig.cmake" -B "$packages" >"$H_LOGS/signed-cpack.log" 2>&1
rc=$?
check "the setup program and the zip made with the certificate (exit code $rc)" test $rc = 0
SETUP=$packages/$PACKAGE_NAME.exe
ZIP=$packages/$PACKAGE_NAME.zip
unzipped=$work/unzipped
rm -rf "$unzipped"
unzip -q "$ZIP" -d "$unzipped"
for file in "$SETUP" "$unzipped/$PACKAGE_NAME/Orvane.scr" "$unzipped/$PACKAGE_NAME/Orvane.dll"; do
  check "$(basename "$file") is signed, checked against the CA" signed_by "$certs/ca.pem" "$file"
  check "$(basename "$file") does not check against another CA" not_signed_by "$work/other/ca.pem" "$file"
done

# 2. A silent install: the uninstaller it writes is signed, and so are the
#    programs, which still run the show.
LOCALAPPDATA_WIN=$("$WINE" cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
INSTDIR_WIN="$LOCALAPPDATA_WIN\\Programs\\Orvane"
INSTDIR=$(winpath_unix "$INSTDIR_WIN")
setup /S
rc=$?
check "silent setup of the signed setup program ends with exit code 0 (got $rc)" test $rc = 0
check "the uninstaller it wrote is signed, checked against the CA" signed_by "$certs/ca.pem" "$INSTDIR/Uninstall.exe"
check "the installed Orvane.scr is the zip's" cmp -s "$INSTDIR/Orvane.scr" "$unzipped/$PACKAGE_NAME/Orvane.scr"
check "the installed Orvane.dll is the zip's" cmp -s "$INSTDIR/Orvane.dll" "$unzipped/$PACKAGE_NAME/Orvane.dll"

h_start "$INSTDIR/Orvane.scr" /s
show=$H_PID
xwin=$(h_wait_window OrvaneVC 60)
check "the signed show opens the engine's window" test -n "$xwin"
h_wait_drawn signed_show 0.2
lit=$(share_not_black "$(h_shot signed_show)")
check "the signed show draws the veils (lit share $lit)" more_than "$lit" 0.2
h_focus "$xwin"
h_key space
h_wait_exit "$show" 30
rc=$?
check "a key ends the signed show (exit code $rc)" test $rc = 0
check "the signed uninstaller removes Orvane" uninstall

# 3. A wrong password, then a certificate that cannot be read: the release
#    stops at once with its message and leaves no release behind.
release_dir=$work/release-build
for case in "wrong password:$certs/signer.p12:not this one:wrong ORVANE_SIGN_PASSWORD" \
  "unreadable certificate:$work/missing.p12:throw away:cannot read the certificate file"; do
  IFS=: read -r what p12 password message <<<"$case"
  mkdir -p "$release_dir/release"
  touch "$release_dir/release/stale.exe"
  ORVANE_RELEASE_BUILD_DIR=$release_dir ORVANE_SIGN_PKCS12=$p12 ORVANE_SIGN_PASSWORD=$password \
    timeout 120 "$ORVANE_SOURCE_DIR/scripts/release" >"$work/release.log" 2>&1
  rc=$?
  check "[$what] the release stops (exit code $rc)" test $rc = 1
  check "[$what] and says why: '$message'" grep -qF "$message" "$work/release.log"
  check "[$what] and that nothing was built" grep -qF "nothing was built or signed" "$work/release.log"
  check "[$what] the release folder is left without files" \
    test -z "$(find "$release_dir" -type f ! -name '*.log' 2>/dev/null)"
done

# 4. Signing that fails while the setup program is made (the certificate gone
#    after the release has checked it): CPack stops and leaves no package.
rm -rf "$work/failed"
ORVANE_SIGN_PKCS12=$certs/signer.p12 ORVANE_SIGN_PASSWORD="not this one" \
  cpack --config "$H_BUILD_DIR/CPackConfig.cmake" -B "$work/failed" >"$H_LOGS/signed-cpack-failed.log" 2>&1
rc=$?
check "signing that fails stops the packages (exit code $rc)" test $rc != 0
check "with the signing tool's message" grep -qF "wrong ORVANE_SIGN_PASSWORD" "$H_LOGS/signed-cpack-failed.log"
check "and leaves no setup program or zip" \
  test -z "$(find "$work/failed" -maxdepth 1 -type f \( -name '*.exe' -o -name '*.zip' \))"

h_finish
