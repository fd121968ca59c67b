#include "paint/scratch_bitmap.h"

#include <array>
#include <cstring>
#include <memory>

#include "paint/pixel_view.h"

namespace paint {

namespace {

struct Slot {
    std::unique_ptr<framework::TBitmap> bitmap;
    bool busy = false;
};

std::array<Slot, static_cast<std::size_t>(ScratchSlot::Count)>& Slots() {
    thread_local std::array<Slot, static_cast<std::size_t>(ScratchSlot::Count)> slots;
    return slots;
}

}  // namespace

ScratchBitmap::ScratchBitmap(ScratchSlot slot, int width, int height,
                             framework::TPixelFormat format, bool cleared) {
    Slot& s = Slots()[static_cast<std::size_t>(slot)];
    if (s.busy) {
        // A new bitmap starts cleared.
        bitmap_ = &own_.emplace(width, height, format);
        return;
    }
    if (!s.bitmap) s.bitmap = std::make_unique<framework::TBitmap>(0, 0, format);
    s.bitmap->SetPixelFormat(format);
    s.bitmap->SetSize(width, height);
    s.busy = true;
    busy_ = &s.busy;
    bitmap_ = s.bitmap.get();
    if (!cleared) return;
    const detail::PixelView v = detail::View(*bitmap_);
    for (int y = 0; y < v.height; ++y)
        std::memset(v.Row(y), 0, static_cast<std::size_t>(v.width) * v.bpp);
}

ScratchBitmap::~ScratchBitmap() {
    if (busy_) *busy_ = false;
}

}  // namespace paint
