#!/usr/bin/env bash
# Writes the seed inputs of the fuzz targets into fuzz/corpus/<target>/: a few
# everyday inputs per target, in the input layout its source file describes.
# The fuzzers grow their working corpora from these (under build/fuzz/).
set -euo pipefail
corpus=$(cd "$(dirname "$0")/.." && pwd)/fuzz/corpus
rm -rf "$corpus"
seed() {  # seed TARGET NAME PRINTF-FORMAT [ARGS..]
  mkdir -p "$corpus/$1"
  # shellcheck disable=SC2059
  printf -- "${@:3}" >"$corpus/$1/$2"
}

# MODE \0 REPEAT \0 FILE \0 EXISTS
seed settings_load mp3 ' 2\0 0\0C:\\Music\\tone.mp3\0\001'
seed settings_load mp3_missing '2\0 0\0C:\\Music\\gone.mp3\0\000'
seed settings_load cd_track ' 1\0 12\0\0\000'
seed settings_load fractions '1.9\0-0.5\0C:\\a.wav\0\001'
seed settings_load out_of_range ' 40000\0 1E3\0x\0\001'
seed settings_load hex_and_blanks '&H2\0 2D1\0 \0\001'

# FLAGS HANDLE[4] COMMAND-LINE
seed arguments show '\034\000\000\000\000"C:\\Saver\\Orvane.scr" /s'
seed arguments preview '\034\064\022\000\000C:\\SAVER\\ORVANE.SCR /p 4660'
seed arguments settings '\034\000\000\000\000Orvane.scr /c:1234'
seed arguments no_arguments '\034\000\000\000\000Orvane.scr'
seed arguments show_running '\035\000\000\000\000Orvane.scr -S'
seed arguments preview_signed '\024\377\377\377\377Orvane.scr /p -1'
seed arguments unknown '\030\000\000\000\000"C:\\My Saver\\Orvane.scr"   /x'
seed arguments wide_letter '\030\000\000\000\000Orvane.scr /\357\275\223'

# FAIL MODE[2] TEXT
seed repeat_text track3 '\000\001\000003'
seed repeat_text empty '\000\002\000'
seed repeat_text half '\002\001\000 2.5 '
seed repeat_text too_large '\000\001\00040000'
seed repeat_text words '\003\377\377abc'
seed repeat_text exponent '\000\001\0001E2'
seed repeat_text negative_half '\001\000\000-3.5'

# records KEY KIND LENGTH BYTES (keys: 0 Enabled 1 Caption 2 Font 3 FirstRun
# 4 FontColour 5 Visible ...; kinds: 0 flag 1 number 2 text 3 wide text 4 font)
seed button_properties dialog_button '\001\003\004\055\212\232\133\002\004\007abcdefg'
seed button_properties created '\001\002\004Save\000\000\001\001'
seed button_properties stored_texts '\004\002\004&HFF\005\002\0010\003\001\001\001'
seed button_properties refused_style '\005\002\0012'
seed button_properties signed_colour '\004\002\002-1\000\002\004True'

seed colour_string dark '&HC6C5D7'
seed colour_string light '&HFFFFFF'
seed colour_string system_colour '&H80000012'
seed colour_string decimal '12961221'
seed colour_string short_lower '&hff'
seed colour_string negative '-1'
seed colour_string blanks '  &H00FF00'

# TRACK[2] POLLS, then CODE LENGTH BYTES per platform call
seed cd_poll whole_disc_stopped '\000\000\000\000\0011\000\00212\000\007stopped\000\000'
seed cd_poll repeat3_in_track4 '\003\000\000\000\0014\000\00212\000\007playing\000\01303:00:00:00\000\000'
seed cd_poll no_disc '\000\000\000\212\000\001\012Error text'
seed cd_poll repeat3_twice '\003\000\001\000\0013\000\00212\000\007stopped\000\01303:00:00:00\000\000\000\0014\000\00212\000\007playing\000\01303:00:00:00\000\000'
seed cd_poll track_missing '\017\000\000\000\0011\000\00212\000\007stopped\207\000\000\000\207\000\000\000'

# ARGUMENT \0 ARGUMENT \0 ...
seed program_arguments root '--root\0'
seed program_arguments preview '--root\0--window-id\0%s\0' 0x400EE5
seed program_arguments music '--root\0--music\0/home/me/my "tune".mp3\0--fps\0'
seed program_arguments music_joined '-window-id=77\0-music=a=b.wav\0-root\0'
seed program_arguments music_missing '--music\0--root\0'
