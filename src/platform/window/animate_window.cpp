// AnimateWindow's blend. The real call returns only when the animation is over; ours does too,
// but it never sleeps: it runs a modal loop that draws each frame at the opacity the time
// passed gives, and between frames dispatches whatever arrives (timers, paints, input), so the
// program's timers keep ticking while a window fades.
#include <algorithm>
#include <set>

#include "platform/clock.h"
#include "platform/window/window_system.h"

namespace platform::win {
namespace {

// The frame clock: a thread timer that wakes the loop for the next frame.
constexpr UINT kFrameMilliseconds = 10;

std::set<HWND>& Animating() {
    static std::set<HWND> windows;
    return windows;
}

bool ShowFrame(HWND hwnd, BYTE opacity) {
    Window* w = FromHandle(hwnd);
    if (!w || !w->surface) return false;
    w->surface->opacity = opacity;
    w->surface->damage = Region(0, 0, w->surface->buffer.width, w->surface->buffer.height);
    PresentAll();
    return true;
}

// Dispatches what is queued; false when WM_QUIT arrived (it is posted again for the outer loop).
bool DispatchPending(UINT_PTR frameTimer) {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == frameTimer) continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    return true;
}

void RunBlend(HWND hwnd, DWORD time, bool hide, BYTE target) {
    std::int64_t start = MonotonicMilliseconds();
    UINT_PTR frameTimer = SetTimer(nullptr, 0, kFrameMilliseconds, nullptr);
    for (;;) {
        std::int64_t elapsed = MonotonicMilliseconds() - start;
        if (elapsed >= static_cast<std::int64_t>(time)) break;
        std::int64_t shown = hide ? static_cast<std::int64_t>(time) - elapsed : elapsed;
        if (!ShowFrame(hwnd, static_cast<BYTE>(target * shown / time))) break;
        if (!DispatchPending(frameTimer) || !IsWindow(hwnd)) break;
        WaitMessage();
    }
    KillTimer(nullptr, frameTimer);
}

}  // namespace
}  // namespace platform::win

using namespace platform::win;
using platform::Region;

// Only the blend is offered: it fades a top-level window in or out over `time` milliseconds.
BOOL AnimateWindow(HWND hwnd, DWORD time, DWORD flags) {
    Window* w = FromHandle(hwnd);
    if (!w || w->IsChild() || !(flags & AW_BLEND) || Animating().count(hwnd)) return FALSE;
    bool hide = (flags & AW_HIDE) != 0;
    if (hide == !(w->style & WS_VISIBLE)) return FALSE;
    if (!hide) {
        ShowWindow(hwnd, (flags & AW_ACTIVATE) ? SW_SHOW : SW_SHOWNA);
        UpdateWindow(hwnd);
    }
    if (!(w = FromHandle(hwnd)) || !w->surface) return FALSE;
    BYTE target = w->surface->opacity;
    Animating().insert(hwnd);
    if (time > 0) RunBlend(hwnd, time, hide, target);
    Animating().erase(hwnd);
    if (!(w = FromHandle(hwnd)) || !w->surface) return FALSE;
    w->surface->opacity = target;
    w->surface->damage = Region(0, 0, w->surface->buffer.width, w->surface->buffer.height);
    if (hide) ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}
