#!/usr/bin/env bash
# Layered windows on X11: without a compositor they are reported unavailable; with xcompmgr a
# layered square becomes a 32-bit window whose pixels keep their alpha for the compositor.
set -euo pipefail
build=$1
command -v Xvfb >/dev/null && command -v xcompmgr >/dev/null || { echo "Xvfb or xcompmgr is not installed"; exit 77; }
. "$(dirname "$0")/lib/xvfb.sh"

run_demo() {
  "$build/tools/platform_demo" --layered >"$work/out" 2>&1 &
  demo=$!
  stop_pids="$stop_pids $demo"
  for _ in $(seq 1 100); do grep -q "layered:" "$work/out" && break; sleep 0.05; done
}

run_demo
grep -q "layered: unavailable" "$work/out" || { echo "without a compositor:"; cat "$work/out"; exit 1; }
kill "$demo"; wait "$demo" 2>/dev/null || true

xcompmgr >/dev/null 2>&1 &
comp=$!
stop_pids="$stop_pids $comp"
sleep 0.5
run_demo
grep -q "layered: available" "$work/out" || { echo "with xcompmgr:"; cat "$work/out"; exit 1; }
sleep 0.5
# The square is a 32-bit window whose own pixels keep the half alpha (premultiplied 0x80800000).
glow=$(xwininfo -root -tree | awk '/"utrozvon"/ && /60x60\+200\+200/ {print $1; exit}')
[ -n "$glow" ] || { echo "no layered window"; xwininfo -root -tree; exit 1; }
xwininfo -id "$glow" | grep -q "Depth: 32" || { echo "the layered window has no alpha visual"; exit 1; }
xwd -id "$glow" -silent >"$work/glow.xwd"
tail -c 4 "$work/glow.xwd" | od -A n -t x1 | grep -q "00 00 80 80" || {
  echo "the layered pixels lost their alpha:"; tail -c 16 "$work/glow.xwd" | od -A n -t x1; exit 1; }
# What the screen shows is the compositor's blend of the square over the window under it.
# ximagesrc reads the root window as composited (xwd reads each visual separately and would
# show the unblended pixels).
pixel() {
  gst-launch-1.0 -q ximagesrc startx=$1 starty=$2 endx=$1 endy=$2 use-damage=false num-buffers=1 \
    ! videoconvert ! video/x-raw,format=BGRx ! filesink location="$work/px.raw" >/dev/null 2>&1 || return 1
  od -A n -t u1 -N 3 "$work/px.raw"
}
if command -v gst-launch-1.0 >/dev/null && gst-inspect-1.0 ximagesrc >/dev/null 2>&1; then
  read -r ub ug ur < <(pixel 190 230)
  read -r sb sg sr < <(pixel 230 230)
  # premultiplied red 0x80 with alpha 0x80 over (ur, ug, ub)
  want=($(( (ub * 127 + 127) / 255 )) $(( (ug * 127 + 127) / 255 )) $(( 128 + (ur * 127 + 127) / 255 )))
  got=($sb $sg $sr)
  for i in 0 1 2; do
    d=$(( got[i] - want[i] )); [ $d -lt 0 ] && d=$(( -d ))
    [ $d -le 2 ] || { echo "the compositor shows ${got[*]} (BGR) over $ub $ug $ur, expected ${want[*]}"; exit 1; }
  done
else
  echo "ximagesrc is not installed: the blended screen is not checked"
fi
echo "scenario passed"
