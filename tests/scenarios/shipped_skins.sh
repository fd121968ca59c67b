#!/usr/bin/env bash
# The skins we ship: skinart still draws the committed sources in skins/ byte for byte, the
# build packed each into Skins/NAME.asz beside the program, and skintool inspect loads the
# folder and the packed form without a message and to the same model.
set -euo pipefail
build=$1
src=$(cd "$(dirname "$0")/../.." && pwd)
skinart="$build/tools/skinart"
skintool="$build/tools/skintool"
[ -x "$skinart" ] && [ -x "$skintool" ] || { echo "no skinart or skintool"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$skinart" check "$src/skins" || { echo "skins/ is not what skinart draws"; exit 1; }
# The check itself catches a changed byte, a missing file and a file left over.
cp -r "$src/skins" "$work/copy"
printf 'x' | dd of="$work/copy/Daybreak/MASTER.BMP" bs=1 seek=100 conv=notrunc status=none
rm "$work/copy/DarkGlass/GLOW3.PNG"
touch "$work/copy/DarkGlass/notes.txt"
if "$skinart" check "$work/copy" 2>"$work/check.err"; then echo "a damaged copy passed the check"; exit 1; fi
for what in "Daybreak: MASTER.BMP differs" "DarkGlass: GLOW3.PNG is missing" "DarkGlass: notes.txt is not drawn"; do
  grep -q "$what" "$work/check.err" || { echo "the check did not say: $what"; cat "$work/check.err"; exit 1; }
done

for name in DarkGlass Daybreak; do
  packed="$build/Skins/$name.asz"
  [ -f "$packed" ] || { echo "$packed was not built"; exit 1; }
  "$skintool" inspect "$src/skins/$name" --json >"$work/folder.json" 2>"$work/folder.err"
  "$skintool" inspect "$packed" --json >"$work/packed.json" 2>"$work/packed.err"
  for f in folder packed; do
    [ -s "$work/$f.err" ] && { echo "$name ($f) printed:"; cat "$work/$f.err"; exit 1; }
  done
  # Versions above 6.99 make the engine show a notice; ours must not.
  grep -q '"Version":6.5' "$work/folder.json" || { echo "$name: unexpected version"; exit 1; }
  grep -q '"archive":{"ImageItemCount":7' "$work/packed.json" || { echo "$name: the archive lacks pictures"; exit 1; }
  sed 's/,"archive":{.*}}$/}/' "$work/packed.json" >"$work/packed-model.json"
  cmp -s "$work/folder.json" "$work/packed-model.json" || { echo "$name: packed and folder skins differ"; exit 1; }
  # Every picture the window needs came through: 30 image entries, the master bitmap.
  [ "$(grep -o '"PropertyName"' "$work/folder.json" | wc -l)" -eq 30 ] || { echo "$name: image entries missing"; exit 1; }
done
# The preview paints either form; a skin that is not there is a clear error, not a blank sheet.
"$skinart" preview "$build/Skins/Daybreak.asz" "$work/preview.png"
# PNG header: width 1040 and height 760, big-endian, at bytes 16 to 23.
size=$(head -c 24 "$work/preview.png" | tail -c 8 | od -An -tx1 | tr -d ' \n')
[ "$size" = "00000410000002f8" ] || { echo "the preview is not a 1040 x 760 picture ($size)"; exit 1; }
if "$skinart" preview "$work/NoSuchSkin" "$work/none.png" 2>"$work/preview.err"; then
  echo "a missing skin was previewed"; exit 1
fi
grep -q "no skin at" "$work/preview.err" || { echo "no message for a missing skin"; exit 1; }
[ ! -e "$work/none.png" ] || { echo "a picture was written for a missing skin"; exit 1; }
echo "scenario passed"
