// Hit testing, mouse routing, capture, mouse-leave tracking, double clicks, focus and
// activation order, and the caption buttons of the standard frame.
#include "platform/gdi.h"
#include "window_test_support.h"

using namespace testing_support;

namespace {

class WindowInput : public WindowTest {
protected:
    std::vector<UINT> MouseMessagesOf(HWND w) {
        std::vector<UINT> out;
        for (const Logged& l : Log())
            if (l.hwnd == w && ((l.msg >= WM_MOUSEFIRST && l.msg <= WM_MOUSELAST) || l.msg == WM_MOUSELEAVE) &&
                l.msg != WM_MOUSEMOVE)
                out.push_back(l.msg);
        return out;
    }
};

TEST_F(WindowInput, StandardFrameHitTestCodes) {
    // Caption and system menu, no thick frame: 3-pixel dialog frame, 19-pixel caption.
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, {100, 100, 400, 300});
    struct Row {
        const char* name;
        POINT screen;
        LRESULT code;
    } rows[] = {
        {"client", {200, 200}, HTCLIENT},   {"caption", {200, 110}, HTCAPTION},
        {"icon", {108, 110}, HTSYSMENU},    {"close", {390, 111}, HTCLOSE},
        {"border", {101, 200}, HTBORDER},   {"outside", {50, 50}, HTNOWHERE},
    };
    for (const Row& r : rows)
        EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(r.screen.x, r.screen.y)), r.code) << r.name;
}

TEST_F(WindowInput, SizableFrameHasSizingCodes) {
    HWND w = CreateTop("T", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(101, 200)), HTLEFT);
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(398, 298)), HTBOTTOMRIGHT);
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(250, 101)), HTTOP);
}

TEST_F(WindowInput, ClicksGoToTheDeepestVisibleEnabledChildAndRespectRegions) {
    HWND top = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND child = CreateChild(top, {100, 100, 200, 200});
    HWND shaped = CreateChild(top, {0, 0, 50, 50});
    SetWindowRgn(shaped, CreateRectRgn(0, 0, 25, 50), FALSE);
    HWND disabled = CreateChild(top, {250, 250, 290, 290}, WS_CHILD | WS_VISIBLE | WS_DISABLED);
    EXPECT_EQ(WindowFromPoint(POINT{150, 150}), child);
    EXPECT_EQ(WindowFromPoint(POINT{10, 10}), shaped);
    EXPECT_EQ(WindowFromPoint(POINT{40, 10}), top);  // outside the child's region
    EXPECT_EQ(WindowFromPoint(POINT{260, 260}), top);  // a disabled child lets the parent have it
    (void)disabled;
    Pump();
    Log().clear();
    Screen().Click(MouseButton::Left, POINT{150, 150});
    Pump();
    EXPECT_EQ(MouseMessagesOf(child), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    // The client coordinates of the press.
    for (const Logged& l : Log()) {
        if (l.hwnd == child && l.msg == WM_LBUTTONDOWN) {
            EXPECT_EQ(l.lParam, MAKELPARAM(50, 50));
        }
    }
}

TEST_F(WindowInput, CaptureRoutesEverythingToTheCapturingWindow) {
    HWND top = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND a = CreateChild(top, {0, 0, 100, 100});
    HWND b = CreateChild(top, {200, 200, 300, 300});
    Pump();
    SetCapture(a);
    Log().clear();
    Screen().Click(MouseButton::Left, POINT{250, 250});
    Pump();
    EXPECT_EQ(MouseMessagesOf(a), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_TRUE(MouseMessagesOf(b).empty());
    SetCapture(b);
    EXPECT_TRUE(SequenceMatches(MessagesOf(a), {{WM_MOUSEACTIVATE, true}, {WM_LBUTTONDOWN}, {WM_LBUTTONUP}, {WM_CAPTURECHANGED}}));
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowInput, MouseLeaveIsPostedOnceWhenThePointerLeaves) {
    HWND top = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND child = CreateChild(top, {0, 0, 100, 100});
    Screen().MovePointer(POINT{50, 50});
    Pump();
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, child, 0};
    TrackMouseEvent(&tme);
    Log().clear();
    Screen().MovePointer(POINT{60, 60});
    Pump();
    EXPECT_TRUE(MouseMessagesOf(child).empty());
    Screen().MovePointer(POINT{150, 150});
    Screen().MovePointer(POINT{160, 150});
    Pump();
    EXPECT_EQ(MouseMessagesOf(child), std::vector<UINT>{WM_MOUSELEAVE});
}

TEST_F(WindowInput, TrackingAWindowThePointerIsNotOverLeavesAtOnce) {
    HWND top = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND child = CreateChild(top, {0, 0, 100, 100});
    Screen().MovePointer(POINT{200, 200});
    Pump();
    Log().clear();
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, child, 0};
    TrackMouseEvent(&tme);
    Pump();
    EXPECT_EQ(MouseMessagesOf(child), std::vector<UINT>{WM_MOUSELEAVE});
}

