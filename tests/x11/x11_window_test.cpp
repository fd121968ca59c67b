// The window system on the X11 backend: a layered window made normal again shows its painted
// pixels (with and without a compositor), a glow over a control takes no pointer from it, and
// a window the window manager restores or minimises hears it as the real system tells it.
#include <signal.h>

#include <algorithm>

#include "platform/gdi.h"
#include "platform/gdi/dib.h"
#include "platform/window.h"
#include "x11_test_support.h"

namespace {

using x11_testing::Capture;

struct Logged {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
};

std::vector<Logged>& Log() {
    static std::vector<Logged> log;
    return log;
}

LRESULT RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Log().push_back(Logged{hwnd, msg, wParam});
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

LRESULT RedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_PAINT) return RecordingProc(hwnd, msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    HBRUSH b = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &r, b);
    DeleteObject(b);
    EndPaint(hwnd, &ps);
    return 0;
}

// A control that wants to hear when the pointer leaves it.
LRESULT TrackingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_MOUSEMOVE) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&tme);
    }
    return RecordingProc(hwnd, msg, wParam, lParam);
}

LRESULT GlowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    return RecordingProc(hwnd, msg, wParam, lParam);
}

class X11Windows : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!x11_testing::X11Server::Ready()) GTEST_SKIP() << "no Xvfb or xdotool";
        platform::InstallBackend(platform::x11::CreateX11Backend());
        static bool registered = [] {
            const std::pair<const char*, WNDPROC> classes[] = {{"X11Rec", RecordingProc},
                                                               {"X11Red", RedProc},
                                                               {"X11Track", TrackingProc},
                                                               {"X11Glow", GlowProc}};
            for (auto [name, proc] : classes) {
                WNDCLASS wc{};
                wc.lpfnWndProc = proc;
                wc.lpszClassName = name;
                if (!RegisterClass(&wc)) return false;
            }
            return true;
        }();
        ASSERT_TRUE(registered);
        Log().clear();
    }
    void TearDown() override {
        if (compositor_ > 0) kill(compositor_, SIGTERM);
        if (!x11_testing::X11Server::Ready()) return;
        while (HWND top = GetTopWindow(nullptr)) DestroyWindow(top);
        PumpFor(50);
        platform::InstallBackend(nullptr);
    }
    HWND Create(const char* cls, const char* title, DWORD style, RECT r, DWORD exStyle = 0,
                HWND parent = nullptr) {
        return CreateWindowEx(exStyle, cls, title, style, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, parent, nullptr, nullptr, nullptr);
    }
    // Runs the message loop while the X server and the tools do their part.
    static void PumpFor(int ms) {
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        do {
            MSG msg;
            while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        } while (std::chrono::steady_clock::now() < until);
    }
    static std::string XWindow(const char* title) {
        return Capture(std::string("timeout 5 xdotool search --name '^") + title + "$' | tail -n1");
    }
    static std::string Info(const std::string& window, const char* field) {
        return Capture("timeout 5 xwininfo -id " + window + " | sed -n 's/^ *" + field + ": *//p'");
    }
    // Blue, green, red of a window's bottom-right pixel as the server holds it.
    static std::string LastPixel(const std::string& window) {
        return Capture("timeout 5 xwd -id " + window + " -silent | tail -c 4 | od -A n -t x1 -N 3");
    }
    // Red, green, blue of a screen pixel.
    static std::string ScreenPixel(int x, int y) {
        return Capture("timeout 5 xwd -root -silent | /usr/bin/convert xwd:- -crop 1x1+" +
                       std::to_string(x) + "+" + std::to_string(y) +
                       " +repage rgb:- | od -A n -t x1");
    }
    static int Count(HWND w, UINT msg) {
        return static_cast<int>(std::count_if(Log().begin(), Log().end(), [&](const Logged& l) {
            return l.hwnd == w && l.msg == msg;
        }));
    }
    static int Count(HWND w, UINT msg, WPARAM wParam) {
        return static_cast<int>(std::count_if(Log().begin(), Log().end(), [&](const Logged& l) {
            return l.hwnd == w && l.msg == msg && l.wParam == wParam;
        }));
    }
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
    void StartCompositor() {
        if (std::system("command -v xcompmgr >/dev/null") != 0)
            GTEST_SKIP() << "xcompmgr is not installed";
        FILE* p = popen("xcompmgr >/dev/null 2>&1 & echo $!", "r");
        ASSERT_TRUE(p);
        if (std::fscanf(p, "%d", &compositor_) != 1) compositor_ = 0;
        pclose(p);
        for (int i = 0; i < 100 && !LayeredWindowsAvailable(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(LayeredWindowsAvailable());
    }
    static bool LayeredWindowsAvailable() { return platform::CurrentBackend().LayeredSupported(); }
    static DWORD ExStyle(HWND w) { return static_cast<DWORD>(GetWindowLongPtr(w, GWL_EXSTYLE)); }
    int compositor_ = 0;
};

// The form's first show: layered with an empty picture, shown, then made normal and painted.
TEST_F(X11Windows, ALayeredWindowMadeNormalGetsAnOrdinaryWindowWithItsPaintedPixels) {
    StartCompositor();
    HWND w = Create("X11Red", "x11-layered-form", WS_POPUP, {100, 100, 160, 160}, WS_EX_LAYERED);
    UpdateLayered(w, SIZE{60, 60}, 0);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    PumpFor(200);
    std::string layered = XWindow("x11-layered-form");
    ASSERT_FALSE(layered.empty());
    EXPECT_EQ(Info(layered, "Depth"), "32");
    // A window above it, left black (its class erases nothing), stays above.
    Create("X11Rec", "x11-above", WS_POPUP | WS_VISIBLE, {140, 140, 200, 200}, WS_EX_NOACTIVATE);
    PumpFor(200);
    SetWindowLongPtr(w, GWL_EXSTYLE, ExStyle(w) & ~WS_EX_LAYERED);
    PumpFor(300);
    EXPECT_EQ(ScreenPixel(120, 120), " ff 00 00");
    EXPECT_EQ(ScreenPixel(150, 150), " 00 00 00")
        << "the new window took the old one's place in the stack";
    std::string normal = XWindow("x11-layered-form");
    ASSERT_FALSE(normal.empty());
    EXPECT_NE(normal, layered);
    EXPECT_EQ(Info(normal, "Depth"), "24");
    EXPECT_EQ(Info(normal, "Map State"), "IsViewable");
    EXPECT_EQ(Info(normal, "Absolute upper-left X"), "100");
    EXPECT_EQ(LastPixel(normal), " 00 00 ff");
    EXPECT_EQ(Capture("timeout 5 xwininfo -id " + layered + " 2>&1 | grep -c 'Map State'"), "0")
        << "the old one is gone";
}

// Without a compositor the form falls back to an opacity of 0, which must not outlive the style.
TEST_F(X11Windows, TheFallbackOpacityGoesWithTheLayeredStyle) {
    HWND w = Create("X11Red", "x11-fallback-form", WS_POPUP, {100, 100, 160, 160}, WS_EX_LAYERED);
    ASSERT_TRUE(SetLayeredWindowAttributes(w, 0, 0, LWA_ALPHA));
    ShowWindow(w, SW_SHOWNOACTIVATE);
    PumpFor(200);
    std::string x = XWindow("x11-fallback-form");
    ASSERT_FALSE(x.empty());
    EXPECT_EQ(Capture("timeout 5 xprop -id " + x + " _NET_WM_WINDOW_OPACITY"),
              "_NET_WM_WINDOW_OPACITY(CARDINAL) = 0");
    SetWindowLongPtr(w, GWL_EXSTYLE, ExStyle(w) & ~WS_EX_LAYERED);
    PumpFor(200);
    EXPECT_EQ(Capture("timeout 5 xprop -id " + x + " _NET_WM_WINDOW_OPACITY"),
              "_NET_WM_WINDOW_OPACITY:  not found.");
    EXPECT_EQ(LastPixel(x), " 00 00 ff");
}

// A glow laid over a hot control: were it to take the pointer, the control would hear that the
// pointer left it, close the glow, and open it again, without end.
TEST_F(X11Windows, AGlowOverAControlTakesNoPointerFromIt) {
    HWND form = Create("X11Rec", "x11-glow-form", WS_POPUP | WS_VISIBLE, {100, 100, 300, 300});
    HWND control = Create("X11Track", "", WS_CHILD | WS_VISIBLE, {20, 20, 160, 80}, 0, form);
    PumpFor(200);
    std::system("xdotool mousemove 130 130");
    PumpFor(200);
    ASSERT_GE(Count(control, WM_MOUSEMOVE), 1);
    HWND glow = Create("X11Glow", "x11-glow", WS_POPUP, {140, 110, 240, 200},
                       WS_EX_LAYERED | WS_EX_TOOLWINDOW);
    UpdateLayered(glow, SIZE{100, 90}, 0x40004000u);
    ShowWindow(glow, SW_SHOWNOACTIVATE);
    PumpFor(200);
    Log().clear();
    std::system("xdotool mousemove 180 150");
    PumpFor(200);
    std::system("xdotool click 1");
    PumpFor(200);
    EXPECT_EQ(Count(control, WM_MOUSELEAVE), 0);
    EXPECT_GE(Count(control, WM_MOUSEMOVE), 1);
    EXPECT_EQ(Count(control, WM_LBUTTONDOWN), 1);
    EXPECT_EQ(
        Count(glow, WM_MOUSEMOVE) + Count(glow, WM_LBUTTONDOWN) + Count(glow, WM_MOUSEACTIVATE), 0);
}

// No window manager runs here: the test unmaps and maps the window as one does when the user
// minimises it from the task bar and brings it back.
TEST_F(X11Windows, AWindowTheWindowManagerRestoresIsRestored) {
    HWND w = Create("X11Rec", "x11-restore", WS_OVERLAPPEDWINDOW, {50, 50, 250, 200});
    ShowWindow(w, SW_SHOW);
    PumpFor(200);
    ShowWindow(w, SW_MINIMIZE);
    PumpFor(100);
    ASSERT_TRUE(IsIconic(w));
    std::string x = XWindow("x11-restore");
    ASSERT_FALSE(x.empty());
    std::system(("xdotool windowunmap " + x).c_str());
    PumpFor(200);
    Log().clear();
    std::system(("xdotool windowmap " + x).c_str());
    PumpFor(300);
    EXPECT_FALSE(IsIconic(w));
    EXPECT_EQ(Count(w, WM_SYSCOMMAND, SC_RESTORE), 1);
    EXPECT_EQ(Count(w, WM_SIZE, SIZE_RESTORED), 1);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.bottom, 200);
    Log().clear();
    std::system(
        ("xprop -id " + x +
         " -f _NET_WM_STATE 32a -set _NET_WM_STATE _NET_WM_STATE_HIDDEN; xdotool windowunmap " + x)
            .c_str());
    PumpFor(300);
    EXPECT_TRUE(IsIconic(w));
    EXPECT_EQ(Count(w, WM_SYSCOMMAND, SC_MINIMIZE), 1);
}

}  // namespace
