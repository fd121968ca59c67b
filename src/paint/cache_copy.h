// Putting a container's cached image on screen around its children, and painting its
// windowless children over it.
#pragma once

#include "paint/common_data.h"

namespace paint {

// Copies rect's size from CacheBmp at src to rect's top-left corner of dc, leaving out the
// visible children that overlap it (windowless ones always, windowed ones when opaque). The
// source rectangle is cut to CacheBmp. With refreshCorners, RefreshCorners (state 0) first.
// dc's state is restored.
void CopyCacheToDC(TsCommonData& data, framework::TWinControl* container, HDC dc, const RECT& rect, POINT src,
                   bool refreshCorners);

// The same for a window that is not a framework control: every visible child window is left
// out, except that of a group box without client edge only the frame (its caption band, as
// high as its answer to the caption-height command, and the "GROUPBOX" frame margins).
void CopyCacheToWindowDC(TsCommonData& data, HWND window, HDC dc, const RECT& rect, POINT src, bool refreshCorners);

// Paints container's visible windowless children into dc (offset: where the container's
// (0, 0) lies in dc) over the container's background, each through an off-screen picture.
// Not re-entered; dc's state and the re-entry flag are restored when painting throws.
void PaintGraphicChildren(HDC dc, framework::TWinControl* container, POINT offset);

}  // namespace paint
