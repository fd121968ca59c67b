// A control's picture as the window animations need it: the control and all its visible
// windowed children painted into one bitmap.
//
// Decision for our layering: a hidden control captured on its own is given its parent's plain
// colour (scGetColor, else the parent's Color). The background query with a picture lives in
// the paint layer, above this one, and is not reachable from here.
#pragma once

#include "framework/control.h"
#include "framework/graphic.h"

namespace skin {

// Paints `control` and its visible windowed children, recursively, into `picture` with the
// control's top-left corner at (x, y). Windows that handle skin commands print themselves
// (WM_PRINT); others paint through the framework. Children of a window land at their place in
// its client area, so a form's children sit inside its frame.
void CaptureWindow(framework::TBitmap& picture, framework::TControl& control, int x, int y);

}  // namespace skin
