// TrackPopupMenu: the owner's message sequence, submenus, the command's return or post,
// and item information.
#include <cstring>

#include "platform/menu.h"
#include "window_test_support.h"

using namespace testing_support;

namespace {

std::vector<UINT> g_keys;

// Types the queued keys once the menu loop waits for input.
void TypeQueuedKeys(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    for (UINT vk : g_keys) {
        bool letter = vk >= 'A' && vk <= 'Z';
        Screen().KeyPress(vk, letter ? std::string(1, static_cast<char>(vk - 'A' + 'a')) : std::string());
    }
}

class PopupMenu : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        owner = CreateTop("Owner", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE);
        menu = CreatePopupMenu();
        sub = CreatePopupMenu();
        AppendMenu(sub, MF_STRING, 201, "Sub &one");
        AppendMenu(sub, MF_STRING, 202, "Sub &two");
        AppendMenu(menu, MF_STRING, 101, "&First");
        AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More");
        AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenu(menu, MF_STRING, 103, "&Last");
        Pump();
        Log().clear();
    }
    void TearDown() override {
        DestroyMenu(menu);
        WindowTest::TearDown();
    }
    BOOL Track(std::vector<UINT> keys, UINT flags) {
        g_keys = std::move(keys);
        SetTimer(owner, 77, 10, &TypeQueuedKeys);
        return TrackPopupMenu(menu, flags, 150, 150, 0, owner, nullptr);
    }
    HWND owner = nullptr;
    HMENU menu = nullptr;
    HMENU sub = nullptr;
};

TEST_F(PopupMenu, OwnerSeesTheLoopAndEachPopupAndSelection) {
    EXPECT_EQ(Track({VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}, TPM_RETURNCMD), 201);
    std::vector<UINT> seen;
    for (UINT m : MessagesOf(owner))
        if (m == WM_ENTERMENULOOP || m == WM_INITMENUPOPUP || m == WM_EXITMENULOOP ||
            (m == WM_MENUSELECT && (seen.empty() || seen.back() != WM_MENUSELECT)))
            seen.push_back(m);
    EXPECT_TRUE(SequenceMatches(seen, {{WM_ENTERMENULOOP}, {WM_INITMENUPOPUP}, {WM_MENUSELECT}, {WM_INITMENUPOPUP},
                                       {WM_MENUSELECT}, {WM_EXITMENULOOP}}));
}

TEST_F(PopupMenu, WithoutReturnCmdTheCommandIsPostedToTheOwner) {
    EXPECT_TRUE(Track({'L'}, 0));
    bool posted = false;
    MSG msg;
    while (PeekMessage(&msg, owner, 0, 0, PM_REMOVE))
        if (msg.message == WM_COMMAND && LOWORD(msg.wParam) == 103) posted = true;
    EXPECT_TRUE(posted);
}

TEST_F(PopupMenu, LeftClosesTheSubmenuAndEscapeTheMenu) {
    EXPECT_EQ(Track({VK_DOWN, VK_DOWN, VK_RIGHT, VK_LEFT, VK_ESCAPE}, TPM_RETURNCMD), 0);
    EXPECT_EQ(FindWindow("#32768", nullptr), nullptr) << "menu windows are gone";
}

TEST_F(PopupMenu, ItemInfoRoundTrips) {
    char text[32] = {};
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_DATA | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = sizeof text;
    ASSERT_TRUE(GetMenuItemInfo(menu, 1, TRUE, &info));
    EXPECT_EQ(info.hSubMenu, sub);
    EXPECT_STREQ(text, "&More");
    MENUITEMINFO set{};
    set.cbSize = sizeof set;
    set.fMask = MIIM_STATE | MIIM_DATA | MIIM_FTYPE;
    set.fState = MFS_GRAYED | MFS_DEFAULT;
    set.fType = MFT_OWNERDRAW;
    set.dwItemData = 0xBEEF;
    ASSERT_TRUE(SetMenuItemInfo(menu, 101, FALSE, &set));
    MENUITEMINFO back{};
    back.cbSize = sizeof back;
    back.fMask = MIIM_STATE | MIIM_DATA | MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfo(menu, 0, TRUE, &back));
    EXPECT_EQ(back.fState, MFS_GRAYED | MFS_DEFAULT);
    EXPECT_EQ(back.fType, MFT_OWNERDRAW);
    EXPECT_EQ(back.dwItemData, 0xBEEFu);
    EXPECT_TRUE(GetMenuState(menu, 101, MF_BYCOMMAND) & MF_GRAYED);
}

}  // namespace
