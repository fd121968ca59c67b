#include "platform/x11/shm_image.h"

#include <sys/ipc.h>
#include <sys/shm.h>

namespace platform::x11 {
namespace {

bool g_attachFailed = false;

int NoteAttachError(Display*, XErrorEvent*) {
    g_attachFailed = true;
    return 0;
}

}  // namespace

std::unique_ptr<ShmImage> ShmImage::Create(Display* dpy, Visual* visual, int depth, int width, int height) {
    if (!XShmQueryExtension(dpy) || width <= 0 || height <= 0) return nullptr;
    std::unique_ptr<ShmImage> img(new ShmImage(dpy));
    img->image_ = XShmCreateImage(dpy, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &img->info_,
                                  static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (!img->image_ || img->image_->bits_per_pixel != 32) return nullptr;
    img->info_.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(img->image_->bytes_per_line) * height, IPC_CREAT | 0600);
    if (img->info_.shmid < 0) return nullptr;
    img->info_.shmaddr = img->image_->data = static_cast<char*>(shmat(img->info_.shmid, nullptr, 0));
    img->info_.readOnly = False;
    if (img->info_.shmaddr == reinterpret_cast<char*>(-1)) {
        img->info_.shmaddr = img->image_->data = nullptr;
        return nullptr;
    }
    // A server on another machine cannot attach: that shows as an X error, caught here.
    g_attachFailed = false;
    XErrorHandler previous = XSetErrorHandler(NoteAttachError);
    XShmAttach(dpy, &img->info_);
    XSync(dpy, False);
    XSetErrorHandler(previous);
    img->attached_ = !g_attachFailed;
    return img->attached_ ? std::move(img) : nullptr;
}

ShmImage::~ShmImage() {
    if (attached_) {
        XShmDetach(dpy_, &info_);
        XSync(dpy_, False);
    }
    if (info_.shmaddr) shmdt(info_.shmaddr);
    if (info_.shmid > 0) shmctl(info_.shmid, IPC_RMID, nullptr);
    if (image_) {
        image_->data = nullptr;
        XDestroyImage(image_);
    }
}

void ShmImage::Put(Drawable target, GC gc, int x, int y, int width, int height) const {
    XShmPutImage(dpy_, target, gc, image_, x, y, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), False);
}

}  // namespace platform::x11
