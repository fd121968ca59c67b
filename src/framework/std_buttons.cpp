#include <algorithm>

#include "framework/std_controls.h"

namespace framework {

TCheckBox::TCheckBox(TComponent* owner) : TCustomControl(owner) {
    TabStop = true;
    SetColor(clBtnFace);
    width_ = 97;
    height_ = 17;
}

void TCheckBox::SetState(TCheckBoxState state) {
    if (state == state_) return;
    state_ = state;
    Invalidate();
    if (!Loading() && OnClick) OnClick(this);
}

void TCheckBox::Toggle() {
    switch (state_) {
    case TCheckBoxState::cbUnchecked: SetState(TCheckBoxState::cbChecked); break;
    case TCheckBoxState::cbChecked:
        SetState(AllowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbUnchecked);
        break;
    case TCheckBoxState::cbGrayed: SetState(TCheckBoxState::cbUnchecked); break;
    }
}

void TCheckBox::Paint() {
    TCanvas& c = Canvas();
    RECT client = ClientRect();
    c.FillRect(client);
    int box = 13;
    int top = (client.bottom - box) / 2;
    bool boxLeft = Alignment == TAlignment::taRightJustify;
    RECT boxRect = boxLeft ? RECT{0, top, box, top + box} : RECT{client.right - box, top, client.right, top + box};
    UINT state = DFCS_BUTTONCHECK;
    if (state_ != TCheckBoxState::cbUnchecked) state |= DFCS_CHECKED;
    if (state_ == TCheckBoxState::cbGrayed || !Enabled()) state |= DFCS_INACTIVE;
    if (pressed_) state |= DFCS_PUSHED;
    DrawFrameControl(c.Handle(), &boxRect, DFC_BUTTON, state);
    SIZE text = c.TextExtent(Caption().empty() ? std::string(" ") : Caption());
    int tx = boxLeft ? box + 4 : 0;
    RECT label{tx, (client.bottom - text.cy) / 2, tx + text.cx, (client.bottom - text.cy) / 2 + text.cy};
    if (!Enabled()) c.Font.SetColor(clGrayText);
    c.DrawText(Caption(), label, DT_SINGLELINE | DT_LEFT);
    if (Focused()) {
        RECT focus = label;
        InflateRect(&focus, 1, 1);
        IntersectRect(&focus, &focus, &client);
        DrawFocusRect(c.Handle(), &focus);
    }
}

void TCheckBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = DLGC_WANTCHARS; return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomControl::WndProc(m);
        Invalidate();
        return;
    default: TCustomControl::WndProc(m); return;
    }
}

void TCheckBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft) {
        if (CanFocus()) SetFocus();
        pressed_ = true;
        Invalidate();
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCheckBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft && pressed_) {
        pressed_ = false;
        RECT r = ClientRect();
        if (PtInRect(&r, POINT{x, y})) Toggle();
        Invalidate();
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCheckBox::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == VK_SPACE && !pressed_) {
        pressed_ = true;
        Invalidate();
    }
}

void TCheckBox::KeyUp(WORD& key, TShiftState shift) {
    TCustomControl::KeyUp(key, shift);
    if (key == VK_SPACE && pressed_) {
        pressed_ = false;
        Toggle();
        Invalidate();
    }
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    width_ = 23;
    height_ = 22;
    ControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks | csSetCaption;
}

int TSpeedButton::PaintState() const {
    if (IsPressed()) return 2;
    return mouseIn_ && Enabled() ? 1 : 0;
}

void TSpeedButton::SetState(TButtonState state) {
    if (state == state_) return;
    state_ = state;
    Invalidate();
}

// A button outside a group cannot stay down; the last one of a group stays down unless
// AllowAllUp.
void TSpeedButton::SetDown(bool down) {
    if (groupIndex_ == 0) down = false;
    if (down == down_) return;
    if (down_ && !allowAllUp_) return;
    down_ = down;
    SetState(down ? TButtonState::bsExclusive : TButtonState::bsUp);
    if (down) UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int index) {
    if (index == groupIndex_) return;
    groupIndex_ = index;
    UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool allow) {
    if (allow == allowAllUp_) return;
    allowAllUp_ = allow;
    UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
    if (groupIndex_ == 0 || !Parent()) return;
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(m);
}

