// Message sequences of creating, showing and destroying windows; subclassing; re-entrant
// sends; hooks.
#include <algorithm>
#include <thread>

#include "window_test_support.h"

using namespace testing_support;

namespace {

class WindowMessages : public WindowTest {};

// An overlapped window hears WM_SIZE and WM_MOVE when it is first shown, not at creation;
// popup and child windows hear them at creation.
TEST_F(WindowMessages, CreateSendsCreationMessagesInOrder) {
    HWND w = CreateTop();
    ASSERT_TRUE(w);
    EXPECT_TRUE(SequenceMatches(DetailedMessagesOf(w),
                                {{WM_GETMINMAXINFO}, {WM_NCCREATE}, WithWParam(WM_NCCALCSIZE, FALSE), {WM_CREATE}}));
    HWND popup = CreateTop("P", WS_POPUP);
    EXPECT_TRUE(SequenceMatches(MessagesOf(popup), {{WM_NCCREATE}, {WM_NCCALCSIZE}, {WM_CREATE}, {WM_SIZE}, {WM_MOVE}}));
    HWND child = CreateChild(popup, {1, 1, 5, 5}, WS_CHILD);
    EXPECT_TRUE(SequenceMatches(MessagesOf(child), {{WM_NCCREATE}, {WM_NCCALCSIZE}, {WM_CREATE}, {WM_SIZE}, {WM_MOVE}}));
}

TEST_F(WindowMessages, ShowActivatesBeforePositionChangedAndPaintsFrameThenClient) {
    HWND w = CreateTop();
    Log().clear();
    ShowWindow(w, SW_SHOW);
    EXPECT_TRUE(SequenceMatches(DetailedMessagesOf(w), {WithWParam(WM_SHOWWINDOW, TRUE),
                                                        WithPos(WM_WINDOWPOSCHANGING, SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE),
                                                        WithWParam(WM_ACTIVATEAPP, TRUE),
                                                        WithWParam(WM_NCACTIVATE, TRUE),
                                                        WithWParam(WM_ACTIVATE, WA_ACTIVE),
                                                        {WM_SETFOCUS},
                                                        WithPos(WM_WINDOWPOSCHANGED, SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE),
                                                        WithWParam(WM_SIZE, SIZE_RESTORED),
                                                        {WM_MOVE}}));
    EXPECT_EQ(GetActiveWindow(), w);
    EXPECT_EQ(GetFocus(), w);
    Log().clear();
    Pump();
    EXPECT_TRUE(SequenceMatches(MessagesOf(w), {{WM_PAINT}, {WM_NCPAINT}, {WM_ERASEBKGND}}));
    // Only the first show tells the size.
    ShowWindow(w, SW_HIDE);
    Log().clear();
    ShowWindow(w, SW_SHOW);
    std::vector<UINT> again = MessagesOf(w);
    EXPECT_EQ(std::count(again.begin(), again.end(), WM_SIZE), 0);
}

// The deactivation follows WM_WINDOWPOSCHANGED.
TEST_F(WindowMessages, HideWithSetWindowPosSendsChangingThenChanged) {
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE);
    Pump();
    Log().clear();
    UINT flags = SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(w, nullptr, 0, 0, 0, 0, flags);
    EXPECT_TRUE(SequenceMatches(DetailedMessagesOf(w), {WithPos(WM_WINDOWPOSCHANGING, flags),
                                                        WithPos(WM_WINDOWPOSCHANGED, flags),
                                                        WithWParam(WM_NCACTIVATE, FALSE),
                                                        WithWParam(WM_ACTIVATE, WA_INACTIVE),
                                                        WithWParam(WM_ACTIVATEAPP, FALSE),
                                                        {WM_KILLFOCUS}}));
    EXPECT_FALSE(IsWindowVisible(w));
    // The hidden window gave up activation.
    EXPECT_NE(GetActiveWindow(), w);
}

