// The X11 backend. Backends translate and nothing more: X events become BackendEvents in
// screen coordinates, surfaces become undecorated X windows showing the presented pixels.
#include "platform/x11/x11_backend.h"

// Xlib defines KeyPress, FocusIn and friends as macros: the event kinds that share those
// names are taken here, before the X headers come in.
namespace platform::x11::kinds {
constexpr EventKind kButtonPress = EventKind::ButtonPress;
constexpr EventKind kButtonRelease = EventKind::ButtonRelease;
constexpr EventKind kKeyPress = EventKind::KeyPress;
constexpr EventKind kKeyRelease = EventKind::KeyRelease;
constexpr EventKind kFocusIn = EventKind::FocusIn;
constexpr EventKind kFocusOut = EventKind::FocusOut;
}  // namespace platform::x11::kinds

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/shape.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/virtual_keys.h"
#include "platform/x11/keymap.h"
#include "platform/x11/shm_image.h"

namespace platform::x11 {
namespace {

// Xlib's error events are logged with their names and never end the program.
int OnXError(Display* dpy, XErrorEvent* e) {
    char text[128] = {};
    XGetErrorText(dpy, e->error_code, text, sizeof text);
    std::fprintf(stderr, "utrozvon: X error %s (request %d.%d, resource 0x%lx)\n", text, e->request_code, e->minor_code,
                 e->resourceid);
    return 0;
}

// Losing the display ends the program cleanly; libX11 needs both handlers for the message.
int OnXIOError(Display*) {
    std::fprintf(stderr, "utrozvon: the connection to the X server was lost\n");
    std::_Exit(1);
}

struct MotifHints {
    unsigned long flags, functions, decorations;
    long inputMode;
    unsigned long status;
};

struct Surf {
    ::Window window = 0;
    RECT rect{};
    bool mapped = false;
    bool overrideRedirect = false;
    std::vector<std::uint32_t> pixels;  // what was last presented, rect-sized (without MIT-SHM)
    std::unique_ptr<ShmImage> shm;      // the same, in shared memory
    int storeWidth = 0, storeHeight = 0;
    bool shared = false;                // the core draws straight into `shm`
    GC gc = nullptr;                    // for putting pixels, made once
    XIC ic = nullptr;
    Visual* visual = nullptr;
    int depth = 24;
    Colormap colormap = 0;
    BYTE opacity = 255;

    std::uint32_t* Store() { return shm ? shm->Pixels() : pixels.data(); }
};

struct TrayIconWindow {
    ::Window window = 0;
    Colormap colormap = 0;
    IconPixels icon;
    std::string tip;
    Time lastPress = 0;
    unsigned lastButton = 0;
};

class X11Backend : public Backend {
public:
    explicit X11Backend(Display* dpy);
    ~X11Backend() override;

