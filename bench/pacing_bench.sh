#!/usr/bin/env bash
# CPU per second of the Windows show under Wine with its frames paced to the refresh
# and without, on Xvfb displays of several sizes (Xvfb has no vertical sync, so this
# is the driver that gives none). Pacing can only save where frames come faster
# than the refresh: on llvmpipe that is the small displays.
#
#   bench/pacing_bench.sh [SECONDS [SIZE..]]   after the windows preset is built
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-5}
shift || true
sizes=("$@")
((${#sizes[@]})) || sizes=(320x240 640x480 1024x768)
bench=$root/build/windows/bench/engine_pacing_bench.exe
# shellcheck source=../tests/lib/checks.sh
source "$root/tests/lib/checks.sh"
work=$(mktemp -d)
xvfb=
cleanup() {
  if [[ -n ${WINEPREFIX:-} ]]; then wineserver -k 2>/dev/null || true; fi
  if [[ -n $xvfb ]]; then kill "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
for size in "${sizes[@]}"; do
  x_server_start "$work/xvfb.display" "$work/xvfb.log" Xvfb -screen 0 "${size}x24" -nolisten tcp
  xvfb=$X_SERVER_PID
  display=${X_SERVER_DISPLAY#:}
  [[ -f $WINEPREFIX/system.reg ]] || DISPLAY=:$display wineboot -i >/dev/null 2>&1 || true
  echo "== $size"
  DISPLAY=:$display wine "$bench" "$seconds" 2>/dev/null | tr -d '\r'
  wineserver -k 2>/dev/null || true
  timeout 10 wineserver -w 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  xvfb=
done
