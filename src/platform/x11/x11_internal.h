// The X11 backend's class, shared by the files that implement it by topic: the backend and
// its screen queries (x11_backend.cpp), surfaces (x11_windows.cpp), event translation
// (x11_events.cpp), presenting pixels (x11_present.cpp), the clipboard (x11_clipboard.cpp),
// the system tray (x11_tray.cpp) and X errors (x11_errors.cpp). Only this folder sees Xlib.
#pragma once

#include "platform/backend.h"

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

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/x11/shm_image.h"

namespace platform::x11 {

// Logs X protocol errors and ends the program cleanly when the display is lost.
void InstallErrorHandlers();

struct MotifHints {
    unsigned long flags, functions, decorations;
    long inputMode;
    unsigned long status;
};

struct Surf {
    ::Window window = 0;
    RECT rect{};
    SurfaceParams params;        // the style last given (its rectangle is `rect`)
    bool mapped = false;         // the core wants it shown
    bool awaitingFrame = false;  // shown, but mapped only with its first presented frame
    bool activateOnMap = false;
    bool serverMapped = false;                    // as the last MapNotify / UnmapNotify said
    unsigned long stateSerial = 0;                // our latest map, unmap or iconify request
    SurfaceState wmState = SurfaceState::Normal;  // as last reported or asked for
    // The window this one replaced (another visual), kept on screen until the new one has its
    // first frame, so that the change never shows an empty window.
    ::Window retired = 0;
    Colormap retiredColormap = 0;
    std::vector<std::uint32_t> pixels;  // what was last presented, rect-sized (without MIT-SHM)
    std::unique_ptr<ShmImage> shm;      // the same, in shared memory
    int storeWidth = 0, storeHeight = 0;
    bool shared = false;  // the core draws straight into `shm`
    GC gc = nullptr;      // for putting pixels, made once
    XIC ic = nullptr;
    Visual* visual = nullptr;
    int depth = 24;
    Colormap colormap = 0;
    BYTE opacity = 255;
    // Kept to dress a replacement window as the old one was.
    Cursor cursor = 0;
    std::string title;
    std::vector<long> icon;  // _NET_WM_ICON
    std::vector<XRectangle> shape;
    bool shaped = false;

    std::uint32_t* Store() { return shm ? shm->Pixels() : pixels.data(); }
};

struct TrayIconWindow {
    ::Window window = 0;
    Colormap colormap = 0;
    IconPixels icon;
    std::string tip;
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
    void UpdateSurface(SurfaceId id, const SurfaceParams& params) override;
    void ShowSurface(SurfaceId id, bool show, bool activate) override;
    void MoveSurface(SurfaceId id, const RECT& r) override;
    void RestackSurfaces(const std::vector<SurfaceId>& topToBottom) override;
    void SetSurfaceShape(SurfaceId id, const Region* shape) override;
    void SetSurfaceTitle(SurfaceId id, const std::string& title) override;
    void SetSurfaceIcon(SurfaceId id, const IconPixels& icon) override;
    std::uint32_t* SharedSurfaceStore(SurfaceId id, int width, int height) override;
    void Present(SurfaceId id, const gdi::PixelBuffer& pixels, const Region& damage,
                 bool perPixelAlpha, BYTE opacity) override;
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
    std::vector<RECT> BoundingShape(unsigned long window);
    unsigned long WindowOf(SurfaceId id) {
        Surf* s = Find(id);
        return s ? s->window : 0;
    }

  private:
    // An atom interned at the start (InternEarlyAtoms), or asked of the server now.
    Atom Interned(const std::string& name) const {
        auto it = atoms_.find(name);
        return it != atoms_.end() ? it->second : XInternAtom(dpy_, name.c_str(), False);
    }
    void InternEarlyAtoms();
    void WatchDesktop();
    void NoteDesktopChange(XEvent& e);
    RECT ReadWorkArea() const;
    std::vector<RECT> ReadMonitorRects() const;
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
    void MakeWindow(Surf& s, const SurfaceParams& p);
    void RemakeWindow(SurfaceId id, Surf& s, const SurfaceParams& p);
    void DropRetired(Surf& s);
    void SetProperties(Surf& s, const SurfaceParams& p);
    void SetWmState(Surf& s, const SurfaceParams& old, const SurfaceParams& p);
    void ApplyShapes(Surf& s);
    void MapNow(Surf& s);
    void OpenInputMethod();
    void CreateInputContext(Surf& s);
    Surf* FindCurrent(::Window w, SurfaceId* id);
    bool HasNetState(::Window w, const char* atom);
    long IcccmState(::Window w);
    void TrackState(XEvent& e);
    void ReportState(SurfaceId id, Surf& s, SurfaceState state);
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
    // Opening the input method reads the locale's compose tables, some 8 ms, so it is opened
    // after the first window is mapped (with its first frame), before any event of that
    // window is read: keys and focus reach only mapped windows, so none arrives without it.
    XIM im_ = nullptr;
    bool inputMethodWanted_ = false;
    bool inputMethodTried_ = false;  // a server without one is not asked again
    // The work area and the monitors, kept until the server reports a change (RandR events,
    // the root window resized, its work-area property changed): the window layer asks for
    // them many times while it places the first window, a round trip or two each.
    mutable std::optional<RECT> workArea_;
    mutable std::optional<std::vector<RECT>> monitors_;
    int randrEventBase_ = -1;
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
    SurfaceId pendingGrab_ = 0;  // grabs the pointer when that surface is mapped
};

}  // namespace platform::x11
