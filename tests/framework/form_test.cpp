// Forms: the showing path a replaced window procedure can take over, the window made again
// when styles change, stay-on-top, constant opacity, deferred freeing, painting with OnPaint.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/std_edit.h"
#include "framework_test_support.h"
#include "platform/menu.h"

namespace {

using namespace framework;
using framework_testing::FrameworkTest;
using framework_testing::Screen;

using FormTest = FrameworkTest;

std::uint32_t ScreenPixel(int x, int y) {
    return Screen().ComposeScreen()[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)] & 0xFFFFFF;
}

TForm* HiddenForm(std::unique_ptr<TApplication>& app) {
    TForm* form = nullptr;
    app->CreateForm(form);
    form->SetBounds(40, 40, 200, 150);
    return form;
}

// A show hook (the skinned frame's show animation) must see the message with the form already
// counted as showing and its window still hidden, and the window must appear only when the
// hook lets the form's own handling run.
TEST_F(FormTest, ShowingChangedCarriesTheShowAndAReplacedProcedureDecidesWhen) {
    TForm* form = HiddenForm(app);
    TWndMethod saved = form->WindowProc;
    bool intercept = true;
    std::vector<std::string> seen;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_SHOWINGCHANGED) {
            seen.push_back(std::string(form->Showing() ? "showing" : "hiding") +
                           (IsWindowVisible(form->Handle()) ? " visible" : " hidden"));
            if (intercept) return;
        }
        saved(m);
    };
    form->Show();
    Pump();
    EXPECT_FALSE(IsWindowVisible(form->Handle())) << "the hook swallowed the show";
    form->Hide();
    intercept = false;
    form->Show();
    Pump();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    form->Hide();
    Pump();
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(seen, (std::vector<std::string>{"showing hidden", "hiding hidden", "showing hidden", "hiding visible"}));
    form->WindowProc = saved;
}

// The show hook paints the whole form (the skinned show animation captures it): its controls
// must already count as showing then. Hiding tells the form first.
TEST_F(FormTest, ControlsCountAsShowingWhenTheFormsShowArrives) {
    TForm* form = HiddenForm(app);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* inner = new TPanel(form);
    inner->SetParent(panel);
    TWndMethod saved = form->WindowProc;
    std::vector<std::string> seen;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_SHOWINGCHANGED)
            seen.push_back(std::string(form->Showing() ? "form showing" : "form hiding") +
                           (panel->Showing() ? ", panel showing" : ", panel not") +
                           (inner->Showing() ? ", inner showing" : ", inner not"));
        saved(m);
    };
    form->Show();
    Pump();
    form->Hide();
    Pump();
    EXPECT_FALSE(panel->Showing());
    EXPECT_EQ(seen, (std::vector<std::string>{"form showing, panel showing, inner showing",
                                              "form hiding, panel showing, inner showing"}));
    form->WindowProc = saved;
}

TEST_F(FormTest, ShowAndHideRunTheirEventsOnceAndShowUndoesADirectHide) {
    TForm* form = HiddenForm(app);
    int shows = 0, hides = 0;
    form->OnShow = [&](TObject*) { ++shows; };
    form->OnHide = [&](TObject*) { ++hides; };
    form->Show();
    form->Show();
    Pump();
    EXPECT_EQ(shows, 1);
    ShowWindow(form->Handle(), SW_HIDE);
    form->Show();
    Pump();
    EXPECT_TRUE(IsWindowVisible(form->Handle())) << "hidden behind the form's back, shown again by Show";
    EXPECT_EQ(shows, 2);
    form->Hide();
    form->Hide();
    EXPECT_EQ(hides, 1);
}

TEST_F(FormTest, RecreatedFormComesBackShownWithItsFocusAndWithoutEvents) {
    TForm* form = NewForm(200, 100);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 100, 21);
    auto* other = new TEdit(form);
    other->SetParent(form);
    other->SetBounds(10, 40, 100, 21);
    other->SetFocus();
    Pump();
    int shows = 0;
    form->OnShow = [&](TObject*) { ++shows; };
    HWND before = form->Handle();
    form->RecreateWnd();
    Pump();
    EXPECT_NE(form->Handle(), before);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(form->Showing());
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(GetParent(edit->Handle()), form->Handle());
    EXPECT_EQ(shows, 0);
}

