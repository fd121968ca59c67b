#include "support/headless_screen.h"
#include "window_test_support.h"

#include "platform/gdi.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace testing_support {

std::vector<Logged>& Log() {
    static std::vector<Logged> log;
    return log;
}

bool IsNoise(UINT msg) {
    switch (msg) {
        case WM_SETCURSOR: case WM_GETICON: case WM_GETTEXT: case WM_GETTEXTLENGTH: case WM_NCHITTEST:
        case WM_GETMINMAXINFO: case WM_MOUSEMOVE: case WM_NCMOUSEMOVE: case WM_CTLCOLORMSGBOX:
            return true;
        default: return false;
    }
}

std::vector<UINT> MessagesOf(HWND hwnd) {
    std::vector<UINT> out;
    for (const Logged& l : Log())
        if (l.hwnd == hwnd && !IsNoise(l.msg)) out.push_back(l.msg);
    return out;
}

std::string MessageName(UINT msg) {
    static const std::pair<UINT, const char*> names[] = {
        {WM_CREATE, "WM_CREATE"}, {WM_DESTROY, "WM_DESTROY"}, {WM_MOVE, "WM_MOVE"}, {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"}, {WM_SETFOCUS, "WM_SETFOCUS"}, {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_PAINT, "WM_PAINT"}, {WM_CLOSE, "WM_CLOSE"}, {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"}, {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"}, {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_NCCREATE, "WM_NCCREATE"}, {WM_NCDESTROY, "WM_NCDESTROY"}, {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
        {WM_NCPAINT, "WM_NCPAINT"}, {WM_NCACTIVATE, "WM_NCACTIVATE"}, {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
        {WM_TIMER, "WM_TIMER"}, {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"}, {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"}, {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"}, {WM_MOUSELEAVE, "WM_MOUSELEAVE"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"}, {WM_SYSCOMMAND, "WM_SYSCOMMAND"}, {WM_ENABLE, "WM_ENABLE"},
        {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"}, {WM_CANCELMODE, "WM_CANCELMODE"}, {WM_INITMENU, "WM_INITMENU"},
        {WM_INITMENUPOPUP, "WM_INITMENUPOPUP"}, {WM_ENTERMENULOOP, "WM_ENTERMENULOOP"},
        {WM_EXITMENULOOP, "WM_EXITMENULOOP"}, {WM_MENUSELECT, "WM_MENUSELECT"}, {WM_COMMAND, "WM_COMMAND"}};
    for (auto& [m, n] : names)
        if (m == msg) return n;
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%04X", msg);
    return buf;
}

Expected WithWParam(UINT msg, WPARAM value, bool optional) { return Expected{msg, optional, Check::WParam, value}; }
Expected WithPos(UINT msg, UINT flags) { return Expected{msg, false, Check::PosFlags, flags}; }

std::vector<Logged> DetailedMessagesOf(HWND hwnd) {
    std::vector<Logged> out;
    for (const Logged& l : Log())
        if (l.hwnd == hwnd && (!IsNoise(l.msg) || l.msg == WM_GETMINMAXINFO)) out.push_back(l);
    return out;
}

namespace {

constexpr UINT kUndocumentedPosFlags = 0x0800 | 0x1000;

bool RowMatches(const Logged& l, const Expected& e) {
    if (l.msg != e.msg) return false;
    switch (e.check) {
        case Check::WParam: return l.wParam == e.value;
        case Check::PosFlags: return (l.posFlags & ~kUndocumentedPosFlags) == e.value;
        default: return true;
    }
}

std::string Describe(const Logged& l) {
    std::ostringstream out;
    out << MessageName(l.msg);
    if (l.msg == WM_WINDOWPOSCHANGING || l.msg == WM_WINDOWPOSCHANGED)
        out << "(0x" << std::hex << (l.posFlags & ~kUndocumentedPosFlags) << ")";
    else if (l.wParam <= 0xFFFF)
        out << "(" << l.wParam << ")";
    return out.str();
}

}  // namespace

::testing::AssertionResult SequenceMatches(const std::vector<Logged>& actual, const std::vector<Expected>& expected) {
    std::size_t a = 0;
    auto all = [&] {
        std::ostringstream out;
        for (const Logged& l : actual) out << ' ' << Describe(l);
        return out.str();
    };
    for (const Expected& e : expected) {
        if (a < actual.size() && RowMatches(actual[a], e)) ++a;
        else if (!e.optional)
            return ::testing::AssertionFailure() << "expected " << MessageName(e.msg) << " (value 0x" << std::hex
                                                 << e.value << ") at position " << std::dec << a
                                                 << "; actual sequence:" << all();
    }
    if (a != actual.size())
        return ::testing::AssertionFailure() << "unexpected trailing " << Describe(actual[a])
                                             << "; actual sequence:" << all();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SequenceMatches(const std::vector<UINT>& actual, const std::vector<Expected>& expected) {
    std::size_t a = 0;
    for (const Expected& e : expected) {
        if (a < actual.size() && actual[a] == e.msg) {
            ++a;
        } else if (!e.optional) {
            std::ostringstream out;
            out << "expected " << MessageName(e.msg) << " at position " << a << "; actual sequence:";
            for (UINT m : actual) out << ' ' << MessageName(m);
            return ::testing::AssertionFailure() << out.str();
        }
    }
    if (a != actual.size()) {
        std::ostringstream out;
        out << "unexpected trailing " << MessageName(actual[a]) << "; actual sequence:";
        for (UINT m : actual) out << ' ' << MessageName(m);
        return ::testing::AssertionFailure() << out.str();
    }
    return ::testing::AssertionSuccess();
}

LRESULT RecorderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    UINT posFlags = 0;
    if (msg == WM_WINDOWPOSCHANGING || msg == WM_WINDOWPOSCHANGED) posFlags = reinterpret_cast<WINDOWPOS*>(lParam)->flags;
    Log().push_back(Logged{hwnd, msg, wParam, lParam, posFlags});
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

platform::headless::HeadlessBackend& Screen() { return test_support::HeadlessScreen(); }

void WindowTest::SetUp() {
    Screen();
    static bool registered = [] {
        WNDCLASS wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = RecorderProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(16));  // COLOR_BTNFACE + 1
        wc.lpszClassName = "Recorder";
        return RegisterClass(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    Pump();
    Log().clear();
}

void WindowTest::TearDown() {
    ReleaseCapture();
    for (;;) {
        HWND top = GetTopWindow(nullptr);
        if (!top) break;
        DestroyWindow(top);
    }
    Pump();
    Log().clear();
}

HWND WindowTest::CreateTop(const char* title, DWORD style, RECT r, DWORD exStyle) {
    return CreateWindowEx(exStyle, "Recorder", title, style, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
                          nullptr, nullptr, nullptr);
}

HWND WindowTest::CreateChild(HWND parent, RECT r, DWORD style, DWORD exStyle) {
    return CreateWindowEx(exStyle, "Recorder", "", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                          nullptr, nullptr, nullptr);
}

void WindowTest::Pump() {
    MSG msg;
    for (int guard = 0; guard < 10000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
        if (msg.message == WM_QUIT) break;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

void WindowTest::FillClient(HWND w, COLORREF color) {
    HDC dc = GetDC(w);
    RECT r;
    GetClientRect(w, &r);
    HBRUSH b = CreateSolidBrush(color);
    FillRect(dc, &r, b);
    DeleteObject(b);
    ReleaseDC(w, dc);
}

std::uint32_t WindowTest::ScreenPixel(int x, int y) {
    Pump();
    std::vector<std::uint32_t> screen = Screen().ComposeScreen();
    return screen[static_cast<std::size_t>(y) * Screen().ScreenSize().cx + x] & 0xFFFFFF;
}

}  // namespace testing_support
