// Surfaces as undecorated X windows: creating, showing, placing, stacking, shaping and naming
// them, and what the window manager does for them (moving, minimising, activating), the
// pointer and the cursor.

// Our headers before Xlib's, whose macros clash with our names.
// clang-format off
#include "platform/window.h"
#include "platform/x11/x11_internal.h"
// clang-format on

#include <X11/Xatom.h>
#include <X11/cursorfont.h>
#include <X11/extensions/shape.h>
#include <unistd.h>

#include <algorithm>

namespace platform::x11 {

namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            KeyPressMask | KeyReleaseMask | FocusChangeMask | StructureNotifyMask |
                            EnterWindowMask | LeaveWindowMask | PropertyChangeMask;

// _NET_WM_STATE client message actions.
constexpr long kNetStateRemove = 0;
constexpr long kNetStateAdd = 1;

}  // namespace

void X11Backend::SetProperties(Surf& s, const SurfaceParams& p) {
    MotifHints hints{2, 0, 0, 0, 0};  // decorations: none, our frame is drawn by the program
    XChangeProperty(dpy_, s.window, A("_MOTIF_WM_HINTS"), A("_MOTIF_WM_HINTS"), 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), 5);
    XClassHint cls{const_cast<char*>("utrozvon"), const_cast<char*>("Utrozvon")};
    XSetClassHint(dpy_, s.window, &cls);
    Atom protocols[] = {A("WM_DELETE_WINDOW")};
    XSetWMProtocols(dpy_, s.window, protocols, 1);
    long pid = getpid();
    XChangeProperty(dpy_, s.window, A("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&pid), 1);
    const char* type = p.role == SurfaceRole::Dialog      ? "_NET_WM_WINDOW_TYPE_DIALOG"
                       : p.role == SurfaceRole::Utility   ? "_NET_WM_WINDOW_TYPE_UTILITY"
                       : p.role == SurfaceRole::PopupMenu ? "_NET_WM_WINDOW_TYPE_POPUP_MENU"
                       : p.role == SurfaceRole::Tooltip   ? "_NET_WM_WINDOW_TYPE_TOOLTIP"
                                                          : "_NET_WM_WINDOW_TYPE_NORMAL";
    Atom typeAtom = A(type);
    XChangeProperty(dpy_, s.window, A("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&typeAtom), 1);
    XSizeHints* size = XAllocSizeHints();
    size->flags = PPosition | USPosition;
    size->x = s.rect.left;
    size->y = s.rect.top;
    if (p.fixedSize) {
        size->flags |= PMinSize | PMaxSize;
        size->min_width = size->max_width =
            std::max(1, static_cast<int>(s.rect.right - s.rect.left));
        size->min_height = size->max_height =
            std::max(1, static_cast<int>(s.rect.bottom - s.rect.top));
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
    if (!p.transientFor) XDeleteProperty(dpy_, s.window, XA_WM_TRANSIENT_FOR);
}

// Above and skip-taskbar: written as the property before the window is mapped; afterwards the
// window manager owns the property and is asked by client messages.
void X11Backend::SetWmState(Surf& s, const SurfaceParams& old, const SurfaceParams& p) {
    if (!s.serverMapped) {
        std::vector<Atom> state;
        if (p.topmost) state.push_back(A("_NET_WM_STATE_ABOVE"));
        if (p.skipTaskbar) state.push_back(A("_NET_WM_STATE_SKIP_TASKBAR"));
        XChangeProperty(dpy_, s.window, A("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(state.data()),
                        static_cast<int>(state.size()));
        return;
    }
    auto ask = [&](bool was, bool now, const char* atom) {
        if (was == now) return;
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = s.window;
        e.xclient.message_type = A("_NET_WM_STATE");
        e.xclient.format = 32;
        e.xclient.data.l[0] = now ? kNetStateAdd : kNetStateRemove;
        e.xclient.data.l[1] = static_cast<long>(A(atom));
        e.xclient.data.l[3] = 1;  // a normal application
        XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    };
    ask(old.topmost, p.topmost, "_NET_WM_STATE_ABOVE");
    ask(old.skipTaskbar, p.skipTaskbar, "_NET_WM_STATE_SKIP_TASKBAR");
}

// The visible shape, and the input shape: a click-through surface takes no pointer at all, so
// the server gives it (and its cursor) to whatever lies beneath.
void X11Backend::ApplyShapes(Surf& s) {
    if (s.shaped)
        XShapeCombineRectangles(dpy_, s.window, ShapeBounding, 0, 0, s.shape.data(),
                                static_cast<int>(s.shape.size()), ShapeSet, YXBanded);
    else
        XShapeCombineMask(dpy_, s.window, ShapeBounding, 0, 0, None, ShapeSet);
    if (s.params.clickThrough)
        XShapeCombineRectangles(dpy_, s.window, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
    else
        XShapeCombineMask(dpy_, s.window, ShapeInput, 0, 0, None, ShapeSet);
}

std::vector<RECT> X11Backend::BoundingShape(unsigned long window) {
    int count = 0, ordering = 0;
    XRectangle* rects = XShapeGetRectangles(dpy_, window, ShapeBounding, &count, &ordering);
    std::vector<RECT> result;
    for (int i = 0; i < count; ++i)
        result.push_back(RECT{rects[i].x, rects[i].y, rects[i].x + rects[i].width,
                              rects[i].y + rects[i].height});
    if (rects) XFree(rects);
    return result;
}

// Makes the X window of a surface as its style asks, dressed with everything the surface
// keeps (title, icon, shapes, cursor). Layered surfaces get the 32-bit visual with alpha,
// which a compositor blends; it needs its own colormap and an explicit border pixel.
void X11Backend::MakeWindow(Surf& s, const SurfaceParams& p) {
    bool argb = p.layered && LayeredSupported();
    s.visual = argb ? argbVisual_ : DefaultVisual(dpy_, screen_);
    s.depth = argb ? 32 : DefaultDepth(dpy_, screen_);
    XSetWindowAttributes attrs{};
    attrs.background_pixmap = None;
    attrs.border_pixel = 0;
    attrs.override_redirect = p.overrideRedirect ? True : False;
    attrs.event_mask = kEventMask;
    unsigned long mask = CWBackPixmap | CWBorderPixel | CWOverrideRedirect | CWEventMask;
    if (argb) {
        s.colormap = attrs.colormap = XCreateColormap(dpy_, root_, s.visual, AllocNone);
        mask |= CWColormap;
    }
    int w = std::max(1, static_cast<int>(s.rect.right - s.rect.left));
    int h = std::max(1, static_cast<int>(s.rect.bottom - s.rect.top));
    s.window =
        XCreateWindow(dpy_, root_, s.rect.left, s.rect.top, static_cast<unsigned>(w),
                      static_cast<unsigned>(h), 0, s.depth, InputOutput, s.visual, mask, &attrs);
    s.serverMapped = false;
    s.opacity = 255;
    AllocateStore(s, w, h);
    CreateInputContext(s);
    SetProperties(s, p);
    SetWmState(s, p, p);
    XChangeProperty(dpy_, s.window, A("_NET_WM_NAME"), A("UTF8_STRING"), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(s.title.data()),
                    static_cast<int>(s.title.size()));
    XStoreName(dpy_, s.window, s.title.c_str());
    if (!s.icon.empty())
        XChangeProperty(dpy_, s.window, A("_NET_WM_ICON"), XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(s.icon.data()),
                        static_cast<int>(s.icon.size()));
    ApplyShapes(s);
    if (s.cursor) XDefineCursor(dpy_, s.window, s.cursor);
}

SurfaceId X11Backend::CreateSurface(const SurfaceParams& p) {
    SurfaceId id = nextId_++;
    Surf& s = surfaces_[id];
    s.rect = p.screenRect;
    s.params = p;
    s.title = p.title;
    MakeWindow(s, p);
    return id;
}

void X11Backend::DropRetired(Surf& s) {
    if (!s.retired) return;
    XDestroyWindow(dpy_, s.retired);
    if (s.retiredColormap) XFreeColormap(dpy_, s.retiredColormap);
    s.retired = 0;
    s.retiredColormap = 0;
}

// Per-pixel alpha needs the other visual, and a window's visual is fixed: a new window takes
// the old one's place. A shown surface keeps the old window on the screen until the new one
// has its first frame; the focus follows.
void X11Backend::RemakeWindow(SurfaceId id, Surf& s, const SurfaceParams& p) {
    ::Window focus = None;
    int revert = 0;
    XGetInputFocus(dpy_, &focus, &revert);
    bool hadFocus = focus == s.window;
    if (s.ic) XDestroyIC(s.ic);
    if (s.gc) XFreeGC(dpy_, s.gc);
    s.ic = nullptr;
    s.gc = nullptr;
    s.shared = false;
    DropRetired(s);
    ::Window old = s.window;
    Colormap oldColormap = s.colormap;
    s.colormap = 0;
    s.params = p;
    MakeWindow(s, p);
    for (auto& [otherId, other] : surfaces_)
        if (other.params.transientFor == id) XSetTransientForHint(dpy_, other.window, s.window);
    if (s.mapped) {
        s.retired = old;
        s.retiredColormap = oldColormap;
        s.awaitingFrame = true;
        s.activateOnMap = s.activateOnMap || hadFocus;
    } else {
        XDestroyWindow(dpy_, old);
        if (oldColormap) XFreeColormap(dpy_, oldColormap);
    }
}

void X11Backend::UpdateSurface(SurfaceId id, const SurfaceParams& p) {
    Surf* s = Find(id);
    if (!s) return;
    bool argb = p.layered && LayeredSupported();
    if (argb != (s->depth == 32)) {
        RemakeWindow(id, *s, p);
        XFlush(dpy_);
        return;
    }
    SurfaceParams old = s->params;
    s->params = p;
    SetProperties(*s, p);
    SetWmState(*s, old, p);
    ApplyShapes(*s);
    if (old.overrideRedirect != p.overrideRedirect) {
        // Window managers look at this only when a window is mapped.
        XSetWindowAttributes attrs{};
        attrs.override_redirect = p.overrideRedirect ? True : False;
        bool remap = s->serverMapped;
        if (remap) XUnmapWindow(dpy_, s->window);
        XChangeWindowAttributes(dpy_, s->window, CWOverrideRedirect, &attrs);
        if (remap) {
            s->stateSerial = NextRequest(dpy_);
            XMapWindow(dpy_, s->window);
        }
    }
    XFlush(dpy_);
}

void X11Backend::DestroySurface(SurfaceId id) {
    Surf* s = Find(id);
    if (!s) return;
    if (s->ic) XDestroyIC(s->ic);
    if (s->gc) XFreeGC(dpy_, s->gc);
    DropRetired(*s);
    XDestroyWindow(dpy_, s->window);
    if (s->colormap) XFreeColormap(dpy_, s->colormap);
    if (pendingGrab_ == id) pendingGrab_ = 0;
    surfaces_.erase(id);
    XFlush(dpy_);
}

// Showing only asks for the window: it is mapped with its first presented frame (MapNow), so
// it never appears empty. A surface that is mapped already (minimised by the window manager)
// is asked back at once.
void X11Backend::ShowSurface(SurfaceId id, bool show, bool activate) {
    Surf* s = Find(id);
    if (!s) return;
    activate = activate && !s->params.overrideRedirect;
    if (show && !s->mapped) {
        s->mapped = true;
        s->awaitingFrame = true;
        s->activateOnMap = activate;
    } else if (show && s->awaitingFrame) {
        s->activateOnMap = s->activateOnMap || activate;
    } else if (show) {
        if (s->wmState == SurfaceState::Minimized) s->wmState = SurfaceState::Normal;
        s->stateSerial = NextRequest(dpy_);
        XMapRaised(dpy_, s->window);
        if (activate) Activate(id);
    } else if (s->mapped) {
        s->mapped = false;
        s->awaitingFrame = false;
        s->activateOnMap = false;
        DropRetired(*s);
        s->stateSerial = NextRequest(dpy_);
        XWithdrawWindow(dpy_, s->window, screen_);
    }
    XFlush(dpy_);
}

void X11Backend::CreateInputContext(Surf& s) {
    if (im_)
        s.ic = XCreateIC(im_, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow,
                         s.window, XNFocusWindow, s.window, nullptr);
}

void X11Backend::MapNow(Surf& s) {
    if (!inputMethodTried_) inputMethodWanted_ = true;
    s.awaitingFrame = false;
    s.stateSerial = NextRequest(dpy_);
    // A replacement is already stacked where the old window is; a new window comes up on top.
    if (s.retired)
        XMapWindow(dpy_, s.window);
    else
        XMapRaised(dpy_, s.window);
    DropRetired(s);
}

void X11Backend::MoveSurface(SurfaceId id, const RECT& r) {
    Surf* s = Find(id);
    if (!s) return;
    int w = std::max(1, static_cast<int>(r.right - r.left)),
        h = std::max(1, static_cast<int>(r.bottom - r.top));
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
    XMoveResizeWindow(dpy_, s->window, r.left, r.top, static_cast<unsigned>(w),
                      static_cast<unsigned>(h));
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
    s->shaped = shape != nullptr;
    s->shape.clear();
    if (shape)
        for (const RECT& r : shape->Rects())
            s->shape.push_back(XRectangle{static_cast<short>(r.left), static_cast<short>(r.top),
                                          static_cast<unsigned short>(r.right - r.left),
                                          static_cast<unsigned short>(r.bottom - r.top)});
    ApplyShapes(*s);
}

void X11Backend::SetSurfaceTitle(SurfaceId id, const std::string& title) {
    Surf* s = Find(id);
    if (!s) return;
    s->title = title;
    XChangeProperty(dpy_, s->window, A("_NET_WM_NAME"), A("UTF8_STRING"), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    XStoreName(dpy_, s->window, title.c_str());
}

void X11Backend::SetSurfaceIcon(SurfaceId id, const IconPixels& icon) {
    Surf* s = Find(id);
    if (!s || icon.width <= 0 || icon.height <= 0) return;
    s->icon = {icon.width, icon.height};
    for (std::uint32_t p : icon.argb) s->icon.push_back(static_cast<long>(p));
    XChangeProperty(dpy_, s->window, A("_NET_WM_ICON"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(s->icon.data()),
                    static_cast<int>(s->icon.size()));
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
    Surf* s = Find(id);
    if (!s) return;
    s->wmState = SurfaceState::Minimized;
    if (s->awaitingFrame) {
        // Minimised before its first frame: it is mapped as an icon, so that the task bar
        // offers it, instead of waiting for a frame a minimised window never paints.
        XWMHints* wm = XGetWMHints(dpy_, s->window);
        if (!wm) wm = XAllocWMHints();
        wm->flags |= StateHint;
        wm->initial_state = IconicState;
        XSetWMHints(dpy_, s->window, wm);
        XFree(wm);
        s->activateOnMap = false;
        MapNow(*s);
        XFlush(dpy_);
        return;
    }
    s->stateSerial = NextRequest(dpy_);
    XIconifyWindow(dpy_, s->window, screen_);
    XFlush(dpy_);
}

void X11Backend::Activate(SurfaceId id) {
    Surf* s = Find(id);
    if (!s || !s->mapped) return;
    if (s->awaitingFrame) {
        s->activateOnMap = true;
        return;
    }
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
        if (attrs.map_state == IsViewable)
            XSetInputFocus(dpy_, s->window, RevertToParent, CurrentTime);
    }
    XFlush(dpy_);
}

// A surface waiting for its first frame cannot take the pointer yet: it takes it when mapped.
void X11Backend::GrabPointer(SurfaceId id, bool grab) {
    Surf* s = Find(id);
    pendingGrab_ = grab && s && s->awaitingFrame ? id : 0;
    if (pendingGrab_) return;
    if (grab && s) {
        XGrabPointer(dpy_, s->window, True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                     GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
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

namespace {

// The X font cursors that stand for the system's cursors; any other id shows the arrow.
struct CursorFont {
    LPCSTR id;
    unsigned font;
};
const CursorFont kCursorFonts[] = {
    {IDC_IBEAM, XC_xterm},
    {IDC_WAIT, XC_watch},
    {IDC_CROSS, XC_crosshair},
    {IDC_SIZENWSE, XC_sizing},
    {IDC_SIZENESW, XC_sizing},
    {IDC_SIZEWE, XC_sb_h_double_arrow},
    {IDC_SIZENS, XC_sb_v_double_arrow},
    {IDC_SIZEALL, XC_fleur},
    {IDC_HAND, XC_hand2},
};

unsigned FontCursorFor(int shape) {
    for (const CursorFont& c : kCursorFonts)
        if (reinterpret_cast<std::uintptr_t>(c.id) == static_cast<std::uintptr_t>(shape))
            return c.font;
    return XC_left_ptr;
}

}  // namespace

void X11Backend::SetCursorShape(SurfaceId id, int shape) {
    Surf* s = Find(id);
    if (!s) return;
    unsigned font = FontCursorFor(shape);
    auto it = cursors_.find(static_cast<int>(font));
    if (it == cursors_.end())
        it = cursors_.emplace(static_cast<int>(font), XCreateFontCursor(dpy_, font)).first;
    s->cursor = it->second;
    XDefineCursor(dpy_, s->window, it->second);
}

}  // namespace platform::x11
