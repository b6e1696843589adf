#!/usr/bin/env bash
# Draws every picture used by Catch the Moxel from plain shapes, gradients and
# text, so the artwork is entirely our own and can be regenerated at will.
#
#   target.gif            the figure the player has to catch (35x37)
#   banner.gif            title word with three heads peeking over it (377x129)
#   portrait.jpg          "rendered" 3D figure on a grid floor (216x274)
#   arrow.ico             button icon, 32x32 + 16x16, 16 colours
#   smiley.ico            button icon, 32x32 + 16x16
#   NAME@2x.EXT           each of the five above drawn again at twice the size,
#                         for screens with a device pixel ratio of 1.5 or more
#   app-icon.svg          application icon (hand-written SVG)
#   app-icon-{16,32,48,64,128}.png   renderings of it for the desktop menu
#   app-icon.ico          the same sizes and 256x256 in one file, the Windows
#                         program's icon
#
# Needs ImageMagick 6 (convert-im6.q16) with its SVG reader
# (libmagickcore-6.q16-6-extra), fonts-comic-neue and awk.
# Output is deterministic: metadata and timestamps are stripped, so running
# it again gives identical bytes.
set -euo pipefail

OUT=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
IM=convert-im6.q16          # the real ImageMagick 6; plain "convert" may be something else
FONT=/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf

command -v "$IM" >/dev/null || { echo "error: $IM not found (install imagemagick-6.q16)" >&2; exit 1; }
[[ -r $FONT ]] || { echo "error: $FONT not found (install fonts-comic-neue)" >&2; exit 1; }

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# Reproducible files: no time stamps, no profiles or comments.
# shellcheck disable=SC2054  # the commas belong to ImageMagick's option value
PNG_CLEAN=(-strip -define png:exclude-chunks=date,time +set date:create +set date:modify)

# Colours of the figure, shared by all pictures so it looks the same everywhere.
GREEN='#7CE03C'; GREEN_DARK='#4DB82E'; GREEN_PALE='#C8F78C'; INK='#1E5A14'
PINK='#FF5FD2'; SHOE='#FF4A4A'; CHEEK='#FF8FA8'; MOUTH='#B0203A'
EYE='#FAFAFA'               # not pure white: white is the transparent colour in the GIFs
TILE='#1D2435'; TILE_EDGE='#3A4A6E'

# Draws at twice the size from the same coordinates: pixel x of the small
# picture becomes pixels 2x and 2x+1, hence the half-pixel shift.
AT2X=(-affine 2,0,0,2,0.5,0.5)
AT2X_MVG="affine 2,0,0,2,0.5,0.5"

# pixmap 'X=#colour ...' ROW... : MVG that sets single pixels, for the tiniest
# sizes where shapes cannot be placed precisely enough. '.' leaves a pixel alone.
pixmap() {
  local colours=$1; shift
  printf '%s\n' "$@" | awk -v map="$colours" '
    BEGIN { n = split(map, kv, " "); for (i = 1; i <= n; i++) c[substr(kv[i], 1, 1)] = substr(kv[i], 3) }
    { for (x = 1; x <= length($0); x++) { ch = substr($0, x, 1); if (ch in c) printf "fill %s point %d,%d\n", c[ch], x - 1, NR - 1 } }'
}

