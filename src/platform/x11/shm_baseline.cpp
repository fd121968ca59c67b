// The floor for presenting: a bare XShmPutImage of a whole image plus the round trip that
// makes the pixels reusable, without any of the backend's work, measured on its own
// connection. Benchmarks compare the backend's present with it in the same run.
#include <chrono>

// Our headers before Xlib's: its macros clash with our names.
#include "platform/x11/x11_backend.h"
#include "platform/x11/shm_image.h"

namespace platform::x11 {

double BareShmPutMicroseconds(int width, int height, int iterations) {
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return -1;
    int screen = DefaultScreen(dpy);
    XVisualInfo info{};
    double result = -1;
    if (XMatchVisualInfo(dpy, screen, 24, TrueColor, &info)) {
        Window window = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), 10, 10, static_cast<unsigned>(width),
                                            static_cast<unsigned>(height), 0, 0, 0);
        XMapWindow(dpy, window);
        XSync(dpy, False);
        GC gc = XCreateGC(dpy, window, 0, nullptr);
        if (auto image = ShmImage::Create(dpy, info.visual, 24, width, height)) {
            for (int i = 0; i < 50; ++i) {  // the first puts after mapping are slower
                image->Put(window, gc, 0, 0, width, height);
                XSync(dpy, False);
            }
            auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < iterations; ++i) {
                image->Pixels()[i % (width * height)] ^= 0xFFFFFF;
                image->Put(window, gc, 0, 0, width, height);
                XSync(dpy, False);
            }
            std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
            result = spent.count() / iterations;
        }
        XFreeGC(dpy, gc);
        XDestroyWindow(dpy, window);
    }
    XCloseDisplay(dpy);
    return result;
}

}  // namespace platform::x11
