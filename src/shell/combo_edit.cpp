#include "shell/combo_edit.h"

#include "paint/control_kinds.h"

namespace shell {

using namespace framework;

TShortCut ShortCut(WORD key, TShiftState shift) {
    TShortCut sc = key & 0xFF;
    if (shift & ssShift) sc |= scShift;
    if (shift & ssCtrl) sc |= scCtrl;
    if (shift & ssAlt) sc |= scAlt;
    return sc;
}

// --- TsEditButton ---------------------------------------------------------------------------

TsEditButton::TsEditButton(TsCustomComboEdit* edit) : TSpeedButton(edit), edit_(edit) {
    Flat = true;
    SetCursor(crArrow);
    SetBounds(0, 0, 22, edit->ClientHeight());
    SetParent(edit);
    SetAlign(TAlign::alRight);
}

void TsEditButton::Click() {
    TSpeedButton::Click();
    edit_->DoClick();
}

void TsEditButton::Paint() {
    TCanvas& c = Canvas();
    RECT r = ClientRect();
    c.Brush.SetColor(edit_->Enabled() ? edit_->Color() : clBtnFace);
    c.FillRect(r);
    int state = PaintState();
    if (state > 0 && Enabled())
        DrawEdge(c.Handle(), &r, state == 2 ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    auto glyphState = static_cast<TacGlyphState>(state);
    int x = (r.right - kGlyphSize) / 2, y = (r.bottom - kGlyphSize) / 2;
    DrawEditGlyph(c, x, y, edit_->GlyphIndexFor(glyphState), glyphState,
                  Enabled() && !edit_->GlyphMode.Grayed);
}

// --- TsCustomComboEdit ----------------------------------------------------------------------

TsCustomComboEdit::TsCustomComboEdit(TComponent* owner) : TsMaskEdit(owner) {
    button_ = new TsEditButton(this);
    SkinData.ControlKind = paint::ckFileNameEdit;
}

bool TsCustomComboEdit::IsEditHot() const {
    return SkinData.IsHot() || (button_ && button_->MouseInControl());
}

RECT TsCustomComboEdit::TextRect() {
    const int e = EditInset();
    const int w = showButton_ && button_ ? button_->Width() : 0;
    return RECT{e, e, Width() - e - w, Height() - e};
}

int TsCustomComboEdit::ButtonWidth() const {
    return showButton_ ? kGlyphSize : 0;
}

int TsCustomComboEdit::GlyphIndexFor(TacGlyphState state) const {
    int own = state == TacGlyphState::Hot       ? GlyphMode.ImageIndexHot
              : state == TacGlyphState::Pressed ? GlyphMode.ImageIndexPressed
                                                : -1;
    if (own < 0) own = GlyphMode.ImageIndex;
    return own >= 0 ? own : DefaultGlyphIndex();
}

void TsCustomComboEdit::SetShowButton(bool value) {
    if (value == showButton_) return;
    showButton_ = value;
    Invalidate();
    UpdateFormatRect();
}

void TsCustomComboEdit::SetDirectInput(bool value) {
    directInput_ = value;
    ApplyReadOnly();
}

void TsCustomComboEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    ApplyReadOnly();
}

void TsCustomComboEdit::Invalidate() {
    // The button always takes the glyph's width and follows ShowButton.
    if (button_) {
        if (button_->Width() != kGlyphSize) button_->SetWidth(kGlyphSize);
        if (button_->Visible() != showButton_) button_->SetVisible(showButton_);
    }
    TsMaskEdit::Invalidate();
}

void TsCustomComboEdit::SetEnabled(bool enabled) {
    TsMaskEdit::SetEnabled(enabled);
    if (button_) button_->SetEnabled(enabled);
}

// Resized runs before the window has its new size, so the rectangle is set again here.
void TsCustomComboEdit::SetBounds(int left, int top, int width, int height) {
    TsMaskEdit::SetBounds(left, top, width, height);
    UpdateFormatRect();
}

void TsCustomComboEdit::Loaded() {
    TsMaskEdit::Loaded();
    UpdateFormatRect();
}

void TsCustomComboEdit::CreateWnd() {
    TsMaskEdit::CreateWnd();
    UpdateFormatRect();
}

void TsCustomComboEdit::Resized() {
    TsMaskEdit::Resized();
    UpdateFormatRect();
}

void TsCustomComboEdit::UpdateFormatRect() {
    int right = ClientWidth() - ButtonWidth();
    // One pixel of margin on the left, as a plain edit keeps, so the rows line up.
    SetFormattingRect(RECT{1, 0, std::max(1, right), ClientHeight()});
}

bool TsCustomComboEdit::OverButton() const {
    if (!button_ || !button_->Visible()) return false;
    POINT p{};
    GetCursorPos(&p);
    p = ScreenToClient(p);
    RECT r = button_->BoundsRect();
    return PtInRect(&r, p) != FALSE;
}

void TsCustomComboEdit::DoClick() {
    if (readOnly_) return;
    ButtonClick();
}

void TsCustomComboEdit::ButtonClick() {
    if (OnButtonClick) OnButtonClick(this);
}

void TsCustomComboEdit::KeyDown(WORD& key, TShiftState shift) {
    if (ClickKey != 0 && ShortCut(key, shift) == ClickKey && !readOnly_ && ButtonWidth() > 0) {
        key = 0;
        DoClick();
        return;
    }
    TsMaskEdit::KeyDown(key, shift);
}

void TsCustomComboEdit::KeyPress(char32_t& key) {
    // Enter was offered to the form as a dialog key already; it never becomes text.
    if (key == U'\r' || key == U'\n') {
        key = 0;
        return;
    }
    TsMaskEdit::KeyPress(key);
}

void TsCustomComboEdit::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_SETCURSOR:
            if (LOWORD(m.LParam) == HTCLIENT && OverButton()) {
                ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
                m.Result = 1;
                return;
            }
            break;
        case WM_PASTE:
        case WM_CUT:
            if (!directInput_ || readOnly_) return;
            break;
        case CM_FONTCHANGED:
        case WM_SIZE:
            TsMaskEdit::WndProc(m);
            UpdateFormatRect();
            return;
        case WM_CHAR:
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            TsMaskEdit::WndProc(m);
            UpdateFormatRect();
            return;
        default:
            break;
    }
    TsMaskEdit::WndProc(m);
}

}  // namespace shell