# ---------------------------------------------------------------------------
# target.gif: pixel-exact figure. +antialias keeps the palette small and the
# edges hard, so no light fringe appears on the black game background; the
# big eyes keep it readable when the game shrinks it to 19x13.
# -transparent-color white: without it ImageMagick stores the transparent
# palette entry as black, but that entry has to be white.
# Unstroked rectangles give their outer edges, between pixels, so that they
# keep their size when drawn at twice the size.
# ---------------------------------------------------------------------------
# target SCALE FILE
target() {
  local scale=() size=35x37
  [[ $1 == 2 ]] && scale=("${AT2X[@]}") size=70x74
  "$IM" -size $size xc:white +antialias "${scale[@]}" \
    -fill '#A0A0A0' -draw "ellipse 17,34 12,2.5 0,360" \
    -fill '#707070' -draw "ellipse 17,34 8,1.6 0,360" \
    -stroke "$INK" -strokewidth 1 \
    -fill "$SHOE" -draw "roundrectangle 9,30 15,33 2,2 roundrectangle 19,30 25,33 2,2" \
    -fill "$GREEN_DARK" -draw "rectangle 11,26 14,30 rectangle 20,26 23,30" \
    -strokewidth 4 -draw "line 11,21 6,25 line 23,21 28,25" \
    -stroke "$GREEN" -strokewidth 2 -draw "line 11,21 6,25 line 23,21 28,25" \
    -stroke "$INK" -strokewidth 1 -fill "$GREEN" -draw "circle 4.5,26 4.5,28.5 circle 29.5,26 29.5,28.5" \
    -draw "ellipse 17,23 7,6 0,360" \
    -stroke none -fill "$GREEN_PALE" -draw "ellipse 17,24 4,3.5 0,360" \
    -stroke "$INK" -fill "$GREEN" -draw "ellipse 17,11 10,8 0,360" \
    -stroke none -fill "$GREEN_DARK" -draw "ellipse 17,16 7,2 0,180" \
    -fill "$GREEN_PALE" -draw "ellipse 12,5.5 2.5,1 0,360" \
    -stroke "$INK" -fill "$PINK" -draw "ellipse 17,1.5 2,1.5 0,360" \
    -stroke none -fill "$EYE" -draw "ellipse 13,10 2.5,3 0,360 ellipse 21,10 2.5,3 0,360" \
    -fill black -draw "rectangle 12.5,9.5 14.5,12.5 rectangle 20.5,9.5 22.5,12.5" \
    -fill "$CHEEK" -draw "rectangle 8.5,13.5 10.5,14.5 rectangle 23.5,13.5 25.5,14.5" \
    -fill "$MOUTH" -draw "rectangle 14.5,14.5 19.5,15.5 rectangle 15.5,15.5 18.5,16.5" \
    -transparent white -transparent-color white -strip "$2"
}
target 1 "$OUT/target.gif"
target 2 "$OUT/target@2x.gif"

# ---------------------------------------------------------------------------
# banner.gif: gold extruded letters with three heads peeking over them.
# Drawn anti-aliased with an alpha channel, then edges are blended against
# black (the window colour) and alpha is cut at 50%, because GIF has only
# on/off transparency.
# ---------------------------------------------------------------------------
# head CX CY R FILL OUTLINE LOOK : MVG for one cartoon head (LOOK shifts the pupils)
head() {
  local cx=$1 cy=$2 r=$3 f=$4 d=$5 lx=$6
  local ex=$((r * 2 / 5)) ey=$((cy - r / 8)) erx=$((r / 4)) ery=$((r * 3 / 10)) pr=$((r / 8))
  echo "stroke $d stroke-width 2.5 fill $d line $cx,$((cy - r)) $cx,$((cy - r - 8))"
  echo "fill $PINK circle $cx,$((cy - r - 9)) $cx,$((cy - r - 4))"
  echo "fill $f ellipse $cx,$cy $((r + 3)),$r 0,360"
  echo "stroke none fill #FFFFFF40 ellipse $((cx - r / 2)),$((cy - r * 3 / 5)) $((r / 4)),$((r / 9)) 0,360"
  echo "fill $EYE stroke $d stroke-width 1.5 ellipse $((cx - ex)),$ey $erx,$ery 0,360 ellipse $((cx + ex)),$ey $erx,$ery 0,360"
  echo "stroke none fill #101010 circle $((cx - ex + lx)),$((ey + 2)) $((cx - ex + lx)),$((ey + 2 + pr))"
  echo "circle $((cx + ex + lx)),$((ey + 2)) $((cx + ex + lx)),$((ey + 2 + pr))"
  echo "fill $EYE circle $((cx - ex + lx + 1)),$ey $((cx - ex + lx + 1)),$((ey + 1))"
  echo "circle $((cx + ex + lx + 1)),$ey $((cx + ex + lx + 1)),$((ey + 1))"
  echo "fill ${CHEEK}C8 ellipse $((cx - r * 3 / 4)),$((cy + r / 4)) $((r / 6)),$((r / 10)) 0,360"
  echo "ellipse $((cx + r * 3 / 4)),$((cy + r / 4)) $((r / 6)),$((r / 10)) 0,360"
}

