#include "paint/border_mask.h"

#include "paint_test_support.h"

namespace paint_test {
namespace {

constexpr TColor kUnder = Rgb(1, 2, 3);
constexpr TColor kKey = Rgb(255, 0, 255);

TEST(FitMargins, ShrinkToFitNarrowRectangles) {
    struct Case {
        const char* name;
        int size, first, second, expectedFirst, expectedSecond;
    } cases[] = {
        {"15 wide for 10 and 10", 15, 10, 10, 8, 7},
        {"16 wide for 10 and 10", 16, 10, 10, 8, 8},
        {"wide enough", 20, 4, 4, 4, 4},
        {"odd takes one more from the second", 5, 4, 3, 3, 1},
        {"never below zero", 3, 10, 0, 7, 0},
    };
    for (const auto& c : cases) {
        int a = c.first, b = c.second;
        paint::detail::FitMargins(c.size, a, b);
        EXPECT_EQ(a, c.expectedFirst) << c.name;
        EXPECT_EQ(b, c.expectedSecond) << c.name;
    }
}

// Two 12 x 9 frames side by side with margins 3, 2, 4, 3: the centre piece is 5 x 4.
struct Frame {
    static constexpr int fw = 12, fh = 9, wl = 3, wt = 2, wr = 4, wb = 3, cw = 5, ch = 4;
};

class DrawBorderMaskTest : public ::testing::Test {
protected:
    int AddFrame(int maskType, int drawMode) {
        mb.Master(2 * Frame::fw, Frame::fh * (maskType + 1));
        if (maskType)  // mask 0 everywhere: the masked copy is then exact
            for (int y = Frame::fh; y < 2 * Frame::fh; ++y)
                for (int x = 0; x < 2 * Frame::fw; ++x) SetPx(*mb.model.MasterBitmap, x, y, 0);
        return mb.Mask("PANEL", "BORDERSMASK", RECT{0, 0, 2 * Frame::fw, Frame::fh * (maskType + 1)}, 2, maskType,
                       drawMode, Frame::wl, Frame::wt, Frame::wr, Frame::wb);
    }
    // Where a destination pixel of rect takes its source: margins at their place, the middle
    // repeating the centre piece's columns and rows from the rectangle's inner corner.
    static int SourceColumn(int x, const RECT& r, int sx) {
        if (x < r.left + Frame::wl) return sx + x - r.left;
        if (x >= r.right - Frame::wr) return sx + Frame::wl + Frame::cw + x - (r.right - Frame::wr);
        return sx + Frame::wl + (x - r.left - Frame::wl) % Frame::cw;
    }
    static int SourceRow(int y, const RECT& r) {
        if (y < r.top + Frame::wt) return y - r.top;
        if (y >= r.bottom - Frame::wb) return Frame::fh - Frame::wb + y - (r.bottom - Frame::wb);
        return Frame::wt + (y - r.top - Frame::wt) % Frame::ch;
    }
    void ExpectNinePieces(const TBitmap& b, const RECT& r, int state, bool centre, const char* name) {
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) {
                bool in = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                bool middle = x >= r.left + Frame::wl && x < r.right - Frame::wr && y >= r.top + Frame::wt &&
                              y < r.bottom - Frame::wb;
                TColor want = kUnder;
                if (in && (!middle || centre))
                    want = Px(*mb.model.MasterBitmap, SourceColumn(x, r, state * Frame::fw), SourceRow(y, r));
                ASSERT_EQ(Px(b, x, y), want) << name << " at " << x << "," << y;
            }
    }
    ModelBuilder mb;
};

TEST_F(DrawBorderMaskTest, NinePiecesRepeatEdgesAndCentreForBothKindsOfEntry) {
    struct Case {
        const char* name;
        int maskType, drawMode;
        bool fillCentre, centreDrawn;
        RECT rect;
    } cases[] = {
        {"plain, centre", 0, 4, true, true, {1, 1, 31, 21}},
        {"plain, centre bit without fillCentre", 0, 4, false, false, {1, 1, 31, 21}},
        {"plain, fillCentre without centre bit", 0, 0, true, false, {1, 1, 31, 21}},
        {"masked, centre", 1, 4, true, true, {2, 1, 29, 22}},
        {"exact multiple of the centre", 0, 4, true, true, {0, 0, 17, 13}},
    };
    for (int bpp : {24, 32})
        for (const auto& c : cases) {
            const int e = AddFrame(c.maskType, c.drawMode);
            auto b = MakeBitmap(34, 24, bpp, kUnder);
            paint::DrawBorderMask(*b, c.rect, c.fillCentre, true, 1, mb.model, e, paint::EmptyBgSource());
            ExpectNinePieces(*b, c.rect, 1, c.centreDrawn, c.name);
        }
}

TEST_F(DrawBorderMaskTest, StatesPickFramesAndBitTwoHidesStateZero) {
    const int e = AddFrame(0, 4 | paint::kBorderNoState0);
    const RECT r{1, 1, 31, 21};
    auto hidden = MakeBitmap(34, 24, 24, kUnder);
    paint::DrawBorderMask(*hidden, r, true, true, 0, mb.model, e, paint::EmptyBgSource());
    ExpectNinePieces(*hidden, RECT{0, 0, 0, 0}, 0, false, "state 0 hidden");
    auto last = MakeBitmap(34, 24, 24, kUnder);
    paint::DrawBorderMask(*last, r, true, true, 5, mb.model, e, paint::EmptyBgSource());
    ExpectNinePieces(*last, r, 1, true, "state 5 uses the last frame");
}

TEST_F(DrawBorderMaskTest, CornerHolesShowTheParentEdgesCopyTheKeyColour) {
    const int e = AddFrame(0, 4);
    TBitmap& m = *mb.model.MasterBitmap;
    SetPx(m, 0, 0, kKey);                     // top-left corner of frame 0
    SetPx(m, Frame::wl + 1, 0, kKey);         // in the top edge
    auto parent = MakeBitmap(40, 30, 24, Rgb(50, 60, 70));
    auto b = MakeBitmap(34, 24, 24, kUnder);
    const RECT r{1, 1, 31, 21};
    paint::DrawBorderMask(*b, r, true, true, 0, mb.model, e, paint::BgSourceFromBitmap(parent.get(), 2, 2));
    EXPECT_EQ(Px(*b, 1, 1), Rgb(50, 60, 70));
    EXPECT_EQ(Px(*b, 1 + Frame::wl + 1, 1), kKey);
    auto kept = MakeBitmap(34, 24, 24, kUnder);
    paint::DrawBorderMask(*kept, r, true, false, 0, mb.model, e, paint::BgSourceFromBitmap(parent.get(), 2, 2));
    EXPECT_EQ(Px(*kept, 1, 1), kUnder);
}

TEST_F(DrawBorderMaskTest, StretchBitStretchesEdgesOfPlainEntries) {
    const int e = AddFrame(0, paint::kBorderStretch | 4);
    // One colour per piece: a stretched piece keeps its colour whatever the filter.
    TBitmap& m = *mb.model.MasterBitmap;
    for (int y = 0; y < Frame::fh; ++y)
        for (int x = 0; x < Frame::fw; ++x) {
            int col = x < Frame::wl ? 0 : x < Frame::wl + Frame::cw ? 1 : 2;
            int row = y < Frame::wt ? 0 : y < Frame::wt + Frame::ch ? 1 : 2;
            SetPx(m, x, y, Rgb(40 * col + 10, 40 * row + 10, 90));
        }
    auto b = MakeBitmap(34, 24, 24, kUnder);
    const RECT r{1, 1, 31, 21};
    paint::DrawBorderMask(*b, r, true, true, 0, mb.model, e, paint::EmptyBgSource());
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            int col = x < r.left + Frame::wl ? 0 : x < r.right - Frame::wr ? 1 : 2;
            int row = y < r.top + Frame::wt ? 0 : y < r.bottom - Frame::wb ? 1 : 2;
            ASSERT_EQ(Px(*b, x, y), Rgb(40 * col + 10, 40 * row + 10, 90)) << x << "," << y;
        }
}

