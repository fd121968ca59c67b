// Colour mixing: two colours, a colour into a bitmap area, one bitmap into another.
#pragma once

#include <cstdint>

#include "framework/graphic.h"

namespace paint {

using framework::TBitmap;
using framework::TColor;

// Each of red, green, blue = k * c1 + (1 - k) * c2 rounded half to even; top byte of c1.
TColor LerpColor(TColor c1, TColor c2, double k);

// Keeps `keep` percent of every colour byte in rect and mixes in the rest of `color`. Right
// and bottom are inclusive here; alpha bytes stay.
void BlendColorIntoRect(TBitmap& bmp, RECT rect, int keep, TColor color);

// Mixes src's srcRect into dst at `at`: each byte becomes (d * a + s * (255 - a) + 127) >> 8,
// alpha bytes of 32-bit bitmaps included. Both bitmaps must have the same depth and be at
// least 2 x 2; otherwise nothing happens.
void BlendBitmaps(TBitmap& dst, const TBitmap& src, std::uint8_t alpha, POINT at, RECT srcRect);

namespace detail {
// One row of n bytes of the BlendBitmaps formula; exposed for the benchmark and the tests.
void BlendBytes(std::uint8_t* d, const std::uint8_t* s, int n, unsigned alpha);
}

}  // namespace paint
