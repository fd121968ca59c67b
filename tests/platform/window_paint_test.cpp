// The update region and the paint cycle: invalidation, validation, WM_SETREDRAW, clipping of
// children and siblings, window regions, and what reaches the screen.
#include "platform/gdi.h"
#include "window_test_support.h"

using namespace testing_support;

namespace {

class WindowPaint : public WindowTest {
protected:
    static std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
};

TEST_F(WindowPaint, InvalidatedPartsAccumulateAndBeginPaintValidates) {
    HWND w = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 200, 100});
    Pump();
    RECT a{10, 10, 20, 20}, b{50, 40, 60, 80};
    InvalidateRect(w, &a, FALSE);
    InvalidateRect(w, &b, TRUE);
    RECT u;
    ASSERT_TRUE(GetUpdateRect(w, &u, FALSE));
    EXPECT_EQ(u.left, 10);
    EXPECT_EQ(u.top, 10);
    EXPECT_EQ(u.right, 60);
    EXPECT_EQ(u.bottom, 80);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    ASSERT_TRUE(dc);
    EXPECT_EQ(ps.rcPaint.left, 10);
    EXPECT_EQ(ps.rcPaint.bottom, 80);
    RECT clip;
    GetClipBox(dc, &clip);
    EXPECT_EQ(clip.left, 10);
    EXPECT_EQ(clip.bottom, 80);
    EndPaint(w, &ps);
    EXPECT_FALSE(GetUpdateRect(w, &u, FALSE));
}

TEST_F(WindowPaint, ValidateRectRemovesOnlyItsPart) {
    HWND w = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    Pump();
    InvalidateRect(w, nullptr, FALSE);
    RECT top{0, 0, 100, 50};
    ValidateRect(w, &top);
    RECT u;
    ASSERT_TRUE(GetUpdateRect(w, &u, FALSE));
    EXPECT_EQ(u.top, 50);
    EXPECT_EQ(u.bottom, 100);
}

TEST_F(WindowPaint, HiddenWindowsAreNotInvalidated) {
    HWND w = CreateTop("T", WS_POPUP, {0, 0, 100, 100});
    InvalidateRect(w, nullptr, TRUE);
    RECT u;
    EXPECT_FALSE(GetUpdateRect(w, &u, FALSE));
}

TEST_F(WindowPaint, ParentPaintsBeforeChildren) {
    HWND parent = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    HWND child = CreateChild(parent, {10, 10, 60, 60});
    Pump();
    Log().clear();
    InvalidateRect(parent, nullptr, TRUE);
    Pump();
    std::vector<HWND> painted;
    for (const Logged& l : Log())
        if (l.msg == WM_PAINT) painted.push_back(l.hwnd);
    EXPECT_EQ(painted, (std::vector<HWND>{parent, child}));
}

TEST_F(WindowPaint, ClipChildrenKeepsParentDrawingOffChildren) {
    HWND parent = CreateTop("T", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 200, 200});
    HWND child = CreateChild(parent, {50, 50, 100, 100});
    Pump();
    FillClient(child, RGB(0, 200, 0));
    FillClient(parent, RGB(200, 0, 0));
    EXPECT_EQ(ScreenPixel(75, 75), Rgb(RGB(0, 200, 0)));
    EXPECT_EQ(ScreenPixel(10, 10), Rgb(RGB(200, 0, 0)));
}

TEST_F(WindowPaint, WithoutClipChildrenParentDrawsOverChildren) {
    HWND parent = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    HWND child = CreateChild(parent, {50, 50, 100, 100});
    Pump();
    FillClient(child, RGB(0, 200, 0));
    FillClient(parent, RGB(200, 0, 0));
    EXPECT_EQ(ScreenPixel(75, 75), Rgb(RGB(200, 0, 0)));
}

