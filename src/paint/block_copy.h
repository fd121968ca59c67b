// Rectangle copies between bitmaps through their scan lines, clipped to both bitmaps, with
// the results of a SRCCOPY blit between memory contexts: equal depths copy every byte, a
// 24-bit source gives a 32-bit destination alpha 0, a 32-bit source loses its alpha.
#pragma once

#include "paint/pixel_view.h"

namespace paint::detail {

// Copies w x h pixels from (sx, sy) of src to (x, y) of dst; parts outside either bitmap are
// skipped. Overlapping areas of one bitmap are copied as if through a temporary.
void BlockCopy(const PixelView& dst, int x, int y, const PixelView& src, int sx, int sy, int w, int h);

// Lays tiles of src's (sx, sy, w, h) from origin (ox, oy) in steps of w and h, cut to clip
// and to the destination.
void TileClipped(const PixelView& d, const RECT& clip, int ox, int oy, const PixelView& s, int sx, int sy, int w, int h);

// Fills a rectangle clipped to the bitmap with one pixel value (alpha written on 32-bit).
void FillArea(const PixelView& dst, RECT r, Bgra px);

// Cuts a copy to both bitmaps: a negative coordinate on either side moves the other side.
// Returns false when nothing is left.
bool ClipCopy(int dw, int dh, int sw, int sh, int& x, int& y, int& sx, int& sy, int& w, int& h);

}  // namespace paint::detail
