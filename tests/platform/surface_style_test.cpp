// Surfaces following their windows on the headless screen: styles changed at run time
// (layered on and off, topmost, tool window, no-activate), click-through top-levels, the
// window manager minimising and restoring, first frames, and tray double clicks.
#include <algorithm>

#include "platform/gdi.h"
#include "platform/gdi/dib.h"
#include "platform/shell.h"
#include "window_test_support.h"

using namespace testing_support;

namespace {

constexpr std::uint32_t kDesktop = 0x3A6EA5;

// Paints its client red; the flag says whether it has been asked to.
bool g_painted = false;
LRESULT RedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        HBRUSH b = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dc, &r, b);
        DeleteObject(b);
        EndPaint(hwnd, &ps);
        g_painted = true;
        return 0;
    }
    return RecorderProc(hwnd, msg, wParam, lParam);
}

// A glow: takes no pointer anywhere.
LRESULT GlowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    return RecorderProc(hwnd, msg, wParam, lParam);
}

class SurfaceStyle : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        static bool registered = [] {
            WNDCLASS red{};
            red.lpfnWndProc = RedProc;
            red.lpszClassName = "RedPainter";
            WNDCLASS glow{};
            glow.lpfnWndProc = GlowProc;
            glow.lpszClassName = "GlowTest";
            WNDCLASS beam{};
            beam.lpfnWndProc = RecorderProc;
            beam.hCursor = LoadCursor(nullptr, IDC_IBEAM);
            beam.lpszClassName = "BeamTest";
            return RegisterClass(&red) && RegisterClass(&glow) && RegisterClass(&beam);
        }();
        ASSERT_TRUE(registered);
        g_painted = false;
    }
    HWND Create(const char* cls, const char* title, DWORD style, RECT r, DWORD exStyle,
                HWND parent = nullptr) {
        return CreateWindowEx(exStyle, cls, title, style, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, parent, nullptr, nullptr, nullptr);
    }
    // Gives a layered window a picture of one premultiplied colour.
    static void UpdateLayered(HWND w, SIZE size, std::uint32_t pixel) {
        void* bits = nullptr;
        HBITMAP dib = platform::gdi::CreateTopDownDib(size.cx, size.cy, 32, &bits);
        std::fill_n(static_cast<std::uint32_t*>(bits), size.cx * size.cy, pixel);
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, dib);
        POINT from{0, 0};
        BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        EXPECT_TRUE(UpdateLayeredWindow(w, nullptr, nullptr, &size, mem, &from, 0, &bf, ULW_ALPHA));
        SelectObject(mem, old);
        DeleteDC(mem);
        DeleteObject(dib);
    }
    static DWORD ExStyle(HWND w) { return static_cast<DWORD>(GetWindowLongPtr(w, GWL_EXSTYLE)); }
    static int Count(HWND w, UINT msg, WPARAM wParam) {
        return static_cast<int>(std::count_if(Log().begin(), Log().end(), [&](const Logged& l) {
            return l.hwnd == w && l.msg == msg && l.wParam == wParam;
        }));
    }
};

// The provider's first show: layered with an empty picture, shown, then made normal again.
TEST_F(SurfaceStyle, ALayeredWindowMadeNormalPaintsAndShowsAgain) {
    HWND w = Create("RedPainter", "L", WS_POPUP, {100, 100, 160, 160}, WS_EX_LAYERED);
    UpdateLayered(w, SIZE{60, 60}, 0);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    EXPECT_EQ(ScreenPixel(130, 130), kDesktop) << "an empty picture shows nothing";
    g_painted = false;
    SetWindowLongPtr(w, GWL_EXSTYLE, ExStyle(w) & ~WS_EX_LAYERED);
    Pump();
    EXPECT_TRUE(g_painted) << "a window that stops being layered is painted again";
    EXPECT_EQ(ScreenPixel(130, 130), 0xFF0000u);
    EXPECT_FALSE(Screen().SurfaceStyle(Screen().SurfaceTitled("L")).layered);
}

