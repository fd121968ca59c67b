// Solid fills, frame strips and the strip copy that puts a cached border on screen.
#pragma once

#include "framework/graphic.h"

namespace paint {

using framework::TBitmap;
using framework::TColor;

// Fills rect (right and bottom exclusive). A 32-bit bitmap gets the colour with alpha 255
// through its scan lines; other bitmaps are filled through a solid brush.
void FillRectSolid(TBitmap& bmp, const RECT& rect, TColor color);
void FillRectSolid(HDC dc, const RECT& rect, TColor color);

// Top, left, bottom and right strips of the given widths, in that order.
void FillFrameSolid(HDC dc, const RECT& rect, int wl, int wt, int wr, int wb, TColor color);

// Copies only the bw-wide frame of the w x h area at (sx, sy) of src to (x, y) of dst.
void CopyFrameStrips(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int bw);

}  // namespace paint
