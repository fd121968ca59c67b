#include "paint/check_box.h"

#include <algorithm>

#include "framework/application.h"
#include "paint/bg_query.h"
#include "paint/common_commands.h"
#include "paint/common_wndproc.h"
#include "paint/control_kinds.h"
#include "paint/control_paint.h"
#include "paint/dc_state.h"
#include "paint/image_entry.h"
#include "paint/image_pieces.h"
#include "paint/section_text.h"

namespace paint {

using framework::TMessage;

namespace {

constexpr int kNoGlyphSize = 16;
// Glyph, text and margins add this much to the caption's height.
constexpr int kAutoSizeSlack = 2;
// Space a caption keeps after its text.
constexpr int kCaptionSlack = 8;
// A command that asks a control to paint the new image of a running fade.
constexpr WORD kFadePrepare = 23;

// A strip of frames as high as wide each; a strip whose width is no multiple of its height is
// one frame.
SIZE FrameSizeOfStrip(int width, int height) {
    if (height <= 0 || width <= 0) return SIZE{0, 0};
    if (width % height != 0) return SIZE{width, height};
    return SIZE{width / (width / height), height};
}

}  // namespace

TsCheckBox::TsCheckBox(framework::TComponent* owner) : TCheckBox(owner), SkinData(this, false) {
    SkinData.ControlKind = ckCheckBox;
    SkinData.AfterCreate();
}

TsCheckBox::~TsCheckBox() = default;

void TsCheckBox::Loaded() {
    TCheckBox::Loaded();
    SkinData.AfterCreate();
    AdjustSize();
}

void TsCheckBox::SetMargin(int value) {
    if (value == margin_) return;
    margin_ = value;
    AdjustSize();
    Invalidate();
}

void TsCheckBox::SetTextIndent(int value) {
    if (value == textIndent_) return;
    textIndent_ = value;
    AdjustSize();
    Invalidate();
}

void TsCheckBox::SetAutoSize(bool value) {
    autoSize_ = value;
    AdjustSize();
}

// Setting Checked from outside marks the image stale first, so it shows at once; a toggle
// by mouse or key may fade.
void TsCheckBox::SetChecked(bool checked) {
    if (checked != Checked() && !Loading()) SkinData.BgChanged = true;
    TCheckBox::SetChecked(checked);
}

void TsCheckBox::SetState(framework::TCheckBoxState state) {
    if (state == State()) return;
    TCheckBox::SetState(state);
    if (SkinData.IsSkinned() && !Loading()) StateChange(TsStateEvent::seChange);
}

TsGlyphFrame TsCheckBox::GlyphFrame() const {
    if (pressed_) return TsGlyphFrame::gfPressed;
    if (SkinData.IsHot() && !ReadOnly) return TsGlyphFrame::gfHot;
    return TsGlyphFrame::gfNormal;
}

bool TsCheckBox::UsesImageList() const {
    return Images && ImgChecked >= 0 && ImgUnchecked >= 0;
}

framework::TBitmap* TsCheckBox::OwnGlyph() {
    framework::TBitmap& g = Checked() ? glyphChecked_ : glyphUnChecked_;
    return g.Empty() ? nullptr : &g;
}

int TsCheckBox::SkinGlyphIndex() const {
    const skin::TsSkinModel* model = SkinData.Model();
    if (!model) return -1;
    const char* name = State() == framework::TCheckBoxState::cbChecked  ? "BOXCHECKED"
                       : State() == framework::TCheckBoxState::cbGrayed ? "BOXGRAYED"
                                                                        : "BOXUNCHECKED";
    return model->FindMask(model->GlobalInfoIndex, "GLOBALINFO", name);
}

SIZE TsCheckBox::GlyphSize() {
    if (UsesImageList()) return FrameSizeOfStrip(Images->Width(), Images->Height());
    if (framework::TBitmap* g = OwnGlyph()) return FrameSizeOfStrip(g->Width(), g->Height());
    if (const skin::TsSkinModel* model = SkinData.Model()) {
        const int i = model->FindMask(model->GlobalInfoIndex, "GLOBALINFO", "BOXCHECKED");
        if (const skin::TsMaskData* e = MaskAt(*model, i))
            return SIZE{e->StateSizeWidth(), e->StateSizeHeight()};
    }
    return SIZE{kNoGlyphSize, kNoGlyphSize};
}

RECT TsCheckBox::GlyphRect() {
    if (!UsesImageList() && !OwnGlyph()) {
        const skin::TsSkinModel* model = SkinData.Model();
        const int i =
            model ? model->FindMask(model->GlobalInfoIndex, "GLOBALINFO", "BOXCHECKED") : -1;
        if (!model || !MaskAt(*model, i)) return RECT{0, 0, kNoGlyphSize, kNoGlyphSize};
    }
    const SIZE s = GlyphSize();
    const int left =
        Alignment == framework::TAlignment::taRightJustify ? margin_ : Width() - s.cx - margin_;
    const int top = (Height() - s.cy) / 2;
    return RECT{left, top, left + s.cx, top + s.cy};
}

void TsCheckBox::AdjustSize() {
    if (!autoSize_ || Loading()) return;
    framework::TBitmap probe(1, 1);
    probe.Canvas().Font.Assign(Font());
    const SIZE text = Caption().empty() ? SIZE{0, 0} : probe.Canvas().TextExtent(Caption());
    if (!SkinData.IsSkinned()) {
        SetBounds(Left(), Top(), text.cx + 20, std::max<int>(text.cy + 4, 20));
        return;
    }
    const SIZE g = GlyphSize();
    int w = g.cx + 2 * margin_;
    if (!Caption().empty()) w += text.cx + textIndent_ + kCaptionSlack;
    const int textHeight = Caption().empty() ? 0 : text.cy + 2 * margin_;
    SetBounds(Left(), Top(), w, std::max<int>(g.cy, textHeight) + kAutoSizeSlack);
}

void TsCheckBox::PrepareCache() {
    SkinData.InitCacheBmp();
    framework::TBitmap& cache = *SkinData.CacheBmp;
    if (cache.Empty()) return;
    cache.Canvas().Font.Assign(Font());
    TsBgQuery query;
    query.DrawDC = cache.Canvas().Handle();
    query.Offset = POINT{Left(), Top()};
    query.R = RECT{0, 0, Width(), Height()};
    query.PleaseDraw = 1;
    QueryParentBg(query, Parent(), false);
    if (query.BgType == kBgNoAnswer) {
        // The parent painted itself into the cache, which is about to be painted over: the
        // disabled look mixes with a copy of it, not with the finished image.
        parentCopy_.Assign(cache);
        query.BgType = kBgBitmap;
        query.Bmp = &parentCopy_;
        query.Offset = POINT{-Left(), -Top()};
    }
    const TsBgSource bg = BgSourceFromQuery(query);
    const bool hot = SkinData.IsHot() && !ReadOnly;
    PaintControlBg(SkinData, bg, true, false, &cache, POINT{Left(), Top()},
                   RECT{0, 0, Width(), Height()}, hot ? kStateHot : kStateNormal);
    const RECT glyph = GlyphRect();
    PaintCaption(glyph);
    PaintGlyph(glyph);
    if (!Enabled()) ApplyDisabledKind(cache, DisabledKind, Parent(), POINT{Left(), Top()}, bg);
    SkinData.BgChanged = false;
}

void TsCheckBox::PaintCaption(const RECT& glyph) {
    if (Caption().empty()) return;
    framework::TCanvas& canvas = SkinData.CacheBmp->Canvas();
    const int a = Width() - (glyph.right - glyph.left) - textIndent_ - 2 * margin_ - 2;
    RECT measured{0, 0, std::max(a, 0), 0};
    const UINT wrap = WordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    canvas.DrawText(Caption(), measured, wrap | DT_CALCRECT);
    const int th = measured.bottom - measured.top;
    const int top = std::max((Height() - th) / 2, margin_);
    RECT r{margin_, top, a + margin_, top + th};
    if (Alignment == framework::TAlignment::taRightJustify) {
        r.left = Width() - a - margin_ + 2;
        r.right = r.left + (measured.right - measured.left);
    }
    OffsetRect(&r, WordWrap ? -1 : 0, -1);
    const bool hot = SkinData.IsHot() && !ReadOnly;
    WriteSkinText(SkinData, canvas, Caption(), true, hot,
                  WordWrap ? DT_WORDBREAK | DT_CENTER : DT_SINGLELINE, r);
    if (!ShowFocus || !HandleAllocated() || !Focused()) return;
    if (!WordWrap) --r.bottom;
    ++r.top;
    InflateRect(&r, 1, 1);
    DrawDottedFocusRect(canvas, r);
}

void TsCheckBox::PaintGlyph(const RECT& glyph) {
    framework::TBitmap& cache = *SkinData.CacheBmp;
    if (UsesImageList()) {
        const int index = Checked() ? ImgChecked : ImgUnchecked;
        if (index >= 0) Images->Draw(cache.Canvas(), glyph.left, glyph.top, index);
        return;
    }
    if (framework::TBitmap* own = OwnGlyph()) {
        PaintOwnGlyph(*own, glyph);
        return;
    }
    const skin::TsSkinModel* model = SkinData.Model();
    const int index = SkinGlyphIndex();
    if (!model || !MaskAt(*model, index)) return;
    DrawImageFrame(cache, POINT{glyph.left, glyph.top}, static_cast<int>(GlyphFrame()),
                   BgSourceFromBitmap(&cache, 0, 0), *model, index, 1);
}

void TsCheckBox::PaintOwnGlyph(framework::TBitmap& glyph, const RECT& at) {
    const int h = glyph.Height();
    const int count = std::max(1, glyph.Width() / std::max(1, h));
    const int frame = std::min(static_cast<int>(GlyphFrame()), count - 1);
    const int w = at.right - at.left;
    const RECT src{frame * w, 0, frame * w + w - 1, h - 1};
    framework::TBitmap& cache = *SkinData.CacheBmp;
    CopyKeyed(cache, glyph, at.left, at.top, false, BgSourceFromBitmap(&cache, 0, 0),
              glyph.EffectiveTransparentColor(), src);
}

void TsCheckBox::Redraw() {
    if (HandleAllocated() && Parent() && !Loading()) Repaint();
}

void TsCheckBox::StateChange(TsStateEvent event) {
    const skin::TsGeneralData* s = SkinData.Section();
    const bool fades = s && s->FadingEnabled && SkinData.CacheBmp && !SkinData.BgChanged &&
                       IsAnimatedEvent(AnimatEvents, SkinData.Manager(), event);
    lastFadeSteps_ = fades ? FadeSteps(s->FadingIterations, event) : 0;
    SkinData.BgChanged = true;
    Redraw();
}

void TsCheckBox::PaintHandler(TMessage& m) {
    if (!SkinData.IsSkinned()) {
        TCheckBox::PaintHandler(m);
        return;
    }
    PAINTSTRUCT ps{};
    HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(Handle(), &ps);
    PaintInto(dc);
    if (!m.WParam) EndPaint(Handle(), &ps);
}

void TsCheckBox::PaintInto(HDC dc) {
    SkinData.Updating = SkinData.ComputeUpdating();
    if (SkinData.Updating) return;
    // A box wholly inside its parent keeps its pixels when the parent paints; one reaching out
    // of it is painted again after each parent paint, as a never-painted box is.
    if (framework::TWinControl* parent = Parent()) {
        const RECT client = parent->ClientRect();
        SkinData.HalfVisible = !(Left() >= 0 && Top() >= 0 && Left() + Width() <= client.right &&
                                 Top() + Height() <= client.bottom);
    }
    // The image is painted afresh over the parent's current background, so its corners are
    // right already; laying the normal state's corners again would cut into a hot frame and
    // into the glyph beside it.
    PrepareCache();
    if (!SkinData.CacheBmp || SkinData.CacheBmp->Empty()) return;
    const int saved = SaveDC(dc);
    BitBlt(dc, 0, 0, Width(), Height(), SkinData.CacheBmp->Canvas().Handle(), 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}

bool TsCheckBox::SkinCommand(TMessage& m) {
    switch (skin::SkinCommandOf(m.WParam)) {
        case skin::scNewSkin:
        case skin::scRemoveSkin:
        case skin::scRefresh: {
            if (!SkinData.IsOwnManager(m.LParam)) return false;
            StopFade();
            const bool handled = CommonSkinCommand(SkinData, m);
            if (skin::SkinCommandOf(m.WParam) != skin::scRemoveSkin) AdjustSize();
            if (HandleAllocated()) Invalidate();
            return handled;
        }
        case skin::scIsSkinned:
            m.Result = 1;
            return true;
        case skin::scStopFading:
            StopFade();
            return true;
        case kFadePrepare:
            PrepareCache();
            return CommonSkinCommand(SkinData, m);
        case skin::scGetApplication:
            m.Result = reinterpret_cast<LRESULT>(framework::Application);
            return true;
        case skin::scParentPainted:
            if (!SkinData.IsSkinned()) return false;
            if (SkinData.ComputeUpdating() || SkinData.HalfVisible) {
                SkinData.Updating = false;
                Redraw();
            }
            return true;
        default:
            return CommonSkinCommand(SkinData, m);
    }
}

// Mouse and keyboard of a skinned, enabled box; true when the message is done with.
bool TsCheckBox::MouseOrKey(TMessage& m) {
    const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    switch (m.Msg) {
        case framework::CM_MOUSEENTER:
            if (!SkinData.MouseAbove) {
                SkinData.MouseAbove = true;
                StateChange(TsStateEvent::seMouseEnter);
            }
            return false;
        case framework::CM_MOUSELEAVE:
            SkinData.MouseAbove = false;
            pressed_ = false;
            StateChange(TsStateEvent::seMouseLeave);
            return false;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (ReadOnly) return true;
            pressed_ = true;
            StateChange(TsStateEvent::seMouseDown);
            if (CanFocus()) SetFocus();
            if (m.Msg == WM_LBUTTONDBLCLK)
                DblClick();
            else
                TControl::MouseDown(framework::TMouseButton::mbLeft,
                                    framework::KeysToShiftState(m.WParam), x, y);
            return true;
        case WM_LBUTTONUP:
            if (ReadOnly) return true;
            if (pressed_) {
                pressed_ = false;
                Toggle();
            }
            TControl::MouseUp(framework::TMouseButton::mbLeft,
                              framework::KeysToShiftState(m.WParam), x, y);
            return true;
        case WM_KEYDOWN: {
            if (m.WParam != VK_SPACE) return false;
            if (ReadOnly) return true;
            pressed_ = true;
            if (CanFocus()) SetFocus();
            SkinData.BgChanged = true;
            Redraw();
            WORD key = VK_SPACE;
            TWinControl::KeyDown(key, framework::KeyboardShiftState());
            return true;
        }
        case WM_KEYUP: {
            if (ReadOnly) return true;
            if (!pressed_) return false;
            pressed_ = false;
            Toggle();
            WORD key = static_cast<WORD>(m.WParam);
            TWinControl::KeyUp(key, framework::KeyboardShiftState());
            return true;
        }
        case WM_SETFOCUS:
            TCheckBox::WndProc(m);
            CommonWndProc(SkinData, m);
            SkinData.BgChanged = true;
            Redraw();
            return true;
        case WM_KILLFOCUS:
            StopFade();
            TCheckBox::WndProc(m);
            CommonWndProc(SkinData, m);
            SkinData.Focused = false;
            SkinData.MouseAbove = false;
            SkinData.RepaintControl();
            return true;
        default:
            return false;
    }
}

// Messages after the common handling; true when done with.
bool TsCheckBox::AfterCommon(TMessage& m) {
    switch (m.Msg) {
        case WM_ENABLE:
        case WM_NCPAINT:
            return true;
        case WM_ERASEBKGND:
            m.Result = 1;
            return true;
        case WM_PRINT:
            SkinData.Updating = false;
            PaintInto(reinterpret_cast<HDC>(m.WParam));
            return true;
        case framework::CM_ENABLEDCHANGED:
            TCheckBox::WndProc(m);
            SkinData.BgChanged = true;
            Redraw();
            return true;
        case framework::CM_TEXTCHANGED:
            TCheckBox::WndProc(m);
            AdjustSize();
            SkinData.BgChanged = true;
            Redraw();
            return true;
        default:
            return false;
    }
}

bool TsCheckBox::OwnMessage(TMessage& m) {
    if (Enabled() && MouseOrKey(m)) return true;
    if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) return false;
    if (CommonWndProc(SkinData, m)) return true;
    return AfterCommon(m);
}

void TsCheckBox::WndProc(TMessage& m) {
    if (m.Msg == skin::SM_SKINCMD) {
        if (!SkinCommand(m)) TCheckBox::WndProc(m);
        return;
    }
    if (SkinData.IsSkinned()) {
        if (OwnMessage(m)) return;
        TCheckBox::WndProc(m);
        return;
    }
    // Unskinned, a read-only box still keeps its state.
    const bool changes = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK ||
                         m.Msg == WM_LBUTTONUP ||
                         ((m.Msg == WM_KEYDOWN || m.Msg == WM_KEYUP) && m.WParam == VK_SPACE);
    if (ReadOnly && changes) return;
    TCheckBox::WndProc(m);
}

}  // namespace paint
