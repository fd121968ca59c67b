// Bitmaps for the intermediate pictures of a paint (a section before it is mixed with what
// lies behind it, a gradient before it is mixed with a texture), kept on the painting thread
// from one paint to the next: their memory is neither allocated nor cleared again at every
// paint. Each slot holds the largest picture it was last asked for, until the thread ends.
// A picture comes cleared to zero, as a new bitmap would, unless the caller will write every
// pixel before reading any. A nested use of a slot that is in use gets a bitmap of its own.
#pragma once

#include <optional>

#include "framework/graphic.h"

namespace paint {

enum class ScratchSlot { Section, Overlay, Count };

class ScratchBitmap {
  public:
    ScratchBitmap(ScratchSlot slot, int width, int height, framework::TPixelFormat format,
                  bool cleared);
    ~ScratchBitmap();
    ScratchBitmap(const ScratchBitmap&) = delete;
    ScratchBitmap& operator=(const ScratchBitmap&) = delete;

    framework::TBitmap& Bitmap() { return *bitmap_; }

  private:
    std::optional<framework::TBitmap> own_;
    framework::TBitmap* bitmap_ = nullptr;
    bool* busy_ = nullptr;
};

}  // namespace paint
