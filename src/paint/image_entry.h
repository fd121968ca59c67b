// Reading image entries of a skin model: validity, their picture and state frame sizes.
#pragma once

#include "framework/graphic.h"
#include "skin/skin_model.h"

namespace paint {

// The entry at index, or null when the index is not one of model's Masks.
const skin::TsMaskData* MaskAt(const skin::TsSkinModel& model, int index);
// The entry's own picture, else the master bitmap; null when there is none.
framework::TBitmap* EntryImage(const skin::TsSkinModel& model, const skin::TsMaskData& entry);
// One state frame: width of R div ImageCount, height of R div (MaskType + 1); 0 when undefined.
int FrameWidth(const skin::TsMaskData& entry);
int FrameHeight(const skin::TsMaskData& entry);
// Rows between an image pixel and its mask pixel: half the height of R.
inline int MaskOffset(const skin::TsMaskData& entry) { return entry.Height() / 2; }

}  // namespace paint