    const char* Name() const override { return "x11"; }
    SIZE ScreenSize() const override {
        return SIZE{DisplayWidth(dpy_, screen_), DisplayHeight(dpy_, screen_)};
    }
    RECT WorkArea() const override;
    std::vector<RECT> MonitorRects() const override;
    SurfaceId CreateSurface(const SurfaceParams& params) override;
    void DestroySurface(SurfaceId id) override;
    void ShowSurface(SurfaceId id, bool show, bool activate) override;
    void MoveSurface(SurfaceId id, const RECT& r) override;
    void RestackSurfaces(const std::vector<SurfaceId>& topToBottom) override;
    void SetSurfaceShape(SurfaceId id, const Region* shape) override;
    void SetSurfaceTitle(SurfaceId id, const std::string& title) override;
    void SetSurfaceIcon(SurfaceId id, const IconPixels& icon) override;
    std::uint32_t* SharedSurfaceStore(SurfaceId id, int width, int height) override;
    void Present(SurfaceId id, const gdi::PixelBuffer& pixels, const Region& damage, bool perPixelAlpha,
                 BYTE opacity) override;
    bool LayeredSupported() const override { return argbVisual_ != nullptr && CompositorPresent(); }
    bool BeginMoveResize(SurfaceId id, int hitCode, POINT screen) override;
    void Minimize(SurfaceId id) override;
    void Activate(SurfaceId id) override;
    void GrabPointer(SurfaceId id, bool grab) override;
    POINT PointerPosition() const override;
    void WarpPointer(POINT screen) override;
    void SetCursorShape(SurfaceId id, int shape) override;
    std::optional<BackendEvent> Poll() override;
    void Wait(int timeoutMs) override;
    void Wake() override;
    void SetClipboardText(const std::string& text) override;
    std::optional<std::string> ClipboardText() override;
    bool TrayAvailable() const override { return TrayManager() != None; }
    bool AddTrayIcon(int trayId, const IconPixels& icon, const std::string& tip) override;
    bool UpdateTrayIcon(int trayId, const IconPixels& icon, const std::string& tip) override;
    void RemoveTrayIcon(int trayId) override;
    bool CompositorPresent() const override;

private:
    Atom A(const char* name) {
        auto it = atoms_.find(name);
        if (it != atoms_.end()) return it->second;
        return atoms_[name] = XInternAtom(dpy_, name, False);
    }
    Surf* Find(SurfaceId id) {
        auto it = surfaces_.find(id);
        return it == surfaces_.end() ? nullptr : &it->second;
    }
    SurfaceId IdOf(::Window w) const {
        for (auto& [id, s] : surfaces_)
            if (s.window == w) return id;
        return 0;
    }
    void SetProperties(Surf& s, const SurfaceParams& p);
    void PutPixels(Surf& s, const RECT& r);
    void AllocateStore(Surf& s, int width, int height);
    void Translate(XEvent& e);
    void TranslateKey(XKeyEvent& e, bool press);
    void TranslateButton(XButtonEvent& e, bool press);
    void TranslateConfigure(XConfigureEvent& e);
    void AnswerSelectionRequest(XSelectionRequestEvent& e);
    bool WmSupports(const char* atom);
    ::Window TrayManager() const;
    bool TrayVisual(XVisualInfo* out);
    void DockTrayIcon(TrayIconWindow& t);
    void PaintTrayIcon(TrayIconWindow& t);
    bool TranslateTrayEvent(XEvent& e);
    void WatchTrayManager();
    void Emit(BackendEvent e) { pending_.push_back(std::move(e)); }

