#include "paint/glow_text.h"

#include "paint_test_support.h"

namespace paint_test {
namespace {

using paint::DrawGlowText;
using paint::GlowMask;

TEST(GlowKernel, CutWhereTheDroppedTailsReachHalfAGreyLevel) {
    // Half-widths and end weights worked out separately from the definition.
    struct Case {
        int radius, halfWidth;
        double centre, last;
    } cases[] = {{1, 2, 0.4026199468942474, 0.05448868454964294},
                 {2, 5, 0.20056541423882082, 0.008812229292562285},
                 {4, 11, 0.10013062438101324, 0.0022823955641298596},
                 {8, 24, 0.049976753601490016, 0.0005551915827515413},
                 {20, 61, 0.019989146514903446, 0.00019088950083619228}};
    for (const auto& c : cases) {
        std::vector<double> k = paint::detail::GlowKernel(c.radius);
        ASSERT_EQ(static_cast<int>(k.size()) - 1, c.halfWidth) << "radius " << c.radius;
        EXPECT_NEAR(k.front(), c.centre, 1e-15) << "radius " << c.radius;
        EXPECT_NEAR(k.back(), c.last, 1e-15) << "radius " << c.radius;
    }
}

TEST(GlowKernel, RadiusZeroOrNegativeMeansNoBlur) {
    // The weights divide by the radius; no radius leaves the mask as drawn.
    for (int r : {0, -3}) {
        std::vector<std::uint8_t> m = {255, 0, 255, 10, 20, 30};
        paint::detail::BlurMask(m.data(), 3, 2, r);
        EXPECT_EQ(m, (std::vector<std::uint8_t>{255, 0, 255, 10, 20, 30}));
    }
}

TEST(BlurMask, RowsThenColumnsTruncated) {
    // Expected values from an independent straightforward implementation of the definition:
    // note that 255 becomes 254 since the weights sum to a hair under 1.
    const std::uint8_t r1[5][9] = {{178, 221, 247, 250, 248, 250, 253, 254, 254}, {221, 240, 248, 238, 229, 238, 250, 254, 254},
                                   {248, 251, 248, 229, 212, 229, 248, 254, 254}, {254, 254, 250, 238, 229, 238, 250, 254, 254},
                                   {254, 254, 253, 250, 248, 250, 253, 254, 254}};
    const std::uint8_t r2[5][9] = {{197, 215, 230, 239, 245, 248, 251, 252, 254}, {216, 227, 235, 240, 243, 246, 249, 251, 253},
                                   {232, 237, 240, 242, 243, 245, 248, 251, 253}, {244, 245, 245, 245, 245, 246, 249, 251, 253},
                                   {250, 250, 249, 248, 248, 249, 251, 252, 254}};
    for (int radius : {1, 2}) {
        std::vector<std::uint8_t> m(9 * 5, 255);
        m[2 * 9 + 4] = 0;
        m[0] = 100;
        paint::detail::BlurMask(m.data(), 9, 5, radius);
        const auto& expected = radius == 1 ? r1 : r2;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 9; ++x) ASSERT_EQ(m[y * 9 + x], expected[y][x]) << "r" << radius << " " << x << "," << y;
    }
}

// A cached mask of the right size is used as it is, so the mixing can be checked on known
// mask values: for rect (10, 10, 12, 11) and radius 1 the mask is 2 + 10 by 1 + 10, its
// (0, 0) at (5, 5).
GlowMask KnownMask(std::uint8_t value) {
    GlowMask m;
    m.width = 12, m.height = 11;
    m.bits.assign(12 * 11, 255);
    m.bits[2 * 12 + 3] = value;  // bitmap pixel (8, 7)
    return m;
}

struct MixCase {
    const char* name;
    int c, g, m, alpha, expectedC, expectedAlpha;
};

TEST(DrawGlowText, MixesTheGlowColourByTheMaskTruncatingTowardZero) {
    const MixCase cases[] = {
        {"half toward a darker glow", 200, 100, 128, 200, 150, 73},
        {"half toward a lighter glow truncates toward zero", 50, 100, 128, 200, 75, 73},
        {"full glow", 50, 100, 0, 100, 100, 0},
        {"alpha never below zero", 0, 255, 100, 100, 155, 0},
    };
    for (int bpp : {24, 32})
        for (const auto& c : cases) {
            auto b = MakeBitmap(20, 20, bpp, Rgb(c.c, c.c, c.c), static_cast<std::uint8_t>(c.alpha));
            Snapshot before(*b);
            GlowMask cache = KnownMask(static_cast<std::uint8_t>(c.m));
            DrawGlowText(*b, "x", RECT{10, 10, 12, 11}, cache, Rgb(c.g, c.g, c.g), 1, 15, 0);
            EXPECT_EQ(Px(*b, 8, 7), Rgb(c.expectedC, c.expectedC, c.expectedC)) << c.name;
            if (bpp == 32) {
                EXPECT_EQ(Alpha(*b, 8, 7), c.expectedAlpha) << c.name;
            }
            EXPECT_EQ(ChangedOutside(*b, before, RECT{8, 7, 9, 8}), 0) << c.name;
        }
}

TEST(DrawGlowText, MaskPartsOutsideTheBitmapAreSkipped) {
    GlowMask cache;
    cache.width = 12, cache.height = 11;
    cache.bits.assign(12 * 11, 0);
    auto b = MakeBitmap(4, 3, 24, Rgb(9, 9, 9));  // padded rows
    Snapshot before(*b);
    DrawGlowText(*b, "x", RECT{-2, -3, 0, -2}, cache, Rgb(200, 0, 0), 1, 15, 0);  // mask (-7,-8)..(5,3)
    EXPECT_EQ(ChangedOutside(*b, before, RECT{0, 0, 4, 3}), 0);
    EXPECT_EQ(Px(*b, 3, 2), Rgb(200, 0, 0));
}

TEST(DrawGlowText, MakesAMaskOfTheGrownRectangleWhenTheCacheDoesNotFit) {
    auto b = MakeBitmap(120, 60, 32, Rgb(255, 255, 255));
    b->Canvas().Font.SetHeight(-20);
    GlowMask cache = KnownMask(0);  // the wrong size for this rectangle
    const RECT text{30, 20, 90, 40};
    DrawGlowText(*b, "Glow", text, cache, Rgb(0, 0, 255), 3, paint::kGlowContourAll, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_EQ(cache.width, 60 + 2 * 7);
    EXPECT_EQ(cache.height, 20 + 2 * 7);
    Snapshot after(*b);
    // Pixels beyond the grown rectangle keep their colour; the glow reaches past the text.
    EXPECT_EQ(ChangedOutside(*b, after, RECT{0, 0, 0, 0}), 0);
    auto fresh = MakeBitmap(120, 60, 32, Rgb(255, 255, 255));
    Snapshot white(*fresh);
    EXPECT_EQ(ChangedOutside(*b, white, RECT{23, 13, 97, 47}), 0);
    int glowing = 0;
    for (int y = 20; y < 40; ++y)
        for (int x = 30; x < 90; ++x) glowing += B(Px(*b, x, y)) == 255 && R(Px(*b, x, y)) < 200;
    EXPECT_GT(glowing, 20);
    // A second call with the cache draws the same halo again over the result.
    const std::vector<std::uint8_t> kept = cache.bits;
    DrawGlowText(*b, "Glow", text, cache, Rgb(0, 0, 255), 3, paint::kGlowContourAll, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_EQ(cache.bits, kept);
}

}  // namespace
}  // namespace paint_test
