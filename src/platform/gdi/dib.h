// The top-down DIB section most code wants, without spelling out a BITMAPINFO each time.
#pragma once

#include "platform/types.h"

namespace platform::gdi {

// A top-down DIB section of the given depth (24 or 32); `bits` receives its pixels.
HBITMAP CreateTopDownDib(int width, int height, int bitsPerPixel, void** bits);

}  // namespace platform::gdi
