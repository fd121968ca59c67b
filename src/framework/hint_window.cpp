#include "framework/hint_window.h"

#include <algorithm>

#include "platform/gdi_text.h"

namespace framework {

namespace {
constexpr const char* kClass = "THintWindow";
}

THintWindow::THintWindow() {
    WNDCLASS wc{};
    wc.style = CS_SAVEBITS | CS_DROPSHADOW;
    wc.lpfnWndProc = &THintWindow::WndProc;
    wc.lpszClassName = kClass;
    RegisterClass(&wc);
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font_ = CreateFontIndirect(&metrics.lfStatusFont);
}

THintWindow::~THintWindow() {
    ReleaseHandle();
    if (font_) DeleteObject(font_);
}

LRESULT THintWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<THintWindow*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_PAINT:
        if (self) self->Paint();
        else ValidateRect(hwnd, nullptr);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

void THintWindow::ActivateHint(POINT cursor, const std::string& text) {
    text_ = text;
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font_);
    RECT r{0, 0, 300, 0};
    DrawText(screen, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    int w = r.right + 6, h = r.bottom + 2;
    int x = cursor.x, y = cursor.y + GetSystemMetrics(SM_CYCURSOR) / 2 + 4;
    x = std::clamp(x, 0, std::max(0, GetSystemMetrics(SM_CXSCREEN) - w));
    if (y + h > GetSystemMetrics(SM_CYSCREEN)) y = cursor.y - h - 4;
    if (!hwnd_) {
        hwnd_ = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kClass, "", WS_POPUP | WS_BORDER,
                               x, y, w, h, nullptr, nullptr, nullptr, nullptr);
        SetWindowLongPtr(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    SetWindowText(hwnd_, text.c_str());
    SetWindowPos(hwnd_, HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void THintWindow::Paint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT r{};
    GetClientRect(hwnd_, &r);
    HBRUSH bg = CreateSolidBrush(ColorToRGB(Color));
    FillRect(dc, &r, bg);
    DeleteObject(bg);
    HGDIOBJ old = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    InflateRect(&r, -2, 0);
    DrawText(dc, text_.c_str(), static_cast<int>(text_.size()), &r, DT_NOPREFIX | DT_WORDBREAK | DT_VCENTER);
    SelectObject(dc, old);
    EndPaint(hwnd_, &ps);
}

void THintWindow::ReleaseHandle() {
    if (hwnd_) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

bool THintWindow::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

}  // namespace framework