TEST_F(FormTest, BorderIconsReachTheWindowAndItsSystemMenu) {
    TForm* form = NewForm(200, 100);
    form->SetBorderStyle(TFormBorderStyle::bsSingle);
    form->SetBorderIcons(biSystemMenu | biMinimize);
    auto grayed = [&](UINT command) {
        return (GetMenuState(GetSystemMenu(form->Handle(), FALSE), command, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    EXPECT_FALSE(grayed(SC_MINIMIZE));
    EXPECT_TRUE(grayed(SC_MAXIMIZE));
    EXPECT_TRUE(GetWindowLong(form->Handle(), GWL_STYLE) & WS_MINIMIZEBOX);
    EXPECT_FALSE(GetWindowLong(form->Handle(), GWL_STYLE) & WS_THICKFRAME) << "bsSingle reached the window";
    form->SetBorderIcons(biSystemMenu);
    EXPECT_TRUE(grayed(SC_MINIMIZE));
    EXPECT_FALSE(GetWindowLong(form->Handle(), GWL_STYLE) & WS_MINIMIZEBOX);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(FormTest, StayOnTopFormStaysAboveAFormShownLater) {
    TForm* top = NewForm(200, 100);
    top->SetFormStyle(TFormStyle::fsStayOnTop);
    EXPECT_TRUE(GetWindowLong(top->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    TForm* later = NewForm(200, 100);
    POINT inside = top->ClientToScreen(POINT{20, 20});
    EXPECT_EQ(WindowFromPoint(inside), top->Handle());
    top->SetFormStyle(TFormStyle::fsNormal);
    later->Show();
    Pump();
    EXPECT_EQ(WindowFromPoint(inside), later->Handle());
}

TEST_F(FormTest, StayOnTopSetBeforeTheWindowExistsIsMadeTopmost) {
    TForm* form = HiddenForm(app);
    form->SetFormStyle(TFormStyle::fsStayOnTop);
    form->Show();
    EXPECT_TRUE(GetWindowLong(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(FormTest, AlphaBlendSetsAndClearsTheConstantOpacity) {
    TForm* form = HiddenForm(app);
    form->SetAlphaBlendValue(96);
    form->SetAlphaBlend(true);
    form->Show();
    Pump();
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetWindowLong(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    ASSERT_TRUE(GetLayeredWindowAttributes(form->Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 96);
    EXPECT_TRUE(flags & LWA_ALPHA);
    form->SetAlphaBlendValue(200);
    GetLayeredWindowAttributes(form->Handle(), nullptr, &alpha, &flags);
    EXPECT_EQ(alpha, 200);
    form->SetAlphaBlend(false);
    EXPECT_FALSE(GetWindowLong(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

// Release from the form's own handler: the form outlives the handler and is gone once the
// queue has been worked through.
TEST_F(FormTest, ReleaseFreesTheFormOnlyAfterTheHandlerReturned) {
    TForm* form = NewForm(200, 100);
    bool destroyed = false;
    bool aliveAfterRelease = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->OnClick = [&](TObject*) {
        form->Release();
        aliveAfterRelease = !destroyed;
        form->SetCaption("still here");
    };
    Click(form, 50, 50);
    EXPECT_TRUE(aliveAfterRelease);
    Pump();
    EXPECT_TRUE(destroyed);
}

TEST_F(FormTest, OnPaintDrawsOnTheClientThroughTheCanvas) {
    TForm* form = NewForm(200, 100);
    bool attachedOutsidePaint = true;
    form->OnPaint = [&](TObject*) {
        form->Canvas().Brush.SetColor(TColor{0x0000FF});
        form->Canvas().FillRect(RECT{10, 10, 30, 30});
    };
    form->Repaint();
    Pump();
    attachedOutsidePaint = form->Canvas().HandleAllocated();
    POINT p = form->ClientToScreen(POINT{20, 20});
    POINT q = form->ClientToScreen(POINT{40, 40});
    EXPECT_EQ(ScreenPixel(p.x, p.y), 0xFF0000u) << "red, stored blue-green-red";
    EXPECT_NE(ScreenPixel(q.x, q.y), 0xFF0000u);
    EXPECT_FALSE(attachedOutsidePaint);
}

}  // namespace
