#include "paint/bitmaps.h"
#include "paint/gray.h"
#include "paint/section_text.h"
#include "paint/solid_fills.h"

#include "paint_test_support.h"

namespace paint_test {
namespace {

TEST(FillRectSolid, ThirtyTwoBitFillWritesOpaquePixelsClipped) {
    struct Case {
        const char* name;
        RECT rect, changed;
    } cases[] = {
        {"inside", {1, 1, 3, 2}, {1, 1, 3, 2}},
        {"beyond every edge", {-4, -4, 40, 40}, {0, 0, 5, 4}},
        {"empty", {2, 2, 2, 3}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        auto b = MakeBitmap(5, 4, 32, Rgb(1, 1, 1), 0);
        Snapshot before(*b);
        paint::FillRectSolid(*b, c.rect, Rgb(10, 20, 30));
        EXPECT_EQ(ChangedOutside(*b, before, c.changed), 0) << c.name;
        if (c.changed.right > c.changed.left) {
            EXPECT_EQ(Px(*b, c.changed.right - 1, c.changed.bottom - 1), Rgb(10, 20, 30)) << c.name;
            EXPECT_EQ(Alpha(*b, c.changed.left, c.changed.top), 255) << c.name;
        }
    }
}

TEST(FillRectSolid, SmallThirtyTwoBitBitmapsAreLeftAlone) {
    auto b = MakeBitmap(1, 5, 32, Rgb(1, 1, 1));
    paint::FillRectSolid(*b, RECT{0, 0, 1, 5}, Rgb(10, 20, 30));
    EXPECT_EQ(Px(*b, 0, 2), Rgb(1, 1, 1));
}

TEST(FillRectSolid, TwentyFourBitFillGoesThroughABrushAndResolvesSystemColours) {
    auto b = MakeBitmap(5, 4, 24, Rgb(1, 1, 1));
    Snapshot before(*b);
    paint::FillRectSolid(*b, RECT{1, 1, 9, 3}, framework::clBtnFace);
    EXPECT_EQ(ChangedOutside(*b, before, RECT{1, 1, 5, 3}), 0);
    EXPECT_EQ(static_cast<COLORREF>(Px(*b, 4, 2)), GetSysColor(COLOR_BTNFACE));
}

TEST(FillFrameSolid, FillsOnlyTheFourStrips) {
    auto b = MakeBitmap(10, 8, 24, Rgb(1, 1, 1));
    paint::FillFrameSolid(b->Canvas().Handle(), RECT{1, 1, 9, 7}, 1, 2, 3, 1, Rgb(200, 0, 0));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            bool inRect = x >= 1 && x < 9 && y >= 1 && y < 7;
            bool inInner = x >= 2 && x < 6 && y >= 3 && y < 6;
            ASSERT_EQ(Px(*b, x, y), inRect && !inInner ? Rgb(200, 0, 0) : Rgb(1, 1, 1)) << x << "," << y;
        }
}

TEST(CopyFrameStrips, CopiesTheFrameAndLeavesTheInside) {
    auto src = MakeBitmap(12, 10, 24);
    FillPattern(*src, 4);
    auto dst = MakeBitmap(12, 10, 24, Rgb(1, 1, 1));
    paint::CopyFrameStrips(dst->Canvas().Handle(), 2, 1, 8, 7, src->Canvas().Handle(), 3, 2, 2);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            bool area = x >= 2 && x < 10 && y >= 1 && y < 8;
            bool inside = x >= 4 && x < 8 && y >= 3 && y < 6;
            TColor expected = area && !inside ? Px(*src, x + 1, y + 1) : Rgb(1, 1, 1);
            ASSERT_EQ(Px(*dst, x, y), expected) << x << "," << y;
        }
}

TEST(GrayBitmap, MeanOfTheChannelsTruncatedAlphaKept) {
    struct Case {
        TColor before, after;
    } cases[] = {{Rgb(10, 20, 31), Rgb(20, 20, 20)}, {Rgb(255, 255, 254), Rgb(254, 254, 254)}, {Rgb(0, 0, 2), 0}};
    for (int bpp : {24, 32})
        for (const auto& c : cases) {
            auto b = MakeBitmap(3, 2, bpp, c.before, 9);
            paint::GrayBitmap(*b);
            EXPECT_EQ(Px(*b, 2, 1), c.after) << bpp;
            EXPECT_EQ(Alpha(*b, 2, 1), bpp == 32 ? 9 : 255);
        }
}

TEST(GrayBitmapExceptKey, KeepsKeyPixelsOfTwentyFourBitBitmapsOnly) {
    auto b = MakeBitmap(3, 2, 24, Rgb(10, 20, 30));
    SetPx(*b, 1, 1, Rgb(255, 0, 255));
    paint::GrayBitmapExceptKey(*b, Rgb(255, 0, 255));
    EXPECT_EQ(Px(*b, 1, 1), Rgb(255, 0, 255));
    EXPECT_EQ(Px(*b, 0, 0), Rgb(20, 20, 20));
    auto wide = MakeBitmap(3, 2, 32, Rgb(10, 20, 30));
    paint::GrayBitmapExceptKey(*wide, Rgb(255, 0, 255));
    EXPECT_EQ(Px(*wide, 0, 0), Rgb(10, 20, 30));
}

TEST(CreateBmp, SizeAndDepth) {
    EXPECT_EQ(paint::CreateBmp24(7, 3)->PixelFormat(), framework::TPixelFormat::pf24bit);
    auto b = paint::CreateBmp32(7, 3);
    EXPECT_EQ(b->PixelFormat(), framework::TPixelFormat::pf32bit);
    EXPECT_EQ(b->Width(), 7);
    EXPECT_EQ(b->Height(), 3);
}

TEST(DrawDottedFocusRect, BlackDotsEveryThirdPixelWhiteOnesUpAndLeft) {
    // Rectangle (3, 2)-(9, 8): lines at x 3 and 9, y 2 and 8; dots at 3, 6, 9 both ways.
    const char* expected[] = {
        "............",
        "..w..w..w...",
        "...B..B..B..",
        "............",
        "..w.....w...",
        "...B.....B..",
        "............",
        "..w..w..w...",
        "...B..B..B..",
        "............",
    };
    auto b = MakeBitmap(12, 10, 24, Rgb(128, 128, 128));
    paint::DrawDottedFocusRect(b->Canvas(), RECT{3, 2, 9, 8});
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            char e = x < static_cast<int>(std::char_traits<char>::length(expected[y])) ? expected[y][x] : '.';
            TColor want = e == 'B' ? Rgb(0, 0, 0) : e == 'w' ? Rgb(255, 255, 255) : Rgb(128, 128, 128);
            ASSERT_EQ(Px(*b, x, y), want) << x << "," << y;
        }
}

