// The contract between the window system and GDI for device contexts on windows: the window
// system owns the backing stores and computes visible regions; GDI draws.
#pragma once

#include "platform/gdi/gdi_objects.h"

namespace platform::gdi {

// A DC that draws into `target` (a top-level window's backing store). `origin` is where the
// DC's device point (0, 0) lies in the target; `visible` is the system clip in target
// coordinates (the window's visible region, already clipped to the target).
HDC CreateWindowSurfaceDC(HWND window, const PixelBuffer& target, POINT origin, const Region& visible);
// Re-targets a window DC (the window moved or its visible region changed).
void UpdateWindowSurfaceDC(HDC dc, const PixelBuffer& target, POINT origin, const Region& visible);
// The window a DC was created for; null for memory DCs and unknown handles.
HWND WindowOfDC(HDC dc);
// True when anything was drawn through the DC since the last call; resets the flag. The window
// system uses it to know which parts of a backing store to present.
bool TakeDrawnFlag(HDC dc);
// Frees a window DC (ReleaseDC and EndPaint end here).
bool DestroyWindowSurfaceDC(HDC dc);

}  // namespace platform::gdi
