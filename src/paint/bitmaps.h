// New bitmaps of the two depths the painters use.
#pragma once

#include <memory>

#include "framework/graphic.h"

namespace paint {

std::unique_ptr<framework::TBitmap> CreateBmp24(int width, int height);
std::unique_ptr<framework::TBitmap> CreateBmp32(int width, int height);

}  // namespace paint
