// A bound control's caption in its section's colours, and its disabled look.
#pragma once

#include <string>

#include "framework/canvas.h"
#include "paint/bg_source.h"
#include "paint/common_data.h"

namespace paint {

// Writes text in rect of canvas in the colours of the control's section (or, for controls
// that take their font from a see-through parent, of the first parent section that gives
// its font away): a glow into CacheBmp first when the section has one, then the contour
// copies and the face; disabled, once in a colour 40 % of the way to the skin's colour.
void WriteSkinText(const TsCommonData& data, framework::TCanvas& canvas, const std::string& text, bool enabled,
                   bool hot, UINT flags, RECT rect);

// Disabled looks, combinable.
enum TsDisabledKind : unsigned { dkBlended = 1, dkGrayed = 2 };
using TsDisabledKinds = unsigned;

// Gives a control's image its disabled look. dkBlended mixes it with what lies behind: with a
// ready background each byte d becomes round(s - 0.4 (s - d)), s the background pixel at
// (bg.X + offset.x + x, bg.Y + offset.y + y) (pixels without one stay); without, half of
// bg.FillColor, or of control's plain colour when that is the "no colour" value.
void ApplyDisabledKind(framework::TBitmap& bmp, TsDisabledKinds kinds, framework::TControl* control, POINT offset,
                       const TsBgSource& bg);

}  // namespace paint
