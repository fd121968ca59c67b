#include "shell/combo_edit.h"

#include "paint/bg_query.h"
#include "paint/common_commands.h"
#include "paint/control_kinds.h"
#include "paint/control_paint.h"
#include "paint/solid_fills.h"
#include "skin/skin_commands.h"
#include "skin/skin_manager.h"

namespace shell {

using namespace framework;

TShortCut ShortCut(WORD key, TShiftState shift) {
    TShortCut sc = key & 0xFF;
    if (shift & ssShift) sc |= scShift;
    if (shift & ssCtrl) sc |= scCtrl;
    if (shift & ssAlt) sc |= scAlt;
    return sc;
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

POINT TsCustomComboEdit::ClientOrigin() {
    if (!HandleAllocated()) return POINT{0, 0};
    RECT window{};
    GetWindowRect(Handle(), &window);
    const POINT client = ClientToScreen(POINT{0, 0});
    return POINT{client.x - window.left, client.y - window.top};
}

POINT TsCustomComboEdit::ButtonOrigin() {
    const POINT origin = ClientOrigin();
    return POINT{button_->Left() + origin.x, button_->Top() + origin.y};
}

void TsCustomComboEdit::PaintButtonImage(HDC dc, POINT at) {
    if (!button_ || !SkinData.IsSkinned()) return;
    button_->SkinData.BgChanged = true;
    button_->PrepareCache();
    const framework::TBitmap* image = button_->SkinData.CacheBmp.get();
    if (!image || image->Empty()) return;
    BitBlt(dc, at.x, at.y, button_->Width(), button_->Height(),
           const_cast<framework::TBitmap*>(image)->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TsCustomComboEdit::PaintChildren(HDC windowDc) {
    if (button_ && button_->Visible()) PaintButtonImage(windowDc, ButtonOrigin());
}

// The framework edit drew the inside with the button's own paint; the frame and the button
// go over it again from the images.
void TsCustomComboEdit::PaintOverFrame(HDC windowDc) {
    if (IsEditHot() && button_ && button_->Visible()) PaintButtonImage(windowDc, ButtonOrigin());
}

namespace {

// Hides the button for the length of a print and shows it again on every way out, with the
// hover state it had: hiding would otherwise forget that the mouse is over it.
class HiddenButton {
  public:
    explicit HiddenButton(TsEditButton* button)
        : button_(button),
          visible_(button && button->Visible()),
          above_(button && button->SkinData.MouseAbove) {
        if (visible_) button_->SetVisible(false);
    }
    ~HiddenButton() {
        if (!visible_) return;
        button_->SetVisible(true);
        button_->SkinData.MouseAbove = above_;
    }
    HiddenButton(const HiddenButton&) = delete;
    HiddenButton& operator=(const HiddenButton&) = delete;

  private:
    TsEditButton* button_;
    bool visible_;
    bool above_;
};

}  // namespace

void TsCustomComboEdit::Print(HDC dc) {
    SkinData.Updating = false;
    if (SkinData.BgChanged) PrepareCache();
    paint::RefreshCorners(SkinData, paint::kStateNormal);
    HiddenButton hidden(button_);
    PaintWhole(dc);
    if (SkinData.CacheBmp && !SkinData.CacheBmp->Empty())
        paint::CopyFrameStrips(dc, 0, 0, SkinData.CacheBmp->Width(), SkinData.CacheBmp->Height(),
                               SkinData.CacheBmp->Canvas().Handle(), 0, 0, EditInset());
    if (showButton_) PaintButtonImage(dc, ButtonOrigin());
}

bool TsCustomComboEdit::SkinCommand(TMessage& m) {
    const WORD command = skin::SkinCommandOf(m.WParam);
    switch (command) {
        case skin::scGetBg: {
            if (!m.LParam) return true;
            auto& query = *reinterpret_cast<paint::TsBgQuery*>(m.LParam);
            paint::CommonSkinCommand(SkinData, m);
            query.Offset = ClientOrigin();
            return true;
        }
        case skin::scIsPreparing:
            m.Result = 0;
            return true;
        case skin::scNewSkin:
        case skin::scRemoveSkin:
        case skin::scRefresh:
            TsMaskEdit::WndProc(m);
            if (!SkinData.IsOwnManager(m.LParam)) return true;
            skin::TsSkinManager::BroadcastToChildren(this, m.Msg, m.WParam, m.LParam);
            Invalidate();
            return true;
        default:
            return false;
    }
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
    if (m.Msg == skin::SM_SKINCMD && SkinCommand(m)) return;
    if (m.Msg == WM_PRINT && SkinData.IsSkinned()) {
        Print(reinterpret_cast<HDC>(m.WParam));
        return;
    }
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
