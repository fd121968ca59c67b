// The backend in use, and the events of it that are not input.
#include <cstdio>
#include <functional>
#include <stdexcept>

#include "platform/gdi.h"
#include "platform/gdi/dib.h"
#include "platform/window/window_system.h"

namespace platform::win {
namespace {

std::unique_ptr<Backend>& BackendSlot() {
    static std::unique_ptr<Backend> backend;
    return backend;
}

std::function<void(const BackendEvent&)>& TrayHandler() {
    static std::function<void(const BackendEvent&)> handler;
    return handler;
}

// A second press of the same button on the same icon within the double-click time is a
// double click, as the real tray decides it; the press after a double click starts anew.
void CountTrayClicks(BackendEvent& e) {
    static int lastTray = 0;
    static MouseButton lastButton = MouseButton::None;
    static DWORD lastTime = 0;
    static bool armed = false;
    if (!e.countClicks || e.param != 1) return;
    e.doubleClick = armed && e.trayId == lastTray && e.button == lastButton && e.time - lastTime <= GetDoubleClickTime();
    armed = !e.doubleClick;
    lastTray = e.trayId;
    lastButton = e.button;
    lastTime = e.time;
}

void ApplyMoveByWindowManager(Window* w, const RECT& r) {
    RECT old = w->rect;
    w->rect = r;
    bool sized = r.right - r.left != old.right - old.left || r.bottom - r.top != old.bottom - old.top;
    if (sized) RecalcClient(w);
    else w->client = RectOffset(w->client, r.left - old.left, r.top - old.top);
    if (sized && w->surface) {
        w->surface->Resize(w->Width(), w->Height());
        RetargetDCs(w);
        InvalidateWindow(w, Region(0, 0, w->Width(), w->Height()), RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    WINDOWPOS wp{w->handle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 static_cast<UINT>(SWP_NOZORDER | SWP_NOACTIVATE | (sized ? 0 : SWP_NOSIZE))};
    Send(w, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
}

// The window manager changed a window's state (task bar, Alt+Tab, its keyboard): the window
// hears the system command the real system sends for that, and its default handling does the
// rest (WM_SIZE, the minimised state cleared). Reports that match the state are echoes of our
// own requests.
void ApplyStateByWindowManager(Window* w, SurfaceState state) {
    if (!(w->style & WS_VISIBLE)) return;
    WPARAM command = 0;
    switch (state) {
        case SurfaceState::Minimized:
            if (!w->minimized) command = SC_MINIMIZE;
            break;
        case SurfaceState::Maximized:
            if (w->minimized) command = SC_RESTORE;
            else if (!w->maximized) command = SC_MAXIMIZE;
            break;
        case SurfaceState::Normal:
            if (w->minimized || w->maximized) command = SC_RESTORE;
            break;
    }
    if (command) PostMessage(w->handle, WM_SYSCOMMAND, command, 0);
}

}  // namespace

Backend& GetBackend() {
    auto& slot = BackendSlot();
    if (!slot) slot = CreateBackendFromEnvironment();
    return *slot;
}

bool BackendReady() { return BackendSlot() != nullptr; }

Window* WindowOfSurface(SurfaceId id) {
    for (Window* t : TopLevels())
        if (t->surface && t->surface->id == id) return t;
    return nullptr;
}

void SetTrayEventHandler(std::function<void(const BackendEvent&)> handler) { TrayHandler() = std::move(handler); }

void DispatchBackendEvent(const BackendEvent& e) {
    switch (e.kind) {
        case EventKind::CloseRequest:
            if (Window* w = WindowOfSurface(e.surface)) PostMessage(w->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case EventKind::SurfaceMoved:
            if (Window* w = WindowOfSurface(e.surface)) ApplyMoveByWindowManager(w, e.rect);
            break;
        case EventKind::SurfaceState:
            if (Window* w = WindowOfSurface(e.surface)) ApplyStateByWindowManager(w, static_cast<SurfaceState>(e.param));
            break;
        case EventKind::TrayMouse: {
            BackendEvent counted = e;
            CountTrayClicks(counted);
            if (TrayHandler()) TrayHandler()(counted);
            break;
        }
        case EventKind::TrayReset: case EventKind::TrayHover: case EventKind::TrayLost:
            if (TrayHandler()) TrayHandler()(e);
            break;
        case EventKind::ScriptPost:
            if (HWND main = MainWindowHandle()) PostMessage(main, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        default: break;
    }
}

IconPixels IconPixelsOf(HICON icon) {
    IconPixels out;
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return out;
    BITMAP bm{};
    GetObject(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    int w = bm.bmWidth, h = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    if (w <= 0 || h <= 0 || w > 1024 || h > 1024) return out;
    void* bits = nullptr;
    HBITMAP dib = gdi::CreateTopDownDib(w, h, 32, &bits);
    if (!dib) return out;
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, dib);
    DrawIconEx(mem, 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
    out.width = w;
    out.height = h;
    out.argb.resize(static_cast<std::size_t>(w) * h);
    const auto* px = static_cast<const std::uint32_t*>(bits);
    // DrawIconEx over transparent black leaves premultiplied pixels; backends want straight alpha.
    for (std::size_t i = 0; i < out.argb.size(); ++i) {
        std::uint32_t p = px[i], a = p >> 24;
        if (a == 0) {
            out.argb[i] = 0;
            continue;
        }
        auto un = [a](std::uint32_t c) { return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a); };
        out.argb[i] = (a << 24) | (un((p >> 16) & 0xFF) << 16) | (un((p >> 8) & 0xFF) << 8) | un(p & 0xFF);
    }
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
    return out;
}

}  // namespace platform::win

namespace platform {

Backend& CurrentBackend() { return win::GetBackend(); }

void InstallBackend(std::unique_ptr<Backend> backend) { win::BackendSlot() = std::move(backend); }

}  // namespace platform
