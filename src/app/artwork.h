// The program's own pictures, drawn by code: the clock icon and the stop glyph, 32 x 32 with
// straight alpha.
#pragma once

#include <memory>

#include "framework/graphic.h"

namespace app {

// An orange round clock face with a white dial and black hands.
std::unique_ptr<framework::TBitmap> MakeClockIcon();
// A grey round button with a dark square stop symbol.
std::unique_ptr<framework::TBitmap> MakeStopGlyph();

}  // namespace app
