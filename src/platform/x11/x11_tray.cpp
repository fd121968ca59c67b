// Tray icons in an XEmbed system tray: docking, painting, clicks and hover, and following the
// tray manager as it comes and goes.

// Our headers before Xlib's, whose macros clash with our names.
// clang-format off
#include "platform/x11/x11_internal.h"
// clang-format on

#include <X11/Xatom.h>

namespace platform::x11 {
namespace {

constexpr int kTrayIconSize = 22;

}  // namespace

::Window X11Backend::TrayManager() const {
    std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screen_);
    return XGetSelectionOwner(dpy_, Interned(name));
}

// Watches the tray manager so that its end is noticed.
void X11Backend::WatchTrayManager() {
    ::Window manager = TrayManager();
    if (manager == None || manager == watchedManager_) return;
    watchedManager_ = manager;
    XSelectInput(dpy_, manager, StructureNotifyMask);
}

void X11Backend::DockTrayIcon(TrayIconWindow& t) {
    ::Window manager = TrayManager();
    if (manager == None) return;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = manager;
    e.xclient.message_type = A("_NET_SYSTEM_TRAY_OPCODE");
    e.xclient.format = 32;
    e.xclient.data.l[0] = CurrentTime;
    e.xclient.data.l[1] = 0;  // SYSTEM_TRAY_REQUEST_DOCK
    e.xclient.data.l[2] = static_cast<long>(t.window);
    XSendEvent(dpy_, manager, False, NoEventMask, &e);
    XFlush(dpy_);
}

// The visual the tray asks icons to use (_NET_SYSTEM_TRAY_VISUAL), when it names one.
bool X11Backend::TrayVisual(XVisualInfo* out) {
    ::Window manager = TrayManager();
    if (manager == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy_, manager, A("_NET_SYSTEM_TRAY_VISUAL"), 0, 1, False, XA_VISUALID,
                           &type, &format, &count, &after, &data) != Success ||
        !data)
        return false;
    VisualID id = count == 1 && format == 32
                      ? static_cast<VisualID>(*reinterpret_cast<unsigned long*>(data))
                      : 0;
    XFree(data);
    if (!id) return false;
    XVisualInfo templ{};
    templ.visualid = id;
    int n = 0;
    XVisualInfo* found = XGetVisualInfo(dpy_, VisualIDMask, &templ, &n);
    if (!found) return false;
    *out = found[0];
    XFree(found);
    return true;
}

// The icon scaled to the window: premultiplied over transparency in a 32-bit window, blended
// over the tray's usual grey otherwise.
void X11Backend::PaintTrayIcon(TrayIconWindow& t) {
    XWindowAttributes attrs{};
    if (!XGetWindowAttributes(dpy_, t.window, &attrs) || attrs.width <= 0 || attrs.height <= 0)
        return;
    int w = attrs.width, h = attrs.height;
    bool alpha = attrs.depth == 32;
    std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h, alpha ? 0u : 0xFFD4D0C8u);
    if (t.icon.width > 0 && t.icon.height > 0) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::uint32_t s =
                    t.icon.argb[static_cast<std::size_t>(y * t.icon.height / h) * t.icon.width +
                                x * t.icon.width / w];
                std::uint32_t a = s >> 24, d = px[static_cast<std::size_t>(y) * w + x],
                              out = alpha ? a << 24 : 0;
                for (int shift = 0; shift < 24; shift += 8)
                    out |= ((((s >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * (255 - a)) / 255)
                           << shift;
                px[static_cast<std::size_t>(y) * w + x] = out;
            }
    }
    XImage* image = XCreateImage(dpy_, attrs.visual, static_cast<unsigned>(attrs.depth), ZPixmap, 0,
                                 reinterpret_cast<char*>(px.data()), static_cast<unsigned>(w),
                                 static_cast<unsigned>(h), 32, w * 4);
    if (!image) return;
    GC gc = XCreateGC(dpy_, t.window, 0, nullptr);
    XPutImage(dpy_, t.window, gc, image, 0, 0, 0, 0, static_cast<unsigned>(w),
              static_cast<unsigned>(h));
    XFreeGC(dpy_, gc);
    image->data = nullptr;
    XDestroyImage(image);
    XFlush(dpy_);
}

