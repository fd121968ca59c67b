// Message tables of hiding, minimising, restoring, sizing, destroying, disabling and redrawing,
// in the order and with the parameters the real system gives them.
#include "window_test_support.h"

using namespace testing_support;

namespace {

class MessageOrder : public WindowTest {
protected:
    // A shown, active and focused overlapped window, with nothing logged yet.
    HWND ShownTop() {
        HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE);
        Pump();
        Log().clear();
        return w;
    }
    // Messages of several windows, as (window, message) pairs, for the messages named.
    static std::vector<std::pair<HWND, UINT>> Across(std::initializer_list<UINT> wanted) {
        std::vector<std::pair<HWND, UINT>> out;
        for (const Logged& l : Log())
            if (std::find(wanted.begin(), wanted.end(), l.msg) != wanted.end()) out.emplace_back(l.hwnd, l.msg);
        return out;
    }
};

constexpr UINT kHideFlags = SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE;
constexpr UINT kStateFlags = SWP_FRAMECHANGED | SWP_STATECHANGED;

TEST_F(MessageOrder, HidingTheActiveWindowDeactivatesAfterPositionChangedAndKillsFocusLast) {
    HWND w = ShownTop();
    ShowWindow(w, SW_HIDE);
    EXPECT_TRUE(SequenceMatches(DetailedMessagesOf(w), {WithWParam(WM_SHOWWINDOW, FALSE),
                                                        WithPos(WM_WINDOWPOSCHANGING, kHideFlags),
                                                        WithPos(WM_WINDOWPOSCHANGED, kHideFlags),
                                                        WithWParam(WM_NCACTIVATE, FALSE),
                                                        WithWParam(WM_ACTIVATE, WA_INACTIVE),
                                                        WithWParam(WM_ACTIVATEAPP, FALSE),
                                                        {WM_KILLFOCUS}}));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(MessageOrder, HidingTheActiveWindowActivatesTheNextOneBeforeTheFocusMoves) {
    HWND other = CreateTop("O", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE);
    HWND w = ShownTop();
    ShowWindow(w, SW_HIDE);
    std::vector<std::pair<HWND, UINT>> expected = {{w, WM_SHOWWINDOW}, {w, WM_ACTIVATE}, {other, WM_ACTIVATE},
                                                   {w, WM_KILLFOCUS},  {other, WM_SETFOCUS}};
    EXPECT_EQ(Across({WM_SHOWWINDOW, WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS}), expected);
    EXPECT_EQ(GetFocus(), other);
}

TEST_F(MessageOrder, MinimiseKillsFocusFirstAndSizesThroughTheDefaultHandling) {
    HWND w = ShownTop();
    ShowWindow(w, SW_MINIMIZE);
    UINT changing = SWP_SHOWWINDOW | SWP_NOCOPYBITS | SWP_NOACTIVATE | SWP_NOZORDER | kStateFlags;
    EXPECT_TRUE(SequenceMatches(DetailedMessagesOf(w), {{WM_KILLFOCUS},
                                                        WithPos(WM_WINDOWPOSCHANGING, changing),
                                                        {WM_GETMINMAXINFO},
                                                        WithWParam(WM_NCCALCSIZE, TRUE),
                                                        WithPos(WM_WINDOWPOSCHANGED, changing & ~SWP_SHOWWINDOW),
                                                        {WM_MOVE},
                                                        WithWParam(WM_SIZE, SIZE_MINIMIZED),
                                                        WithWParam(WM_NCACTIVATE, FALSE),
                                                        {WM_ACTIVATE},
                                                        WithWParam(WM_ACTIVATEAPP, FALSE)}));
    EXPECT_TRUE(IsIconic(w));
}

TEST_F(MessageOrder, RestoreFromIconIsOnePairThatActivatesAndErasesBeforePositionChanged) {
    HWND w = ShownTop();
    ShowWindow(w, SW_MINIMIZE);
    Log().clear();
    ShowWindow(w, SW_RESTORE);
    EXPECT_TRUE(SequenceMatches(DetailedMessagesOf(w), {WithPos(WM_WINDOWPOSCHANGING, kStateFlags),
                                                        {WM_GETMINMAXINFO},
                                                        WithWParam(WM_NCCALCSIZE, TRUE),
                                                        WithWParam(WM_ACTIVATEAPP, TRUE),
                                                        WithWParam(WM_NCACTIVATE, TRUE),
                                                        WithWParam(WM_ACTIVATE, WA_ACTIVE),
                                                        {WM_SETFOCUS},
                                                        {WM_NCPAINT, true},
                                                        {WM_ERASEBKGND},
                                                        WithPos(WM_WINDOWPOSCHANGED, kStateFlags | SWP_NOCOPYBITS),
                                                        {WM_MOVE},
                                                        WithWParam(WM_SIZE, SIZE_RESTORED)}));
    EXPECT_FALSE(IsIconic(w));
    EXPECT_EQ(GetActiveWindow(), w);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.right - r.left, 300);
}