# banner SCALE FILE
banner() {
  local s=$1 BW=$((377 * $1)) BH=$((129 * $1)) DEPTH=$((7 * $1)) heads='' rim=1.5 edge=1
  [[ $s == 2 ]] && heads=$AT2X_MVG$'\n' rim=3 edge=2
  # Letter shape; the stroke fattens Comic Neue into chunky cartoon letters.
  "$IM" -background black -fill white -stroke white -strokewidth $((4 * s)) -font "$FONT" -pointsize $((100 * s)) \
    label:MOXEL -trim +repage "$TMP/letters.png"
  local TW TH TX TY SPLIT i stack=()
  read -r TW TH < <("$IM" "$TMP/letters.png" -format '%w %h\n' info:)
  TX=$(((BW - TW - DEPTH) / 2)); TY=$((BH - TH - DEPTH - 3 * s))

  # Extrusion: the letters stacked diagonally down-right, plus a dark rim around the block.
  for i in $(seq 1 "$DEPTH"); do
    stack+=("$TMP/letters.png" -geometry "+$((TX + i))+$((TY + i))" -compose Lighten -composite)
  done
  "$IM" -size ${BW}x${BH} xc:black "${stack[@]}" "$TMP/letters.png" -geometry +$TX+$TY -compose Lighten -composite "$TMP/block.png"
  "$IM" "$TMP/block.png" -morphology Dilate Disk:$rim "$TMP/rim.png"
  "$IM" -size ${BW}x${BH} xc:black "$TMP/letters.png" -geometry +$TX+$TY -composite "$TMP/face.png"
  # Polished gold: bright upper half, deeper lower half; darker gold for the sides.
  SPLIT=$((TY + TH * 45 / 100))
  "$IM" -size ${BW}x${SPLIT} gradient:'#FFFBD0'-'#FFD23A' -size ${BW}x$((BH - SPLIT)) gradient:'#F2AE00'-'#B06E00' -append "$TMP/gold.png"
  "$IM" -size ${BW}x${BH} gradient:'#B27A0A'-'#6A3C00' "$TMP/side.png"

  "$IM" -size ${BW}x${BH} xc:none \
    -draw "$heads$(head 102 40 24 '#FF9F3A' '#7A3A00' 2; head 189 41 27 "$GREEN" "$INK" 0; head 276 40 24 '#4FC3FF' '#0B4A7A' -2)" \
    \( -size ${BW}x${BH} xc:'#3A2000' "$TMP/rim.png" -alpha off -compose CopyOpacity -composite \) -compose Over -composite \
    \( "$TMP/side.png" "$TMP/block.png" -alpha off -compose CopyOpacity -composite \) -compose Over -composite \
    \( -size ${BW}x${BH} xc:'#5A3400' \( "$TMP/face.png" -morphology Dilate Disk:$edge \) -alpha off -compose CopyOpacity -composite \) -compose Over -composite \
    \( "$TMP/gold.png" "$TMP/face.png" -alpha off -compose CopyOpacity -composite \) -compose Over -composite \
    "$TMP/banner.png"
  "$IM" "$TMP/banner.png" \( +clone -alpha extract -threshold 50% \) \
    -background black -alpha remove -alpha off -compose CopyOpacity -composite \
    +dither -colors 127 -transparent-color white -strip "$2"
}
banner 1 "$OUT/banner.gif"
banner 2 "$OUT/banner@2x.gif"

