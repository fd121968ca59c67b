// Layered windows: per-pixel alpha content from UpdateLayeredWindow, constant opacity from
// SetLayeredWindowAttributes (AnimateWindow's blend is in animate_window.cpp).
#include <algorithm>

#include "platform/gdi.h"
#include "platform/gdi/window_dc.h"
#include "platform/window/window_system.h"

namespace platform::win {
namespace {

bool IsLayeredTop(const Window* w) { return w && !w->IsChild() && (w->exStyle & WS_EX_LAYERED); }

void CopyFromDC(Window* w, HDC src, POINT srcPos) {
    Surface* s = EnsureSurface(w);
    if (!s) return;
    HDC dst = gdi::CreateWindowSurfaceDC(w->handle, s->buffer, POINT{0, 0}, Region(0, 0, s->buffer.width, s->buffer.height));
    BitBlt(dst, 0, 0, s->buffer.width, s->buffer.height, src, srcPos.x, srcPos.y, SRCCOPY);
    gdi::DestroyWindowSurfaceDC(dst);
    s->damage = Region(0, 0, s->buffer.width, s->buffer.height);
}

}  // namespace
}  // namespace platform::win

using namespace platform::win;
using platform::Region;

BOOL UpdateLayeredWindow(HWND hwnd, HDC, const POINT* dst, const SIZE* size, HDC src, const POINT* srcPos, COLORREF,
                         const BLENDFUNCTION* blend, DWORD flags) {
    Window* w = FromHandle(hwnd);
    if (!IsLayeredTop(w) || (w->layeredFlags & LWA_ALPHA)) return FALSE;
    if (dst || size) {
        RECT r = w->rect;
        int x = dst ? dst->x : r.left, y = dst ? dst->y : r.top;
        int cx = size ? size->cx : r.right - r.left, cy = size ? size->cy : r.bottom - r.top;
        SetWindowPos(hwnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        if (!(w = FromHandle(hwnd))) return FALSE;
    }
    if (src) CopyFromDC(w, src, srcPos ? *srcPos : POINT{0, 0});
    if (!w->surface) return FALSE;
    w->surface->layered = true;
    w->surface->opacity = (flags & ULW_OPAQUE) ? 255 : blend ? blend->SourceConstantAlpha : 255;
    PresentAll();
    return TRUE;
}

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags) {
    Window* w = FromHandle(hwnd);
    if (!IsLayeredTop(w)) return FALSE;
    w->layeredKey = key;
    w->layeredAlpha = alpha;
    w->layeredFlags = flags;
    if (Surface* s = EnsureSurface(w)) {
        s->opacity = (flags & LWA_ALPHA) ? alpha : 255;
        s->damage = Region(0, 0, s->buffer.width, s->buffer.height);
    }
    return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* key, BYTE* alpha, DWORD* flags) {
    Window* w = FromHandle(hwnd);
    if (!IsLayeredTop(w) || !w->layeredFlags) return FALSE;
    if (key) *key = w->layeredKey;
    if (alpha) *alpha = w->layeredAlpha;
    if (flags) *flags = w->layeredFlags;
    return TRUE;
}

namespace platform {
bool LayeredWindowsAvailable() { return win::GetBackend().LayeredSupported(); }
}  // namespace platform
