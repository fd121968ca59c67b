// X events become backend events in screen coordinates: pointer, keys, focus, exposure and
// moves by the window manager; and waiting for them.

// Our headers before Xlib's, whose macros clash with our names.
// clang-format off
#include "platform/x11/x11_internal.h"
// clang-format on

#include <poll.h>
#include <unistd.h>

#include "platform/virtual_keys.h"
#include "platform/x11/keymap.h"

namespace platform::x11 {

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
    out.button = e.button == Button1   ? MouseButton::Left
                 : e.button == Button3 ? MouseButton::Right
                                       : MouseButton::Middle;
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
        if (static_cast<unsigned char>(buffer[i]) >= 0x20 && buffer[i] != 0x7F)
            out.text.push_back(buffer[i]);
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
    if (r.left == s->rect.left && r.top == s->rect.top && r.right == s->rect.right &&
        r.bottom == s->rect.bottom)
        return;
    bool resized =
        e.width != s->rect.right - s->rect.left || e.height != s->rect.bottom - s->rect.top;
    s->rect = r;
    // The core still draws into a shared store; it asks for one of the new size itself.
    if (resized && !s->shared) AllocateStore(*s, e.width, e.height);
    BackendEvent out;
    out.kind = EventKind::SurfaceMoved;
    out.surface = id;
    out.rect = r;
    Emit(out);
}

void X11Backend::Translate(XEvent& e) {
    if (XFilterEvent(&e, None)) return;
    NoteDesktopChange(e);
    if (TranslateTrayEvent(e)) return;
    if (e.type == MapNotify || e.type == UnmapNotify || e.type == PropertyNotify) {
        TrackState(e);
        return;
    }
    BackendEvent out;
    switch (e.type) {
        case ButtonPress:
            TranslateButton(e.xbutton, true);
            break;
        case ButtonRelease:
            TranslateButton(e.xbutton, false);
            break;
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
        case KeyPress:
            TranslateKey(e.xkey, true);
            break;
        case KeyRelease:
            TranslateKey(e.xkey, false);
            break;
        case FocusIn:
        case FocusOut:
            if (e.xfocus.mode == NotifyGrab || e.xfocus.mode == NotifyUngrab) break;
            out.kind = e.type == FocusIn ? kinds::kFocusIn : kinds::kFocusOut;
            out.surface = IdOf(e.xfocus.window);
            if (Surf* s = Find(out.surface); s && s->ic)
                (e.type == FocusIn ? XSetICFocus : XUnsetICFocus)(s->ic);
            Emit(out);
            break;
        case Expose:
            if (Surf* s = Find(IdOf(e.xexpose.window)))
                PutPixels(*s, RECT{e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width,
                                   e.xexpose.y + e.xexpose.height});
            break;
        case ConfigureNotify:
            TranslateConfigure(e.xconfigure);
            break;
        case ClientMessage:
            if (static_cast<Atom>(e.xclient.data.l[0]) == A("WM_DELETE_WINDOW")) {
                out.kind = EventKind::CloseRequest;
                out.surface = IdOf(e.xclient.window);
                Emit(out);
            }
            break;
        case MappingNotify:
            XRefreshKeyboardMapping(&e.xmapping);
            break;
        case SelectionRequest:
            AnswerSelectionRequest(e.xselectionrequest);
            break;
        case SelectionClear:
            ownsClipboard_ = false;
            break;
        default:
            break;
    }
}

std::optional<BackendEvent> X11Backend::Poll() {
    // Before the events of the first mapped window, which alone can bring keys and focus.
    if (inputMethodWanted_) OpenInputMethod();
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

}  // namespace platform::x11
