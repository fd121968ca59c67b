// Popup menu windows as a painter that subclasses them sees them: the border outside the
// client area, items in client coordinates, an item DC that is not clipped to the item, the
// classic look coming from WM_NCPAINT and WM_ERASEBKGND, and a closing click handed on.
#include "platform/gdi.h"
#include "platform/menu.h"
#include "window_test_support.h"

using namespace testing_support;

namespace {

struct Seen {
    RECT firstItem{};
    RECT clip{};
    std::string dcClass;
    RECT windowRect{};
    POINT clientOrigin{};
    RECT client{};
    COLORREF border = 0;
    COLORREF inside = 0;
};
Seen g_seen;
bool g_suppressClassic = false;
WNDPROC g_menuProc = nullptr;
POINT g_clickAt{};

LRESULT OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
        mis->itemWidth = 80;
        mis->itemHeight = 20;
        return TRUE;
    }
    if (m == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        if (dis->itemID == 1) {
            g_seen.firstItem = dis->rcItem;
            GetClipBox(dis->hDC, &g_seen.clip);
            char cls[16] = {};
            GetClassName(WindowFromDC(dis->hDC), cls, sizeof cls);
            g_seen.dcClass = cls;
        }
        return TRUE;  // draws nothing: what shows comes from the menu window itself
    }
    return RecorderProc(h, m, w, l);
}

LRESULT SilentMenuProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCPAINT || m == WM_ERASEBKGND) return 1;
    return CallWindowProc(g_menuProc, h, m, w, l);
}

// Subclasses each menu window as it is created, as a skinned menu painter does.
LRESULT SubclassMenus(int code, WPARAM w, LPARAM l) {
    if (code == HCBT_CREATEWND && g_suppressClassic) {
        auto* cbt = reinterpret_cast<CBT_CREATEWND*>(l);
        if (std::string(cbt->lpcs->lpszClass) == "#32768") {
            auto hwnd = reinterpret_cast<HWND>(w);
            g_menuProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SilentMenuProc)));
        }
    }
    return CallNextHookEx(nullptr, code, w, l);
}

void LookAtTheMenu(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    HWND menu = FindWindow("#32768", nullptr);
    if (menu) {
        UpdateWindow(menu);
        GetWindowRect(menu, &g_seen.windowRect);
        GetClientRect(menu, &g_seen.client);
        g_seen.clientOrigin = POINT{0, 0};
        ClientToScreen(menu, &g_seen.clientOrigin);
        HDC dc = GetWindowDC(menu);
        g_seen.border = GetPixel(dc, 0, 0);
        g_seen.inside = GetPixel(dc, 4, g_seen.client.bottom);  // client, below the last item
        ReleaseDC(menu, dc);
    }
    EndMenu();
}

void ClickElsewhere(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    Screen().Click(platform::MouseButton::Left, g_clickAt);
}

class MenuWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        static bool registered = [] {
            WNDCLASS wc{};
            wc.lpfnWndProc = OwnerProc;
            wc.lpszClassName = "MenuOwner";
            return RegisterClass(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        g_seen = Seen{};
        owner = CreateWindowEx(0, "MenuOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                               nullptr);
        menu = CreatePopupMenu();
        AppendMenu(menu, MF_OWNERDRAW, 1, nullptr);
        AppendMenu(menu, MF_OWNERDRAW, 2, nullptr);
        Pump();
    }
    void TearDown() override {
        DestroyMenu(menu);
        g_suppressClassic = false;
        WindowTest::TearDown();
    }
    UINT Track(TIMERPROC act, POINT at = {300, 200}) {
        SetTimer(owner, 5, 10, act);
        return static_cast<UINT>(TrackPopupMenuEx(menu, TPM_RETURNCMD, at.x, at.y, owner, nullptr));
    }
    static std::vector<UINT> ButtonsOf(HWND w) {
        std::vector<UINT> buttons;
        for (UINT m : MessagesOf(w))
            if (m == WM_LBUTTONDOWN || m == WM_LBUTTONUP) buttons.push_back(m);
        return buttons;
    }
    HWND owner = nullptr;
    HMENU menu = nullptr;
};

TEST_F(MenuWindow, ItemsLieInTheClientAreaInsideAThreePixelBorder) {
    Track(&LookAtTheMenu);
    EXPECT_EQ(g_seen.windowRect.left, 300);
    EXPECT_EQ(g_seen.windowRect.top, 200);
    EXPECT_EQ(g_seen.clientOrigin.x - g_seen.windowRect.left, 3);
    EXPECT_EQ(g_seen.clientOrigin.y - g_seen.windowRect.top, 3);
    EXPECT_EQ(g_seen.windowRect.bottom - g_seen.windowRect.top, 2 * 20 + 2 * 3);
    EXPECT_EQ(g_seen.client.bottom, 40);
    // An owner-drawn item is as wide as measured plus the check mark column.
    EXPECT_EQ(g_seen.firstItem.left, 0);
    EXPECT_EQ(g_seen.firstItem.top, 0);
    EXPECT_EQ(g_seen.firstItem.right, 92);
    EXPECT_EQ(g_seen.firstItem.bottom, 20);
}

TEST_F(MenuWindow, TheItemDeviceContextIsTheMenuWindowsAndNotClippedToTheItem) {
    Track(&LookAtTheMenu);
    EXPECT_EQ(g_seen.dcClass, "#32768");
    EXPECT_GT(g_seen.clip.bottom, g_seen.firstItem.bottom) << "the painter may draw below its item";
}

TEST_F(MenuWindow, ClassicEdgeAndBackgroundComeFromNonClientPaintAndErase) {
    Track(&LookAtTheMenu);
    EXPECT_EQ(g_seen.border, GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(g_seen.inside, GetSysColor(COLOR_MENU));
    // A subclass that answers both messages itself keeps the classic look away.
    g_suppressClassic = true;
    HHOOK hook = SetWindowsHookEx(WH_CBT, SubclassMenus, nullptr, GetCurrentThreadId());
    Track(&LookAtTheMenu);
    UnhookWindowsHookEx(hook);
    EXPECT_NE(g_seen.border, GetSysColor(COLOR_3DLIGHT));
    EXPECT_NE(g_seen.inside, GetSysColor(COLOR_MENU));
}

TEST_F(MenuWindow, APressOutsideClosesTheMenuAndReachesTheWindowBeneath) {
    HWND target = CreateTop("Target", WS_POPUP | WS_VISIBLE, {500, 400, 600, 500});
    Pump();
    Log().clear();
    g_clickAt = POINT{550, 450};
    EXPECT_EQ(Track(&ClickElsewhere), 0u);
    EXPECT_EQ(FindWindow("#32768", nullptr), nullptr);
    Pump();
    EXPECT_EQ(ButtonsOf(target), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    // A press on the menu's own border, over the same window, is the menu's.
    g_clickAt = POINT{511, 411};
    Log().clear();
    SetTimer(owner, 6, 60, [](HWND h, UINT, UINT_PTR id, DWORD) {
        KillTimer(h, id);
        EndMenu();
    });
    EXPECT_EQ(Track(&ClickElsewhere, POINT{510, 410}), 0u);
    Pump();
    EXPECT_TRUE(ButtonsOf(target).empty());
}

}  // namespace
