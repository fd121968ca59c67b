// The X11 backend: opening the display, the backend's own resources, and what it reports about
// the screen (size, work area, monitors, compositor, window manager).
#include "platform/x11/x11_backend.h"

// Our headers before Xlib's, whose macros clash with our names.
// clang-format off
#include "platform/x11/x11_internal.h"
// clang-format on

#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>
#include <fcntl.h>
#include <unistd.h>

#include <clocale>
#include <stdexcept>

namespace platform::x11 {

X11Backend::X11Backend(Display* dpy)
    : dpy_(dpy), screen_(DefaultScreen(dpy)), root_(RootWindow(dpy, screen_)) {
    if (pipe2(wakePipe_, O_NONBLOCK | O_CLOEXEC) != 0)
        throw std::runtime_error("cannot create the wake pipe");
    std::setlocale(LC_CTYPE, "");
    // Without a running input-method server the built-in one still composes text.
    if (!XSupportsLocale() || !XSetLocaleModifiers("")) XSetLocaleModifiers("@im=none");
    selectionOwner_ = XCreateSimpleWindow(dpy_, root_, -10, -10, 1, 1, 0, 0, 0);
    XVisualInfo argb{};
    if (XMatchVisualInfo(dpy_, screen_, 32, TrueColor, &argb)) argbVisual_ = argb.visual;
    // StructureNotify on the root brings the MANAGER announcement of a new system tray.
    XSelectInput(dpy_, root_, PropertyChangeMask | StructureNotifyMask);
    InternEarlyAtoms();
    WatchDesktop();
    WatchTrayManager();
}

void X11Backend::OpenInputMethod() {
    inputMethodWanted_ = false;
    inputMethodTried_ = true;
    im_ = XOpenIM(dpy_, nullptr, nullptr, nullptr);
    if (!im_) {
        XSetLocaleModifiers("@im=none");
        im_ = XOpenIM(dpy_, nullptr, nullptr, nullptr);
    }
    if (!im_) return;
    ::Window focus = None;
    int revert = 0;
    XGetInputFocus(dpy_, &focus, &revert);
    for (auto& [id, s] : surfaces_) {
        if (s.ic) continue;
        CreateInputContext(s);
        if (s.ic && s.window == focus) XSetICFocus(s.ic);
    }
}

// The atoms the start and the first window ask for, in one round trip instead of one each.
// Interning creates an atom that does not exist yet, which changes nothing for the lookups
// that used to ask only for existing ones: a property under a new atom is not there either.
void X11Backend::InternEarlyAtoms() {
    std::vector<std::string> names = {"_NET_WORKAREA",
                                      "_NET_SUPPORTED",
                                      "_NET_WM_STATE",
                                      "_NET_WM_STATE_HIDDEN",
                                      "_NET_WM_WINDOW_TYPE",
                                      "_NET_WM_WINDOW_TYPE_NORMAL",
                                      "_NET_WM_PID",
                                      "_NET_WM_NAME",
                                      "_NET_WM_ICON",
                                      "_MOTIF_WM_HINTS",
                                      "WM_STATE",
                                      "WM_PROTOCOLS",
                                      "WM_DELETE_WINDOW",
                                      "UTF8_STRING",
                                      "_NET_SYSTEM_TRAY_S" + std::to_string(screen_)};
    std::vector<char*> pointers;
    for (std::string& n : names) pointers.push_back(n.data());
    std::vector<Atom> atoms(names.size(), None);
    XInternAtoms(dpy_, pointers.data(), static_cast<int>(pointers.size()), False, atoms.data());
    for (std::size_t i = 0; i < names.size(); ++i)
        if (atoms[i] != None) atoms_[names[i]] = atoms[i];
}

X11Backend::~X11Backend() {
    for (auto& [id, s] : surfaces_) {
        if (s.ic) XDestroyIC(s.ic);
        if (s.gc) XFreeGC(dpy_, s.gc);
        XDestroyWindow(dpy_, s.window);
    }
    for (auto& [shape, c] : cursors_) XFreeCursor(dpy_, c);
    for (auto& [id, t] : trayIcons_) {
        XDestroyWindow(dpy_, t.window);
        if (t.colormap) XFreeColormap(dpy_, t.colormap);
    }
    if (selectionOwner_) XDestroyWindow(dpy_, selectionOwner_);
    surfaces_.clear();  // shared-memory images detach through the open display
    if (im_) XCloseIM(im_);
    XCloseDisplay(dpy_);
    close(wakePipe_[0]);
    close(wakePipe_[1]);
}

void X11Backend::WatchDesktop() {
    int errorBase = 0;
    if (!XRRQueryExtension(dpy_, &randrEventBase_, &errorBase)) {
        randrEventBase_ = -1;
        return;
    }
    XRRSelectInput(dpy_, root_,
                   RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
}

void X11Backend::NoteDesktopChange(XEvent& e) {
    const bool randr = randrEventBase_ >= 0 && (e.type == randrEventBase_ + RRScreenChangeNotify ||
                                                e.type == randrEventBase_ + RRNotify);
    if (randr) XRRUpdateConfiguration(&e);
    const bool root = e.xany.window == root_ &&
                      (e.type == ConfigureNotify ||
                       (e.type == PropertyNotify && e.xproperty.atom == Interned("_NET_WORKAREA")));
    if (randr || root) {
        workArea_.reset();
        monitors_.reset();
    }
}

RECT X11Backend::WorkArea() const {
    if (!workArea_) workArea_ = ReadWorkArea();
    return *workArea_;
}

std::vector<RECT> X11Backend::MonitorRects() const {
    if (!monitors_) monitors_ = ReadMonitorRects();
    return *monitors_;
}

RECT X11Backend::ReadWorkArea() const {
    SIZE s = ScreenSize();
    RECT full{0, 0, s.cx, s.cy};
    Atom type;
    int format;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Atom workarea = Interned("_NET_WORKAREA");
    if (workarea == None ||
        XGetWindowProperty(dpy_, root_, workarea, 0, 4, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) != Success ||
        !data) {
        return full;
    }
    RECT r = full;
    if (count >= 4 && format == 32) {
        auto* v = reinterpret_cast<long*>(data);
        r = RECT{static_cast<LONG>(v[0]), static_cast<LONG>(v[1]), static_cast<LONG>(v[0] + v[2]),
                 static_cast<LONG>(v[1] + v[3])};
    }
    XFree(data);
    return RectIsEmpty(r) ? full : r;
}

// RandR's monitors, the primary one first; the whole screen without RandR or monitors.
std::vector<RECT> X11Backend::ReadMonitorRects() const {
    std::vector<RECT> rects;
    int eventBase = 0, errorBase = 0, count = 0;
    if (XRRQueryExtension(dpy_, &eventBase, &errorBase)) {
        if (XRRMonitorInfo* monitors = XRRGetMonitors(dpy_, root_, True, &count)) {
            for (int i = 0; i < count; ++i) {
                const XRRMonitorInfo& m = monitors[i];
                RECT r{m.x, m.y, m.x + m.width, m.y + m.height};
                if (m.primary)
                    rects.insert(rects.begin(), r);
                else
                    rects.push_back(r);
            }
            XRRFreeMonitors(monitors);
        }
    }
    if (rects.empty()) {
        SIZE s = ScreenSize();
        rects.push_back(RECT{0, 0, s.cx, s.cy});
    }
    return rects;
}

bool X11Backend::WmSupports(const char* atom) {
    Atom type;
    int format;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy_, root_, A("_NET_SUPPORTED"), 0, 4096, False, XA_ATOM, &type,
                           &format, &count, &after, &data) != Success ||
        !data)
        return false;
    Atom wanted = A(atom);
    bool found = false;
    for (unsigned long i = 0; i < count; ++i)
        found = found || reinterpret_cast<Atom*>(data)[i] == wanted;
    XFree(data);
    return found;
}

bool X11Backend::CompositorPresent() const {
    std::string name = "_NET_WM_CM_S" + std::to_string(screen_);
    Atom a = XInternAtom(dpy_, name.c_str(), False);
    return XGetSelectionOwner(dpy_, a) != None;
}

unsigned long NativeWindowOf(Backend& backend, SurfaceId id) {
    auto* x11 = dynamic_cast<X11Backend*>(&backend);
    return x11 ? x11->WindowOf(id) : 0;
}

std::vector<RECT> BoundingShapeOf(Backend& backend, unsigned long window) {
    auto* x11 = dynamic_cast<X11Backend*>(&backend);
    return x11 ? x11->BoundingShape(window) : std::vector<RECT>{};
}

std::unique_ptr<Backend> CreateX11Backend() {
    InstallErrorHandlers();
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        const char* name = std::getenv("DISPLAY");
        throw std::runtime_error(std::string("cannot open the X display '") + (name ? name : "") +
                                 "': set DISPLAY, or UTROZVON_BACKEND=headless");
    }
    return std::make_unique<X11Backend>(dpy);
}

}  // namespace platform::x11
