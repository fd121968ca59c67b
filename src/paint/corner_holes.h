// Which see-through pixels of a frame corner lie outside the control. A frame image may have
// see-through pixels inside its border too (the control's fill shows through them); only the
// holes joined to the corner's outer edges show what lies behind. The outside starts at every
// see-through pixel of the outer edges (key colour or a mask letting anything through) and
// spreads through pixels that let everything through; a half see-through pixel inside is the
// frame's own soft edge and stops it.
#pragma once

#include <vector>

#include "framework/graphic.h"
#include "skin/skin_model.h"

namespace paint {

// One flag per pixel of src (row by row): outside the control, reached from the corner's top
// or bottom row and its left or right column.
std::vector<bool> OuterHoles(const framework::TBitmap& image, const skin::TsMaskData& entry,
                             const RECT& src, bool right, bool bottom);

// Puts back the pixels of `before` (a copy of bmp's area at `at`, src-sized) that are
// see-through in the entry but not outside.
void KeepInnerHoles(framework::TBitmap& bmp, POINT at, const framework::TBitmap& before,
                    const framework::TBitmap& image, const skin::TsMaskData& entry, const RECT& src,
                    bool right, bool bottom);

}  // namespace paint
