// Sending skin commands to controls: to the control's window when it has one, else straight
// to its message handler, as the manager's broadcast does.
#pragma once

#include "framework/control.h"
#include "skin/skin_commands.h"

namespace paint {

LRESULT SendSkinCommand(framework::TControl* control, WORD command, WORD flag = 0, LPARAM lParam = 0);
// Sent to a window that may not belong to the framework.
LRESULT SendSkinCommand(HWND window, WORD command, WORD flag = 0, LPARAM lParam = 0);
// Sends an ordinary message the same way.
LRESULT DeliverMessage(framework::TControl* control, UINT message, WPARAM wParam, LPARAM lParam);

// The control handles skin commands itself (answers scIsSkinned with 1).
bool AnswersSkinned(framework::TControl* control);

// The plain colour a control offers: its answer to scGetColor when it is skinned, else its
// own colour; always RGB.
framework::TColor PlainColorOf(framework::TControl* control);

}  // namespace paint
