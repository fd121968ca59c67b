// Activation of top-level windows and the keyboard focus.
#include <algorithm>

#include "platform/window/window_system.h"

namespace platform::win {
namespace {

HWND g_active = nullptr;
HWND g_focus = nullptr;
bool g_appActive = false;
int g_activationDepth = 0;

bool CanActivate(const Window* w) {
    return w && !w->IsChild() && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED) &&
           !(w->exStyle & WS_EX_NOACTIVATE) && !w->destroying;
}

void BringToTop(Window* w) {
    auto& tops = TopLevels();
    if (!tops.empty() && tops.front() == w) return;
    SetWindowPos(w->handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // Owned windows stay above their owner.
    std::vector<HWND> owned;
    for (Window* t : TopLevels())
        if (t->owner == w && (t->style & WS_VISIBLE)) owned.push_back(t->handle);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it)
        SetWindowPos(*it, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Deactivate(Window* old, HWND next) {
    HWND h = old->handle;
    Send(old, WM_NCACTIVATE, FALSE, 0);
    if ((old = FromHandle(h))) Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, old->minimized), reinterpret_cast<LPARAM>(next));
}

void SetAppActive(bool active, HWND except) {
    if (g_appActive == active) return;
    g_appActive = active;
    std::vector<HWND> tops;
    for (Window* t : TopLevels()) tops.push_back(t->handle);
    for (HWND t : tops)
        if (t != except) SendMessage(t, WM_ACTIVATEAPP, active, 0);
    if (except) SendMessage(except, WM_ACTIVATEAPP, active, 0);
}

}  // namespace

Window* ActiveWindow() { return FromHandle(g_active); }
Window* FocusWindow() { return FromHandle(g_focus); }

void ActivateWindow(Window* w, WORD how) {
    HWND target = w ? w->handle : nullptr;
    if (target == g_active && (g_appActive || !target)) return;
    if (w && !CanActivate(w)) return;
    if (g_activationDepth > 4) return;
    ++g_activationDepth;
    Window* old = FromHandle(g_active);
    CBTACTIVATESTRUCT cbt{how == WA_CLICKACTIVE, g_active};
    if (target && CallCbtHook(HCBT_ACTIVATE, reinterpret_cast<WPARAM>(target), reinterpret_cast<LPARAM>(&cbt))) {
        --g_activationDepth;
        return;
    }
    if (old && old->handle != target) Deactivate(old, target);
    g_active = target;
    if ((w = FromHandle(target))) {
        BringToTop(w);
        SetAppActive(true, target);
        if ((w = FromHandle(target)) && w->surface && w->surface->mapped) GetBackend().Activate(w->surface->id);
        if ((w = FromHandle(target))) Send(w, WM_NCACTIVATE, TRUE, 0);
        if ((w = FromHandle(target)))
            Send(w, WM_ACTIVATE, MAKEWPARAM(how, w->minimized), reinterpret_cast<LPARAM>(old ? old->handle : nullptr));
    } else {
        SetAppActive(false, nullptr);
        if (g_focus) SetFocus(nullptr);
    }
    --g_activationDepth;
}

// Called when a window hides, minimises or is destroyed. As with the real system the
// activation moves first (the window hears WM_NCACTIVATE, WM_ACTIVATE and, when no window of
// the program takes over, WM_ACTIVATEAPP), and only then does it lose the focus.
void OnWindowDisappearing(Window* w) {
    HWND h = w->handle;
    if (g_active == h) {
        Window* next = nullptr;
        if (w->owner && CanActivate(w->owner)) next = w->owner;
        for (Window* t : TopLevels())
            if (!next && t != w && CanActivate(t) && !t->minimized) next = t;
        if (next) {
            ActivateWindow(next, WA_ACTIVE);
        } else {
            g_active = nullptr;
            Deactivate(w, nullptr);
            SetAppActive(false, nullptr);
        }
    }
    Window* gone = FromHandle(h);
    if (!gone || !g_focus || (g_focus != h && !IsChild(h, g_focus))) return;
    Window* parent = gone->IsChild() ? gone->parent : nullptr;
    SetFocus(parent && IsReallyVisible(parent) ? parent->handle : nullptr);
}

void BackendFocusChanged(SurfaceId surface, bool in) {
    Window* target = nullptr;
    for (Window* t : TopLevels())
        if (t->surface && t->surface->id == surface) target = t;
    if (in && target && target->handle != g_active) ActivateWindow(target, WA_ACTIVE);
    if (!in && target && target->handle == g_active) {
        Window* old = target;
        g_active = nullptr;
        Deactivate(old, nullptr);
        SetAppActive(false, nullptr);
    }
}

}  // namespace platform::win

using namespace platform::win;

HWND SetFocus(HWND hwnd) {
    HWND old = g_focus;
    Window* w = FromHandle(hwnd);
    if (hwnd && (!w || (w->style & WS_DISABLED))) return nullptr;
    if (hwnd == g_focus) return old;
    if (CallCbtHook(HCBT_SETFOCUS, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(old))) return nullptr;
    if (w) {
        Window* top = TopLevelOf(w);
        if (top->handle != g_active) ActivateWindow(top, WA_ACTIVE);
        if (!FromHandle(hwnd)) return nullptr;
        if (g_focus == hwnd) return old;
    }
    g_focus = hwnd;
    if (Window* o = FromHandle(old)) Send(o, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (g_focus == hwnd && (w = FromHandle(hwnd))) Send(w, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return IsWindow(old) ? old : nullptr;
}

HWND GetFocus() { return IsWindow(g_focus) ? g_focus : nullptr; }

HWND SetActiveWindow(HWND hwnd) {
    HWND old = g_active;
    Window* w = FromHandle(hwnd);
    if (hwnd && !w) return nullptr;
    if (w) w = TopLevelOf(w);
    ActivateWindow(w, WA_ACTIVE);
    return IsWindow(old) ? old : nullptr;
}

HWND GetActiveWindow() { return IsWindow(g_active) ? g_active : nullptr; }

BOOL SetForegroundWindow(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (!w) return FALSE;
    ActivateWindow(TopLevelOf(w), WA_ACTIVE);
    return TRUE;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }
