#include "paint/image_pieces.h"

#include "paint_test_support.h"

namespace paint_test {
namespace {

using paint::TsBgSource;

constexpr TColor kKey = Rgb(255, 0, 255);

// The mixing rule of masked pieces: ((d - s) * m + s * 256) >> 8 per channel.
constexpr int Mix(int d, int s, int m) { return ((d - s) * m + s * 256) >> 8; }

struct MaskedCase {
    const char* name;
    TColor s;
    int m;
    bool useParentBg;
    int bgKind;  // 0 ready bitmap, 1 ready but outside it, 2 plain colour
    TColor expected;
};

TEST(CopyMasked, PixelRulesForImageAndSeeThroughPixels) {
    constexpr TColor d = Rgb(200, 10, 255), parentPx = Rgb(11, 22, 33), fill = Rgb(44, 55, 66);
    const MaskedCase cases[] = {
        {"image mixed by the mask", Rgb(100, 0, 255), 128, false, 0, Rgb(Mix(200, 100, 128), Mix(10, 0, 128), 255)},
        {"mask 0 shows the image", Rgb(100, 7, 0), 0, false, 2, Rgb(100, 7, 0)},
        {"mask 255 almost keeps the destination", Rgb(0, 0, 0), 255, false, 2, Rgb(199, 9, 254)},
        {"hole shows the parent", kKey, 0, true, 0, parentPx},
        {"hole outside the parent's bitmap stays", kKey, 0, true, 1, d},
        {"hole takes the plain colour", kKey, 0, true, 2, fill},
        {"hole without parent stays when nothing is ready", kKey, 0, false, 2, d},
        {"hole without parent mixes when the background is ready", kKey, 128, false, 0,
         Rgb(Mix(200, 255, 128), Mix(10, 0, 128), Mix(255, 255, 128))},
    };
    for (int bpp : {24, 32})
        for (const auto& c : cases) {
            ModelBuilder mb;
            TBitmap& image = mb.Master(4, 4);
            SetPx(image, 1, 1, c.s);
            SetPx(image, 1, 3, Rgb(c.m, c.m, c.m));
            const int e = mb.Mask("X", "P", RECT{0, 0, 4, 4}, 1, 1);
            auto parent = MakeBitmap(8, 8, 32, 0);
            SetPx(*parent, 5 + 2, 4 + 3, parentPx);  // destination (2, 3) at bg (5, 4)
            TsBgSource bg = c.bgKind == 2 ? paint::BgSourceFromColor(fill)
                                          : paint::BgSourceFromBitmap(parent.get(), c.bgKind == 0 ? 5 : 50, 4);
            auto b = MakeBitmap(5, 5, bpp, d, 9);
            paint::CopyMasked(*b, RECT{2, 3, 3, 4}, RECT{1, 1, 2, 2}, mb.model.Masks[e], c.useParentBg, bg, image);
            EXPECT_EQ(Px(*b, 2, 3), c.expected) << c.name << " " << bpp;
        }
}

TEST(CopyMasked, ReadyThirtyTwoBitBackgroundMakesWrittenPixelsOpaque) {
    ModelBuilder mb;
    TBitmap& image = mb.Master(4, 4);
    const int e = mb.Mask("X", "P", RECT{0, 0, 4, 4}, 1, 1);
    auto parent32 = MakeBitmap(8, 8, 32), parent24 = MakeBitmap(8, 8, 24);
    auto b = MakeBitmap(5, 5, 32, 0, 9);
    paint::CopyMasked(*b, RECT{0, 0, 2, 2}, RECT{0, 0, 2, 2}, mb.model.Masks[e], false, paint::BgSourceFromBitmap(parent32.get(), 0, 0), image);
    paint::CopyMasked(*b, RECT{2, 0, 4, 2}, RECT{0, 0, 2, 2}, mb.model.Masks[e], false, paint::BgSourceFromBitmap(parent24.get(), 0, 0), image);
    EXPECT_EQ(Alpha(*b, 1, 1), 255);
    EXPECT_EQ(Alpha(*b, 3, 1), 9);
}

TEST(CopyMasked, CopiesTheOverlapClippedToBothBitmaps) {
    struct Case {
        const char* name;
        RECT dst, src;
    } cases[] = {
        {"smaller source", {1, 1, 6, 6}, {0, 0, 2, 2}},
        {"negative destination", {-2, -1, 3, 3}, {0, 0, 5, 5}},
        {"negative source", {1, 1, 5, 5}, {-1, -2, 3, 2}},
        {"beyond the destination", {4, 3, 20, 20}, {0, 0, 5, 5}},
        {"beyond the image half", {0, 0, 6, 6}, {3, 2, 9, 9}},
    };
    for (const auto& c : cases) {
        ModelBuilder mb;
        TBitmap& image = mb.Master(5, 6);  // image rows 0..2, mask rows 3..5
        for (int y = 3; y < 6; ++y)
            for (int x = 0; x < 5; ++x) SetPx(image, x, y, 0);  // mask 0: exact copy
        const int e = mb.Mask("X", "P", RECT{0, 0, 5, 6}, 1, 1);
        auto b = MakeBitmap(6, 5, 24, Rgb(1, 2, 3));
        paint::CopyMasked(*b, c.dst, c.src, mb.model.Masks[e], false, paint::EmptyBgSource(), image);
        const int w = std::min(c.dst.right - c.dst.left, c.src.right - c.src.left);
        const int h = std::min(c.dst.bottom - c.dst.top, c.src.bottom - c.src.top);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x) {
                int i = x - c.dst.left, j = y - c.dst.top, sx = c.src.left + i, sy = c.src.top + j;
                bool covered = i >= 0 && j >= 0 && i < w && j < h && sx >= 0 && sy >= 0 && sx < 5 && sy < 3;
                ASSERT_EQ(Px(*b, x, y), covered ? Px(image, sx, sy) : Rgb(1, 2, 3)) << c.name << " " << x << "," << y;
            }
    }
}

struct KeyedCase {
    const char* name;
    bool useParentBg;
    int bgKind;  // 0 ready bitmap, 1 ready: the destination itself, 2 plain colour
    TColor expectedHole;
};

TEST(CopyKeyed, CopiesAroundTheKeyColour) {
    constexpr TColor d = Rgb(5, 6, 7), parentPx = Rgb(11, 22, 33), fill = Rgb(44, 55, 66);
    const KeyedCase cases[] = {
        {"hole shows the parent", true, 0, parentPx},
        {"hole stays when the parent is the destination", true, 1, d},
        {"hole stays without useParentBg", false, 0, d},
        {"hole takes the plain colour", true, 2, fill},
        {"hole takes the plain colour without useParentBg too", false, 2, fill},
    };
    for (int bpp : {24, 32})
        for (const auto& c : cases) {
            auto image = MakeBitmap(4, 3, 24);
            FillPattern(*image, 2);
            SetPx(*image, 2, 1, kKey);
            auto parent = MakeBitmap(9, 9, 24, 0);
            SetPx(*parent, 3 + 3, 1 + 2, parentPx);  // the hole lands on (3, 2)
            auto b = MakeBitmap(6, 5, bpp, d, 9);
            TsBgSource bg = c.bgKind == 0 ? paint::BgSourceFromBitmap(parent.get(), 3, 1)
                            : c.bgKind == 1 ? paint::BgSourceFromBitmap(b.get(), 0, 0)
                                            : paint::BgSourceFromColor(fill);
            // Source (1, 0)-(3, 2) inclusive: 3 x 3 pixels to (2, 1).
            paint::CopyKeyed(*b, *image, 2, 1, c.useParentBg, bg, kKey, RECT{1, 0, 3, 2});
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 6; ++x) {
                    bool in = x >= 2 && x < 5 && y >= 1 && y < 4;
                    TColor want = !in ? d : (x == 3 && y == 2) ? c.expectedHole : Px(*image, x - 1, y - 1);
                    ASSERT_EQ(Px(*b, x, y), want) << c.name << " " << x << "," << y;
                }
            if (bpp == 32) {
                EXPECT_EQ(Alpha(*b, 2, 1), 255) << c.name;
                EXPECT_EQ(Alpha(*b, 0, 0), 9) << c.name;
            }
        }
}