TEST_F(MessageOrder, SetWindowPosAsksForLimitsAndRecalculatesTheClientOnlyWhenSizeOrFrameChange) {
    HWND w = ShownTop();
    struct Row {
        const char* name;
        UINT flags;
        std::vector<Expected> expected;
    };
    const UINT quiet = SWP_NOZORDER | SWP_NOACTIVATE;
    std::vector<Row> rows = {
        {"resize", quiet | SWP_NOMOVE,
         {WithPos(WM_WINDOWPOSCHANGING, quiet | SWP_NOMOVE), {WM_GETMINMAXINFO}, WithWParam(WM_NCCALCSIZE, TRUE),
          WithPos(WM_WINDOWPOSCHANGED, quiet | SWP_NOMOVE), {WM_SIZE}}},
        {"frame", quiet | SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED,
         {{WM_WINDOWPOSCHANGING}, WithWParam(WM_NCCALCSIZE, TRUE), {WM_WINDOWPOSCHANGED}}},
        {"move", quiet | SWP_NOSIZE, {{WM_WINDOWPOSCHANGING}, {WM_WINDOWPOSCHANGED}, {WM_MOVE}}},
    };
    int size = 320;
    for (const Row& row : rows) {
        Log().clear();
        size += 10;
        SetWindowPos(w, nullptr, size, size, size, 200, row.flags);
        EXPECT_TRUE(SequenceMatches(DetailedMessagesOf(w), row.expected)) << row.name;
    }
}

TEST_F(MessageOrder, DefaultHandlingOfChangingKeepsAnOverlappedWindowWithinItsLimits) {
    HWND w = ShownTop();
    SetWindowPos(w, nullptr, 0, 0, 20, 5, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXMINTRACK));
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYMINTRACK));
    // A popup without a sizing frame has no limits.
    HWND popup = CreateTop("P", WS_POPUP | WS_VISIBLE, {0, 0, 50, 50});
    SetWindowPos(popup, nullptr, 0, 0, 20, 5, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(popup, &r);
    EXPECT_EQ(r.right - r.left, 20);
}

TEST_F(MessageOrder, DestroyingTheActiveWindowHidesAndDeactivatesItBeforeDestroy) {
    HWND w = ShownTop();
    DestroyWindow(w);
    UINT flags = kHideFlags | SWP_NOZORDER | SWP_NOACTIVATE;
    EXPECT_TRUE(SequenceMatches(DetailedMessagesOf(w), {WithPos(WM_WINDOWPOSCHANGING, flags),
                                                        WithPos(WM_WINDOWPOSCHANGED, flags),
                                                        WithWParam(WM_NCACTIVATE, FALSE),
                                                        WithWParam(WM_ACTIVATE, WA_INACTIVE),
                                                        WithWParam(WM_ACTIVATEAPP, FALSE),
                                                        {WM_KILLFOCUS},
                                                        {WM_DESTROY},
                                                        {WM_NCDESTROY}}));
}

TEST_F(MessageOrder, DestroyingTheFocusedChildHidesItThenMovesTheFocusThenDestroysIt) {
    HWND parent = ShownTop();
    HWND child = CreateChild(parent, {10, 10, 50, 50});
    SetFocus(child);
    Log().clear();
    DestroyWindow(child);
    UINT flags = kHideFlags | SWP_NOACTIVATE | SWP_NOZORDER;
    EXPECT_TRUE(SequenceMatches(DetailedMessagesOf(child),
                                {WithWParam(WM_SHOWWINDOW, FALSE), WithPos(WM_WINDOWPOSCHANGING, flags),
                                 WithPos(WM_WINDOWPOSCHANGED, flags), {WM_KILLFOCUS}, {WM_DESTROY}, {WM_NCDESTROY}}));
    std::vector<std::pair<HWND, UINT>> expected = {{parent, WM_PARENTNOTIFY}, {child, WM_WINDOWPOSCHANGED},
                                                   {child, WM_KILLFOCUS},     {parent, WM_SETFOCUS},
                                                   {child, WM_DESTROY}};
    EXPECT_EQ(Across({WM_PARENTNOTIFY, WM_WINDOWPOSCHANGED, WM_KILLFOCUS, WM_SETFOCUS, WM_DESTROY}), expected);
    EXPECT_EQ(GetFocus(), parent);
}

