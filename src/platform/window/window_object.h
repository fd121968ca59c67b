// Internal state of the window system: classes, windows and the top-level surfaces.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/region.h"
#include "platform/window.h"
#include "platform/zeroed_pixels.h"

namespace platform::win {

struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int cbWndExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON iconSmall = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    ATOM atom = 0;
};

// The pixels of a top-level window and what of them the backend has not shown yet.
struct Surface {
    SurfaceId id = 0;
    ZeroedPixels storage;
    gdi::PixelBuffer buffer;
    Region damage;            // surface coordinates
    bool mapped = false;      // shown by the backend
    bool layered = false;     // pixels come from UpdateLayeredWindow
    BYTE opacity = 255;
    SurfaceParams params;     // the style the backend was last given (surface_sync.cpp)

    void Resize(int width, int height);
};

struct Window {
    HWND handle = nullptr;
    const WindowClass* cls = nullptr;
    WNDPROC proc = nullptr;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR userData = 0;
    LONG_PTR id = 0;
    HINSTANCE instance = nullptr;
    HMENU menu = nullptr;
    Window* parent = nullptr;    // child windows only
    Window* owner = nullptr;     // top-level windows only
    std::vector<Window*> children;  // z-order, topmost first
    RECT rect{};                 // window rectangle: parent's client coordinates, or screen
    RECT client{};               // client rectangle, in the same coordinates as rect
    Region update;               // window coordinates (origin at rect's top-left)
    bool erasePending = false;
    bool ncPaintPending = false;
    bool internalPaint = false;
    std::unique_ptr<Region> shape;  // SetWindowRgn, window coordinates
    std::map<std::string, HANDLE> props;
    std::vector<BYTE> extra;
    HICON iconBig = nullptr;
    HICON iconSmall = nullptr;
    bool created = false;        // WM_NCCREATE answered
    bool destroying = false;
    bool minimized = false;
    bool maximized = false;
    bool restoreToMaximized = false;  // minimised from the maximised state
    bool needSize = false;       // overlapped: WM_SIZE and WM_MOVE wait for the first show
    bool hadSysMenu = false;     // has had WS_SYSMENU: keeps its system menu when the bit goes
    RECT restoreRect{};
    DWORD trackFlags = 0;        // TrackMouseEvent: TME_LEAVE, TME_NONCLIENT
    COLORREF layeredKey = 0;
    BYTE layeredAlpha = 255;
    DWORD layeredFlags = 0;
    bool hitTransparent = false;  // a top-level that answers WM_NCHITTEST with HTTRANSPARENT
    std::unique_ptr<Surface> surface;  // top-level windows that have been shown

    bool IsChild() const { return (style & WS_CHILD) != 0 && parent != nullptr; }
    int Width() const { return rect.right - rect.left; }
    int Height() const { return rect.bottom - rect.top; }
    // Client rectangle relative to the window's top-left corner.
    RECT ClientInWindow() const {
        return RECT{client.left - rect.left, client.top - rect.top, client.right - rect.left,
                    client.bottom - rect.top};
    }
};

// Looks a handle up; null for destroyed and unknown handles.
Window* FromHandle(HWND hwnd);
// All live top-level windows in z-order, topmost first.
std::vector<Window*>& TopLevels();
const WindowClass* FindClass(const std::string& name);

Window* TopLevelOf(Window* w);
// The window's top-left corner in its top-level's surface coordinates.
POINT OriginInSurface(const Window* w);
// The window's top-left corner in screen coordinates.
POINT ScreenOrigin(const Window* w);
// True when the window and all its ancestors have WS_VISIBLE.
bool IsReallyVisible(const Window* w);

}  // namespace platform::win
