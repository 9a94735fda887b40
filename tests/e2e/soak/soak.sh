#!/usr/bin/env bash
# The soak run: the real show with a 3-second MP3 (so the keep-alive restarts it
# every few seconds) for ORVANE_SOAK_SECONDS (default 1800), both programs'
# resources sampled every ORVANE_SOAK_INTERVAL seconds (default 30); then the
# settings dialog opened, clicked through and closed ORVANE_SOAK_DIALOGS times
# (default 100). Writes $ORVANE_BUILD_DIR/soak/{show.csv,dialog.csv,soak.png}.
#
# Flat means: after a warm-up (the first samples, while the sound pipeline and
# the GL driver load their caches) the median of the last three samples is
# within the tolerances below of the median of the first three warm ones.
# shellcheck source=../../lib/wine.sh
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh" || exit 1
SECONDS_TOTAL=${ORVANE_SOAK_SECONDS:-1800}
INTERVAL=${ORVANE_SOAK_INTERVAL:-30}
DIALOGS=${ORVANE_SOAK_DIALOGS:-100}
WARMUP=${ORVANE_SOAK_WARMUP:-120}
# A leak of one handle or one window per MP3 restart (about 600 in 30 minutes)
# is far beyond these; they cover handles that exist only around a restart and
# the allocator's own growth.
HANDLE_TOLERANCE=10
WINDOW_TOLERANCE=0
MEMORY_TOLERANCE_KB=8192  # or 5 % of the warm value, whichever is larger
LOUD=0.05                 # RMS of the test tone is about 0.3
TITLE='<Orvane>'

out=$H_BUILD_DIR/soak
mkdir -p "$out"
SHOW_CSV=$out/show.csv
DIALOG_CSV=$out/dialog.csv


