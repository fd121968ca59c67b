// Pixels of the skinned panel and group box: the group box's caption band for each caption
// placement, its plate hot and not hot, the frame through the middle of the band and the
// fill; the plain panel painted straight to the screen until it is hot, and the image it
// hands out on request.
#include "paint/panel.h"

#include "binding_test_support.h"
#include "paint/bg_query.h"
#include "paint/control_commands.h"
#include "paint/group_box.h"

namespace paint_test {
namespace {

using paint::TsCaptionLayout;

constexpr TColor kBox = Rgb(30, 140, 60);
constexpr TColor kPlate = Rgb(200, 180, 20);
constexpr TColor kHotPlate = Rgb(250, 40, 40);
constexpr TColor kPanel = Rgb(110, 120, 130);
const std::string kCaption = " Days ";

// The textured parent tiles the 8 x 8 corner of the master bitmap from its origin.
TColor Back(int x, int y) {
    return Pattern(x % 8, y % 8, 1);
}

class ContainerTest : public BindingTest {
  protected:
    void SetUp() override {
        BindingTest::SetUp();
        FillPattern(*model().MasterBitmap, 1);
        AddSection("TEXTURED", Rgb(7, 7, 7)).ImagePercent = 100;
        AddMask("TEXTURED", "PATTERN", {0, 0, 8, 8}, 1, 0, skin::itisaTexture);
        AddSection("GROUPBOX", kBox);
        skin::TsGeneralData& plate = AddSection("CHECKBOX", kPlate);
        plate.HotColor = kHotPlate;
        AddSection("PLATE", kHotPlate);
        AddSection("PANEL", kPanel);
        AddSection("GLASS").Transparency = 100;
        Ready();
    }
    paint::TsGroupBox* Box(TsCaptionLayout layout, const std::string& caption) {
        back = Panel(form, "TEXTURED", {0, 0, 300, 200});
        auto* box = new paint::TsGroupBox(form);
        box->SetBounds(13, 21, 150, 80);
        box->SetCaption(caption);
        box->SetCaptionLayout(layout);
        box->SetParent(back);
        box->SkinData.SetSkinSection("GROUPBOX");
        box->SkinData.AfterCreate();
        back->Prepare();
        return box;
    }
    // Caption height and text width measured on a canvas of our own in the box's font.
    SIZE Metrics(paint::TsGroupBox* box, const std::string& caption) {
        framework::TBitmap probe(4, 4, framework::TPixelFormat::pf24bit);
        probe.Canvas().Font.Assign(box->Font());
        const int h = std::max(4, probe.Canvas().TextHeight("W")) + 2;
        return SIZE{probe.Canvas().TextWidth(caption), h};
    }
    TColor BoxPx(paint::TsGroupBox* box, int x, int y) { return Px(*box->SkinData.CacheBmp, x, y); }
    TColor ScreenPixel(framework::TControl* c, int x, int y) {
        POINT p = c->ClientToScreen(POINT{x, y});
        std::vector<std::uint32_t> screen = test_support::HeadlessScreen().ComposeScreen();
        std::uint32_t v =
            screen[static_cast<std::size_t>(p.y) * 800 + static_cast<std::size_t>(p.x)];
        return Rgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    BoundPanel* back = nullptr;
};

TEST_F(ContainerTest, CaptionBandPlateFrameAndFillForEachPlacement) {
    for (TsCaptionLayout layout :
         {TsCaptionLayout::clTopLeft, TsCaptionLayout::clTopCenter, TsCaptionLayout::clTopRight}) {
        SCOPED_TRACE(static_cast<int>(layout));
        paint::TsGroupBox* box = Box(layout, kCaption);
        const SIZE m = Metrics(box, kCaption);
        const int a = m.cx, h = m.cy;
        const int x = layout == TsCaptionLayout::clTopLeft     ? 6
                      : layout == TsCaptionLayout::clTopCenter ? (150 - a - 10) / 2
                                                               : 150 - a - 14;
        const RECT band = box->CaptionRect();
        EXPECT_EQ(band.left, x);
        EXPECT_EQ(band.right, x + a + 8);
        EXPECT_EQ(band.top, 0);
        EXPECT_EQ(band.bottom, h);
        box->PrepareCache();
        // The plate's margins left and right of the text.
        EXPECT_EQ(BoxPx(box, x + 1, h / 2), kPlate);
        EXPECT_EQ(BoxPx(box, x + a + 6, h / 2), kPlate);
        // Beside the plate: the parent's pixels above the frame line, the frame below it.
        const int beside = layout == TsCaptionLayout::clTopLeft ? 145 : 2;
        EXPECT_EQ(BoxPx(box, beside, 0), Back(13 + beside, 21));
        EXPECT_EQ(BoxPx(box, beside, h / 2 - 1), Back(13 + beside, 21 + h / 2 - 1));
        EXPECT_EQ(BoxPx(box, beside, h / 2), kBox);
        EXPECT_EQ(BoxPx(box, 75, 60), kBox);
        delete back;
    }
}

TEST_F(ContainerTest, PlateIsHotWhileTheBoxHasTheFocus) {
    paint::TsGroupBox* box = Box(TsCaptionLayout::clTopLeft, kCaption);
    form->Show();
    Pump();
    const int h = Metrics(box, kCaption).cy;
    box->SetFocus();
    Pump();
    ASSERT_TRUE(box->Focused());
    box->PrepareCache();
    EXPECT_EQ(BoxPx(box, 7, h / 2), kHotPlate);
    auto* other = new framework::TPanel(form);
    other->SetBounds(200, 200, 10, 10);
    other->SetParent(form);
    other->TabStop = true;
    other->SetFocus();
    Pump();
    ASSERT_FALSE(box->Focused());
    box->PrepareCache();
    EXPECT_EQ(BoxPx(box, 7, h / 2), kPlate);
}

TEST_F(ContainerTest, BoxWithoutCaptionKeepsTheParentAboveTheFrame) {
    paint::TsGroupBox* box = Box(TsCaptionLayout::clTopLeft, "");
    const int h = Metrics(box, "").cy;
    box->PrepareCache();
    for (int x : {1, 7, 20}) EXPECT_EQ(BoxPx(box, x, h / 2 - 1), Back(13 + x, 21 + h / 2 - 1)) << x;
    EXPECT_EQ(BoxPx(box, 7, h / 2), kBox);
}

TEST_F(ContainerTest, NegativeCaptionOffsetLiftsTheBandAndStartsTheFrameAtTheTop) {
    paint::TsGroupBox* box = Box(TsCaptionLayout::clTopLeft, kCaption);
    const int h = Metrics(box, kCaption).cy;
    box->SetCaptionYOffset(-5);
    const RECT band = box->CaptionRect();
    EXPECT_EQ(band.top, -5);
    EXPECT_EQ(band.bottom, h - 5);
    box->PrepareCache();
    EXPECT_EQ(BoxPx(box, 145, h), kBox);
    EXPECT_EQ(BoxPx(box, 145, h - 5), kBox);
}

TEST_F(ContainerTest, CaptionSkinPaintsThePlateAndAnswersWithTheBoxImage) {
    paint::TsGroupBox* box = Box(TsCaptionLayout::clTopLeft, kCaption);
    box->SetCaptionSkin("PLATE");
    const int h = Metrics(box, kCaption).cy;
    box->PrepareCache();
    EXPECT_EQ(BoxPx(box, 7, h / 2), kHotPlate);
    paint::TsBgQuery q;
    q.Offset = POINT{9, 9};
    paint::SendSkinCommand(box, skin::scGetBg, 0, reinterpret_cast<LPARAM>(&q));
    EXPECT_EQ(q.BgType, paint::kBgBitmap);
    EXPECT_EQ(q.Bmp, box->SkinData.CacheBmp.get());
    EXPECT_EQ(q.Offset.x, 0);
    EXPECT_EQ(q.Offset.y, 0);
}

TEST_F(ContainerTest, PlainPanelPaintsStraightToTheScreenUntilItIsHot) {
    auto* panel = new paint::TsPanel(form);
    panel->SetBounds(40, 30, 120, 60);
    panel->SetParent(form);
    panel->SkinData.SetSkinSection("PANEL");
    panel->SkinData.AfterCreate();
    form->Show();
    Pump();
    EXPECT_EQ(ScreenPixel(panel, 60, 5), kPanel);
    EXPECT_EQ(ScreenPixel(panel, 3, 50), kPanel);
    EXPECT_EQ(panel->SkinData.CacheBmp->Width(), 0);
    panel->TabStop = true;
    panel->SetFocus();
    panel->Invalidate();
    Pump();
    EXPECT_EQ(panel->SkinData.CacheBmp->Width(), 120);
    EXPECT_EQ(Px(*panel->SkinData.CacheBmp, 60, 5), kPanel);
    EXPECT_EQ(ScreenPixel(panel, 60, 5), kPanel);
}

TEST_F(ContainerTest, SeeThroughPanelShowsWhatLiesBehind) {
    back = Panel(form, "TEXTURED", {0, 0, 300, 200});
    auto* panel = new paint::TsPanel(form);
    panel->SetBounds(17, 11, 60, 40);
    panel->SetParent(back);
    panel->SkinData.SetSkinSection("GLASS");
    panel->SkinData.AfterCreate();
    form->Show();
    Pump();
    for (POINT p : {POINT{30, 20}, POINT{2, 2}, POINT{57, 37}})
        EXPECT_EQ(ScreenPixel(panel, p.x, p.y), Back(17 + p.x, 11 + p.y)) << p.x << "," << p.y;
}

TEST_F(ContainerTest, PaintEventRunsAfterThePanelsOwnPaintingSkinnedOrNot) {
    constexpr TColor kMark = Rgb(255, 0, 0);
    for (const char* section : {"PANEL", "NOSUCH"}) {
        SCOPED_TRACE(section);
        auto* panel = new paint::TsPanel(form);
        panel->SetBounds(0, 0, 40, 30);
        panel->SetParent(form);
        panel->SkinData.SetSkinSection(section);
        panel->SkinData.AfterCreate();
        int calls = 0;
        panel->OnPaint = [&](framework::TObject*, framework::TCanvas& canvas) {
            ++calls;
            canvas.Brush.SetStyle(framework::TBrushStyle::bsSolid);
            canvas.Brush.SetColor(kMark);
            canvas.FillRect(RECT{0, 0, 4, 4});
        };
        form->Show();
        Pump();
        calls = 0;
        panel->Repaint();
        Pump();
        // A plain panel paints on erasing and again on painting, each time with the event.
        EXPECT_GE(calls, 1);
        EXPECT_LE(calls, 2);
        EXPECT_EQ(ScreenPixel(panel, 1, 1), kMark);
        EXPECT_NE(ScreenPixel(panel, 20, 20), kMark);
        delete panel;
    }
}

// A textured panel keeps its image between its children's background queries; a query after
// the cache was declared stale paints it again, and both answers show the texture.
TEST_F(ContainerTest, ChildrenAskingForTheBackgroundReuseThePanelsImageUntilItIsStale) {
    auto* panel = new paint::TsPanel(form);
    panel->SetBounds(0, 0, 64, 48);
    panel->SetParent(form);
    panel->SkinData.SetSkinSection("TEXTURED");
    panel->SkinData.AfterCreate();
    int paints = 0;
    panel->OnPaint = [&](framework::TObject*, framework::TCanvas&) { ++paints; };
    form->Show();
    Pump();
    ASSERT_GE(paints, 1);
    auto ask = [&] {
        paint::TsBgQuery q;
        paint::QueryParentBg(q, panel, false);
        ASSERT_EQ(q.BgType, paint::kBgBitmap);
        ASSERT_NE(q.Bmp, nullptr);
        // The image handed out is the panel's own, texture tiled from its origin.
        for (POINT p : {POINT{0, 0}, POINT{8, 11}, POINT{63, 47}})
            EXPECT_EQ(Px(*q.Bmp, p.x, p.y), Back(p.x, p.y)) << p.x << "," << p.y;
    };
    paints = 0;
    for (int i = 0; i < 3; ++i) ask();
    EXPECT_EQ(paints, 0);
    SendSkinCommand(panel, skin::scInvalidateCache);
    ask();
    ask();
    EXPECT_EQ(paints, 1);
}

TEST_F(ContainerTest, EraseWithEqualParametersHandsOutThePanelsImage) {
    auto* panel = new paint::TsPanel(form);
    panel->SetBounds(0, 0, 30, 20);
    panel->SetParent(form);
    panel->SkinData.SetSkinSection("PANEL");
    panel->SkinData.AfterCreate();
    form->Show();
    Pump();
    framework::TBitmap target(30, 20, framework::TPixelFormat::pf24bit);
    HDC dc = target.Canvas().Handle();
    const WPARAM w = reinterpret_cast<WPARAM>(dc);
    EXPECT_EQ(panel->Perform(WM_ERASEBKGND, w, static_cast<LPARAM>(w)), 1);
    EXPECT_EQ(Px(target, 0, 0), kPanel);
    EXPECT_EQ(Px(target, 29, 19), kPanel);
}

TEST_F(ContainerTest, AnnouncementsReachTheChildrenOfBothContainers) {
    auto* panel = new paint::TsPanel(form);
    panel->SetBounds(0, 0, 200, 150);
    panel->SetParent(form);
    panel->SkinData.SetSkinSection("PANEL");
    auto* box = new paint::TsGroupBox(form);
    box->SetBounds(5, 5, 150, 100);
    box->SetParent(panel);
    box->SkinData.SetSkinSection("GROUPBOX");
    auto* inner = new BoundPanel(form, "PANEL");
    inner->Place(box, 10, 20, 20, 20);
    skin::TsSkinManager other(nullptr);
    for (LPARAM by : {reinterpret_cast<LPARAM>(&other), reinterpret_cast<LPARAM>(manager.get())})
        for (WORD c : {skin::scNewSkin, skin::scRemoveSkin, skin::scRefresh}) {
            inner->commands.clear();
            panel->Perform(skin::SM_SKINCMD, skin::SkinCommandWParam(c), by);
            EXPECT_EQ(std::count(inner->commands.begin(), inner->commands.end(), c), 1) << c;
        }
    EXPECT_EQ(paint::SendSkinCommand(box, skin::scIsSkinned), 1);
    EXPECT_EQ(paint::SendSkinCommand(panel, skin::scIsSkinned), 1);
}

}  // namespace
}  // namespace paint_test
