#!/usr/bin/env bash
# Every speed figure of the program next to its baseline measured in the same run, as one
# table: figure, value, baseline, ratio, target, and "ok" or "over".
# Builds nothing: configure with -DUTROZVON_BENCH=ON and build first, e.g.
#   cmake --build build --target paint_bench gdi_bench framework_paint_bench provider_bench \
#     skin_change_bench main_window_bench menu_bench skins skinned_form utrozvon first_frame_probe
# Usage: bench/figures.sh [BUILD_DIR]   (REPS=N repetitions a benchmark, median taken; RUNS=N
# starts for the first-frame figures, default 20)
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
reps=${REPS:-3}
for b in paint_bench gdi_bench framework_paint_bench provider_bench skin_change_bench \
  main_window_bench menu_bench skinned_form first_frame_probe; do
  [ -x "$build/bench/$b" ] || { echo "figures.sh: $build/bench/$b is missing; build it first" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# name,cpu time in ns,ns per pixel for the median of each benchmark; with "real" the wall
# time instead (benchmarks that time by hand, from an event to the screen).
run() {  # EXECUTABLE FILTER [real]
  local column=4
  [ "${3:-}" = real ] && column=3
  UTROZVON_BACKEND=headless "$build/bench/$1" --benchmark_filter="$2" --benchmark_repetitions="$reps" \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, -v reps="$reps" -v col="$column" '(reps > 1 && /_median"/) || (reps == 1 && NR > 1) {
      name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
      t = $col; u = $5; f = (u == "us") ? 1e3 : (u == "ms") ? 1e6 : (u == "s") ? 1e9 : 1
      printf "%s,%.6g,%.6g\n", name, t * f, $11 * 1e9 }'
}
{
  run paint_bench 'BM_MemcpySameBytes/32|BM_PaintSectionRect|BM_DrawBorderMask|BM_DrawGlowText'
  run gdi_bench 'BM_AlphaBlend32|BM_PixmanOver8888|BM_StretchHalftone'
  run framework_paint_bench 'BM_RepaintFormOf25Controls'
  run provider_bench 'BM_FrameRepaintAfterActivation|BM_MemcpyWindowBytes'
  run skin_change_bench 'BM_SkinChange'
  run main_window_bench 'BM_MainWindow'
  run menu_bench 'BM_RightClickToFirstMenuFrame|BM_MoveSelectionOneItem' real
  "$here/first_frame.sh" "$build" | awk '{ printf "first_frame_%s,%d,0\n", $1, $2 * 1000 }'
  FIRST_FRAME_PROGRAM="$build/bench/skinned_form" "$here/first_frame.sh" "$build" |
    awk '{ printf "first_skinned_frame_%s,%d,0\n", $1, $2 * 1000 }'
  SKINNED=1 MEMORY=1 "$here/first_frame.sh" "$build" |
    awk '/rss/ { printf "app_%s,%d,0\n", $1, $2; next }
         { printf "app_first_skinned_frame_%s,%d,0\n", $1, $2 * 1000 }'
} >"$work/figures.csv"

