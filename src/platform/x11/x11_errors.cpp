// Xlib's error handlers: protocol errors are logged with their names and never end the
// program; losing the display ends it cleanly.

// Our headers before Xlib's, whose macros clash with our names.
// clang-format off
#include "platform/x11/x11_internal.h"
// clang-format on

#include <cstdio>

namespace platform::x11 {

namespace {

int OnXError(Display* dpy, XErrorEvent* e) {
    char text[128] = {};
    XGetErrorText(dpy, e->error_code, text, sizeof text);
    std::fprintf(stderr, "utrozvon: X error %s (request %d.%d, resource 0x%lx)\n", text,
                 e->request_code, e->minor_code, e->resourceid);
    return 0;
}

// Losing the display ends the program cleanly; libX11 needs both handlers for the message.
int OnXIOError(Display*) {
    std::fprintf(stderr, "utrozvon: the connection to the X server was lost\n");
    std::_Exit(1);
}

}  // namespace

void InstallErrorHandlers() {
    XSetErrorHandler(OnXError);
    XSetIOErrorHandler(OnXIOError);
}

}  // namespace platform::x11
