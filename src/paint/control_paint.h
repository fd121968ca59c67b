// Painting a bound control's skinned background: the section fill over what lies behind, the
// frame image, then the corner images (the frame first, unlike PaintSectionRect); the frame
// alone for controls with a plain inside; the corners again when only the surroundings
// changed.
#pragma once

#include "paint/bg_query.h"
#include "paint/common_data.h"

namespace paint {

// Paints rect of bmp. offset is rect's position in the background's coordinates. Nothing
// happens without manager, section or bitmap, or for a rect that reaches outside bmp.
void PaintControlBg(const TsCommonData& data, const TsBgSource& bg, bool fillCentre,
                    bool useParentBg, framework::TBitmap* bmp, POINT offset, const RECT& rect,
                    int state);
// The same over the background that parent answers.
void PaintControlBgOnParent(const TsCommonData& data, framework::TControl* parent, bool fillCentre,
                            bool useParentBg, framework::TBitmap* bmp, POINT offset,
                            const RECT& rect, int state);

// Paints only the frame of a control whose inside is plain: the frame image into CacheBmp
// (copied to dc in bw-wide strips when dc is another context), or a solid bw-wide frame.
// innerRect receives the area the frame leaves.
void PaintBorderFast(TsCommonData& data, HDC dc, const RECT& rect, int borderWidth, RECT& innerRect,
                     int state);

// Lays the four corners of the frame image in CacheBmp again over the parent's current
// background. Decision: only the see-through pixels joined to the control's outer edges take
// the parent's pixels; those walled in by the frame's lines keep what PrepareCache painted
// there (the control's own fill), since a corner rectangle reaches inside the frame too.
void RefreshCorners(TsCommonData& data, int state);

}  // namespace paint
