#include "paint/textures.h"

#include "paint_test_support.h"

namespace paint_test {
namespace {

using paint::kCoveredAll;

constexpr TColor kUnder = Rgb(1, 2, 3);

// Tile (x - ox) mod w, (y - oy) mod h of the entry's rectangle in the master bitmap.
TColor TileAt(const TBitmap& master, RECT r, int x, int y, int ox, int oy) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    auto mod = [](int a, int m) { return ((a % m) + m) % m; };
    return Px(master, r.left + mod(x - ox, w), r.top + mod(y - oy, h));
}

void ExpectTiled(const TBitmap& b, const TBitmap& master, RECT tile, RECT drawn, int ox, int oy, const char* name) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            bool in = x >= drawn.left && x < drawn.right && y >= drawn.top && y < drawn.bottom;
            ASSERT_EQ(Px(b, x, y), in ? TileAt(master, tile, x, y, ox, oy) : kUnder) << name << " at " << x << "," << y;
        }
}

struct ModeCase {
    const char* name;
    int mode;
    RECT drawn;
    POINT origin;
    RECT reported;
};

class FillTextureTest : public ::testing::Test {
protected:
    void SetUp() override {
        builder.Master(40, 30);
        entry = builder.Mask("PANEL", "PATTERN", tile, 1, 0);
    }
    ModelBuilder builder;
    const RECT tile{5, 4, 9, 7};  // 4 x 3
    int entry = -1;
    // 13 x 11 at (2, 1): three whole tiles and one column across, three rows and two more.
    const RECT rect{2, 1, 15, 12};
};

TEST_F(FillTextureTest, TiledModesDrawTheirPartAndReportTheRest) {
    const ModeCase cases[] = {
        {"0 covers everything", 0, rect, {2, 1}, kCoveredAll},
        {"2 one row at the top", 2, {2, 1, 15, 4}, {2, 1}, {2, 4, 15, 12}},
        {"3 one column at the left", 3, {2, 1, 6, 12}, {2, 1}, {6, 1, 15, 12}},
        {"6 one row at the bottom", 6, {2, 9, 15, 12}, {2, 9}, {2, 1, 15, 9}},
        {"7 reports all but the right band", 7, rect, {2, 1}, {2, 1, 11, 12}},
        {"8 reports the right band", 8, rect, {2, 1}, {11, 1, 15, 12}},
        {"9", 9, rect, {2, 1}, {11, 1, 15, 12}},
        {"11", 11, rect, {2, 1}, {11, 1, 15, 12}},
        {"14", 14, rect, {2, 1}, {11, 1, 15, 12}},
        {"10 whole rows only", 10, {2, 1, 15, 10}, {2, 1}, kCoveredAll},
    };
    for (int bpp : {24, 32})
        for (const auto& c : cases) {
            auto b = MakeBitmap(17, 14, bpp, kUnder);
            RECT r = rect;
            paint::FillTexture(*b, r, c.mode, builder.model, entry);
            EXPECT_TRUE(EqualRect(&r, &c.reported)) << c.name << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
            ExpectTiled(*b, *builder.model.MasterBitmap, tile, c.drawn, c.origin.x, c.origin.y, c.name);
        }
}

TEST_F(FillTextureTest, StretchedModesCoverTheirPartAndReportTheRest) {
    // A one-colour tile stretches to the same colour whatever the filter.
    TBitmap& master = *builder.model.MasterBitmap;
    for (int y = tile.top; y < tile.bottom; ++y)
        for (int x = tile.left; x < tile.right; ++x) SetPx(master, x, y, Rgb(90, 60, 30));
    const ModeCase cases[] = {
        {"1 whole rectangle", 1, rect, {}, kCoveredAll},
        {"4 across the top", 4, {2, 1, 15, 4}, {}, {2, 4, 15, 12}},
        {"5 down the left", 5, {2, 1, 6, 12}, {}, {6, 1, 15, 12}},
    };
    for (const auto& c : cases) {
        auto b = MakeBitmap(17, 14, 24, kUnder);
        RECT r = rect;
        paint::FillTexture(*b, r, c.mode, builder.model, entry);
        EXPECT_TRUE(EqualRect(&r, &c.reported)) << c.name;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 17; ++x) {
                bool in = x >= c.drawn.left && x < c.drawn.right && y >= c.drawn.top && y < c.drawn.bottom;
                ASSERT_EQ(Px(*b, x, y), in ? Rgb(90, 60, 30) : kUnder) << c.name << " at " << x << "," << y;
            }
    }
}

TEST_F(FillTextureTest, AnOwnPictureIsTiledWhateverTheModeAndAnUnknownModeDrawsNothing) {
    auto own = MakeBitmap(5, 4, 24);
    FillPattern(*own, 7);
    const int ownEntry = builder.Mask("PANEL", "HOTPATTERN", RECT{0, 0, 0, 0}, 1, 0);
    builder.model.Masks[ownEntry].Bmp = std::move(own);
    const TBitmap& pic = *builder.model.Masks[ownEntry].Bmp;
    auto b = MakeBitmap(17, 14, 24, kUnder);
    RECT r = rect;
    paint::FillTexture(*b, r, 2, builder.model, ownEntry);
    EXPECT_TRUE(EqualRect(&r, &kCoveredAll));
    ExpectTiled(*b, pic, RECT{0, 0, 5, 4}, rect, rect.left, rect.top, "own picture");

    auto untouched = MakeBitmap(17, 14, 24, kUnder);
    r = rect;
    paint::FillTexture(*untouched, r, 15, builder.model, entry);
    EXPECT_TRUE(EqualRect(&r, &rect));
    ExpectTiled(*untouched, pic, RECT{0, 0, 5, 4}, RECT{0, 0, 0, 0}, 0, 0, "mode 15");
}

