// The tooltip of tray icons (internal to the shell services).
#pragma once

#include <string>

#include "platform/types.h"

namespace platform::win {

// The pointer entered or moved over an icon (inside) or left it.
void TrayTipHover(const std::string& tip, POINT screen, bool inside);
void HideTrayTip();
// The tip's window, for tests; null before the first hover.
HWND TrayTipWindow();

}  // namespace platform::win
