// A whole skin section painted into a bitmap: colour, gradient and texture mixed with what
// lies behind by the section's transparency, then corner images and the frame image.
#pragma once

#include <string_view>

#include "framework/graphic.h"
#include "paint/bg_source.h"
#include "skin/skin_model.h"

namespace paint {

// Fills rect of bmp with section i (named `name` for texture lookups). A state of 1 or more
// paints the hot values. customColor other than TransparentColor replaces the section's
// look with that plain colour. texture and hotTexture are image entries to use instead of
// the section's "PATTERN" / "HOTPATTERN" (-1: look them up). offset is rect's position in
// the background's coordinates relative to (bg.X, bg.Y).
void PaintSectionBg(const skin::TsSkinModel* model, int i, std::string_view name, const TsBgSource& bg,
                    TColor customColor, int hotTexture, int texture, framework::TBitmap& bmp, POINT offset,
                    const RECT& rect, int state);

// PaintSectionBg, then the section's corner images, then its frame image. Nothing happens
// for a rectangle that is empty or reaches outside the bitmap.
void PaintSectionRect(const skin::TsSkinModel* model, int i, std::string_view name, const TsBgSource& bg,
                      int hotTexture, int texture, framework::TBitmap& bmp, POINT offset, const RECT& rect,
                      int state, bool fillCentre);

}  // namespace paint
