#include "paint/edit.h"

#include "framework/application.h"
#include "framework/colors.h"
#include "paint/bg_query.h"
#include "paint/common_commands.h"
#include "paint/common_wndproc.h"
#include "paint/control_kinds.h"
#include "paint/control_paint.h"
#include "paint/edit_paint.h"
#include "paint/solid_fills.h"
#include "skin/skin_commands.h"
#include "skin/skin_engine.h"

namespace paint {

using framework::TMessage;

namespace {

constexpr UINT kEditTextFlags = DT_SINGLELINE | DT_NOPREFIX;

int BorderWidth(const framework::TCustomEdit& e) {
    if (e.BorderStyle == framework::TBorderStyle::bsNone) return 0;
    return e.Ctl3D() ? 2 : 1;
}

int BevelCuts(const framework::TCustomEdit& e) {
    return (e.BevelInner() != framework::TBevelCut::bvNone ? 1 : 0) +
           (e.BevelOuter() != framework::TBevelCut::bvNone ? 1 : 0);
}

bool IsRepaintTrigger(UINT msg) {
    return msg == WM_SETTEXT || msg == WM_SETFONT || msg == framework::CM_VISIBLECHANGED ||
           msg == framework::CM_ENABLEDCHANGED || msg == framework::CM_TEXTCHANGED;
}

}  // namespace

TsEdit::TsEdit(framework::TComponent* owner) : TEdit(owner), SkinData(this, true) {
    SkinData.ControlKind = ckEdit;
    SkinData.AfterCreate();
}

TsEdit::~TsEdit() = default;

void TsEdit::Loaded() {
    TEdit::Loaded();
    SkinData.AfterCreate();
}

void TsEdit::SetDisabledKind(TsDisabledKinds kinds) {
    if (kinds == disabledKind_) return;
    disabledKind_ = kinds;
    SkinData.RepaintControl();
}

int TsEdit::TextInset() const {
    const int bevels = BevelKind() != framework::TBevelKind::bkNone ? BevelCuts(*this) : 0;
    return BorderWidth(*this) + bevels;
}

int TsEdit::StripWidth() const {
    if (BorderStyle == framework::TBorderStyle::bsNone) return BevelCuts(*this);
    return BorderWidth(*this);
}

RECT TsEdit::TextRect() const {
    const int a = TextInset();
    return RECT{a + 1, a + 1, Width() - a, Height() - a};
}

void TsEdit::PrepareCache() {
    SkinData.InitCacheBmp();
    framework::TBitmap& cache = *SkinData.CacheBmp;
    if (cache.Empty()) return;
    const TsBgSource bg = GetParentBgSource(SkinData);
    const POINT at{Left(), Top()};
    PaintControlBg(SkinData, bg, true, false, &cache, at, RECT{0, 0, Width(), Height()},
                   SkinData.IsHot() ? kStateHot : kStateNormal);
    DrawEditText();
    if (!Enabled()) ApplyDisabledKind(cache, disabledKind_, Parent(), at, bg);
    SkinData.BgChanged = false;
}

void TsEdit::DrawEditText() {
    framework::TCanvas& canvas = SkinData.CacheBmp->Canvas();
    canvas.Font.Assign(Font());
    // DisplayText already stands one PasswordChar for each character, not for each byte.
    WriteSkinText(SkinData, canvas, DisplayText(), true, SkinData.IsHot(), kEditTextFlags,
                  TextRect());
}

void TsEdit::PaintWhole(HDC dc) {
    WindowPaint paint(Handle(), dc);
    SkinData.Updating = SkinData.ComputeUpdating();
    if (SkinData.Updating) return;
    framework::TWinControl* parent = Parent();
    const bool parentHalf = parent && parent->HandleAllocated() &&
                            SendMessage(parent->Handle(), skin::SM_SKINCMD,
                                        skin::SkinCommandWParam(skin::scGetHalfVisible), 0) != 0;
    SkinData.BgChanged = SkinData.BgChanged || SkinData.HalfVisible || parentHalf;
    if (parent) {
        const RECT client = parent->ClientRect();
        SkinData.HalfVisible = !(Left() >= 0 && Top() >= 0 && Left() + Width() <= client.right &&
                                 Top() + Height() <= client.bottom);
    }
    if (SkinData.BgChanged && !SkinData.ForceRepaint) PrepareCache();
    if (!SkinData.CacheBmp || SkinData.CacheBmp->Empty()) return;
    RefreshCorners(SkinData, kStateNormal);
    BitBlt(paint.Dc(), 0, 0, Width(), Height(), SkinData.CacheBmp->Canvas().Handle(), 0, 0,
           SRCCOPY);
}

void TsEdit::PaintFrame() {
    if (skin::AnimatingSkinChange) return;
    SkinData.Updating = SkinData.ComputeUpdating();
    if (SkinData.Updating) return;
    if (SkinData.BgChanged) PrepareCache();
    if (!SkinData.CacheBmp || SkinData.CacheBmp->Empty()) return;
    HDC dc = GetWindowDC(Handle());
    RefreshCorners(SkinData, kStateNormal);
    CopyFrameStrips(dc, 0, 0, Width(), Height(), SkinData.CacheBmp->Canvas().Handle(), 0, 0,
                    StripWidth());
    ReleaseDC(Handle(), dc);
}

// The platform edit draws on the edit's own colours; they follow the section's state.
void TsEdit::TakeSectionColors() {
    const skin::TsGeneralData* s = SkinData.Section();
    if (!s) return;
    const bool hot = SkinData.IsHot();
    const framework::TColor color = hot ? s->HotColor : s->Color;
    const framework::TColor font = hot ? s->HotFontColor[0] : s->FontColor[0];
    takingColors_ = true;
    try {
        if (!SkinData.CustomColor() && Color() != color) SetColor(color);
        if (!SkinData.CustomFont() && Font().Color() != font) Font().SetColor(font);
    } catch (...) {
        takingColors_ = false;
        throw;
    }
    takingColors_ = false;
}

void TsEdit::PaintHandler(TMessage& m) {
    if (!SkinData.IsSkinned() || !HandleAllocated()) {
        TEdit::PaintHandler(m);
        return;
    }
    SkinData.Updating = SkinData.ComputeUpdating();
    if (skin::AnimatingSkinChange || SkinData.Updating) {
        PAINTSTRUCT ps{};
        BeginPaint(Handle(), &ps);
        EndPaint(Handle(), &ps);
        return;
    }
    TakeSectionColors();
    if (Enabled())
        TEdit::PaintHandler(m);
    else
        PaintWhole(reinterpret_cast<HDC>(m.WParam));
}

// A print gets the whole image with its frame, then the framework's inside of an enabled
// edit over it, placed in the client area.
void TsEdit::Print(HDC dc) {
    SkinData.Updating = false;
    PrepareCache();
    if (!SkinData.CacheBmp || SkinData.CacheBmp->Empty()) return;
    RefreshCorners(SkinData, kStateNormal);
    const int b = BorderWidth(*this);
    const int w = SkinData.CacheBmp->Width(), h = SkinData.CacheBmp->Height();
    CopyFrameStrips(dc, 0, 0, w, h, SkinData.CacheBmp->Canvas().Handle(), 0, 0, b);
    PaintWhole(dc);
    if (!Enabled()) return;
    const int saved = SaveDC(dc);
    try {
        OffsetViewportOrgEx(dc, b, b, nullptr);
        IntersectClipRect(dc, 0, 0, w - 2 * b, h - 2 * b);
        TakeSectionColors();
        PaintWindow(dc);
    } catch (...) {
        RestoreDC(dc, saved);
        throw;
    }
    RestoreDC(dc, saved);
}

bool TsEdit::SkinCommand(TMessage& m) {
    switch (skin::SkinCommandOf(m.WParam)) {
        case skin::scNewSkin:
        case skin::scRemoveSkin:
            if (!SkinData.IsOwnManager(m.LParam)) return false;
            CommonSkinCommand(SkinData, m);
            return true;
        case skin::scRefresh:
            if (!SkinData.IsOwnManager(m.LParam)) return false;
            CommonSkinCommand(SkinData, m);
            if (!skin::AnimatingSkinChange && HandleAllocated())
                RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
            return true;
        case skin::scIsSkinned:
            m.Result = 1;
            return true;
        case skin::scIsComplexBg:
            m.Result = 0;
            return true;
        case skin::scGetColor:
            if (SkinData.IsSkinned()) return CommonSkinCommand(SkinData, m);
            m.Result = static_cast<LRESULT>(framework::ColorToRGB(Color()));
            return true;
        case skin::scGetApplication:
            m.Result = reinterpret_cast<LRESULT>(framework::Application);
            return true;
        case skin::scParentPainted:
            if (!SkinData.IsSkinned() || !SkinData.ComputeUpdating()) return true;
            SkinData.Updating = false;
            SkinData.RepaintControl();
            if (HandleAllocated()) SendMessage(Handle(), WM_NCPAINT, 0, 0);
            return true;
        default:
            return CommonSkinCommand(SkinData, m);
    }
}

// Messages a skinned edit handles before the common reactions; true when done with.
bool TsEdit::BeforeFramework(TMessage& m) {
    switch (m.Msg) {
        case WM_ERASEBKGND:
            if (skin::AnimatingSkinChange) return m.Result = 1, true;
            SkinData.Updating = SkinData.ComputeUpdating();
            if (SkinData.Updating || !Enabled()) return m.Result = 1, true;
            return false;
        case WM_NCPAINT:
            if (!skin::AnimatingSkinChange) PaintFrame();
            return true;
        case WM_PRINT:
            Print(reinterpret_cast<HDC>(m.WParam));
            return true;
        case framework::CM_COLORCHANGED:
            if (SkinData.CustomColor()) SkinData.BgChanged = true;
            return false;
        default:
            return false;
    }
}

void TsEdit::AfterFramework(const TMessage& m) {
    if (m.Msg == WM_SIZE) {
        SendMessage(Handle(), WM_NCPAINT, 0, 0);
    } else if (m.Msg == WM_SETFOCUS) {
        // The frame shows the hot state while the edit has the focus.
        SkinData.BgChanged = true;
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    } else if (m.Msg == WM_KILLFOCUS || m.Msg == framework::CM_EXIT) {
        SkinData.Focused = false;
        SkinData.MouseAbove = false;
        SkinData.BgChanged = true;
        if (Visible()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    } else if (IsRepaintTrigger(m.Msg)) {
        if (Loading() || skin::AnimatingSkinChange) return;
        SkinData.RepaintControl();
        SendMessage(Handle(), WM_NCPAINT, 0, 0);
    }
}

void TsEdit::WndProc(TMessage& m) {
    if (m.Msg == skin::SM_SKINCMD) {
        if (!SkinCommand(m)) TEdit::WndProc(m);
        return;
    }
    // The colours taken during a paint are already in use by that paint.
    if (takingColors_ &&
        (m.Msg == framework::CM_COLORCHANGED || m.Msg == framework::CM_FONTCHANGED))
        return;
    if (!SkinData.IsSkinned() || !HandleAllocated()) {
        TEdit::WndProc(m);
        return;
    }
    if (BeforeFramework(m)) return;
    if (CommonWndProc(SkinData, m)) return;
    TEdit::WndProc(m);
    AfterFramework(m);
}

}  // namespace paint
