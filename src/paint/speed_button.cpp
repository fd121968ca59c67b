#include "paint/speed_button.h"

#include <algorithm>

#include "framework/application.h"
#include "paint/bg_query.h"
#include "paint/border_mask.h"
#include "paint/button_layout.h"
#include "paint/common_commands.h"
#include "paint/common_wndproc.h"
#include "paint/control_kinds.h"
#include "paint/control_paint.h"
#include "paint/image_entry.h"
#include "paint/image_pieces.h"
#include "paint/section_paint.h"

namespace paint {

using framework::TButtonState;
using framework::TMessage;

namespace {

int g_openDropDowns = 0;

// A divider band as wide as one state frame of the "DIVIDER" frame image.
constexpr const char* kDividerSection = "DIVIDER";

UINT HorizontalFlags(framework::TAlignment a) {
    switch (a) {
        case framework::TAlignment::taLeftJustify:
            return DT_LEFT;
        case framework::TAlignment::taRightJustify:
            return DT_RIGHT;
        case framework::TAlignment::taCenter:
            return DT_CENTER;
    }
    return DT_CENTER;
}

bool IsButtonDown(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN ||
           msg == WM_MBUTTONDOWN;
}
bool IsButtonUp(UINT msg) {
    return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

}  // namespace

TsSpeedButton::TsSpeedButton(framework::TComponent* owner)
    : TSpeedButton(owner), SkinData(this, true) {
    SkinData.ControlKind = ckSpeedButton;
    SkinData.AfterCreate();
    if (SkinData.IsSkinned()) ControlStyle |= framework::csOpaque;
}

TsSpeedButton::~TsSpeedButton() {
    *alive_ = false;
    ReleaseHints();
}

bool TsSpeedButton::DropDownOpen() {
    return g_openDropDowns > 0;
}

void TsSpeedButton::Loaded() {
    TSpeedButton::Loaded();
    SkinData.AfterCreate();
    if (SkinData.IsSkinned()) ControlStyle |= framework::csOpaque;
}

void TsSpeedButton::SetButtonStyle(TToolButtonStyle value) {
    if (value == style_) return;
    style_ = value;
    SkinData.BgChanged = true;
    RepaintNow();
}

void TsSpeedButton::SetBlend(int value) {
    value = std::clamp(value, 0, 100);
    if (value == blend_) return;
    blend_ = value;
    SkinData.BgChanged = true;
    RepaintNow();
}

void TsSpeedButton::SetReflected(bool value) {
    if (value == reflected_) return;
    reflected_ = value;
    SkinData.BgChanged = true;
    RepaintNow();
}

TsButtonPaintState TsSpeedButton::ButtonPaintState() const {
    if (IsPressed()) return TsButtonPaintState::bpPressed;
    return SkinData.IsHot() ? TsButtonPaintState::bpHot : TsButtonPaintState::bpNormal;
}

// --- Preparing the image -------------------------------------------------------------------

framework::TBitmap* TsSpeedButton::GlyphImage(framework::TBitmap& scratch) {
    if (!Glyph().Empty()) return &Glyph();
    if (!Images || ImageIndex < 0 || ImageIndex >= Images->Count()) return nullptr;
    // An image of the list on the see-through colour, drawn as a keyed 24-bit glyph.
    scratch.SetSize(Images->Width(), Images->Height());
    scratch.Canvas().Brush.SetColor(TransparentColor);
    RECT all{0, 0, scratch.Width(), scratch.Height()};
    scratch.Canvas().FillRect(all);
    Images->Draw(scratch.Canvas(), 0, 0, ImageIndex);
    return &scratch;
}

SIZE TsSpeedButton::MeasureCaption(int gw) {
    if (!ShowCaption || Caption().empty()) return SIZE{0, 0};
    TsButtonMetrics m;
    m.width = Width(), m.margin = Margin, m.spacing = Spacing, m.layout = Layout, m.glyphWidth = gw;
    m.dropDown = style_ == TToolButtonStyle::tbsDropDown ? kDropDownWidth : 0;
    m.captionShown = true;
    RECT r{0, 0, std::max(0, CaptionWidth(m)), 0};
    SkinData.CacheBmp->Canvas().DrawText(Caption(), r, DT_WORDBREAK | DT_CALCRECT);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void TsSpeedButton::PrepareCache() {
    SkinData.InitCacheBmp();
    framework::TBitmap& cache = *SkinData.CacheBmp;
    if (cache.Empty()) return;
    cache.Canvas().Font.Assign(Font());
    TsBgQuery query;
    QueryParentBg(query, Parent(), false);
    const TsBgSource bg = BgSourceFromQuery(query);
    if (bg.Ready && (!bg.Bmp || bg.Bmp->Width() == 0)) return;
    if (style_ == TToolButtonStyle::tbsSeparator || style_ == TToolButtonStyle::tbsDivider) {
        PaintBand(bg);
    } else {
        PaintMain(bg, static_cast<int>(ButtonPaintState()));
        if (style_ == TToolButtonStyle::tbsDropDown) PaintArrow(bg);
    }
    if (!Enabled())
        ApplyDisabledKind(cache, DisabledKind, Parent(), POINT{Left(), Top()},
                          GetParentBgSource(SkinData));
    if (OnPaint) OnPaint(this, cache);
    SkinData.BgChanged = false;
}

void TsSpeedButton::PaintBand(const TsBgSource& bg) {
    framework::TBitmap& cache = *SkinData.CacheBmp;
    const RECT all{0, 0, Width(), Height()};
    if (bg.Ready) {
        framework::TBitmap& src = *bg.Bmp;
        BitBlt(cache.Canvas().Handle(), 0, 0, Width(), Height(), src.Canvas().Handle(),
               bg.X + Left(), bg.Y + Top(), SRCCOPY);
    } else {
        cache.Canvas().Brush.SetColor(bg.FillColor);
        cache.Canvas().FillRect(all);
    }
    const skin::TsSkinModel* model = SkinData.Model();
    if (style_ != TToolButtonStyle::tbsDivider || !model) return;
    const int d = model->FindSection(kDividerSection);
    const int b = d >= 0 ? model->FindMask(d, kDividerSection, "BORDERSMASK") : -1;
    const skin::TsMaskData* e = MaskAt(*model, b);
    if (!e) return;
    const int w = FrameWidth(*e);
    const RECT band{(Width() - w) / 2, 0, (Width() + w) / 2, Height()};
    DrawBorderMask(cache, band, true, false, 0, *model, b, bg);
}

void TsSpeedButton::PaintMain(const TsBgSource& bg, int state) {
    framework::TBitmap& cache = *SkinData.CacheBmp;
    const int dd = style_ == TToolButtonStyle::tbsDropDown ? kDropDownWidth : 0;
    const RECT main{0, 0, Width() - dd, Height()};
    const POINT pos{Left(), Top()};
    framework::TBitmap scratch;
    framework::TBitmap* glyph = GlyphImage(scratch);
    const int frames = glyph == &scratch ? 1 : NumGlyphs;
    const int gw = glyph ? GlyphFrameWidth(*glyph, frames) : 0;
    const int gh = glyph ? glyph->Height() : 0;
    const SIZE text = MeasureCaption(gw);
    if (DrawOverBorder) {
        PaintControlBg(SkinData, bg, true, true, &cache, pos, main, state);
    } else {
        const TColor custom = SkinData.CustomColor() ? SkinData.OwnerColor() : TransparentColor;
        PaintSectionBg(SkinData.Model(), SkinData.SkinIndex, SkinData.SkinSection(), bg, custom,
                       SkinData.HotTexture, SkinData.Texture, cache, pos, main, state);
    }
    PaintCaption(state, gw, gh, text);
    PaintGlyph(state, gw, gh, text);
    if (DrawOverBorder || !SkinData.Model()) return;
    const int border =
        SkinData.Model()->FindMask(SkinData.SkinIndex, SkinData.SkinSection(), "BORDERSMASK");
    TsBgSource moved = bg;
    moved.X += pos.x, moved.Y += pos.y;
    if (MaskAt(*SkinData.Model(), border))
        DrawBorderMask(cache, main, true, false, state, *SkinData.Model(), border, moved);
}

void TsSpeedButton::PaintCaption(int state, int gw, int gh, SIZE text) {
    if (!ShowCaption || Caption().empty()) return;
    TsButtonMetrics m;
    m.width = Width(), m.height = Height(), m.glyphWidth = gw, m.glyphHeight = gh;
    m.dropDown = style_ == TToolButtonStyle::tbsDropDown ? kDropDownWidth : 0;
    m.margin = Margin, m.spacing = Spacing, m.layout = Layout, m.alignment = Alignment;
    m.textWidth = text.cx, m.textHeight = text.cy, m.captionShown = true, m.textOffset = TextOffset;
    m.pressed = state == static_cast<int>(TsButtonPaintState::bpPressed);
    const UINT flags = HorizontalFlags(TextAlignment) | DT_VCENTER | DT_EXPANDTABS | DT_WORDBREAK;
    WriteSkinText(SkinData, SkinData.CacheBmp->Canvas(), Caption(), true, state != 0, flags,
                  CaptionRect(m));
}

void TsSpeedButton::PaintGlyph(int state, int gw, int gh, SIZE text) {
    framework::TBitmap scratch;
    framework::TBitmap* glyph = GlyphImage(scratch);
    if (!glyph || gw <= 0) return;
    TsButtonMetrics m;
    m.width = Width(), m.height = Height(), m.glyphWidth = gw, m.glyphHeight = gh;
    m.dropDown = style_ == TToolButtonStyle::tbsDropDown ? kDropDownWidth : 0;
    m.margin = Margin, m.spacing = Spacing, m.layout = Layout, m.alignment = Alignment;
    m.textWidth = text.cx, m.textHeight = text.cy;
    m.captionShown = ShowCaption && !Caption().empty();
    m.pressed = state == static_cast<int>(TsButtonPaintState::bpPressed);
    POINT at = GlyphOrigin(m);
    if (reflected_) at.y -= gh / 6;
    TsGlyphLook look;
    look.reflected = reflected_;
    look.frames = glyph == &scratch ? 1 : NumGlyphs;
    look.paintState = state, look.down = Down(), look.enabled = Enabled(), look.blend = blend_;
    look.gray = (state == 0 && Grayed) || (!Enabled() && (DisabledGlyphKind & dgGrayed));
    look.disabledBlend = (DisabledGlyphKind & dgBlended) != 0;
    DrawButtonGlyph(*SkinData.CacheBmp, *glyph, at.x, at.y, look);
}

void TsSpeedButton::DrawGlyphInCache(int state) {
    framework::TBitmap scratch;
    framework::TBitmap* glyph = GlyphImage(scratch);
    if (!glyph || !SkinData.CacheBmp) return;
    const int gw = GlyphFrameWidth(*glyph, glyph == &scratch ? 1 : NumGlyphs);
    PaintGlyph(state, gw, glyph->Height(), MeasureCaption(gw));
}

void TsSpeedButton::PaintArrow(const TsBgSource& bg) {
    const skin::TsSkinModel* model = SkinData.Model();
    if (!model) return;
    int state = static_cast<int>(ButtonPaintState()) == 1 ? 1 : 0;
    if (menuShown_ || Down() || IsPressed()) state = 2;
    const RECT arrow{Width() - kDropDownWidth, 0, Width(), Height()};
    PaintControlBg(SkinData, bg, true, true, SkinData.CacheBmp.get(), POINT{Left(), Top()}, arrow,
                   state);
    const int glyph = model->CachedIndexes[skin::ciScrollBtnBottomGlyph];
    const skin::TsMaskData* e = MaskAt(*model, glyph);
    if (!e) return;
    const POINT p{arrow.left + (kDropDownWidth - FrameWidth(*e)) / 2,
                  (Height() - FrameHeight(*e)) / 2};
    DrawImageFrame(*SkinData.CacheBmp, p, state, BgSourceFromBitmap(SkinData.CacheBmp.get(), 0, 0),
                   *model, glyph, 1);
}

// --- Painting ------------------------------------------------------------------------------

void TsSpeedButton::Paint() {
    if (SkinData.Manager() && SkinData.Manager()->Active() && SkinData.SkinIndex <= 0)
        SkinData.UpdateIndexes();
    if (!SkinData.IsSkinned()) {
        TSpeedButton::Paint();
        return;
    }
    if (Width() <= 0 || Height() <= 0) return;
    if (Down() != lastDown_ || Down() || SkinData.HalfVisible) SkinData.BgChanged = true;
    lastDown_ = Down();
    SkinData.HalfVisible = DependsOnPosition(SkinData);
    if (NumGlyphs != lastNumGlyphs_ || Spacing != lastSpacing_) SkinData.BgChanged = true;
    lastNumGlyphs_ = NumGlyphs, lastSpacing_ = Spacing;
    if (SkinData.BgChanged && !SkinData.ForceRepaint) PrepareCache();
    if (!SkinData.CacheBmp || SkinData.CacheBmp->Empty()) return;
    BitBlt(Canvas().Handle(), 0, 0, Width(), Height(), SkinData.CacheBmp->Canvas().Handle(), 0, 0,
           SRCCOPY);
}

// Siblings that overlap the button paint themselves over its image.
void TsSpeedButton::PaintSiblingsOver() {
    framework::TWinControl* parent = Parent();
    HDC dc = SkinData.CacheBmp->Canvas().Handle();
    const RECT me = BoundsRect();
    bool above = false;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        framework::TControl* c = parent->Controls(i);
        if (c == this) {
            above = true;
            continue;
        }
        if (!above || c->IsWindowed() || !c->Visible()) continue;
        const RECT r = c->BoundsRect();
        const POINT tl{r.left, r.top}, br{r.right - 1, r.bottom - 1};
        if (!PtInRect(&me, tl) && !PtInRect(&me, br)) continue;
        const int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, r.left - me.left, r.top - me.top, nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

void TsSpeedButton::RepaintNow() {
    if (Loading() || Destroying() || !Parent() || !Visible() || !Parent()->HandleAllocated())
        return;
    if (!SkinData.IsSkinned()) {
        Repaint();
        return;
    }
    if (SkinData.BgChanged) {
        PrepareCache();
        if (SkinData.CacheBmp && !SkinData.CacheBmp->Empty()) PaintSiblingsOver();
    }
    if (!SkinData.CacheBmp || SkinData.CacheBmp->Empty()) return;
    HWND window = Parent()->Handle();
    HDC dc = GetDC(window);
    const POINT at = OffsetInWindow();
    BitBlt(dc, at.x, at.y, Width(), Height(), SkinData.CacheBmp->Canvas().Handle(), 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
}

// --- State changes and input ---------------------------------------------------------------

void TsSpeedButton::StateChange(TsStateEvent event) {
    if (DropDownOpen()) return;
    const skin::TsGeneralData* s = SkinData.Section();
    const bool fades = s && s->FadingEnabled && !SkinData.BgChanged &&
                       IsAnimatedEvent(AnimatEvents, SkinData.Manager(), event);
    const bool halved = event == TsStateEvent::seMouseDown || event == TsStateEvent::seChange;
    lastFadeSteps_ =
        fades ? std::max(0, halved ? s->FadingIterations / 2 : s->FadingIterations) : 0;
    SkinData.BgChanged = true;
    RepaintNow();
    UpdateGlow(SkinData);
}

void TsSpeedButton::HoldHints() {
    if (holdingHints_ || !framework::Application) return;
    holdingHints_ = true;
    savedShowHint_ = framework::Application->ShowHint;
    framework::Application->ShowHint = false;
}

void TsSpeedButton::ReleaseHints() {
    if (!holdingHints_) return;
    holdingHints_ = false;
    if (framework::Application) framework::Application->ShowHint = savedShowHint_;
}

void TsSpeedButton::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
    SetMouseInControl(true);
    if (SkinData.MouseAbove) return;
    SkinData.MouseAbove = true;
    StateChange(TsStateEvent::seMouseEnter);
}

void TsSpeedButton::MouseLeave() {
    ReleaseHints();
    SetMouseInControl(false);
    if (!SkinData.MouseAbove) return;
    if (OnMouseLeave) OnMouseLeave(this);
    SkinData.MouseAbove = false;
    if (State() == TButtonState::bsDown) SetState(TButtonState::bsUp);
    if (Visible()) StateChange(TsStateEvent::seMouseLeave);
}

// The menu of the arrow part; false when the press is the framework's to handle.
bool TsSpeedButton::PopDropDown(int x) {
    if (style_ != TToolButtonStyle::tbsDropDown || !DropdownMenu || !Enabled()) return false;
    if (OnClick && x < Width() - kDropDownWidth) return false;
    lastFadeSteps_ = 0;
    menuShown_ = true;
    if (!OnClick) SetState(TButtonState::bsDown);
    SkinData.BgChanged = true;
    RepaintNow();
    const POINT screen = ClientToScreen(POINT{0, Height()});
    const std::shared_ptr<bool> alive = alive_;
    ++g_openDropDowns;
    try {
        DropdownMenu->Popup(screen.x, screen.y);
    } catch (...) {
        --g_openDropDowns;
        throw;
    }
    --g_openDropDowns;
    if (!*alive) return true;  // a menu item freed the button
    menuShown_ = false;
    ReleaseHints();
    if (State() == TButtonState::bsDown) SetState(TButtonState::bsUp);
    SkinData.BgChanged = true;
    POINT cursor{};
    GetCursorPos(&cursor);
    const POINT p = ScreenToClient(cursor);
    const RECT all{0, 0, Width(), Height()};
    if (!PtInRect(&all, p))
        Perform(framework::CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
    else
        RepaintNow();
    return true;
}

// --- Window procedure ----------------------------------------------------------------------

bool TsSpeedButton::SkinCommand(TMessage& m) {
    const WORD command = skin::SkinCommandOf(m.WParam);
    switch (command) {
        case skin::scNewSkin:
        case skin::scRemoveSkin:
        case skin::scRefresh: {
            if (!SkinData.IsOwnManager(m.LParam)) return false;
            if (command == skin::scRemoveSkin && Destroying()) return false;
            const bool handled = CommonSkinCommand(SkinData, m);
            if (command == skin::scNewSkin && SkinData.IsSkinned())
                ControlStyle |= framework::csOpaque;
            if (command == skin::scRemoveSkin) ControlStyle &= ~framework::csOpaque;
            if (command != skin::scNewSkin && Visible()) Invalidate();
            return handled;
        }
        case skin::scParentPainted:
            if (SkinData.ComputeUpdating()) {
                SkinData.Updating = false;
                RepaintNow();
            }
            return true;
        case skin::scIsSkinned:
            m.Result = 1;
            return true;
        case skin::scAppActivate:
            SkinData.Updating = false;
            SkinData.BgChanged = true;
            RepaintNow();
            return true;
        case skin::scGetApplication:
            m.Result = reinterpret_cast<LRESULT>(framework::Application);
            return true;
        default:
            break;
    }
    if (!SkinData.IsSkinned()) return CommonSkinCommand(SkinData, m);
    switch (command) {
        case skin::scIsPreparing:
            m.Result = SkinData.Updating ? 1 : 0;
            return true;
        case skin::scSectionChanged:
            RepaintNow();
            return true;
        case skin::scStopFading:
            lastFadeSteps_ = 0;
            return true;
        default:
            return CommonSkinCommand(SkinData, m);
    }
}

// Skinned messages before the common handling; true when done with.
bool TsSpeedButton::Before(TMessage& m) {
    if (IsButtonDown(m.Msg)) HoldHints();
    if (IsButtonUp(m.Msg)) ReleaseHints();
    switch (m.Msg) {
        case WM_SIZE:
        case WM_WINDOWPOSCHANGED:
            if (Visible()) SkinData.BgChanged = true;
            return false;
        case WM_ERASEBKGND:
            m.Result = 1;
            return true;
        case WM_CAPTURECHANGED:
        case WM_CANCELMODE:
        case framework::CM_CANCELMODE:
            ReleaseHints();
            return false;
        case WM_MOUSEMOVE:
            if (holdingHints_ && framework::CaptureControl() != this) ReleaseHints();
            return false;
        case framework::CM_TEXTCHANGED:
            if (ShowCaption) {
                SkinData.BgChanged = true;
                RepaintNow();
            }
            return false;
        case framework::CM_MOUSEENTER:
            if (!Enabled() || (m.LParam && m.LParam != reinterpret_cast<LPARAM>(this)))
                return false;
            MouseEnter();
            CommonWndProc(SkinData, m);
            return true;
        case framework::CM_MOUSELEAVE:
            if (m.LParam && m.LParam != reinterpret_cast<LPARAM>(this)) return false;
            ReleaseHints();
            if (!Enabled()) return false;
            MouseLeave();
            CommonWndProc(SkinData, m);
            return true;
        case WM_LBUTTONDOWN:
            if (DropDownOpen()) return true;
            return PopDropDown(GET_X_LPARAM(m.LParam));
        default:
            return false;
    }
}

void TsSpeedButton::After(const TMessage& m) {
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            StateChange(TsStateEvent::seMouseDown);
            break;
        case WM_LBUTTONUP:
            StateChange(TsStateEvent::seChange);
            break;
        case framework::CM_VISIBLECHANGED:
            SkinData.MouseAbove = false;
            break;
        case framework::CM_ENABLEDCHANGED:
        case framework::CM_BUTTONPRESSED:
            if (!Visible() || Loading()) break;
            SkinData.BgChanged = true;
            RepaintNow();
            break;
        default:
            break;
    }
}

void TsSpeedButton::Unskinned(TMessage& m) {
    if (m.Msg == framework::CM_MOUSEENTER && Enabled()) {
        SkinData.MouseAbove = true;
        if (OnMouseEnter) OnMouseEnter(this);
    } else if (m.Msg == framework::CM_MOUSELEAVE && Enabled()) {
        SkinData.MouseAbove = false;
        if (OnMouseLeave) OnMouseLeave(this);
        if (State() == TButtonState::bsDown) SetState(TButtonState::bsUp);
    }
    TSpeedButton::WndProc(m);
}

void TsSpeedButton::WndProc(TMessage& m) {
    if (m.Msg == skin::SM_SKINCMD) {
        if (!SkinCommand(m)) TSpeedButton::WndProc(m);
        return;
    }
    if (m.Msg == WM_LBUTTONUP || m.Msg == WM_CAPTURECHANGED || m.Msg == WM_CANCELMODE)
        ReleaseHints();
    if (!SkinData.IsSkinned() || !Parent()) {
        Unskinned(m);
        return;
    }
    if (Before(m)) return;
    if (CommonWndProc(SkinData, m)) return;
    const std::shared_ptr<bool> alive = alive_;
    TSpeedButton::WndProc(m);
    if (*alive) After(m);
}

}  // namespace paint
