// The clipboard as the CLIPBOARD selection: owning it, answering requests for it, and reading
// another owner's text.

// Our headers before Xlib's, whose macros clash with our names.
// clang-format off
#include "platform/x11/x11_internal.h"
// clang-format on

#include <X11/Xatom.h>
#include <poll.h>

#include <chrono>

namespace platform::x11 {

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
    XConvertSelection(dpy_, A("CLIPBOARD"), A("UTF8_STRING"), property, selectionOwner_,
                      CurrentTime);
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
            if (XGetWindowProperty(dpy_, selectionOwner_, property, 0, 1 << 20, True,
                                   AnyPropertyType, &type, &format, &count, &after,
                                   &data) == Success &&
                data) {
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
        XChangeProperty(dpy_, r.requestor, r.property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(targets), 4);
        reply.xselection.property = r.property;
    } else if (r.target == A("UTF8_STRING") || r.target == A("TEXT") || r.target == XA_STRING) {
        XChangeProperty(dpy_, r.requestor, r.property,
                        r.target == XA_STRING ? XA_STRING : A("UTF8_STRING"), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(clipboard_.data()),
                        static_cast<int>(clipboard_.size()));
        reply.xselection.property = r.property;
    }
    XSendEvent(dpy_, r.requestor, False, 0, &reply);
    XFlush(dpy_);
}

}  // namespace platform::x11
