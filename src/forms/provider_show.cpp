// The provider's part of showing a form: with the manager's FormShow effect the window comes
// up through the show animation instead of appearing at once.
#include <vector>

#include "forms/skin_provider.h"
#include "framework/messages.h"
#include "skin/window_animation.h"

namespace forms {

using framework::TMessage;

namespace {

std::vector<HWND> VisibleChildWindows(HWND parent) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (IsWindowVisible(c)) children.push_back(c);
    return children;
}

void SetRedraw(const std::vector<HWND>& windows, bool on) {
    for (HWND w : windows)
        if (IsWindow(w)) SendMessage(w, WM_SETREDRAW, on ? 1 : 0, 0);
}

}  // namespace

// A form being shown (not hidden, not made again, not inside a parent, not minimised) is
// animated when the effect is on and layered windows exist.
void TsSkinProvider::OnShowingChanged(TMessage& m) {
    // Menus made while the form was hidden are skinned before it can open them.
    if (form_->Showing()) HookMenus();
    skin::TsSkinManager* manager = Manager();
    HWND hwnd = form_->Handle();
    const bool animate = manager && manager->AnimEffects.FormShow.Active && form_->Showing() &&
                         !form_->Parent() && !(form_->ControlState & framework::csRecreating) &&
                         !IsWindowVisible(hwnd) && !IsIconic(hwnd) &&
                         skin::LayeredAnimationAvailable();
    if (!animate) return CallDefault(m);
    ShowAnimated(m, manager->AnimEffects.FormShow);
}

// The saved procedure shows the window; it is frozen before its first frame is presented and
// handed to the animation, which unfreezes and redraws it. The effect is a copy: the
// animation runs the message loop, and the manager may go meanwhile.
void TsSkinProvider::ShowAnimated(TMessage& m, skin::TacAnimEffect effect) {
    framework::TCustomForm* form = form_;
    HWND hwnd = form->Handle();
    const std::vector<HWND> children = VisibleChildWindows(hwnd);
    data_->Updating = true;
    SetRedraw(children, false);
    try {
        CallDefault(m);
    } catch (...) {
        SetRedraw(children, true);
        data_->Updating = false;
        throw;
    }
    SetRedraw(children, true);
    // Children paint into the captured picture, which they would hold back while the form
    // counts as preparing.
    data_->Updating = false;
    if (!IsWindowVisible(hwnd)) return;  // the form's OnShow hid it again
    SendMessage(hwnd, WM_SETREDRAW, 0, 0);
    const BYTE target = form->AlphaBlend() ? form->AlphaBlendValue() : 255;
    skin::AnimateWindowIn(*form, effect.Time, target, effect.Mode);
}

}  // namespace forms
