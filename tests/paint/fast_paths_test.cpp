// The vectorised pixel loops against plain per-pixel versions of their rules, written here
// from the documented formulas, on random pictures, random rectangles that cross every edge,
// both depths and odd widths (padded rows).
#include <cstring>
#include <random>

#include "paint/color_mix.h"
#include "paint/glow_text.h"
#include "paint/image_pieces.h"
#include "paint_test_support.h"

namespace paint_test {
namespace {

constexpr TColor kKey = Rgb(255, 0, 255);

void FillRandom(TBitmap& b, std::mt19937& rng, int keyEvery) {
    for (int y = 0; y < b.Height(); ++y) {
        std::uint8_t* row = b.ScanLine(y);
        for (int i = 0; i < b.Stride(); ++i) row[i] = static_cast<std::uint8_t>(rng());
        if (keyEvery > 0)
            for (int x = 0; x < b.Width(); ++x)
                if (rng() % keyEvery == 0)
                    SetPx(b, x, y, kKey, row[x * b.BytesPerPixel() + (b.BytesPerPixel() - 1)]);
    }
}

RECT RandomRect(std::mt19937& rng, int w, int h) {
    int l = static_cast<int>(rng() % (w + 8)) - 4, t = static_cast<int>(rng() % (h + 8)) - 4;
    return RECT{l, t, l + static_cast<int>(rng() % (w + 4)), t + static_cast<int>(rng() % (h + 4))};
}

// CopyMasked's rules one pixel at a time (see image_pieces.h).
void ReferenceMasked(TBitmap& b, RECT dr, RECT sr, int maskOffset, bool useParentBg,
                     const paint::TsBgSource& bg, const TBitmap& image) {
    const int w = std::min(dr.right - dr.left, sr.right - sr.left),
              h = std::min(dr.bottom - dr.top, sr.bottom - sr.top);
    const bool opaque = bg.Ready && bg.Bmp && bg.Bmp->BytesPerPixel() == 4;
    const int dbpp = b.BytesPerPixel(), sbpp = image.BytesPerPixel();
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const int x = dr.left + i, y = dr.top + j, sx = sr.left + i, sy = sr.top + j;
            if (x < 0 || y < 0 || x >= b.Width() || y >= b.Height()) continue;
            if (sx < 0 || sy < 0 || sx >= image.Width() || sy >= image.Height() - maskOffset)
                continue;
            std::uint8_t* dp = b.ScanLine(y) + x * dbpp;
            const std::uint8_t* sp = image.ScanLine(sy) + sx * sbpp;
            const std::uint8_t* mp = image.ScanLine(sy + maskOffset) + sx * sbpp;
            if (Px(image, sx, sy) == kKey) {
                if (useParentBg) {
                    if (!bg.Ready) {
                        dp[0] = B(bg.FillColor), dp[1] = G(bg.FillColor), dp[2] = R(bg.FillColor);
                    } else if (int bx = bg.X + x, by = bg.Y + y; bx >= 0 && by >= 0 &&
                                                                 bx < bg.Bmp->Width() &&
                                                                 by < bg.Bmp->Height()) {
                        const std::uint8_t* bp =
                            bg.Bmp->ScanLine(by) + bx * bg.Bmp->BytesPerPixel();
                        dp[0] = bp[0], dp[1] = bp[1], dp[2] = bp[2];
                        if (dbpp == 4 && opaque) dp[3] = 255;
                    }
                    continue;
                }
                if (!bg.Ready) continue;
            }
            for (int c = 0; c < 3; ++c)
                dp[c] = static_cast<std::uint8_t>(((dp[c] - sp[c]) * mp[c] + sp[c] * 256) >> 8);
            if (dbpp == 4 && opaque) dp[3] = 255;
        }
}

TEST(FastPaths, MaskedCopyMatchesThePlainRuleOnRandomPieces) {
    std::mt19937 rng(21);
    for (int round = 0; round < 600; ++round) {
        const int dbpp = round % 2 ? 32 : 24, sbpp = (round / 2) % 2 ? 32 : 24;
        const int iw = 1 + static_cast<int>(rng() % 41),
                  ih = 2 * (1 + static_cast<int>(rng() % 12));
        ModelBuilder mb;
        mb.model.MasterBitmap = MakeBitmap(iw, ih, sbpp);
        TBitmap& image = *mb.model.MasterBitmap;
        // No key pixel, many, or a few: vector steps run whole, rarely, or now and then.
        FillRandom(image, rng, round % 3 == 0 ? 0 : round % 3 == 1 ? 5 : 37);
        const int e = mb.Mask("X", "P", RECT{0, 0, iw, ih}, 1, 1);
        const int dw = 1 + static_cast<int>(rng() % 45), dh = 1 + static_cast<int>(rng() % 20);
        auto b = MakeBitmap(dw, dh, dbpp);
        FillRandom(*b, rng, 0);
        auto parent = MakeBitmap(dw + 3, dh + 3, (round / 4) % 2 ? 32 : 24);
        FillRandom(*parent, rng, 0);
        const int kind = static_cast<int>(rng() % 3);
        const paint::TsBgSource bg = kind == 0   ? paint::BgSourceFromBitmap(parent.get(), 2, -1)
                                     : kind == 1 ? paint::BgSourceFromColor(Rgb(9, 99, 199))
                                                 : paint::EmptyBgSource();
        const bool useParentBg = rng() % 2;
        const RECT dr = RandomRect(rng, dw, dh), sr = RandomRect(rng, iw, ih / 2);
        auto expected = MakeBitmap(dw, dh, dbpp);
        for (int y = 0; y < dh; ++y)
            std::memcpy(expected->ScanLine(y), b->ScanLine(y), b->Stride());
        ReferenceMasked(*expected, dr, sr, ih / 2, useParentBg, bg, image);
        paint::CopyMasked(*b, dr, sr, mb.model.Masks[e], useParentBg, bg, image);
        for (int y = 0; y < dh; ++y)
            ASSERT_EQ(0, std::memcmp(b->ScanLine(y), expected->ScanLine(y), b->Stride()))
                << "round " << round << " row " << y << " depths " << dbpp << "/" << sbpp;
    }
}

// Tiles of a piece through its mask: destination pixel (x, y) of the area takes piece pixel
// ((x - left) % pw, (y - top) % ph) by the mask rule, key colour pixels stay; a piece that is
// not wholly inside the picture half draws nothing and is refused.
TEST(FastPaths, MaskedTilesMatchThePlainRuleOnRandomAreas) {
    std::mt19937 rng(24);
    for (int round = 0; round < 400; ++round) {
        const int dbpp = round % 2 ? 32 : 24, sbpp = (round / 2) % 2 ? 32 : 24;
        const int iw = 1 + static_cast<int>(rng() % 30),
                  ih = 2 * (1 + static_cast<int>(rng() % 10));
        ModelBuilder mb;
        mb.model.MasterBitmap = MakeBitmap(iw, ih, sbpp);
        TBitmap& image = *mb.model.MasterBitmap;
        FillRandom(image, rng, round % 3 == 0 ? 0 : 9);
        const int e = mb.Mask("X", "P", RECT{0, 0, iw, ih}, 1, 1);
        const int dw = 1 + static_cast<int>(rng() % 70), dh = 1 + static_cast<int>(rng() % 30);
        auto b = MakeBitmap(dw, dh, dbpp);
        FillRandom(*b, rng, 0);
        auto expected = MakeBitmap(dw, dh, dbpp);
        for (int y = 0; y < dh; ++y)
            std::memcpy(expected->ScanLine(y), b->ScanLine(y), b->Stride());
        const RECT area = RandomRect(rng, dw, dh);
        // Now and then a piece reaching past the picture half.
        const int sx = static_cast<int>(rng() % (iw + 1)) - (round % 7 == 0),
                  sy = static_cast<int>(rng() % (ih / 2 + 1));
        const int pw = 1 + static_cast<int>(rng() % iw),
                  ph = 1 + static_cast<int>(rng() % (ih / 2));
        const bool inside = sx >= 0 && sx + pw <= iw && sy + ph <= ih / 2;
        if (inside)
            for (int y = std::max(0, static_cast<int>(area.top));
                 y < std::min(dh, static_cast<int>(area.bottom)); ++y)
                for (int x = std::max(0, static_cast<int>(area.left));
                     x < std::min(dw, static_cast<int>(area.right)); ++x) {
                    const int px = sx + (x - area.left) % pw, py = sy + (y - area.top) % ph;
                    if (Px(image, px, py) == kKey) continue;
                    std::uint8_t* dp = expected->ScanLine(y) + x * expected->BytesPerPixel();
                    const std::uint8_t* sp = image.ScanLine(py) + px * image.BytesPerPixel();
                    const std::uint8_t* mp =
                        image.ScanLine(py + ih / 2) + px * image.BytesPerPixel();
                    for (int c = 0; c < 3; ++c)
                        dp[c] =
                            static_cast<std::uint8_t>(((dp[c] - sp[c]) * mp[c] + sp[c] * 256) >> 8);
                }
        ASSERT_EQ(inside,
                  paint::CopyMaskedTiled(*b, area, sx, sy, pw, ph, mb.model.Masks[e], image))
            << "round " << round;
        for (int y = 0; y < dh; ++y)
            ASSERT_EQ(0, std::memcmp(b->ScanLine(y), expected->ScanLine(y), b->Stride()))
                << "round " << round << " row " << y << " depths " << dbpp << "/" << sbpp;
    }
}

TEST(FastPaths, BitmapMixMatchesThePlainFormulaOnRandomRows) {
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        const int bpp = round % 2 ? 32 : 24, w = 2 + static_cast<int>(rng() % 50),
                  h = 2 + static_cast<int>(rng() % 6);
        auto d = MakeBitmap(w, h, bpp), s = MakeBitmap(w + 5, h + 2, bpp);
        FillRandom(*d, rng, 0);
        FillRandom(*s, rng, 0);
        const auto alpha = static_cast<std::uint8_t>(rng());
        const POINT at{static_cast<int>(rng() % w) - 1, static_cast<int>(rng() % h) - 1};
        const RECT sr = RandomRect(rng, w + 5, h + 2);
        auto expected = MakeBitmap(w, h, bpp);
        for (int y = 0; y < h; ++y) std::memcpy(expected->ScanLine(y), d->ScanLine(y), d->Stride());
        // Clipping as documented: negative points move the other side, then both bitmaps cut.
        POINT p = at;
        RECT r = sr;
        if (p.x < 0) r.left -= p.x, p.x = 0;
        if (p.y < 0) r.top -= p.y, p.y = 0;
        if (r.left < 0) p.x -= r.left, r.left = 0;
        if (r.top < 0) p.y -= r.top, r.top = 0;
        for (int y = r.top; y < std::min<int>(r.bottom, s->Height()); ++y)
            for (int x = r.left; x < std::min<int>(r.right, s->Width()); ++x) {
                const int dx = p.x + x - r.left, dy = p.y + y - r.top;
                if (dx >= w || dy >= h) continue;
                for (int c = 0; c < bpp / 8; ++c) {
                    std::uint8_t& v = expected->ScanLine(dy)[dx * bpp / 8 + c];
                    v = static_cast<std::uint8_t>(
                        (v * alpha + s->ScanLine(y)[x * bpp / 8 + c] * (255 - alpha) + 127) >> 8);
                }
            }
        paint::BlendBitmaps(*d, *s, alpha, at, sr);
        for (int y = 0; y < h; ++y)
            ASSERT_EQ(0, std::memcmp(d->ScanLine(y), expected->ScanLine(y), d->Stride()))
                << "round " << round << " row " << y;
    }
}

