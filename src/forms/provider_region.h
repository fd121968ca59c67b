// The shape of a skinned form: the window rectangle less the see-through corner pixels of the
// frame and title pictures, or, when maximised, the rectangle inside the frame so that the
// frame lies off the screen.
#pragma once

#include <vector>

#include "forms/provider_metrics.h"
#include "skin/skin_model.h"

namespace forms {

// The corner rectangles of a w x h window: the top and bottom corners of frame entry
// borderMask and the top corners of the title section's "BORDERSMASK" (titleIndex; -1 for
// none).
std::vector<RECT> CollectFrameCorners(const skin::TsSkinModel& model, int borderMask,
                                      int titleIndex, const std::string& titleName, int w, int h);
// The region for m from the corner list; the caller owns it.
HRGN MakeFrameRegion(const TsFrameMetrics& m, const std::vector<RECT>& corners);

}  // namespace forms
