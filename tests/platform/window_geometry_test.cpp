// Geometry: SetWindowPos flags and the messages they cause, maximise with size limits,
// coordinate mapping, parents, enabling, and DCs on windows.
#include <cstring>

#include "platform/gdi.h"
#include "window_test_support.h"

using namespace testing_support;

namespace {

class WindowGeometry : public WindowTest {
protected:
    std::vector<WINDOWPOS> PosChanged(HWND w) {
        std::vector<WINDOWPOS> out;
        for (const Logged& l : Log())
            if (l.hwnd == w && l.msg == WM_WINDOWPOSCHANGED) out.push_back(*reinterpret_cast<WINDOWPOS*>(l.lParam));
        return out;
    }
    int Count(HWND w, UINT msg) {
        return static_cast<int>(std::count_if(Log().begin(), Log().end(), [&](const Logged& l) { return l.hwnd == w && l.msg == msg; }));
    }
};

TEST_F(WindowGeometry, MoveSendsMoveButNotSizeAndResizeSendsSize) {
    HWND w = CreateTop("T", WS_POPUP | WS_VISIBLE, {10, 10, 110, 60});
    Pump();
    Log().clear();
    SetWindowPos(w, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Count(w, WM_MOVE), 1);
    EXPECT_EQ(Count(w, WM_SIZE), 0);
    Log().clear();
    SetWindowPos(w, nullptr, 0, 0, 200, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Count(w, WM_MOVE), 0);
    ASSERT_EQ(Count(w, WM_SIZE), 1);
    for (const Logged& l : Log()) {
        if (l.hwnd == w && l.msg == WM_SIZE) {
            EXPECT_EQ(LOWORD(l.lParam), 200);
            EXPECT_EQ(HIWORD(l.lParam), 90);
        }
    }
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.right, 220);
}

LRESULT ClampingProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_WINDOWPOSCHANGING) {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
        if (!(pos->flags & SWP_NOSIZE)) pos->cx = std::min(pos->cx, 150);
    }
    return RecorderProc(h, m, wp, lp);
}

TEST_F(WindowGeometry, WindowPosChangingCanAlterTheResult) {
    WNDCLASS wc{};
    wc.lpfnWndProc = ClampingProc;
    wc.lpszClassName = "Clamping";
    RegisterClass(&wc);
    HWND w = CreateWindowEx(0, "Clamping", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    SetWindowPos(w, nullptr, 0, 0, 400, 50, SWP_NOMOVE | SWP_NOZORDER);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 150);
    DestroyWindow(w);
}

LRESULT SmallMaxProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_GETMINMAXINFO) {
        auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
        mmi->ptMaxSize = POINT{300, 200};
        mmi->ptMaxPosition = POINT{5, 6};
    }
    return RecorderProc(h, m, wp, lp);
}

TEST_F(WindowGeometry, MaximiseAsksForLimitsAndRestoreReturnsToThePlacement) {
    WNDCLASS wc{};
    wc.lpfnWndProc = SmallMaxProc;
    wc.lpszClassName = "SmallMax";
    RegisterClass(&wc);
    HWND w = CreateWindowEx(0, "SmallMax", "M", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 120, 80, nullptr, nullptr, nullptr, nullptr);
    Log().clear();
    ShowWindow(w, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(IsZoomed(w));
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 6);
    EXPECT_EQ(r.right - r.left, 300);
    bool sawMaximized = false;
    for (const Logged& l : Log()) sawMaximized |= l.hwnd == w && l.msg == WM_SIZE && l.wParam == SIZE_MAXIMIZED;
    EXPECT_TRUE(sawMaximized);
    SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.right - r.left, 120);
    EXPECT_FALSE(IsZoomed(w));
    DestroyWindow(w);
}

TEST_F(WindowGeometry, ClientAreaFollowsTheFrameOfTheStyle) {
    struct Row {
        const char* name;
        DWORD style, exStyle;
        int left, top;
    } rows[] = {
        {"popup", WS_POPUP, 0, 0, 0},
        {"border", WS_POPUP | WS_BORDER, 0, 1, 1},
        {"dialog frame", WS_POPUP | WS_CAPTION, 0, 3, 22},
        {"thick frame", WS_OVERLAPPEDWINDOW, 0, 4, 23},
        {"tool window", WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, 3, 19},
        {"client edge", WS_POPUP, WS_EX_CLIENTEDGE, 2, 2},
    };
    for (const Row& r : rows) {
        HWND w = CreateTop("T", r.style, {100, 100, 300, 300}, r.exStyle);
        POINT p{0, 0};
        ClientToScreen(w, &p);
        EXPECT_EQ(p.x, 100 + r.left) << r.name;
        EXPECT_EQ(p.y, 100 + r.top) << r.name;
        RECT adjusted{0, 0, 10, 10};
        AdjustWindowRectEx(&adjusted, r.style, FALSE, r.exStyle);
        EXPECT_EQ(-adjusted.top, r.top) << r.name;
        DestroyWindow(w);
    }
}

