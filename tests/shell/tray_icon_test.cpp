// The tray icon component on the headless tray: the table of mouse actions, the hint, the
// icon's lifetime in the tray, the popup menu and the animation's guard.
#include <memory>
#include <string>
#include <vector>

#include "shell/tray_icon.h"
#include "shell_test_support.h"

namespace {

using namespace framework;
using shell::TTrayIcon;
using shell_testing::Screen;

std::string ButtonName(TMouseButton b) {
    return b == TMouseButton::mbLeft ? "left" : b == TMouseButton::mbRight ? "right" : "middle";
}

std::unique_ptr<TIcon> MakeIcon(std::uint8_t shade) {
    TBitmap bmp(16, 16, TPixelFormat::pf32bit);
    bmp.AlphaFormat = TAlphaFormat::afDefined;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            std::uint8_t* p = bmp.ScanLine(y) + x * 4;
            p[0] = p[1] = p[2] = shade;
            p[3] = 255;
        }
    auto icon = std::make_unique<TIcon>();
    icon->FromBitmap(bmp);
    return icon;
}

class TrayIconTest : public shell_testing::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        Screen().SetTrayPresent(true);
        Pump();
        tray = new TTrayIcon(form);
        tray->SetActive(false);
        tray->SetHint("Утрозвон");
        tray->SetIcon(*MakeIcon(200));
        tray->OnClick = [this](TObject*, TMouseButton b, TShiftState, int, int) { events.push_back("click " + ButtonName(b)); };
        tray->OnDblClick = [this](TObject*) { events.push_back("dblclick"); };
        tray->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState s, int, int) {
            events.push_back("down " + ButtonName(b) + ((s & ssDouble) ? " double" : ""));
        };
        tray->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int, int) { events.push_back("up " + ButtonName(b)); };
    }
    void TearDown() override {
        Screen().SetTrayPresent(true);
        FormTest::TearDown();
    }
    // Sends the shell's callback as a mouse action on the icon would.
    void Send(UINT mouseMessage) {
        SendMessage(tray->WindowHandle(), shell::TrayCallbackMessage, 0, static_cast<LPARAM>(mouseMessage));
    }
    TTrayIcon* tray = nullptr;
    std::vector<std::string> events;
};

struct MouseRow {
    const char* name;
    std::vector<UINT> messages;
    std::vector<std::string> expected;
};

TEST_F(TrayIconTest, MouseActionsBecomeEventsAsTheTableSays) {
    const MouseRow rows[] = {
        {"left press and release click", {WM_LBUTTONDOWN, WM_LBUTTONUP}, {"down left", "click left", "up left"}},
        {"right press and release click", {WM_RBUTTONDOWN, WM_RBUTTONUP}, {"down right", "click right", "up right"}},
        {"release without press is no click", {WM_LBUTTONUP}, {"up left"}},
        {"right release without press is no click", {WM_RBUTTONUP}, {"up right"}},
        {"middle button never clicks", {WM_MBUTTONDOWN, WM_MBUTTONUP}, {"down middle", "up middle"}},
        {"left double click", {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP},
         {"down left", "click left", "up left", "dblclick", "down left double", "up left"}},
        {"right double click is a press", {WM_RBUTTONDBLCLK, WM_RBUTTONUP}, {"down right double", "up right"}},
        {"middle double click is a press", {WM_MBUTTONDBLCLK}, {"down middle double"}},
        {"one press, one click", {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONUP}, {"down left", "click left", "up left", "up left"}},
        {"other messages do nothing", {WM_KEYDOWN, WM_MOUSEWHEEL}, {}},
    };
    tray->SetActive(true);
    ASSERT_TRUE(tray->Added());
    for (const MouseRow& row : rows) {
        events.clear();
        for (UINT m : row.messages) Send(m);
        EXPECT_EQ(events, row.expected) << row.name;
    }
}

TEST_F(TrayIconTest, ClicksOnTheHeadlessTrayReachOnClick) {
    tray->SetActive(true);
    Screen().TrayMouse("rclick");
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"down right", "click right", "up right"}));
}

TEST_F(TrayIconTest, DisabledIconIgnoresTheMouse) {
    tray->SetActive(true);
    tray->SetEnabled(false);
    Screen().TrayMouse("click");
    Pump();
    EXPECT_TRUE(events.empty());
}

