#!/usr/bin/env bash
# The clipboard image on a real X server: another program (xclip) reads the
# figure back as PNG, pixel for pixel equal to the rendered figure, and as
# JPEG with the colour at full resolution, close to the figure.
set -euo pipefail
probe="$1"
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xvfb.sh
source "$here/xvfb.sh"
begin_run
start_xvfb

"$probe" "$work/expected.png" >"$work/probe.out" 2>"$work/probe.err" &
program_pid=$!
for _ in $(seq 200); do
  grep -q ready "$work/probe.out" && break
  sleep 0.05
done
grep -q "information: Image copied into the clipboad" "$work/probe.out"

targets=$(xclip -selection clipboard -t TARGETS -o)
echo "clipboard offers: $(echo $targets)"
echo "$targets" | grep -qx "image/png"
xclip -selection clipboard -t image/png -o >"$work/pasted.png"
differing=$(compare -metric AE "$work/expected.png" "$work/pasted.png" null: 2>&1 || true)
echo "differing pixels: $differing"
[ "$differing" = "0" ]
identify -format "%w x %h\n" "$work/pasted.png" | grep -qx "254 x 254"
echo "clipboard image equals the figure"

for type in image/jpeg image/jpg; do
  echo "$targets" | grep -qx "$type"
  xclip -selection clipboard -t "$type" -o >"$work/pasted.jpg"
  identify -format "%[jpeg:sampling-factor]\n" "$work/pasted.jpg" | grep -qx "1x1,1x1,1x1"
  psnr=$(compare -metric PSNR "$work/expected.png" "$work/pasted.jpg" null: 2>&1 || true)
  echo "clipboard $type: PSNR $psnr dB"
  awk -v psnr="$psnr" 'BEGIN { exit !(psnr + 0 >= 38) }'
done
echo "clipboard JPEG keeps the colours"
