// Presenting a surface's pixels: the store the core draws into (shared memory where the server
// offers it) and putting its damaged parts into the window.

// Our headers before Xlib's, whose macros clash with our names.
// clang-format off
#include "platform/x11/x11_internal.h"
// clang-format on

#include <X11/Xatom.h>

#include <algorithm>

namespace platform::x11 {

void X11Backend::AllocateStore(Surf& s, int width, int height) {
    s.shm = useShm_ ? ShmImage::Create(dpy_, s.visual, s.depth, width, height) : nullptr;
    if (useShm_ && !s.shm) useShm_ = false;  // one failure is enough to know
    s.pixels.assign(s.shm ? 0 : static_cast<std::size_t>(width) * height, 0);
    s.storeWidth = width;
    s.storeHeight = height;
}

std::uint32_t* X11Backend::SharedSurfaceStore(SurfaceId id, int width, int height) {
    Surf* s = Find(id);
    if (!s) return nullptr;
    if (!useShm_) {
        s->shared = false;  // the core keeps its own pixels from now on
        return nullptr;
    }
    if (!s->shm || s->storeWidth != width || s->storeHeight != height)
        AllocateStore(*s, width, height);
    s->shared = s->shm != nullptr;
    return s->shared ? s->shm->Pixels() : nullptr;
}

void X11Backend::PutPixels(Surf& s, const RECT& r) {
    int w = std::min<int>(s.rect.right - s.rect.left, s.storeWidth);
    int h = std::min<int>(s.rect.bottom - s.rect.top, s.storeHeight);
    RECT c = RectIntersection(r, RECT{0, 0, w, h});
    if (RectIsEmpty(c)) return;
    if (!s.gc) s.gc = XCreateGC(dpy_, s.window, 0, nullptr);
    GC gc = s.gc;
    if (s.shm) {
        s.shm->Put(s.window, gc, c.left, c.top, c.right - c.left, c.bottom - c.top);
        return;
    }
    // A 32-bit image in the server's byte order: Xlib then copies without converting.
    XImage* image =
        XCreateImage(dpy_, s.visual, static_cast<unsigned>(s.depth), ZPixmap, 0,
                     reinterpret_cast<char*>(s.pixels.data()), static_cast<unsigned>(s.storeWidth),
                     static_cast<unsigned>(s.storeHeight), 32, s.storeWidth * 4);
    if (!image) return;
    XPutImage(dpy_, s.window, gc, image, c.left, c.top, c.left, c.top,
              static_cast<unsigned>(c.right - c.left), static_cast<unsigned>(c.bottom - c.top));
    image->data = nullptr;  // the pixels belong to the surface
    XDestroyImage(image);
}

void X11Backend::Present(SurfaceId id, const gdi::PixelBuffer& pixels, const Region& damage,
                         bool perPixelAlpha, BYTE opacity) {
    Surf* s = Find(id);
    if (!s) return;
    if (opacity != s->opacity) {
        // Compositors scale the whole window by this property; without it a window is opaque.
        s->opacity = opacity;
        unsigned long value = static_cast<unsigned long>(opacity) * 0xFFFFFFFFul / 255;
        if (opacity == 255)
            XDeleteProperty(dpy_, s->window, A("_NET_WM_WINDOW_OPACITY"));
        else
            XChangeProperty(dpy_, s->window, A("_NET_WM_WINDOW_OPACITY"), XA_CARDINAL, 32,
                            PropModeReplace, reinterpret_cast<unsigned char*>(&value), 1);
    }
    // On a 32-bit visual the alpha byte counts: pixels drawn without alpha are opaque.
    std::uint32_t forceOpaque = s->depth == 32 && !perPixelAlpha ? 0xFF000000u : 0;
    int w = s->storeWidth, h = s->storeHeight;
    Region area =
        damage.Intersected(Region(0, 0, std::min(w, pixels.width), std::min(h, pixels.height)));
    std::uint32_t* store = s->Store();
    // Pixels drawn straight into the shared store need no copy, only their alpha made opaque.
    bool direct = reinterpret_cast<const std::uint32_t*>(pixels.bits) == store;
    for (const RECT& r : area.Rects()) {
        if (direct && !forceOpaque) continue;
        for (int y = r.top; y < r.bottom; ++y) {
            const auto* src = reinterpret_cast<const std::uint32_t*>(pixels.Row(y)) + r.left;
            std::uint32_t* dst = &store[static_cast<std::size_t>(y) * w + r.left];
            for (int x = 0; x < r.right - r.left; ++x) dst[x] = src[x] | forceOpaque;
        }
    }
    // A surface shown since its last frame appears now, with the whole picture.
    if (s->awaitingFrame && !area.IsEmpty()) {
        MapNow(*s);
        PutPixels(*s, RECT{0, 0, w, h});
        if (s->activateOnMap) {
            s->activateOnMap = false;
            Activate(id);
        }
        if (pendingGrab_ == id) GrabPointer(id, true);
    } else {
        for (const RECT& r : area.Rects()) PutPixels(*s, r);
    }
    // Shared pixels may change as soon as this returns: the server must have read them.
    if (s->shm)
        XSync(dpy_, False);
    else
        XFlush(dpy_);
}

}  // namespace platform::x11
