// The provider's system menu: its items and their states, where a press on the icon, Alt+Space
// and a right click on the caption open it, and a double click on the icon.
#include <filesystem>

#include "forms/form_layer.h"
#include "framework/menus.h"
#include "platform/menu.h"
#include "title_button_test_support.h"

namespace provider_test {
namespace {

using framework::TMenuItem;

// What runs while the menu is open, each time the menu loop is idle.
std::function<void()> g_idle;
WNDPROC g_ownerProc = nullptr;

LRESULT IdleWatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENTERIDLE && wParam == MSGF_MENU && g_idle) g_idle();
    return CallWindowProc(g_ownerProc, hwnd, msg, wParam, lParam);
}

class SystemMenuTest : public TitleButtonTest {
  protected:
    void SetUp() override {
        TitleButtonTest::SetUp();
        framework::TIcon icon;
        icon.FromBitmap(*paint_test::MakeBitmap(16, 16, 32, Rgb(1, 2, 250), 255));
        form->SetIcon(icon);
        form->SetCaption("Wake");
    }
    void TearDown() override {
        Unwatch();
        TitleButtonTest::TearDown();
    }
    forms::TsSystemMenu& Menu() { return *provider->Frame().SystemMenu(); }
    // Records where the menu window opened and closes it again.
    void Watch() {
        opened = 0;
        HWND owner = Menu().WindowHandle();
        g_idle = [this] {
            if (HWND menu = FindWindow("#32768", nullptr)) {
                GetWindowRect(menu, &menuRect);
                ++opened;
                test_support::HeadlessScreen().KeyPress(VK_ESCAPE);
            }
        };
        g_ownerProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtr(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IdleWatch)));
    }
    void Unwatch() {
        if (!g_ownerProc || !provider) return;
        SetWindowLongPtr(Menu().WindowHandle(), GWLP_WNDPROC,
                         reinterpret_cast<LONG_PTR>(g_ownerProc));
        g_ownerProc = nullptr;
        g_idle = nullptr;
    }
    static std::vector<std::string> VisibleCaptions(TMenuItem* parent) {
        std::vector<std::string> out;
        for (int i = 0; i < parent->Count(); ++i)
            if (parent->Items(i)->Visible) out.push_back(parent->Items(i)->Caption());
        return out;
    }

    int opened = 0;
    RECT menuRect{};
};

TEST_F(SystemMenuTest, MainWindowItemsAndStatesNormalAndMinimised) {
    Start();
    forms::TsSystemMenu& m = Menu();
    m.RefreshItems();
    EXPECT_EQ(m.Name(), "SysMenu");
    // Captions come from the window's own system menu; Maximize is not there.
    EXPECT_EQ(VisibleCaptions(m.Items()),
              (std::vector<std::string>{"&Restore", "&Move", "&Size", "Mi&nimize", "-", "&Close"}));
    EXPECT_EQ(m.ItemClose()->ShortCut(), framework::scAlt | VK_F4);
    EXPECT_EQ(m.ItemClose()->Tag, static_cast<int>(SC_CLOSE));
    EXPECT_FALSE(m.ItemRestore()->Enabled);
    EXPECT_TRUE(m.ItemMove()->Enabled);
    EXPECT_FALSE(m.ItemSize()->Enabled);
    EXPECT_TRUE(m.ItemMinimize()->Enabled);
    EXPECT_TRUE(m.ItemClose()->Enabled);
    ShowWindow(form->Handle(), SW_MINIMIZE);
    Pump();
    ASSERT_TRUE(IsIconic(form->Handle()));
    m.RefreshItems();
    EXPECT_TRUE(m.ItemRestore()->Enabled);
    EXPECT_FALSE(m.ItemMinimize()->Enabled);
    EXPECT_FALSE(m.ItemSize()->Enabled);
    // A minimised window shows Maximize, greyed, since it has no maximise icon.
    EXPECT_TRUE(m.ItemMaximize()->Visible);
    EXPECT_FALSE(m.ItemMaximize()->Enabled);
    ShowWindow(form->Handle(), SW_RESTORE);
    Pump();
    m.RefreshItems();
    EXPECT_FALSE(m.ItemRestore()->Enabled);
    EXPECT_TRUE(m.ItemMinimize()->Enabled);
}

