// What the window is made of, and its commands.
#include <gtest/gtest.h>

#include "app_test_support.h"
#include "framework/timer.h"
#include "platform/menu.h"

namespace {

using app_testing::MainWindowTest;
using namespace framework;

using MainWindow = MainWindowTest;

RECT Bounds(TControl* c) { return c->BoundsRect(); }
bool Same(RECT a, RECT b) { return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom; }

TEST_F(MainWindow, IsComposedAsDescribed) {
    CreateWindow();
    EXPECT_EQ(form->Name(), "frmMain");
    EXPECT_EQ(form->Caption(), "Утрозвон. v.1.0");
    EXPECT_EQ(form->ClientWidth(), 487);
    EXPECT_EQ(form->ClientHeight(), 293);
    DWORD style = static_cast<DWORD>(GetWindowLongPtr(form->Handle(), GWL_STYLE));
    EXPECT_FALSE(style & WS_THICKFRAME) << "not resizable";
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    struct Row {
        const char* name;
        RECT bounds;
    } rows[] = {
        {"sPanel1", {0, 0, 487, 293}},        {"SButton", {8, 224, 81, 257}},
        {"sSpeedButton1", {432, 224, 481, 257}}, {"sGroupBox1", {8, 16, 481, 217}},
        {"sCheckBox1", {8, 24, 102, 43}},     {"sCheckBox3", {8, 72, 66, 91}},
        {"sCheckBox7", {8, 168, 102, 187}},   {"sFilenameEdit7", {160, 168, 457, 189}},
        {"sEdit4", {104, 96, 153, 117}},      {"sStatusBar1", {1, 273, 486, 292}},
    };
    for (const Row& r : rows) {
        auto* c = dynamic_cast<TControl*>(form->FindComponent(r.name));
        ASSERT_NE(c, nullptr) << r.name;
        EXPECT_TRUE(Same(Bounds(c), r.bounds)) << r.name;
    }
    EXPECT_EQ(form->sGroupBox1->Caption(), " Дни недели ");
    EXPECT_EQ(form->sCheckBox[6]->Caption(), "воскресенье");
    EXPECT_EQ(form->SButton->Font().Name(), "Arial");
    EXPECT_EQ(form->SButton->Font().Height(), -16);
    EXPECT_EQ(form->sFilenameEdit[0]->MaxLength(), 255);
    EXPECT_EQ(form->sEdit[0]->MaxLength(), 0);
    EXPECT_EQ(form->Timer1->Interval(), 1000u);
    EXPECT_TRUE(form->sSpeedButton1->ShowHint());
    EXPECT_FALSE(form->SButton->ShowHint());
    EXPECT_EQ(form->sStatusBar1->Panels().Count(), 3);
    EXPECT_EQ(form->sSkinManager1->SkinDirectory(), app::ExecutableDirectory() + "Skins");
    EXPECT_EQ(form->sSkinManager1->SkinName(), "DarkGlass");
    // The browse button is the edit's own part, made while the form loads; it ends up at the
    // right end of the edit's client area, and typed text stops short of it.
    for (auto* edit : form->sFilenameEdit) {
        RECT client = edit->ClientRect();
        RECT button = edit->Button()->BoundsRect();
        EXPECT_EQ(button.right, client.right);
        EXPECT_EQ(button.right - button.left, 16);
        EXPECT_FALSE(edit->Button()->Loading());
    }
}

TEST_F(MainWindow, MenuItemsInOrder) {
    CreateWindow();
    std::vector<std::string> captions;
    for (int i = 0; i < form->PopupMenu1->Items()->Count(); ++i)
        captions.push_back(form->PopupMenu1->Items()->Items(i)->Name() + " " + form->PopupMenu1->Items()->Items(i)->Caption());
    EXPECT_EQ(captions, (std::vector<std::string>{"N1 Сохранить настройки", "N2 Свернуть в трей",
                                                  "N5 Установить во все дни время по ПН",
                                                  "N6 Установить во все дни мелодии звонка по ПН", "N3 -",
                                                  std::string("N4 Перейти на сайт автора ") + app::kAuthorSite}));
    EXPECT_EQ(form->sPanel1->PopupMenu(), form->PopupMenu1);
}

TEST_F(MainWindow, TabGoesFromTheSundayBoxToTheMondayMelody) {
    CreateWindow();
    form->Show();
    Pump();
    form->sCheckBox[6]->SetFocus();
    Pump();
    platform::headless::KeyChord tab;
    tab.vk = VK_TAB;
    app_testing::Screen().PressChord(tab);
    Pump();
    EXPECT_EQ(form->ActiveControl(), form->sFilenameEdit[0]);
    app_testing::Screen().PressChord(tab);
    Pump();
    EXPECT_EQ(form->ActiveControl(), form->sFilenameEdit[1]);
}

TEST_F(MainWindow, ToggleFlipsTheArmedCaption) {
    CreateWindow();
    form->SButtonClick(form->SButton);
    EXPECT_EQ(form->SButton->Caption(), "Выкл");
    form->SButtonClick(form->SButton);
    EXPECT_EQ(form->SButton->Caption(), "Вкл");
}

TEST_F(MainWindow, MondaysTimeAndMelodyCopyToTheOtherDays) {
    CreateWindow();
    form->sEdit[0]->SetText("bad time");
    form->sFilenameEdit[0]->SetText("");
    form->sFilenameEdit[3]->SetText("/x.wav");
    form->sCheckBox[2]->SetChecked(true);
    form->N5Click(form->N5);
    form->N6Click(form->N6);
    for (int d = 1; d < 7; ++d) {
        EXPECT_EQ(form->sEdit[d]->Text(), "bad time");
        EXPECT_EQ(form->sFilenameEdit[d]->Text(), "");
    }
    EXPECT_TRUE(form->sCheckBox[2]->Checked());
}

TEST_F(MainWindow, StopBeforeAnyAlarmIsHarmless) {
    CreateWindow();
    form->sSpeedButton1Click(form->sSpeedButton1);
    EXPECT_EQ(form->FStream, 0u);
}

TEST_F(MainWindow, HideToTrayAndBackByAClickOnTheIcon) {
    CreateWindow();
    form->Show();
    Pump();
    EXPECT_TRUE(app_testing::Screen().TrayIcons().empty()) << "no icon at start";
    form->N2Click(form->N2);
    Pump();
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    ASSERT_EQ(app_testing::Screen().TrayIcons().size(), 1u);
    EXPECT_EQ(app_testing::Screen().TrayIcons()[0].tip, "Утрозвон");
    app_testing::Screen().TrayMouse("mclick");
    Pump();
    EXPECT_FALSE(IsWindowVisible(form->Handle())) << "a middle click does not bring it back";
    app_testing::Screen().TrayMouse("click");
    Pump();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(app_testing::Screen().TrayIcons().empty());
}

TEST_F(MainWindow, WhenTheTrayGoesAwayTheHiddenWindowComesBackMinimised) {
    CreateWindow();
    form->Show();
    Pump();
    form->N2Click(form->N2);
    Pump();
    ASSERT_FALSE(IsWindowVisible(form->Handle()));
    app_testing::Screen().SetTrayPresent(false);
    Pump();
    app_testing::Screen().SetTrayPresent(true);
    Pump();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(IsIconic(form->Handle()));
    EXPECT_FALSE(form->TrayIcon1->Active());
    EXPECT_TRUE(app_testing::Screen().TrayIcons().empty()) << "the new tray gets no icon back";
}

TEST_F(MainWindow, HideToTrayWithoutATrayMinimisesSoTheWindowCanComeBack) {
    CreateWindow();
    form->Show();
    Pump();
    app_testing::Screen().SetTrayPresent(false);
    form->N2Click(form->N2);
    app_testing::Screen().SetTrayPresent(true);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(IsIconic(form->Handle()));
    EXPECT_FALSE(form->TrayIcon1->Active());
}

// "MS Sans Serif" once mapped to DejaVu Sans, wider than the font the window was laid out for:
// the time edits showed "07:00:0".
TEST_F(MainWindow, TheDefaultTimeFitsItsEditsFormattingRectangle) {
    CreateWindow();
    form->Show();
    Pump();
    HDC dc = CreateCompatibleDC(nullptr);
    for (paint::TsEdit* edit : form->sEdit) {
        SelectObject(dc, edit->Font().Handle());
        SIZE size{};
        ASSERT_TRUE(GetTextExtentPoint32(dc, "07:00:00", 8, &size));
        const RECT f = edit->FormattingRect();
        EXPECT_LE(size.cx, f.right - f.left) << edit->Name();
        EXPECT_LE(f.right, edit->ClientWidth()) << edit->Name();
        EXPECT_GT(size.cx, 30) << "a real measurement";
    }
    DeleteDC(dc);
}

// The save command from the menu, chosen with the keyboard, and its failure in the error box.
TEST_F(MainWindow, SaveFromTheMenuAndItsFailureReachTheErrorBox) {
    CreateWindow();
    form->Show();
    Pump();
    auto* steps = new TTimer(form);
    int step = 0;
    steps->SetInterval(30);
    steps->SetOnTimer([&](TObject*) {
        ++step;
        if (step == 1) {
            app_testing::Screen().KeyPress(VK_DOWN);
            app_testing::Screen().KeyPress(VK_RETURN);
        } else if (step == 2) {
            app_testing::Screen().KeyPress(VK_RETURN);  // closes the error box
        }
    });
    app::SetSettingsFolderForTests(folder + "/missing");
    testing::internal::CaptureStderr();
    POINT p = form->sPanel1->ClientToScreen(POINT{240, 250});
    app_testing::Screen().Click(platform::MouseButton::Right, p);
    Pump();
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("message box \"Утрозвон\": File not found."), std::string::npos) << said;
    app::SetSettingsFolderForTests(folder);
    step = 0;
    app_testing::Screen().Click(platform::MouseButton::Right, p);
    Pump();
    std::string saved = ReadSettingsBytes();
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 21);
}

}  // namespace
