// The boundary between the portable window system and a display backend. A backend only
// provides top-level surfaces and events; all policy (window tree, z-order within a surface,
// clipping, painting, focus rules, hit testing) lives in the portable core.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/gdi_objects.h"
#include "platform/region.h"
#include "platform/types.h"

namespace platform {

using SurfaceId = std::uint64_t;

enum class SurfaceRole { Normal, Dialog, Utility, PopupMenu, Tooltip, Overlay };

struct SurfaceParams {
    RECT screenRect{};
    SurfaceRole role = SurfaceRole::Normal;
    bool overrideRedirect = false;  // menus, tooltips, glow windows: placed exactly, never focused
    bool layered = false;           // per-pixel alpha
    bool topmost = false;
    bool skipTaskbar = false;
    bool fixedSize = false;
    bool acceptsFocus = true;
    // The pointer passes to whatever lies beneath, on the display as in the core's hit testing.
    // The core sets it for layered windows with WS_EX_TRANSPARENT and for top-levels that
    // answer WM_NCHITTEST with HTTRANSPARENT (glow windows). Since the display must know before
    // the pointer arrives, a layered window without a caption is asked at its centre when its
    // surface is made or becomes layered; hit testing corrects the answer whenever it asks the
    // window itself.
    bool clickThrough = false;
    SurfaceId transientFor = 0;
    std::string title;
};

// What the window manager made of a surface (EventKind::SurfaceState's param). The core tells
// the window what the real system tells it when the task bar or Alt+Tab does the same: a
// posted WM_SYSCOMMAND with SC_MINIMIZE, SC_MAXIMIZE or SC_RESTORE, whose default handling
// does the rest (WM_SIZE, the minimised state cleared); a state the window is in already is
// an echo of its own request and tells it nothing.
enum class SurfaceState { Normal = 0, Minimized = 1, Maximized = 2 };

enum class EventKind {
    MouseMove,
    ButtonPress,
    ButtonRelease,
    Wheel,
    KeyPress,
    KeyRelease,
    Text,            // committed text without a key of its own (input method)
    FocusIn,         // the window manager gave a surface the focus
    FocusOut,
    CloseRequest,    // the window manager's close (becomes WM_SYSCOMMAND SC_CLOSE)
    SurfaceMoved,    // moved or sized by the window manager; rect is the new screen rectangle
    SurfaceExposed,  // nothing to do for the core: backends repaint from presented pixels
    SurfaceState,    // the window manager minimised, maximised or restored a surface; param is a
                     // SurfaceState. Only reported where the manager changed it, not the core.
    PointerLeft,     // the pointer left all of our surfaces
    TrayMouse,       // a mouse event on a tray icon; trayId, button, doubleClick, release
    TrayReset,       // a tray manager appeared; icons must be added again
    TrayLost,        // the tray manager went away and no other took its place
    TrayHover,       // the pointer over a tray icon; trayId, screen, param 1 entered, 2 moved, 0 left
    ScriptPost,      // a scripted command for the core (quit); param says which
};

enum class MouseButton { None = 0, Left = 1, Middle = 2, Right = 3 };

struct BackendEvent {
    EventKind kind = EventKind::MouseMove;
    SurfaceId surface = 0;  // 0: the core finds the surface from the screen point
    POINT screen{};         // pointer position in screen coordinates
    bool mainClientCoords = false;  // `screen` is in the main window's client coordinates
    MouseButton button = MouseButton::None;
    int wheelDelta = 0;     // multiples of 120
    bool doubleClick = false;
    // TrayMouse presses: the core tells a double click from `time` by the platform's
    // double-click time instead of trusting `doubleClick` (backends that see real clicks).
    bool countClicks = false;
    UINT vk = 0;
    UINT scanCode = 0;
    bool autoRepeat = false;
    std::string text;       // UTF-8 text a key press produced
    RECT rect{};
    int trayId = 0;
    int param = 0;
    DWORD time = 0;         // milliseconds, GetTickCount's clock
};

// An icon as a backend needs it: 32-bit straight-alpha ARGB pixels, top-down.
struct IconPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual const char* Name() const = 0;

    virtual SIZE ScreenSize() const = 0;
    virtual RECT WorkArea() const = 0;

