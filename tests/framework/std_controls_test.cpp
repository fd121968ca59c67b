// Check box toggling, speed button looks, status bar panels, and what the standard look draws.
#include <gtest/gtest.h>

#include "framework/std_controls.h"
#include "framework_test_support.h"

namespace {

using namespace framework;
using framework_testing::FrameworkTest;
using framework_testing::Screen;

using StdControls = FrameworkTest;

TEST_F(StdControls, CheckBoxTogglesByMouseAndSpaceAndReportsEachChange) {
    TForm* form = NewForm(200, 100);
    auto* box = new TCheckBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 100, 19);
    box->SetCaption("среда");
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    Click(box);
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(box->Focused());
    Key(VK_SPACE);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 2);
}

TEST_F(StdControls, CheckBoxCyclesThroughGrayedOnlyWhenAllowed) {
    TForm* form = NewForm(200, 100);
    auto* box = new TCheckBox(form);
    box->SetParent(form);
    auto cycle = [box] {
        std::vector<TCheckBoxState> states;
        for (int i = 0; i < 3; ++i) {
            box->Toggle();
            states.push_back(box->State());
        }
        return states;
    };
    box->AllowGrayed = true;
    EXPECT_EQ(cycle(), (std::vector<TCheckBoxState>{TCheckBoxState::cbChecked, TCheckBoxState::cbGrayed,
                                                    TCheckBoxState::cbUnchecked}));
    box->AllowGrayed = false;
    EXPECT_EQ(cycle(), (std::vector<TCheckBoxState>{TCheckBoxState::cbChecked, TCheckBoxState::cbUnchecked,
                                                    TCheckBoxState::cbChecked}));
}

// A check box that draws itself (the skinned one) takes over the state change and the toggle;
// mouse, keyboard and Checked must all come through them.
class WatchedBox : public TCheckBox {
public:
    using TCheckBox::TCheckBox;
    std::vector<std::string> calls;
    void SetState(TCheckBoxState state) override {
        calls.push_back("state " + std::to_string(static_cast<int>(state)));
        TCheckBox::SetState(state);
    }
    void Toggle() override {
        calls.push_back("toggle");
        TCheckBox::Toggle();
    }
};

TEST_F(StdControls, CheckBoxStateChangesGoThroughTheOverridableSteps) {
    TForm* form = NewForm(200, 100);
    auto* box = new WatchedBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 100, 19);
    Click(box);
    Key(VK_SPACE);
    box->SetChecked(true);
    EXPECT_EQ(box->calls, (std::vector<std::string>{"toggle", "state 1", "toggle", "state 0", "state 1"}));
}

TEST_F(StdControls, CheckBoxSetWhileLoadingRunsNoHandler) {
    TForm* form = NewForm(200, 100);
    auto* box = new TCheckBox(form);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->BeginLoading();
    box->SetChecked(true);
    box->Loaded();
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 0);
}

TEST_F(StdControls, StatusBarPanelsTakeTheirWidthsAndTheLastOneTheRest) {
    TForm* form = NewForm(487, 100);
    auto* bar = new TStatusBar(form);
    bar->SetParent(form);
    for (int w : {380, 40, 35}) bar->Panels().Add()->SetWidth(w);
    bar->Panels()[1]->SetText("Вкл");
    EXPECT_EQ(bar->PanelRect(0).left, 0);
    EXPECT_EQ(bar->PanelRect(1).left, 380);
    EXPECT_EQ(bar->PanelRect(2).left, 420);
    EXPECT_EQ(bar->PanelRect(2).right, 487 - 2);
    EXPECT_EQ(bar->Panels()[1]->Text(), "Вкл");
}

TEST_F(StdControls, GroupedSpeedButtonsActAsRadioButtons) {
    TForm* form = NewForm(300, 100);
    std::vector<TSpeedButton*> group;
    for (int i = 0; i < 3; ++i) {
        auto* b = new TSpeedButton(form);
        b->SetParent(form);
        b->SetBounds(10 + 40 * i, 10, 30, 30);
        b->SetGroupIndex(1);
        group.push_back(b);
    }
    auto* loner = new TSpeedButton(form);
    loner->SetParent(form);
    loner->SetBounds(200, 10, 30, 30);
    Click(group[0]);
    EXPECT_TRUE(group[0]->Down());
    EXPECT_EQ(group[0]->State(), TButtonState::bsExclusive);
    Click(group[2]);
    EXPECT_FALSE(group[0]->Down()) << "told through CM_BUTTONPRESSED";
    EXPECT_EQ(group[0]->State(), TButtonState::bsUp);
    EXPECT_TRUE(group[2]->Down());
    Click(group[2]);
    EXPECT_TRUE(group[2]->Down()) << "the last one stays in without AllowAllUp";
    group[1]->SetAllowAllUp(true);
    EXPECT_TRUE(group[2]->AllowAllUp()) << "the group shares the setting";
    Click(group[2]);
    EXPECT_FALSE(group[2]->Down());
    loner->SetDown(true);
    EXPECT_FALSE(loner->Down()) << "a button outside a group cannot stay down";
}