# ---------------------------------------------------------------------------
# portrait.jpg: soft 3D look. Every round part is a stack of nested ellipses
# sliding towards the light, which reads as a lit sphere. Drawn at twice the
# size and reduced, for smooth edges.
# ---------------------------------------------------------------------------
# portrait_mvg SCALE
portrait_mvg() {
  awk -v S="$1" -v G1='#1F6A14' -v G2='#5CC433' -v G3='#D6FFA0' -v PINK="$PINK" '
  function h2(s) { return (index("0123456789ABCDEF", substr(s, 1, 1)) - 1) * 16 + index("0123456789ABCDEF", substr(s, 2, 1)) - 1 }
  function mix(a, b, t,   k, out, x, y) {
    a = toupper(a); b = toupper(b); out = "#"
    for (k = 0; k < 3; k++) { x = h2(substr(a, 2 + 2 * k, 2)); y = h2(substr(b, 2 + 2 * k, 2)); out = out sprintf("%02X", int(x + (y - x) * t + 0.5)) }
    return out }
  # dark rim -> base colour -> light core
  function shade(d, m, l, t) { return t < 0.45 ? mix(d, m, t / 0.45) : mix(m, l, (t - 0.45) / 0.55) }
  # lit ellipsoid, optionally rotated; the light always comes from the upper left
  function ball(cx, cy, rx, ry, rot, d, m, l,   n, i, t, a, lx, ly, hx, hy) {
    n = 48; a = rot * 3.14159265 / 180; lx = -0.38; ly = -0.45
    hx = lx * cos(a) + ly * sin(a); hy = -lx * sin(a) + ly * cos(a)
    print "push graphic-context"; print "translate " cx "," cy; if (rot) print "rotate " rot
    for (i = 0; i < n; i++) { t = i / n
      printf "fill %s ellipse %.2f,%.2f %.2f,%.2f 0,360\n", shade(d, m, l, t ^ 0.9), t * hx * rx, t * hy * ry, rx * (1 - t), ry * (1 - t) }
    print "pop graphic-context" }
  # soft blob (shadow, blush, gloss): translucent ellipses piled up, densest in the middle
  function soft(cx, cy, rx, ry, col, alpha, shrink,   i, t) {
    for (i = 0; i < 14; i++) { t = i / 14
      printf "fill %s%02X ellipse %.2f,%.2f %.2f,%.2f 0,360\n", col, alpha, cx, cy, rx * (1 - shrink * t), ry * (1 - shrink * t) } }
  BEGIN {
    W = 432; H = 548; HZ = 228; VX = 216
    print "viewbox 0 0 " W * S " " H * S
    if (S > 1) print "affine " S ",0,0," S "," (S - 1) / 2 "," (S - 1) / 2
    # floor grid seen at an angle: rays from the vanishing point, rows closer together far away
    print "stroke #8DB3DD stroke-width 1.6 fill none"
    for (k = -14; k <= 14; k++) printf "line %d,%d %.1f,%d\n", VX, HZ, VX + k * 70, H + 60
    for (z = 1; z <= 40; z++) { y = HZ + 600 / (z + 1.5); if (y < H) printf "line 0,%.1f %d,%.1f\n", y, W, y }
    print "stroke none"
    for (i = 0; i < 30; i++) printf "fill #EEF5FF28 rectangle 0,%d %d,%d\n", HZ, W, HZ + 4 + i * 4   # haze near the horizon
    soft(216, 494, 130, 30, "#1A3050", 14, 0.6)             # shadow on the floor
    # the figure, back to front
    ball(176, 482, 38, 20, 0, "#7A1010", "#E0403A", "#FFB0A0")   # shoes
    ball(256, 482, 38, 20, 0, "#7A1010", "#E0403A", "#FFB0A0")
    ball(188, 440, 22, 36, 0, G1, G2, G3)                  # legs
    ball(244, 440, 22, 36, 0, G1, G2, G3)
    ball(138, 368, 20, 44, 35, G1, G2, G3)                 # arm hanging down
    ball(312, 298, 20, 48, 45, G1, G2, G3)                 # arm waving
    ball(216, 372, 82, 84, 0, G1, G2, G3)                  # body
    ball(216, 392, 50, 50, 0, "#8FC860", "#C8F08A", "#F4FFD8")   # belly
    ball(114, 404, 24, 24, 0, G1, G2, G3)                  # hands
    ball(346, 262, 24, 24, 0, G1, G2, G3)
    soft(216, 292, 84, 26, "#0A3000", 18, 0.6)             # head casts a shadow on the body
    print "stroke #2A7A1A stroke-width 6 line 216,100 214,62 stroke none"   # antenna
    ball(214, 52, 20, 20, 0, "#8A1060", PINK, "#FFD0F2")
    ball(216, 196, 116, 102, 0, G1, G2, G3)                # head
    ball(170, 178, 28, 34, 0, "#9AA8B8", "#F2F6FA", "#FFFFFF")   # eyes
    ball(262, 178, 28, 34, 0, "#9AA8B8", "#F2F6FA", "#FFFFFF")
    ball(178, 186, 14, 18, 0, "#000000", "#141414", "#3A3A48")   # pupils
    ball(270, 186, 14, 18, 0, "#000000", "#141414", "#3A3A48")
    print "fill #FFFFFF circle 172,178 172,172 circle 264,178 264,172"
    soft(124, 226, 22, 12, "#FF86B8", 34, 0.6); soft(308, 226, 22, 12, "#FF86B8", 34, 0.6)   # blush
    print "fill #7A1020 path \"M 186,236 Q 216,284 246,236 Z\""                      # mouth
    print "fill #FF6A7A path \"M 200,256 Q 216,244 232,256 Q 216,268 200,256 Z\""   # tongue
    soft(168, 124, 40, 18, "#FFFFFF", 22, 1)               # gloss on the head
  }'
}
# portrait SCALE FILE
portrait() {
  local s=$1
  "$IM" -size $((432 * s))x$((228 * s)) gradient:'#B9D3EE'-'#F2F8FF' -size $((432 * s))x$((320 * s)) gradient:'#E8F2FF'-'#BCD6F3' -append \
    \( -size $((432 * s))x$((548 * s)) xc:none -draw "$(portrait_mvg "$s")" \) -composite \
    -filter Lanczos -resize $((216 * s))x$((274 * s)) -strip -interlace none -quality 92 "$2"
}
portrait 1 "$OUT/portrait.jpg"
portrait 2 "$OUT/portrait@2x.jpg"

