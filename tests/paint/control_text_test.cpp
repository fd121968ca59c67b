// A bound control's caption (contours, face, glow, disabled colour, the font-giving parent)
// and the disabled look's arithmetic.
#include "binding_test_support.h"
#include "paint/color_mix.h"
#include "paint/control_text.h"
#include "paint/dc_state.h"
#include "paint/glow_text.h"

namespace paint_test {
namespace {

constexpr TColor kBack = Rgb(240, 240, 240);
constexpr UINT kFlags = DT_LEFT | DT_TOP | DT_SINGLELINE;
const RECT kTextRect{6, 4, 54, 26};
const char* const kText = "Hm";

// Text drawn the plain way: each (offset, colour) in order, clipped to kTextRect.
std::unique_ptr<TBitmap> Reference(framework::TFont& font, const std::vector<std::pair<POINT, TColor>>& copies,
                                   std::unique_ptr<TBitmap> b = nullptr) {
    if (!b) b = MakeBitmap(60, 30, 24, kBack);
    framework::TCanvas& c = b->Canvas();
    c.Font.Assign(font);
    c.Brush.SetStyle(framework::TBrushStyle::bsClear);
    paint::SavedDcState state(c.Handle());
    IntersectClipRect(c.Handle(), kTextRect.left, kTextRect.top, kTextRect.right, kTextRect.bottom);
    for (const auto& [at, color] : copies) {
        RECT r = kTextRect;
        OffsetRect(&r, at.x, at.y);
        c.Font.SetColor(color);
        c.DrawText(kText, r, kFlags | DT_NOCLIP);
    }
    return b;
}

int Differences(const TBitmap& a, const TBitmap& b) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) n += Px(a, x, y) != Px(b, x, y);
    return n;
}

int Count(const TBitmap& a, TColor c) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) n += Px(a, x, y) == c;
    return n;
}

class ControlTextTest : public BindingTest {
protected:
    BoundPanel* TextPanel(const std::string& section, framework::TWinControl* parent = nullptr) {
        BoundPanel* p = Panel(parent ? parent : form, section, {0, 0, 60, 30});
        p->Font().SetHeight(-15);
        p->SkinData.InitCacheBmp();
        paint::FillRectSolid(*p->SkinData.CacheBmp, RECT{0, 0, 60, 30}, kBack);
        return p;
    }
    void Write(BoundPanel* p, bool enabled, bool hot = false) {
        paint::WriteSkinText(p->SkinData, p->SkinData.CacheBmp->Canvas(), kText, enabled, hot, kFlags, kTextRect);
    }
};

constexpr TColor kFace = Rgb(10, 20, 200), kLeft = Rgb(200, 0, 0), kTop = Rgb(0, 200, 0), kRight = Rgb(0, 0, 120),
                 kBottom = Rgb(150, 150, 0);

TEST_F(ControlTextTest, ContoursInOrderThenTheFaceSkippingMissingColours) {
    skin::TsGeneralData& s = AddSection("TEXT");
    s.FontColor = {kFace, kLeft, -1, kRight, kBottom};
    Ready();
    BoundPanel* p = TextPanel("TEXT");
    Write(p, true);
    auto expected = Reference(p->Font(), {{{-1, 0}, kLeft}, {{1, 0}, kRight}, {{0, 1}, kBottom}, {{0, 0}, kFace}});
    EXPECT_EQ(Differences(*p->SkinData.CacheBmp, *expected), 0);
    EXPECT_GT(Count(*expected, kFace), 0);
    auto withoutLeft = Reference(p->Font(), {{{1, 0}, kRight}, {{0, 1}, kBottom}, {{0, 0}, kFace}});
    EXPECT_GT(Differences(*expected, *withoutLeft), 0) << "the left contour shows";
    EXPECT_EQ(Count(*p->SkinData.CacheBmp, kTop), 0);
}

TEST_F(ControlTextTest, HotStateUsesTheHotColours) {
    skin::TsGeneralData& s = AddSection("TEXT");
    s.FontColor = {kFace, -1, -1, -1, -1};
    s.HotFontColor = {kBottom, -1, kTop, -1, -1};
    Ready();
    BoundPanel* p = TextPanel("TEXT");
    Write(p, true, true);
    EXPECT_EQ(Differences(*p->SkinData.CacheBmp, *Reference(p->Font(), {{{0, -1}, kTop}, {{0, 0}, kBottom}})), 0);
}

TEST_F(ControlTextTest, GlowGoesIntoTheImageBeforeTheText) {
    skin::TsGeneralData& s = AddSection("TEXT");
    s.FontColor = {kFace, -1, -1, -1, -1};
    s.GlowSize = 3;
    s.GlowColor = Rgb(255, 255, 0);
    Ready();
    BoundPanel* p = TextPanel("TEXT");
    Write(p, true);
    auto expected = MakeBitmap(60, 30, 24, kBack);
    expected->Canvas().Font.Assign(p->Font());
    paint::GlowMask mask;
    paint::DrawGlowText(*expected, kText, kTextRect, mask, Rgb(255, 255, 0), 3, paint::kGlowContourAll, kFlags);
    int glowing = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) glowing += Px(*expected, x, y) != kBack;
    expected = Reference(p->Font(), {{{0, 0}, kFace}}, std::move(expected));
    EXPECT_GT(glowing, 0);
    EXPECT_EQ(Differences(*p->SkinData.CacheBmp, *expected), 0);
}

