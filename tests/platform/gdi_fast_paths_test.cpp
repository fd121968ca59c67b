// The vectorised blits against the documented per-pixel formulas, on random pictures,
// random rectangles that cross the bitmap edges, a clip region of several rectangles and
// both destination depths (24-bit rows of odd widths are padded).
#include <algorithm>
#include <random>

#include "gdi_test_support.h"

namespace {

using testing_support::Canvas;

// x / 255 rounded to nearest, written differently from the code under test.
unsigned RoundDiv255(unsigned x) { return (2 * x + 255) / 510; }

void FillRandom(Canvas& c, std::mt19937& rng, bool premultiplied) {
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            auto a = static_cast<std::uint8_t>(rng());
            std::uint32_t rgb = rng() & 0xFFFFFF;
            if (premultiplied) {
                std::uint32_t r = ((rgb >> 16) & 0xFF) * a / 255, g = ((rgb >> 8) & 0xFF) * a / 255, b = (rgb & 0xFF) * a / 255;
                rgb = (r << 16) | (g << 8) | b;
            }
            c.Set(x, y, rgb, a);
        }
}

TEST(GdiFastPaths, PerPixelAlphaBlendMatchesTheFormulaEverywhere) {
    std::mt19937 rng(14);
    for (int round = 0; round < 300; ++round) {
        const int bits = round % 3 == 0 ? 24 : 32;
        const int sw = 1 + static_cast<int>(rng() % 37), sh = 1 + static_cast<int>(rng() % 9);
        const int dw = 1 + static_cast<int>(rng() % 41), dh = 1 + static_cast<int>(rng() % 11);
        Canvas src(sw, sh), dst(dw, dh, bits), before(dw, dh, bits);
        // Invalid (not premultiplied) pixels too: the sum must saturate, not wrap.
        FillRandom(src, rng, round % 4 != 1);
        FillRandom(dst, rng, false);
        BitBlt(before.dc(), 0, 0, dw, dh, dst.dc(), 0, 0, SRCCOPY);
        const int sx = static_cast<int>(rng() % sw), sy = static_cast<int>(rng() % sh);
        const int w = 1 + static_cast<int>(rng() % (sw - sx)), h = 1 + static_cast<int>(rng() % (sh - sy));
        const int x = static_cast<int>(rng() % (dw + 4)) - 3, y = static_cast<int>(rng() % (dh + 4)) - 3;
        const RECT hole{static_cast<int>(rng() % dw), static_cast<int>(rng() % dh), 0, 0};
        const RECT holeEnd{hole.left + 1 + static_cast<int>(rng() % 5), hole.top + 1 + static_cast<int>(rng() % 3)};
        ExcludeClipRect(dst.dc(), hole.left, hole.top, holeEnd.left, holeEnd.top);
        const auto ca = static_cast<BYTE>(round % 5 == 0 ? 255 : rng());
        ASSERT_TRUE(AlphaBlend(dst.dc(), x, y, w, h, src.dc(), sx, sy, w, h, BLENDFUNCTION{AC_SRC_OVER, 0, ca, AC_SRC_ALPHA}));
        for (int ty = 0; ty < dh; ++ty)
            for (int tx = 0; tx < dw; ++tx) {
                const bool clipped = tx >= hole.left && tx < holeEnd.left && ty >= hole.top && ty < holeEnd.top;
                const bool inside = tx >= x && ty >= y && tx < x + w && ty < y + h && !clipped;
                std::uint32_t want = before.At(tx, ty);
                unsigned wantAlpha = before.Alpha(tx, ty);
                if (inside) {
                    const int px = sx + tx - x, py = sy + ty - y;
                    const std::uint32_t s = src.At(px, py);
                    const unsigned a = RoundDiv255(src.Alpha(px, py) * ca);
                    want = 0;
                    for (int k = 0; k < 24; k += 8) {
                        unsigned v = RoundDiv255(((s >> k) & 0xFF) * ca) + RoundDiv255(((before.At(tx, ty) >> k) & 0xFF) * (255 - a));
                        want |= std::min(v, 255u) << k;
                    }
                    wantAlpha = std::min(255u, a + RoundDiv255(before.Alpha(tx, ty) * (255 - a)));
                    if (bits == 24) wantAlpha = 255;
                }
                ASSERT_EQ(dst.At(tx, ty), want) << "round " << round << " at " << tx << "," << ty;
                ASSERT_EQ(dst.Alpha(tx, ty), wantAlpha) << "round " << round << " at " << tx << "," << ty;
            }
    }
}

}  // namespace
