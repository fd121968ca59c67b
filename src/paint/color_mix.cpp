#include "paint/color_mix.h"

#include <array>
#include <cmath>
#include <vector>

#include "paint/pixel_view.h"
#include "platform/gdi/pixel_simd.h"

namespace paint {

using namespace detail;

namespace {

// Rounds half to even, the floating-point unit's default.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

int Channel(TColor c, int shift) { return (static_cast<std::uint32_t>(c) >> shift) & 0xFF; }

}  // namespace

TColor LerpColor(TColor c1, TColor c2, double k) {
    std::uint32_t out = static_cast<std::uint32_t>(c1) & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        int v = RoundEven(k * Channel(c1, shift) + (1 - k) * Channel(c2, shift));
        out |= static_cast<std::uint32_t>(std::clamp(v, 0, 255)) << shift;
    }
    return static_cast<TColor>(out);
}

void BlendColorIntoRect(TBitmap& bmp, RECT rect, int keep, TColor color) {
    PixelView v = View(bmp);
    if (v.Empty()) return;
    rect.left = std::max(0, rect.left);
    rect.top = std::max(0, rect.top);
    rect.right = std::min(rect.right, v.width - 1);
    rect.bottom = std::min(rect.bottom, v.height - 1);
    if (rect.right < rect.left || rect.bottom < rect.top) return;

    // The result depends only on the byte and its channel, so one table per channel gives
    // the floating-point formula exactly at table-lookup speed.
    COLORREF rgb = framework::ColorToRGB(color);
    const double f = keep / 100.0;
    const int cols[3] = {GetBValue(rgb), GetGValue(rgb), GetRValue(rgb)};
    std::array<std::array<std::uint8_t, 256>, 4> lut;
    for (int c = 0; c < 3; ++c)
        for (int p = 0; p < 256; ++p) lut[c][p] = static_cast<std::uint8_t>(std::clamp(RoundEven(f * p + (1 - f) * cols[c]), 0, 255));
    for (int p = 0; p < 256; ++p) lut[3][p] = static_cast<std::uint8_t>(p);

    const int n = (rect.right - rect.left + 1) * v.bpp;
    std::uint8_t* row = v.At(rect.left, rect.top);
    for (int y = rect.top; y <= rect.bottom; ++y, row += v.stride) {
        if (v.bpp == 4) {
            for (int i = 0; i < n; i += 4) {
                row[i] = lut[0][row[i]];
                row[i + 1] = lut[1][row[i + 1]];
                row[i + 2] = lut[2][row[i + 2]];
            }
        } else {
            for (int i = 0; i < n; i += 3) {
                row[i] = lut[0][row[i]];
                row[i + 1] = lut[1][row[i + 1]];
                row[i + 2] = lut[2][row[i + 2]];
            }
        }
    }
}

namespace detail {

UTROZVON_WIDEST_LOOP void BlendBytes(std::uint8_t* __restrict d, const std::uint8_t* __restrict s, int n, unsigned alpha) {
    // The sum never exceeds 255 * 255 + 127, so 16-bit lanes hold it exactly; the narrow
    // type lets the vectoriser use eight or sixteen lanes per instruction.
    const std::uint16_t a = static_cast<std::uint16_t>(alpha), b = static_cast<std::uint16_t>(255 - alpha);
    for (int i = 0; i < n; ++i) {
        std::uint16_t v = static_cast<std::uint16_t>(d[i] * a + s[i] * b + 127);
        d[i] = static_cast<std::uint8_t>(v >> 8);
    }
}

}  // namespace detail

void BlendBitmaps(TBitmap& dst, const TBitmap& src, std::uint8_t alpha, POINT at, RECT sr) {
    PixelView d = View(dst), s = View(src);
    if (d.Empty() || s.Empty() || d.bpp != s.bpp) return;
    if (d.width < 2 || d.height < 2 || s.width < 2 || s.height < 2) return;
    if (at.x < 0) sr.left -= at.x, at.x = 0;
    if (at.y < 0) sr.top -= at.y, at.y = 0;
    if (sr.left < 0) at.x -= sr.left, sr.left = 0;
    if (sr.top < 0) at.y -= sr.top, sr.top = 0;
    if (IsEmpty(sr) || sr.left >= s.width || sr.top >= s.height) return;
    if (at.x >= d.width || at.y >= d.height) return;
    int w = std::min({sr.right, static_cast<LONG>(s.width)}) - sr.left;
    int h = std::min({sr.bottom, static_cast<LONG>(s.height)}) - sr.top;
    w = std::min(w, d.width - at.x);
    h = std::min(h, d.height - at.y);
    if (w <= 0 || h <= 0) return;

    const int n = w * d.bpp;
    const std::uint8_t* srow = s.At(sr.left, sr.top);
    std::ptrdiff_t sstride = s.stride;
    // Mixing a bitmap into itself reads the source from a copy, so rows never see their
    // own results.
    std::vector<std::uint8_t> copy;
    if (s.bits == d.bits) {
        copy.resize(static_cast<std::size_t>(n) * h);
        for (int y = 0; y < h; ++y) std::memcpy(&copy[static_cast<std::size_t>(y) * n], srow + y * sstride, n);
        srow = copy.data();
        sstride = n;
    }
    std::uint8_t* drow = d.At(at.x, at.y);
    for (int y = 0; y < h; ++y, drow += d.stride, srow += sstride) BlendBytes(drow, srow, n, alpha);
}

}  // namespace paint