TEST_F(ControlTextTest, DisabledTextTakesFortyPercentOfTheFontColour) {
    AddSection("TEXT").FontColor = {Rgb(200, 0, 100), kLeft, kTop, kRight, kBottom};
    Global().Color = Rgb(0, 100, 50);
    Ready();
    BoundPanel* p = TextPanel("TEXT");
    Write(p, false);
    // 0.4 x (200, 0, 100) + 0.6 x (0, 100, 50)
    auto expected = Reference(p->Font(), {{{0, 0}, Rgb(80, 60, 70)}});
    EXPECT_EQ(Differences(*p->SkinData.CacheBmp, *expected), 0);
    EXPECT_GT(Count(*expected, Rgb(80, 60, 70)), 0);
}

TEST_F(ControlTextTest, CheckBoxTakesTheColoursOfTheFirstSolidParentThatGivesItsFont) {
    skin::TsGeneralData& giver = AddSection("GIVER");
    giver.GiveOwnFont = true;
    giver.FontColor = {kTop, -1, -1, -1, -1};
    AddSection("SEE").Transparency = 60;
    AddSection("TEXT").FontColor = {kFace, -1, -1, -1, -1};
    Ready();
    BoundPanel* outer = Panel(form, "GIVER", {0, 0, 200, 100});
    BoundPanel* middle = Panel(outer, "SEE", {5, 5, 150, 80});
    BoundPanel* box = TextPanel("TEXT", middle);
    box->SkinData.ControlKind = paint::ckCheckBox;
    Write(box, true);
    EXPECT_EQ(Differences(*box->SkinData.CacheBmp, *Reference(box->Font(), {{{0, 0}, kTop}})), 0) << "past a parent over 50";

    model().Sections[static_cast<std::size_t>(model().FindSection("SEE"))].Transparency = 50;
    paint::FillRectSolid(*box->SkinData.CacheBmp, RECT{0, 0, 60, 30}, kBack);
    Write(box, true);
    EXPECT_EQ(Differences(*box->SkinData.CacheBmp, *Reference(box->Font(), {{{0, 0}, kFace}})), 0)
        << "a parent at 50 ends the walk, and it gives nothing";
    (void)middle;
}

// round(s - 0.4 (s - d)) for background byte s and image byte d.
TEST(DisabledLook, BlendedTakesSixtyPercentOfTheBackground) {
    struct Case {
        int s, d, expected;
    } cases[] = {{200, 100, 160}, {10, 250, 106}, {255, 0, 153}, {0, 255, 102}, {3, 4, 3}, {3, 5, 4}, {7, 2, 5}};
    auto img = MakeBitmap(7, 2, 24, 0);
    auto bg = MakeBitmap(12, 6, 24, Rgb(1, 2, 3));
    for (int i = 0; i < 7; ++i) {
        SetPx(*img, i, 0, Rgb(cases[i].d, cases[i].d, 0));
        SetPx(*bg, 3 + 2 + i, 1 + 1, Rgb(cases[i].s, 0, cases[i].s));
    }
    paint::ApplyDisabledKind(*img, paint::dkBlended, nullptr, POINT{2, 1}, paint::BgSourceFromBitmap(bg.get(), 3, 1));
    for (int i = 0; i < 7; ++i) {
        const Case& c = cases[i];
        int mixedZero = (6 * 0 + 4 * c.d + 5) / 10;  // green: s = 0
        int blueFromZero = (6 * c.s + 0 + 5) / 10;   // blue: d = 0
        EXPECT_EQ(Px(*img, i, 0), Rgb(c.expected, mixedZero, blueFromZero)) << i;
    }
}

TEST(DisabledLook, PixelsWithoutBackgroundBehindThemStay) {
    auto img = MakeBitmap(6, 4, 24, Rgb(100, 100, 100));
    auto bg = MakeBitmap(4, 3, 24, Rgb(200, 200, 200));
    paint::ApplyDisabledKind(*img, paint::dkBlended, nullptr, POINT{1, 1}, paint::BgSourceFromBitmap(bg.get(), 0, 0));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            bool behind = x < 3 && y < 2;  // background pixel (1 + x, 1 + y) exists
            ASSERT_EQ(Px(*img, x, y), behind ? Rgb(160, 160, 160) : Rgb(100, 100, 100)) << x << "," << y;
        }
}

TEST_F(BindingTest, DisabledLookWithoutBackgroundKeepsHalf) {
    auto* owner = new framework::TPanel(form);
    owner->SetColor(Rgb(200, 200, 201));
    auto img = MakeBitmap(3, 2, 24, Rgb(101, 103, 100));
    // (101 + 200) / 2 = 150.5 -> 150, (103 + 200) / 2 = 151.5 -> 152, (100 + 201) / 2 = 150.5 -> 150
    paint::ApplyDisabledKind(*img, paint::dkBlended, owner, POINT{0, 0}, paint::BgSourceFromColor(paint::TransparentColor));
    EXPECT_EQ(Px(*img, 2, 1), Rgb(150, 152, 150));
    paint::ApplyDisabledKind(*img, paint::dkBlended | paint::dkGrayed, owner, POINT{0, 0}, paint::BgSourceFromColor(Rgb(0, 0, 0)));
    // grey (150 + 152 + 150) / 3 = 150, then half of black: 75
    EXPECT_EQ(Px(*img, 0, 0), Rgb(75, 75, 75));
}

}  // namespace
}  // namespace paint_test
