// Grey versions of bitmaps for disabled looks.
#pragma once

#include "framework/graphic.h"

namespace paint {

// Blue, green and red of every pixel become (blue + green + red) div 3; alpha stays.
void GrayBitmap(framework::TBitmap& bmp);
// The same for a 24-bit bitmap, leaving pixels of the key colour as they are.
void GrayBitmapExceptKey(framework::TBitmap& bmp, framework::TColor key);

}  // namespace paint