// The blur by its definition: rows, then columns, each output the sum over -size .. size of
// weight times the clamped neighbour, truncated to a byte.
void ReferenceBlur(std::vector<std::uint8_t>& m, int w, int h, int radius) {
    const std::vector<double> k = paint::detail::GlowKernel(radius);
    const int size = static_cast<int>(k.size()) - 1;
    auto trunc = [](double v) { return static_cast<std::uint8_t>(v >= 255 ? 255 : v < 0 ? 0 : v); };
    std::vector<std::uint8_t> t(m.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double acc = 0;
            for (int n = -size; n <= size; ++n)
                acc += k[std::abs(n)] * m[y * w + std::clamp(x - n, 0, w - 1)];
            t[y * w + x] = trunc(acc);
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double acc = 0;
            for (int n = -size; n <= size; ++n)
                acc += k[std::abs(n)] * t[std::clamp(y - n, 0, h - 1) * w + x];
            m[y * w + x] = trunc(acc);
        }
}

TEST(FastPaths, BlurSkipsFlatWindowsWithoutChangingAByte) {
    std::mt19937 rng(4);
    for (int round = 0; round < 120; ++round) {
        // Every tenth round a wide kernel (up to the longest, 201 taps) over a tall mask, so
        // runs of equal values grow past the window.
        const bool wide = round % 10 == 9;
        const int w = 1 + static_cast<int>(rng() % 70),
                  h = wide ? 200 + static_cast<int>(rng() % 80) : 1 + static_cast<int>(rng() % 30),
                  radius = wide ? 20 + static_cast<int>(rng() % 60) : static_cast<int>(rng() % 7);
        // Paper of one value with a few blobs of others, like text on a mask; some rounds noise.
        std::vector<std::uint8_t> m(static_cast<std::size_t>(w) * h,
                                    round % 3 ? 255 : static_cast<std::uint8_t>(rng()));
        const int blobs = round % 5 == 0 ? w * h : static_cast<int>(rng() % 4);
        for (int b = 0; b < blobs; ++b) {
            const int bx = static_cast<int>(rng() % w), by = static_cast<int>(rng() % h);
            for (int y = by; y < std::min(h, by + 3); ++y)
                for (int x = bx; x < std::min(w, bx + 1 + static_cast<int>(rng() % 9)); ++x)
                    m[y * w + x] = static_cast<std::uint8_t>(rng());
        }
        std::vector<std::uint8_t> expected = m;
        ReferenceBlur(expected, w, h, radius);
        paint::detail::BlurMask(m.data(), w, h, radius);
        ASSERT_EQ(m, expected) << "round " << round << " " << w << "x" << h << " radius " << radius;
    }
}