bool X11Backend::AddTrayIcon(int trayId, const IconPixels& icon, const std::string& tip) {
    if (TrayManager() == None) return false;
    WatchTrayManager();
    RemoveTrayIcon(trayId);
    TrayIconWindow t;
    t.icon = icon;
    t.tip = tip;
    XSetWindowAttributes attrs{};
    attrs.event_mask = ButtonPressMask | ButtonReleaseMask | ExposureMask | StructureNotifyMask |
                       EnterWindowMask | LeaveWindowMask | PointerMotionMask;
    // A tray that names a visual for its icons (a 32-bit one, for translucent icons) gets it.
    XVisualInfo trayVisual{};
    if (TrayVisual(&trayVisual)) {
        attrs.colormap = XCreateColormap(dpy_, root_, trayVisual.visual, AllocNone);
        attrs.border_pixel = 0;
        attrs.background_pixel = 0;
        t.colormap = attrs.colormap;
        t.window = XCreateWindow(dpy_, root_, 0, 0, kTrayIconSize, kTrayIconSize, 0,
                                 trayVisual.depth, InputOutput, trayVisual.visual,
                                 CWEventMask | CWColormap | CWBorderPixel | CWBackPixel, &attrs);
    } else {
        t.window = XCreateWindow(dpy_, root_, 0, 0, kTrayIconSize, kTrayIconSize, 0, CopyFromParent,
                                 InputOutput, CopyFromParent, CWEventMask, &attrs);
    }
    // Without a minimum and base size a tray may shrink the icon to one pixel.
    XSizeHints* size = XAllocSizeHints();
    size->flags = PMinSize | PBaseSize;
    size->min_width = size->base_width = kTrayIconSize;
    size->min_height = size->base_height = kTrayIconSize;
    XSetWMNormalHints(dpy_, t.window, size);
    XFree(size);
    long info[2] = {0, 1};  // XEmbed version 0, mapped
    XChangeProperty(dpy_, t.window, A("_XEMBED_INFO"), A("_XEMBED_INFO"), 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(info), 2);
    XStoreName(dpy_, t.window, tip.c_str());
    XClassHint cls{const_cast<char*>("utrozvon-tray"), const_cast<char*>("Utrozvon")};
    XSetClassHint(dpy_, t.window, &cls);
    trayIcons_[trayId] = t;
    DockTrayIcon(trayIcons_[trayId]);
    return true;
}

bool X11Backend::UpdateTrayIcon(int trayId, const IconPixels& icon, const std::string& tip) {
    auto it = trayIcons_.find(trayId);
    if (it == trayIcons_.end()) return false;
    it->second.icon = icon;
    it->second.tip = tip;
    XStoreName(dpy_, it->second.window, tip.c_str());
    PaintTrayIcon(it->second);
    return true;
}

void X11Backend::RemoveTrayIcon(int trayId) {
    auto it = trayIcons_.find(trayId);
    if (it == trayIcons_.end()) return;
    XDestroyWindow(dpy_, it->second.window);
    if (it->second.colormap) XFreeColormap(dpy_, it->second.colormap);
    trayIcons_.erase(it);
    XFlush(dpy_);
}

bool X11Backend::TranslateTrayEvent(XEvent& e) {
    if (e.type == ClientMessage && e.xclient.window == root_ &&
        e.xclient.message_type == A("MANAGER")) {
        // A tray appeared: our old icon windows are dead; the program adds its icons again.
        for (auto& [id, t] : trayIcons_) {
            XDestroyWindow(dpy_, t.window);
            if (t.colormap) XFreeColormap(dpy_, t.colormap);
        }
        trayIcons_.clear();
        WatchTrayManager();
        BackendEvent out;
        out.kind = EventKind::TrayReset;
        Emit(out);
        return true;
    }
    if (e.type == DestroyNotify && e.xdestroywindow.window == watchedManager_) {
        watchedManager_ = 0;
        for (auto& [id, t] : trayIcons_) XUnmapWindow(dpy_, t.window);
        if (TrayManager() == None) {
            BackendEvent out;
            out.kind = EventKind::TrayLost;
            Emit(out);
        }
        return true;
    }
    for (auto& [id, t] : trayIcons_) {
        if (e.xany.window != t.window) continue;
        if (e.type == Expose || e.type == ConfigureNotify || e.type == MapNotify) PaintTrayIcon(t);
        if (e.type == ReparentNotify && e.xreparent.parent == root_)
            XUnmapWindow(dpy_, t.window);  // the tray went away
        if (e.type == EnterNotify || e.type == LeaveNotify || e.type == MotionNotify) {
            BackendEvent out;
            out.kind = EventKind::TrayHover;
            out.trayId = id;
            out.param = e.type == EnterNotify ? 1 : e.type == LeaveNotify ? 0 : 2;
            out.screen = e.type == MotionNotify ? POINT{e.xmotion.x_root, e.xmotion.y_root}
                                                : POINT{e.xcrossing.x_root, e.xcrossing.y_root};
            Emit(out);
        }
        if ((e.type == ButtonPress || e.type == ButtonRelease) && e.xbutton.button <= Button3) {
            BackendEvent out;
            out.kind = EventKind::TrayMouse;
            out.trayId = id;
            out.param = e.type == ButtonPress ? 1 : 0;
            out.button = e.xbutton.button == Button1   ? MouseButton::Left
                         : e.xbutton.button == Button3 ? MouseButton::Right
                                                       : MouseButton::Middle;
            out.screen = POINT{e.xbutton.x_root, e.xbutton.y_root};
            out.time = static_cast<DWORD>(e.xbutton.time);
            out.countClicks = true;  // the core tells double clicks by its double-click time
            Emit(out);
        }
        return true;
    }
    return false;
}

}  // namespace platform::x11