// The window comes back on the first click and removes the icon; the second half of the
// double click must not reach a removed icon.
TEST_F(TrayIconTest, DoubleClickAfterTheIconWasRemovedDoesNothing) {
    tray->SetActive(true);
    tray->OnClick = [this](TObject*, TMouseButton, TShiftState, int, int) {
        events.push_back("click");
        tray->SetActive(false);
    };
    Screen().TrayMouse("dblclick");
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"down left", "click", "up left"}));
    EXPECT_TRUE(Screen().TrayIcons().empty());
}

TEST_F(TrayIconTest, HintIsCutBeforeTheBarAndToTheTipSize) {
    struct Row {
        const char* name;
        std::string hint;
        std::string tip;
    };
    const Row rows[] = {
        {"short", "Утрозвон", "Утрозвон"},
        {"bar ends it", "Утрозвон|long help text", "Утрозвон"},
        {"70 letters keep 63", std::string(70, 'a'), std::string(63, 'a')},
        {"exactly 63", std::string(63, 'b'), std::string(63, 'b')},
        {"cyrillic is not cut inside a letter", std::string(20, 'x') + std::string(40, 'y') + "жжж", std::string(20, 'x') + std::string(40, 'y') + "ж"},
        {"empty", "", ""},
    };
    tray->SetActive(true);
    for (const Row& row : rows) {
        EXPECT_EQ(TTrayIcon::TipText(row.hint), row.tip) << row.name;
        tray->SetHint(row.hint);
        ASSERT_EQ(Screen().TrayIcons().size(), 1u) << row.name;
        EXPECT_EQ(Screen().TrayIcons()[0].tip, row.tip) << row.name;
    }
}

TEST_F(TrayIconTest, ActiveAddsAndRemovesTheIcon) {
    EXPECT_TRUE(Screen().TrayIcons().empty());
    tray->SetActive(true);
    EXPECT_TRUE(tray->Added());
    ASSERT_EQ(Screen().TrayIcons().size(), 1u);
    EXPECT_EQ(Screen().TrayIcons()[0].icon.width, 16);
    tray->SetActive(false);
    EXPECT_FALSE(tray->Added());
    EXPECT_TRUE(Screen().TrayIcons().empty());
}

TEST_F(TrayIconTest, WithoutATrayTheIconIsNotAddedUntilOneAppears) {
    Screen().SetTrayPresent(false);
    tray->SetActive(true);
    EXPECT_FALSE(tray->Added());
    Screen().SetTrayPresent(true);
    Pump();
    EXPECT_TRUE(tray->Added());
    EXPECT_EQ(Screen().TrayIcons().size(), 1u);
}

TEST_F(TrayIconTest, ANewTrayGetsTheIconAgain) {
    tray->SetActive(true);
    Screen().SetTrayPresent(false);
    Screen().SetTrayPresent(true);
    Pump();
    EXPECT_TRUE(tray->Added());
    EXPECT_EQ(Screen().TrayIcons().size(), 1u);
    events.clear();
    Screen().TrayMouse("click");
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"down left", "click left", "up left"}));
}

TEST_F(TrayIconTest, LosingTheTrayIsReportedOnlyForAnIconThatWasShown) {
    int lost = 0;
    tray->OnTrayLost = [&](TObject*) { ++lost; };
    Screen().SetTrayPresent(false);
    Pump();
    EXPECT_EQ(lost, 0) << "an inactive icon loses nothing";
    Screen().SetTrayPresent(true);
    Pump();
    tray->SetActive(true);
    ASSERT_TRUE(tray->Added());
    Screen().SetTrayPresent(false);
    Pump();
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(tray->Added());
    EXPECT_TRUE(tray->Active()) << "it still wants to be shown when a tray comes back";
}

TEST_F(TrayIconTest, AnEmptyIconIsNeverShown) {
    auto* bare = new TTrayIcon(form);
    bare->SetActive(false);
    bare->SetActive(true);
    EXPECT_FALSE(bare->Added());
    tray->SetActive(true);
    tray->SetIcon(TIcon());
    EXPECT_FALSE(tray->Added()) << "clearing the icon removes it";
    tray->SetIcon(*MakeIcon(10));
    EXPECT_TRUE(tray->Added()) << "a new icon shows again while active";
}