# KEY=VALUE from a probe line.
# Resident kB, threads and open descriptors of a Unix process (the Wine side).
unix_stats() {
  local pid=$1 rss threads fds
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null)
  threads=$(awk '/^Threads:/ {print $2}' "/proc/$pid/status" 2>/dev/null)
  fds=$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 2>/dev/null | wc -l)
  echo "${rss:-0},${threads:-0},${fds:-0}"
}
# The Windows-side figures of the process owning the window TITLE:
# working set kB, kernel handles, GDI objects, USER objects, windows.
win_stats() {
  local line
  line=$(h_probe stats "$1") || { echo "-1,-1,-1,-1,-1"; return 1; }
  echo "$(( $(field workingset "$line") / 1024 )),$(field handles "$line"),$(field gdi "$line"),$(field user "$line"),$(field windows "$line")"
}
# A process of this harness's prefix whose command line matches PATTERN (other
# harnesses may run the same programs at the same time).
process_of() {
  local p
  for p in $(pgrep -f "$1" 2>/dev/null); do
    # The match may be gone already (pgrep's own pipeline, a process that just ended).
    if { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      echo "$p"
      return 0
    fi
  done
  return 1
}
# The prefix's wineserver, looked up again only when it has gone (call in the
# script's own shell, not in $(...), so that the answer is kept).
WINESERVER=
find_wineserver() { [[ -n "$WINESERVER" && -d /proc/$WINESERVER ]] || WINESERVER=$(process_of wineserver); }
wineserver_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$WINESERVER/status" 2>/dev/null || echo 0; }
xvfb_kb() { local p; p=$(head -n1 "$ORVANE_HARNESS_DIR/pids"); awk '/^VmRSS:/ {print $2}' "/proc/$p/status" 2>/dev/null || echo 0; }

# median of the numbers on stdin
median() { sort -n | awk '{a[NR] = $1} END {if (NR) print a[int((NR + 1) / 2)]; else print 0}'; }
# flat CSV COLUMN TOLERANCE [PERCENT] FROM: median of the last three rows against
# the median of the first three rows from row FROM (data rows counted from 1).
flat() {
  local csv=$1 col=$2 tol=$3 pct=$4 from=$5 first last limit
  first=$(awk -F, -v c="$col" -v f="$from" 'NR > 1 && NR - 1 >= f && NR - 1 < f + 3 {print $c}' "$csv" | median)
  last=$(awk -F, -v c="$col" 'NR > 1 {print $c}' "$csv" | tail -n3 | median)
  limit=$tol
  if [[ -n "$pct" ]]; then limit=$(awk -v t="$tol" -v f="$first" -v p="$pct" 'BEGIN { l = f * p / 100; print (l > t ? int(l) : t) }'); fi
  FLAT_TEXT="$(head -n1 "$csv" | cut -d, -f"$col"): $first -> $last (tolerance $limit)"
  awk -v a="$first" -v b="$last" -v l="$limit" 'BEGIN { d = b - a; exit !(d <= l) }'
}

dir=$(h_workdir soak)
h_install "$dir"
make_tone_mp3 "$dir/tone.mp3" 3
write_settings "$dir/Orvane.ini" 2 0 "$(winpath "$dir/tone.mp3")"
cp "$dir/Orvane.ini" "$dir/before.ini"

# --- 1. The show -------------------------------------------------------------------------------
echo "# show for ${SECONDS_TOTAL} s, a sample every ${INTERVAL} s"
h_start "$dir/Orvane.scr" /s
HOST=$H_PID
XWIN=$(h_wait_window OrvaneVC 60)
check "the engine's window opens" test -n "$XWIN"
ENGINE=$(process_of '[Oo]rvane\.dll')
check "the engine's process is found" test -n "$ENGINE"

echo "seconds,host_kb,host_handles,host_gdi,host_user,host_windows,host_rss_kb,host_threads,host_fds,engine_kb,engine_handles,engine_gdi,engine_user,engine_windows,engine_rss_kb,engine_threads,engine_fds,wineserver_kb,xvfb_kb,music_rms" >"$SHOW_CSV"
start=$(date +%s)
alive=1
next=0
while :; do
  now=$(($(date +%s) - start))
  if ((now >= next)); then
    if ! h_alive "$HOST" || ! h_probe exists OrvaneVC; then alive=0; break; fi
    find_wineserver
    host=$(win_stats Orvane_Main)
    engine=$(win_stats OrvaneVC)
    rms=$(h_level_of soak_sample 3)
    echo "$now,$host,$(unix_stats "$HOST"),$engine,$(unix_stats "$ENGINE"),$(wineserver_kb),$(xvfb_kb),$rms" >>"$SHOW_CSV"
    echo "# $(tail -n1 "$SHOW_CSV")"
    next=$((next + INTERVAL))
  fi
  ((now >= SECONDS_TOTAL)) && break
  sleep 1 # the soak's own pace
done
check "host and engine ran the whole time" test "$alive" = 1
h_shot soak_show_end >/dev/null
level=$(h_level_of soak_end 4)
check "the music is still heard at the end (RMS $level)" more_than "$level" "$LOUD"
quiet=$(awk -F, -v l="$LOUD" 'NR > 1 && $20 + 0 <= l {n++} END {print n + 0}' "$SHOW_CSV")
check "the music was heard at every sample ($quiet quiet)" test "$quiet" -eq 0

samples=$(($(wc -l <"$SHOW_CSV") - 1))
warm=$((WARMUP / INTERVAL + 1))
((warm + 3 > samples)) && warm=1
for rule in "3 $HANDLE_TOLERANCE" "6 $WINDOW_TOLERANCE" "11 $HANDLE_TOLERANCE" "14 $WINDOW_TOLERANCE"; do
  read -r col tol <<<"$rule"
  flat "$SHOW_CSV" "$col" "$tol" "" "$warm"
  check "flat: $FLAT_TEXT" test $? -eq 0
done
for col in 2 10; do
  flat "$SHOW_CSV" "$col" "$MEMORY_TOLERANCE_KB" 5 "$warm"
  check "flat: $FLAT_TEXT" test $? -eq 0
done
# GetGuiResources is a stub under Wine (-1); where it counts, it must be flat too.
for col in 4 5 12 13; do
  if [[ $(awk -F, -v c="$col" 'NR == 2 {print $c}' "$SHOW_CSV") != -1 ]]; then
    flat "$SHOW_CSV" "$col" "$HANDLE_TOLERANCE" "" "$warm"
    check "flat: $FLAT_TEXT" test $? -eq 0
  fi
done

h_focus "$XWIN"
h_key space
h_wait_exit "$HOST" 30
rc=$?
check "a key press ends the show (exit $rc)" test "$rc" -eq 0
check "the engine's window is gone" h_wait_no_window OrvaneVC 15

# --- 2. The settings dialog, DIALOGS times -----------------------------------------------------
echo "# the settings dialog ${DIALOGS} times"
open_dialog() {
  h_start "$dir/Orvane.scr" /c
  DIALOG_PID=$H_PID
  local xwin
  xwin=$(h_wait_window "$TITLE" 30) || return 1
  h_focus "$xwin"
}
# The labels and indicators are painted in Pic_C (control 3100): points from its corner.
# Nothing outside Wine shows when the dialog has handled a click: a short settle.
click_in_panel() { h_click_control "$TITLE" 3100 "$1" "$2" "$3"; sleep 0.2; }
repeat_box_enabled() {
  local style
  style=$(h_probe children "$TITLE" | grep -F class=ComboBox | head -n1 | sed -E 's/.* style=(0x[0-9a-f]+) .*/\1/')
  [[ -n "$style" ]] && (((style & 0x08000000) == 0))  # no WS_DISABLED
}
repeat_box_disabled() { ! repeat_box_enabled; }

echo "round,seconds,dialog_kb,dialog_handles,dialog_gdi,dialog_user,dialog_windows,wineserver_kb,xvfb_kb" >"$DIALOG_CSV"
opened=0 closed=0
for ((i = 1; i <= DIALOGS; i++)); do
  t0=$(date +%s.%N)
  if ! open_dialog; then
    echo "# round $i: the dialog did not open"
    kill "$DIALOG_PID" 2>/dev/null
    continue
  fi
  opened=$((opened + 1))
  click_in_panel 1 45 82    # 無し
  ((i == 1)) && check "the clicks reach the dialog: 無し turns the repeat box off" repeat_box_disabled
  click_in_panel 1 50 62    # 音楽CD
  ((i == 1)) && check "and 音楽CD turns it on" repeat_box_enabled
  click_in_panel 3 26 102   # MP3、WAV, right button
  h_point_at_control "$TITLE" 設定  # hover
  sleep 0.3 # the hover look: nothing outside Wine shows when it is painted
  find_wineserver
  dialog=$(win_stats "$TITLE")
  ((i == 1)) && h_shot soak_dialog_clicked >/dev/null
  h_click_control "$TITLE" ｷｬﾝｾﾙ
  if h_wait_exit "$DIALOG_PID" 20; then closed=$((closed + 1)); fi
  t1=$(date +%s.%N)
  echo "$i,$(awk -v a="$t0" -v b="$t1" 'BEGIN {printf "%.1f", b - a}'),$dialog,$(wineserver_kb),$(xvfb_kb)" >>"$DIALOG_CSV"
  ((i % 10 == 0)) && echo "# $(tail -n1 "$DIALOG_CSV")"
done
check "the dialog opened $opened of $DIALOGS times" test "$opened" -eq "$DIALOGS"
check "and closed with exit code 0 $closed times" test "$closed" -eq "$DIALOGS"
check "no dialog is left open" h_wait_no_window "$TITLE" 5
check "cancelling every time left Orvane.ini byte for byte" cmp -s "$dir/Orvane.ini" "$dir/before.ini"
for rule in "4 $HANDLE_TOLERANCE" "7 $WINDOW_TOLERANCE"; do
  read -r col tol <<<"$rule"
  flat "$DIALOG_CSV" "$col" "$tol" "" 1
  check "flat over the rounds: $FLAT_TEXT" test $? -eq 0
done
flat "$DIALOG_CSV" 3 "$MEMORY_TOLERANCE_KB" 5 1
check "flat over the rounds: $FLAT_TEXT" test $? -eq 0
# Leaks that outlive the processes would land in the server or the display.
for col in 8 9; do
  flat "$DIALOG_CSV" "$col" "$MEMORY_TOLERANCE_KB" 5 1
  check "flat over the rounds: $FLAT_TEXT" test $? -eq 0
done

# --- 3. The plot -------------------------------------------------------------------------------
gnuplot <<PLOT
set terminal pngcairo size 1200,900 font ",10" noenhanced
set output "$out/soak.png"
set datafile separator ","
set key below width 3 maxrows 2
set grid
set yrange [0:*]
set multiplot layout 2,2 title "Orvane soak: ${SECONDS_TOTAL} s show (3 s MP3), ${DIALOGS} settings dialogs"
set title "show: memory (MB)"
set xlabel "minutes"
plot "$SHOW_CSV" using (\$1/60):(\$2/1024) with linespoints title "Orvane.scr working set", \
     "" using (\$1/60):(\$10/1024) with linespoints title "Orvane.dll working set", \
     "" using (\$1/60):(\$18/1024) with lines title "wineserver RSS", \
     "" using (\$1/60):(\$19/1024) with lines title "Xvfb RSS"
set title "show: handles, windows, threads"
plot "$SHOW_CSV" using (\$1/60):3 with linespoints title "Orvane.scr handles", \
     "" using (\$1/60):11 with linespoints title "Orvane.dll handles", \
     "" using (\$1/60):6 with lines title "Orvane.scr windows", \
     "" using (\$1/60):14 with lines title "Orvane.dll windows", \
     "" using (\$1/60):8 with lines title "Orvane.scr threads", \
     "" using (\$1/60):16 with lines title "Orvane.dll threads"
set title "settings dialog: memory (MB) at each round"
set xlabel "round"
plot "$DIALOG_CSV" using 1:(\$3/1024) with linespoints title "dialog working set", \
     "" using 1:(\$8/1024) with lines title "wineserver RSS", \
     "" using 1:(\$9/1024) with lines title "Xvfb RSS"
set title "settings dialog: handles and windows at each round"
plot "$DIALOG_CSV" using 1:4 with linespoints title "dialog handles", \
     "" using 1:7 with linespoints title "dialog windows"
unset multiplot
PLOT
check "the plot is written" test -s "$out/soak.png"
echo "# samples: $SHOW_CSV $DIALOG_CSV"
echo "# plot: $out/soak.png"
h_finish