# figure | value of | unit (ns, us, ms, kB; px = the ns-per-pixel counter) | baseline | target
# Targets are a ratio to the baseline ("12x") or, without a baseline, an absolute bound.
cat >"$work/table" <<'TABLE'
PaintSectionRect, transparency 0, plain frame|BM_PaintSectionRect/transparency:0/masktype:0|us|BM_MemcpySameBytes/32|10x
PaintSectionRect, transparency 40|BM_PaintSectionRect/transparency:40/masktype:0|us|BM_MemcpySameBytes/32|12x
PaintSectionRect, masked frame (mask type 1)|BM_PaintSectionRect/transparency:0/masktype:1|us|BM_MemcpySameBytes/32|12x
DrawBorderMask, mask type 1 (per pixel)|BM_DrawBorderMask/masktype:1|px|BM_DrawBorderMask/masktype:0|3x
AlphaBlend 32-bit per-pixel (per pixel)|BM_AlphaBlend32|px|BM_PixmanOver8888|1.2x
StretchBlt HALFTONE 2:1 (per pixel)|BM_StretchHalftone|px|-|3
DrawGlowText, cold|BM_DrawGlowText/cached:0|us|BM_DrawGlowText/cached:1|150
repaint of the standard-look form of 25 controls|BM_RepaintFormOf25Controls|us|BM_MemcpySameBytes/32|20x
process start to first frame, X11 (Xvfb)|first_frame_x11|ms|-|40
process start to first frame, headless|first_frame_headless|ms|-|30
skinned frame repaint after activation|BM_FrameRepaintAfterActivation|us|BM_MemcpyWindowBytes|20x
skin change on a framed form, shipped skins|BM_SkinChangeBetweenShippedSkins|ms|-|30
skin change on a framed form, 150-entry skin|BM_SkinChangeTo150Entries|ms|-|30
process start to first skinned frame, X11|first_skinned_frame_x11|ms|-|50
process start to first skinned frame, headless|first_skinned_frame_headless|ms|-|50
main window (DarkGlass) full repaint|BM_MainWindowFullRepaint|us|BM_MainWindowMemcpyBytes|20x
main window: hover change on one check box|BM_MainWindowCheckBoxHover|us|BM_MainWindowCheckBoxMemcpyBytes|1000
main window: status-bar tick|BM_MainWindowStatusBarTick|us|BM_MainWindowStatusBarMemcpyBytes|1000
main window: skin change Daybreak to DarkGlass|BM_MainWindowSkinChangeToDarkGlass/iterations:20|ms|BM_MainWindowFullRepaint|30
utrozvon start to first skinned frame, X11|app_first_skinned_frame_x11|ms|first_frame_x11|50
utrozvon start to first skinned frame, headless|app_first_skinned_frame_headless|ms|first_frame_headless|50
utrozvon resident memory at first frame, X11|app_rss|kB|app_probe_rss|-
right click to first presented menu frame|BM_RightClickToFirstMenuFrame/manual_time|ms|-|5
popup menu: selection moved one item|BM_MoveSelectionOneItem/manual_time|us|-|200
TABLE

# Figures from a busy machine are not comparable: say how busy it was.
echo "load average before the run: $load_before; after: $(cut -d' ' -f1-3 /proc/loadavg)"
awk -F'|' -v csv="$work/figures.csv" '
  BEGIN {
    while ((getline line < csv) > 0) { split(line, f, ","); t[f[1]] = f[2]; px[f[1]] = f[3] }
    printf "%-48s %12s %12s %7s %7s  %s\n", "figure", "value", "baseline", "ratio", "target", "result"
  }
  function val(name, unit) {
    if (!(name in t)) return ""
    if (unit == "px") return px[name]
    return t[name] / (unit == "us" ? 1e3 : unit == "ms" ? 1e6 : 1)
  }
  function show(v, unit) {
    if (v == "") return "missing"
    return unit == "kB" ? sprintf("%d kB", v) : sprintf("%.4g %s", v, unit == "px" ? "ns/px" : unit)
  }
  {
    v = val($2, $3); b = ($4 == "-") ? "" : val($4, $3)
    ratio = (v != "" && b != "" && b > 0) ? v / b : ""
    relative = ($5 ~ /x$/); limit = $5 + 0
    if (v == "" || (relative && ratio == "")) verdict = "missing"
    else if ($5 == "-") verdict = "report"
    else verdict = ((relative ? ratio : v) <= limit) ? "ok" : "over"
    printf "%-48s %12s %12s %7s %7s  %s\n", $1, show(v, $3), ($4 == "-") ? "-" : show(b, $3),
      (ratio == "") ? "-" : sprintf("%.1fx", ratio), relative || $5 == "-" ? $5 : $5 " " ($3 == "px" ? "ns/px" : $3), verdict
  }' "$work/table"