TEST_F(SystemMenuTest, ItemsAddedToTheWindowMenuAreCopiedBeforeClose) {
    Start();
    HMENU own = GetSystemMenu(form->Handle(), FALSE);
    AppendMenu(own, MF_STRING, 0x120, "About\tF2");
    AppendMenu(own, MF_STRING, 0x121, "");  // no text: skipped
    Menu().RefreshItems();
    EXPECT_EQ(Menu().CopiedCount(), 1);
    const std::vector<std::string> captions = VisibleCaptions(Menu().Items());
    ASSERT_EQ(captions.size(), 8u);
    EXPECT_EQ(captions[5], "About");
    EXPECT_EQ(captions[6], "-");
    EXPECT_EQ(captions[7], "&Close");
    EXPECT_EQ(Menu().Items()->Items(6)->ShortCut(), static_cast<framework::TShortCut>(VK_F2));
}

TEST_F(SystemMenuTest, IconPressOpensTheMenuBelowTheIconAfterTheDoubleClickWait) {
    Start();
    Watch();
    const POINT icon{10, 10};
    MoveTo(icon);
    Press(icon);
    Release(icon);
    EXPECT_EQ(opened, 0) << "not before the double-click time has passed";
    EXPECT_TRUE(provider->Frame().IconClickPending());
    ASSERT_TRUE(WaitFor([&] { return opened > 0; }));
    const POINT at = Screen(3, 22);
    EXPECT_EQ(menuRect.left, at.x);
    EXPECT_EQ(menuRect.top, at.y);
}

TEST_F(SystemMenuTest, AltSpaceOpensTheMenuOneFrameWidthHigher) {
    Start();
    Watch();
    SendMessage(form->Handle(), WM_SYSCHAR, ' ', 1 << 29);
    ASSERT_EQ(opened, 1);
    const POINT at = Screen(3, 19);
    EXPECT_EQ(menuRect.left, at.x);
    EXPECT_EQ(menuRect.top, at.y);
}

TEST_F(SystemMenuTest, RightClickOnCaptionOrIconOpensTheMenuAtThePointer) {
    Start();
    Watch();
    for (POINT p : {POINT{200, 10}, POINT{10, 10}}) {
        MoveTo(p);
        Press(p, platform::MouseButton::Right);
        Release(p, platform::MouseButton::Right);
        ASSERT_TRUE(WaitFor([&] { return opened > 0; })) << p.x;
        const POINT at = Screen(p.x, p.y);
        EXPECT_EQ(menuRect.left, at.x);
        EXPECT_EQ(menuRect.top, at.y);
        opened = 0;
    }
    const POINT client{200, 150};
    MoveTo(client);
    Press(client, platform::MouseButton::Right);
    Release(client, platform::MouseButton::Right);
    EXPECT_EQ(opened, 0);
}

TEST_F(SystemMenuTest, DoubleClickOnTheIconClosesWithoutAMenu) {
    StartCounted();
    Watch();
    const POINT icon{10, 10};
    MoveTo(icon);
    Press(icon);
    Release(icon);
    Press(icon);
    Release(icon);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(provider->Frame().IconClickPending());
    std::this_thread::sleep_for(std::chrono::milliseconds(forms::kIconClickWaitMs + 50));
    Pump();
    EXPECT_EQ(opened, 0);
}

