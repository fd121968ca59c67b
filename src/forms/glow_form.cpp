#include "forms/glow_form.h"

namespace forms {

TacGlowForm::TacGlowForm(bool stayOnTop) : framework::TCustomForm(nullptr), stayOnTop_(stayOnTop) {
    Tag = kGlowFormTag;
    ControlStyle &= ~framework::csCaptureMouse;
    SetBorderStyle(framework::TFormBorderStyle::bsNone);
}

void TacGlowForm::CreateParams(framework::TCreateParams& params) {
    framework::TCustomForm::CreateParams(params);
    params.ExStyle |= WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE;
    if (stayOnTop_) params.ExStyle |= WS_EX_TOPMOST;
    params.WinClassName = "TacGlowForm";
}

void TacGlowForm::WndProc(framework::TMessage& m) {
    switch (m.Msg) {
        case WM_NCHITTEST:
            m.Result = HTTRANSPARENT;
            return;
        case WM_MOUSEACTIVATE:
            m.Result = MA_NOACTIVATE;
            return;
        // A form shows itself with SW_SHOW, which raises it to the top; a glow stays where it was
        // put, directly above its form.
        case framework::CM_VISIBLECHANGED:
            if (HandleAllocated()) ShowWindow(Handle(), Visible() ? SW_SHOWNOACTIVATE : SW_HIDE);
            return;
        default:
            framework::TCustomForm::WndProc(m);
    }
}

}  // namespace forms
