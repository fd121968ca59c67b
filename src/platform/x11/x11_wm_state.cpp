// What the window manager makes of our windows: minimised from its task bar or keyboard,
// restored by Alt+Tab or a click on the task bar, maximised. The backend only reports the
// state; what the window hears of it is decided by the core.

// Our headers before Xlib's, whose macros clash with our names.
// clang-format off
#include "platform/x11/x11_internal.h"
// clang-format on

#include <X11/Xatom.h>

namespace platform::x11 {
namespace {

// WM_STATE values (ICCCM 4.1.3.1).
constexpr long kIcccmIconic = 3;
constexpr long kIcccmAbsent = -1;

}  // namespace

Surf* X11Backend::FindCurrent(::Window w, SurfaceId* id) {
    for (auto& [sid, s] : surfaces_) {
        if (s.window != w) continue;
        *id = sid;
        return &s;
    }
    return nullptr;
}

bool X11Backend::HasNetState(::Window w, const char* atom) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy_, w, A("_NET_WM_STATE"), 0, 64, False, XA_ATOM, &type, &format,
                           &count, &after, &data) != Success ||
        !data)
        return false;
    Atom wanted = A(atom);
    bool found = false;
    for (unsigned long i = 0; i < count && format == 32; ++i)
        found = found || reinterpret_cast<Atom*>(data)[i] == wanted;
    XFree(data);
    return found;
}

long X11Backend::IcccmState(::Window w) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Atom wmState = A("WM_STATE");
    if (XGetWindowProperty(dpy_, w, wmState, 0, 2, False, AnyPropertyType, &type, &format, &count,
                           &after, &data) != Success ||
        !data)
        return kIcccmAbsent;
    long state = count >= 1 && format == 32 ? reinterpret_cast<long*>(data)[0] : kIcccmAbsent;
    XFree(data);
    return state;
}

void X11Backend::ReportState(SurfaceId id, Surf& s, SurfaceState state) {
    if (state == s.wmState) return;
    s.wmState = state;
    BackendEvent out;
    out.kind = EventKind::SurfaceState;
    out.surface = id;
    out.param = static_cast<int>(state);
    Emit(out);
}

// Events older than our latest map, unmap or iconify request are echoes of what we asked
// before, not news. A window the manager unmaps is minimised when it says so (WM_STATE
// iconic, _NET_WM_STATE_HIDDEN), or when no manager looks after it at all; an unmap with the
// window still in the normal state (another desktop) is not a minimise.
void X11Backend::TrackState(XEvent& e) {
    SurfaceId id = 0;
    Surf* s = FindCurrent(e.xany.window, &id);
    if (!s) return;
    if (e.type == MapNotify) s->serverMapped = true;
    if (e.type == UnmapNotify) s->serverMapped = false;
    if (e.type == PropertyNotify && e.xproperty.atom != A("_NET_WM_STATE") &&
        e.xproperty.atom != A("WM_STATE"))
        return;
    if (!s->mapped || e.xany.serial < s->stateSerial) return;
    long icccm = IcccmState(s->window);
    bool hidden = HasNetState(s->window, "_NET_WM_STATE_HIDDEN");
    if (icccm == kIcccmIconic || hidden || (e.type == UnmapNotify && icccm == kIcccmAbsent)) {
        ReportState(id, *s, SurfaceState::Minimized);
        return;
    }
    if (!s->serverMapped) return;
    bool maximized = HasNetState(s->window, "_NET_WM_STATE_MAXIMIZED_VERT") &&
                     HasNetState(s->window, "_NET_WM_STATE_MAXIMIZED_HORZ");
    ReportState(id, *s, maximized ? SurfaceState::Maximized : SurfaceState::Normal);
}

}  // namespace platform::x11
