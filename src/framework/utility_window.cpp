#include "framework/utility_window.h"

#include "framework/application.h"

namespace framework {

namespace {
constexpr const char* kClass = "TPUtilWindow";
}

UtilityWindow::UtilityWindow(std::function<void(TMessage&)> handler) : handler_(std::move(handler)) {
    static bool registered = false;
    if (!registered) {
        WNDCLASS wc{};
        wc.lpfnWndProc = &UtilityWindow::WndProc;
        wc.lpszClassName = kClass;
        RegisterClass(&wc);
        registered = true;
    }
    hwnd_ = CreateWindowEx(WS_EX_TOOLWINDOW, kClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtr(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

UtilityWindow::~UtilityWindow() {
    if (hwnd_) {
        SetWindowLongPtr(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

LRESULT UtilityWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<UtilityWindow*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProc(hwnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    try {
        self->handler_(m);
    } catch (...) {
        HandleEventException();
    }
    return m.Result;
}

}  // namespace framework
