#include "paint/mask_edit.h"

#include "framework/application.h"
#include "paint/bg_query.h"
#include "paint/common_commands.h"
#include "paint/common_wndproc.h"
#include "paint/control_kinds.h"
#include "paint/control_paint.h"
#include "paint/edit_paint.h"
#include "paint/section_paint.h"
#include "paint/solid_fills.h"
#include "skin/skin_commands.h"

namespace paint {

using framework::TMessage;

namespace {

// The masked family always copies frame strips this wide.
constexpr int kMaskStrip = 2;
constexpr UINT kPlainTextFlags = DT_NOPREFIX | DT_EXTERNALLEADING;
// Left-aligned text, as the status bar's alignment flags give it.
constexpr UINT kPasswordTextFlags = DT_LEFT | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX;

bool IsSingle(const framework::TCustomEdit& e) {
    return e.BorderStyle == framework::TBorderStyle::bsSingle;
}

}  // namespace

TsMaskEdit::TsMaskEdit(framework::TComponent* owner) : TMaskEdit(owner), SkinData(this, true) {
    SkinData.ControlKind = ckEdit;
    SkinData.SetSkinSection("EDIT");
    SkinData.AfterCreate();
}

TsMaskEdit::~TsMaskEdit() = default;

void TsMaskEdit::Loaded() {
    TMaskEdit::Loaded();
    SkinData.AfterCreate();
}

void TsMaskEdit::SetDisabledKind(TsDisabledKinds kinds) {
    if (kinds == disabledKind_) return;
    disabledKind_ = kinds;
    SkinData.RepaintControl();
}

int TsMaskEdit::EditInset() const {
    if (!IsSingle(*this)) return 0;
    return Ctl3D() ? 3 : 2;
}

bool TsMaskEdit::HasSkinFrame() const {
    return IsSingle(*this);
}

UINT TsMaskEdit::TextFlags() const {
    return PasswordChar() ? kPasswordTextFlags : kPlainTextFlags;
}

RECT TsMaskEdit::TextRect() {
    const int e = EditInset();
    framework::TBitmap probe(1, 1);
    probe.Canvas().Font.Assign(Font());
    const int h = probe.Canvas().TextHeight("Wy");
    return RECT{e, e, Width() - e, e + h + 2};
}

void TsMaskEdit::PrepareCache() {
    SkinData.InitCacheBmp();
    framework::TBitmap& cache = *SkinData.CacheBmp;
    if (cache.Empty()) return;
    const TsBgSource bg = GetParentBgSource(SkinData);
    const POINT at{Left(), Top()};
    const RECT all{0, 0, Width(), Height()};
    if (IsSingle(*this))
        PaintControlBg(SkinData, bg, true, false, &cache, at, all,
                       IsEditHot() ? kStateHot : kStateNormal);
    else
        PaintSectionBg(SkinData.Model(), SkinData.SkinIndex, SkinData.SkinSection(), bg,
                       TransparentColor, SkinData.HotTexture, SkinData.Texture, cache, at, all,
                       kStateNormal);
    DrawEditText();
    if (!Enabled()) ApplyDisabledKind(cache, disabledKind_, Parent(), at, bg);
    SkinData.BgChanged = false;
}

void TsMaskEdit::DrawEditText() {
    const std::string text = DisplayText();
    if (text.empty()) return;
    framework::TCanvas& canvas = SkinData.CacheBmp->Canvas();
    canvas.Font.Assign(Font());
    WriteSkinText(SkinData, canvas, text, true, SkinData.IsHot(), TextFlags(), TextRect());
}

void TsMaskEdit::PaintChildren(HDC windowDc) {
    if (ControlCount() == 0) return;
    RECT window{};
    GetWindowRect(Handle(), &window);
    const POINT origin = ClientToScreen(POINT{0, 0});
    const int saved = SaveDC(windowDc);
    OffsetViewportOrgEx(windowDc, origin.x - window.left, origin.y - window.top, nullptr);
    PaintControls(windowDc, nullptr);
    RestoreDC(windowDc, saved);
}

void TsMaskEdit::PaintWhole(HDC dc) {
    WindowPaint paint(Handle(), dc);
    SkinData.Updating = SkinData.ComputeUpdating();
    if (SkinData.Updating) return;
    if (SkinData.BgChanged || SkinData.HalfVisible) PrepareCache();
    if (framework::TWinControl* parent = Parent()) {
        const RECT client = parent->ClientRect();
        SkinData.HalfVisible = !(Left() >= 0 && Top() >= 0 && Left() + Width() <= client.right &&
                                 Top() + Height() <= client.bottom);
    }
    if (!SkinData.CacheBmp || SkinData.CacheBmp->Empty()) return;
    RefreshCorners(SkinData, kStateNormal);
    BitBlt(paint.Dc(), 0, 0, Width(), Height(), SkinData.CacheBmp->Canvas().Handle(), 0, 0,
           SRCCOPY);
    PaintChildren(paint.Dc());
}

void TsMaskEdit::PaintFrame(HDC dc) {
    if (!Parent() || !Visible() || !Parent()->Visible() || !HandleAllocated()) return;
    if (SkinData.ComputeUpdating() || !HasSkinFrame()) return;
    HDC target = dc ? dc : GetWindowDC(Handle());
    if (SkinData.BgChanged) PrepareCache();
    if (SkinData.CacheBmp && !SkinData.CacheBmp->Empty()) {
        RefreshCorners(SkinData, kStateNormal);
        CopyFrameStrips(target, 0, 0, Width(), Height(), SkinData.CacheBmp->Canvas().Handle(), 0, 0,
                        kMaskStrip);
        PaintOverFrame(target);
    }
    if (!dc) ReleaseDC(Handle(), target);
}

void TsMaskEdit::PaintHandler(TMessage& m) {
    if (!SkinData.IsSkinned() || !HandleAllocated()) {
        TMaskEdit::PaintHandler(m);
        return;
    }
    if (IsEditHot()) {
        TMaskEdit::PaintHandler(m);
        PaintFrame(nullptr);
        return;
    }
    PaintWhole(reinterpret_cast<HDC>(m.WParam));
}

void TsMaskEdit::Redraw() {
    SkinData.BgChanged = true;
    if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

bool TsMaskEdit::SkinCommand(TMessage& m) {
    const WORD command = skin::SkinCommandOf(m.WParam);
    switch (command) {
        case skin::scNewSkin:
        case skin::scRemoveSkin:
        case skin::scRefresh:
            if (!SkinData.IsOwnManager(m.LParam)) return false;
            CommonSkinCommand(SkinData, m);
            if (command != skin::scNewSkin) Redraw();
            return true;
        case skin::scParentPainted:
            if (SkinData.ComputeUpdating()) {
                SkinData.Updating = false;
                Redraw();
            }
            return true;
        case skin::scIsSkinned:
            m.Result = 1;
            return true;
        case skin::scGetApplication:
            m.Result = reinterpret_cast<LRESULT>(framework::Application);
            return true;
        default:
            return CommonSkinCommand(SkinData, m);
    }
}

// Messages a skinned edit handles itself; true when done with.
bool TsMaskEdit::SkinnedMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_ERASEBKGND:
            if (skin::AnimatingSkinChange) return m.Result = 1, true;
            SkinData.Updating = SkinData.ComputeUpdating();
            if (!SkinData.Updating) TMaskEdit::WndProc(m);
            return true;
        case WM_NCPAINT:
            if (skin::AnimatingSkinChange) return true;
            SkinData.Updating = SkinData.ComputeUpdating();
            if (!SkinData.Updating) PaintFrame(nullptr);
            return true;
        case WM_PRINT: {
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            SkinData.Updating = false;
            if (SkinData.BgChanged) PrepareCache();
            PaintWhole(dc);
            if (SkinData.CacheBmp && !SkinData.CacheBmp->Empty())
                CopyFrameStrips(dc, 0, 0, SkinData.CacheBmp->Width(), SkinData.CacheBmp->Height(),
                                SkinData.CacheBmp->Canvas().Handle(), 0, 0, EditInset());
            return true;
        }
        case framework::CM_COLORCHANGED:
        case framework::CM_CHANGED:
            SkinData.BgChanged = true;
            return false;
        default:
            return false;
    }
}

void TsMaskEdit::AfterFramework(const TMessage& m) {
    switch (m.Msg) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case framework::CM_EXIT:
        case WM_SETTEXT:
        case framework::CM_TEXTCHANGED:
        case WM_SETFONT:
        case framework::CM_VISIBLECHANGED:
        case framework::CM_ENABLEDCHANGED:
        case framework::CM_MOUSEENTER:
        case framework::CM_MOUSELEAVE:
            // The inside switches between the framework edit and the image with the hot state.
            if (!Loading()) Redraw();
            break;
        default:
            break;
    }
}

void TsMaskEdit::WndProc(TMessage& m) {
    if (m.Msg == skin::SM_SKINCMD) {
        if (!SkinCommand(m)) TMaskEdit::WndProc(m);
        return;
    }
    if (!SkinData.IsSkinned() || !HandleAllocated()) {
        TMaskEdit::WndProc(m);
        return;
    }
    if (SkinnedMessage(m)) return;
    if (CommonWndProc(SkinData, m)) return;
    TMaskEdit::WndProc(m);
    AfterFramework(m);
}

}  // namespace paint
