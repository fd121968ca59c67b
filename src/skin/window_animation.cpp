#include "skin/window_animation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <type_traits>

#include "framework/canvas.h"
#include "framework/graphic.h"
#include "platform/clock.h"
#include "platform/gdi.h"
#include "skin/capture_window.h"
#include "skin/skin_commands.h"
#include "skin/skin_engine.h"

namespace skin {
namespace {

using framework::TBitmap;
using framework::TCustomForm;

constexpr const char* kAnimationClass = "TsAnimationWindow";
constexpr UINT kFullRedraw =
    RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;

TsAnimationObserver& Observer() {
    static TsAnimationObserver observer;
    return observer;
}

TsLayeredQuery g_layeredQuery = nullptr;

bool LayeredAvailable() {
    return g_layeredQuery ? g_layeredQuery() : platform::LayeredWindowsAvailable();
}

// The form's whole window: the provider's rendered picture underneath, the form and its
// children captured over it, every pixel opaque.
std::unique_ptr<TBitmap> CaptureForm(TCustomForm& form) {
    HWND hwnd = form.Handle();
    auto* link = reinterpret_cast<TsProviderLink*>(
        SendMessage(hwnd, SM_SKINCMD, SkinCommandWParam(scGetProvider), 0));
    TBitmap* rendered = link ? link->RenderWindowPicture() : nullptr;
    RECT window{};
    GetWindowRect(hwnd, &window);
    int width = rendered ? rendered->Width() : window.right - window.left;
    int height = rendered ? rendered->Height() : window.bottom - window.top;
    auto picture = std::make_unique<TBitmap>(std::max(width, 1), std::max(height, 1),
                                             framework::TPixelFormat::pf32bit);
    if (rendered)
        BitBlt(picture->Canvas().Handle(), 0, 0, width, height, rendered->Canvas().Handle(), 0, 0,
               SRCCOPY);
    CaptureWindow(*picture, form, 0, 0);
    for (int y = 0; y < picture->Height(); ++y) {
        std::uint8_t* row = picture->ScanLine(y);
        for (int x = 0; x < picture->Width(); ++x) row[x * 4 + 3] = 255;
    }
    return picture;
}

LRESULT AnimationWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCHITTEST) return HTTRANSPARENT;
    return DefWindowProc(hwnd, message, wParam, lParam);
}