// The same show as the form provider runs it: the window loses its visibility bit together
// with the layered style (frozen), and WM_SETREDRAW brings it back with a full redraw.
TEST_F(SurfaceStyle, AFrozenLayeredFormIsShownByRedrawAfterItsStyleIsDropped) {
    HWND w = Create("RedPainter", "Frozen", WS_POPUP, {100, 100, 160, 160}, WS_EX_LAYERED);
    UpdateLayered(w, SIZE{60, 60}, 0);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    Pump();
    SetWindowLongPtr(w, GWL_EXSTYLE, ExStyle(w) & ~WS_EX_LAYERED);
    SetWindowLongPtr(w, GWL_STYLE, GetWindowLongPtr(w, GWL_STYLE) & ~WS_VISIBLE);
    EXPECT_EQ(ScreenPixel(130, 130), kDesktop) << "frozen: nothing is painted yet";
    SendMessage(w, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(w, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(ScreenPixel(130, 130), 0xFF0000u);
}

// The fallback of that show: opacity 0 instead of a picture. Dropping the style forgets it.
TEST_F(SurfaceStyle, TheSavedOpacityOfTheFallbackDoesNotKeepTheWindowInvisible) {
    HWND w = Create("RedPainter", "F", WS_POPUP, {100, 100, 160, 160}, WS_EX_LAYERED);
    ASSERT_TRUE(SetLayeredWindowAttributes(w, 0, 0, LWA_ALPHA));
    ShowWindow(w, SW_SHOWNOACTIVATE);
    EXPECT_EQ(ScreenPixel(130, 130), kDesktop);
    SetWindowLongPtr(w, GWL_EXSTYLE, ExStyle(w) & ~WS_EX_LAYERED);
    EXPECT_EQ(ScreenPixel(130, 130), 0xFF0000u);
    // Layered again, it starts without attributes, as the real system does.
    SetWindowLongPtr(w, GWL_EXSTYLE, ExStyle(w) | WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_FALSE(GetLayeredWindowAttributes(w, nullptr, &alpha, &flags));
}

TEST_F(SurfaceStyle, AWindowThatBecomesLayeredShowsNothingUntilItIsGivenAnOpacity) {
    HWND w = Create("RedPainter", "N", WS_POPUP | WS_VISIBLE, {100, 100, 160, 160}, 0);
    EXPECT_EQ(ScreenPixel(130, 130), 0xFF0000u);
    SetWindowLongPtr(w, GWL_EXSTYLE, WS_EX_LAYERED);
    EXPECT_EQ(ScreenPixel(130, 130), kDesktop);
    EXPECT_TRUE(Screen().SurfaceStyle(Screen().SurfaceTitled("N")).layered);
    SetLayeredWindowAttributes(w, 0, 255, LWA_ALPHA);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    EXPECT_EQ(ScreenPixel(130, 130), 0xFF0000u);
}

TEST_F(SurfaceStyle, TopmostToolWindowAndNoActivateReachTheSurface) {
    HWND w = Create("RedPainter", "S", WS_POPUP | WS_VISIBLE, {10, 10, 50, 50}, 0);
    Pump();
    platform::SurfaceId id = Screen().SurfaceTitled("S");
    EXPECT_FALSE(Screen().SurfaceStyle(id).topmost);
    SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(Screen().SurfaceStyle(id).topmost);
    SetWindowLongPtr(w, GWL_EXSTYLE, ExStyle(w) | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    EXPECT_TRUE(Screen().SurfaceStyle(id).skipTaskbar);
    EXPECT_FALSE(Screen().SurfaceStyle(id).acceptsFocus);
    SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_FALSE(Screen().SurfaceStyle(id).topmost);
    SetWindowLongPtr(w, GWL_EXSTYLE, ExStyle(w) | WS_EX_LAYERED | WS_EX_TRANSPARENT);
    EXPECT_TRUE(Screen().SurfaceStyle(id).clickThrough);
}

// A glow over a control: the pointer, clicks and the cursor belong to the control beneath.
TEST_F(SurfaceStyle, AWindowAnsweringHitTransparentIsPassedOverWithTheCursorBeneath) {
    HWND form = Create("Recorder", "Form", WS_POPUP | WS_VISIBLE, {100, 100, 300, 300}, 0);
    HWND edit = Create("BeamTest", "", WS_CHILD | WS_VISIBLE, {20, 20, 120, 60}, 0, form);
    HWND glow = Create("GlowTest", "Glow", WS_POPUP, {110, 110, 230, 170},
                       WS_EX_LAYERED | WS_EX_TOOLWINDOW);
    UpdateLayered(glow, SIZE{120, 60}, 0x80008000u);
    ShowWindow(glow, SW_SHOWNOACTIVATE);
    Pump();
    EXPECT_TRUE(Screen().SurfaceStyle(Screen().SurfaceTitled("Glow")).clickThrough)
        << "the display lets the pointer through as well";
    EXPECT_EQ(WindowFromPoint(POINT{150, 140}), edit);
    Log().clear();
    Screen().MovePointer(POINT{150, 140});
    Screen().Click(MouseButton::Left, POINT{150, 140});
    Pump();
    EXPECT_EQ(Count(edit, WM_LBUTTONDOWN, MK_LBUTTON), 1);
    EXPECT_EQ(Screen().CursorShape(), static_cast<int>(CursorShape::IBeam));
    EXPECT_TRUE(std::none_of(Log().begin(), Log().end(), [&](const Logged& l) {
        return l.hwnd == glow && (l.msg == WM_MOUSEMOVE || l.msg == WM_LBUTTONDOWN ||
                                  l.msg == WM_SETCURSOR || l.msg == WM_MOUSEACTIVATE);
    }));
    EXPECT_EQ(GetActiveWindow(), form);
}

TEST_F(SurfaceStyle, TheWindowManagerRestoringAMinimisedWindowRestoresIt) {
    HWND w = CreateTop("Restored", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
    Pump();
    ShowWindow(w, SW_MINIMIZE);
    Pump();
    ASSERT_TRUE(IsIconic(w));
    Log().clear();
    Screen().WindowManagerSets(Screen().SurfaceTitled("Restored"), platform::SurfaceState::Normal);
    Pump();
    EXPECT_FALSE(IsIconic(w));
    EXPECT_EQ(Count(w, WM_SYSCOMMAND, SC_RESTORE), 1);
    EXPECT_EQ(Count(w, WM_SIZE, SIZE_RESTORED), 1);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.right, 400);
}

TEST_F(SurfaceStyle, TheWindowManagerMinimisingIsASystemCommandAndEchoesAreIgnored) {
    HWND w = CreateTop("Minimised", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
    Pump();
    platform::SurfaceId id = Screen().SurfaceTitled("Minimised");
    Log().clear();
    Screen().WindowManagerSets(id, platform::SurfaceState::Normal);  // nothing new
    Pump();
    EXPECT_EQ(Count(w, WM_SYSCOMMAND, SC_RESTORE), 0);
    Screen().WindowManagerSets(id, platform::SurfaceState::Minimized);
    Pump();
    EXPECT_TRUE(IsIconic(w));
    EXPECT_EQ(Count(w, WM_SYSCOMMAND, SC_MINIMIZE), 1);
    Screen().WindowManagerSets(id, platform::SurfaceState::Maximized);
    Pump();
    EXPECT_FALSE(IsIconic(w)) << "a minimised window is restored first";
    Screen().WindowManagerSets(id, platform::SurfaceState::Maximized);
    Pump();
    EXPECT_TRUE(IsZoomed(w));
}

TEST_F(SurfaceStyle, ASurfaceAppearsWithItsFirstFrame) {
    platform::headless::HeadlessBackend screen(SIZE{200, 200});
    platform::SurfaceParams p;
    p.screenRect = RECT{10, 10, 20, 20};
    platform::SurfaceId id = screen.CreateSurface(p);
    screen.ShowSurface(id, true, true);
    EXPECT_FALSE(screen.SurfaceVisible(id));
    EXPECT_EQ(screen.ComposeScreen()[15 * 200 + 15], 0xFF000000u | kDesktop);
    std::vector<std::uint32_t> px(100, 0xFF00FF00u);
    platform::gdi::PixelBuffer frame{reinterpret_cast<BYTE*>(px.data()), 10, 10, 40, 32};
    screen.Present(id, frame, platform::Region(0, 0, 10, 10), false, 255);
    EXPECT_TRUE(screen.SurfaceVisible(id));
    EXPECT_EQ(screen.ComposeScreen()[15 * 200 + 15], 0xFF00FF00u);
}

// Backends that see real clicks leave the double click to the core's double-click time.
TEST_F(SurfaceStyle, TrayDoubleClicksFollowTheDoubleClickTime) {
    HWND owner = CreateTop();
    NOTIFYICONDATAA d{};
    d.cbSize = sizeof d;
    d.hWnd = owner;
    d.uID = 3;
    d.uFlags = NIF_MESSAGE;
    d.uCallbackMessage = WM_USER + 7;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &d));
    int trayId = Screen().TrayIcons().at(0).id;
    auto press = [&](DWORD time, MouseButton button) {
        platform::BackendEvent e;
        e.kind = platform::EventKind::TrayMouse;
        e.trayId = trayId;
        e.button = button;
        e.param = 1;
        e.countClicks = true;
        e.time = time;
        Screen().Push(e);
    };
    DWORD t = 100000, dbl = GetDoubleClickTime();
    press(t, MouseButton::Left);
    press(t + dbl, MouseButton::Left);            // a double click at the limit
    press(t + dbl + 10, MouseButton::Left);       // starts anew
    press(t + 2 * dbl + 11, MouseButton::Left);   // too late
    press(t + 2 * dbl + 20, MouseButton::Right);  // another button
    Log().clear();
    Pump();
    std::vector<LPARAM> got;
    for (const Logged& l : Log())
        if (l.hwnd == owner && l.msg == WM_USER + 7) got.push_back(l.lParam);
    EXPECT_EQ(got, (std::vector<LPARAM>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN,
                                        WM_LBUTTONDOWN, WM_RBUTTONDOWN}));
    Shell_NotifyIconA(NIM_DELETE, &d);
}

}  // namespace