TEST_F(WindowGeometry, MapWindowPointsBetweenChildren) {
    HWND top = CreateTop("T", WS_POPUP | WS_VISIBLE, {100, 100, 400, 400});
    HWND a = CreateChild(top, {10, 20, 60, 70});
    HWND b = CreateChild(a, {5, 5, 20, 20});
    POINT p{1, 1};
    MapWindowPoints(b, top, &p, 1);
    EXPECT_EQ(p.x, 16);
    EXPECT_EQ(p.y, 26);
    ScreenToClient(b, &p);
    EXPECT_EQ(p.x, 16 - 115);
    EXPECT_EQ(ChildWindowFromPoint(top, POINT{30, 30}), a);
    EXPECT_EQ(ChildWindowFromPoint(top, POINT{200, 200}), top);
    EXPECT_EQ(ChildWindowFromPoint(top, POINT{-1, 5}), nullptr);
}

TEST_F(WindowGeometry, SiblingOrderFollowsInsertAfter) {
    HWND top = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    HWND a = CreateChild(top, {0, 0, 10, 10});
    HWND b = CreateChild(top, {0, 0, 10, 10});
    HWND c = CreateChild(top, {0, 0, 10, 10});
    EXPECT_EQ(GetWindow(top, GW_CHILD), c);  // newest on top
    SetWindowPos(c, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(top, GW_CHILD), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), c);
    SetWindowPos(c, a, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), c);
    EXPECT_EQ(GetWindow(c, GW_HWNDPREV), a);
}

TEST_F(WindowGeometry, DisablingTheFocusedWindowTakesTheFocusAway) {
    HWND top = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    HWND child = CreateChild(top, {0, 0, 10, 10});
    SetFocus(child);
    ASSERT_EQ(GetFocus(), child);
    Log().clear();
    EXPECT_FALSE(EnableWindow(child, FALSE));
    EXPECT_NE(GetFocus(), child);
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_EQ(SetFocus(child), nullptr);  // a disabled window takes no focus
    EXPECT_TRUE(EnableWindow(child, TRUE));
    EXPECT_EQ(Count(child, WM_ENABLE), 2);
}

TEST_F(WindowGeometry, SetParentMovesAWindowBetweenParents) {
    HWND a = CreateTop("A", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    HWND b = CreateTop("B", WS_POPUP | WS_VISIBLE, {200, 0, 300, 100});
    HWND child = CreateChild(a, {1, 1, 5, 5});
    EXPECT_EQ(SetParent(child, b), a);
    EXPECT_EQ(GetParent(child), b);
    EXPECT_TRUE(IsChild(b, child));
    EXPECT_FALSE(IsChild(a, child));
    DestroyWindow(b);
    EXPECT_FALSE(IsWindow(child));
}

TEST_F(WindowGeometry, WindowDcCoversTheFrameAndIntersectRegionIsInScreenCoordinates) {
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, {100, 100, 300, 200});
    Pump();
    HDC wdc = GetWindowDC(w);
    RECT box;
    GetClipBox(wdc, &box);
    EXPECT_EQ(box.right - box.left, 200);
    EXPECT_EQ(box.bottom - box.top, 100);
    ReleaseDC(w, wdc);
    HRGN part = CreateRectRgn(110, 110, 120, 120);  // screen coordinates; the DC takes it over
    HDC dc = GetDCEx(w, part, DCX_WINDOW | DCX_INTERSECTRGN);
    GetClipBox(dc, &box);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.right, 20);
    ReleaseDC(w, dc);
}

TEST_F(WindowGeometry, SetTextRepaintsTheCaptionAndGetTextCopiesSafely) {
    HWND w = CreateTop("old", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, {0, 0, 300, 100});
    Pump();
    std::vector<std::uint32_t> before = Screen().ComposeScreen();
    SetWindowText(w, "Новый заголовок окна");
    Pump();
    std::vector<std::uint32_t> after = Screen().ComposeScreen();
    int changed = 0, width = Screen().ScreenSize().cx;
    for (int y = 3; y < 21; ++y)
        for (int x = 20; x < 280; ++x) changed += before[y * width + x] != after[y * width + x];
    EXPECT_GT(changed, 50);
    char small[8];
    EXPECT_EQ(GetWindowText(w, small, sizeof small), 6);
    EXPECT_STREQ(small, "Нов");  // never cuts a two-byte letter in half
    EXPECT_EQ(GetWindowTextLength(w), static_cast<int>(std::strlen("Новый заголовок окна")));
}

}  // namespace

namespace {

class WindowStates : public WindowTest {};

TEST_F(WindowStates, RestoringAWindowMinimisedFromMaximisedMaximisesItAgain) {
    HWND w = CreateTop("W", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {40, 40, 240, 140});
    ShowWindow(w, SW_SHOWMAXIMIZED);
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(w));
    EXPECT_FALSE(IsZoomed(w));
    ShowWindow(w, SW_RESTORE);
    EXPECT_TRUE(IsZoomed(w));
    ShowWindow(w, SW_RESTORE);  // and from there back to the normal placement
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.right, 240);
}

}  // namespace