class TruncateTextTest : public ::testing::Test {
protected:
    std::unique_ptr<TBitmap> bmp = MakeBitmap(10, 10, 24);
    framework::TCanvas& canvas = bmp->Canvas();
    int Width(const std::string& s) { return canvas.TextWidth(s); }
};

TEST_F(TruncateTextTest, CutsWholeCharactersAndAppendsDots) {
    struct Case {
        const char* name;
        std::string text;
        int width;
        std::string expected;
    } cases[] = {
        {"fits", "Hello world", Width("Hello world"), "Hello world"},
        {"room for five and dots", "Hello world", Width("Hello..."), "Hello..."},
        {"one pixel short of five", "Hello world", Width("Hello...") - 1, "Hell..."},
        {"not even one character", "Hello world", Width("H...") - 1, ""},
        {"zero width", "Hello", 0, ""},
        {"negative width", "Hello", -5, ""},
        {"multi-byte letters stay whole", "Привет мир", Width("При..."), "При..."},
    };
    for (const auto& c : cases) EXPECT_EQ(paint::TruncateText(canvas, c.text, c.width), c.expected) << c.name;
}

class WriteSectionTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        skin::TsGeneralData& s = builder.Section("LABEL");
        s.Color = Rgb(0, 0, 200);
        s.FontColor = {Rgb(200, 0, 0), Rgb(0, 200, 0), -1, -1, -1};
        s.HotFontColor = {Rgb(0, 100, 0), -1, -1, -1, -1};
        bmp->Canvas().Font.SetHeight(-28);
        bmp->Canvas().Font.SetStyle(framework::fsBold);
    }
    int Count(TColor c) {
        int n = 0;
        for (int y = 0; y < bmp->Height(); ++y)
            for (int x = 0; x < bmp->Width(); ++x) n += Px(*bmp, x, y) == c;
        return n;
    }
    void Write(bool enabled, bool hot, int index) {
        paint::WriteSectionText(bmp->Canvas(), "WM", enabled, &builder.model, hot, index, DT_SINGLELINE,
                                RECT{4, 4, 76, 36});
    }
    ModelBuilder builder;
    std::unique_ptr<TBitmap> bmp = MakeBitmap(80, 40, 24, Rgb(255, 255, 255));
};

TEST_F(WriteSectionTextTest, EnabledDrawsOutlineCopiesThenTheText) {
    Write(true, false, 0);
    // The same picture from plain text calls: the left copy one pixel left, then the text.
    auto expected = MakeBitmap(80, 40, 24, Rgb(255, 255, 255));
    framework::TCanvas& c = expected->Canvas();
    c.Font.Assign(bmp->Canvas().Font);
    RECT left{3, 4, 75, 36}, text{4, 4, 76, 36};
    c.Font.SetColor(Rgb(0, 200, 0));
    c.DrawText("WM", left, DT_SINGLELINE);
    c.Font.SetColor(Rgb(200, 0, 0));
    c.DrawText("WM", text, DT_SINGLELINE);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x) ASSERT_EQ(Px(*bmp, x, y), Px(*expected, x, y)) << x << "," << y;
    EXPECT_GT(Count(Rgb(200, 0, 0)), 20);
}

TEST_F(WriteSectionTextTest, HotUsesHotColours) {
    Write(true, true, 0);
    EXPECT_GT(Count(Rgb(0, 100, 0)), 20);
    EXPECT_EQ(Count(Rgb(200, 0, 0)), 0);
}

TEST_F(WriteSectionTextTest, DisabledDrawsOnceFortyPercentTowardTheSectionColour) {
    Write(false, false, 0);
    EXPECT_GT(Count(Rgb(80, 0, 120)), 20);  // 0.4 * 200 + 0.6 * 0, 0.4 * 0 + 0.6 * 200
    EXPECT_EQ(Count(Rgb(0, 200, 0)), 0);
}

TEST_F(WriteSectionTextTest, NothingForAnInvalidSectionOrNoModel) {
    Write(true, false, 1);
    Write(true, false, -1);
    paint::WriteSectionText(bmp->Canvas(), "WM", true, nullptr, false, 0, DT_SINGLELINE, RECT{4, 4, 76, 36});
    EXPECT_EQ(Count(Rgb(255, 255, 255)), 80 * 40);
}

}  // namespace
}  // namespace paint_test
