#!/usr/bin/env bash
# The committed art and licence text are what their generators make.
set -u
root=$1
d=$(mktemp -d)
trap 'rm -rf "$d"' EXIT
python3 "$root/tools/art/make_icons.py" "$d" >/dev/null || exit 1
python3 "$root/tools/art/make_caption_buttons.py" "$d" >/dev/null || exit 1
python3 "$root/tools/art/make_wizard_art.py" "$d" --no-banner >/dev/null || exit 1
python3 "$root/tools/art/make_licence.py" "$d/licence.txt" >/dev/null || exit 1
count=$(ls "$d" | wc -l)
[ "$count" -eq 10 ] || { echo "expected 10 generated files, got $count"; exit 1; }
fails=0
for f in "$d"/*; do
  if cmp -s "$f" "$root/assets/$(basename "$f")"; then echo "ok   $(basename "$f")"
  else echo "FAIL $(basename "$f") differs from its generator"; fails=$((fails + 1)); fi
done
# The banner is a JPEG of 987 x 495 (ImageMagick's encoder may differ between versions).
size=$(python3 - "$root/assets/banner.jpg" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
i = 2
while i < len(data):
    marker, length = data[i + 1], struct.unpack('>H', data[i + 2:i + 4])[0]
    if marker in (0xC0, 0xC1, 0xC2):
        h, w = struct.unpack('>HH', data[i + 5:i + 9])
        print(f'{w}x{h}')
        break
    i += 2 + length
PY
)
if [ "$size" = "987x495" ]; then echo "ok   banner.jpg 987x495"; else echo "FAIL banner.jpg is $size"; fails=$((fails + 1)); fi
[ $fails -eq 0 ]
