// The manager's colour transformation of a loaded skin: a hue turn in the HSV model, then a
// saturation change towards or away from grey. Grey and the transparent colour never change.
#pragma once

#include "skin/skin_model.h"

namespace skin {

// One colour ($00BBGGRR). Negative values (system colours, "none") and $FF00FF are kept.
TColor TurnHue(TColor color, int degrees);
TColor ChangeSaturation(TColor color, int saturation);

// In place, over a 24- or 32-bit bitmap; the alpha byte is left alone.
void TurnHue(framework::TBitmap& bitmap, int degrees);
void ChangeSaturation(framework::TBitmap& bitmap, int saturation);

// Every colour and picture of the model, with the title-icon exceptions of TitleIconKeepHue.
void ApplyColorTransform(TsSkinModel& model, int hueOffset, int saturation);

}  // namespace skin
