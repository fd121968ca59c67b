// Gradients of a section: vertical and horizontal parts, or four triangles.
#pragma once

#include "framework/graphic.h"
#include "skin/skin_model.h"

namespace paint {

// Draws `parts` into rect; the first part's Mode picks the kind: 0 vertical, 1 horizontal,
// 2 four triangles through the platform's gradient fill. `offset` moves where a vertical
// gradient starts.
void FillGradient(framework::TBitmap& bmp, RECT rect, const skin::TsGradArray& parts, int offset);

}  // namespace paint