TEST(CopyKeyed, ClipsTheSourceToTheImageAndTheDestinationToTheBitmap) {
    auto image = MakeBitmap(4, 3, 24);
    FillPattern(*image, 2);
    auto b = MakeBitmap(5, 4, 24, Rgb(1, 2, 3));
    paint::CopyKeyed(*b, *image, -1, 2, false, paint::EmptyBgSource(), kKey, RECT{0, 0, 40, 40});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            bool in = x < 3 && y >= 2;
            ASSERT_EQ(Px(*b, x, y), in ? Px(*image, x + 1, y - 2) : Rgb(1, 2, 3)) << x << "," << y;
        }
}

// Three 4 x 3 frames side by side in the master bitmap at (2, 1).
class DrawImageFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        TBitmap& m = mb.Master(20, 10);
        SetPx(m, 2 + 8 + 1, 1 + 1, kKey);  // a hole in frame 2
        plain = mb.Mask("X", "GLYPH", RECT{2, 1, 14, 4}, 3, 0);
    }
    TColor FramePx(int frame, int x, int y) { return Px(*mb.model.MasterBitmap, 2 + 4 * frame + x, 1 + y); }
    ModelBuilder mb;
    int plain = -1;
};

TEST_F(DrawImageFrameTest, StateAboveTheLastFrameUsesTheLastAndHolesShowTheBackground) {
    auto b = MakeBitmap(8, 6, 24, Rgb(9, 9, 9));
    auto parent = MakeBitmap(8, 6, 24, Rgb(70, 80, 90));
    paint::DrawImageFrame(*b, POINT{1, 2}, 5, paint::BgSourceFromBitmap(parent.get(), 0, 0), mb.model, plain, 1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            TColor want = x == 1 && y == 1 ? Rgb(70, 80, 90) : FramePx(2, x, y);
            ASSERT_EQ(Px(*b, 1 + x, 2 + y), want) << x << "," << y;
        }
}