TEST_F(SystemMenuTest, IconPressSurvivesTheFormGoingDuringTheWait) {
    Start();
    const POINT icon{10, 10};
    MoveTo(icon);
    Press(icon);
    Release(icon);
    delete form;  // provider, menu and timer go with it
    form = nullptr;
    provider = nullptr;
    std::this_thread::sleep_for(std::chrono::milliseconds(forms::kIconClickWaitMs + 50));
    Pump();
    EXPECT_EQ(FindWindow("#32768", nullptr), nullptr);
    form = new framework::TForm(app.get());  // for the fixture's tear-down
}

TEST_F(SystemMenuTest, DoubleClickOnTheCaptionDoesNothingOnTheMainWindow) {
    // The form's own procedure, under the provider, never hears the double click.
    int heard = 0;
    framework::TWndMethod previous = form->WindowProc;
    form->WindowProc = [&](framework::TMessage& m) {
        if (m.Msg == WM_NCLBUTTONDBLCLK) ++heard;
        previous(m);
    };
    StartCounted();
    const POINT p{200, 10};
    MoveTo(p);
    // All four at once: a press on the caption starts the system's move loop, which runs
    // until the button comes up.
    auto& screen = test_support::HeadlessScreen();
    for (int i = 0; i < 2; ++i) {
        screen.Press(platform::MouseButton::Left, Screen(p.x, p.y));
        screen.Release(platform::MouseButton::Left, Screen(p.x, p.y));
    }
    Pump();
    EXPECT_FALSE(IsZoomed(form->Handle()));
    EXPECT_FALSE(IsIconic(form->Handle()));
    EXPECT_EQ(closes, 0);
    EXPECT_EQ(heard, 0);
    delete provider;
    provider = nullptr;
    form->WindowProc = previous;
}

TEST_F(SystemMenuTest, MenuItemsSendTheirCommands) {
    StartCounted();
    Menu().RefreshItems();
    Menu().ItemMinimize()->Click();
    EXPECT_TRUE(IsIconic(form->Handle()));
    Menu().ItemRestore()->Click();
    EXPECT_FALSE(IsIconic(form->Handle()));
    Menu().ItemClose()->Click();
    EXPECT_EQ(closes, 0) << "close is posted";
    Pump();
    EXPECT_EQ(closes, 1);
}

TEST_F(SystemMenuTest, SkinChooserListsTheSkinsAndLoadsTheChosenOne) {
    const std::filesystem::path skins =
        std::filesystem::path(UTROZVON_TEST_DATA).parent_path().parent_path() / "skins";
    Start();
    manager->SetSkinDirectory(skins.string());
    provider->MakeSkinMenu = true;
    std::string told;
    provider->OnSkinChosen = [&](const std::string& name) { told = name; };
    Watch();
    std::vector<std::string> listed;
    g_idle = [&] {
        if (!FindWindow("#32768", nullptr)) return;
        ++opened;
        listed = VisibleCaptions(Menu().SkinsItem());
        test_support::HeadlessScreen().KeyPress(VK_ESCAPE);
    };
    SendMessage(form->Handle(), WM_SYSCHAR, ' ', 1 << 29);
    ASSERT_EQ(opened, 1);
    ASSERT_NE(Menu().SkinsItem(), nullptr);
    EXPECT_EQ(Menu().SkinsItem()->Name(), "SkinSelectItem");
    EXPECT_EQ(Menu().SkinsItem()->Caption(), "Available skins");
    EXPECT_EQ(Menu().Items()->Items(0), Menu().SkinsItem());
    EXPECT_EQ(listed, (std::vector<std::string>{"DarkGlass", "Daybreak"}));
    TMenuItem* daybreak = Menu().SkinsItem()->Items(1);
    EXPECT_EQ(daybreak->Name(), "SkinSelectItem1");
    EXPECT_TRUE(daybreak->RadioItem());
    daybreak->Click();
    EXPECT_EQ(manager->SkinName(), "Daybreak");
    EXPECT_EQ(told, "Daybreak");
}

}  // namespace
}  // namespace provider_test
