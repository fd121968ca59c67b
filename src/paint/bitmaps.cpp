#include "paint/bitmaps.h"

namespace paint {

std::unique_ptr<framework::TBitmap> CreateBmp24(int width, int height) {
    return std::make_unique<framework::TBitmap>(width, height, framework::TPixelFormat::pf24bit);
}

std::unique_ptr<framework::TBitmap> CreateBmp32(int width, int height) {
    return std::make_unique<framework::TBitmap>(width, height, framework::TPixelFormat::pf32bit);
}

}  // namespace paint