// Another button of the group went down (or changed its group settings, which the whole group
// shares).
void TSpeedButton::ButtonPressed(TMessage& m) {
    auto* sender = reinterpret_cast<TSpeedButton*>(m.LParam);
    if (static_cast<int>(m.WParam) != groupIndex_ || sender == this) return;
    if (sender->down_ && down_) {
        down_ = false;
        SetState(TButtonState::bsUp);
    }
    allowAllUp_ = sender->allowAllUp_;
}

void TSpeedButton::Paint() {
    TCanvas& c = Canvas();
    RECT r = ClientRect();
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    FillRect(c.Handle(), &r, face);
    int state = PaintState();
    if (!Flat) {
        RECT edge = r;
        DrawEdge(c.Handle(), &edge, state == 2 ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    } else if (state > 0) {
        RECT edge = r;
        DrawEdge(c.Handle(), &edge, state == 2 ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    int offset = state == 2 ? 1 : 0;
    int gw = 0, gh = 0;
    if (!glyph_.Empty()) {
        gw = glyph_.Width() / std::max(1, NumGlyphs);
        gh = glyph_.Height();
    }
    SIZE text = Caption().empty() ? SIZE{0, 0} : c.TextExtent(Caption());
    int total = gw + (gw && text.cx ? Spacing : 0) + text.cx;
    int x = Margin >= 0 ? Margin : (r.right - total) / 2;
    x += offset;
    if (gw) {
        int frame = !Enabled() && NumGlyphs > 1 ? 1 : state == 2 && NumGlyphs > 2 ? 2 : 0;
        int gy = (r.bottom - gh) / 2 + offset;
        if (NumGlyphs <= 1) {
            c.Draw(x, gy, glyph_);
        } else {
            TBitmap one(gw, gh, glyph_.PixelFormat());
            one.AlphaFormat = glyph_.AlphaFormat;
            one.Transparent = glyph_.Transparent;
            for (int y = 0; y < gh; ++y)
                std::copy_n(glyph_.ScanLine(y) + frame * gw * glyph_.BytesPerPixel(), gw * glyph_.BytesPerPixel(),
                            one.ScanLine(y));
            c.Draw(x, gy, one);
        }
        x += gw + (text.cx ? Spacing : 0);
    }
    if (text.cx) {
        RECT label{x, 0 + offset, x + text.cx, r.bottom + offset};
        if (!Enabled()) c.Font.SetColor(clGrayText);
        c.DrawText(Caption(), label, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
}

void TSpeedButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_BUTTONPRESSED: ButtonPressed(m); break;
    case CM_ENABLEDCHANGED:
        if (!Enabled()) SetState(TButtonState::bsDisabled);
        else SetState(down_ ? TButtonState::bsExclusive : TButtonState::bsUp);
        break;
    case CM_MOUSEENTER:
        mouseIn_ = true;
        if (Enabled()) Invalidate();
        break;
    case CM_MOUSELEAVE:
        mouseIn_ = false;
        if (Enabled()) Invalidate();
        break;
    default: break;
    }
    TGraphicControl::WndProc(m);
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !Enabled()) return;
    if (!down_) SetState(TButtonState::bsDown);
    dragging_ = true;
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_) return;
    RECT r = ClientRect();
    TButtonState held = down_ ? TButtonState::bsExclusive : TButtonState::bsDown;
    TButtonState away = down_ ? TButtonState::bsExclusive : TButtonState::bsUp;
    SetState(PtInRect(&r, POINT{x, y}) ? held : away);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft && dragging_) {
        dragging_ = false;
        RECT r = ClientRect();
        bool inside = PtInRect(&r, POINT{x, y});
        if (groupIndex_ == 0) SetState(TButtonState::bsUp);
        else if (inside) SetDown(!down_);
        else SetState(down_ ? TButtonState::bsExclusive : TButtonState::bsUp);
        // A group's last button that may not come up stays in.
        if (groupIndex_ != 0 && down_) SetState(TButtonState::bsExclusive);
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

}  // namespace framework
