#!/usr/bin/env bash
# The settings dialog at 96, 144 and 192 dots per inch (LogPixels in the lane's prefix, put
# back at the end): its size 1.5 and 2 times the 96 one, every text read back from the
# screenshot, the painted choices answering clicks at their scaled places, and the big scales
# drawn at their size rather than a 96 picture stretched. Screenshots: dialog_scale_DPI.png.
# shellcheck source=dialog_scenario.sh
source "$ORVANE_SOURCE_DIR/tests/e2e/dialog/dialog_scenario.sh" || exit 1

# px TWIPS: pixels at the current scale, as the dialog rounds them (down).
px() { echo $(($1 * DPI / 1440)); }

# Each text is read from its own place in the screenshot (twips at this scale: left top width
# height, and "negate" for white on dark), enlarged to about the same height at every scale
# and tried plain and in black and white; the best reading counts. Readings are compared
# without blanks, half- and full-width forms alike. Tesseract reads the half-width katakana
# of this font poorly (ｷｬﾝｾﾙ as キャッセル, ﾘﾋﾟｰﾄ as りE'-ト), so a text longer than three
# characters passes when 0.6 of its characters read back in order; shorter ones must read
# whole.
TEXTS=(
  "BGM|480 570 1665 255"
  "音楽CD|720 1050 840 255"
  "曲目をﾘﾋﾟｰﾄ|2220 1050 1500 255"
  "無し|720 1350 700 255"
  "MP3、WAV|720 1650 1200 255"
  "その他の作品|2970 3075 1695 210"
  "設定|4890 3075 915 210"
  "ｷｬﾝｾﾙ|6030 3075 855 210"
  "Orvane Version|180 2880 2800 315 negate"
)
# similarity WANT GOT: the share of WANT's characters that GOT has in the same order.
similarity() {
  python3 - "$1" "$2" <<'PY'
import difflib, sys, unicodedata
def plain(text):
    text = "".join(unicodedata.normalize("NFKC", text).split())
    # Hiragana and katakana of one sound look alike in this font; so do the long-vowel mark
    # and a dash.
    text = "".join(chr(ord(c) + 0x60) if "\u3041" <= c <= "\u3096" else c for c in text)
    return text.replace("\u30fc", "-").replace("\u2014", "-").replace("\uff0d", "-")
want, got = plain(sys.argv[1]), plain(sys.argv[2])
matcher = difflib.SequenceMatcher(None, want, got, autojunk=False)
print("%.2f" % (sum(b.size for b in matcher.get_matching_blocks()) / len(want)))
PY
}
# reads_back IMAGE TEXT PLACE: true when TEXT reads back from PLACE of the client image.
reads_back() {
  local image=$1 text=$2 l t w h negate best=0 got score variant crop=$dir/ocr.png need=0.6
  read -r l t w h negate <<<"$3"
  ((${#text} <= 3)) && need=0.99
  for variant in "300" "300 -threshold 50%" "300 -threshold 65%" "450" "450 -threshold 50%" \
    "450 -threshold 65%"; do
    # shellcheck disable=SC2086 # the variant is a list of options
    convert "$image" -crop "$(px "$w")x$(px "$h")+$(px "$l")+$(px "$t")" +repage -colorspace Gray \
      ${negate:+-negate} -resize "$((${variant%% *} * 96 / DPI))%" -normalize ${variant#* } \
      -bordercolor white -border 30 "$crop"
    got=$(tesseract "$crop" - -l jpn --psm 7 2>/dev/null)
    score=$(similarity "$text" "$got")
    echo "#   '$text' read as '$(tr -d '\n' <<<"$got")' ($score)"
    more_than "$score" "$best" && best=$score
    less_than "$best" "$need" || return 0
  done
  return 1
}

write_settings "$INI" 0 0 ""
declare -A WIDTH HEIGHT
for DPI in 96 144 192; do
  h_display_dpi "$DPI"
  open_dialog || { check "the dialog opens at $DPI dpi" false; continue; }
  read -r _ _ WIDTH[$DPI] HEIGHT[$DPI] < <(h_probe client "$TITLE")
  echo "# $DPI dpi: client ${WIDTH[$DPI]} x ${HEIGHT[$DPI]}"
  shot=$(h_shot "dialog_scale_$DPI")
  client=$dir/client_$DPI.png
  convert "$shot" -crop "${WIDTH[$DPI]}x${HEIGHT[$DPI]}+$DX+$DY" +repage "$client"
  cp "$client" "$H_SHOTS/dialog_scale_${DPI}_client.png"

  if [[ $DPI != 96 ]]; then
    for pair in "width ${WIDTH[96]} ${WIDTH[$DPI]}" "height ${HEIGHT[96]} ${HEIGHT[$DPI]}"; do
      read -r dim base got <<<"$pair"
      want=$((base * DPI / 96))
      check "$DPI dpi: the client $dim is $got, $DPI/96 of $base within 2" \
        test $((got - want)) -le 2 -a $((want - got)) -le 2
    done
  fi

  for entry in "${TEXTS[@]}"; do
    check "$DPI dpi: '${entry%%|*}' reads back from the screenshot" \
      reads_back "$client" "${entry%%|*}" "${entry#*|}"
  done

  # The painted choices at their places at this scale: a click on each label's middle.
  for spot in "1 540 840 645" "2 540 1440 900" "0 540 1140 345"; do
    read -r mode left top width <<<"$spot"
    h_click_control "$TITLE" 3100 1 "$(px $((left + width / 2)))" "$(px $((top + 97)))"
    # Its indicator turns blue in the middle.
    indicator_blue() {
      c=$(pixel $((PX - DX + $(px 397))) $((PY - DY + $(px $((top + 97))))))
      IFS=, read -r r _ b <<<"$c"
      ((b - r > 60))
    }
    wait_until 3 "choice $mode's indicator blue" indicator_blue
    check "$DPI dpi: a click on choice $mode's label at its scaled place selects it ($c)" test $((b - r)) -gt 60
  done

  click ｷｬﾝｾﾙ
  h_wait_exit "$DIALOG_PID" 20
  check "$DPI dpi: ｷｬﾝｾﾙ at its scaled place closes the dialog" bash -c "! kill -0 $DIALOG_PID 2>/dev/null"
done

# Drawn at the size, not stretched: the 設定 button's outline at 192 dpi is two whole pixels
# of its colour next to the ring outside it; and the whole 192 picture differs from the 96 one
# enlarged twice (nearest pixel, or linear) by more than twice as much as those two stretches
# differ from each other (colours 30 % apart; measured here: 6322 and 6836 pixels against
# 1336 of 482832).
if [[ -f $dir/client_192.png && -f $dir/client_96.png ]]; then
  DPI=192
  row() {
    convert "$dir/client_192.png" -crop "1x1+$(($(px 4800) + 30))+$(($(px 3000) + $1))" -depth 8 \
      -format '%[hex:u.p{0,0}]' info:
  }
  rows="$(row 0) $(row 1) $(row 2) $(row 3) $(row 4)"
  echo "# 設定's top rows at 192 dpi: $rows"
  check "192 dpi: the outline of 設定 is two sharp pixel rows (rows 2-3 of 003C74, rows 1 and 4 not)" \
    test "$(row 2)$(row 3)" = 003C74003C74 -a "$(row 1)" != 003C74 -a "$(row 4)" != 003C74
  w=$((WIDTH[96] * 2 < WIDTH[192] ? WIDTH[96] * 2 : WIDTH[192]))
  h=$((HEIGHT[96] * 2 < HEIGHT[192] ? HEIGHT[96] * 2 : HEIGHT[192]))
  for filter in point triangle; do
    convert "$dir/client_96.png" -filter "$filter" -resize 200% -crop "${w}x${h}+0+0" +repage \
      "$dir/stretched_$filter.png"
  done
  convert "$dir/client_192.png" -crop "${w}x${h}+0+0" +repage "$dir/drawn.png"
  differ() { compare -metric AE -fuzz 30% "$dir/$1.png" "$dir/$2.png" null: 2>&1 | cut -d' ' -f1; }
  between=$(differ stretched_point stretched_triangle)
  nearest=$(differ drawn stretched_point)
  linear=$(differ drawn stretched_triangle)
  echo "# pixels that differ: 192 against the 96 stretched $nearest (nearest), $linear (linear);" \
    "the two stretches $between; of $((w * h))"
  check "192 dpi is not the 96 picture stretched ($nearest and $linear against 2 x $between)" \
    test "$nearest" -gt $((2 * between)) -a "$linear" -gt $((2 * between))
fi
h_finish
