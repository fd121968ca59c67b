#include "paint/section_paint.h"

#include <cmath>
#include <functional>

#include "paint/color_mix.h"
#include "paint/transparent_corners.h"
#include "paint_test_support.h"

namespace paint_test {
namespace {

using paint::TsBgSource;

constexpr TColor kUnder = Rgb(1, 2, 3);
constexpr TColor kColor = Rgb(200, 100, 0);
constexpr TColor kParentFill = Rgb(0, 50, 250);

class SectionPaintTest : public ::testing::Test {
public:
    void SetUp() override {
        mb.Master(40, 30);
        parent = MakeBitmap(60, 40, 24);
        FillPattern(*parent, 6);
    }
    skin::TsGeneralData& Panel() {
        if (mb.model.Sections.empty()) mb.Section("PANEL").Color = kColor;
        return mb.model.Sections[0];
    }
    std::unique_ptr<TBitmap> Paint(int bpp, const TsBgSource& bg, int state = 0, TColor custom = paint::TransparentColor) {
        Panel();
        auto b = MakeBitmap(12, 9, bpp, kUnder);
        paint::PaintSectionBg(&mb.model, 0, "PANEL", bg, custom, -1, -1, *b, offset, rect, state);
        return b;
    }
    // The parent's pixel under destination (x, y): rect's corner sits at bg + offset.
    TColor ParentAt(int x, int y) const { return Px(*parent, 5 + offset.x + x - rect.left, 4 + offset.y + y - rect.top); }
    TsBgSource Ready() { return paint::BgSourceFromBitmap(parent.get(), 5, 4); }
    void ExpectRect(const TBitmap& b, const std::function<TColor(int, int)>& inside, const char* name) {
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) {
                bool in = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
                ASSERT_EQ(Px(b, x, y), in ? inside(x, y) : kUnder) << name << " at " << x << "," << y;
            }
    }
    ModelBuilder mb;
    std::unique_ptr<TBitmap> parent;
    const RECT rect{2, 1, 10, 7};
    const POINT offset{3, 2};
};

static int MixByte(int parentByte, int sectionByte, int alpha) { return (parentByte * alpha + sectionByte * (255 - alpha) + 127) >> 8; }

TEST_F(SectionPaintTest, TransparencyMixesTheSectionWithWhatLiesBehind) {
    struct Case {
        const char* name;
        int transparency;
        bool ready;
        TColor bgFill;
        std::function<TColor(SectionPaintTest&, int, int)> expected;
    } cases[] = {
        {"opaque over a ready background", 0, true, 0, [](SectionPaintTest&, int, int) { return kColor; }},
        {"opaque over a plain colour", 0, false, kParentFill, [](SectionPaintTest&, int, int) { return kColor; }},
        {"see-through shows the parent's pixels", 100, true, 0, [](SectionPaintTest& t, int x, int y) { return t.ParentAt(x, y); }},
        {"see-through over a plain colour", 100, false, kParentFill, [](SectionPaintTest&, int, int) { return kParentFill; }},
        {"see-through over nothing known paints the section", 100, false, paint::TransparentColor,
         [](SectionPaintTest&, int, int) { return kColor; }},
        {"40 percent over a ready background", 40, true, 0,
         [](SectionPaintTest& t, int x, int y) {
             TColor p = t.ParentAt(x, y);
             return Rgb(MixByte(R(p), R(kColor), 102), MixByte(G(p), G(kColor), 102), MixByte(B(p), B(kColor), 102));
         }},
        {"50 percent over a plain colour mixes the colours", 50, false, kParentFill,
         [](SectionPaintTest&, int, int) { return paint::LerpColor(kParentFill, kColor, 0.5); }},
    };
    for (int bpp : {24, 32})
        for (auto& c : cases) {
            mb.model.Sections.clear();
            Panel().Transparency = c.transparency;
            TsBgSource bg = c.ready ? Ready() : paint::BgSourceFromColor(c.bgFill);
            auto b = Paint(bpp, bg);
            ExpectRect(*b, [&](int x, int y) { return c.expected(*this, x, y); }, c.name);
        }
}

TEST_F(SectionPaintTest, PartlySeeThroughGradientOverAPlainColourIsMixedThroughABitmap) {
    skin::TsGeneralData& s = Panel();
    s.Transparency = 50;
    s.GradientPercent = 100;
    s.GradientArray = {skin::TsGradPart{Rgb(10, 20, 30), Rgb(10, 20, 30), 100, 0}};
    auto b = Paint(24, paint::BgSourceFromColor(kParentFill));
    ExpectRect(*b, [](int, int) {
        return Rgb(MixByte(0, 10, 127), MixByte(50, 20, 127), MixByte(250, 30, 127));
    }, "50 percent gradient");
}

TEST_F(SectionPaintTest, GradientPercentKeepsThatShareOfTheGradient) {
    skin::TsGeneralData& s = Panel();
    s.GradientPercent = 30;
    s.GradientArray = {skin::TsGradPart{Rgb(100, 100, 100), Rgb(100, 100, 100), 100, 0}};
    auto b = Paint(24, Ready());
    auto mix = [](int g, int c) { return static_cast<int>(std::nearbyint(0.3 * g + 0.7 * c)); };
    ExpectRect(*b, [&](int, int) { return Rgb(mix(100, 200), mix(100, 100), mix(100, 0)); }, "30 percent gradient");
}

TEST_F(SectionPaintTest, HotStateAndCustomColour) {
    skin::TsGeneralData& s = Panel();
    s.HotColor = Rgb(9, 99, 199);
    s.Transparency = 100;
    auto hot = Paint(24, Ready(), 1);
    ExpectRect(*hot, [](int, int) { return Rgb(9, 99, 199); }, "hot colour, hot transparency 0");
    auto custom = Paint(24, Ready(), 0, Rgb(7, 7, 7));
    ExpectRect(*custom, [](int, int) { return Rgb(7, 7, 7); }, "custom colour is opaque");
}

TEST_F(SectionPaintTest, TextureModesLeaveTheirUncoveredPartToThePlainColour) {
    // An 8 x 2 tile: a rectangle three tiles high in mode 2 keeps the tiles in its top third.
    const RECT tile{4, 3, 12, 5};
    const int e2 = mb.Mask("PANEL", "PATTERN", tile, 1, 0, 2);
    skin::TsGeneralData& s = Panel();
    s.ImagePercent = 100;
    const RECT tall{2, 1, 10, 7};
    auto b = MakeBitmap(12, 9, 24, kUnder);
    paint::PaintSectionBg(&mb.model, 0, "PANEL", Ready(), paint::TransparentColor, -1, -1, *b, offset, tall, 0);
    ExpectRect(*b, [&](int x, int y) {
        return y < 3 ? Px(*mb.model.MasterBitmap, tile.left + (x - 2) % 8, tile.top + (y - 1) % 2) : kColor;
    }, "mode 2");
    // Mode 8 through the given texture index: the right band of one tile width is plain.
    const int e8 = mb.Mask("OTHER", "T", RECT{4, 3, 7, 5}, 1, 0, 8);
    auto c = MakeBitmap(12, 9, 24, kUnder);
    paint::PaintSectionBg(&mb.model, 0, "PANEL", Ready(), paint::TransparentColor, -1, e8, *c, offset, tall, 0);
    ExpectRect(*c, [&](int x, int y) {
        return x >= 7 ? kColor : Px(*mb.model.MasterBitmap, 4 + (x - 2) % 3, 3 + (y - 1) % 2);
    }, "mode 8");
    (void)e2;
}

TEST_F(SectionPaintTest, GradientOverATextureKeepsTheImagePercentOfTheTexture) {
    const RECT tile{4, 3, 12, 5};
    mb.Mask("PANEL", "PATTERN", tile, 1, 0, 0);
    skin::TsGeneralData& s = Panel();
    s.ImagePercent = 40;
    s.GradientPercent = 60;
    s.GradientArray = {skin::TsGradPart{Rgb(10, 20, 30), Rgb(10, 20, 30), 100, 0}};
    auto b = Paint(24, Ready());
    const int a = 40 * 255 / 100;
    ExpectRect(*b, [&](int x, int y) {
        TColor t = Px(*mb.model.MasterBitmap, tile.left + (x - 2) % 8, tile.top + (y - 1) % 2);
        return Rgb(MixByte(R(t), 10, a), MixByte(G(t), 20, a), MixByte(B(t), 30, a));
    }, "texture 40 + gradient 60");
}

// Part-transparent sections are drawn through intermediate bitmaps kept from one paint to
// the next: whatever an earlier paint left in them must never show. Each look is painted
// after two different earlier paints of the same size and must come out the same, alpha too.
TEST_F(SectionPaintTest, EarlierPaintsNeverShowThroughAPartlySeeThroughSection) {
    mb.Mask("PANEL", "PATTERN", RECT{4, 3, 12, 5}, 1, 0, 0);
    // A tile reaching past the master picture (40 x 30) leaves part of every tile alone.
    const int past = mb.Mask("OTHER", "T", RECT{36, 26, 44, 29}, 1, 0, 0);
    using Parts = skin::TsGradArray;
    struct Look {
        int image, gradient;
        Parts parts;
        int texture = -1;
    };
    const Parts vertical = {skin::TsGradPart{Rgb(10, 20, 30), Rgb(90, 20, 230), 30, 0},
                            skin::TsGradPart{Rgb(1, 2, 3), Rgb(4, 5, 6), 0, 0},
                            skin::TsGradPart{Rgb(7, 8, 9), Rgb(9, 8, 7), 200, 0},
                            skin::TsGradPart{Rgb(250, 0, 90), Rgb(0, 250, 9), 100, 0}};
    const Parts horizontal = {skin::TsGradPart{Rgb(10, 20, 30), Rgb(90, 20, 230), 100, 1}};
    // A gradient of a mode not known draws nothing.
    const Parts unknown = {skin::TsGradPart{Rgb(10, 20, 30), Rgb(90, 20, 230), 100, 3}};
    const Look looks[] = {{0, 100, vertical},      {0, 60, vertical},    {40, 60, vertical},
                          {0, 100, horizontal},    {50, 50, horizontal}, {0, 0, {}},
                          {0, 100, unknown},       {50, 50, unknown},    {100, 0, {}, past},
                          {60, 40, vertical, past}};
    const Look earlier[] = {{30, 70, {skin::TsGradPart{Rgb(255, 255, 255), Rgb(0, 0, 0), 100, 0}}},
                            {100, 0, {}}};
    auto paint = [&](const Look& l, int bpp) {
        skin::TsGeneralData& s = Panel();
        s.Transparency = 40;
        s.ImagePercent = l.image;
        s.GradientPercent = l.gradient;
        s.GradientArray = l.parts;
        auto b = MakeBitmap(12, 9, bpp, kUnder);
        paint::PaintSectionBg(&mb.model, 0, "PANEL", Ready(), paint::TransparentColor, -1,
                              l.texture, *b, offset, rect, 0);
        std::vector<std::uint8_t> bytes;
        for (int y = 0; y < b->Height(); ++y)
            bytes.insert(bytes.end(), b->ScanLine(y), b->ScanLine(y) + b->Width() * bpp / 8);
        return bytes;
    };
    for (int bpp : {24, 32})
        for (const Look& l : looks) {
            paint(earlier[0], bpp);
            const std::vector<std::uint8_t> first = paint(l, bpp);
            paint(earlier[1], bpp);
            const int mode = l.parts.empty() ? -1 : l.parts[0].Mode;
            EXPECT_EQ(paint(l, bpp), first)
                << bpp << " bits, image " << l.image << ", gradient " << l.gradient << " mode "
                << mode << ", texture " << l.texture;
        }
}

TEST_F(SectionPaintTest, SectionRectRejectsRectanglesOutsideTheBitmap) {
    Panel();
    for (RECT r : {RECT{-1, 0, 5, 5}, RECT{0, -1, 5, 5}, RECT{0, 0, 13, 5}, RECT{0, 0, 5, 10}, RECT{3, 3, 3, 5}}) {
        auto b = MakeBitmap(12, 9, 24, kUnder);
        Snapshot before(*b);
        paint::PaintSectionRect(&mb.model, 0, "PANEL", Ready(), -1, -1, *b, offset, r, 0, true);
        EXPECT_EQ(ChangedOutside(*b, before, RECT{0, 0, 0, 0}), 0) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    auto b = MakeBitmap(12, 9, 24, kUnder);
    Snapshot before(*b);
    paint::PaintSectionRect(&mb.model, 3, "PANEL", Ready(), -1, -1, *b, offset, rect, 0, true);
    paint::PaintSectionRect(nullptr, 0, "PANEL", Ready(), -1, -1, *b, offset, rect, 0, true);
    EXPECT_EQ(ChangedOutside(*b, before, RECT{0, 0, 0, 0}), 0) << "invalid section or no model";
}

TEST_F(SectionPaintTest, SectionRectLaysCornerImagesThenTheFrame) {
    // A 2 x 2 corner image with a hole: the hole keeps the section fill (its background is
    // the bitmap itself). A 3 x 3 frame with 1-pixel margins and a see-through corner that
    // shows the parent at the offset.
    TBitmap& m = *mb.model.MasterBitmap;
    SetPx(m, 21, 0, paint::TransparentColor);
    SetPx(m, 30, 0, paint::TransparentColor);
    skin::TsGeneralData& s = Panel();
    s.ImgBR = mb.Mask("PANEL", "IMGBTMRIGHT", RECT{20, 0, 22, 2}, 1, 0);
    s.BorderIndex = mb.Mask("PANEL", "BORDERSMASK", RECT{30, 0, 33, 3}, 1, 0, 0, 1, 1, 1, 1);
    auto b = MakeBitmap(12, 9, 24, kUnder);
    paint::PaintSectionRect(&mb.model, 0, "PANEL", Ready(), -1, -1, *b, offset, rect, 0, true);
    EXPECT_EQ(Px(*b, rect.left, rect.top), Px(*parent, 5 + offset.x + rect.left, 4 + offset.y + rect.top));
    EXPECT_EQ(Px(*b, 4, 3), kColor) << "the centre is not in the frame's draw mode";
    EXPECT_EQ(Px(*b, rect.right - 2, rect.bottom - 2), Px(m, 20, 0)) << "corner image under the frame";
    EXPECT_EQ(Px(*b, rect.right - 1, rect.bottom - 2), Px(m, 32, 1)) << "frame edge over the corner image";
}

TEST(CollectTransparentCorners, RunsOfHolesRowByRowLeftBlockThenRightBlock) {
    ModelBuilder mb;
    TBitmap& m = mb.Master(20, 8);
    const TColor k = paint::TransparentColor;
    // Frame 0 is 10 x 8 at (0, 0); margins 3 left, 2 top, 3 right, 2 bottom.
    for (int x : {0, 1}) SetPx(m, x, 0, k);
    SetPx(m, 0, 1, k);
    for (int x : {7, 9}) SetPx(m, x, 0, k);
    for (int x : {8, 9}) SetPx(m, x, 1, k);
    SetPx(m, 0, 7, k);
    const int e = mb.Mask("FORM", "BORDERSMASK", RECT{0, 0, 20, 8}, 2, 0, 0, 3, 2, 3, 2);
    std::vector<RECT> top;
    paint::CollectTransparentCorners(top, 100, mb.model, e, false, 0);
    const std::vector<RECT> expectedTop = {{0, 0, 2, 1}, {0, 1, 1, 2}, {97, 0, 98, 1}, {99, 0, 100, 1}, {98, 1, 100, 2}};
    ASSERT_EQ(top.size(), expectedTop.size());
    for (std::size_t i = 0; i < top.size(); ++i) EXPECT_TRUE(EqualRect(&top[i], &expectedTop[i])) << i;
    std::vector<RECT> bottom;
    paint::CollectTransparentCorners(bottom, 100, mb.model, e, true, 50);
    ASSERT_EQ(bottom.size(), 1u);
    const RECT expectedBottom{0, 51, 1, 52};
    EXPECT_TRUE(EqualRect(&bottom[0], &expectedBottom));
}

}  // namespace
}  // namespace paint_test