# ---------------------------------------------------------------------------
# arrow.ico: black arrow with a dotted ghost trailing below-left. Hard edges
# and a palette image with alpha, so ImageMagick stores 16-colour (4-bit)
# icons with a transparency mask. Both sizes stay in memory: a round trip
# through PNG made ImageMagick fall back to 1-bit icons. The double-size icon
# holds 64x64, drawn from the 32x32 shapes, and the 32x32 again.
# ---------------------------------------------------------------------------
# dots point|square X Y X Y ... : a point every 2 pixels around a closed polygon
# (crisp dotted outline); a square is that pixel as a shape, which scales.
dots() {
  local shape=$1; shift
  echo "$@" | awk -v shape="$shape" '{ n = NF / 2; for (i = 0; i < n; i++) { x[i] = $(2 * i + 1); y[i] = $(2 * i + 2) }
    for (i = 0; i < n; i++) { j = (i + 1) % n; dx = x[j] - x[i]; dy = y[j] - y[i]
      L = sqrt(dx * dx > dy * dy ? dx * dx : dy * dy)
      for (s = 0; s < L; s += 2) { px = int(x[i] + dx * s / L + 0.5); py = int(y[i] + dy * s / L + 0.5)
        if (shape == "point") printf "point %d,%d ", px, py
        else printf "rectangle %.1f,%.1f %.1f,%.1f ", px - 0.5, py - 0.5, px + 0.5, py + 0.5 } } }'
}
ARROW_GHOST=(2 18 11 18 11 12 20 21 11 30 11 24 2 24)
ARROW_DOTS=$(dots point "${ARROW_GHOST[@]}")
ARROW_SHAPE="polygon 10,8 19,8 19,2 28,11 19,20 19,14 10,14"
"$IM" \( -size 32x32 xc:none +antialias \
     -fill '#202020' -draw "$ARROW_DOTS" \
     -fill black -draw "$ARROW_SHAPE" \) \
  \( -size 16x16 xc:none +antialias \
     -fill '#202020' -draw "$(dots point 0 10 4 10 4 7 8 11 4 15 4 12 0 12)" \
     -fill black -draw "rectangle 3,4 7,6 line 8,1 8,9 line 9,2 9,8 line 10,3 10,7 line 11,4 11,6 point 12,5" \) \
  -type PaletteAlpha -strip "$OUT/arrow.ico"