struct WindowDeleter {
    void operator()(HWND hwnd) const { DestroyWindow(hwnd); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

// Topmost over a topmost form, else directly above the form; never activated.
UniqueWindow CreateAnimationWindow(HWND form, SIZE size) {
    static bool registered = false;
    if (!registered) {
        WNDCLASS wc{};
        wc.lpfnWndProc = &AnimationWindowProc;
        wc.lpszClassName = kAnimationClass;
        RegisterClass(&wc);
        registered = true;
    }
    RECT r{};
    GetWindowRect(form, &r);
    bool topmost = (GetWindowLong(form, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    DWORD exStyle =
        WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | (topmost ? WS_EX_TOPMOST : 0);
    UniqueWindow window(CreateWindowEx(exStyle, kAnimationClass, "", WS_POPUP, r.left, r.top,
                                       size.cx, size.cy, nullptr, nullptr, nullptr, nullptr));
    if (!window) return window;
    SetWindowLongPtr(window.get(), GWLP_USERDATA, kAnimationWindowTag);
    HWND above = topmost ? HWND_TOPMOST : GetWindow(form, GW_HWNDPREV);
    SetWindowPos(window.get(), above ? above : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return window;
}

void PutPicture(HWND window, TBitmap& picture, BYTE opacity) {
    SIZE size{picture.Width(), picture.Height()};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, opacity, AC_SRC_ALPHA};
    UpdateLayeredWindow(window, nullptr, nullptr, &size, picture.Canvas().Handle(), &origin, 0,
                        &blend, ULW_ALPHA);
}

// Nearest-neighbour stretch of `source` into `box` of the cleared `frame`.
void StretchInto(TBitmap& frame, const TBitmap& source, const RECT& box) {
    for (int y = 0; y < frame.Height(); ++y)
        std::memset(frame.ScanLine(y), 0, static_cast<size_t>(frame.Width()) * 4);
    int width = box.right - box.left, height = box.bottom - box.top;
    if (width <= 0 || height <= 0) return;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = source.ScanLine(
            static_cast<int>(static_cast<std::int64_t>(y) * source.Height() / height));
        std::uint8_t* to = frame.ScanLine(box.top + y) + static_cast<std::ptrdiff_t>(box.left) * 4;
        for (int x = 0; x < width; ++x)
            std::memcpy(to + x * 4,
                        from + static_cast<std::int64_t>(x) * source.Width() / width * 4, 4);
    }
}

// Waits for the frame timer while dispatching everything else; false once WM_QUIT arrived
// (posted again for the outer loop).
bool WaitForFrame(UINT_PTR frameTimer) {
    for (;;) {
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == frameTimer) return true;
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
        WaitMessage();
    }
}

struct TimerDeleter {
    void operator()(UINT_PTR* id) const {
        KillTimer(nullptr, *id);
        delete id;
    }
};

void Report(const TsAnimationFrame& frame) {
    if (Observer()) Observer()(frame);
}

// Frames dispatch messages: the form may be destroyed or hidden meanwhile. It is touched only
// while its window still belongs to it.
bool StillShowing(TCustomForm& form, HWND hwnd) {
    return IsWindow(hwnd) && framework::TWinControl::FindControl(hwnd) == &form && form.Showing();
}

// The frames of steps >= 1: opacity accumulated as a real number, the aero box growing from
// an eighth inside every edge to the full picture.
void RunFrames(TCustomForm& form, HWND window, TBitmap& picture, int steps, BYTE target,
               TacAnimType mode) {
    const HWND hwnd = form.Handle();
    int width = picture.Width(), height = picture.Height();
    TBitmap frame(width, height, framework::TPixelFormat::pf32bit);
    double step = static_cast<double>(target) / steps;
    double opacity = 0;
    double insetX = mode == atAero ? width / 8.0 : 0, insetY = mode == atAero ? height / 8.0 : 0;
    double growX = width / (8.0 * steps), growY = height / (8.0 * steps);
    std::unique_ptr<UINT_PTR, TimerDeleter> timer(
        new UINT_PTR(SetTimer(nullptr, 0, kAnimationFrameMilliseconds, nullptr)));
    for (int i = 0; i <= steps && StillShowing(form, hwnd); ++i) {
        opacity = std::min<double>(target, opacity + step);
        BYTE shown = static_cast<BYTE>(std::lround(opacity));
        RECT box{static_cast<LONG>(std::lround(insetX)), static_cast<LONG>(std::lround(insetY)),
                 width - static_cast<LONG>(std::lround(insetX)),
                 height - static_cast<LONG>(std::lround(insetY))};
        TBitmap& shownImage = mode == atAero ? frame : picture;
        if (mode == atAero) StretchInto(frame, picture, box);
        PutPicture(window, shownImage, shown);
        Report({i, steps + 1, shown, box, window, platform::MonotonicMilliseconds(), &shownImage});
        insetX = std::max(0.0, insetX - growX);
        insetY = std::max(0.0, insetY - growY);
        if (!WaitForFrame(*timer)) return;
    }
}

void RunLayered(TCustomForm& form, std::uint16_t time, BYTE target, TacAnimType mode) {
    AnimatingSkinChange = true;
    std::unique_ptr<TBitmap> picture = CaptureForm(form);
    int steps = std::min(time, kMaxAnimationTime) / 10;
    UniqueWindow window =
        CreateAnimationWindow(form.Handle(), SIZE{picture->Width(), picture->Height()});
    if (!window) return;
    PutPicture(window.get(), *picture, steps >= 1 ? 0 : target);
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    if (steps >= 1)
        RunFrames(form, window.get(), *picture, steps, target, mode);
    else
        Report({0, 1, target, RECT{0, 0, picture->Width(), picture->Height()}, window.get(),
                platform::MonotonicMilliseconds(), picture.get()});
}

// Hands over to the real window.
void Finish(TCustomForm& form, BYTE target) {
    AnimatingSkinChange = false;
    if (!form.HandleAllocated()) return;
    if (form.AlphaBlend()) form.SetAlphaBlendValue(target);
    HWND hwnd = form.Handle();
    SendMessage(hwnd, WM_SETREDRAW, 1, 0);
    // Hidden while it animated: unfreezing gave the window its visible style back.
    if (!form.Showing()) {
        ShowWindow(hwnd, SW_HIDE);
        return;
    }
    RedrawWindow(hwnd, nullptr, nullptr, kFullRedraw);
}

}  // namespace

void SetAnimationObserver(TsAnimationObserver observer) {
    Observer() = std::move(observer);
}

void SetLayeredQuery(TsLayeredQuery query) {
    g_layeredQuery = query;
}

bool LayeredAnimationAvailable() {
    return LayeredAvailable();
}

// Frames dispatch messages, so the form may be destroyed meanwhile; it is only touched again
// while its window still belongs to it.
void AnimateWindowIn(TCustomForm& form, std::uint16_t time, BYTE target, TacAnimType mode) {
    if (!form.HandleAllocated()) return;
    HWND hwnd = form.Handle();
    auto stillThere = [&] {
        return IsWindow(hwnd) && framework::TWinControl::FindControl(hwnd) == &form;
    };
    if (LayeredAnimationAvailable()) {
        try {
            RunLayered(form, time, target, mode);
        } catch (...) {
            AnimatingSkinChange = false;
            if (stillThere()) Finish(form, target);
            throw;
        }
    }
    AnimatingSkinChange = false;
    if (stillThere()) Finish(form, target);
}

}  // namespace skin
