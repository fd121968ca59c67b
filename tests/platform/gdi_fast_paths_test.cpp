// The vectorised blits against the documented per-pixel formulas, on random pictures,
// random rectangles that cross the bitmap edges, a clip region of several rectangles and
// both destination depths (24-bit rows of odd widths are padded).
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>

#include "gdi_test_support.h"
#include "platform/gdi_text.h"

namespace {

using testing_support::Canvas;

// x / 255 rounded to nearest, written differently from the code under test.
unsigned RoundDiv255(unsigned x) {
    return (2 * x + 255) / 510;
}

void FillRandom(Canvas& c, std::mt19937& rng, bool premultiplied) {
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            auto a = static_cast<std::uint8_t>(rng());
            std::uint32_t rgb = rng() & 0xFFFFFF;
            if (premultiplied) {
                std::uint32_t r = ((rgb >> 16) & 0xFF) * a / 255, g = ((rgb >> 8) & 0xFF) * a / 255,
                              b = (rgb & 0xFF) * a / 255;
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
        const int w = 1 + static_cast<int>(rng() % (sw - sx)),
                  h = 1 + static_cast<int>(rng() % (sh - sy));
        const int x = static_cast<int>(rng() % (dw + 4)) - 3,
                  y = static_cast<int>(rng() % (dh + 4)) - 3;
        const RECT hole{static_cast<int>(rng() % dw), static_cast<int>(rng() % dh), 0, 0};
        const RECT holeEnd{hole.left + 1 + static_cast<int>(rng() % 5),
                           hole.top + 1 + static_cast<int>(rng() % 3)};
        ExcludeClipRect(dst.dc(), hole.left, hole.top, holeEnd.left, holeEnd.top);
        const auto ca = static_cast<BYTE>(round % 5 == 0 ? 255 : rng());
        ASSERT_TRUE(AlphaBlend(dst.dc(), x, y, w, h, src.dc(), sx, sy, w, h,
                               BLENDFUNCTION{AC_SRC_OVER, 0, ca, AC_SRC_ALPHA}));
        for (int ty = 0; ty < dh; ++ty)
            for (int tx = 0; tx < dw; ++tx) {
                const bool clipped =
                    tx >= hole.left && tx < holeEnd.left && ty >= hole.top && ty < holeEnd.top;
                const bool inside = tx >= x && ty >= y && tx < x + w && ty < y + h && !clipped;
                std::uint32_t want = before.At(tx, ty);
                unsigned wantAlpha = before.Alpha(tx, ty);
                if (inside) {
                    const int px = sx + tx - x, py = sy + ty - y;
                    const std::uint32_t s = src.At(px, py);
                    const unsigned a = RoundDiv255(src.Alpha(px, py) * ca);
                    want = 0;
                    for (int k = 0; k < 24; k += 8) {
                        unsigned v = RoundDiv255(((s >> k) & 0xFF) * ca) +
                                     RoundDiv255(((before.At(tx, ty) >> k) & 0xFF) * (255 - a));
                        want |= std::min(v, 255u) << k;
                    }
                    wantAlpha = std::min(255u, a + RoundDiv255(before.Alpha(tx, ty) * (255 - a)));
                    if (bits == 24) wantAlpha = 255;
                }
                ASSERT_EQ(dst.At(tx, ty), want) << "round " << round << " at " << tx << "," << ty;
                ASSERT_EQ(dst.Alpha(tx, ty), wantAlpha)
                    << "round " << round << " at " << tx << "," << ty;
            }
    }
}

TEST(GdiFastPaths, SourceCopyBetweenDepthsMatchesThePerPixelRule) {
    // Every pair of depths, rows read top-down and bottom-up, widths that leave the
    // four-pixel conversion a tail, blits that cross the edges of both bitmaps and a clip
    // with two holes. A copied pixel takes the source's colour; its alpha is the source's
    // between 32-bit bitmaps and 0 from a 24-bit source.
    std::mt19937 rng(31);
    for (int round = 0; round < 400; ++round) {
        const int sbits = round % 2 ? 32 : 24, dbits = (round / 2) % 2 ? 32 : 24;
        const int sw = 1 + static_cast<int>(rng() % 45), sh = 1 + static_cast<int>(rng() % 9);
        const int dw = 1 + static_cast<int>(rng() % 47), dh = 1 + static_cast<int>(rng() % 11);
        Canvas src(sw, sh, sbits, round % 5 == 0), dst(dw, dh, dbits, round % 7 == 0);
        Canvas before(dw, dh, dbits);
        FillRandom(src, rng, false);
        FillRandom(dst, rng, false);
        BitBlt(before.dc(), 0, 0, dw, dh, dst.dc(), 0, 0, SRCCOPY);
        const int x = static_cast<int>(rng() % (dw + 6)) - 4,
                  y = static_cast<int>(rng() % (dh + 4)) - 3;
        const int sx = static_cast<int>(rng() % (sw + 6)) - 4,
                  sy = static_cast<int>(rng() % (sh + 4)) - 3;
        const int w = static_cast<int>(rng() % (dw + 8)), h = static_cast<int>(rng() % (dh + 6));
        RECT holes[2];
        for (RECT& hole : holes) {
            hole.left = static_cast<int>(rng() % dw), hole.top = static_cast<int>(rng() % dh);
            hole.right = hole.left + 1 + static_cast<int>(rng() % 6);
            hole.bottom = hole.top + 1 + static_cast<int>(rng() % 3);
            ExcludeClipRect(dst.dc(), hole.left, hole.top, hole.right, hole.bottom);
        }
        ASSERT_TRUE(BitBlt(dst.dc(), x, y, w, h, src.dc(), sx, sy, SRCCOPY));
        for (int ty = 0; ty < dh; ++ty)
            for (int tx = 0; tx < dw; ++tx) {
                bool clipped = false;
                for (const RECT& hole : holes)
                    clipped |=
                        tx >= hole.left && tx < hole.right && ty >= hole.top && ty < hole.bottom;
                const int px = sx + tx - x, py = sy + ty - y;
                const bool copied = !clipped && tx >= x && ty >= y && tx < x + w && ty < y + h &&
                                    px >= 0 && py >= 0 && px < sw && py < sh;
                std::uint32_t want = copied ? src.At(px, py) : before.At(tx, ty);
                unsigned wantAlpha = before.Alpha(tx, ty);
                if (copied && dbits == 32) wantAlpha = sbits == 32 ? src.Alpha(px, py) : 0;
                ASSERT_EQ(dst.At(tx, ty), want) << "round " << round << " at " << tx << "," << ty;
                ASSERT_EQ(dst.Alpha(tx, ty), wantAlpha)
                    << "round " << round << " at " << tx << "," << ty;
            }
    }
}

TEST(GdiFastPaths, RectangleGradientsFollowTheInterpolationEverywhere) {
    // Both directions, vertices given either way round, rectangles crossing the edges, a
    // clip hole, both depths: each pixel is the first colour plus the difference times its
    // offset over the extent (16-bit channels, quotient truncated), high byte taken.
    std::mt19937 rng(57);
    for (int round = 0; round < 300; ++round) {
        const int bits = round % 2 ? 32 : 24, dw = 1 + static_cast<int>(rng() % 45),
                  dh = 1 + static_cast<int>(rng() % 15);
        const bool vertical = (round / 2) % 2 == 1;
        Canvas dst(dw, dh, bits), before(dw, dh, bits);
        FillRandom(dst, rng, false);
        BitBlt(before.dc(), 0, 0, dw, dh, dst.dc(), 0, 0, SRCCOPY);
        TRIVERTEX v[2] = {};
        for (TRIVERTEX& t : v) {
            t.x = static_cast<LONG>(rng() % (dw + 6)) - 3,
            t.y = static_cast<LONG>(rng() % (dh + 6)) - 3;
            t.Red = static_cast<USHORT>(rng()), t.Green = static_cast<USHORT>(rng()),
            t.Blue = static_cast<USHORT>(rng());
        }
        const RECT hole{static_cast<LONG>(rng() % dw), static_cast<LONG>(rng() % dh), 0, 0};
        const RECT holeEnd{hole.left + 1 + static_cast<LONG>(rng() % 7),
                           hole.top + 1 + static_cast<LONG>(rng() % 3)};
        ExcludeClipRect(dst.dc(), hole.left, hole.top, holeEnd.left, holeEnd.top);
        GRADIENT_RECT g{0, 1};
        ASSERT_TRUE(GradientFill(dst.dc(), v, 2, &g, 1,
                                 vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H));
        const bool firstLeads = vertical ? v[0].y <= v[1].y : v[0].x <= v[1].x;
        const TRIVERTEX &from = firstLeads ? v[0] : v[1], &to = firstLeads ? v[1] : v[0];
        const long left = std::min(v[0].x, v[1].x), top = std::min(v[0].y, v[1].y);
        const long right = std::max(v[0].x, v[1].x), bottom = std::max(v[0].y, v[1].y);
        const long extent = std::max(vertical ? bottom - top : right - left, 1L);
        for (int ty = 0; ty < dh; ++ty)
            for (int tx = 0; tx < dw; ++tx) {
                const bool clipped =
                    tx >= hole.left && tx < holeEnd.left && ty >= hole.top && ty < holeEnd.top;
                const bool inside =
                    !clipped && tx >= left && tx < right && ty >= top && ty < bottom;
                std::uint32_t want = before.At(tx, ty);
                unsigned wantAlpha = before.Alpha(tx, ty);
                if (inside) {
                    const long offset = vertical ? ty - top : tx - left;
                    auto channel = [&](USHORT a, USHORT b) {
                        const long step = (static_cast<long>(b) - a) * offset;
                        const long q = step >= 0 ? step / extent : -((-step) / extent);
                        return static_cast<std::uint32_t>((a + q) >> 8) & 0xFF;
                    };
                    want = channel(from.Red, to.Red) << 16 | channel(from.Green, to.Green) << 8 |
                           channel(from.Blue, to.Blue);
                    wantAlpha = bits == 32 ? 0 : 255;
                }
                ASSERT_EQ(dst.At(tx, ty), want) << "round " << round << " at " << tx << "," << ty;
                ASSERT_EQ(dst.Alpha(tx, ty), wantAlpha)
                    << "round " << round << " at " << tx << "," << ty;
            }
    }
}

TEST(GdiFastPaths, TextOn32BitPixelsBlendsItsCoverageExactly) {
    // The coverage of each pixel is read from white text drawn on black at 24 bits (where a
    // blend gives the coverage itself); 32-bit pixels must then be the rounded mix of text
    // colour and background by that coverage, with alpha 0 under coverage and kept elsewhere.
    std::mt19937 rng(63);
    const char* texts[] = {"Будильник", "Wg&1 ~|", "iiiiiii", "Утрозвон: 07:30"};
    for (int round = 0; round < 40; ++round) {
        LOGFONT lf{};
        lf.lfHeight = -(8 + static_cast<int>(rng() % 20));
        lf.lfWeight = round % 3 ? FW_NORMAL : FW_BOLD;
        std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s",
                      round % 2 ? "DejaVu Sans" : "Liberation Serif");
        HFONT font = CreateFontIndirect(&lf);
        const int w = 40 + static_cast<int>(rng() % 160), h = 12 + static_cast<int>(rng() % 30);
        Canvas cover(w, h, 24), dst(w, h, 32), before(w, h, 32);
        cover.Fill(0);
        FillRandom(dst, rng, false);
        BitBlt(before.dc(), 0, 0, w, h, dst.dc(), 0, 0, SRCCOPY);
        const RECT hole{static_cast<LONG>(rng() % w), static_cast<LONG>(rng() % h), 0, 0};
        const RECT holeEnd{hole.left + 1 + static_cast<LONG>(rng() % 9),
                           hole.top + 1 + static_cast<LONG>(rng() % 5)};
        const int x = static_cast<int>(rng() % 9) - 3, y = static_cast<int>(rng() % 7) - 3;
        const char* text = texts[round % 4];
        const COLORREF colour = rng() & 0xFFFFFF;
        for (Canvas* c : {&cover, &dst}) {
            ExcludeClipRect(c->dc(), hole.left, hole.top, holeEnd.left, holeEnd.top);
            HGDIOBJ old = SelectObject(c->dc(), font);
            SetBkMode(c->dc(), TRANSPARENT);
            SetTextColor(c->dc(), c == &cover ? RGB(255, 255, 255) : colour);
            TextOut(c->dc(), x, y, text, static_cast<int>(std::strlen(text)));
            SelectObject(c->dc(), old);
        }
        DeleteObject(font);
        const unsigned s[3] = {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
        int inked = 0;
        for (int ty = 0; ty < h; ++ty)
            for (int tx = 0; tx < w; ++tx) {
                const unsigned cov = (cover.At(tx, ty) >> 8) & 0xFF;
                std::uint32_t want = before.At(tx, ty);
                unsigned wantAlpha = before.Alpha(tx, ty);
                if (cov) {
                    ++inked;
                    want = 0;
                    for (int k = 0; k < 3; ++k) {
                        const unsigned d = (before.At(tx, ty) >> (8 * k)) & 0xFF;
                        want |= ((s[k] * cov + d * (255 - cov) + 127) / 255) << (8 * k);
                    }
                    wantAlpha = 0;
                }
                ASSERT_EQ(dst.At(tx, ty), want) << "round " << round << " at " << tx << "," << ty;
                ASSERT_EQ(dst.Alpha(tx, ty), wantAlpha)
                    << "round " << round << " at " << tx << "," << ty;
            }
        EXPECT_GT(inked, 0) << "round " << round;
    }
}

// The exact area average by brute force over every source pixel: weights in units of
// 1/(dw dh) of a source pixel, quotient rounded half up; pixels outside the source bitmap
// do not count, and covering none of them gives 0.
std::uint32_t ExactAverage(const Canvas& src, int sx, int sy, int sw, int sh, int dw, int dh, int i,
                           int j) {
    long long sum[4] = {0, 0, 0, 0}, total = 0;
    for (int r = 0; r < src.height(); ++r)
        for (int c = 0; c < src.width(); ++c) {
            long long ox = std::min<long long>((c + 1LL) * dw, 1LL * sx * dw + (i + 1LL) * sw) -
                           std::max<long long>(1LL * c * dw, 1LL * sx * dw + 1LL * i * sw);
            long long oy = std::min<long long>((r + 1LL) * dh, 1LL * sy * dh + (j + 1LL) * sh) -
                           std::max<long long>(1LL * r * dh, 1LL * sy * dh + 1LL * j * sh);
            if (ox <= 0 || oy <= 0) continue;
            const std::uint32_t p =
                src.At(c, r) | (static_cast<std::uint32_t>(src.Alpha(c, r)) << 24);
            for (int k = 0; k < 4; ++k) sum[k] += ox * oy * ((p >> (8 * k)) & 0xFF);
            total += ox * oy;
        }
    if (total == 0) return 0;
    std::uint32_t out = 0;
    for (int k = 0; k < 4; ++k)
        out |= static_cast<std::uint32_t>((2 * sum[k] + total) / (2 * total)) << (8 * k);
    return out;
}

TEST(GdiFastPaths, HalftoneStretchIsTheExactAreaAverage) {
    std::mt19937 rng(22);
    for (int round = 0; round < 150; ++round) {
        const int sbits = round % 2 ? 32 : 24, dbits = (round / 2) % 2 ? 32 : 24;
        Canvas src(1 + static_cast<int>(rng() % 23), 1 + static_cast<int>(rng() % 9), sbits);
        FillRandom(src, rng, false);
        const int dw = 1 + static_cast<int>(rng() % 25), dh = 1 + static_cast<int>(rng() % 9);
        Canvas dst(dw + 2, dh + 2, dbits), before(dw + 2, dh + 2, dbits);
        FillRandom(dst, rng, false);
        BitBlt(before.dc(), 0, 0, dw + 2, dh + 2, dst.dc(), 0, 0, SRCCOPY);
        // The source rectangle may reach past the bitmap; shrinking and enlarging both occur.
        const int sx = static_cast<int>(rng() % (src.width() + 2)) - 1,
                  sy = static_cast<int>(rng() % (src.height() + 2)) - 1;
        const int sw = 1 + static_cast<int>(rng() % (src.width() + 3)),
                  sh = 1 + static_cast<int>(rng() % (src.height() + 2));
        const bool flip = round % 5 == 0, flipY = round % 7 < 2;
        const int x = 1, y = 1;
        // Two holes: the rows are drawn in pieces, in both directions when mirrored.
        ExcludeClipRect(dst.dc(), 0, dh, 3, dh + 2);
        const int holeX = 1 + static_cast<int>(rng() % dw),
                  holeY = 1 + static_cast<int>(rng() % dh);
        ExcludeClipRect(dst.dc(), holeX, holeY, holeX + 2, holeY + 1);
        SetStretchBltMode(dst.dc(), HALFTONE);
        ASSERT_TRUE(StretchBlt(dst.dc(), flip ? x + dw - 1 : x, flipY ? y + dh - 1 : y,
                               flip ? -dw : dw, flipY ? -dh : dh, src.dc(), sx, sy, sw, sh,
                               SRCCOPY));
        for (int ty = 0; ty < dh + 2; ++ty)
            for (int tx = 0; tx < dw + 2; ++tx) {
                const bool inside = tx >= x && ty >= y && tx < x + dw && ty < y + dh &&
                                    !(tx < 3 && ty >= dh) &&
                                    !(tx >= holeX && tx < holeX + 2 && ty == holeY);
                std::uint32_t want = before.At(tx, ty);
                unsigned wantAlpha = before.Alpha(tx, ty);
                if (inside) {
                    const int i = flip ? dw - 1 - (tx - x) : tx - x;
                    const int j = flipY ? dh - 1 - (ty - y) : ty - y;
                    const std::uint32_t p = ExactAverage(src, sx, sy, sw, sh, dw, dh, i, j);
                    want = p & 0xFFFFFF;
                    // A 24-bit source gives alpha 0 on a 32-bit destination.
                    wantAlpha = dbits == 24 ? 255 : sbits == 32 ? p >> 24 : 0;
                }
                ASSERT_EQ(dst.At(tx, ty), want) << "round " << round << " at " << tx << "," << ty;
                ASSERT_EQ(dst.Alpha(tx, ty), wantAlpha)
                    << "round " << round << " at " << tx << "," << ty;
            }
    }
}

// Source rectangles far larger than their bitmap: totals just inside the 32-bit lanes and
// sums past 2^32, added in doubles. The source is bottom-up, read in place; only a corner of
// the destination shows.
TEST(GdiFastPaths, HalftoneStretchOfHugeAreasIsStillExact) {
    std::mt19937 rng(23);
    Canvas src(12, 9, 32, true);
    FillRandom(src, rng, false);
    struct Extents {
        int source, destination;
    };
    for (const Extents e : {Extents{2000, 1000}, Extents{6000, 4000}})
        for (const int bits : {24, 32}) {
            Canvas dst(16, 14, bits);
            SetStretchBltMode(dst.dc(), HALFTONE);
            // Source pixel 0 starts at destination index dw / 2 on both axes, drawn at 2.
            const int s = -e.source / 2, at = 2 - e.destination / 2;
            ASSERT_TRUE(StretchBlt(dst.dc(), at, at, e.destination, e.destination, src.dc(), s, s,
                                   e.source, e.source, SRCCOPY));
            int covered = 0;
            for (int ty = 0; ty < 14; ++ty)
                for (int tx = 0; tx < 16; ++tx) {
                    const std::uint32_t p =
                        ExactAverage(src, s, s, e.source, e.source, e.destination, e.destination,
                                     tx - at, ty - at);
                    covered += p != 0;
                    ASSERT_EQ(dst.At(tx, ty), p & 0xFFFFFF)
                        << e.source << " " << bits << " bits at " << tx << "," << ty;
                    ASSERT_EQ(dst.Alpha(tx, ty), bits == 32 ? p >> 24 : 255u) << tx << "," << ty;
                }
            EXPECT_GE(covered, 30);
        }
}

}  // namespace

