// The small window that shows a control's hint under the pointer.
#pragma once

#include <string>

#include "framework/colors.h"
#include "platform/window.h"

namespace framework {

class THintWindow {
public:
    THintWindow();
    ~THintWindow();
    THintWindow(const THintWindow&) = delete;
    THintWindow& operator=(const THintWindow&) = delete;

    // Shows the text below and to the right of the cursor, kept on the screen.
    void ActivateHint(POINT cursor, const std::string& text);
    void ReleaseHandle();
    bool Visible() const;
    const std::string& Text() const { return text_; }
    HWND Handle() const { return hwnd_; }
    TColor Color = clInfoBk;

private:
    static LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Paint();
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    std::string text_;
};

}  // namespace framework
