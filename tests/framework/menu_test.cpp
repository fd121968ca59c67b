// Popup menus: keyboard navigation, mnemonics, disabled items, closing by a click outside,
// owner-drawn items, and timers that keep ticking while a menu is open.
#include <gtest/gtest.h>

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
        menu->Items()->Items(i)->OnDrawItem = [&](TObject*, TCanvas&, const RECT&, TOwnerDrawState) { ++drawn; };
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

}  // namespace