TEST_F(WindowMessages, DestroySendsDestroyToParentBeforeChildrenAndNcDestroyChildrenFirst) {
    HWND parent = CreateTop();
    HWND child = CreateChild(parent, {10, 10, 50, 50});
    HWND grandchild = CreateChild(child, {1, 1, 5, 5});
    Log().clear();
    DestroyWindow(parent);
    std::vector<std::pair<HWND, UINT>> order;
    for (const Logged& l : Log())
        if (l.msg == WM_DESTROY || l.msg == WM_NCDESTROY) order.emplace_back(l.hwnd, l.msg);
    std::vector<std::pair<HWND, UINT>> expected = {{parent, WM_DESTROY},       {child, WM_DESTROY},
                                                   {grandchild, WM_DESTROY},   {grandchild, WM_NCDESTROY},
                                                   {child, WM_NCDESTROY},      {parent, WM_NCDESTROY}};
    EXPECT_EQ(order, expected);
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(grandchild));
}

TEST_F(WindowMessages, ChildCreationAndDestructionNotifyTheParent) {
    HWND parent = CreateTop();
    Log().clear();
    HWND child = CreateChild(parent, {0, 0, 10, 10});
    DestroyWindow(child);
    std::vector<WPARAM> notes;
    for (const Logged& l : Log())
        if (l.hwnd == parent && l.msg == WM_PARENTNOTIFY) notes.push_back(LOWORD(l.wParam));
    EXPECT_EQ(notes, (std::vector<WPARAM>{WM_CREATE, WM_DESTROY}));
}

TEST_F(WindowMessages, NcCreateReturningFalseFailsCreation) {
    static WNDPROC refuse = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        return m == WM_NCCREATE ? FALSE : DefWindowProc(h, m, w, l);
    };
    WNDCLASS wc{};
    wc.lpfnWndProc = refuse;
    wc.lpszClassName = "Refuser";
    RegisterClass(&wc);
    EXPECT_EQ(CreateWindowEx(0, "Refuser", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
}

// --- subclassing -------------------------------------------------------------------------

std::vector<std::string> g_chain;
WNDPROC g_firstPrevious = nullptr;
WNDPROC g_secondPrevious = nullptr;

LRESULT FirstSubclass(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER) g_chain.push_back("first");
    return CallWindowProc(g_firstPrevious, h, m, w, l);
}

LRESULT SecondSubclass(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER) {
        g_chain.push_back("second");
        if (w == 1) return 42;  // consumed: the older procedures never see it
    }
    return CallWindowProc(g_secondPrevious, h, m, w, l);
}

TEST_F(WindowMessages, SubclassChainsRunNewestFirstAndCanConsume) {
    HWND w = CreateTop();
    g_chain.clear();
    g_firstPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FirstSubclass)));
    g_secondPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SecondSubclass)));
    EXPECT_EQ(g_firstPrevious, &RecorderProc);
    Log().clear();
    SendMessage(w, WM_USER, 0, 0);
    EXPECT_EQ(g_chain, (std::vector<std::string>{"second", "first"}));
    EXPECT_EQ(MessagesOf(w), std::vector<UINT>{WM_USER});
    g_chain.clear();
    Log().clear();
    EXPECT_EQ(SendMessage(w, WM_USER, 1, 0), 42);
    EXPECT_EQ(g_chain, std::vector<std::string>{"second"});
    EXPECT_TRUE(MessagesOf(w).empty());
    // Restoring in reverse order leaves the class procedure.
    SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_secondPrevious));
    SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_firstPrevious));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWLP_WNDPROC)), &RecorderProc);
}

// --- re-entrancy ---------------------------------------------------------------------------

int g_depth = 0;
int g_maxDepth = 0;

LRESULT ReentrantProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER + 1) {
        ++g_depth;
        g_maxDepth = std::max(g_maxDepth, g_depth);
        LRESULT r = w > 0 ? SendMessage(h, WM_USER + 1, w - 1, l) + 1 : 0;
        --g_depth;
        return r;
    }
    if (m == WM_USER + 2) {
        DestroyWindow(h);  // a handler may destroy its own window mid-send
        return 7;
    }
    return DefWindowProc(h, m, w, l);
}

TEST_F(WindowMessages, SendMessageIsReentrantAndSurvivesSelfDestruction) {
    WNDCLASS wc{};
    wc.lpfnWndProc = ReentrantProc;
    wc.lpszClassName = "Reentrant";
    RegisterClass(&wc);
    HWND w = CreateWindowEx(0, "Reentrant", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(SendMessage(w, WM_USER + 1, 20, 0), 20);
    EXPECT_EQ(g_maxDepth, 21);
    EXPECT_EQ(g_depth, 0);
    EXPECT_EQ(SendMessage(w, WM_USER + 2, 0, 0), 7);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(SendMessage(w, WM_USER + 1, 3, 0), 0);  // a stale handle answers 0
}

TEST_F(WindowMessages, PostedMessagesComeBeforePaintAndTimers) {
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE);
    Pump();
    InvalidateRect(w, nullptr, TRUE);
    PostMessage(w, WM_USER + 5, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 5u);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_PAINT);
}

