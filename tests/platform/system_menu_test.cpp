// The system menu: Alt+Space and GetSystemMenu with and without WS_SYSMENU, and the default
// handling that opens the system's own menu and turns a choice into WM_SYSCOMMAND.
#include <cctype>

#include "platform/headless/script.h"
#include "platform/menu.h"
#include "window_test_support.h"

using namespace testing_support;

namespace {

RECT g_menuRect{};
const char* g_typed = nullptr;  // keys to type in the menu; none: end it

// Once the menu loop waits, notes where the menu window is, then types or ends the menu.
void ActInMenu(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    if (HWND menu = FindWindow("#32768", nullptr)) GetWindowRect(menu, &g_menuRect);
    if (!g_typed) {
        EndMenu();
        return;
    }
    for (const char* c = g_typed; *c; ++c) {
        const char text[2] = {*c, 0};
        Screen().KeyPress(static_cast<UINT>(std::toupper(*c)), text);
    }
}

class DefaultSystemMenu : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        g_menuRect = RECT{};
        g_typed = nullptr;
    }
    static void AltSpace() {
        platform::headless::KeyChord chord;
        ASSERT_TRUE(platform::headless::ParseKeyName("Alt+Space", &chord));
        Screen().PressChord(chord);
    }
    static int Count(HWND w, UINT msg) {
        return static_cast<int>(
            std::count_if(Log().begin(), Log().end(), [&](const Logged& l) { return l.hwnd == w && l.msg == msg; }));
    }
    static const Logged* Find(HWND w, UINT msg) {
        for (const Logged& l : Log())
            if (l.hwnd == w && l.msg == msg) return &l;
        return nullptr;
    }
};

// A skinned frame takes WS_SYSMENU away to draw its own buttons, and still needs Alt+Space
// and the window's system menu.
TEST_F(DefaultSystemMenu, WithoutTheStyleAltSpaceStillAsksAndTheMenuStays) {
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE);
    SetWindowLong(w, GWL_STYLE, GetWindowLong(w, GWL_STYLE) & ~WS_SYSMENU);
    Pump();
    Log().clear();
    SetTimer(w, 1, 10, &ActInMenu);  // ends a menu, should one open
    AltSpace();
    Pump();
    const Logged* command = Find(w, WM_SYSCOMMAND);
    ASSERT_TRUE(command);
    EXPECT_EQ(command->wParam & 0xFFF0, SC_KEYMENU);
    EXPECT_EQ(command->lParam, ' ');
    EXPECT_EQ(Count(w, WM_INITMENUPOPUP), 0) << "without the style the system's menu stays closed";
    HMENU menu = GetSystemMenu(w, FALSE);
    ASSERT_TRUE(menu);
    EXPECT_EQ(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(GetMenuState(menu, SC_SIZE, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(GetSystemMenu(CreateTop("N", WS_POPUP), FALSE), nullptr) << "never had one";
}

TEST_F(DefaultSystemMenu, AltSpaceInAFocusedChildReachesItsTopLevelWindow) {
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE);
    HWND child = CreateChild(w, {5, 5, 50, 30});
    SetFocus(child);
    Pump();
    Log().clear();
    AltSpace();
    Pump();
    EXPECT_EQ(Count(child, WM_SYSCHAR), 1);
    EXPECT_EQ(Count(w, WM_SYSCHAR), 1);
    const Logged* command = Find(w, WM_SYSCOMMAND);
    ASSERT_TRUE(command);
    EXPECT_EQ(command->wParam & 0xFFF0, SC_KEYMENU);
}

TEST_F(DefaultSystemMenu, TheDefaultMenuOpensBelowTheIconTellsTheWindowAndPostsTheChoice) {
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
    Pump();
    Log().clear();
    HMENU system = GetSystemMenu(w, FALSE);
    g_typed = "c";  // "&Close"
    SetTimer(w, 1, 10, &ActInMenu);
    AltSpace();
    Pump();
    const Logged* init = Find(w, WM_INITMENUPOPUP);
    ASSERT_TRUE(init);
    EXPECT_EQ(HIWORD(init->lParam), TRUE) << "the system menu is marked as such";
    EXPECT_EQ(reinterpret_cast<HMENU>(init->wParam), system);
    EXPECT_TRUE(SequenceMatches(
        [&] {
            std::vector<UINT> seen;
            for (UINT m : MessagesOf(w))
                if (m == WM_INITMENU || m == WM_INITMENUPOPUP || m == WM_SYSCOMMAND || m == WM_CLOSE) seen.push_back(m);
            return seen;
        }(),
        {{WM_SYSCOMMAND}, {WM_INITMENU}, {WM_INITMENUPOPUP}, {WM_SYSCOMMAND}, {WM_CLOSE}}));
    const Logged* select = nullptr;
    for (const Logged& l : Log())
        if (l.hwnd == w && l.msg == WM_MENUSELECT && HIWORD(l.wParam) != 0xFFFF) select = &l;
    ASSERT_TRUE(select);
    EXPECT_NE(HIWORD(select->wParam) & MF_SYSMENU, 0u);
    EXPECT_FALSE(IsWindow(w)) << "Close was chosen";
    int frame = GetSystemMetrics(SM_CXDLGFRAME);
    EXPECT_EQ(g_menuRect.left, 100 + frame);
    EXPECT_EQ(g_menuRect.top, 100 + frame + GetSystemMetrics(SM_CYCAPTION));
}

TEST_F(DefaultSystemMenu, RightClickOnTheCaptionOpensItAtThePointer) {
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
    Pump();
    Log().clear();
    SetTimer(w, 1, 10, &ActInMenu);
    Screen().Click(platform::MouseButton::Right, POINT{200, 108});
    Pump();
    const Logged* init = Find(w, WM_INITMENUPOPUP);
    ASSERT_TRUE(init);
    EXPECT_EQ(HIWORD(init->lParam), TRUE);
    EXPECT_EQ(g_menuRect.left, 200);
    EXPECT_EQ(g_menuRect.top, 108);
    EXPECT_TRUE(IsWindow(w));
}

}  // namespace
