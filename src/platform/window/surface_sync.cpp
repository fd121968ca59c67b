// Keeping a top-level's surface in step with its style. Styles changed at run time (layered,
// topmost, tool window, no-activate, click-through, sizing frame) reach the backend, and a
// window that stops being layered paints and shows as a normal window again.
#include <algorithm>
#include <cstring>

#include "platform/window/window_system.h"

namespace platform::win {
namespace {

bool SameStyle(const SurfaceParams& a, const SurfaceParams& b) {
    return a.role == b.role && a.overrideRedirect == b.overrideRedirect && a.layered == b.layered &&
           a.topmost == b.topmost && a.skipTaskbar == b.skipTaskbar && a.fixedSize == b.fixedSize &&
           a.acceptsFocus == b.acceptsFocus && a.clickThrough == b.clickThrough &&
           a.transientFor == b.transientFor;
}

// A layered window without a caption may take no pointer at all (glow windows answer
// HTTRANSPARENT everywhere). It is asked once, at its centre, when its surface is made or
// becomes layered, so that the display never gives it the pointer; hit testing corrects the
// answer later if it changes. Windows with a caption are forms: they are not asked.
void ProbeHitTransparent(Window* top) {
    static bool probing = false;  // a window that draws while it answers is not asked again
    if (probing || !(top->exStyle & WS_EX_LAYERED) || (top->style & WS_CAPTION) == WS_CAPTION ||
        !top->proc)
        return;
    probing = true;
    HWND h = top->handle;
    POINT c{(top->rect.left + top->rect.right) / 2, (top->rect.top + top->rect.bottom) / 2};
    LRESULT code = Send(top, WM_NCHITTEST, 0, MAKELPARAM(c.x, c.y));
    probing = false;
    if (Window* w = FromHandle(h)) w->hitTransparent = code == HTTRANSPARENT;
}

// The core's pixels move into memory of its own while the backend may replace the store it
// handed out (a new window with another visual frees the old one).
void DetachPixels(Window* top) {
    Surface* s = top->surface.get();
    if (!s->storage.empty() && reinterpret_cast<BYTE*>(s->storage.data()) == s->buffer.bits) return;
    ZeroedPixels own(static_cast<std::size_t>(s->buffer.width) * s->buffer.height);
    for (int y = 0; y < s->buffer.height; ++y)
        std::memcpy(own.data() + static_cast<std::size_t>(y) * s->buffer.width, s->buffer.Row(y),
                    static_cast<std::size_t>(s->buffer.width) * 4);
    s->storage = std::move(own);
    s->buffer = gdi::PixelBuffer{reinterpret_cast<BYTE*>(s->storage.data()), s->buffer.width,
                                 s->buffer.height, s->buffer.width * 4, 32};
    RetargetDCs(top);
}

// As with the real system: a window that becomes layered shows nothing until it is given a
// picture (UpdateLayeredWindow) or an opacity (SetLayeredWindowAttributes); one that stops
// being layered forgets both, and is painted again in full.
void ApplyLayeredChange(Window* top, bool layered) {
    Surface* s = top->surface.get();
    Region all(0, 0, s->buffer.width, s->buffer.height);
    top->layeredFlags = 0;
    top->layeredAlpha = 255;
    top->layeredKey = 0;
    s->layered = layered;
    s->opacity = 255;
    s->damage = all;
    if (layered) {
        for (int y = 0; y < s->buffer.height; ++y)
            std::memset(s->buffer.Row(y), 0, static_cast<std::size_t>(s->buffer.width) * 4);
        return;
    }
    InvalidateWindow(top, Region(0, 0, top->Width(), top->Height()),
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void RestackSurfaces() {
    std::vector<SurfaceId> ids;
    for (Window* t : TopLevels())
        if (t->surface) ids.push_back(t->surface->id);
    GetBackend().RestackSurfaces(ids);
}

}  // namespace

SurfaceParams SurfaceParamsFor(Window* top) {
    SurfaceParams params;
    params.screenRect = top->rect;
    params.layered = (top->exStyle & WS_EX_LAYERED) != 0;
    params.topmost = (top->exStyle & WS_EX_TOPMOST) != 0;
    params.skipTaskbar =
        (top->exStyle & WS_EX_TOOLWINDOW) != 0 || (top->owner && !(top->exStyle & WS_EX_APPWINDOW));
    params.fixedSize = !(top->style & WS_THICKFRAME);
    params.overrideRedirect =
        (top->style & WS_POPUP) && !(top->style & WS_CAPTION) && !(top->exStyle & WS_EX_APPWINDOW);
    params.acceptsFocus = !(top->exStyle & WS_EX_NOACTIVATE);
    params.clickThrough =
        (params.layered && (top->exStyle & WS_EX_TRANSPARENT)) || top->hitTransparent;
    params.role = (top->exStyle & WS_EX_TOOLWINDOW) ? SurfaceRole::Utility
                  : top->owner                      ? SurfaceRole::Dialog
                                                    : SurfaceRole::Normal;
    if (params.overrideRedirect) params.role = SurfaceRole::Overlay;
    if (top->owner && top->owner->surface) params.transientFor = top->owner->surface->id;
    params.title = top->text;
    return params;
}

SurfaceParams NewSurfaceParams(Window* top) {
    HWND h = top->handle;
    ProbeHitTransparent(top);
    Window* w = FromHandle(h);
    return SurfaceParamsFor(w ? w : top);
}

void SyncSurfaceStyle(Window* top) {
    if (!top || top->IsChild()) return;
    bool layered = (top->exStyle & WS_EX_LAYERED) != 0;
    if (!top->surface) {
        if (!layered) top->layeredFlags = 0;
        return;
    }
    HWND h = top->handle;
    if (layered && !top->surface->params.layered) {
        ProbeHitTransparent(top);
        if (!(top = FromHandle(h)) || !top->surface) return;
    }
    SurfaceParams params = SurfaceParamsFor(top);
    Surface* s = top->surface.get();
    if (params.layered != s->params.layered) ApplyLayeredChange(top, params.layered);
    if (SameStyle(params, s->params)) return;
    s->params = params;
    DetachPixels(top);
    GetBackend().UpdateSurface(s->id, params);
    s->Resize(top->Width(), top->Height());  // into the backend's store again; all is presented
    RetargetDCs(top);
    RestackSurfaces();
}

void NoteHitTransparent(Window* top, bool transparent) {
    if (!top || top->IsChild() || top->hitTransparent == transparent) return;
    top->hitTransparent = transparent;
    SyncSurfaceStyle(top);
}

void SyncAllSurfaceStyles() {
    std::vector<HWND> tops;
    for (Window* t : TopLevels()) tops.push_back(t->handle);
    for (HWND h : tops) SyncSurfaceStyle(FromHandle(h));
}

}  // namespace platform::win