"$IM" \( -size 64x64 xc:none +antialias "${AT2X[@]}" \
     -fill '#202020' -draw "$(dots square "${ARROW_GHOST[@]}")" \
     -fill black -draw "$ARROW_SHAPE" \) \
  \( -size 32x32 xc:none +antialias \
     -fill '#202020' -draw "$ARROW_DOTS" \
     -fill black -draw "$ARROW_SHAPE" \) \
  -type PaletteAlpha -strip "$OUT/arrow@2x.ico"

# ---------------------------------------------------------------------------
# smiley.ico: smooth 32x32; the 16x16 is placed pixel by pixel to stay sharp.
# The double-size icon holds the smooth drawing at 64x64 and at 32x32.
# ---------------------------------------------------------------------------
# smiley SCALE FILE
smiley() {
  local scale=() size=32x32
  [[ $1 == 2 ]] && scale=("${AT2X[@]}") size=64x64
  "$IM" -size $size xc:none "${scale[@]}" \
    -stroke black -strokewidth 1.6 -fill '#FFE01A' -draw "circle 15.5,15.5 15.5,1.3" \
    -stroke none -fill black -draw "ellipse 11,12 2,3.2 0,360 ellipse 20,12 2,3.2 0,360" \
    -fill none -stroke black -strokewidth 2 -draw "path 'M 8.5,18.5 Q 15.5,27.5 22.5,18.5'" \
    "$2"
}
smiley 1 "$TMP/smiley32.png"
smiley 2 "$TMP/smiley64.png"
"$IM" -size 16x16 xc:none +antialias -draw "$(pixmap 'K=#000000 Y=#FFE01A' \
  '.....KKKKKK.....' \
  '...KKYYYYYYKK...' \
  '..KYYYYYYYYYYK..' \
  '.KYYYYYYYYYYYYK.' \
  '.KYYYKYYYYKYYYK.' \
  'KYYYYKYYYYKYYYYK' \
  'KYYYYKYYYYKYYYYK' \
  'KYYYYYYYYYYYYYYK' \
  'KYYYYYYYYYYYYYYK' \
  'KYYKYYYYYYYYKYYK' \
  'KYYYKYYYYYYKYYYK' \
  '.KYYYKKKKKKYYYK.' \
  '.KYYYYYYYYYYYYK.' \
  '..KYYYYYYYYYYK..' \
  '...KKYYYYYYKK...' \
  '.....KKKKKK.....')" "$TMP/smiley16.png"
"$IM" "$TMP/smiley32.png" "$TMP/smiley16.png" -strip "$OUT/smiley.ico"
"$IM" "$TMP/smiley64.png" "$TMP/smiley32.png" -strip "$OUT/smiley@2x.ico"