    virtual SurfaceId CreateSurface(const SurfaceParams& params) = 0;
    virtual void DestroySurface(SurfaceId id) = 0;
    // Gives a surface new style parameters (everything but its rectangle and title, which have
    // calls of their own). Where the new ones need another kind of window (per-pixel alpha) the
    // backend makes a new one in its place, keeping position, size, stacking, shape, cursor,
    // visibility and focus; the pixels must then be presented again in full, into the store
    // SharedSurfaceStore hands out afresh.
    virtual void UpdateSurface(SurfaceId id, const SurfaceParams& params) = 0;
    // A shown surface appears on the screen with its first presented frame after the show,
    // never as an empty frame before it.
    virtual void ShowSurface(SurfaceId id, bool show, bool activate) = 0;
    virtual void MoveSurface(SurfaceId id, const RECT& screenRect) = 0;
    // Stacking among our own surfaces, topmost first.
    virtual void RestackSurfaces(const std::vector<SurfaceId>& topToBottom) = 0;
    // The visible shape in surface coordinates; null makes the surface rectangular again.
    virtual void SetSurfaceShape(SurfaceId id, const Region* shape) = 0;
    virtual void SetSurfaceTitle(SurfaceId id, const std::string& title) = 0;
    virtual void SetSurfaceIcon(SurfaceId id, const IconPixels& icon) = 0;
    // Shows the damaged part of a surface's pixels (32-bit BGRA, same size as the surface).
    // With perPixelAlpha the pixels are premultiplied and their alpha counts; otherwise they are
    // opaque. `opacity` scales the whole surface (layered windows).
    // Memory the backend presents from directly (width * 4 bytes a row) for the surface at
    // that size, so that presenting copies nothing; valid until the next call for the surface
    // or its destruction. Null: the core keeps its own pixels and Present copies them.
    virtual std::uint32_t* SharedSurfaceStore(SurfaceId, int /*width*/, int /*height*/) { return nullptr; }
    virtual void Present(SurfaceId id, const gdi::PixelBuffer& pixels, const Region& damage, bool perPixelAlpha,
                         BYTE opacity) = 0;
    virtual bool LayeredSupported() const = 0;

    // Move or size by the window manager; false when the core must run its own loop.
    virtual bool BeginMoveResize(SurfaceId id, int hitCode, POINT screen) = 0;
    virtual void Minimize(SurfaceId id) = 0;
    virtual void Activate(SurfaceId id) = 0;
    virtual void GrabPointer(SurfaceId id, bool grab) = 0;
    virtual POINT PointerPosition() const = 0;
    virtual void WarpPointer(POINT screen) = 0;
    // `shape` is the id of a system cursor (IDC_ARROW, IDC_IBEAM, ...); unknown ids show the arrow.
    virtual void SetCursorShape(SurfaceId id, int shape) = 0;

    // Events: Poll returns what is already there; Wait blocks up to timeoutMs (negative: no
    // limit) for new events and is only called while the program is idle.
    virtual std::optional<BackendEvent> Poll() = 0;
    virtual void Wait(int timeoutMs) = 0;
    // Wakes a Wait from another thread.
    virtual void Wake() = 0;

    virtual void SetClipboardText(const std::string& text) = 0;
    virtual std::optional<std::string> ClipboardText() = 0;

    virtual bool TrayAvailable() const = 0;
    virtual bool AddTrayIcon(int trayId, const IconPixels& icon, const std::string& tip) = 0;
    virtual bool UpdateTrayIcon(int trayId, const IconPixels& icon, const std::string& tip) = 0;
    virtual void RemoveTrayIcon(int trayId) = 0;
    virtual bool CompositorPresent() const = 0;
    // The monitors' rectangles in screen coordinates, the primary one first; one monitor
    // covering the whole screen where the backend knows no better.
    virtual std::vector<RECT> MonitorRects() const {
        SIZE s = ScreenSize();
        return {RECT{0, 0, s.cx, s.cy}};
    }
};

// The backend chosen by UTROZVON_BACKEND ("headless" or "x11"; default x11). Throws
// std::runtime_error with a clear message when no display can be opened.
std::unique_ptr<Backend> CreateBackendFromEnvironment();

// The backend the window system runs on; created on first use.
Backend& CurrentBackend();
// Replaces the backend (tests); the window system must have no windows then.
void InstallBackend(std::unique_ptr<Backend> backend);

}  // namespace platform
