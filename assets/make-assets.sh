#!/bin/bash
# make-assets.sh: draws the program's pictures with ImageMagick 6 and writes them
# beside this script: logo.jpg (200x101), device.jpg (400x201) and the icon as
# icon-64.png, icon-32.png, icon-24.png, icon-16.png (RGBA, transparent), which the
# program carries, and icon-256.png, icon-128.png, which only the install carries
# (for menus and software centres).
#
# Everything is drawn from primitives, so the pictures are ours and can be redrawn
# at any time. Shapes are drawn at two (device) or four (mark) times their final size
# and scaled down, which gives smooth edges. Metadata is stripped so a re-run writes
# the same bytes.
#
# Needs: convert (ImageMagick 6) and fonts-liberation2. Fails (non-zero exit) when
# either is missing or a picture comes out at the wrong size.
set -euo pipefail
# Decimal points in the drawing commands must stay points.
export LC_ALL=C

OUT="$(cd "$(dirname "$0")" && pwd)"
FONTS=/usr/share/fonts/truetype/liberation2
BOLD="$FONTS/LiberationSans-Bold.ttf"
REGULAR="$FONTS/LiberationSans-Regular.ttf"
MONO_BOLD="$FONTS/LiberationMono-Bold.ttf"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

for font in "$BOLD" "$REGULAR" "$MONO_BOLD"; do
  [ -f "$font" ] || { echo "make-assets: missing font $font (install fonts-liberation2)" >&2; exit 1; }
done
command -v convert >/dev/null || { echo "make-assets: ImageMagick convert not found" >&2; exit 1; }

# The palette every picture shares.
INK='#24313f'       # outlines and the word
MERCURY='#d8412f'   # thermometer column
WATER='#2a86d1'     # droplet
WATER_LIGHT='#8cc8f2'
GLASS='#ffffff'

# PNG and JPEG options that keep the files small and free of timestamps.
PNG_OPTS=(-strip -define "png:exclude-chunks=date,time" -define png:compression-level=9)
JPEG_OPTS=(-strip -interlace none -sampling-factor 2x2 -quality 90 -colorspace sRGB)

# ---------------------------------------------------------------------------
# The mark: thermometer and droplet on a 64-unit grid. $1 is the outline width in
# grid units (small icons get thicker lines so they stay readable).
# ---------------------------------------------------------------------------
mark_mvg() {
  local line="$1"
  cat <<EOF
stroke '$INK' stroke-width $line stroke-linejoin round stroke-linecap round
fill '$GLASS'
path 'M 13,38 L 13,12 A 8,8 0 0 1 29,12 L 29,38 A 12,12 0 1 1 13,38 Z'
stroke none fill '$MERCURY'
roundrectangle 18,14 24,46 3,3
circle 21,47 21,55
stroke '$INK' stroke-width $(awk "BEGIN{print $line*0.7}")
line 30,12 26,12
line 30,20 27,20
line 30,28 26,28
stroke '$INK' stroke-width $line fill '$WATER'
path 'M 47,20 C 47,20 35,35 35,46 C 35,53 40.5,58.5 47,58.5 C 53.5,58.5 59,53 59,46 C 59,35 47,20 47,20 Z'
stroke none fill '$WATER_LIGHT'
path 'M 41,45 C 41,41 43,37 45,34 C 44,39 43.5,43 44,47 Z'
EOF
}

# Draws the mark at $1 x $1 pixels (transparent) into file $3, outline width $2.
draw_mark() {
  local size="$1" line="$2" file="$3"
  local big=$((size * 4))
  local scale
  scale=$(awk "BEGIN{print $big/64}")
  convert -size "${big}x${big}" xc:none \
    -draw "scale $scale,$scale translate -2,0 $(mark_mvg "$line")" \
    -filter Lanczos -resize "${size}x${size}" "$file"
}

# ---------------------------------------------------------------------------
# Icon: drawn for each size, outlines thicker as the icon gets smaller.
# ---------------------------------------------------------------------------
make_icons() {
  draw_mark 256 2.4 "$WORK/i256.png"
  draw_mark 128 2.7 "$WORK/i128.png"
  draw_mark 64 3 "$WORK/i64.png"
  draw_mark 32 3.6 "$WORK/i32.png"
  draw_mark 24 4.2 "$WORK/i24.png"
  draw_mark 16 5 "$WORK/i16.png"
  for size in 256 128 64 32 24 16; do
    convert "$WORK/i$size.png" "${PNG_OPTS[@]}" "PNG32:$OUT/icon-$size.png"
  done
}

# ---------------------------------------------------------------------------
# Logo: the mark and the name on white, 200 x 101.
# ---------------------------------------------------------------------------
make_logo() {
  draw_mark 66 3 "$WORK/logo-mark.png"
  convert -size 200x101 xc:white \
    "$WORK/logo-mark.png" -geometry +4+16 -composite \
    -font "$BOLD" -pointsize 25 -fill "$INK" -annotate +68+55 'Clima' \
    -fill "$WATER" -annotate +136+55 'desk' \
    -stroke "$WATER" -strokewidth 2 -draw 'line 70,65 191,65' -stroke none \
    -font "$REGULAR" -pointsize 9.5 -fill '#5b6875' -annotate +70+81 'Temperature & Humidity' \
    "${JPEG_OPTS[@]}" "$OUT/logo.jpg"
}

