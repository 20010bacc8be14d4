#!/usr/bin/env bash
# decagon.exe on screens scaled to 100 %, 150 % and 200 % (96, 144 and 192
# dpi, the LogPixels of a wine prefix of its own): after a Compute, the
# window's screenshot holds the preview box at 250, 375 and 500 device
# pixels, 10 and 100 scaled pixels from the client area's right and top
# edges, the construction picture at 253 x 300 scaled pixels and the icon's
# decagon at its 96-dpi size scaled. The box's
# pixels are those of the 96-dpi box, each a block, and the same as the Qt
# view shows at the same scale (QT_SCALE_FACTOR), when a Linux build of it is
# given.
# Usage: dpi_e2e.sh DECAGON_EXE WINE [QT_DECAGON]
set -euo pipefail
program=$1
wine=$2
qt_program=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../e2e/xvfb.sh
source "$here/../e2e/xvfb.sh"
# shellcheck source=privateprefix.sh
source "$here/privateprefix.sh"
# Room for the dialog at 200 %: 2574 x 956 pixels.
export XVFB_SCREEN=2800x1200x24
begin_private_prefix
# A length of 96-dpi pixels at a resolution, rounded as the program does.
scaled() { echo $((($1 * $2 + 48) / 96)); }
# Whether two lengths differ by at most one pixel (rounding).
near() { [ $(($1 - $2)) -le 1 ] && [ $(($2 - $1)) -le 1 ]; }
# The bounding box "w h x y" of the pixels of one colour in a part of an image.
box_of() {
  local image=$1 part=$2 colour=$3
  convert "$image" -crop "$part" +repage -fill "#123456" +opaque "$colour" -trim -format '%w %h %X %Y\n' info: |
    tr -d '+'
}

# The Qt view at the same scale, with the settings of a first start: its
# preview box, found the same way, against the one in $work/box.png.
compare_with_qt() {
  local dpi=$1 side=$2 factor qt_window qt_pid shot w h x y differing
  factor=$(awk -v dpi="$dpi" 'BEGIN { print dpi / 96 }')
  rm -rf "$work/qt"
  mkdir -p "$work/qt"
  cp "$qt_program" "$work/qt/decagon"
  (cd "$work/qt" && QT_SCALE_FACTOR=$factor exec ./decagon) >/dev/null 2>&1 &
  qt_pid=$!
  qt_window=$(wait_for_window "Define the decagon") || stop "the Qt view did not show"
  compute_height "$qt_window" 254.884 "$work/qt/Vanteo.ini" "Rayon Exterieur=127.4420"
  sleep 1
  shot="$work/qt-$dpi.png"
  import -window "$qt_window" "$shot"
  xdotool key Escape
  for _ in $(seq 100); do kill -0 "$qt_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$qt_pid" 2>/dev/null || true
  wait "$qt_pid" 2>/dev/null || true
  read -r w h x y < <(box_of "$shot" "${part_width}x${part_height}+$(($(identify -format %w "$shot") - part_width))+0" \
    "#000000")
  [ "$w" = "$side" ] && [ "$h" = "$side" ] || {
    fail "the Qt view's box is $w x $h at $dpi dpi, the Windows one $side"
    return
  }
  convert "$shot" -crop "${w}x${h}+$(($(identify -format %w "$shot") - part_width + x))+$y" +repage "$work/qt-box.png"
  differing=$(compare -metric AE "$work/box.png" "$work/qt-box.png" null: 2>&1 || true)
  echo "box at $dpi dpi against the Qt view's: $differing differing pixels"
  if [ $((dpi % 96)) = 0 ]; then
    [ "$differing" = 0 ] || fail "the preview at $dpi dpi differs from the Qt view's in $differing pixels"
  else
    # Blocks of one and a half pixels: the two toolkits round the block
    # edges each their own way. Sampled back, both are the same box.
    for box in box qt-box; do
      convert "$work/$box.png" -filter point -resize 250x250! "$work/$box-250.png"
    done
    differing=$(compare -metric AE "$work/box-250.png" "$work/qt-box-250.png" null: 2>&1 || true)
    echo "sampled back to 250 x 250: $differing differing pixels"
    [ "$differing" = 0 ] || fail "the preview at $dpi dpi is another box than the Qt view's ($differing pixels)"
  fi
}

start_private_prefix
mkdir -p "$work/app"
cp "$program" "$work/app/decagon.exe"

