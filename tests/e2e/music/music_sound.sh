#!/usr/bin/env bash
# Music heard through the null sink: an MP3 restarted by the 1000 ms
# keep-alive, a WAV looped by the platform, silence after stopping, and a
# machine without a sound device that plays nothing and fails nothing.
# shellcheck disable=SC1091
# shellcheck source=../../lib/wine.sh
source "$ORVANE_SOURCE_DIR/tests/lib/wine.sh"
# shellcheck source=sound_segments.sh
source "$ORVANE_SOURCE_DIR/tests/e2e/music/sound_segments.sh"

PLAYER=$H_BUILD_DIR/testbin/music_player.exe
media=$(h_workdir "music media")  # a blank in the path: the MP3 open quotes it

# Test media, made here: a 3 s tone as MP3, and 1 s of tone + 0.5 s of silence as WAV.
make_tone "$media/tone.wav" 3
lame --quiet -b 128 "$media/tone.wav" "$media/song 3s.mp3"
make_tone "$media/loop 1s.wav" 1 660 pad 0 0.5

duration() { soxi -D "$1"; }
# Seconds of sound in a list of "START END" segments.
total() { printf '%s\n' "$@" | awk 'NF == 2 { t += $2 - $1 } END { printf "%.2f", t }'; }
# The last second of a recording carries no sound.
silent_tail() { at_most "$(h_level "$1" "$(awk -v d="$(duration "$1")" 'BEGIN { print d - 1.0 }')")" 0.01; }
# record NAME OUT COMMAND..: runs COMMAND while recording $H_AUDIO/NAME.wav, its output in OUT;
# sets RC to its exit code.
record() {
  local name=$1 out=$2
  shift 2
  h_capture_start "$name"
  "$@" >"$out" 2>/dev/null
  RC=$?
  h_capture_stop
}

# --- MP3 with the keep-alive ---
record music_mp3 "$H_LOGS/music_mp3.out" "$WINE" "$PLAYER" mp3 "$(winpath "$media/song 3s.mp3")" 11000 3000
mapfile -t seg < <(sound_segments "$H_CAPTURE")
echo "mp3 player: $(tr '\n' ' ' <"$H_LOGS/music_mp3.out")"
echo "mp3 sound: ${seg[*]}"
gaps=()
for ((i = 1; i < ${#seg[@]}; i++)); do
  gaps+=("$(awk -v a="${seg[i-1]#* }" -v b="${seg[i]% *}" 'BEGIN { printf "%.2f", b - a }')")
done
echo "mp3 gaps between end and new start (s): ${gaps[*]}"
max_gap=$(printf '%s\n' "${gaps[@]}" | sort -g | tail -n1)
echo "mp3 longest gap: ${max_gap:-none} s"

check "mp3 player exits 0" test "$RC" -eq 0
check "mp3 opened from a path with a blank and plays" grep -q '^open playing' "$H_LOGS/music_mp3.out"
check "mp3 restarted by the keep-alive" test "$(grep -c '^restart' "$H_LOGS/music_mp3.out")" -ge 2
# Heard again and again: more sound than two passes of the 3 s song.
check "mp3 heard for more than two passes ($(total "${seg[@]}") s)" at_most 6.0 "$(total "${seg[@]}")"
check "mp3 silence between passes at most 1.3 s (${max_gap:-none} s)" at_most "${max_gap:-99}" 1.3
check "mp3 silent after Mp3Close" silent_tail "$H_CAPTURE"

# --- WAV looped by the platform, no timer ---
record music_wav "$H_LOGS/music_wav.out" "$WINE" "$PLAYER" wav "$(winpath "$media/loop 1s.wav")" 6000 3000
mapfile -t seg < <(sound_segments "$H_CAPTURE")
echo "wav sound: ${seg[*]}"
check "wav player exits 0" test "$RC" -eq 0
check "wav heard as at least three bursts" test "${#seg[@]}" -ge 3
# The file holds 1 s of tone: more than 2 s of it means it repeated.
check "wav looped with no timer ($(total "${seg[@]}") s of tone)" at_most 2.0 "$(total "${seg[@]}")"
check "wav silent after WavStop" silent_tail "$H_CAPTURE"

# --- A WAV that cannot be played stays silent (no default sound instead) ---
record music_wav_missing /dev/null "$WINE" "$PLAYER" wav "$(winpath "$media")\\missing.wav" 2000 0
check "missing wav exits 0" test "$RC" -eq 0
check "missing wav is silent" at_most "$(h_level "$H_CAPTURE")" 0.01

# --- No sound device: the sound server is out of reach ---
dead="unix:$H_BUILD_DIR/e2e-work/no-sound-server"
devices=$(PULSE_SERVER=$dead "$WINE" "$PLAYER" devices 2>/dev/null | tr -d '\r')
check "without a sound server there is no wave device ($devices)" test "$devices" = 0
record music_nodevice /dev/null env PULSE_SERVER="$dead" "$WINE" "$PLAYER" wav "$(winpath "$media/loop 1s.wav")" 2000 0
check "wav without a device exits 0" test "$RC" -eq 0
check "wav without a device is silent" at_most "$(h_level "$H_CAPTURE")" 0.01

h_finish
