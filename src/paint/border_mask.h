// The frame image of a section, cut into nine pieces: four corners, four edges repeated (or
// stretched) along the sides, and the centre.
#pragma once

#include "framework/graphic.h"
#include "paint/bg_source.h"
#include "skin/skin_model.h"

namespace paint {

// Draw-mode bits of a frame image.
constexpr int kBorderStretch = 1;     // stretch edges and centre instead of repeating them
constexpr int kBorderNoState0 = 2;    // draw nothing in state 0
constexpr int kBorderFillCentre = 4;  // the centre piece may be drawn

// Draws frame min(state, ImageCount - 1) of entry maskIndex around rect. Corners let the
// background show through their see-through pixels (useParentBg); the centre is drawn only
// with fillCentre and the entry's centre bit.
void DrawBorderMask(framework::TBitmap& bmp, const RECT& rect, bool fillCentre, bool useParentBg, int state,
                    const skin::TsSkinModel& model, int maskIndex, const TsBgSource& bg);

namespace detail {
// Margins shrunk for a rectangle narrower (lower) than both of them: each loses half the
// shortfall, the right (bottom) one more for an odd size; never below 0.
void FitMargins(int size, int& first, int& second);
}  // namespace detail

}  // namespace paint
