#!/usr/bin/env bash
# Draws the edit-button glyphs again and rewrites the PNG pictures embedded in the program
# (src/shell/edit_glyph_pngs.cpp). Run after changing src/shell/glyph_art.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
build/tools/glyph_pngs src/shell/edit_glyph_pngs.cpp
