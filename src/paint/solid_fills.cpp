#include "paint/solid_fills.h"

#include "paint/pixel_view.h"

namespace paint {

using namespace detail;

void FillRectSolid(HDC dc, const RECT& rect, TColor color) {
    if (!dc || IsEmpty(rect)) return;
    HBRUSH brush = CreateSolidBrush(framework::ColorToRGB(color));
    ::FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void FillRectSolid(TBitmap& bmp, const RECT& rect, TColor color) {
    if (bmp.PixelFormat() != framework::TPixelFormat::pf32bit) {
        if (!bmp.Empty()) FillRectSolid(bmp.Canvas().Handle(), rect, color);
        return;
    }
    PixelView v = View(bmp);
    // Rows are walked by the distance between rows 0 and 1; smaller bitmaps are left alone.
    if (v.width < 2 || v.height < 2) return;
    RECT r = Intersect(rect, RECT{0, 0, v.width, v.height});
    if (IsEmpty(r)) return;
    Bgra px = ToBgra(framework::ColorToRGB(color), 255);
    std::uint8_t* first = v.At(r.left, r.top);
    int n = r.right - r.left;
    FillPixels(first, n, 4, px);
    for (int y = r.top + 1; y < r.bottom; ++y) std::memcpy(v.At(r.left, y), first, static_cast<std::size_t>(n) * 4);
}

void FillFrameSolid(HDC dc, const RECT& r, int wl, int wt, int wr, int wb, TColor color) {
    FillRectSolid(dc, RECT{r.left, r.top, r.right, r.top + wt}, color);
    FillRectSolid(dc, RECT{r.left, r.top + wt, r.left + wl, r.bottom}, color);
    FillRectSolid(dc, RECT{r.left + wl, r.bottom - wb, r.right, r.bottom}, color);
    FillRectSolid(dc, RECT{r.right - wr, r.top + wt, r.right, r.bottom - wb}, color);
}

void CopyFrameStrips(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int bw) {
    auto copy = [&](int dx, int dy, int cw, int ch) {
        if (cw > 0 && ch > 0) BitBlt(dst, x + dx, y + dy, cw, ch, src, sx + dx, sy + dy, SRCCOPY);
    };
    copy(0, 0, bw, h);
    copy(bw, 0, w - bw, bw);
    copy(w - bw, bw, bw, h - bw);
    copy(bw, h - bw, w - bw, bw);
}

}  // namespace paint
