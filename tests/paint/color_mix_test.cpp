#include "paint/color_mix.h"

#include "paint_test_support.h"

namespace paint_test {
namespace {

using paint::BlendBitmaps;
using paint::BlendColorIntoRect;
using paint::LerpColor;

struct LerpCase {
    const char* name;
    TColor c1, c2;
    double k;
    TColor expected;
};

TEST(LerpColor, ChannelsRoundHalfToEvenAndKeepTopByteOfFirst) {
    const LerpCase cases[] = {
        {"k 1 gives c1", Rgb(10, 20, 30), Rgb(200, 100, 0), 1.0, Rgb(10, 20, 30)},
        {"k 0 gives c2", Rgb(10, 20, 30), Rgb(200, 100, 0), 0.0, Rgb(200, 100, 0)},
        {"half of 1 rounds to even 0", Rgb(1, 3, 5), Rgb(0, 0, 0), 0.5, Rgb(0, 2, 2)},
        {"a quarter", Rgb(100, 0, 255), Rgb(0, 100, 255), 0.25, Rgb(25, 75, 255)},
        {"top byte of c1", static_cast<TColor>(0x12000000 | Rgb(4, 4, 4)), Rgb(0, 0, 0), 0.5,
         static_cast<TColor>(0x12000000 | Rgb(2, 2, 2))},
    };
    for (const auto& c : cases) EXPECT_EQ(LerpColor(c.c1, c.c2, c.k), c.expected) << c.name;
}

struct BlendColorCase {
    const char* name;
    int keep;
    TColor before, color, expected;
};

TEST(BlendColorIntoRect, FormulaPerChannel) {
    const BlendColorCase cases[] = {
        {"keep 50 of 101 and 103 rounds to even", 50, Rgb(101, 103, 0), Rgb(0, 0, 0), Rgb(50, 52, 0)},
        {"keep 30", 30, Rgb(200, 200, 200), Rgb(10, 10, 10), Rgb(67, 67, 67)},
        {"keep 0 is the colour", 0, Rgb(77, 1, 2), Rgb(9, 8, 7), Rgb(9, 8, 7)},
        {"keep 100 is the pixel", 100, Rgb(77, 1, 2), Rgb(9, 8, 7), Rgb(77, 1, 2)},
        {"keep 25 of 1 toward 2", 25, Rgb(1, 1, 1), Rgb(2, 2, 2), Rgb(2, 2, 2)},
    };
    for (int bpp : {24, 32})
        for (const auto& c : cases) {
            auto b = MakeBitmap(3, 3, bpp, c.before, 77);
            BlendColorIntoRect(*b, RECT{0, 0, 2, 2}, c.keep, c.color);
            EXPECT_EQ(Px(*b, 1, 1), c.expected) << c.name << " " << bpp;
            EXPECT_EQ(Alpha(*b, 1, 1), bpp == 32 ? 77 : 255) << "alpha stays: " << c.name;
        }
}

struct EdgeCase {
    const char* name;
    RECT rect;
    RECT changed;  // exclusive
};

TEST(BlendColorIntoRect, RightAndBottomAreInclusiveAndClipped) {
    const EdgeCase cases[] = {
        {"inner rectangle includes its right column and bottom row", {1, 1, 3, 2}, {1, 1, 4, 3}},
        {"negative left and top become 0", {-5, -5, 0, 0}, {0, 0, 1, 1}},
        {"right and bottom beyond the bitmap stop at its last pixel", {3, 2, 100, 100}, {3, 2, 5, 4}},
        {"right left of left changes nothing", {3, 0, 2, 3}, {0, 0, 0, 0}},
        {"entirely outside changes nothing", {7, 7, 9, 9}, {0, 0, 0, 0}},
    };
    for (int bpp : {24, 32})
        for (const auto& c : cases) {
            auto b = MakeBitmap(5, 4, bpp, Rgb(100, 100, 100));  // 24-bit rows are padded
            Snapshot before(*b);
            BlendColorIntoRect(*b, c.rect, 50, Rgb(0, 0, 0));
            EXPECT_EQ(ChangedOutside(*b, before, c.changed), 0) << c.name;
            for (int y = c.changed.top; y < c.changed.bottom; ++y)
                for (int x = c.changed.left; x < c.changed.right; ++x)
                    EXPECT_EQ(Px(*b, x, y), Rgb(50, 50, 50)) << c.name << " at " << x << "," << y;
        }
}

struct BytesCase {
    int d, s, a, expected;
};

TEST(BlendBitmaps, ByteFormulaAddsHalfAndShiftsByEight) {
    // (d * a + s * (255 - a) + 127) >> 8, worked out by hand.
    const BytesCase cases[] = {{255, 255, 0, 254}, {0, 255, 0, 254}, {100, 200, 128, 149}, {255, 0, 255, 254},
                               {10, 20, 255, 10},  {200, 50, 102, 110}, {1, 2, 1, 2}, {0, 0, 77, 0}};
    for (const auto& c : cases) {
        for (int bpp : {24, 32}) {
            auto d = MakeBitmap(2, 2, bpp, Rgb(c.d, c.d, c.d), static_cast<std::uint8_t>(c.d));
            auto s = MakeBitmap(2, 2, bpp, Rgb(c.s, c.s, c.s), static_cast<std::uint8_t>(c.s));
            BlendBitmaps(*d, *s, static_cast<std::uint8_t>(c.a), POINT{0, 0}, RECT{0, 0, 2, 2});
            EXPECT_EQ(Px(*d, 1, 1), Rgb(c.expected, c.expected, c.expected)) << c.d << " " << c.s << " " << c.a;
            if (bpp == 32) {
                EXPECT_EQ(Alpha(*d, 0, 1), c.expected) << "alpha mixes too";
            }
        }
    }
}

// What BlendBitmaps must do, pixel by pixel: source pixel (sr.left + i, sr.top + j) meets
// destination pixel (at.x + i, at.y + j) wherever both exist.
void ExpectBlendedLikeReference(int bpp, POINT at, RECT sr, int dw, int dh, int sw, int sh, const char* name) {
    auto d = MakeBitmap(dw, dh, bpp);
    auto s = MakeBitmap(sw, sh, bpp);
    FillPattern(*d, 1, 200);
    FillPattern(*s, 2, 40);
    Snapshot before(*d);
    const int a = 90;
    BlendBitmaps(*d, *s, a, at, sr);
    for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x) {
            int sx = sr.left + (x - at.x), sy = sr.top + (y - at.y);
            bool covered = sx >= sr.left && sx < sr.right && sy >= sr.top && sy < sr.bottom && sx >= 0 && sy >= 0 &&
                           sx < sw && sy < sh;
            TColor dc = before.Px(x, y, bpp / 8), expect = dc;
            if (covered) {
                TColor sc = Px(*s, sx, sy);
                auto mix = [&](int dv, int sv) { return (dv * a + sv * (255 - a) + 127) >> 8; };
                expect = Rgb(mix(R(dc), R(sc)), mix(G(dc), G(sc)), mix(B(dc), B(sc)));
            }
            ASSERT_EQ(Px(*d, x, y), expect) << name << " " << bpp << " at " << x << "," << y;
        }
}

struct ClipCase {
    const char* name;
    POINT at;
    RECT sr;
};

TEST(BlendBitmaps, ClipsBothSidesKeepingPixelCorrespondence) {
    const ClipCase cases[] = {
        {"inside", {2, 1}, {1, 1, 4, 3}},
        {"negative destination point", {-2, -3}, {0, 0, 6, 6}},
        {"negative source rectangle", {1, 1}, {-2, -1, 3, 3}},
        {"both negative", {-1, 2}, {-2, -3, 4, 5}},
        {"beyond the source bitmap", {0, 0}, {4, 3, 40, 40}},
        {"beyond the destination", {5, 4}, {0, 0, 40, 40}},
        {"source starts outside", {0, 0}, {6, 0, 9, 2}},
        {"point outside the destination", {7, 0}, {0, 0, 2, 2}},
        {"empty source rectangle", {0, 0}, {2, 2, 2, 5}},
    };
    for (const auto& c : cases)
        for (int bpp : {24, 32}) ExpectBlendedLikeReference(bpp, c.at, c.sr, 7, 5, 6, 4, c.name);
}

TEST(BlendBitmaps, LeavesDestinationAloneForMixedDepthsAndTinyBitmaps) {
    struct Case {
        const char* name;
        int dw, dh, dbpp, sw, sh, sbpp;
    } cases[] = {
        {"24-bit source into 32-bit", 4, 4, 32, 4, 4, 24},
        {"32-bit source into 24-bit", 4, 4, 24, 4, 4, 32},
        {"one-row destination", 4, 1, 24, 4, 4, 24},
        {"one-column source", 4, 4, 32, 1, 4, 32},
    };
    for (const auto& c : cases) {
        auto d = MakeBitmap(c.dw, c.dh, c.dbpp, Rgb(1, 2, 3));
        auto s = MakeBitmap(c.sw, c.sh, c.sbpp, Rgb(200, 200, 200));
        Snapshot before(*d);
        BlendBitmaps(*d, *s, 0, POINT{0, 0}, RECT{0, 0, 4, 4});
        EXPECT_EQ(ChangedOutside(*d, before, RECT{0, 0, 0, 0}), 0) << c.name;
    }
}

TEST(BlendBitmaps, IntoItselfReadsTheSourceBeforeItIsChanged) {
    auto b = MakeBitmap(8, 8, 24);
    FillPattern(*b, 3);
    auto expected = MakeBitmap(8, 8, 24);
    FillPattern(*expected, 3);
    auto source = MakeBitmap(8, 8, 24);
    FillPattern(*source, 3);
    BlendBitmaps(*expected, *source, 100, POINT{1, 1}, RECT{0, 0, 8, 8});
    BlendBitmaps(*b, *b, 100, POINT{1, 1}, RECT{0, 0, 8, 8});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(Px(*b, x, y), Px(*expected, x, y)) << x << "," << y;
}

}  // namespace
}  // namespace paint_test
