// Popup menus: keyboard navigation, mnemonics, disabled items, closing by a click outside,
// owner-drawn items, and timers that keep ticking while a menu is open.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/menus.h"
#include "framework/std_controls.h"
#include "framework/timer.h"
#include "framework_test_support.h"
#include "platform/menu.h"

namespace {

using namespace framework;
using framework_testing::FrameworkTest;
using framework_testing::Screen;

class MenuTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        form = NewForm(300, 200);
        menu = new TPopupMenu(form);
        for (const char* caption : {"&Save", "&Hide", "-", "&Open site", "Disabled"}) {
            auto* item = new TMenuItem(form);
            item->SetCaption(caption);
            item->OnClick = [this, caption](TObject*) { clicked.push_back(caption); };
            menu->Items()->Add(item);
        }
        menu->Items()->Items(4)->Enabled = false;
    }
    void PopupWith(std::function<void()> input) {
        DuringModalLoop(std::move(input));
        POINT at = form->ClientToScreen(POINT{20, 20});
        menu->Popup(at.x, at.y);
        Pump();
    }
    TForm* form = nullptr;
    TPopupMenu* menu = nullptr;
    std::vector<std::string> clicked;
};

TEST_F(MenuTest, ArrowsSkipSeparatorsAndEnterChooses) {
    PopupWith([] {
        for (UINT vk : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) Screen().KeyPress(vk);
    });
    EXPECT_EQ(clicked, std::vector<std::string>{"&Open site"});
}

TEST_F(MenuTest, UpFromNothingWrapsToTheLastItem) {
    PopupWith([] {
        for (UINT vk : {VK_UP, VK_UP, VK_RETURN}) Screen().KeyPress(vk);
    });
    EXPECT_EQ(clicked, std::vector<std::string>{"&Open site"});
}

TEST_F(MenuTest, MnemonicChoosesAtOnce) {
    PopupWith([] { Screen().KeyPress('H', "h"); });
    EXPECT_EQ(clicked, std::vector<std::string>{"&Hide"});
}

TEST_F(MenuTest, DisabledItemIsNotChosenAndEscapeCloses) {
    PopupWith([] {
        for (UINT vk : {VK_UP, VK_RETURN, VK_ESCAPE}) Screen().KeyPress(vk);
    });
    EXPECT_TRUE(clicked.empty());
}

// As with the real system, the press that closes the menu is handed on to what lies beneath.
TEST_F(MenuTest, ClickOutsideClosesWithoutChoosingAndReachesTheWindowBelow) {
    auto* button = new TSpeedButton(form);
    button->SetParent(form);
    button->SetBounds(200, 150, 60, 30);
    int buttonClicks = 0;
    button->OnClick = [&](TObject*) { ++buttonClicks; };
    PopupWith([this, button] {
        Screen().KeyPress(VK_DOWN);
        Screen().Click(platform::MouseButton::Left, button->ClientToScreen(POINT{30, 15}));
    });
    EXPECT_TRUE(clicked.empty());
    EXPECT_EQ(buttonClicks, 1);
}

TEST_F(MenuTest, ClickOnAnItemChoosesIt) {
    menu->OwnerDraw = true;
    int measured = 0, drawn = 0;
    for (int i = 0; i < menu->Items()->Count(); ++i) {
        menu->Items()->Items(i)->OnMeasureItem = [&](TObject*, TCanvas&, int&, int& h) {
            ++measured;
            h = 20;
        };
        menu->Items()->Items(i)->OnDrawItem = [&](TObject*, TCanvas&, const RECT&, bool) { ++drawn; };
    }
    PopupWith([this] {
        // Items are 20 high inside a 3-pixel frame: the second one's middle.
        POINT at = form->ClientToScreen(POINT{20, 20});
        Screen().Click(platform::MouseButton::Left, POINT{at.x + 20, at.y + 3 + 20 + 10});
    });
    EXPECT_EQ(clicked, std::vector<std::string>{"&Hide"});
    EXPECT_EQ(measured, 5);
    EXPECT_GE(drawn, 5);
}

TEST_F(MenuTest, TimersKeepTickingWhileTheMenuIsOpen) {
    auto* ticker = new TTimer(form);
    int ticks = 0;
    ticker->SetInterval(5);
    ticker->SetOnTimer([&](TObject*) {
        if (++ticks == 5) EndMenu();
    });
    POINT at = form->ClientToScreen(POINT{20, 20});
    menu->Popup(at.x, at.y);
    EXPECT_GE(ticks, 5);
    EXPECT_TRUE(clicked.empty());
}

// The skinned menu painter sets OnAdvancedDrawItem and must get the whole state; an item with
// it never falls back to the plain event or the standard look.
TEST_F(MenuTest, AdvancedDrawingComesFirstWithTheFullState) {
    menu->OwnerDraw = true;
    TMenuItem* save = menu->Items()->Items(0);
    TMenuItem* hide = menu->Items()->Items(1);
    save->Default = true;
    std::vector<TOwnerDrawState> advanced;
    std::vector<bool> plain;
    int plainForSave = 0;
    save->OnAdvancedDrawItem = [&](TObject*, TCanvas&, const RECT&, TOwnerDrawState s) { advanced.push_back(s); };
    save->OnDrawItem = [&](TObject*, TCanvas&, const RECT&, bool) { ++plainForSave; };
    hide->OnDrawItem = [&](TObject*, TCanvas&, const RECT&, bool selected) { plain.push_back(selected); };
    DuringModalLoop([] { Screen().KeyPress(VK_DOWN); }, 20);
    DuringModalLoop([] { Screen().KeyPress(VK_DOWN); }, 60);
    DuringModalLoop([] { Screen().KeyPress(VK_ESCAPE); }, 100);
    POINT at = form->ClientToScreen(POINT{20, 20});
    menu->Popup(at.x, at.y);
    ASSERT_FALSE(advanced.empty());
    EXPECT_EQ(plainForSave, 0);
    EXPECT_TRUE(advanced.front() & odDefault);
    bool sawSelected = false;
    for (TOwnerDrawState s : advanced) sawSelected |= (s & odSelected) != 0;
    EXPECT_TRUE(sawSelected);
    EXPECT_NE(std::find(plain.begin(), plain.end(), true), plain.end()) << "the plain event hears of the selection";
}

