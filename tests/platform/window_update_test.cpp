// Update regions in detail: validation by region, hidden children, showing a child, and what
// RedrawWindow's child flags reach.
#include "platform/gdi.h"
#include "window_test_support.h"

using namespace testing_support;

namespace {

class UpdateRegions : public WindowTest {
protected:
    int Paints(HWND w) {
        return static_cast<int>(std::count_if(Log().begin(), Log().end(), [w](const Logged& l) { return l.hwnd == w && l.msg == WM_PAINT; }));
    }
};

TEST_F(UpdateRegions, UpdateRgnIsInClientCoordinatesAndValidateRgnRemovesIt) {
    HWND w = CreateTop("T", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, {0, 0, 200, 100});
    Pump();
    RECT a{5, 5, 15, 15}, b{50, 50, 60, 60};
    InvalidateRect(w, &a, FALSE);
    InvalidateRect(w, &b, FALSE);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetUpdateRgn(w, rgn, FALSE), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(rgn, 5, 5));
    EXPECT_FALSE(PtInRegion(rgn, 20, 20));
    HRGN part = CreateRectRgn(0, 0, 30, 30);
    ValidateRgn(w, part);
    EXPECT_EQ(GetUpdateRgn(w, rgn, FALSE), SIMPLEREGION);
    EXPECT_FALSE(PtInRegion(rgn, 5, 5));
    DeleteObject(part);
    DeleteObject(rgn);
}

TEST_F(UpdateRegions, HiddenChildrenAreNeitherInvalidatedNorPainted) {
    HWND top = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    HWND hidden = CreateChild(top, {0, 0, 50, 50}, WS_CHILD);
    Pump();
    Log().clear();
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(Paints(hidden), 0);
    EXPECT_EQ(Paints(top), 1);
    ShowWindow(hidden, SW_SHOW);
    Pump();
    EXPECT_EQ(Paints(hidden), 1);  // showing exposes it
}

TEST_F(UpdateRegions, NoChildrenFlagKeepsChildrenValid) {
    HWND top = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    HWND child = CreateChild(top, {0, 0, 50, 50});
    Pump();
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
    RECT u;
    EXPECT_FALSE(GetUpdateRect(child, &u, FALSE));
    EXPECT_TRUE(GetUpdateRect(top, &u, FALSE));
    RedrawWindow(top, nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
    EXPECT_FALSE(GetUpdateRect(top, &u, FALSE));
}

TEST_F(UpdateRegions, InvalidatingAClipChildrenParentLeavesChildrenAlone) {
    HWND top = CreateTop("T", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 100, 100});
    HWND child = CreateChild(top, {0, 0, 50, 50});
    Pump();
    InvalidateRect(top, nullptr, TRUE);
    RECT u;
    EXPECT_FALSE(GetUpdateRect(child, &u, FALSE));
    HWND plainTop = CreateTop("P", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    HWND plainChild = CreateChild(plainTop, {0, 0, 50, 50});
    Pump();
    InvalidateRect(plainTop, nullptr, TRUE);
    EXPECT_TRUE(GetUpdateRect(plainChild, &u, FALSE));
}

TEST_F(UpdateRegions, UpdateWindowPaintsOnlyThatWindowAtOnce) {
    HWND top = CreateTop("T", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 100, 100});
    HWND child = CreateChild(top, {0, 0, 50, 50});
    Pump();
    InvalidateRect(top, nullptr, FALSE);
    InvalidateRect(child, nullptr, FALSE);
    Log().clear();
    UpdateWindow(top);
    EXPECT_EQ(Paints(top), 1);
    EXPECT_EQ(Paints(child), 0);
    RECT u;
    EXPECT_TRUE(GetUpdateRect(child, &u, FALSE));
}

TEST_F(UpdateRegions, BeginPaintOnAHiddenWindowValidatesAndDrawsNothing) {
    HWND w = CreateTop("T", WS_POPUP | WS_VISIBLE, {0, 0, 50, 50});
    Pump();
    FillClient(w, RGB(1, 2, 3));
    InvalidateRect(w, nullptr, FALSE);
    SendMessage(w, WM_SETREDRAW, FALSE, 0);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    RECT all{0, 0, 50, 50};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EndPaint(w, &ps);
    SendMessage(w, WM_SETREDRAW, TRUE, 0);
    EXPECT_EQ(ScreenPixel(10, 10), 0x010203u);
}

}  // namespace