# ---------------------------------------------------------------------------
# Application icon. The SVG is the master for the larger sizes; 32 and 16
# pixels are drawn by hand on the same tile, because a scaled-down vector
# picture turns to mush there.
# ---------------------------------------------------------------------------
cat > "$OUT/app-icon.svg" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="128" height="128" viewBox="0 0 128 128">
  <title>Catch the Moxel</title>
  <!-- rounded dark tile -->
  <rect x="2" y="2" width="124" height="124" rx="26" ry="26" fill="$TILE" stroke="$TILE_EDGE" stroke-width="3"/>
  <!-- shadow at the feet -->
  <ellipse cx="64" cy="112" rx="32" ry="5" fill="#56617E" stroke="none"/>
  <!-- legs and shoes -->
  <rect x="49" y="92" width="11" height="15" fill="$GREEN_DARK" stroke="$INK" stroke-width="2.5"/>
  <rect x="68" y="92" width="11" height="15" fill="$GREEN_DARK" stroke="$INK" stroke-width="2.5"/>
  <ellipse cx="52" cy="108" rx="10" ry="5" fill="$SHOE" stroke="$INK" stroke-width="2.5"/>
  <ellipse cx="76" cy="108" rx="10" ry="5" fill="$SHOE" stroke="$INK" stroke-width="2.5"/>
  <!-- arms: a wide dark stroke under a narrower green one, then round hands -->
  <path d="M 46 84 L 28 96 M 82 84 L 100 70" fill="none" stroke="$INK" stroke-width="11" stroke-linecap="round"/>
  <path d="M 46 84 L 28 96 M 82 84 L 100 70" fill="none" stroke="$GREEN" stroke-width="6" stroke-linecap="round"/>
  <circle cx="26" cy="97" r="7" fill="$GREEN" stroke="$INK" stroke-width="2.5"/>
  <circle cx="102" cy="68" r="7" fill="$GREEN" stroke="$INK" stroke-width="2.5"/>
  <!-- body with a pale belly -->
  <ellipse cx="64" cy="84" rx="22" ry="17" fill="$GREEN" stroke="$INK" stroke-width="2.5"/>
  <ellipse cx="64" cy="88" rx="13" ry="10" fill="$GREEN_PALE" stroke="none"/>
  <!-- antenna with a pink bobble -->
  <path d="M 64 24 L 64 12" fill="none" stroke="$INK" stroke-width="3"/>
  <circle cx="64" cy="11" r="6" fill="$PINK" stroke="$INK" stroke-width="2.5"/>
  <!-- head -->
  <ellipse cx="64" cy="46" rx="33" ry="27" fill="$GREEN" stroke="$INK" stroke-width="2.5"/>
  <ellipse cx="50" cy="29" rx="8" ry="3.5" fill="$GREEN_PALE" stroke="none"/>
  <!-- eyes -->
  <ellipse cx="52" cy="43" rx="8" ry="10" fill="$EYE" stroke="$INK" stroke-width="2"/>
  <ellipse cx="76" cy="43" rx="8" ry="10" fill="$EYE" stroke="$INK" stroke-width="2"/>
  <circle cx="54" cy="46" r="4.5" fill="#101010" stroke="none"/>
  <circle cx="78" cy="46" r="4.5" fill="#101010" stroke="none"/>
  <circle cx="55.5" cy="44" r="1.5" fill="$EYE" stroke="none"/>
  <circle cx="79.5" cy="44" r="1.5" fill="$EYE" stroke="none"/>
  <!-- blush and smile -->
  <ellipse cx="40" cy="58" rx="5" ry="3" fill="$CHEEK" stroke="none"/>
  <ellipse cx="88" cy="58" rx="5" ry="3" fill="$CHEEK" stroke="none"/>
  <path d="M 56 59 Q 64 68 72 59 Z" fill="$MOUTH" stroke="none"/>
</svg>
EOF

# Large sizes: render the SVG big (768 px) and reduce, which anti-aliases well.
"$IM" -background none -density 576 "$OUT/app-icon.svg" "$TMP/app-icon-768.png"
for s in 48 64 128; do
  "$IM" "$TMP/app-icon-768.png" -filter Lanczos -resize ${s}x${s} -depth 8 "${PNG_CLEAN[@]}" "$OUT/app-icon-$s.png"
