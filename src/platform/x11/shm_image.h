// A 32-bit image in MIT shared memory, so presenting does not copy pixels through the socket.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <memory>

namespace platform::x11 {

class ShmImage {
public:
    // Null when the server has no MIT-SHM or the segment cannot be made or attached.
    static std::unique_ptr<ShmImage> Create(Display* dpy, Visual* visual, int depth, int width, int height);
    ~ShmImage();
    ShmImage(const ShmImage&) = delete;
    ShmImage& operator=(const ShmImage&) = delete;

    std::uint32_t* Pixels() const { return reinterpret_cast<std::uint32_t*>(image_->data); }
    // Puts a part of the image into a drawable; the caller syncs before touching the pixels.
    void Put(Drawable target, GC gc, int x, int y, int width, int height) const;

private:
    ShmImage(Display* dpy) : dpy_(dpy) {}
    Display* dpy_;
    XShmSegmentInfo info_{};
    XImage* image_ = nullptr;
    bool attached_ = false;
};

}  // namespace platform::x11
