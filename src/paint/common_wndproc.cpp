#include "paint/common_wndproc.h"

#include <algorithm>

#include "framework/menus.h"
#include "framework/std_controls.h"
#include "paint/control_commands.h"
#include "paint/control_kinds.h"
#include "skin/skin_engine.h"

namespace paint {

namespace {

using framework::TControl;
using framework::TMessage;
using framework::TWinControl;

TWinControl* WindowedOwner(const TsCommonData& d) {
    return d.OwnerControl && d.OwnerControl->IsWindowed()
               ? static_cast<TWinControl*>(d.OwnerControl)
               : nullptr;
}

bool Destroying(const TControl* c) {
    return (c->ComponentState() & framework::csDestroying) != 0;
}

// Speed buttons have their own glow handling; the kinds around them never glow from here.
bool IsSpeedButtonKind(int kind) {
    return kind >= ckSpeedButton && kind <= ckSpeedButton + 2;
}

bool GlowsFromHere(const TsCommonData& d) {
    return !HasNoGlow(d.ControlKind) && !IsSpeedButtonKind(d.ControlKind);
}

void RedrawFrame(TsCommonData& d) {
    if (HWND w = d.OwnerWindow()) RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

// The owner's rectangle on the screen and the part of it its parents let be seen, in its own
// coordinates.
void OwnerPlacement(const TsCommonData& d, RECT& box, RECT& visible) {
    TControl* c = d.OwnerControl;
    POINT origin{c->Left(), c->Top()};
    if (c->Parent()) origin = c->Parent()->ClientToScreen(origin);
    box = RECT{origin.x, origin.y, origin.x + c->Width(), origin.y + c->Height()};
    visible = box;
    for (TWinControl* p = c->Parent(); p; p = p->Parent()) {
        RECT client = p->ClientRect();
        POINT o = p->ClientToScreen(POINT{0, 0});
        visible.left = std::max(visible.left, o.x);
        visible.top = std::max(visible.top, o.y);
        visible.right = std::min(visible.right, o.x + client.right);
        visible.bottom = std::min(visible.bottom, o.y + client.bottom);
    }
    OffsetRect(&visible, -box.left, -box.top);
    if (visible.right < visible.left) visible.right = visible.left;
    if (visible.bottom < visible.top) visible.bottom = visible.top;
}

bool LeftButtonDownOnOwner(const TsCommonData& d) {
    return (d.OwnerControl->ControlState & framework::csLButtonDown) != 0;
}

bool GlowAllowed(const TsCommonData& d) {
    skin::TsSkinManager* m = d.Manager();
    const skin::TsGeneralData* s = d.Section();
    return m && s && d.OwnerControl && m->EffectiveAllowGlowing() && s->GlowCount >= 1 &&
           d.MouseAbove && d.OwnerControl->Enabled() && !LeftButtonDownOnOwner(d);
}

void OpenGlow(TsCommonData& d) {
    skin::TsFormLayer* layer = skin::FormLayer();
    if (!layer || d.GlowId >= 0) return;
    skin::TsGlowRequest r;
    OwnerPlacement(d, r.box, r.visible);
    r.section = d.SkinSection();
    r.manager = d.Manager();
    framework::TCustomForm* form = d.OwnerControl->ParentForm();
    r.parent = form && form->HandleAllocated() ? form->Handle() : nullptr;
    r.overlap = d.Section()->GlowMargin;
    d.GlowId = layer->OpenGlow(r);
}

// Speed buttons are windowless: one that the mouse left straight into its parent's window
// may not have heard of it.
void LeaveHotSpeedButtons(TsCommonData& d, TWinControl* owner, LPARAM named) {
    for (int i = 0; i < owner->ControlCount(); ++i) {
        auto* b = dynamic_cast<framework::TSpeedButton*>(owner->Controls(i));
        if (!b || b == d.OwnerControl || reinterpret_cast<LPARAM>(b) == named) continue;
        if (b->MouseInControl())
            b->Perform(framework::CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(b));
    }
}

bool IsOwnCrossing(const TsCommonData& d, const TMessage& m) {
    return m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(d.OwnerControl);
}

void MouseEnter(TsCommonData& d, TMessage& m) {
    TWinControl* owner = WindowedOwner(d);
    const bool withDefault = owner && skin::DefaultManager();
    if (withDefault) LeaveHotSpeedButtons(d, owner, m.LParam);
    if (!IsOwnCrossing(d, m)) return;
    if (!HasNoHoverState(d.ControlKind)) d.MouseAbove = true;
    if (!withDefault) return;
    if (skin::TsSkinManager* manager = d.Manager(); manager && owner->HandleAllocated())
        manager->SetHotControl(owner->Handle());
    if (GlowsFromHere(d)) UpdateGlow(d);
    if (PaintsFrameOutside(d.ControlKind)) {
        d.BgChanged = true;
        RedrawFrame(d);
    }
}

void MouseLeave(TsCommonData& d, TMessage& m) {
    if (!IsOwnCrossing(d, m)) return;
    if (!HasNoHoverState(d.ControlKind)) d.MouseAbove = false;
    if (GlowsFromHere(d)) CloseGlow(d);
    if (PaintsFrameOutside(d.ControlKind) && d.OwnerControl && d.OwnerControl->Visible()) {
        d.BgChanged = true;
        RedrawFrame(d);
    }
}

void Moved(TsCommonData& d) {
    if (!DependsOnPosition(d)) return;
    d.BgChanged = true;
    if (d.OwnerControl) SendSkinCommand(d.OwnerControl, skin::scBgChanged, 1);
    CloseGlow(d);
}

void Sized(TsCommonData& d) {
    if (!d.IsSkinned()) return;
    d.BgChanged = true;
    TWinControl* owner = WindowedOwner(d);
    if (owner && d.Section()->GradientPercent > 0) {
        for (int i = 0; i < owner->ControlCount(); ++i) {
            TControl* child = owner->Controls(i);
            // Children anchored right or bottom move and repaint anyway.
            if (Destroying(child) ||
                (child->Anchors() & (framework::akRight | framework::akBottom)))
                continue;
            SendSkinCommand(child, skin::scBgChanged, 1);
        }
    }
    CloseGlow(d);
}

void FocusChanged(TsCommonData& d, bool focused) {
    TWinControl* owner = WindowedOwner(d);
    if (!owner || !owner->CanFocus() || !owner->TabStop) return;
    d.BgChanged = true;
    d.Focused = focused;
    if (PaintsFrameOutside(d.ControlKind) && (focused || owner->Visible())) RedrawFrame(d);
}

void StateReset(TsCommonData& d) {
    d.MouseAbove = false;
    d.Focused = false;
    if (d.OwnerControl && !d.OwnerControl->Enabled()) CloseGlow(d);
}

void ContextMenu(TsCommonData& d) {
    skin::TsSkinManager* m = d.Manager();
    framework::TPopupMenu* popup = d.OwnerControl ? d.OwnerControl->PopupMenu() : nullptr;
    if (popup && m && skin::FormLayer()) skin::FormLayer()->HookPopupMenu(*popup, m, m->Active());
}

void ParentNotify(TsCommonData& d, const TMessage& m) {
    TWinControl* owner = WindowedOwner(d);
    if (!owner || LOWORD(m.WParam) != WM_CREATE) return;
    if (framework::TCustomForm* form = owner->ParentForm())
        SendSkinCommand(form, skin::scControlCreated, 0, reinterpret_cast<LPARAM>(owner));
}

void VisibilityChanged(TsCommonData& d, bool shown) {
    if (!d.CacheBmp) return;
    if (shown) {
        d.Updating = false;
        d.BgChanged = true;
    } else {
        d.CacheBmp->SetSize(0, 0);
    }
}

void SendAnimationCommand(TsCommonData& d, WORD command) {
    if (d.OwnerControl) {
        SendSkinCommand(d.OwnerControl, command);
    } else if (HWND w = d.OwnerWindow()) {
        SendSkinCommand(w, command);
    }
}

}  // namespace

bool DependsOnPosition(const TsCommonData& d) {
    if (d.ForceRepaint || !d.IsSkinned() || !d.OwnerControl) return true;
    if (!d.OwnerControl->Visible() || (d.OwnerControl->ControlState & framework::csCreating))
        return true;
    const skin::TsGeneralData* s = d.Section();
    if (!s) return false;
    if (d.OwnerControl->Enabled() && s->Transparency <= 0) return false;
    TWinControl* parent = d.OwnerControl->Parent();
    return !parent || (SendSkinCommand(parent, skin::scIsComplexBg) & 0x7F) != 0;
}

void BeginAnimation(TsCommonData& d) {
    d.Updating = true;
    d.OpacityFlags |= kOpacityAnimating;
    SendAnimationCommand(d, skin::scBeginAnimation);
}

void EndAnimation(TsCommonData& d, bool repaint) {
    d.Updating = false;
    d.OpacityFlags &= ~kOpacityAnimating;
    SendAnimationCommand(d, skin::scEndAnimation);
    if (repaint) d.RepaintControl();
}

void UpdateGlow(TsCommonData& d) {
    if (GlowAllowed(d))
        OpenGlow(d);
    else
        CloseGlow(d);
}

void CloseGlow(TsCommonData& d) {
    if (d.GlowId < 0) return;
    if (skin::FormLayer()) skin::FormLayer()->CloseGlow(d.GlowId);
    d.GlowId = -1;
}

bool CommonWndProc(TsCommonData& d, TMessage& m) {
    switch (m.Msg) {
        case WM_MOVE:
            Moved(d);
            return false;
        case WM_SIZE:
            Sized(d);
            return false;
        case WM_SETFOCUS:
            FocusChanged(d, true);
            return false;
        case WM_KILLFOCUS:
            FocusChanged(d, false);
            return false;
        case framework::CM_SYSFONTCHANGED:
        case framework::CM_ENABLEDCHANGED:
            StateReset(d);
            return false;
        case WM_CONTEXTMENU:
            ContextMenu(d);
            return false;
        case kUpdateUiStateMessage:
            return d.IsSkinned();
        case WM_PARENTNOTIFY:
            ParentNotify(d, m);
            return false;
        case framework::CM_VISIBLECHANGED:
            VisibilityChanged(d, m.WParam != 0);
            return false;
        case framework::CM_MOUSEENTER:
            MouseEnter(d, m);
            return false;
        case framework::CM_MOUSELEAVE:
            MouseLeave(d, m);
            return false;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            CloseGlow(d);
            return false;
        case WM_DESTROY:
            CloseGlow(d);
            return false;
        default:
            return false;
    }
}

}  // namespace paint
