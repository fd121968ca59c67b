// Where a glow window goes: the control's box grown on each side by that side's frame width of
// the glow picture less the overlap, then cut back on the sides where the control itself is
// cut off, so that no halo shows beside a part of the control that cannot be seen.
#pragma once

#include "platform/types.h"

namespace forms {

struct TacGlowPlacement {
    SIZE full{};      // the whole glow picture
    int cutLeft = 0;  // columns and rows of the picture left out at each side
    int cutTop = 0;
    int cutRight = 0;
    int cutBottom = 0;
    RECT window{};  // the glow window on the screen

    int Width() const { return window.right - window.left; }
    int Height() const { return window.bottom - window.top; }
    // A window of no area is never made.
    bool Empty() const { return Width() <= 0 || Height() <= 0; }
    // Only a cut at the left or top moves the picture's origin.
    bool NeedsRecut() const { return cutLeft != 0 || cutTop != 0; }
};

// box: the control on the screen; visible: the part of it that can be seen, in its own
// coordinates; frame: the glow entry's frame widths (left, top, right, bottom); overlap: how far
// the glow reaches into the control.
//
// Unlike a literal reading of the cut rule, a cut never goes below 0 (a frame narrower than the
// overlap would otherwise grow the window past the full picture), a side is cut only where the
// visible part really is smaller than the box, and a control of which nothing can be seen gets
// an empty placement (no window) instead of a lone corner of halo.
TacGlowPlacement PlaceGlow(const RECT& box, const RECT& visible, const RECT& frame, int overlap);

}  // namespace forms
