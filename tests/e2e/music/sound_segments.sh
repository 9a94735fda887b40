# shellcheck shell=bash
# sound_segments WAV [THRESHOLD]
# Prints one line "START END" (seconds, 10 ms steps) for every stretch of the
# recording whose 10 ms RMS stays above THRESHOLD (default 0.05); dropouts of
# up to 30 ms inside a stretch are bridged, stretches under 50 ms ignored.
sound_segments() {
  local wav=$1 threshold=${2:-0.05}
  sox "$wav" -c 1 -t dat - 2>/dev/null | awk -v thr="$threshold" '
    /^;/ { next }
    {
      b = int($1 * 100)
      sum[b] += $2 * $2; n[b]++
      if (b > last) last = b
    }
    END {
      on = 0; quiet = 0
      for (b = 0; b <= last; b++) {
        loud = n[b] > 0 && sqrt(sum[b] / n[b]) > thr
        if (loud) {
          if (!on) { on = 1; start = b }
          quiet = 0; end = b + 1
        } else if (on && ++quiet > 3) {
          if (end - start >= 5) printf "%.2f %.2f\n", start / 100, end / 100
          on = 0
        }
      }
      if (on && end - start >= 5) printf "%.2f %.2f\n", start / 100, end / 100
    }'
}
