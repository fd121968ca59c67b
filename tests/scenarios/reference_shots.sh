#!/usr/bin/env bash
# The alarm clock in each shipped skin still looks as its reference pictures: the shots that
# scripts/refshots.sh takes (start, a run-time change to the other skin and back, box checked
# with the schedule disarmed and a hot box, the popup menu open, the toggle armed again under
# the pointer, a hot box's glow, a time edit focused, the window inactive behind a dialog) are
# compared with tests/reference. Changing the skin and back must leave nothing behind: each
# skin's back shot must equal its start shot of the same run. A pixel counts as equal when its colour
# lies within 1 % of full scale of the reference's (ImageMagick's -fuzz distance), which
# forgives rounding and nothing a user could see; not one pixel may differ beyond it. On a
# failure the new shots and the difference pictures are kept in BUILD/refshots-failed.
# After a deliberate change of the look: scripts/refshots.sh, look at the pictures, commit.
set -euo pipefail
build=$1
src=$(cd "$(dirname "$0")/../.." && pwd)
command -v compare >/dev/null || { echo "ImageMagick's compare is missing"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$src/scripts/refshots.sh" "$build" "$work/shots" >/dev/null
refs=("$src"/tests/reference/*.png)
[ -f "${refs[0]}" ] || { echo "no reference pictures in tests/reference"; exit 1; }
[ "$(ls "$work/shots" | wc -l)" = "${#refs[@]}" ] || { echo "the shots and the references do not pair up"; ls "$work/shots"; exit 1; }
failed=0
for ref in "${refs[@]}"; do
  name=$(basename "$ref")
  [ -f "$work/shots/$name" ] || { echo "$name was not taken"; failed=1; continue; }
  differing=$(compare -metric AE -fuzz 1% "$ref" "$work/shots/$name" "$work/shots/diff-$name" 2>&1 >/dev/null || true)
  [ "$differing" = 0 ] || { echo "$name: $differing pixels differ from the reference"; failed=1; }
done
for start in "$work"/shots/*-start.png; do
  back=${start%-start.png}-back.png
  [ -f "$back" ] || continue
  differing=$(compare -metric AE -fuzz 1% "$start" "$back" "$work/shots/diff-back-$(basename "$start")" 2>&1 >/dev/null || true)
  [ "$differing" = 0 ] || { echo "$(basename "$back"): $differing pixels differ from the start shot after the skin came back"; failed=1; }
done
if [ "$failed" != 0 ]; then
  rm -rf "$build/refshots-failed"
  cp -r "$work/shots" "$build/refshots-failed"
  echo "new shots and differences kept in $build/refshots-failed"
  exit 1
fi
echo "scenario passed"
