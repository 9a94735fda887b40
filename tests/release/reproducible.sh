#!/usr/bin/env bash
# Two whole releases of this tree (scripts/release) in two folders of
# different names and depths, one after the other, under different time zones
# and without ccache (whose objects would hide a build path): every file has
# the same SHA-256 in both, and `sha256sum -c SHA256SUMS` passes in each.
# About twenty minutes on two cores: `ctest --preset reproducible`.
set -uo pipefail
# shellcheck source=../lib/checks.sh
source "$ORVANE_SOURCE_DIR/tests/lib/checks.sh" || exit 1

work=$ORVANE_BUILD_DIR/reproducible
rm -rf "$work"
first=$work/first
second=$work/second/folder-with-a-longer-name
mkdir -p "$first" "$second"
epoch=$(git -C "$ORVANE_SOURCE_DIR" log -1 --format=%ct)

# copy_tree DEST: the tree's files (committed or not, but not ignored) into DEST.
copy_tree() {
  (cd "$ORVANE_SOURCE_DIR" && git ls-files -z -co --exclude-standard |
    tar --null --files-from=- -cf -) | tar -xf - -C "$1"
}
# release DEST TZ: a whole release in DEST; its output is kept in DEST.log.
release() {
  local started=$SECONDS rc
  (cd "$1" && env -u CMAKE_C_COMPILER_LAUNCHER -u CMAKE_CXX_COMPILER_LAUNCHER CCACHE_DISABLE=1 \
    TZ="$2" SOURCE_DATE_EPOCH="$epoch" scripts/release) >"$1.log" 2>&1
  rc=$?
  echo "release in $1 (TZ=$2): exit code $rc after $((SECONDS - started)) s"
  return "$rc"
}

copy_tree "$first"
copy_tree "$second"
check "the first release ends well" release "$first" Asia/Tokyo
check "the second release ends well" release "$second" America/New_York

a=$first/build/release
b=$second/build/release
list() { (cd "$1" && find . -type f -printf '%P\n' | LC_ALL=C sort | tr '\n' ' '); }
# The names carry the version of project(VERSION).
version=$(sed -nE 's/^project\(Orvane VERSION ([0-9.]+).*/\1/p' "$ORVANE_SOURCE_DIR/CMakeLists.txt")
expected="Orvane-$version-win64.exe Orvane-$version-win64.zip SHA256SUMS orvane_${version}_amd64.deb "
check "each leaves the setup program, the zip, the Debian package and SHA256SUMS ($(list "$a"))" \
  test "$(list "$a")" = "$expected" -a "$(list "$b")" = "$expected"
for dir in "$a" "$b"; do
  check "sha256sum -c SHA256SUMS passes in $dir" bash -c "cd '$dir' && sha256sum -c --strict SHA256SUMS"
done
for name in $(list "$a"); do
  check "$name: the same SHA-256 from both folders" cmp -s "$a/$name" "$b/$name"
  cmp -s "$a/$name" "$b/$name" || cmp -l "$a/$name" "$b/$name" | head -5
done
cat "$a/SHA256SUMS"
finish_checks