TEST_F(TrayIconTest, LoadingShowsAnActiveIconOnlyWhenLoaded) {
    form->BeginLoading();
    auto* loading = new TTrayIcon(form);
    loading->SetIcon(*MakeIcon(50));
    EXPECT_FALSE(loading->Added());
    loading->Loaded();
    EXPECT_TRUE(loading->Added());
    auto* inactive = new TTrayIcon(form);
    inactive->SetActive(false);
    inactive->SetIcon(*MakeIcon(60));
    inactive->Loaded();
    EXPECT_FALSE(inactive->Added());
    form->Loaded();
}

TEST_F(TrayIconTest, DestroyingTheComponentRemovesTheIcon) {
    tray->SetActive(true);
    delete tray;
    tray = nullptr;
    EXPECT_TRUE(Screen().TrayIcons().empty());
}

TEST_F(TrayIconTest, AnimatedStaysOffWithAnEmptyList) {
    tray->SetAnimated(true);
    EXPECT_FALSE(tray->Animated());
    tray->Icons().Add(*MakeIcon(1));
    tray->Icons().Add(*MakeIcon(2));
    tray->SetAnimated(true);
    EXPECT_TRUE(tray->Animated());
    tray->Icons().Clear();
    EXPECT_FALSE(tray->Animated()) << "emptying the list ends the animation";
}

TEST_F(TrayIconTest, AnimationShowsTheFramesInTurn) {
    tray->Icons().Add(*MakeIcon(10));
    tray->Icons().Add(*MakeIcon(20));
    tray->Icons().Add(*MakeIcon(30));
    tray->SetActive(true);
    tray->SetAnimated(true);
    auto shownShade = [] { return Screen().TrayIcons().at(0).icon.argb.at(0) & 0xFF; };
    EXPECT_EQ(shownShade(), 10u);
    std::vector<int> frames;
    for (int i = 0; i < 4; ++i) {
        SendMessage(tray->WindowHandle(), WM_TIMER, 1, 0);
        frames.push_back(tray->AnimationFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 0, 1}));
    EXPECT_EQ(shownShade(), 20u);
    tray->SetAnimated(false);
    EXPECT_EQ(tray->AnimationFrame(), 0);
    EXPECT_EQ(shownShade(), 200u) << "back to Icon";
}

class RecordingMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int x, int y) override { shownAt.push_back(POINT{x, y}); }
    std::vector<POINT> shownAt;
};

TEST_F(TrayIconTest, RightClickOpensThePopupMenuInsteadOfOnClick) {
    auto* menu = new RecordingMenu(form);
    tray->SetPopupMenu(menu);
    tray->SetActive(true);
    Screen().MovePointer(POINT{700, 12});
    Pump();
    Screen().TrayMouse("rclick");
    Pump();
    ASSERT_EQ(menu->shownAt.size(), 1u);
    EXPECT_EQ(menu->shownAt[0].x, 700);
    EXPECT_EQ(menu->PopupComponent, tray);
    EXPECT_EQ(events, (std::vector<std::string>{"down right", "up right"}));
    menu->AutoPopup = false;
    events.clear();
    Screen().TrayMouse("rclick");
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"down right", "click right", "up right"}));
}

TEST_F(TrayIconTest, DoubleClickRunsTheEnabledDefaultItem) {
    auto* menu = new RecordingMenu(form);
    std::vector<std::string> clicked;
    auto add = [&](const char* name, bool isDefault, bool enabled) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(name);
        item->Default = isDefault;
        item->Enabled = enabled;
        item->OnClick = [&clicked, name](TObject*) { clicked.push_back(name); };
        menu->Items()->Add(item);
    };
    add("plain", false, true);
    add("disabled default", true, false);
    add("default", true, true);
    add("later default", true, true);
    tray->SetPopupMenu(menu);
    tray->SetActive(true);
    Send(WM_LBUTTONDBLCLK);
    EXPECT_EQ(clicked, (std::vector<std::string>{"default"}));
    EXPECT_EQ(events, (std::vector<std::string>{"down left double"})) << "no OnDblClick";
}

TEST_F(TrayIconTest, PopupMenuIsForgottenWhenDestroyed) {
    auto* menu = new RecordingMenu(form);
    tray->SetPopupMenu(menu);
    delete menu;
    EXPECT_EQ(tray->PopupMenu(), nullptr);
    tray->SetActive(true);
    Send(WM_RBUTTONDOWN);
    Send(WM_RBUTTONUP);
    EXPECT_EQ(events, (std::vector<std::string>{"down right", "click right", "up right"}));
}

}  // namespace
