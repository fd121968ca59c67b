// The tip of a tray icon, shown as a tooltip when the pointer rests on the icon: the tray
// itself (XEmbed) has no tooltips of its own.
#include <algorithm>
#include <string>

#include "platform/gdi.h"
#include "platform/gdi_text.h"
#include "platform/shell/tray_tip.h"
#include "platform/window.h"

namespace platform::win {
namespace {

constexpr const char* kClass = "UtrozvonTrayTip";
constexpr UINT_PTR kShowTimer = 1;
constexpr UINT kShowDelayMs = 500;

struct TipState {
    HWND window = nullptr;
    HFONT font = nullptr;
    std::string text;
    POINT at{};
};

TipState& S() {
    static TipState s;
    return s;
}

SIZE Measure(HDC dc, const std::string& text) {
    RECT r{0, 0, 400, 0};
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
    return SIZE{r.right + 8, r.bottom + 4};
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r{};
    GetClientRect(hwnd, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
    HGDIOBJ old = SelectObject(dc, S().font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    InflateRect(&r, -3, -1);
    DrawText(dc, S().text.c_str(), static_cast<int>(S().text.size()), &r, DT_NOPREFIX | DT_WORDBREAK);
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
}

// Below the pointer, or above it when the tray sits at the bottom of the screen.
void Show() {
    TipState& s = S();
    if (s.text.empty()) return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, s.font);
    SIZE size = Measure(dc, s.text);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    size.cx += 2;  // border
    size.cy += 2;
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    int x = std::clamp<int>(s.at.x - size.cx / 2, 0, std::max<int>(0, sw - size.cx));
    int y = s.at.y + 20;
    if (y + size.cy > sh) y = s.at.y - size.cy - 8;
    SetWindowText(s.window, s.text.c_str());
    SetWindowPos(s.window, HWND_TOPMOST, x, y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(s.window, nullptr, TRUE);
}

LRESULT TipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_TIMER:
        KillTimer(hwnd, kShowTimer);
        Show();
        return 0;
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

void EnsureWindow() {
    TipState& s = S();
    if (s.window && IsWindow(s.window)) return;
    WNDCLASS wc{};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = &TipProc;
    wc.lpszClassName = kClass;
    RegisterClass(&wc);
    if (!s.font) {
        NONCLIENTMETRICS metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        s.font = CreateFontIndirect(&metrics.lfStatusFont);
    }
    s.window = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kClass, "", WS_POPUP | WS_BORDER, 0, 0,
                              1, 1, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

void TrayTipHover(const std::string& tip, POINT screen, bool inside) {
    TipState& s = S();
    if (!inside) {
        HideTrayTip();
        return;
    }
    EnsureWindow();
    s.at = screen;
    if (tip != s.text) {
        s.text = tip;
        if (IsWindowVisible(s.window)) Show();
    }
    if (!IsWindowVisible(s.window)) SetTimer(s.window, kShowTimer, kShowDelayMs, nullptr);
}

void HideTrayTip() {
    TipState& s = S();
    if (!s.window || !IsWindow(s.window)) return;
    KillTimer(s.window, kShowTimer);
    ShowWindow(s.window, SW_HIDE);
}

HWND TrayTipWindow() { return S().window; }

}  // namespace platform::win