TEST(TileBitmap, TilesFromTheRectangleCornerClippedToTheBitmap) {
    auto pic = MakeBitmap(3, 2, 24);
    FillPattern(*pic, 5);
    struct Case {
        const char* name;
        RECT rect;
    } cases[] = {{"inside", {1, 1, 7, 5}}, {"beyond every edge", {-4, -3, 30, 30}}, {"empty", {3, 3, 3, 9}}};
    for (int bpp : {24, 32})
        for (const auto& c : cases) {
            auto b = MakeBitmap(8, 6, bpp, kUnder);
            paint::TileBitmap(*b, c.rect, *pic);
            const RECT whole{0, 0, 8, 6};
            RECT drawn{};
            IntersectRect(&drawn, &c.rect, &whole);
            ExpectTiled(*b, *pic, RECT{0, 0, 3, 2}, drawn, c.rect.left, c.rect.top, c.name);
        }
}

// A 6 x 4 texture above its mask: mask bytes 0 (image), 255 (keep) and 128 (half) in bands.
class OverlayMaskedTextureTest : public ::testing::Test {
protected:
    void SetUp() override {
        TBitmap& m = builder.Master(6, 8);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) {
                int v = x < 2 ? 0 : x < 4 ? 255 : 128;
                SetPx(m, x, y + 4, Rgb(v, v, v));
            }
        entry = builder.Mask("PANEL", "PATTERN", RECT{0, 0, 6, 8}, 1, 1, 0);
    }
    TColor Mixed(TColor d, int x, int y) const {
        const TBitmap& m = *builder.model.MasterBitmap;
        TColor s = Px(m, x % 6, y % 4), k = Px(m, x % 6, y % 4 + 4);
        auto ch = [](int dv, int sv, int mv) { return ((dv - sv) * mv + sv * 256) >> 8; };
        return Rgb(ch(R(d), R(s), R(k)), ch(G(d), G(s), G(k)), ch(B(d), B(s), B(k)));
    }
    ModelBuilder builder;
    int entry = -1;
};

TEST_F(OverlayMaskedTextureTest, ModeZeroDrawsWholeRowsOnly) {
    // 20 x 10: columns at 0, 6, 12 and a cut one at 18; rows at 0 and 4, the strip from 8 stays.
    auto b = MakeBitmap(20, 10, 24, Rgb(200, 100, 50));
    RECT r{0, 0, 20, 10};
    paint::OverlayMaskedTexture(*b, r, paint::EmptyBgSource(), 0, builder.model, entry);
    EXPECT_TRUE(EqualRect(&r, &kCoveredAll));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(Px(*b, x, y), y < 8 ? Mixed(Rgb(200, 100, 50), x, y) : Rgb(200, 100, 50)) << x << "," << y;
}

TEST_F(OverlayMaskedTextureTest, ModeTenGivesTheUntiledStripsTheBackground) {
    auto parent = MakeBitmap(30, 20, 24);
    FillPattern(*parent, 9);
    struct Case {
        const char* name;
        paint::TsBgSource bg;
    } cases[] = {{"ready", paint::BgSourceFromBitmap(parent.get(), 3, 2)}, {"plain colour", paint::BgSourceFromColor(Rgb(7, 8, 9))}};
    for (const auto& c : cases) {
        auto b = MakeBitmap(20, 10, 24, Rgb(200, 100, 50));
        RECT r{0, 0, 20, 10};
        paint::OverlayMaskedTexture(*b, r, c.bg, 10, builder.model, entry);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x) {
                bool strip = y >= 8 || x >= 18;
                TColor bgPx = c.bg.Ready ? Px(*parent, x + 3, y + 2) : Rgb(7, 8, 9);
                ASSERT_EQ(Px(*b, x, y), strip ? bgPx : Mixed(Rgb(200, 100, 50), x, y)) << c.name << " " << x << "," << y;
            }
    }
}

// A background of the "none" colour used to paint magenta strips.
TEST_F(OverlayMaskedTextureTest, ModeTenLeavesTheStripsWithoutABackground) {
    auto b = MakeBitmap(20, 10, 24, Rgb(200, 100, 50));
    RECT r{0, 0, 20, 10};
    paint::OverlayMaskedTexture(*b, r, paint::BgSourceFromColor(paint::TransparentColor), 10,
                                builder.model, entry);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            bool strip = y >= 8 || x >= 18;
            ASSERT_EQ(Px(*b, x, y), strip ? Rgb(200, 100, 50) : Mixed(Rgb(200, 100, 50), x, y))
                << x << "," << y;
        }
}

TEST_F(OverlayMaskedTextureTest, OtherModesDrawNothingAndLeaveTheRectangle) {
    auto b = MakeBitmap(20, 10, 24, Rgb(200, 100, 50));
    Snapshot before(*b);
    RECT r{0, 0, 20, 10};
    paint::OverlayMaskedTexture(*b, r, paint::EmptyBgSource(), 2, builder.model, entry);
    EXPECT_EQ(r.right, 20);
    EXPECT_EQ(ChangedOutside(*b, before, RECT{0, 0, 0, 0}), 0);
}

}  // namespace
}  // namespace paint_test