TEST(FastPaths, GlowMixMatchesIntegerDivisionOnRandomMasks) {
    std::mt19937 rng(9);
    for (int round = 0; round < 200; ++round) {
        const int bpp = round % 2 ? 32 : 24, bw = 1 + static_cast<int>(rng() % 40),
                  bh = 1 + static_cast<int>(rng() % 12);
        auto b = MakeBitmap(bw, bh, bpp);
        FillRandom(*b, rng, 0);
        auto before = MakeBitmap(bw, bh, bpp);
        for (int y = 0; y < bh; ++y) std::memcpy(before->ScanLine(y), b->ScanLine(y), b->Stride());
        // A cached mask of the grown rectangle (radius 0: grown by 4) is used as it is.
        const RECT r = RandomRect(rng, bw, bh);
        if (r.right - r.left + 8 <= 0 || r.bottom - r.top + 8 <= 0) continue;
        paint::GlowMask mask;
        mask.width = r.right - r.left + 8, mask.height = r.bottom - r.top + 8;
        mask.bits.resize(static_cast<std::size_t>(mask.width) * mask.height);
        for (auto& m : mask.bits) m = rng() % 4 == 0 ? 255 : static_cast<std::uint8_t>(rng());
        const TColor glow = static_cast<TColor>(rng() & 0xFFFFFF);
        paint::DrawGlowText(*b, "x", r, mask, glow, 0, 0, 0);
        for (int y = 0; y < bh; ++y)
            for (int x = 0; x < bw; ++x) {
                const int mx = x - (r.left - 4), my = y - (r.top - 4);
                const bool covered = mx >= 0 && my >= 0 && mx < mask.width && my < mask.height;
                const int a =
                    covered ? mask.bits[static_cast<std::size_t>(my) * mask.width + mx] : 255;
                const TColor p = Px(*before, x, y);
                const TColor want =
                    Rgb((R(p) - R(glow)) * a / 255 + R(glow), (G(p) - G(glow)) * a / 255 + G(glow),
                        (B(p) - B(glow)) * a / 255 + B(glow));
                ASSERT_EQ(Px(*b, x, y), want) << "round " << round << " at " << x << "," << y;
                if (bpp == 32) {
                    ASSERT_EQ(Alpha(*b, x, y), std::max(0, Alpha(*before, x, y) + a - 255))
                        << "round " << round;
                }
            }
    }
}

}  // namespace
}  // namespace paint_test
