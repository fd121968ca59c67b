// The X11 backend: every top-level surface is an X window whose contents are the presented
// pixels of its backing store; X events become backend events. Only this folder sees Xlib.
#pragma once

#include <memory>
#include <vector>

#include "platform/backend.h"

namespace platform::x11 {

// Opens $DISPLAY; throws std::runtime_error with a clear message when that is impossible.
std::unique_ptr<Backend> CreateX11Backend();

// The X window that shows a surface of an X11 backend (0 for other backends or unknown
// surfaces), so that tests can look at it with the X tools.
unsigned long NativeWindowOf(Backend& backend, SurfaceId id);

// The bounding shape of an X window as the server holds it (XShapeGetRectangles), in the
// window's own coordinates; the whole window when it is not shaped, empty for an unknown
// window or another backend. For tests.
std::vector<RECT> BoundingShapeOf(Backend& backend, unsigned long window);

// Microseconds a bare XShmPutImage of a width x height image and its XSync take on $DISPLAY
// (averaged over the iterations); -1 without a display or MIT-SHM. For benchmarks.
double BareShmPutMicroseconds(int width, int height, int iterations);

}  // namespace platform::x11