TEST_F(WindowPaint, ClipSiblingsKeepsLowerSiblingUnderUpperOne) {
    HWND parent = CreateTop("T", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 200, 200});
    HWND lower = CreateChild(parent, {20, 20, 120, 120}, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    HWND upper = CreateChild(parent, {60, 60, 160, 160}, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    Pump();
    FillClient(upper, RGB(0, 0, 200));
    FillClient(lower, RGB(200, 200, 0));
    EXPECT_EQ(ScreenPixel(90, 90), Rgb(RGB(0, 0, 200)));   // overlap: upper stays
    EXPECT_EQ(ScreenPixel(30, 30), Rgb(RGB(200, 200, 0)));
}

TEST_F(WindowPaint, SetRedrawOffKeepsDrawingFromTheScreen) {
    HWND w = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    Pump();
    FillClient(w, RGB(10, 20, 30));
    EXPECT_EQ(ScreenPixel(5, 5), Rgb(RGB(10, 20, 30)));
    SendMessage(w, WM_SETREDRAW, FALSE, 0);
    FillClient(w, RGB(250, 0, 0));
    InvalidateRect(w, nullptr, TRUE);
    RECT u;
    EXPECT_FALSE(GetUpdateRect(w, &u, FALSE));  // invalidation is ignored while redraw is off
    EXPECT_EQ(ScreenPixel(5, 5), Rgb(RGB(10, 20, 30)));
    SendMessage(w, WM_SETREDRAW, TRUE, 0);
    FillClient(w, RGB(250, 0, 0));
    EXPECT_EQ(ScreenPixel(5, 5), Rgb(RGB(250, 0, 0)));
}

TEST_F(WindowPaint, RedrawWindowUpdateNowPaintsSynchronously) {
    HWND w = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    Pump();
    Log().clear();
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    // The erase comes from BeginPaint, inside WM_PAINT.
    EXPECT_TRUE(SequenceMatches(MessagesOf(w), {{WM_PAINT}, {WM_ERASEBKGND}}));
}

TEST_F(WindowPaint, RedrawWindowFrameAsksForNcPaint) {
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, {0, 0, 200, 100});
    Pump();
    Log().clear();
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOERASE | RDW_NOCHILDREN);
    Pump();
    std::vector<UINT> seq = MessagesOf(w);
    EXPECT_NE(std::find(seq.begin(), seq.end(), WM_NCPAINT), seq.end());
    EXPECT_EQ(std::find(seq.begin(), seq.end(), WM_ERASEBKGND), seq.end());
}

TEST_F(WindowPaint, WindowRegionShapesDrawingAndScreen) {
    HWND w = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    SetWindowRgn(w, CreateRectRgn(0, 0, 50, 100), TRUE);
    Pump();
    FillClient(w, RGB(0, 128, 255));
    EXPECT_EQ(ScreenPixel(25, 50), Rgb(RGB(0, 128, 255)));
    EXPECT_NE(ScreenPixel(75, 50), Rgb(RGB(0, 128, 255)));  // the desktop shows through
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(w, copy), 2);  // SIMPLEREGION
    DeleteObject(copy);
}

TEST_F(WindowPaint, MovingAChildRepaintsWhereItWas) {
    HWND parent = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    HWND child = CreateChild(parent, {10, 10, 40, 40});
    Pump();
    Log().clear();
    MoveWindow(child, 100, 100, 30, 30, TRUE);
    RECT u;
    ASSERT_TRUE(GetUpdateRect(parent, &u, FALSE));
    EXPECT_LE(u.left, 10);
    EXPECT_GE(u.right, 40);
}

TEST_F(WindowPaint, PrintSendsFrameEraseClientAndChildren) {
    HWND parent = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    HWND child = CreateChild(parent, {10, 10, 40, 40});
    Pump();
    Log().clear();
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(mem, 100, 100);
    HGDIOBJ old = SelectObject(mem, bmp);
    SendMessage(parent, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    EXPECT_TRUE(SequenceMatches(MessagesOf(parent), {{WM_PRINT}, {WM_ERASEBKGND}, {WM_PRINTCLIENT}}));
    EXPECT_TRUE(SequenceMatches(MessagesOf(child), {{WM_PRINT}, {WM_ERASEBKGND}, {WM_PRINTCLIENT}}));
}

}  // namespace