// Shrinking by 1 to 4 times, where most columns' taps are neighbouring pixels and are summed
// in pairs: wider pictures than above, source rectangles over either edge (the neighbour run
// ends early), both depths, mirrored; and weights past 16 bits, which must not take that path.
TEST(GdiFastPaths, HalftoneShrinkOfNeighbouringTapsIsTheExactAreaAverage) {
    std::mt19937 rng(24);
    for (int round = 0; round < 40; ++round) {
        const int sbits = round % 2 ? 32 : 24, dbits = (round / 2) % 2 ? 32 : 24;
        Canvas src(30 + static_cast<int>(rng() % 60), 2 + static_cast<int>(rng() % 5), sbits);
        FillRandom(src, rng, false);
        const int sw = 8 + static_cast<int>(rng() % (src.width() + 4)), sh = src.height();
        const int dw = std::max(1, sw * 10 / (10 + static_cast<int>(rng() % 31))), dh = 2;
        const int sx = static_cast<int>(rng() % 9) - 4;
        const bool flip = round % 3 == 0;
        Canvas dst(dw, dh, dbits);
        SetStretchBltMode(dst.dc(), HALFTONE);
        ASSERT_TRUE(StretchBlt(dst.dc(), flip ? dw - 1 : 0, 0, flip ? -dw : dw, dh, src.dc(), sx, 0,
                               sw, sh, SRCCOPY));
        for (int ty = 0; ty < dh; ++ty)
            for (int tx = 0; tx < dw; ++tx) {
                const std::uint32_t p =
                    ExactAverage(src, sx, 0, sw, sh, dw, dh, flip ? dw - 1 - tx : tx, ty);
                // A 24-bit source gives alpha 0 on a 32-bit destination.
                const unsigned alpha = sbits == 32 ? p >> 24 : 0u;
                ASSERT_EQ(dst.At(tx, ty), p & 0xFFFFFF) << "round " << round << " at " << tx;
                ASSERT_EQ(dst.Alpha(tx, ty), dbits == 24 ? 255u : alpha)
                    << "round " << round << " at " << tx;
            }
    }
    // 2:1 with every tap weighing 40000 units: only a corner of the destination shows.
    Canvas src(12, 4, 32), dst(8, 4, 32);
    FillRandom(src, rng, false);
    SetStretchBltMode(dst.dc(), HALFTONE);
    const int dw = 40000, at = -dw / 2;
    ASSERT_TRUE(StretchBlt(dst.dc(), at, 0, dw, 4, src.dc(), -dw, 0, 2 * dw, 8, SRCCOPY));
    for (int tx = 0; tx < 8; ++tx) {
        const std::uint32_t p = ExactAverage(src, -dw, 0, 2 * dw, 8, dw, 4, tx - at, 1);
        ASSERT_EQ(dst.At(tx, 1), p & 0xFFFFFF) << tx;
        ASSERT_EQ(dst.Alpha(tx, 1), p >> 24) << tx;
    }
}