TEST_F(StdControls, SpeedButtonStateFollowsThePressAndTheDrag) {
    TForm* form = NewForm(200, 100);
    auto* b = new TSpeedButton(form);
    b->SetParent(form);
    b->SetBounds(10, 10, 40, 30);
    POINT inside = b->ClientToScreen(POINT{20, 15});
    POINT outside = b->ClientToScreen(POINT{100, 15});
    Screen().Press(platform::MouseButton::Left, inside);
    Pump();
    EXPECT_EQ(b->State(), TButtonState::bsDown);
    Screen().MovePointer(outside);
    Pump();
    EXPECT_EQ(b->State(), TButtonState::bsUp);
    Screen().MovePointer(inside);
    Pump();
    EXPECT_EQ(b->State(), TButtonState::bsDown);
    Screen().Release(platform::MouseButton::Left, inside);
    Pump();
    EXPECT_EQ(b->State(), TButtonState::bsUp);
    b->SetEnabled(false);
    EXPECT_EQ(b->State(), TButtonState::bsDisabled);
}

// A bar that keeps a picture of itself hears of every text change through its window
// procedure; otherwise a clock panel written once a second would show its first text forever.
class PictureBar : public TStatusBar {
public:
    using TStatusBar::TStatusBar;
    bool stale = false;
    std::vector<WPARAM> texts;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == SB_SETTEXTA || m.Msg == SB_SIMPLE || m.Msg == SB_SETPARTS) stale = true;
        if (m.Msg == SB_SETTEXTA) texts.push_back(m.WParam);
        TStatusBar::WndProc(m);
    }
};

TEST_F(StdControls, StatusBarTellsItsWindowProcedureOfEveryTextChange) {
    TForm* form = NewForm(487, 100);
    auto* bar = new PictureBar(form);
    bar->SetParent(form);
    for (int w : {380, 40, 35}) bar->Panels().Add()->SetWidth(w);
    bar->stale = false;
    bar->Panels()[2]->SetText("12:00:01");
    EXPECT_TRUE(bar->stale);
    bar->stale = false;
    bar->Panels()[2]->SetText("12:00:01");
    EXPECT_FALSE(bar->stale) << "the same text changes nothing";
    bar->Panels()[0]->SetWidth(300);
    EXPECT_TRUE(bar->stale) << "a new layout";
    bar->stale = false;
    bar->SetSimpleText("simple");
    bar->SetSimplePanel(true);
    EXPECT_EQ(bar->texts, (std::vector<WPARAM>{2, SB_SIMPLEID}));
    EXPECT_TRUE(bar->stale);
    RECT r{};
    EXPECT_EQ(bar->Perform(SB_GETRECT, 1, reinterpret_cast<LPARAM>(&r)), 1);
    EXPECT_EQ(r, bar->PanelRect(1));
}

// The size grip appears only where a drag can resize the window.
TEST_F(StdControls, StatusBarGripOnlyOnASizeableForm) {
    TForm* form = NewForm(200, 60);
    auto* bar = new TStatusBar(form);
    bar->SetParent(form);
    bar->SetBounds(0, 40, 200, 20);
    auto cornerHasMarks = [&] {
        bar->Repaint();
        Pump();
        const auto& screen = Screen().ComposeScreen();
        POINT face = bar->ClientToScreen(POINT{4, 4});
        std::uint32_t faceColour = screen[static_cast<size_t>(face.y) * 800 + static_cast<size_t>(face.x)];
        for (int y = 8; y < 20; ++y)
            for (int x = 188; x < 200; ++x) {
                POINT p = bar->ClientToScreen(POINT{x, y});
                if (screen[static_cast<size_t>(p.y) * 800 + static_cast<size_t>(p.x)] != faceColour) return true;
            }
        return false;
    };
    form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    EXPECT_TRUE(cornerHasMarks());
    form->SetBorderStyle(TFormBorderStyle::bsSingle);
    EXPECT_FALSE(cornerHasMarks());
    form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    bar->SizeGrip = false;
    EXPECT_FALSE(cornerHasMarks());
}

// The look: a panel's raised bevel is light at the top-left and dark at the bottom-right,
// and a flat speed button shows a frame only while the pointer is over it.
TEST_F(StdControls, PanelBevelAndFlatButtonHoverFrameAreDrawn) {
    TForm* form = NewForm(200, 100);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetAlign(TAlign::alClient);
    auto* button = new TSpeedButton(form);
    button->SetParent(panel);
    button->SetBounds(20, 20, 40, 30);
    button->Flat = true;
    form->Repaint();
    Pump();
    auto pixel = [&](TControl* c, int x, int y) {
        POINT p = c->ClientToScreen(POINT{x, y});
        return Screen().ComposeScreen()[static_cast<size_t>(p.y) * 800 + static_cast<size_t>(p.x)] & 0xFFFFFF;
    };
    EXPECT_EQ(pixel(panel, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT) == 0xFFFFFF ? 0xFFFFFFu : pixel(panel, 0, 0));
    EXPECT_NE(pixel(panel, 0, 0), pixel(panel, 199, 99));
    std::uint32_t face = pixel(panel, 10, 10);
    EXPECT_EQ(pixel(button, 0, 0), face);
    MoveTo(button, 10, 10);
    EXPECT_NE(pixel(button, 0, 0), face);
}

}  // namespace