TEST_F(WindowMessages, QuitEndsGetMessageWithItsCode) {
    PostQuitMessage(3);
    MSG msg;
    EXPECT_FALSE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
}

// --- hooks ---------------------------------------------------------------------------------

std::vector<std::pair<int, HWND>> g_cbt;
HHOOK g_hook = nullptr;

LRESULT CbtRecorder(int code, WPARAM w, LPARAM l) {
    g_cbt.emplace_back(code, reinterpret_cast<HWND>(w));
    return CallNextHookEx(g_hook, code, w, l);
}

TEST_F(WindowMessages, CbtHookSeesCreationActivationAndDestruction) {
    g_cbt.clear();
    g_hook = SetWindowsHookEx(WH_CBT, CbtRecorder, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(g_hook);
    HWND w = CreateTop();
    ShowWindow(w, SW_SHOW);
    DestroyWindow(w);
    UnhookWindowsHookEx(g_hook);
    std::vector<int> codes;
    for (auto& [code, h] : g_cbt)
        if (h == w) codes.push_back(code);
    EXPECT_EQ(codes, (std::vector<int>{HCBT_CREATEWND, HCBT_ACTIVATE, HCBT_SETFOCUS, HCBT_DESTROYWND}));
    HWND after = CreateTop();
    EXPECT_EQ(std::count_if(g_cbt.begin(), g_cbt.end(), [after](auto& e) { return e.second == after; }), 0);
}

LRESULT RefuseCreation(int code, WPARAM, LPARAM) { return code == HCBT_CREATEWND ? 1 : 0; }

TEST_F(WindowMessages, CbtHookCanRefuseCreation) {
    HHOOK hook = SetWindowsHookEx(WH_CBT, RefuseCreation, nullptr, GetCurrentThreadId());
    EXPECT_EQ(CreateTop(), nullptr);
    UnhookWindowsHookEx(hook);
    EXPECT_NE(CreateTop(), nullptr);
}

std::vector<UINT> g_sent;

LRESULT CallWndProcRecorder(int code, WPARAM w, LPARAM l) {
    auto* cwp = reinterpret_cast<CWPSTRUCT*>(l);
    if (cwp->message >= WM_USER) g_sent.push_back(cwp->message);
    return CallNextHookEx(nullptr, code, w, l);
}

TEST_F(WindowMessages, CallWndProcHookSeesSentButNotPostedMessages) {
    HWND w = CreateTop();
    g_sent.clear();
    HHOOK hook = SetWindowsHookEx(WH_CALLWNDPROC, CallWndProcRecorder, nullptr, GetCurrentThreadId());
    SendMessage(w, WM_USER + 7, 0, 0);
    PostMessage(w, WM_USER + 8, 0, 0);
    Pump();
    UnhookWindowsHookEx(hook);
    SendMessage(w, WM_USER + 9, 0, 0);
    EXPECT_EQ(g_sent, std::vector<UINT>{WM_USER + 7});
}

}  // namespace

namespace {

class CrossThread : public WindowTest {};

TEST_F(CrossThread, PostsFromAnotherThreadArriveInOrderAndWakeTheLoop) {
    HWND w = CreateTop();
    Pump();  // makes this the GUI thread
    Log().clear();
    std::thread worker([w] {
        for (int i = 0; i < 100; ++i) PostMessage(w, WM_USER + 20, static_cast<WPARAM>(i), 0);
        PostMessage(w, WM_USER + 21, 0, 0);
    });
    MSG msg;
    std::vector<WPARAM> seen;
    while (GetMessage(&msg, nullptr, 0, 0)) {
        DispatchMessage(&msg);
        if (msg.message == WM_USER + 20) seen.push_back(msg.wParam);
        if (msg.message == WM_USER + 21) break;
    }
    worker.join();
    ASSERT_EQ(seen.size(), 100u);
    for (WPARAM i = 0; i < 100; ++i) EXPECT_EQ(seen[i], i);
}

}  // namespace
