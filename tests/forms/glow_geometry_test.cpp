// Where glow windows go for a control seen whole, cut off at each edge of its container, and
// for frames narrower than the overlap. Expected rectangles are worked out by hand from:
// full width = box + left + right frame - 2 overlap; a cut side ends at the control's visible
// edge.
#include "forms/glow_geometry.h"

#include <gtest/gtest.h>

namespace {

using forms::PlaceGlow;
using forms::TacGlowPlacement;

// A 60 x 30 control at (100, 100); frame widths 6, 5, 7, 8; overlap 2. Full glow 69 x 39.
constexpr RECT kBox{100, 100, 160, 130};
constexpr RECT kFrame{6, 5, 7, 8};
constexpr int kOverlap = 2;

struct Case {
    const char* name;
    RECT visible;
    RECT window;
    int cutLeft, cutTop, cutRight, cutBottom;
};

const Case kCases[] = {
    // Whole: (100 - 6 + 2, 100 - 5 + 2) to (160 + 7 - 2, 130 + 8 - 2).
    {"whole", {0, 0, 60, 30}, {96, 97, 165, 136}, 0, 0, 0, 0},
    // Hidden 15 px at the left: cut 6 + 15 - 2 = 19; the glow starts at the visible edge 115.
    {"left edge", {15, 0, 60, 30}, {115, 97, 165, 136}, 19, 0, 0, 0},
    // Hidden 10 px at the top: cut 5 + 10 - 2 = 13; starts at 110.
    {"top edge", {0, 10, 60, 30}, {96, 110, 165, 136}, 0, 13, 0, 0},
    // Hidden 20 px at the right: cut 20 + 7 - 2 = 25; ends at the visible edge 140.
    {"right edge", {0, 0, 40, 30}, {96, 97, 140, 136}, 0, 0, 25, 0},
    // Hidden 10 px at the bottom: cut 10 + 8 - 2 = 16; ends at 120.
    {"bottom edge", {0, 0, 60, 20}, {96, 97, 165, 120}, 0, 0, 0, 16},
    // In the bottom-right corner of its container: glows only left and top.
    {"bottom-right corner", {0, 0, 50, 25}, {96, 97, 150, 125}, 0, 0, 15, 11},
    // In the top-left corner: glows only right and bottom.
    {"top-left corner", {3, 4, 60, 30}, {103, 104, 165, 136}, 7, 7, 0, 0},
};

class GlowPlacement : public ::testing::TestWithParam<Case> {};

TEST_P(GlowPlacement, EndsAtTheVisibleEdgesAndGlowsElsewhere) {
    const Case& c = GetParam();
    TacGlowPlacement p = PlaceGlow(kBox, c.visible, kFrame, kOverlap);
    EXPECT_EQ(p.full.cx, 69);
    EXPECT_EQ(p.full.cy, 39);
    EXPECT_EQ(p.window.left, c.window.left);
    EXPECT_EQ(p.window.top, c.window.top);
    EXPECT_EQ(p.window.right, c.window.right);
    EXPECT_EQ(p.window.bottom, c.window.bottom);
    EXPECT_EQ(p.cutLeft, c.cutLeft);
    EXPECT_EQ(p.cutTop, c.cutTop);
    EXPECT_EQ(p.cutRight, c.cutRight);
    EXPECT_EQ(p.cutBottom, c.cutBottom);
    EXPECT_EQ(p.NeedsRecut(), c.cutLeft != 0 || c.cutTop != 0);
}

INSTANTIATE_TEST_SUITE_P(Edges, GlowPlacement, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 if (ch == ' ' || ch == '-') ch = '_';
                             return n;
                         });

TEST(GlowPlacementLimits, ACutNeverGrowsTheWindowPastThePicture) {
    // Frame 6 and overlap 8: hiding 1 px at the left would give a cut of 6 + 1 - 8 = -1, a window
    // one pixel wider than the picture, reaching one pixel further left than the picture.
    TacGlowPlacement p = PlaceGlow(kBox, RECT{1, 0, 60, 30}, kFrame, 8);
    EXPECT_EQ(p.cutLeft, 0);
    EXPECT_EQ(p.full.cx, 60 + 6 + 7 - 16);
    EXPECT_EQ(p.window.left, 100 - 6 + 8);
    EXPECT_EQ(p.Width(), p.full.cx);
    EXPECT_FALSE(p.NeedsRecut());
}

TEST(GlowPlacementLimits, NoWindowWithoutArea) {
    // 4 px wide control, frames 6 + 7, overlap 9: 4 + 13 - 18 = -1.
    EXPECT_TRUE(PlaceGlow(RECT{0, 0, 4, 30}, RECT{0, 0, 4, 30}, kFrame, 9).Empty());
    // Exactly 0 wide: 5 + 13 - 18.
    EXPECT_TRUE(PlaceGlow(RECT{0, 0, 5, 30}, RECT{0, 0, 5, 30}, kFrame, 9).Empty());
    // A 1 px sliver seen with overlap 20: full 33 wide, right cut 58 + 7 - 20 = 45.
    EXPECT_TRUE(PlaceGlow(RECT{0, 0, 60, 30}, RECT{1, 0, 2, 30}, kFrame, 20).Empty());
}

TEST(GlowPlacementLimits, NothingGlowsAroundAControlThatCannotBeSeen) {
    // The literal rule would leave a (6 - 2) x (5 - 2) corner of halo at the control's top left.
    EXPECT_TRUE(PlaceGlow(kBox, RECT{0, 0, 0, 0}, kFrame, kOverlap).Empty());
    EXPECT_TRUE(PlaceGlow(kBox, RECT{10, 10, 10, 20}, kFrame, kOverlap).Empty());
}

TEST(GlowPlacementLimits, AVisiblePartReportedLargerThanTheBoxCutsNothing) {
    TacGlowPlacement p = PlaceGlow(kBox, RECT{-5, -5, 70, 40}, kFrame, kOverlap);
    EXPECT_EQ(p.cutLeft + p.cutTop + p.cutRight + p.cutBottom, 0);
    EXPECT_EQ(p.window.left, 96);
    EXPECT_EQ(p.window.right, 165);
}

}  // namespace
