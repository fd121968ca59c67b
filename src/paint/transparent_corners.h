// The see-through corners of a frame image, from which window shapes are cut.
#pragma once

#include <vector>

#include "skin/skin_model.h"

namespace paint {

// Appends one rectangle per run of TransparentColor pixels in the top WT rows (bottom: the
// bottom WB rows) of frame 0 of entry maskIndex: first the left WL columns row by row, then
// the right WR columns moved to a target targetWidth wide. Rows are numbered from y0.
void CollectTransparentCorners(std::vector<RECT>& list, int targetWidth, const skin::TsSkinModel& model,
                               int maskIndex, bool bottom, int y0);

}  // namespace paint
