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
    box->AllowGrayed = true;
    std::vector<TCheckBoxState> states;
    for (int i = 0; i < 3; ++i) {
        box->Toggle();
        states.push_back(box->State());
    }
    EXPECT_EQ(states, (std::vector<TCheckBoxState>{TCheckBoxState::cbGrayed, TCheckBoxState::cbChecked,
                                                   TCheckBoxState::cbUnchecked}));
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
