// The skinned status bar: the main window's panel layout, dividers and panel frames, the
// grip, the clock panel repainted once a second for a minute, and the paint paths that must
// not disturb the window (printing, skin removal, a skin change animation).
#include <cstdio>
#include <string>

#include "paint/status_bar.h"
#include "skinned_controls_support.h"

namespace paint_test {
namespace {

using paint::TsStatusBar;

class StatusBarTest : public SkinnedControlsTest {
  protected:
    TsStatusBar* Bar(bool ready = true) {
        if (ready) Ready();
        form->SetBounds(10, 10, 520, 340);
        auto* bar = new TsStatusBar(form);
        bar->SetAlign(framework::TAlign::alNone);
        bar->SetBounds(1, 100, 485, 19);
        for (int w : {380, 40, 35}) bar->Panels().Add()->SetWidth(w);
        bar->SetParent(form);
        form->Show();
        Pump();
        return bar;
    }
    TColor CachePx(TsStatusBar* b, int x, int y) { return Px(*b->SkinData.CacheBmp, x, y); }
    void PanelMask() {
        AddMask("STATUSBAR", "STATUSPANELMASK", {64, 0, 70, 6}, 1, 0, skin::itisaBorder, 1, 1, 1, 1);
    }
};

bool Equal(RECT a, RECT b) { return EqualRect(&a, &b) != 0; }

TEST_F(StatusBarTest, MainWindowPanelLayout) {
    TsStatusBar* b = Bar();
    EXPECT_TRUE(Equal(b->PanelBounds(0), RECT{0, 0, 380, 19}));
    EXPECT_TRUE(Equal(b->PanelBounds(1), RECT{380, 0, 420, 19}));
    EXPECT_TRUE(Equal(b->PanelBounds(2), RECT{420, 0, 485, 19})) << "the last panel runs to the bar's width";
    EXPECT_TRUE(Equal(TsStatusBar::PanelTextRect(RECT{421, 1, 484, 18}), RECT{424, 2, 479, 16}));

    RECT drawn{};
    int calls = 0;
    b->Panels()[2]->Style = framework::TStatusPanelStyle::psOwnerDraw;
    b->OnDrawPanel = [&](framework::TStatusBar*, framework::TStatusPanel* p, const RECT& r) {
        if (p == b->Panels()[2]) drawn = r, ++calls;
        paint::FillRectSolid(*b->SkinData.CacheBmp, r, Rgb(9, 8, 7));
    };
    b->Panels()[2]->SetText("no text over owner drawing");
    Pump();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(Equal(drawn, RECT{421, 1, 484, 18}));
    for (int y = 1; y < 13; ++y)  // the grip covers the bottom-right corner
        for (int x = 421; x < 479; ++x) ASSERT_EQ(CachePx(b, x, y), Rgb(9, 8, 7)) << x << "," << y;
}

TEST_F(StatusBarTest, DividersFollowEveryPanelButTheLastAndGiveWayToPanelFrames) {
    TsStatusBar* b = Bar();
    // Panel 0 is painted in (1, 1, 379, 18): a 2-pixel divider at 379 - 1 - 1 = 377, rows 1..17.
    for (int y = 1; y <= 17; ++y) {
        EXPECT_EQ(CachePx(b, 377, y), kDiv) << y;
        EXPECT_EQ(CachePx(b, 378, y), kDiv) << y;
        EXPECT_EQ(CachePx(b, 417, y), kDiv) << y;
    }
    EXPECT_EQ(CachePx(b, 376, 9), kBar);
    EXPECT_EQ(CachePx(b, 379, 9), kBar);
    for (int x = 421; x < 485; ++x) EXPECT_EQ(CachePx(b, x, 5), kBar) << "no divider after the last panel, x " << x;

    PanelMask();
    b->SkinData.UpdateIndexes();
    b->Invalidate();
    Pump();
    EXPECT_EQ(CachePx(b, 1, 9), kPanelMask) << "each panel framed";
    EXPECT_EQ(CachePx(b, 378, 9), kPanelMask) << "panel 0's right edge";
    EXPECT_EQ(CachePx(b, 377, 9), kBar) << "no divider with a panel frame";

    b->SetSimplePanel(true);
    Pump();
    EXPECT_EQ(CachePx(b, 0, 9), kPanelMask) << "the simple panel frames the whole bar";
    EXPECT_EQ(CachePx(b, 1, 9), kBar);
    EXPECT_EQ(CachePx(b, 378, 9), kBar);
}

TEST_F(StatusBarTest, GripIsDrawnWheneverSizeGripIsSet) {
    form->SetBorderStyle(framework::TFormBorderStyle::bsSingle);
    TsStatusBar* b = Bar();
    for (int y = 13; y < 19; ++y)
        for (int x = 479; x < 485; ++x) ASSERT_EQ(CachePx(b, x, y), kGrip) << x << "," << y;
    EXPECT_EQ(ScreenPixel(b, 482, 16), kGrip);
    b->SizeGrip = false;
    b->SkinData.BgChanged = true;
    b->Invalidate();
    Pump();
    EXPECT_EQ(CachePx(b, 482, 16), kBar);
}

TEST_F(StatusBarTest, ClockPanelRepaintsOncePerSecondForAMinute) {
    TsStatusBar* b = Bar();
    int paints = 0;
    CountPaints(b, paints);
    const POINT origin = b->ClientToScreen(POINT{0, 0});
    int changedTicks = 0;
    for (int second = 0; second < 60; ++second) {
        char text[16];
        std::snprintf(text, sizeof text, "07:59:%02d", second);
        const auto before = Screen();
        paints = 0;
        b->Panels()[0]->SetText(text);  // what the alarm check does on each timer tick
        Pump();
        EXPECT_EQ(paints, 1) << "tick " << second;
        const RECT changed = ChangedArea(before, Screen());
        if (changed.right == 0) continue;
        ++changedTicks;
        EXPECT_GE(changed.left, origin.x) << "tick " << second;
        EXPECT_LE(changed.right, origin.x + 380) << "only the clock panel, tick " << second;
        EXPECT_GE(changed.top, origin.y) << "tick " << second;
        EXPECT_LE(changed.bottom, origin.y + 19) << "tick " << second;
    }
    EXPECT_EQ(changedTicks, 60) << "every new second shows";
}

TEST_F(StatusBarTest, PrintingLeavesTheWindowsUpdateRegionAlone) {
    TsStatusBar* b = Bar();
    b->Invalidate();
    auto target = MakeBitmap(485, 19, 24, Rgb(0, 0, 0));
    SendMessage(b->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(target->Canvas().Handle()), PRF_CLIENT);
    RECT pending{};
    EXPECT_TRUE(GetUpdateRect(b->Handle(), &pending, FALSE)) << "the real repaint is still due";
    EXPECT_EQ(Px(*target, 200, 9), kBar);
    EXPECT_EQ(Px(*target, 377, 9), kDiv);
}

TEST_F(StatusBarTest, RemovingTheSkinKeepsTheWindowAndReturnsTheFrameworkLook) {
    TsStatusBar* b = Bar();
    const HWND before = b->Handle();
    paint::SendSkinCommand(b, skin::scRemoveSkin, 0, reinterpret_cast<LPARAM>(manager.get()));
    EXPECT_EQ(b->Handle(), before);
    EXPECT_FALSE(b->SkinData.IsSkinned());
    Pump();
    EXPECT_NE(ScreenPixel(b, 200, 9), kBar);
}

TEST_F(StatusBarTest, SkinChangeAnimationSwallowsPainting) {
    TsStatusBar* b = Bar();
    skin::AnimatingSkinChange = true;
    b->Panels()[1]->SetText("Вкл");
    Pump();
    const bool stale = b->SkinData.BgChanged;
    RECT pending{};
    const bool due = GetUpdateRect(b->Handle(), &pending, FALSE);
    skin::AnimatingSkinChange = false;
    EXPECT_TRUE(stale) << "the image was not prepared during the animation";
    EXPECT_FALSE(due) << "and the paint did not loop";
    b->Invalidate();
    Pump();
    EXPECT_FALSE(b->SkinData.BgChanged);
}

TEST_F(StatusBarTest, HalfVisibleCountsTheParentsEdgesAsInside) {
    TsStatusBar* b = Bar();
    const RECT client = form->ClientRect();
    b->SetBounds(client.right - 485, client.bottom - 19, 485, 19);
    b->Invalidate();
    Pump();
    EXPECT_FALSE(b->SkinData.HalfVisible);
    b->SetBounds(client.right - 484, client.bottom - 19, 485, 19);
    b->Invalidate();
    Pump();
    EXPECT_TRUE(b->SkinData.HalfVisible);
}

TEST_F(StatusBarTest, WithoutTheSectionTheFrameworkPaints) {
    model().Sections[static_cast<std::size_t>(model().FindSection("STATUSBAR"))].SectionName = "OTHER";
    TsStatusBar* b = Bar();
    EXPECT_FALSE(b->SkinData.IsSkinned());
    EXPECT_NE(ScreenPixel(b, 200, 9), kBar);
}

}  // namespace
}  // namespace paint_test