    Display* dpy_;
    int screen_;
    ::Window root_;
    ::Window selectionOwner_ = 0;
    XIM im_ = nullptr;
    std::map<std::string, Atom> atoms_;
    std::map<SurfaceId, Surf> surfaces_;
    std::map<int, Cursor> cursors_;
    SurfaceId nextId_ = 1;
    std::deque<BackendEvent> pending_;
    int wakePipe_[2] = {-1, -1};
    std::string clipboard_;
    bool ownsClipboard_ = false;
    std::map<int, TrayIconWindow> trayIcons_;
    ::Window watchedManager_ = 0;
    bool useShm_ = std::getenv("UTROZVON_NO_SHM") == nullptr;
    Visual* argbVisual_ = nullptr;
};

X11Backend::X11Backend(Display* dpy) : dpy_(dpy), screen_(DefaultScreen(dpy)), root_(RootWindow(dpy, screen_)) {
    if (pipe2(wakePipe_, O_NONBLOCK | O_CLOEXEC) != 0) throw std::runtime_error("cannot create the wake pipe");
    std::setlocale(LC_CTYPE, "");
    // Without a running input-method server the built-in one still composes text.
    if (!XSupportsLocale() || !XSetLocaleModifiers("")) XSetLocaleModifiers("@im=none");
    im_ = XOpenIM(dpy_, nullptr, nullptr, nullptr);
    if (!im_) {
        XSetLocaleModifiers("@im=none");
        im_ = XOpenIM(dpy_, nullptr, nullptr, nullptr);
    }
    selectionOwner_ = XCreateSimpleWindow(dpy_, root_, -10, -10, 1, 1, 0, 0, 0);
    XVisualInfo argb{};
    if (XMatchVisualInfo(dpy_, screen_, 32, TrueColor, &argb)) argbVisual_ = argb.visual;
    // StructureNotify on the root brings the MANAGER announcement of a new system tray.
    XSelectInput(dpy_, root_, PropertyChangeMask | StructureNotifyMask);
    WatchTrayManager();
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

RECT X11Backend::WorkArea() const {
    SIZE s = ScreenSize();
    RECT full{0, 0, s.cx, s.cy};
    Atom type;
    int format;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Atom workarea = XInternAtom(dpy_, "_NET_WORKAREA", True);
    if (workarea == None || XGetWindowProperty(dpy_, root_, workarea, 0, 4, False, XA_CARDINAL, &type, &format, &count,
                                               &after, &data) != Success || !data) {
        return full;
    }
    RECT r = full;
    if (count >= 4 && format == 32) {
        auto* v = reinterpret_cast<long*>(data);
        r = RECT{static_cast<LONG>(v[0]), static_cast<LONG>(v[1]), static_cast<LONG>(v[0] + v[2]), static_cast<LONG>(v[1] + v[3])};
    }
    XFree(data);
    return RectIsEmpty(r) ? full : r;
}

// RandR's monitors, the primary one first; the whole screen without RandR or monitors.
std::vector<RECT> X11Backend::MonitorRects() const {
    std::vector<RECT> rects;
    int eventBase = 0, errorBase = 0, count = 0;
    if (XRRQueryExtension(dpy_, &eventBase, &errorBase)) {
        if (XRRMonitorInfo* monitors = XRRGetMonitors(dpy_, root_, True, &count)) {
            for (int i = 0; i < count; ++i) {
                const XRRMonitorInfo& m = monitors[i];
                RECT r{m.x, m.y, m.x + m.width, m.y + m.height};
                if (m.primary) rects.insert(rects.begin(), r);
                else rects.push_back(r);
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
    if (!s->shm || s->storeWidth != width || s->storeHeight != height) AllocateStore(*s, width, height);
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
    XImage* image = XCreateImage(dpy_, s.visual, static_cast<unsigned>(s.depth), ZPixmap, 0,
                                 reinterpret_cast<char*>(s.pixels.data()), static_cast<unsigned>(s.storeWidth),
                                 static_cast<unsigned>(s.storeHeight), 32, s.storeWidth * 4);
    if (!image) return;
    XPutImage(dpy_, s.window, gc, image, c.left, c.top, c.left, c.top, static_cast<unsigned>(c.right - c.left),
              static_cast<unsigned>(c.bottom - c.top));
    image->data = nullptr;  // the pixels belong to the surface
    XDestroyImage(image);
}

void X11Backend::Present(SurfaceId id, const gdi::PixelBuffer& pixels, const Region& damage, bool perPixelAlpha,
                         BYTE opacity) {
    Surf* s = Find(id);
    if (!s) return;
    if (opacity != s->opacity) {
        // Compositors scale the whole window by this property.
        s->opacity = opacity;
        unsigned long value = static_cast<unsigned long>(opacity) * 0xFFFFFFFFul / 255;
        XChangeProperty(dpy_, s->window, A("_NET_WM_WINDOW_OPACITY"), XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&value), 1);
    }
    // On a 32-bit visual the alpha byte counts: pixels drawn without alpha are opaque.
    std::uint32_t forceOpaque = s->depth == 32 && !perPixelAlpha ? 0xFF000000u : 0;
    int w = s->storeWidth, h = s->storeHeight;
    Region area = damage.Intersected(Region(0, 0, std::min(w, pixels.width), std::min(h, pixels.height)));
    std::uint32_t* store = s->Store();
    // Pixels drawn straight into the shared store need no copy, only their alpha made opaque.
    bool direct = reinterpret_cast<const std::uint32_t*>(pixels.bits) == store;
    for (const RECT& r : area.Rects()) {
        if (!direct || forceOpaque) {
            for (int y = r.top; y < r.bottom; ++y) {
                const auto* src = reinterpret_cast<const std::uint32_t*>(pixels.Row(y)) + r.left;
                std::uint32_t* dst = &store[static_cast<std::size_t>(y) * w + r.left];
                for (int x = 0; x < r.right - r.left; ++x) dst[x] = src[x] | forceOpaque;
            }
        }
        PutPixels(*s, r);
    }
    // Shared pixels may change as soon as this returns: the server must have read them.
    if (s->shm) XSync(dpy_, False);
    else XFlush(dpy_);
}

bool X11Backend::WmSupports(const char* atom) {
    Atom type;
    int format;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy_, root_, A("_NET_SUPPORTED"), 0, 4096, False, XA_ATOM, &type, &format, &count, &after, &data) !=
            Success || !data)
        return false;
    Atom wanted = A(atom);
    bool found = false;
    for (unsigned long i = 0; i < count; ++i) found = found || reinterpret_cast<Atom*>(data)[i] == wanted;
    XFree(data);
    return found;
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

bool X11Backend::CompositorPresent() const {
    std::string name = "_NET_WM_CM_S" + std::to_string(screen_);
    Atom a = XInternAtom(dpy_, name.c_str(), False);
    return XGetSelectionOwner(dpy_, a) != None;
}

// --- events -------------------------------------------------------------------------------

void X11Backend::TranslateButton(XButtonEvent& e, bool press) {
    BackendEvent out;
    out.surface = IdOf(e.window);
    out.screen = POINT{e.x_root, e.y_root};
    out.time = static_cast<DWORD>(e.time);
    if (e.button == Button4 || e.button == Button5) {
        if (!press) return;
        out.kind = EventKind::Wheel;
        out.wheelDelta = e.button == Button4 ? 120 : -120;
        Emit(out);
        return;
    }
    out.kind = press ? kinds::kButtonPress : kinds::kButtonRelease;
    out.button = e.button == Button1 ? MouseButton::Left : e.button == Button3 ? MouseButton::Right : MouseButton::Middle;
    if (e.button > Button3) return;
    Emit(out);
}

void X11Backend::TranslateKey(XKeyEvent& e, bool press) {
    BackendEvent out;
    out.kind = press ? kinds::kKeyPress : kinds::kKeyRelease;
    out.surface = IdOf(e.window);
    out.screen = POINT{e.x_root, e.y_root};
    out.scanCode = e.keycode;
    KeySym sym = NoSymbol;
    char buffer[64] = {};
    int n = 0;
    Surf* s = Find(out.surface);
    if (press && s && s->ic) {
        Status status;
        n = Xutf8LookupString(s->ic, &e, buffer, sizeof buffer - 1, &sym, &status);
        if (status != XLookupChars && status != XLookupBoth) n = 0;
        if (status == XLookupChars) sym = XLookupKeysym(&e, 0);
    } else {
        n = XLookupString(&e, buffer, sizeof buffer - 1, &sym, nullptr);
        if (n > 0 && static_cast<unsigned char>(buffer[0]) >= 0x80) n = 0;  // Latin-1, not UTF-8
    }
    if (n < 0) n = 0;
    // Control characters come from the key codes themselves; only printable text is passed.
    for (int i = 0; i < n; ++i)
        if (static_cast<unsigned char>(buffer[i]) >= 0x20 && buffer[i] != 0x7F) out.text.push_back(buffer[i]);
    out.vk = VirtualKeyFromKeysym(XLookupKeysym(&e, 0));
    if (!out.vk) out.vk = VirtualKeyFromKeysym(sym);
    if (!out.vk && !out.text.empty()) out.vk = VK_PACKET;
    if (!out.vk) return;
    Emit(out);
}

void X11Backend::TranslateConfigure(XConfigureEvent& e) {
    SurfaceId id = IdOf(e.window);
    Surf* s = Find(id);
    if (!s) return;
    int x = e.x, y = e.y;
    if (!e.send_event) {
        ::Window child;
        XTranslateCoordinates(dpy_, e.window, root_, 0, 0, &x, &y, &child);
    }
    RECT r{x, y, x + e.width, y + e.height};
    if (r.left == s->rect.left && r.top == s->rect.top && r.right == s->rect.right && r.bottom == s->rect.bottom) return;
    bool resized = e.width != s->rect.right - s->rect.left || e.height != s->rect.bottom - s->rect.top;
    s->rect = r;
    // The core still draws into a shared store; it asks for one of the new size itself.
    if (resized && !s->shared) AllocateStore(*s, e.width, e.height);
    BackendEvent out;
    out.kind = EventKind::SurfaceMoved;
    out.surface = id;
    out.rect = r;
    Emit(out);
}

void X11Backend::AnswerSelectionRequest(XSelectionRequestEvent& r) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = r.requestor;
    reply.xselection.selection = r.selection;
    reply.xselection.target = r.target;
    reply.xselection.time = r.time;
    reply.xselection.property = None;
    if (r.target == A("TARGETS")) {
        Atom targets[] = {A("TARGETS"), A("UTF8_STRING"), A("TEXT"), XA_STRING};
        XChangeProperty(dpy_, r.requestor, r.property, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(targets), 4);
        reply.xselection.property = r.property;
    } else if (r.target == A("UTF8_STRING") || r.target == A("TEXT") || r.target == XA_STRING) {
        XChangeProperty(dpy_, r.requestor, r.property, r.target == XA_STRING ? XA_STRING : A("UTF8_STRING"), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(clipboard_.data()), static_cast<int>(clipboard_.size()));
        reply.xselection.property = r.property;
    }
    XSendEvent(dpy_, r.requestor, False, 0, &reply);
    XFlush(dpy_);
}

void X11Backend::Translate(XEvent& e) {
    if (XFilterEvent(&e, None)) return;
    if (TranslateTrayEvent(e)) return;
    BackendEvent out;
    switch (e.type) {
        case ButtonPress: TranslateButton(e.xbutton, true); break;
        case ButtonRelease: TranslateButton(e.xbutton, false); break;
        case MotionNotify:
            out.kind = EventKind::MouseMove;
            out.surface = IdOf(e.xmotion.window);
            out.screen = POINT{e.xmotion.x_root, e.xmotion.y_root};
            out.time = static_cast<DWORD>(e.xmotion.time);
            Emit(out);
            break;
        case LeaveNotify:
            if (e.xcrossing.mode == NotifyNormal && e.xcrossing.detail != NotifyInferior) {
                out.kind = EventKind::PointerLeft;
                Emit(out);
            }
            break;
        case KeyPress: TranslateKey(e.xkey, true); break;
        case KeyRelease: TranslateKey(e.xkey, false); break;
        case FocusIn: case FocusOut:
            if (e.xfocus.mode == NotifyGrab || e.xfocus.mode == NotifyUngrab) break;
            out.kind = e.type == FocusIn ? kinds::kFocusIn : kinds::kFocusOut;
            out.surface = IdOf(e.xfocus.window);
            if (Surf* s = Find(out.surface); s && s->ic) (e.type == FocusIn ? XSetICFocus : XUnsetICFocus)(s->ic);
            Emit(out);
            break;
        case Expose:
            if (Surf* s = Find(IdOf(e.xexpose.window)))
                PutPixels(*s, RECT{e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width, e.xexpose.y + e.xexpose.height});
            break;
        case ConfigureNotify: TranslateConfigure(e.xconfigure); break;
        case ClientMessage:
            if (static_cast<Atom>(e.xclient.data.l[0]) == A("WM_DELETE_WINDOW")) {
                out.kind = EventKind::CloseRequest;
                out.surface = IdOf(e.xclient.window);
                Emit(out);
            }
            break;
        case MappingNotify: XRefreshKeyboardMapping(&e.xmapping); break;
        case SelectionRequest: AnswerSelectionRequest(e.xselectionrequest); break;
        case SelectionClear: ownsClipboard_ = false; break;
        default: break;
    }
}

std::optional<BackendEvent> X11Backend::Poll() {
    while (pending_.empty() && XPending(dpy_) > 0) {
        XEvent e;
        XNextEvent(dpy_, &e);
        Translate(e);
    }
    if (pending_.empty()) return std::nullopt;
    BackendEvent e = std::move(pending_.front());
    pending_.pop_front();
    return e;
}

void X11Backend::Wait(int timeoutMs) {
    XFlush(dpy_);
    if (!pending_.empty() || XPending(dpy_) > 0) return;
    pollfd fds[2] = {{ConnectionNumber(dpy_), POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    poll(fds, 2, timeoutMs);
    char drain[64];
    while (read(wakePipe_[0], drain, sizeof drain) > 0) {
    }
}

void X11Backend::Wake() {
    char byte = 1;
    ssize_t written = write(wakePipe_[1], &byte, 1);
    (void)written;  // a full pipe already wakes the loop
}

void X11Backend::SetClipboardText(const std::string& text) {
    clipboard_ = text;
    XSetSelectionOwner(dpy_, A("CLIPBOARD"), selectionOwner_, CurrentTime);
    ownsClipboard_ = XGetSelectionOwner(dpy_, A("CLIPBOARD")) == selectionOwner_;
    XFlush(dpy_);
}

std::optional<std::string> X11Backend::ClipboardText() {
    if (ownsClipboard_) return clipboard_;
    if (XGetSelectionOwner(dpy_, A("CLIPBOARD")) == None) return std::nullopt;
    Atom property = A("UTROZVON_PASTE");
    XConvertSelection(dpy_, A("CLIPBOARD"), A("UTF8_STRING"), property, selectionOwner_, CurrentTime);
    XFlush(dpy_);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    XEvent e;
    while (std::chrono::steady_clock::now() < deadline) {
        if (XCheckTypedWindowEvent(dpy_, selectionOwner_, SelectionNotify, &e)) {
            if (e.xselection.property == None) return std::nullopt;
            Atom type;
            int format;
            unsigned long count = 0, after = 0;
            unsigned char* data = nullptr;
            std::optional<std::string> text;
            if (XGetWindowProperty(dpy_, selectionOwner_, property, 0, 1 << 20, True, AnyPropertyType, &type, &format, &count,
                                   &after, &data) == Success && data) {
                text = std::string(reinterpret_cast<char*>(data), count);
                XFree(data);
            }
            return text;
        }
        pollfd fd{ConnectionNumber(dpy_), POLLIN, 0};
        poll(&fd, 1, 20);
    }
    return std::nullopt;
}


// --- tray (XEmbed system tray) ---------------------------------------------------------------

constexpr int kTrayIconSize = 22;

::Window X11Backend::TrayManager() const {
    std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screen_);
    return XGetSelectionOwner(dpy_, XInternAtom(dpy_, name.c_str(), False));
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
    if (XGetWindowProperty(dpy_, manager, A("_NET_SYSTEM_TRAY_VISUAL"), 0, 1, False, XA_VISUALID, &type, &format, &count,
                           &after, &data) != Success || !data)
        return false;
    VisualID id = count == 1 && format == 32 ? static_cast<VisualID>(*reinterpret_cast<unsigned long*>(data)) : 0;
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
    if (!XGetWindowAttributes(dpy_, t.window, &attrs) || attrs.width <= 0 || attrs.height <= 0) return;
    int w = attrs.width, h = attrs.height;
    bool alpha = attrs.depth == 32;
    std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h, alpha ? 0u : 0xFFD4D0C8u);
    if (t.icon.width > 0 && t.icon.height > 0) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::uint32_t s = t.icon.argb[static_cast<std::size_t>(y * t.icon.height / h) * t.icon.width + x * t.icon.width / w];
                std::uint32_t a = s >> 24, d = px[static_cast<std::size_t>(y) * w + x], out = alpha ? a << 24 : 0;
                for (int shift = 0; shift < 24; shift += 8)
                    out |= ((((s >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * (255 - a)) / 255) << shift;
                px[static_cast<std::size_t>(y) * w + x] = out;
            }
    }
    XImage* image = XCreateImage(dpy_, attrs.visual, static_cast<unsigned>(attrs.depth), ZPixmap, 0, reinterpret_cast<char*>(px.data()),
                                 static_cast<unsigned>(w), static_cast<unsigned>(h), 32, w * 4);
    if (!image) return;
    GC gc = XCreateGC(dpy_, t.window, 0, nullptr);
    XPutImage(dpy_, t.window, gc, image, 0, 0, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h));
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
    attrs.event_mask = ButtonPressMask | ButtonReleaseMask | ExposureMask | StructureNotifyMask | EnterWindowMask |
                       LeaveWindowMask | PointerMotionMask;
    // A tray that names a visual for its icons (a 32-bit one, for translucent icons) gets it.
    XVisualInfo trayVisual{};
    if (TrayVisual(&trayVisual)) {
        attrs.colormap = XCreateColormap(dpy_, root_, trayVisual.visual, AllocNone);
        attrs.border_pixel = 0;
        attrs.background_pixel = 0;
        t.colormap = attrs.colormap;
        t.window = XCreateWindow(dpy_, root_, 0, 0, kTrayIconSize, kTrayIconSize, 0, trayVisual.depth, InputOutput,
                                 trayVisual.visual, CWEventMask | CWColormap | CWBorderPixel | CWBackPixel, &attrs);
    } else {
        t.window = XCreateWindow(dpy_, root_, 0, 0, kTrayIconSize, kTrayIconSize, 0, CopyFromParent, InputOutput,
                                 CopyFromParent, CWEventMask, &attrs);
    }
    // Without a minimum and base size a tray may shrink the icon to one pixel.
    XSizeHints* size = XAllocSizeHints();
    size->flags = PMinSize | PBaseSize;
    size->min_width = size->base_width = kTrayIconSize;
    size->min_height = size->base_height = kTrayIconSize;
    XSetWMNormalHints(dpy_, t.window, size);
    XFree(size);
    long info[2] = {0, 1};  // XEmbed version 0, mapped
    XChangeProperty(dpy_, t.window, A("_XEMBED_INFO"), A("_XEMBED_INFO"), 32, PropModeReplace, reinterpret_cast<unsigned char*>(info), 2);
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
    if (e.type == ClientMessage && e.xclient.window == root_ && e.xclient.message_type == A("MANAGER")) {
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
        if (e.type == ReparentNotify && e.xreparent.parent == root_) XUnmapWindow(dpy_, t.window);  // the tray went away
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
            out.button = e.xbutton.button == Button1 ? MouseButton::Left : e.xbutton.button == Button3 ? MouseButton::Right : MouseButton::Middle;
            out.screen = POINT{e.xbutton.x_root, e.xbutton.y_root};
            if (e.type == ButtonPress) {
                out.doubleClick = e.xbutton.button == t.lastButton && e.xbutton.time - t.lastPress <= 500;
                t.lastPress = out.doubleClick ? 0 : e.xbutton.time;
                t.lastButton = e.xbutton.button;
            }
            Emit(out);
        }
        return true;
    }
    return false;
}

}  // namespace

std::unique_ptr<Backend> CreateX11Backend() {
    XSetErrorHandler(OnXError);
    XSetIOErrorHandler(OnXIOError);
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        const char* name = std::getenv("DISPLAY");
        throw std::runtime_error(std::string("cannot open the X display '") + (name ? name : "") +
                                 "': set DISPLAY, or UTROZVON_BACKEND=headless");
    }
    return std::make_unique<X11Backend>(dpy);
}

}  // namespace platform::x11
