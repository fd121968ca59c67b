// Default behaviour of DefWindowProc and the queue: message filters, caption clicks and double
// clicks, context menus, keyboard system commands, hooks removed while they run, timers reset,
// and scripted clicks in client coordinates.
#include "platform/clock.h"
#include "platform/headless/script.h"
#include "platform/menu.h"
#include "window_test_support.h"

using namespace testing_support;

namespace {

class WindowBehaviour : public WindowTest {
protected:
    int Count(HWND w, UINT msg, WPARAM wParam) {
        return static_cast<int>(std::count_if(Log().begin(), Log().end(), [&](const Logged& l) {
            return l.hwnd == w && l.msg == msg && (l.wParam & 0xFFF0) == wParam;
        }));
    }
};

TEST_F(WindowBehaviour, PeekFiltersByWindowAndRangeAndNoRemoveKeepsTheMessage) {
    HWND a = CreateTop("A"), b = CreateTop("B");
    Pump();
    PostMessage(a, WM_USER + 1, 0, 0);
    PostMessage(b, WM_USER + 2, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, b, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2u);
    ASSERT_TRUE(PeekMessage(&msg, b, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2u);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_USER + 2, WM_USER + 5, PM_REMOVE));
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER, WM_USER + 1, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, a);
}

TEST_F(WindowBehaviour, PostingToADestroyedWindowFails) {
    HWND w = CreateTop();
    DestroyWindow(w);
    EXPECT_FALSE(PostMessage(w, WM_USER, 0, 0));
}

TEST_F(WindowBehaviour, CaptionDoubleClickMaximisesOnlyWithAMaximiseBox) {
    HWND fixed = CreateTop("F", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, {0, 0, 300, 200});
    SendMessage(fixed, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(100, 10));
    EXPECT_FALSE(IsZoomed(fixed));
    HWND sizable = CreateTop("S", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 300, 200});
    SendMessage(sizable, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(100, 10));
    EXPECT_TRUE(IsZoomed(sizable));
    SendMessage(sizable, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(100, 10));
    EXPECT_FALSE(IsZoomed(sizable));
    SendMessage(fixed, WM_NCLBUTTONDBLCLK, HTSYSMENU, MAKELPARAM(5, 5));
    EXPECT_FALSE(IsWindow(fixed));  // a double click on the icon closes
}

TEST_F(WindowBehaviour, MinimiseButtonClickMinimisesAndDisabledMaximiseDoesNothing) {
    HWND w = CreateTop("W", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, {100, 100, 400, 300});
    Pump();
    // Buttons from the right: close, maximise (greyed), minimise; each 16 wide with gaps.
    Screen().Click(MouseButton::Left, POINT{374, 111});
    Pump();
    EXPECT_FALSE(IsZoomed(w));
    EXPECT_FALSE(IsIconic(w));
    Screen().Click(MouseButton::Left, POINT{358, 111});
    Pump();
    EXPECT_TRUE(IsIconic(w));
}

TEST_F(WindowBehaviour, RightClickBecomesAContextMenuThatClimbsToTheParent) {
    HWND top = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    HWND child = CreateChild(top, {10, 10, 60, 60});
    Pump();
    Log().clear();
    Screen().Click(MouseButton::Right, POINT{20, 20});
    Pump();
    int childMenus = 0, parentMenus = 0;
    for (const Logged& l : Log()) {
        if (l.msg != WM_CONTEXTMENU) continue;
        EXPECT_EQ(reinterpret_cast<HWND>(l.wParam), child);
        EXPECT_EQ(GET_X_LPARAM(l.lParam), 20);
        childMenus += l.hwnd == child;
        parentMenus += l.hwnd == top;
    }
    EXPECT_EQ(childMenus, 1);
    EXPECT_EQ(parentMenus, 1);
}

void EndMenuOnTick(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    EndMenu();
}

TEST_F(WindowBehaviour, AltSpaceAsksForTheKeyboardSystemMenu) {
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
    Pump();
    Log().clear();
    platform::headless::KeyChord chord;
    ASSERT_TRUE(platform::headless::ParseKeyName("Alt+Space", &chord));
    SetTimer(w, 9, 10, &EndMenuOnTick);  // the default handling opens the system menu
    Screen().PressChord(chord);
    Pump();
    EXPECT_EQ(Count(w, WM_SYSCOMMAND, SC_KEYMENU), 1);
    for (const Logged& l : Log()) {
        if (l.msg == WM_SYSCOMMAND) {
            EXPECT_EQ(l.lParam, ' ');
        }
    }
}

HHOOK g_selfRemoving = nullptr;
int g_selfRemovingCalls = 0;

LRESULT RemoveItselfOnFirstCall(int code, WPARAM w, LPARAM l) {
    ++g_selfRemovingCalls;
    UnhookWindowsHookEx(g_selfRemoving);
    return CallNextHookEx(g_selfRemoving, code, w, l);
}

TEST_F(WindowBehaviour, AHookMayRemoveItselfWhileItRuns) {
    g_selfRemovingCalls = 0;
    g_selfRemoving = SetWindowsHookEx(WH_CBT, RemoveItselfOnFirstCall, nullptr, GetCurrentThreadId());
    CreateTop();
    CreateTop();
    EXPECT_EQ(g_selfRemovingCalls, 1);
    EXPECT_FALSE(UnhookWindowsHookEx(g_selfRemoving));
}

TEST_F(WindowBehaviour, SettingATimerAgainRestartsItsSchedule) {
    std::int64_t now = 5000;
    platform::SetMonotonicSource([&now] { return now; });
    HWND w = CreateTop();
    SetTimer(w, 3, 100, nullptr);
    now += 90;
    SetTimer(w, 3, 100, nullptr);  // due again at +100 from here, not at the old +100
    now += 20;
    MSG msg;
    EXPECT_FALSE(PeekMessage(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE));
    now += 80;
    EXPECT_TRUE(PeekMessage(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE));
    platform::SetMonotonicSource(nullptr);
}

TEST_F(WindowBehaviour, ScriptedClicksUseTheMainWindowsClientCoordinates) {
    HWND main = CreateTop("Main", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, {100, 50, 400, 300});
    platform::SetMainWindow(main);
    Pump();
    Log().clear();
    platform::headless::ParsedScript script = platform::headless::ParseScript("click 10 20\nwait 10\nquit\n");
    ASSERT_FALSE(script.error);
    Screen().SetScript(script.commands);
    MSG msg;
    LPARAM where = -1;
    while (IsWindow(main) && GetMessage(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_LBUTTONDOWN && msg.hwnd == main) where = msg.lParam;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    EXPECT_EQ(where, MAKELPARAM(10, 20));
    EXPECT_FALSE(IsWindow(main));  // quit closed it as its close button would
    EXPECT_TRUE(Screen().ScriptFinished());
    platform::SetMainWindow(nullptr);
}

}  // namespace