TEST_F(MessageOrder, DisablingCancelsModesEvenWhenAlreadyDisabled) {
    HWND w = ShownTop();
    EXPECT_FALSE(EnableWindow(w, FALSE));
    EXPECT_TRUE(EnableWindow(w, FALSE));
    EXPECT_TRUE(SequenceMatches(MessagesOf(w), {{WM_CANCELMODE}, {WM_KILLFOCUS, true}, {WM_ENABLE}, {WM_CANCELMODE}}));
    EXPECT_TRUE(EnableWindow(w, TRUE));
    EXPECT_EQ(MessagesOf(w).back(), WM_ENABLE);
}

TEST_F(MessageOrder, UpdateNowSendsPaintAndBeginPaintSendsFrameAndErase) {
    HWND w = ShownTop();
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_TRUE(SequenceMatches(MessagesOf(w), {{WM_PAINT}, WithWParam(WM_NCPAINT, 1), {WM_ERASEBKGND}}));
    // RDW_ERASENOW erases at once and leaves the client for later.
    Log().clear();
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ERASENOW);
    EXPECT_TRUE(SequenceMatches(MessagesOf(w), {{WM_NCPAINT}, {WM_ERASEBKGND}}));
}

TEST_F(MessageOrder, InternalPaintAloneProducesOnePaint) {
    HWND w = ShownTop();
    RedrawWindow(w, nullptr, nullptr, RDW_INTERNALPAINT);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, w, WM_PAINT, WM_PAINT, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, w);
    DispatchMessage(&msg);
    EXPECT_FALSE(PeekMessage(&msg, w, WM_PAINT, WM_PAINT, PM_REMOVE)) << "the default handling validated it";
    RedrawWindow(w, nullptr, nullptr, RDW_INTERNALPAINT);
    RedrawWindow(w, nullptr, nullptr, RDW_NOINTERNALPAINT);
    EXPECT_FALSE(PeekMessage(&msg, w, WM_PAINT, WM_PAINT, PM_REMOVE)) << "withdrawn";
}

LRESULT EraseAnswer(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_ERASEBKGND) return GetWindowLongPtr(h, GWLP_USERDATA);
    return DefWindowProc(h, m, w, l);
}

TEST_F(MessageOrder, PaintStructSaysWhetherTheBackgroundStillNeedsErasing) {
    WNDCLASS wc{};
    wc.lpfnWndProc = EraseAnswer;
    wc.lpszClassName = "EraseAnswer";
    RegisterClass(&wc);
    HWND w = CreateWindowEx(0, "EraseAnswer", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
    Pump();
    struct Row {
        const char* name;
        BOOL erase;
        LONG_PTR answer;
        BOOL fErase;
    } rows[] = {{"erased by the handler", TRUE, 1, FALSE},
                {"left to the painter", TRUE, 0, TRUE},
                {"no erase asked", FALSE, 0, FALSE}};
    for (const Row& row : rows) {
        SetWindowLongPtr(w, GWLP_USERDATA, row.answer);
        InvalidateRect(w, nullptr, row.erase);
        PAINTSTRUCT ps;
        ASSERT_TRUE(BeginPaint(w, &ps)) << row.name;
        EXPECT_EQ(ps.fErase, row.fErase) << row.name;
        EndPaint(w, &ps);
    }
}

TEST_F(MessageOrder, QuitSurvivesPeekingWaitingAndTheDestructionOfAWindow) {
    HWND w = ShownTop();
    PostMessage(w, WM_USER + 1, 0, 0);
    PostQuitMessage(5);
    DestroyWindow(w);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    // A timer ends the wait should the quit have been lost.
    UINT_PTR guard = SetTimer(nullptr, 0, 500, nullptr);
    EXPECT_TRUE(WaitMessage());
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 5u);
    KillTimer(nullptr, guard);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_USER + 1, WM_USER + 1, PM_REMOVE)) << "the window's own post went with it";
}

TEST_F(MessageOrder, AChildOfTheDesktopIsATopLevelWindow) {
    HWND desktop = GetDesktopWindow();
    ASSERT_TRUE(desktop);
    EXPECT_TRUE(IsWindow(desktop));
    HWND w = CreateWindowEx(0, "Recorder", "", WS_CHILD | WS_VISIBLE, 20, 30, 40, 40, desktop, nullptr, nullptr, nullptr);
    ASSERT_TRUE(w);
    EXPECT_EQ(GetParent(w), desktop);
    EXPECT_EQ(GetAncestor(w, GA_ROOT), w);
    EXPECT_EQ(GetAncestor(w, GA_PARENT), desktop);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 30);
    Pump();
    FillClient(w, RGB(0, 90, 180));
    EXPECT_EQ(ScreenPixel(30, 40), 0x005AB4u);
    HWND popup = CreateTop("P", WS_POPUP);
    SetParent(popup, desktop);
    EXPECT_EQ(GetAncestor(popup, GA_ROOT), popup);
}

}  // namespace