TEST_F(DrawImageFrameTest, NegativePointCutsTheFrame) {
    auto b = MakeBitmap(8, 6, 24, Rgb(9, 9, 9));
    paint::DrawImageFrame(*b, POINT{-1, -2}, 0, paint::EmptyBgSource(), mb.model, plain, 1);
    EXPECT_EQ(Px(*b, 0, 0), FramePx(0, 1, 2));
    EXPECT_EQ(Px(*b, 2, 0), FramePx(0, 3, 2));
    EXPECT_EQ(Px(*b, 3, 0), Rgb(9, 9, 9));
    EXPECT_EQ(Px(*b, 0, 1), Rgb(9, 9, 9));
}

TEST_F(DrawImageFrameTest, OtherModesMixPlainFramesAtHalfStrengthRoundingHalfToEven) {
    struct Case {
        int s, d, expected;
    } cases[] = {{3, 0, 2}, {1, 0, 0}, {5, 0, 2}, {200, 100, 150}, {0, 255, 128}, {0, 253, 126}};
    for (const auto& c : cases) {
        SetPx(*mb.model.MasterBitmap, 2, 1, Rgb(c.s, c.s, c.s));
        auto b = MakeBitmap(6, 6, 24, Rgb(c.d, c.d, c.d));
        paint::DrawImageFrame(*b, POINT{0, 0}, 0, paint::EmptyBgSource(), mb.model, plain, 0);
        EXPECT_EQ(Px(*b, 0, 0), Rgb(c.expected, c.expected, c.expected)) << c.s << " over " << c.d;
    }
    SetPx(*mb.model.MasterBitmap, 2, 1, kKey);
    auto b = MakeBitmap(6, 6, 24, Rgb(4, 4, 4));
    paint::DrawImageFrame(*b, POINT{0, 0}, 0, paint::EmptyBgSource(), mb.model, plain, 0);
    EXPECT_EQ(Px(*b, 0, 0), Rgb(4, 4, 4)) << "holes are skipped";
}

TEST_F(DrawImageFrameTest, MaskedFramesAreFainterOutsideModeOne) {
    // Two 2 x 2 frames over their masks: R = (0, 0, 4, 4) in an own picture.
    auto pic = MakeBitmap(4, 4, 24);
    SetPx(*pic, 2, 0, Rgb(100, 100, 100));
    SetPx(*pic, 2, 2, Rgb(28, 28, 28));
    SetPx(*pic, 3, 0, kKey);
    const int e = mb.Mask("X", "M", RECT{0, 0, 4, 4}, 2, 1);
    mb.model.Masks[e].Bmp = std::move(pic);
    for (int mode : {1, 2}) {
        auto b = MakeBitmap(4, 4, 32, Rgb(200, 200, 200), 7);
        paint::DrawImageFrame(*b, POINT{1, 1}, 1, paint::EmptyBgSource(), mb.model, e, mode);
        int m = mode == 1 ? 28 : 128;
        EXPECT_EQ(Px(*b, 1, 1), Rgb(Mix(200, 100, m), Mix(200, 100, m), Mix(200, 100, m))) << mode;
        EXPECT_EQ(Alpha(*b, 1, 1), 255);
        EXPECT_EQ(Px(*b, 2, 1), Rgb(200, 200, 200)) << "hole stays";
    }
}

TEST_F(DrawImageFrameTest, OwnPictureSmallerThanItsRectangleOrNoFramesDrawNothing) {
    const int small = mb.Mask("X", "S", RECT{0, 0, 8, 4}, 2, 0);
    mb.model.Masks[small].Bmp = MakeBitmap(6, 4, 24);
    const int none = mb.Mask("X", "N", RECT{2, 1, 14, 4}, 0, 0);
    auto b = MakeBitmap(8, 6, 24, Rgb(9, 9, 9));
    Snapshot before(*b);
    paint::DrawImageFrame(*b, POINT{0, 0}, 0, paint::EmptyBgSource(), mb.model, small, 1);
    paint::DrawImageFrame(*b, POINT{0, 0}, 0, paint::EmptyBgSource(), mb.model, none, 1);
    paint::DrawImageFrame(*b, POINT{0, 0}, 0, paint::EmptyBgSource(), mb.model, 99, 1);
    EXPECT_EQ(ChangedOutside(*b, before, RECT{0, 0, 0, 0}), 0);
}

}  // namespace
}  // namespace paint_test
