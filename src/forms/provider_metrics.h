// The geometry of a skinned form's frame: what the system decides (frame width, caption
// height, where the client area starts) read fresh from the window and the system metrics,
// and the title bar's layout (icon and caption rectangles) computed from it.
#pragma once

#include "framework/form.h"

namespace forms {

struct TsFrameMetrics {
    int B = 0;           // frame width
    int T = 0;           // caption height
    int W = 0;           // window width
    int H = 0;           // window height
    int LeftOffset = 0;  // client area's left edge in the window
    int TopOffset = 0;   // client area's top edge in the window
    bool Iconic = false;
    bool Maximized = false;
    int TitleBottom() const { return B + T; }
};

// Reads the metrics of form's window (which must exist).
TsFrameMetrics ReadFrameMetrics(framework::TCustomForm& form);

// The automatic icon side for a caption (or client offset) height: 1 up to 8, 8 up to 16,
// 16 above.
int AutoIconSide(int height);
// Where the title icon goes; titleIconLeft is the skin's "BILEFT".
RECT TitleIconRect(const TsFrameMetrics& m, int titleIconLeft);

// The caption's free rectangle before it is fitted to the text: from after the icon to 12
// pixels before the title buttons.
RECT CaptionSpace(const TsFrameMetrics& m, int iconWidth, int titleIconLeft, bool captionPlate,
                  int buttonsWidth);
// Narrows space to textHeight, centred, and places the text by alignment. addedWidth is the
// width of the added title (0 without one).
RECT AlignCaption(RECT space, int textWidth, int textHeight, int addedWidth,
                  framework::TAlignment alignment);

}  // namespace forms
