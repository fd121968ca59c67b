// The paint cycle and whole-window context an edit paints its image through.
#pragma once

#include "framework/graphic.h"
#include "skin/skin_engine.h"

namespace paint {

// The paint cycle of a window and the context painted on, closed and released on every way
// out. A given context is neither released nor opens a cycle of its own: it belongs to a
// print or to another paint.
class WindowPaint {
  public:
    WindowPaint(HWND window, HDC given) : window_(given ? nullptr : window) {
        if (window_ && !skin::AnimatingSkinChange) cycle_ = BeginPaint(window_, &ps_) != nullptr;
        dc_ = given ? given : GetWindowDC(window);
        saved_ = SaveDC(dc_);
    }
    ~WindowPaint() {
        RestoreDC(dc_, saved_);
        if (window_) ReleaseDC(window_, dc_);
        if (cycle_) EndPaint(window_, &ps_);
    }
    WindowPaint(const WindowPaint&) = delete;
    WindowPaint& operator=(const WindowPaint&) = delete;
    HDC Dc() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
    int saved_ = 0;
    bool cycle_ = false;
};

}  // namespace paint