TEST_F(DrawBorderMaskTest, NothingForTinyRectanglesOrEntriesWithoutFrames) {
    const int e = AddFrame(0, 4);
    const int none = mb.Mask("PANEL", "X", RECT{0, 0, 24, 9}, 0, 0, 4, 3, 2, 4, 3);
    auto b = MakeBitmap(34, 24, 24, kUnder);
    paint::DrawBorderMask(*b, RECT{1, 1, 2, 20}, true, true, 1, mb.model, e, paint::EmptyBgSource());
    paint::DrawBorderMask(*b, RECT{1, 1, 20, 2}, true, true, 1, mb.model, e, paint::EmptyBgSource());
    paint::DrawBorderMask(*b, RECT{1, 1, 20, 20}, true, true, 1, mb.model, none, paint::EmptyBgSource());
    paint::DrawBorderMask(*b, RECT{1, 1, 20, 20}, true, true, 1, mb.model, 42, paint::EmptyBgSource());
    ExpectNinePieces(*b, RECT{0, 0, 0, 0}, 0, false, "nothing");
}

TEST_F(DrawBorderMaskTest, RectanglesReachingOutsideTheBitmapAreClipped) {
    for (int maskType : {0, 1}) {
        const int e = AddFrame(maskType, 4);
        auto b = MakeBitmap(10, 7, 24, kUnder);  // padded rows
        const RECT r{-5, -4, 13, 9};
        paint::DrawBorderMask(*b, r, true, true, 0, mb.model, e, paint::EmptyBgSource());
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 10; ++x)
                ASSERT_EQ(Px(*b, x, y), Px(*mb.model.MasterBitmap, SourceColumn(x, r, 0), SourceRow(y, r))) << x << "," << y;
    }
}

}  // namespace
}  // namespace paint_test