done

# 32 px: the same figure from shapes snapped to whole pixels.
"$IM" -size 32x32 xc:none \
  -fill "$TILE" -stroke "$TILE_EDGE" -strokewidth 1 -draw "roundrectangle 0.5,0.5 31.5,31.5 6,6" \
  +antialias -stroke none -fill '#56617E' -draw "ellipse 15.5,28 9,1.6 0,360" \
  -stroke "$INK" -strokewidth 1 -fill "$GREEN_DARK" -draw "rectangle 11,22 13,25 rectangle 18,22 20,25" \
  -fill "$SHOE" -draw "roundrectangle 9,25 14,28 1,1 roundrectangle 17,25 22,28 1,1" \
  -strokewidth 3 -draw "line 10,20 6,23 line 21,19 26,17" \
  -stroke "$GREEN" -strokewidth 1 -draw "line 10,20 6,23 line 21,19 26,17" \
  -stroke none -fill "$INK" -draw "roundrectangle 3,22 7,26 1,1 roundrectangle 25,14 29,18 1,1" \
  -fill "$GREEN" -draw "rectangle 4,23 6,25 rectangle 26,15 28,17" \
  -stroke "$INK" -draw "ellipse 15.5,19.5 6.5,4.5 0,360" \
  -stroke none -fill "$GREEN_PALE" -draw "ellipse 15.5,20.5 3.5,2.5 0,360" \
  -stroke "$INK" -fill "$GREEN" -draw "ellipse 15.5,10.5 10,7 0,360" \
  -fill "$PINK" -draw "circle 15.5,2.5 15.5,4.3" \
  -stroke none -fill "$EYE" -draw "ellipse 12,9.5 2,2.6 0,360 ellipse 19,9.5 2,2.6 0,360" \
  -fill '#101010' -draw "rectangle 12,9 13,11 rectangle 19,9 20,11" \
  -fill "$CHEEK" -draw "rectangle 8,13 9,13 rectangle 22,13 23,13" \
  -fill "$MOUTH" -draw "rectangle 14,14 17,14 rectangle 15,15 16,15" \
  -depth 8 "${PNG_CLEAN[@]}" "$OUT/app-icon-32.png"

# 16 px: pixel by pixel.
"$IM" -size 16x16 xc:none \
  -fill "$TILE" -stroke "$TILE_EDGE" -strokewidth 1 -draw "roundrectangle 0.5,0.5 15.5,15.5 3,3" \
  +antialias -stroke none -draw "$(pixmap "G=$GREEN D=$GREEN_DARK L=$GREEN_PALE W=$EYE K=#101010 P=$PINK R=$SHOE p=$CHEEK m=$MOUTH" \
  '................' \
  '.......PP.......' \
  '.....GGGGGG.....' \
  '....GGGGGGGG....' \
  '...GGWWGGWWGG...' \
  '...GGWKGGWKGG...' \
  '...GGWKGGWKGG...' \
  '...GpGGGGGGpG...' \
  '....GGGmmGGG..G.' \
  '.....GGGGGG.GG..' \
  '....GGLLLLGGG...' \
  '...GGGLLLLGG....' \
  '..GG.GGGGGG.....' \
  '.....DD..DD.....' \
  '....RRR..RRR....' \
  '................')" \
  -depth 8 "${PNG_CLEAN[@]}" "$OUT/app-icon-16.png"

# The Windows icon: every size above, and 256 px for large icon views.
"$IM" "$TMP/app-icon-768.png" -filter Lanczos -resize 256x256 -depth 8 "${PNG_CLEAN[@]}" "$TMP/app-icon-256.png"
"$IM" "$OUT"/app-icon-{16,32,48,64,128}.png "$TMP/app-icon-256.png" "$OUT/app-icon.ico"

echo "pictures written to $OUT"
