#include "paint/control_commands.h"

namespace paint {

LRESULT DeliverMessage(framework::TControl* control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!control) return 0;
    if (control->IsWindowed()) {
        auto* windowed = static_cast<framework::TWinControl*>(control);
        if (windowed->HandleAllocated()) return SendMessage(windowed->Handle(), message, wParam, lParam);
    }
    return control->Perform(message, wParam, lParam);
}

LRESULT SendSkinCommand(framework::TControl* control, WORD command, WORD flag, LPARAM lParam) {
    return DeliverMessage(control, skin::SM_SKINCMD, skin::SkinCommandWParam(command, flag), lParam);
}

LRESULT SendSkinCommand(HWND window, WORD command, WORD flag, LPARAM lParam) {
    if (!window) return 0;
    return SendMessage(window, skin::SM_SKINCMD, skin::SkinCommandWParam(command, flag), lParam);
}

bool AnswersSkinned(framework::TControl* control) { return SendSkinCommand(control, skin::scIsSkinned) == 1; }

framework::TColor PlainColorOf(framework::TControl* control) {
    if (!control) return 0;
    if (AnswersSkinned(control))
        return static_cast<framework::TColor>(SendSkinCommand(control, skin::scGetColor) & 0xFFFFFF);
    return static_cast<framework::TColor>(framework::ColorToRGB(control->Color()));
}

}  // namespace paint
