// Textures: repeated pictures, texture entries in their draw modes, textures with a mask.
#pragma once

#include "framework/graphic.h"
#include "paint/bg_source.h"
#include "skin/skin_model.h"

namespace paint {

// Repeats the whole image over rect from its top-left corner, the last row and column cut.
// (Tiles cut at the far edges and whole pictures clipped to the rectangle, as large JPEG
// textures are drawn, put the same pixels in the same places.)
void TileBitmap(framework::TBitmap& bmp, const RECT& rect, const framework::TBitmap& image);

// The "nothing left uncovered" answer of the texture operations.
constexpr RECT kCoveredAll{-1, -1, -1, -1};
inline bool IsCoveredAll(const RECT& r) {
    return r.left == -1 && r.top == -1 && r.right == -1 && r.bottom == -1;
}

// Draws texture entry maskIndex (no mask half) in draw mode 0..14 into rect and leaves in
// rect the part it did not cover, or kCoveredAll. An entry with its own picture is tiled
// over the whole rectangle whatever the mode. An unknown mode draws nothing.
void FillTexture(framework::TBitmap& bmp, RECT& rect, int mode, const skin::TsSkinModel& model, int maskIndex);

// Draws a texture entry whose lower half is its mask, in mode 0 or 10 (other modes draw
// nothing and leave rect alone); reports kCoveredAll. Mode 10 gives the strips that get no
// whole tile the background.
void OverlayMaskedTexture(framework::TBitmap& bmp, RECT& rect, const TsBgSource& bg, int mode,
                          const skin::TsSkinModel& model, int maskIndex);

}  // namespace paint
