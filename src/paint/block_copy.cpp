#include "paint/block_copy.h"

namespace paint::detail {

bool ClipCopy(int dw, int dh, int sw, int sh, int& x, int& y, int& sx, int& sy, int& w, int& h) {
    auto axis = [](int limitD, int limitS, int& d, int& s, int& n) {
        if (d < 0) s -= d, n += d, d = 0;
        if (s < 0) d -= s, n += s, s = 0;
        n = std::min({n, limitD - d, limitS - s});
        return n > 0;
    };
    return axis(dw, sw, x, sx, w) && axis(dh, sh, y, sy, h);
}

void BlockCopy(const PixelView& dst, int x, int y, const PixelView& src, int sx, int sy, int w, int h) {
    if (dst.Empty() || src.Empty()) return;
    if (!ClipCopy(dst.width, dst.height, src.width, src.height, x, y, sx, sy, w, h)) return;
    if (dst.bpp == src.bpp) {
        const std::size_t n = static_cast<std::size_t>(w) * dst.bpp;
        // Within one bitmap a downward copy walks rows from the bottom so no row is read
        // after it was overwritten; memmove handles the overlap inside a row.
        const bool upward = dst.bits == src.bits && y > sy;
        for (int k = 0; k < h; ++k) {
            int j = upward ? h - 1 - k : k;
            std::memmove(dst.At(x, y + j), src.At(sx, sy + j), n);
        }
        return;
    }
    // Different depths can never share pixels.
    for (int j = 0; j < h; ++j) {
        std::uint8_t* d = dst.At(x, y + j);
        const std::uint8_t* s = src.At(sx, sy + j);
        if (dst.bpp == 4) {
            for (int i = 0; i < w; ++i, d += 4, s += 3) d[0] = s[0], d[1] = s[1], d[2] = s[2], d[3] = 0;
        } else {
            for (int i = 0; i < w; ++i, d += 3, s += 4) d[0] = s[0], d[1] = s[1], d[2] = s[2];
        }
    }
}

void FillArea(const PixelView& dst, RECT r, Bgra px) {
    if (dst.Empty()) return;
    r = Intersect(r, RECT{0, 0, dst.width, dst.height});
    if (IsEmpty(r)) return;
    const int n = r.right - r.left;
    std::uint8_t* first = dst.At(r.left, r.top);
    FillPixels(first, n, dst.bpp, px);
    for (int y = r.top + 1; y < r.bottom; ++y) std::memcpy(dst.At(r.left, y), first, static_cast<std::size_t>(n) * dst.bpp);
}

}  // namespace paint::detail