TEST_F(WindowInput, DoubleClickOnlyForDblClkClassesWithinTimeAndDistance) {
    HWND top = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    Pump();
    Log().clear();
    Screen().Click(MouseButton::Left, POINT{50, 50});
    Screen().Click(MouseButton::Left, POINT{51, 51});
    Pump();
    EXPECT_EQ(MouseMessagesOf(top), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
    Log().clear();
    Screen().Click(MouseButton::Left, POINT{50, 50});
    Screen().Click(MouseButton::Left, POINT{80, 80});  // too far apart
    Pump();
    EXPECT_EQ(MouseMessagesOf(top), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(WindowInput, ActivationOrderBetweenTwoWindows) {
    HWND first = CreateTop("A", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, {0, 0, 200, 200});
    HWND second = CreateTop("B", WS_OVERLAPPED | WS_CAPTION, {300, 0, 500, 200});
    Pump();
    ASSERT_EQ(GetActiveWindow(), first);
    Log().clear();
    ShowWindow(second, SW_SHOW);
    std::vector<std::pair<HWND, UINT>> order;
    for (const Logged& l : Log())
        if (l.msg == WM_NCACTIVATE || l.msg == WM_ACTIVATE || l.msg == WM_KILLFOCUS || l.msg == WM_SETFOCUS)
            order.emplace_back(l.hwnd, l.msg);
    std::vector<std::pair<HWND, UINT>> expected = {{first, WM_NCACTIVATE}, {first, WM_ACTIVATE},  {second, WM_NCACTIVATE},
                                                   {second, WM_ACTIVATE},  {first, WM_KILLFOCUS}, {second, WM_SETFOCUS}};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(GetTopWindow(nullptr), second);
}

TEST_F(WindowInput, ClickingAnInactiveWindowActivatesIt) {
    HWND first = CreateTop("A", WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    HWND second = CreateTop("B", WS_POPUP | WS_VISIBLE, {300, 0, 500, 200});
    Pump();
    ASSERT_EQ(GetActiveWindow(), second);
    Log().clear();
    Screen().Click(MouseButton::Left, POINT{50, 50});
    Pump();
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_TRUE(SequenceMatches(MessagesOf(first), {{WM_MOUSEACTIVATE},
                                                    {WM_WINDOWPOSCHANGING, true},
                                                    {WM_WINDOWPOSCHANGED, true},
                                                    {WM_NCACTIVATE},
                                                    {WM_ACTIVATE},
                                                    {WM_SETFOCUS},
                                                    {WM_LBUTTONDOWN},
                                                    {WM_LBUTTONUP}}));
}

TEST_F(WindowInput, KeysGoToTheFocusAndBecomeCharacters) {
    HWND top = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    HWND edit = CreateChild(top, {0, 0, 50, 20});
    Pump();
    SetFocus(edit);
    Log().clear();
    Screen().TypeText("Яa");
    Screen().KeyPress(VK_RETURN);
    Screen().KeyRelease(VK_RETURN);
    Pump();
    std::vector<WPARAM> chars;
    for (const Logged& l : Log())
        if (l.hwnd == edit && l.msg == WM_CHAR) chars.push_back(l.wParam);
    EXPECT_EQ(chars, (std::vector<WPARAM>{0x42F, 'a', '\r'}));
}

TEST_F(WindowInput, AltF4ClosesTheTopLevelWindow) {
    HWND top = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {0, 0, 100, 100});
    Pump();
    Screen().KeyPress(VK_MENU);
    Screen().KeyPress(VK_F4);
    Screen().KeyRelease(VK_F4);
    Screen().KeyRelease(VK_MENU);
    Pump();
    EXPECT_FALSE(IsWindow(top));
}

TEST_F(WindowInput, CloseButtonPressAndReleaseClosesTheWindow) {
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {100, 100, 400, 300});
    Pump();
    Screen().Click(MouseButton::Left, POINT{390, 111});
    Pump();
    EXPECT_FALSE(IsWindow(w));
}

TEST_F(WindowInput, CloseButtonReleasedElsewhereDoesNothing) {
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {100, 100, 400, 300});
    Pump();
    Screen().MovePointer(POINT{390, 111});
    Screen().Press(MouseButton::Left, POINT{390, 111});
    Screen().MovePointer(POINT{250, 200});
    Screen().Release(MouseButton::Left, POINT{250, 200});
    Pump();
    EXPECT_TRUE(IsWindow(w));
}

TEST_F(WindowInput, DraggingTheCaptionMovesTheWindow) {
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {100, 100, 400, 300});
    Pump();
    Screen().MovePointer(POINT{200, 110});
    Screen().Press(MouseButton::Left, POINT{200, 110});
    Screen().MovePointer(POINT{230, 150});
    Screen().Release(MouseButton::Left, POINT{230, 150});
    Pump();
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 130);
    EXPECT_EQ(r.top, 140);
}

TEST_F(WindowInput, MinimizeAndRestoreKeepThePlacement) {
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, {100, 100, 400, 300});
    Pump();
    SendMessage(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(w));
    EXPECT_NE(GetActiveWindow(), w);
    SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(w));
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.right, 400);
}

}  // namespace
