#!/usr/bin/env bash
# The Linux program's soak: orvane --root --music with a 3-second MP3 (a loop
# every 3 seconds) on a private PulseAudio null sink for ORVANE_LINUX_SOAK_SECONDS
# (default 600). Every ORVANE_LINUX_SOAK_INTERVAL seconds (30) it samples the
# program's resident memory, threads and open descriptors and the streams on
# the sink, and records 2 s of the sound. Writes soak.csv and soak.png.
#
# Flat means: after ORVANE_LINUX_SOAK_WARMUP seconds (120: the sound pipeline and the
# GL driver load their caches first) the median of the last three samples is
# within the tolerances below of the median of the first three warm ones.
# shellcheck source=../../lib/linux.sh
source "$(dirname "$0")/../../lib/linux.sh"

TOTAL=${ORVANE_LINUX_SOAK_SECONDS:-600}
INTERVAL=${ORVANE_LINUX_SOAK_INTERVAL:-30}
WARMUP=${ORVANE_LINUX_SOAK_WARMUP:-120}
# A leak of 16 kB per loop is 2.5 MB over the 160 loops after the warm-up;
# threads and descriptors that grow by one a loop show at once.
MEMORY_TOLERANCE_KB=2048
THREAD_TOLERANCE=2
FD_TOLERANCE=2
LOUD=0.1 # the tone's RMS is about 0.35

x_start
sound_start
make_tone_mp3 "$WORK/tone.mp3" 3

program_start --root --music "$WORK/tone.mp3"
check "the veils show" wait_for_picture

csv="$WORK/soak.csv"
echo "seconds,rss_kb,threads,fds,streams,rms" >"$csv"
start=$(date +%s)
quiet=0
while :; do
  elapsed=$(($(date +%s) - start))
  program_running || break
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$PROGRAM_PID/status")
  threads=$(awk '/^Threads:/ { print $2 }' "/proc/$PROGRAM_PID/status")
  fds=$(find "/proc/$PROGRAM_PID/fd" -mindepth 1 2>/dev/null | wc -l)
  sound_capture 2 "$WORK/sample.wav"
  rms=$(sox "$WORK/sample.wav" -n stat 2>&1 | awk '/RMS +amplitude/ { print $3 }')
  gt "${rms:-0}" "$LOUD" || quiet=$((quiet + 1))
  echo "$elapsed,$rss,$threads,$fds,$(sink_inputs),${rms:-0}" | tee -a "$csv"
  ((elapsed >= TOTAL)) && break
  sleep $((INTERVAL - 2)) # the soak's own pace: a sample every INTERVAL s
done
rm -f "$WORK/sample.wav"
check "orvane ran the whole time" program_running
check "the music was heard at every sample ($quiet quiet)" test "$quiet" = 0
# shellcheck disable=SC2016 # awk's own fields
check "one stream on the sink at every sample" \
  awk -F, 'NR > 1 && $5 != 1 { bad = 1 } END { exit bad }' "$csv"

# Median of column COLUMN over the first three warm samples, and the last three.
medians() {
  awk -F, -v c="$1" -v warm="$WARMUP" '
    NR > 1 && $1 >= warm { v[n++] = $c }
    function med(a, b, x, y, z) { x = v[a]; y = v[a + 1]; z = v[b];
      return x > y ? (y > z ? y : (x > z ? z : x)) : (x > z ? x : (y > z ? z : y)) }
    END { if (n < 6) { print "0 0"; exit } print med(0, 2), med(n - 3, n - 1) }' "$csv"
}
warm=$(awk -F, -v warm="$WARMUP" 'NR > 1 && $1 >= warm { n++ } END { print n + 0 }' "$csv")
check "six samples or more after the warm-up to compare ($warm)" test "$warm" -ge 6
read -r first last < <(medians 2)
check "resident memory flat: $first -> $last kB (within $MEMORY_TOLERANCE_KB)" \
  test "$((last - first))" -le "$MEMORY_TOLERANCE_KB" -a "$first" -gt 0
read -r first last < <(medians 3)
check "threads flat: $first -> $last" test "$((last - first))" -le "$THREAD_TOLERANCE"
read -r first last < <(medians 4)
check "descriptors flat: $first -> $last" test "$((last - first))" -le "$FD_TOLERANCE"

kill -TERM "$PROGRAM_PID"
program_ends_within 5
check "ends with 0 on SIGTERM" test "$HACK_STATUS" = 0

gnuplot -e "set terminal png size 900,500; set output '$WORK/soak.png'; set datafile separator ',';
  set key autotitle columnhead; set xlabel 'seconds'; set ylabel 'kB'; set y2label 'count';
  set y2tics; set y2range [0:*]; plot '$csv' using 1:2 with linespoints axes x1y1,
  '' using 1:3 with linespoints axes x1y2, '' using 1:4 with linespoints axes x1y2" 2>/dev/null
finish
