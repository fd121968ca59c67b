// Surfaces as undecorated X windows: creating, showing, placing, stacking, shaping and naming
// them, and what the window manager does for them (moving, minimising, activating), the
// pointer and the cursor.
#include "platform/x11/x11_internal.h"

#include <X11/Xatom.h>
#include <X11/cursorfont.h>
#include <X11/extensions/shape.h>
#include <unistd.h>

#include <algorithm>

namespace platform::x11 {

void X11Backend::SetProperties(Surf& s, const SurfaceParams& p) {
    MotifHints hints{2, 0, 0, 0, 0};  // decorations: none, our frame is drawn by the program
    XChangeProperty(dpy_, s.window, A("_MOTIF_WM_HINTS"), A("_MOTIF_WM_HINTS"), 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), 5);
    XClassHint cls{const_cast<char*>("utrozvon"), const_cast<char*>("Utrozvon")};
    XSetClassHint(dpy_, s.window, &cls);
    Atom protocols[] = {A("WM_DELETE_WINDOW")};
    XSetWMProtocols(dpy_, s.window, protocols, 1);
    long pid = getpid();
    XChangeProperty(dpy_, s.window, A("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&pid), 1);
    const char* type = p.role == SurfaceRole::Dialog ? "_NET_WM_WINDOW_TYPE_DIALOG"
                       : p.role == SurfaceRole::Utility ? "_NET_WM_WINDOW_TYPE_UTILITY"
                       : p.role == SurfaceRole::PopupMenu ? "_NET_WM_WINDOW_TYPE_POPUP_MENU"
                       : p.role == SurfaceRole::Tooltip ? "_NET_WM_WINDOW_TYPE_TOOLTIP"
                                                        : "_NET_WM_WINDOW_TYPE_NORMAL";
    Atom typeAtom = A(type);
    XChangeProperty(dpy_, s.window, A("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&typeAtom), 1);
    std::vector<Atom> state;
    if (p.topmost) state.push_back(A("_NET_WM_STATE_ABOVE"));
    if (p.skipTaskbar) state.push_back(A("_NET_WM_STATE_SKIP_TASKBAR"));
    if (!state.empty())
        XChangeProperty(dpy_, s.window, A("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(state.data()), static_cast<int>(state.size()));
    XSizeHints* size = XAllocSizeHints();
    size->flags = PPosition | USPosition;
    size->x = p.screenRect.left;
    size->y = p.screenRect.top;
    if (p.fixedSize) {
        size->flags |= PMinSize | PMaxSize;
        size->min_width = size->max_width = std::max(1, static_cast<int>(p.screenRect.right - p.screenRect.left));
        size->min_height = size->max_height = std::max(1, static_cast<int>(p.screenRect.bottom - p.screenRect.top));
    }
    XSetWMNormalHints(dpy_, s.window, size);
    XFree(size);
    XWMHints* wm = XAllocWMHints();
    wm->flags = InputHint;
    wm->input = p.acceptsFocus ? True : False;
    XSetWMHints(dpy_, s.window, wm);
    XFree(wm);
    if (p.transientFor)
        if (Surf* owner = Find(p.transientFor)) XSetTransientForHint(dpy_, s.window, owner->window);
    SetSurfaceTitle(IdOf(s.window), p.title);
}

SurfaceId X11Backend::CreateSurface(const SurfaceParams& p) {
    SurfaceId id = nextId_++;
    Surf& s = surfaces_[id];
    s.rect = p.screenRect;
    s.overrideRedirect = p.overrideRedirect;
    // Layered surfaces get the 32-bit visual with alpha, which a compositor blends; it needs
    // its own colormap and an explicit border pixel.
    bool argb = p.layered && LayeredSupported();
    s.visual = argb ? argbVisual_ : DefaultVisual(dpy_, screen_);
    s.depth = argb ? 32 : DefaultDepth(dpy_, screen_);
    XSetWindowAttributes attrs{};
    attrs.background_pixmap = None;
    attrs.border_pixel = 0;
    attrs.override_redirect = p.overrideRedirect ? True : False;
    attrs.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                       KeyReleaseMask | FocusChangeMask | StructureNotifyMask | EnterWindowMask | LeaveWindowMask;
    unsigned long mask = CWBackPixmap | CWBorderPixel | CWOverrideRedirect | CWEventMask;
    if (argb) {
        s.colormap = attrs.colormap = XCreateColormap(dpy_, root_, s.visual, AllocNone);
        mask |= CWColormap;
    }
    int w = std::max(1, static_cast<int>(p.screenRect.right - p.screenRect.left));
    int h = std::max(1, static_cast<int>(p.screenRect.bottom - p.screenRect.top));
    s.window = XCreateWindow(dpy_, root_, p.screenRect.left, p.screenRect.top, w, h, 0, s.depth, InputOutput, s.visual,
                             mask, &attrs);
    AllocateStore(s, w, h);
    if (im_)
        s.ic = XCreateIC(im_, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, s.window, XNFocusWindow,
                         s.window, nullptr);
    SetProperties(s, p);
    return id;
}

void X11Backend::DestroySurface(SurfaceId id) {
    Surf* s = Find(id);
    if (!s) return;
    if (s->ic) XDestroyIC(s->ic);
    if (s->gc) XFreeGC(dpy_, s->gc);
    XDestroyWindow(dpy_, s->window);
    if (s->colormap) XFreeColormap(dpy_, s->colormap);
    surfaces_.erase(id);
    XFlush(dpy_);
}

void X11Backend::ShowSurface(SurfaceId id, bool show, bool activate) {
    Surf* s = Find(id);
    if (!s) return;
    if (show) {
        XMapRaised(dpy_, s->window);
        if (activate && !s->overrideRedirect) Activate(id);
    } else {
        XUnmapWindow(dpy_, s->window);
    }
    s->mapped = show;
    XFlush(dpy_);
}

void X11Backend::MoveSurface(SurfaceId id, const RECT& r) {
    Surf* s = Find(id);
    if (!s) return;
    int w = std::max(1, static_cast<int>(r.right - r.left)), h = std::max(1, static_cast<int>(r.bottom - r.top));
    bool resized = w != s->rect.right - s->rect.left || h != s->rect.bottom - s->rect.top;
    s->rect = r;
    if (resized) {
        // A shared store was resized by the core already, before it moved the surface.
        if (!s->shared) AllocateStore(*s, w, h);
        XSizeHints* size = XAllocSizeHints();
        long supplied = 0;
        XGetWMNormalHints(dpy_, s->window, size, &supplied);
        if (size->flags & PMinSize) {
            size->min_width = size->max_width = w;
            size->min_height = size->max_height = h;
            XSetWMNormalHints(dpy_, s->window, size);
        }
        XFree(size);
    }
    XMoveResizeWindow(dpy_, s->window, r.left, r.top, static_cast<unsigned>(w), static_cast<unsigned>(h));
    XFlush(dpy_);
}

void X11Backend::RestackSurfaces(const std::vector<SurfaceId>& topToBottom) {
    std::vector<::Window> windows;
    for (SurfaceId id : topToBottom)
        if (Surf* s = Find(id); s && s->mapped) windows.push_back(s->window);
    if (windows.size() > 1) XRestackWindows(dpy_, windows.data(), static_cast<int>(windows.size()));
}

void X11Backend::SetSurfaceShape(SurfaceId id, const Region* shape) {
    Surf* s = Find(id);
    if (!s) return;
    if (!shape) {
        XShapeCombineMask(dpy_, s->window, ShapeBounding, 0, 0, None, ShapeSet);
        return;
    }
    std::vector<XRectangle> rects;
    for (const RECT& r : shape->Rects())
        rects.push_back(XRectangle{static_cast<short>(r.left), static_cast<short>(r.top),
                                   static_cast<unsigned short>(r.right - r.left), static_cast<unsigned short>(r.bottom - r.top)});
    XShapeCombineRectangles(dpy_, s->window, ShapeBounding, 0, 0, rects.data(), static_cast<int>(rects.size()), ShapeSet,
                            YXBanded);
}

void X11Backend::SetSurfaceTitle(SurfaceId id, const std::string& title) {
    Surf* s = Find(id);
    if (!s) return;
    XChangeProperty(dpy_, s->window, A("_NET_WM_NAME"), A("UTF8_STRING"), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
    XStoreName(dpy_, s->window, title.c_str());
}

void X11Backend::SetSurfaceIcon(SurfaceId id, const IconPixels& icon) {
    Surf* s = Find(id);
    if (!s || icon.width <= 0 || icon.height <= 0) return;
    std::vector<long> data{icon.width, icon.height};
    for (std::uint32_t p : icon.argb) data.push_back(static_cast<long>(p));
    XChangeProperty(dpy_, s->window, A("_NET_WM_ICON"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(data.data()), static_cast<int>(data.size()));
}


bool X11Backend::BeginMoveResize(SurfaceId id, int hitCode, POINT screen) {
    Surf* s = Find(id);
    if (!s || !WmSupports("_NET_WM_MOVERESIZE")) return false;
    // _NET_WM_MOVERESIZE directions for the sizing hit codes (HTLEFT .. HTBOTTOMRIGHT), then move.
    static const long kDirection[] = {7, 3, 1, 0, 2, 5, 6, 4};
    long direction = hitCode >= 10 && hitCode <= 17 ? kDirection[hitCode - 10] : 8;
    XUngrabPointer(dpy_, CurrentTime);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = s->window;
    e.xclient.message_type = A("_NET_WM_MOVERESIZE");
    e.xclient.format = 32;
    e.xclient.data.l[0] = screen.x;
    e.xclient.data.l[1] = screen.y;
    e.xclient.data.l[2] = direction;
    e.xclient.data.l[3] = Button1;
    e.xclient.data.l[4] = 1;
    XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XFlush(dpy_);
    return true;
}

void X11Backend::Minimize(SurfaceId id) {
    if (Surf* s = Find(id)) XIconifyWindow(dpy_, s->window, screen_);
    XFlush(dpy_);
}

void X11Backend::Activate(SurfaceId id) {
    Surf* s = Find(id);
    if (!s || !s->mapped) return;
    if (WmSupports("_NET_ACTIVE_WINDOW")) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = s->window;
        e.xclient.message_type = A("_NET_ACTIVE_WINDOW");
        e.xclient.format = 32;
        e.xclient.data.l[0] = 1;
        XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    } else {
        // Without a window manager the window is only focusable once it is viewable.
        XWindowAttributes attrs{};
        XGetWindowAttributes(dpy_, s->window, &attrs);
        if (attrs.map_state == IsViewable) XSetInputFocus(dpy_, s->window, RevertToParent, CurrentTime);
    }
    XFlush(dpy_);
}

void X11Backend::GrabPointer(SurfaceId id, bool grab) {
    Surf* s = Find(id);
    if (grab && s) {
        XGrabPointer(dpy_, s->window, True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                     GrabModeAsync, None, None, CurrentTime);
    } else {
        XUngrabPointer(dpy_, CurrentTime);
    }
    XFlush(dpy_);
}

POINT X11Backend::PointerPosition() const {
    ::Window r, c;
    int rx = 0, ry = 0, wx, wy;
    unsigned mask;
    XQueryPointer(dpy_, root_, &r, &c, &rx, &ry, &wx, &wy, &mask);
    return POINT{rx, ry};
}

void X11Backend::WarpPointer(POINT p) {
    XWarpPointer(dpy_, None, root_, 0, 0, 0, 0, p.x, p.y);
    XFlush(dpy_);
}

void X11Backend::SetCursorShape(SurfaceId id, int shape) {
    Surf* s = Find(id);
    if (!s) return;
    unsigned font = XC_left_ptr;
    switch (shape) {
        case 32513: font = XC_xterm; break;
        case 32514: font = XC_watch; break;
        case 32515: font = XC_crosshair; break;
        case 32642: case 32643: font = XC_sizing; break;
        case 32644: font = XC_sb_h_double_arrow; break;
        case 32645: font = XC_sb_v_double_arrow; break;
        case 32646: font = XC_fleur; break;
        case 32649: font = XC_hand2; break;
        default: break;
    }
    auto it = cursors_.find(static_cast<int>(font));
    if (it == cursors_.end()) it = cursors_.emplace(static_cast<int>(font), XCreateFontCursor(dpy_, font)).first;
    XDefineCursor(dpy_, s->window, it->second);
}


}  // namespace platform::x11
