// Internals shared between the font objects and the rest of GDI.
#pragma once

#include "platform/types.h"

namespace platform::gdi {

// The stock fonts (SYSTEM_FONT, DEFAULT_GUI_FONT) as new stock objects.
void* StockFont(int index);
// GetObject for fonts (LOGFONT).
int GetFontObject(void* font, int size, void* out);

}  // namespace platform::gdi
