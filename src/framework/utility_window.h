// A hidden window whose messages go to a method: the receiver of timers, tray callbacks and
// menu commands for components that have no window of their own.
#pragma once

#include "framework/messages.h"
#include <functional>

namespace framework {

class UtilityWindow {
public:
    explicit UtilityWindow(std::function<void(TMessage&)> handler);
    ~UtilityWindow();
    UtilityWindow(const UtilityWindow&) = delete;
    UtilityWindow& operator=(const UtilityWindow&) = delete;
    HWND Handle() const { return hwnd_; }

private:
    static LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    std::function<void(TMessage&)> handler_;
    HWND hwnd_ = nullptr;
};

}  // namespace framework
