// Where a speed button puts its glyph and caption: pure arithmetic over the button's sizes,
// so the numbers can be checked without painting.
#pragma once

#include "framework/control.h"
#include "framework/std_controls.h"

namespace paint {

// Width of the arrow part of a drop-down button.
constexpr int kDropDownWidth = 16;

struct TsButtonMetrics {
    int width = 0, height = 0;
    int glyphWidth = 0, glyphHeight = 0;  // one frame; 0 without glyph
    int dropDown = 0;                     // arrow part width
    int margin = -1;
    int spacing = 4;
    framework::TButtonLayout layout = framework::TButtonLayout::blGlyphLeft;
    framework::TAlignment alignment = framework::TAlignment::taCenter;
    int textWidth = 0, textHeight = 0;  // measured caption, 0 without one
    bool captionShown = false;          // ShowCaption with a non-empty caption
    int textOffset = 0;
    bool pressed = false;  // paint state 2: both rectangles move by (1, 1)
};

// Inner margin: 0 for a negative Margin, else Margin + 3.
int InnerMargin(int margin);
// Width the caption may wrap in.
int CaptionWidth(const TsButtonMetrics& m);
// Top-left corner of the glyph.
POINT GlyphOrigin(const TsButtonMetrics& m);
// The caption's rectangle.
RECT CaptionRect(const TsButtonMetrics& m);

}  // namespace paint
