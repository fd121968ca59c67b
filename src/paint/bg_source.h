// What lies behind an area being painted: a bitmap at an offset, or a plain colour.
#pragma once

#include "framework/graphic.h"
#include "skin/skin_model.h"

namespace paint {

using framework::TBitmap;
using framework::TColor;

// See-through pixels in skin pictures; "no colour" in colour fields.
constexpr TColor TransparentColor = skin::kTransparentColor;

struct TsBgSource {
    TBitmap* Bmp = nullptr;  // the parent's painted image
    int X = 0;               // position in Bmp of (0, 0) of the painted area
    int Y = 0;
    TColor FillColor = TransparentColor;  // plain colour behind; TransparentColor = none
    bool Ready = false;                   // Bmp holds the background at (X, Y)
};

// A ready background taken from a bitmap.
inline TsBgSource BgSourceFromBitmap(TBitmap* bmp, int x, int y) {
    return TsBgSource{bmp, x, y, TransparentColor, true};
}
// A parent that has no painted image answers with its plain colour.
inline TsBgSource BgSourceFromColor(TColor color) { return TsBgSource{nullptr, 0, 0, color, false}; }
// For pieces that must not see the background: see-through pixels become black.
inline TsBgSource EmptyBgSource() { return TsBgSource{nullptr, 0, 0, 0, false}; }

}  // namespace paint