TEST_F(MenuTest, ShortCutTextsNameModifiersThenTheKey) {
    EXPECT_EQ(ShortCutToText(ShortCut('S', ssCtrl)), "Ctrl+S");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, ssShift)), "Shift+Del");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F4, ssAlt)), "Alt+F4");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F12, ssShift | ssCtrl)), "Shift+Ctrl+F12");
    EXPECT_EQ(ShortCutToText(scNone), "");
}

TEST_F(MenuTest, ShortCutRunsTheItemOfTheFocusedControlsMenu) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 300, 200);
    auto* box = new TCheckBox(form);
    box->SetParent(panel);
    box->SetBounds(10, 10, 100, 20);
    panel->SetPopupMenu(menu);
    menu->Items()->Items(0)->SetShortCut(ShortCut('S', ssCtrl));
    menu->Items()->Items(4)->SetShortCut(ShortCut('D', ssCtrl));
    box->SetFocus();
    Pump();
    Key('S', false, true);
    Key('D', false, true);
    Key('S');
    EXPECT_EQ(clicked, std::vector<std::string>{"&Save"}) << "disabled items and plain keys run nothing";
    EXPECT_FALSE(box->Checked());
}

TEST_F(MenuTest, PlatformMenuCarriesRadioMarksAndShortCutText) {
    TMenuItem* save = menu->Items()->Items(0);
    save->SetRadioItem(true);
    save->SetShortCut(ShortCut('S', ssCtrl));
    UINT type = 0;
    std::string text(64, '\0');
    PopupWith([&] {
        MENUITEMINFO info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text.data();
        info.cch = static_cast<UINT>(text.size());
        GetMenuItemInfo(menu->Handle(), 0, TRUE, &info);
        type = info.fType;
        text.resize(info.cch);
        EndMenu();
    });
    EXPECT_TRUE(type & MFT_RADIOCHECK);
    EXPECT_EQ(text, "&Save\tCtrl+S");
}

TEST_F(MenuTest, MeasuringMakesRoomForShortCutAndPictureBeforeTheHandler) {
    TMenuItem* save = menu->Items()->Items(0);
    HDC dc = GetDC(nullptr);
    TCanvas canvas(dc);
    int plainW = 0, plainH = 0;
    save->MeasureItem(canvas, plainW, plainH);
    save->SetShortCut(ShortCut('S', ssCtrl));
    int keysW = 0, keysH = 0;
    save->MeasureItem(canvas, keysW, keysH);
    EXPECT_GE(keysW - plainW, canvas.TextWidth("Ctrl+S"));
    TBitmap picture(24, 30);
    save->SetBitmap(picture);
    int seenW = 0, seenH = 0;
    save->OnMeasureItem = [&](TObject*, TCanvas&, int& w, int& h) {
        seenW = w;
        seenH = h;
        h = 50;
    };
    int w = 0, h = 0;
    save->MeasureItem(canvas, w, h);
    ReleaseDC(nullptr, dc);
    EXPECT_GE(seenH, 34) << "the picture and a margin";
    EXPECT_EQ(seenW, w);
    EXPECT_EQ(h, 50);
}

TEST_F(MenuTest, ChangesAreToldToTheOwningForm) {
    std::vector<LPARAM> heard;
    TWndMethod saved = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_MENUCHANGED) heard.push_back(m.LParam);
        saved(m);
    };
    TMenuItem* hide = menu->Items()->Items(1);
    hide->SetCaption("&Hide");
    hide->SetCaption("Спрятать");
    hide->SetBreak(TMenuBreak::mbBarBreak);
    auto* extra = new TMenuItem(form);
    menu->Items()->Add(extra);
    form->WindowProc = saved;
    EXPECT_EQ(heard, (std::vector<LPARAM>{reinterpret_cast<LPARAM>(hide), reinterpret_cast<LPARAM>(hide),
                                          reinterpret_cast<LPARAM>(extra)}));
}

// A checked item shows its mark: round for a radio item, a tick otherwise, nothing unchecked.
TEST_F(MenuTest, StandardLookDrawsTheMarkOfACheckedItem) {
    TMenuItem* item = menu->Items()->Items(0);
    auto render = [&](bool checked, bool radio) {
        TBitmap b(120, 20);
        item->Checked = checked;
        item->SetRadioItem(radio);
        item->DrawStandard(b.Canvas(), RECT{0, 0, 120, 20}, 0);
        std::vector<std::uint8_t> mark;
        for (int y = 0; y < 20; ++y) mark.insert(mark.end(), b.ScanLine(y), b.ScanLine(y) + 16 * 3);
        return mark;
    };
    auto none = render(false, false);
    auto tick = render(true, false);
    auto dot = render(true, true);
    EXPECT_EQ(none, render(false, true));
    EXPECT_NE(tick, none);
    EXPECT_NE(dot, none);
    EXPECT_NE(dot, tick);
}

}  // namespace