for dpi in 96 144 192; do
  echo "== $dpi dpi"
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  wineserver -k 2>/dev/null || true # the next start reads the new resolution
  wineserver -w 2>/dev/null || true
  rm -f "$work/app/Vanteo.ini"
  (cd "$work/app" && exec "$wine" decagon.exe) &
  program_pid=$!
  window=$(wait_for_window "Define the decagon") || stop "the window did not show at $dpi dpi"
  compute_height "$window" 254.884 "$work/app/Vanteo.ini" "Rayon Exterieur=127.4420"
  sleep 1 # the repaint after the Compute
  shot="$work/shot-$dpi.png"
  import -window "$window" "$shot"
  read -r width height < <(identify -format '%w %h\n' "$shot")
  echo "window $width x $height"

  # The preview: its background (black, the first start's) fills the box's
  # corners, and nothing else in its part of the window is black.
  part_width=$(scaled 300 "$dpi")
  part_height=$(scaled 400 "$dpi")
  read -r w h x y < <(box_of "$shot" "${part_width}x${part_height}+$((width - part_width))+0" "#000000")
  echo "preview box $w x $h, $((part_width - x - w)) from the right, $y from the top"
  near "$w" "$(scaled 250 "$dpi")" && near "$h" "$(scaled 250 "$dpi")" ||
    fail "the preview box is $w x $h at $dpi dpi, not $(scaled 250 "$dpi") square"
  near $((part_width - x - w)) "$(scaled 10 "$dpi")" && near "$y" "$(scaled 100 "$dpi")" ||
    fail "the preview box is not 10 and 100 scaled pixels from the right and the top at $dpi dpi"
  if [ "$dpi" = 96 ]; then
    convert "$shot" -crop "250x250+$((width - part_width + x))+$y" +repage "$work/box-96.png"
  else
    # Each pixel of the 96-dpi box became a block.
    convert "$shot" -crop "${w}x${h}+$((width - part_width + x))+$y" +repage -filter point -resize 250x250! \
      "$work/box-$dpi.png"
    differing=$(compare -metric AE "$work/box-96.png" "$work/box-$dpi.png" null: 2>&1 || true)
    echo "box at $dpi dpi against 96 dpi sampled back: $differing differing pixels"
    [ "${differing%%.*}" -le $((250 * 250 / 100)) ] 2>/dev/null ||
      fail "the preview at $dpi dpi is not the 96-dpi box in blocks ($differing pixels differ)"
  fi
  convert "$shot" -crop "${w}x${h}+$((width - part_width + x))+$y" +repage "$work/box.png"
  side=$w

  # The picture: white, left of the preview. The white of the fields there
  # goes first (an opening wider than a field is high).
  picture_width=$(scaled 420 "$dpi")
  read -r w h x y < <(convert "$shot" -crop "${picture_width}x$(scaled 420 "$dpi")+$((width - part_width + x - \
    picture_width))+0" +repage -fill black +opaque "#FFFFFF" -fill white -opaque "#FFFFFF" \
    -morphology Open "Square:$(scaled 12 "$dpi")" -trim -format '%w %h %X %Y\n' info: | tr -d '+')
  echo "picture $w x $h"
  near "$w" "$(scaled 253 "$dpi")" && near "$h" "$(scaled 300 "$dpi")" ||
    fail "the picture is $w x $h at $dpi dpi, not $(scaled 253 "$dpi") x $(scaled 300 "$dpi")"

  # The icon: the bounds of its decagon's brown edge, in the window's top
  # left part, grow with the scale.
  read -r w h x y < <(convert "$shot" -crop "$(scaled 500 "$dpi")x$(scaled 300 "$dpi")+0+0" +repage -fuzz 12% \
    -fill "#123456" +opaque "#5A3200" -trim -format '%w %h %X %Y\n' info: | tr -d '+')
  echo "icon's decagon $w x $h"
  [ "$dpi" = 96 ] && icon_width=$w icon_height=$h
  [ $((w - icon_width * dpi / 96)) -le 2 ] && [ $((icon_width * dpi / 96 - w)) -le 2 ] &&
    [ $((h - icon_height * dpi / 96)) -le 2 ] && [ $((icon_height * dpi / 96 - h)) -le 2 ] ||
    fail "the icon's decagon is $w x $h at $dpi dpi, $icon_width x $icon_height at 96 dpi"

  xdotool windowfocus --sync "$window"
  xdotool key Escape
  wait_for_exit

  # Once the Windows program is gone: both windows have the same title.
  if [ -x "$qt_program" ]; then
    compare_with_qt "$dpi" "$side"
  else
    echo "no Qt build given: the comparison with the Qt view is left out"
  fi
done

finish_checks "decagon.exe at 96, 144 and 192 dpi"