# ---------------------------------------------------------------------------
# Device: a display logger wired to a router and a PC, 400 x 201. The parts are
# laid out on the 400 x 201 grid; each dark copy behind a part is its shadow.
# ---------------------------------------------------------------------------
# The floor and the two network cables.
cables_mvg() {
  cat <<EOF
stroke none fill '#3a4350'
rectangle 0,168 400,201
stroke '#1a1f26' stroke-width 5 fill none stroke-linecap round
path 'M 150,120 C 178,120 178,142 206,142'
path 'M 286,142 C 298,142 298,154 310,154'
EOF
}

# The logger: case, base with vents, display frame, status lamp, keys, socket.
# The readings on its display are text, added in make_device.
logger_mvg() {
  cat <<EOF
stroke none fill '#15191f'
roundrectangle 24,58 156,170 14,14
fill '#e9ecef'
roundrectangle 22,54 152,164 14,14
fill '#cfd5db'
roundrectangle 22,144 152,164 14,14
rectangle 22,144 152,150
fill '#d6dbe0'
rectangle 22,140 152,146
fill '#2f3a46'
roundrectangle 34,66 140,126 6,6
fill '#b8d4a6'
roundrectangle 39,71 135,121 3,3
fill '#46c26a'
circle 114,134 114,137
fill '#8f99a4'
circle 126,134 126,137
circle 136,134 136,137
fill '#b3bac2'
roundrectangle 36,151 60,155 2,2
roundrectangle 64,151 88,155 2,2
roundrectangle 92,151 116,155 2,2
fill '#8f99a4'
rectangle 150,114 160,126
EOF
}

# The router: box, port lamps, two antennas.
router_mvg() {
  cat <<EOF
stroke none fill '#15191f'
roundrectangle 208,126 290,168 7,7
fill '#5c6775'
roundrectangle 206,122 286,164 7,7
fill '#485260'
rectangle 206,150 286,156
fill '#6fe08e'
circle 220,136 220,139
circle 232,136 232,139
fill '#f0c040'
circle 244,136 244,139
fill '#6fe08e'
circle 256,136 256,139
stroke '#5c6775' stroke-width 4 stroke-linecap round
line 220,122 212,96
line 272,122 280,96
EOF
}

# The PC: a monitor showing a graph, its stand, and the computer below.
pc_mvg() {
  cat <<EOF
stroke none fill '#15191f'
roundrectangle 318,58 392,120 6,6
fill '#dfe3e8'
roundrectangle 314,54 388,116 6,6
fill '#2a86d1'
rectangle 320,60 382,106
fill '#5aa8e4'
path 'M 320,106 L 345,82 L 360,96 L 370,88 L 382,100 L 382,106 Z'
stroke '#ffffff' stroke-width 1.5 fill none
path 'M 324,92 L 334,86 L 344,89 L 354,78 L 364,81 L 374,72 L 380,74'
stroke none fill '#c4cad1'
rectangle 344,116 358,134
fill '#dfe3e8'
roundrectangle 330,132 372,140 3,3
fill '#15191f'
roundrectangle 312,150 394,166 4,4
fill '#c4cad1'
roundrectangle 310,146 390,162 4,4
EOF
}

make_device() {
  # Drawn at twice the size and scaled down; text positions are in the doubled grid.
  convert -size 800x402 gradient:'#5f6b79-#2f3742' \
    -draw "scale 2,2 $(cables_mvg) $(logger_mvg) $(router_mvg) $(pc_mvg)" \
    -font "$MONO_BOLD" -fill '#1f3326' \
    -pointsize 48 -annotate +92+190 '21.5' \
    -font "$BOLD" -pointsize 26 -annotate +212+176 '°C' \
    -font "$MONO_BOLD" -pointsize 32 -annotate +92+230 '45' \
    -font "$BOLD" -pointsize 20 -annotate +140+230 '%%RH' \
    -font "$BOLD" -pointsize 16 -fill '#5c6773' -annotate +68+274 'Climadesk' \
    -filter Lanczos -resize 400x201! \
    "${JPEG_OPTS[@]}" "$OUT/device.jpg"
}

# Stops with a message when a picture is not exactly the size the program expects.
check_size() {
  local file="$1" want="$2"
  local got
  got=$(identify -format '%wx%h' "$OUT/$file")
  [ "$got" = "$want" ] || { echo "make-assets: $file is $got, want $want" >&2; exit 1; }
}

make_icons
make_logo
make_device
check_size logo.jpg 200x101
check_size device.jpg 400x201
for size in 256 128 64 32 24 16; do check_size "icon-$size.png" "${size}x${size}"; done
echo "make-assets: wrote logo.jpg device.jpg icon-{256,128,64,32,24,16}.png in $OUT"
