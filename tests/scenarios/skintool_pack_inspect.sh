#!/usr/bin/env bash
# A folder skin written here (options text and pictures, one named in another letter case)
# and the archive skintool packs from it load to the same model: inspect --json prints the
# same JSON for both, apart from the archive's own member. A damaged archive fails with a
# message on stderr and exit code 1, and an empty file is refused by name when packing.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
skintool="$build/tools/skintool"
[ -x "$skintool" ] || { echo "no skintool"; exit 77; }
mkdir -p "$work/skins/Test"
printf '%s\r\n' '[GLOBALINFO]' 'VERSION=6.5' 'MASTERBITMAP=MASTER.BMP' 'AUTHOR=Tests' \
  '[PANEL]' 'COLOR=$00FF00' 'HOTCOLOR=$808080' 'BORDERSMASK=!FRAME.BMP!3!1!0' \
  '[EDIT]' 'PARENTCLASS=PANEL' 'COLOR=$FFFFFF' >"$work/skins/Test/Options.dat"
/usr/bin/convert -size 64x64 gradient:red-blue BMP3:"$work/skins/Test/MASTER.BMP"
/usr/bin/convert -size 24x8 xc:'#336699' BMP3:"$work/skins/Test/frame.bmp"

"$skintool" pack "$work/skins/Test" "$work/skins/Packed.asz"
"$skintool" inspect "$work/skins/Test" --json >"$work/folder.json"
"$skintool" inspect "$work/skins/Packed.asz" --json >"$work/packed.json"
grep -q '"archive":{"ImageItemCount":2' "$work/packed.json" || { echo "the packed skin lists no pictures"; exit 1; }
grep -q '"SectionName":"PANEL","PropertyName":"BORDERSMASK"' "$work/folder.json" ||
  { echo "the frame picture was not loaded"; exit 1; }
sed 's/,"archive":{.*}}$/}/' "$work/packed.json" >"$work/packed-model.json"
cmp -s "$work/folder.json" "$work/packed-model.json" || { echo "packed and folder skins differ"; exit 1; }

head -c 100 "$work/skins/Packed.asz" >"$work/skins/Broken.asz"
if "$skintool" inspect "$work/skins/Broken.asz" --json >/dev/null 2>"$work/err"; then
  echo "a damaged archive loaded"; exit 1
fi
[ -s "$work/err" ] || { echo "no message for a damaged archive"; exit 1; }
# An empty picture or options file would pack into an archive the reader refuses.
for empty in frame.bmp Options.dat; do
  cp -r "$work/skins/Test" "$work/Empty"
  : >"$work/Empty/$empty"
  if "$skintool" pack "$work/Empty" "$work/empty.asz" 2>"$work/err"; then
    echo "an empty $empty was packed"; exit 1
  fi
  grep -q "Empty/$empty is empty" "$work/err" || { echo "the message does not name $empty:"; cat "$work/err"; exit 1; }
  [ ! -e "$work/empty.asz" ] || { echo "an archive was written for an empty $empty"; exit 1; }
  rm -rf "$work/Empty"
done
echo "scenario passed"
