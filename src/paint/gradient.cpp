#include "paint/gradient.h"

#include <cmath>
#include <vector>

#include "paint/pixel_view.h"

namespace paint {

using namespace detail;

namespace {

// A colour walked in single precision: each step adds the per-channel increment.
struct Ramp {
    float b, g, r;
    float db = 0, dg = 0, dr = 0;
    Ramp(framework::TColor c1, framework::TColor c2, int steps) {
        auto ch = [](framework::TColor c, int shift) { return static_cast<float>((static_cast<std::uint32_t>(c) >> shift) & 0xFF); };
        b = ch(c1, 16), g = ch(c1, 8), r = ch(c1, 0);
        db = (ch(c2, 16) - b) / static_cast<float>(steps);
        dg = (ch(c2, 8) - g) / static_cast<float>(steps);
        dr = (ch(c2, 0) - r) / static_cast<float>(steps);
    }
    static std::uint8_t Round(float v) { return static_cast<std::uint8_t>(std::clamp(std::nearbyint(v), 0.0f, 255.0f)); }
    Bgra Current() const { return Bgra{Round(b), Round(g), Round(r), 255}; }
    void Step() { b += db, g += dg, r += dr; }
};

void Vertical(const PixelView& v, const RECT& rc, const skin::TsGradArray& parts, int offset) {
    const int lastRow = rc.bottom - 1, H = rc.bottom - rc.top, n = rc.right - rc.left;
    int y = offset + rc.top;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const skin::TsGradPart& p = parts[k];
        int start = y;
        int end = k + 1 == parts.size() ? lastRow : std::min(p.Percent * (offset + H) / 100 + start, lastRow);
        y = end;
        if (end - start <= 0) continue;
        Ramp ramp(p.Color1, p.Color2, end - start);
        for (int row = start; row <= end; ++row, ramp.Step()) {
            // Rows outside the rectangle keep the walk going but are not painted.
            if (row < rc.top || row > lastRow) continue;
            FillPixels(v.At(rc.left, row), n, v.bpp, ramp.Current());
        }
    }
}

void Horizontal(const PixelView& v, const RECT& rc, const skin::TsGradArray& parts) {
    const int lastCol = rc.right - 1, W = rc.right - rc.left;
    // Every row is the same: build one, then copy it down.
    std::uint8_t* first = v.At(rc.left, rc.top);
    int x = rc.left;
    bool painted = false;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const skin::TsGradPart& p = parts[k];
        int start = x;
        int end = k + 1 == parts.size()
                      ? lastCol
                      : std::min(static_cast<int>(std::nearbyint(p.Percent * W / 100.0 + start)), lastCol);
        x = end;
        if (end - start <= 0) continue;
        Ramp ramp(p.Color1, p.Color2, end - start);
        for (int col = start; col <= end; ++col, ramp.Step()) {
            Bgra c = ramp.Current();
            std::uint8_t* px = first + static_cast<std::ptrdiff_t>(col - rc.left) * v.bpp;
            px[0] = c.b, px[1] = c.g, px[2] = c.r;
            if (v.bpp == 4) px[3] = 255;
        }
        painted = true;
    }
    // Painted parts cover left to the right edge without a gap, so whole rows can be copied.
    if (!painted) return;
    for (int y = rc.top + 1; y < rc.bottom; ++y)
        std::memcpy(v.At(rc.left, y), first, static_cast<std::size_t>(W) * v.bpp);
}

void Triangles(framework::TBitmap& bmp, const RECT& rc, const skin::TsGradArray& parts) {
    const int W = rc.right - rc.left, H = rc.bottom - rc.top;
    const POINT at[5] = {{rc.left, rc.top}, {rc.left + W / 2, rc.top + H / 2}, {rc.right, rc.top},
                         {rc.right, rc.bottom}, {rc.left, rc.bottom}};
    TRIVERTEX vx[5];
    framework::TColor color = 0;
    for (int k = 0; k < 5; ++k) {
        if (static_cast<std::size_t>(k) < parts.size()) color = parts[k].Color1;
        COLORREF c = static_cast<COLORREF>(color);
        vx[k] = TRIVERTEX{at[k].x, at[k].y, static_cast<USHORT>(GetRValue(c) << 8), static_cast<USHORT>(GetGValue(c) << 8),
                          static_cast<USHORT>(GetBValue(c) << 8), 0};
    }
    GRADIENT_TRIANGLE tri[4] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
    GradientFill(bmp.Canvas().Handle(), vx, 5, tri, 4, GRADIENT_FILL_TRIANGLE);
}

}  // namespace

void FillGradient(framework::TBitmap& bmp, RECT rect, const skin::TsGradArray& parts, int offset) {
    if (IsEmpty(rect) || parts.empty()) return;
    PixelView v = View(bmp);
    if (v.Empty()) return;
    rect = Intersect(rect, RECT{0, 0, v.width, v.height});
    if (IsEmpty(rect)) return;
    switch (parts[0].Mode) {
        case 0: Vertical(v, rect, parts, offset); break;
        case 1: Horizontal(v, rect, parts); break;
        case 2: Triangles(bmp, rect, parts); break;
        default: break;
    }
}

}  // namespace paint
