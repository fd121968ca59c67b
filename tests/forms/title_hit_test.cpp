// What lies under the mouse on a skinned frame, over a grid of the main window's points, and
// on a sizeable window's edges; which title buttons the border icons and the window state
// allow.
#include "title_button_test_support.h"

namespace provider_test {
namespace {

struct HitCase {
    const char* name;
    POINT p;
    LRESULT code;
};

TEST_F(TitleButtonTest, MainWindowFrameAnswersByZone) {
    form->SetCaption("Wake");
    framework::TIcon icon;
    icon.FromBitmap(*paint_test::MakeBitmap(16, 16, 32, Rgb(1, 2, 250), 255));
    form->SetIcon(icon);
    Start();
    const HitCase cases[] = {
        {"top edge, middle", {kW / 2, 0}, HTBORDER},
        {"top edge, above close", {475, 1}, HTBORDER},
        {"left edge in the title", {1, 10}, HTBORDER},
        {"caption", {200, 10}, HTCAPTION},
        {"caption, first row under the top edge", {200, 3}, HTCAPTION},
        {"icon, top left", {3, 3}, HTSYSMENU},
        {"icon, bottom right", {18, 18}, HTSYSMENU},
        {"right of the icon", {19, 10}, HTCAPTION},
        {"close, top left", {kCloseRect.left, kCloseRect.top}, HTCLOSE},
        {"close, bottom right", {kCloseRect.right - 1, kCloseRect.bottom - 1}, HTCLOSE},
        {"below close", {475, kCloseRect.bottom}, HTCAPTION},
        {"right of close", {kCloseRect.right, 10}, HTCAPTION},
        {"between the buttons", {kMinRect.right, 10}, HTCAPTION},
        {"minimise", {kMinRect.left, 10}, HTMINBUTTON},
        {"left of minimise", {kMinRect.left - 1, 10}, HTCAPTION},
        {"right edge in the title", {kW - 1, 10}, HTBORDER},
        {"the row below the title (menu line without a menu)", {200, 22}, HTCLIENT},
        {"the row below the title, on the left edge", {1, 22}, HTBORDER},
        {"client", {200, 150}, HTCLIENT},
        {"client corner", {3, 22}, HTCLIENT},
        {"client far corner", {kW - 4, kH - 4}, HTCLIENT},
        {"left edge", {0, 150}, HTBORDER},
        {"right edge", {kW - 2, 150}, HTBORDER},
        {"bottom edge", {200, kH - 1}, HTBORDER},
        {"bottom left corner", {0, kH - 1}, HTBORDER},
    };
    for (const HitCase& c : cases) EXPECT_EQ(HitAt(c.p.x, c.p.y), c.code) << c.name;
    // Only the buttons light; everything else leaves no button hot.
    EXPECT_EQ(HitAt(475, 10), HTCLOSE);
    EXPECT_EQ(Buttons().HotCode(), HTCLOSE);
    EXPECT_EQ(HitAt(200, 10), HTCAPTION);
    EXPECT_EQ(Buttons().HotCode(), 0);
    EXPECT_EQ(HitAt(kMinRect.left, 10), HTMINBUTTON);
    EXPECT_EQ(HitAt(10, 10), HTSYSMENU);
    EXPECT_EQ(Buttons().HotCode(), 0);
}

TEST_F(TitleButtonTest, SizeableWindowHasSizingEdgesUnlessMaximised) {
    form->SetBorderStyle(framework::TFormBorderStyle::bsSizeable);
    form->SetCaption("");
    Start();
    const forms::TsFrameMetrics m = provider->Metrics();
    ASSERT_GT(m.B, 1);
    const HitCase cases[] = {
        {"top", {m.W / 2, 0}, HTTOP},
        {"top left", {0, 0}, HTTOPLEFT},
        {"top right", {m.W - 1, 0}, HTTOPRIGHT},
        {"left", {0, m.H / 2}, HTLEFT},
        {"right", {m.W - 1, m.H / 2}, HTRIGHT},
        {"bottom", {m.W / 2, m.H - 1}, HTBOTTOM},
        {"bottom left", {0, m.H - 1}, HTBOTTOMLEFT},
        {"bottom right", {m.W - 1, m.H - 1}, HTBOTTOMRIGHT},
        {"caption", {m.W / 2, m.B + 5}, HTCAPTION},
    };
    for (const HitCase& c : cases) EXPECT_EQ(HitAt(c.p.x, c.p.y), c.code) << c.name;
    ShowWindow(form->Handle(), SW_MAXIMIZE);
    Pump();
    ASSERT_TRUE(IsZoomed(form->Handle()));
    EXPECT_NE(HitAt(provider->Metrics().W / 2, 0), HTTOP);
}

TEST_F(TitleButtonTest, NoCaptionLeavesHitTestingToTheWindow) {
    form->SetBorderStyle(framework::TFormBorderStyle::bsNone);
    Start();
    EXPECT_EQ(provider->Metrics().T, 0);
    EXPECT_EQ(HitAt(5, 5), HTCLIENT);
}

TEST(TitleButtonRules, FollowBorderIconsStyleAndState) {
    using framework::TFormBorderStyle;
    const unsigned mainIcons = framework::biSystemMenu | framework::biMinimize;
    const unsigned all = mainIcons | framework::biMaximize;
    struct Case {
        const char* name;
        TFormBorderStyle style;
        unsigned icons;
        bool iconic, maximized, sysmenu;
        bool visClose, visMax, visMin, enMax, enMin, enRestore;
    };
    const Case cases[] = {
        {"main window", TFormBorderStyle::bsSingle, mainIcons, false, false, true, true, false,
         true, false, true, false},
        {"main window minimised", TFormBorderStyle::bsSingle, mainIcons, true, false, true, true,
         true, true, false, false, true},
        {"sizeable", TFormBorderStyle::bsSizeable, all, false, false, true, true, true, true, true,
         true, false},
        {"sizeable maximised", TFormBorderStyle::bsSizeable, all, false, true, true, true, true,
         true, false, true, true},
        {"dialog", TFormBorderStyle::bsDialog, all, false, false, true, true, false, false, false,
         true, false},
        {"no system menu", TFormBorderStyle::bsSingle, all, false, false, false, false, false,
         false, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const forms::TsButtonRules r =
            forms::ButtonRules(c.style, c.icons, c.iconic, c.maximized, c.sysmenu);
        EXPECT_EQ(r.VisibleClose, c.visClose);
        EXPECT_EQ(r.VisibleMax, c.visMax);
        EXPECT_EQ(r.VisibleMin, c.visMin);
        EXPECT_EQ(r.EnabledMax, c.enMax);
        EXPECT_EQ(r.EnabledMin, c.enMin);
        EXPECT_EQ(r.EnabledRestore, c.enRestore);
    }
}

}  // namespace
}  // namespace provider_test

namespace provider_test {
namespace {

RECT WorkArea() {
    RECT work{};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

TEST_F(TitleButtonTest, MaximisedFrameLiesJustOutsideTheWorkArea) {
    Start();
    MINMAXINFO info{};
    SendMessage(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    const RECT work = WorkArea();
    EXPECT_EQ(info.ptMaxPosition.x, -kB);
    EXPECT_EQ(info.ptMaxPosition.y, -kB);
    EXPECT_EQ(info.ptMaxSize.x, work.right - work.left + 2 * kB);
    EXPECT_EQ(info.ptMaxSize.y, work.bottom - work.top + 2 * kB);
}

TEST_F(TitleButtonTest, ScreenSnapPullsNearEdgesOntoTheWorkAreaOnlyWhenOn) {
    Start();
    HWND h = form->Handle();
    const RECT work = WorkArea();
    auto moveTo = [&](int x, int y) {
        SetWindowPos(h, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT wr{};
        GetWindowRect(h, &wr);
        return POINT{wr.left, wr.top};
    };
    // Off (the main window's setting): the window goes where it is put.
    POINT at = moveTo(work.left + 6, 200);
    EXPECT_EQ(at.x, work.left + 6);
    provider->ScreenSnap = true;
    struct Case {
        const char* name;
        POINT to, expected;
    };
    const Case cases[] = {
        {"near the left edge", {work.left + 6, 200}, {work.left, 200}},
        {"near the top edge", {100, work.top + 9}, {100, work.top}},
        {"just too far", {work.left + 10, 200}, {work.left + 10, 200}},
        {"near the right edge", {work.right - kW - 4, 150}, {work.right - kW, 150}},
        {"near the bottom edge", {100, work.bottom - kH + 3}, {100, work.bottom - kH}},
    };
    for (const Case& c : cases) {
        at = moveTo(c.to.x, c.to.y);
        EXPECT_EQ(at.x, c.expected.x) << c.name;
        EXPECT_EQ(at.y, c.expected.y) << c.name;
    }
    provider->SnapBuffer = 2;
    at = moveTo(work.left + 6, 200);
    EXPECT_EQ(at.x, work.left + 6) << "a smaller snap distance";
}

}  // namespace
}  // namespace provider_test
