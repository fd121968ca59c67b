#include "paint/group_box.h"

#include <algorithm>

#include "paint/bg_query.h"
#include "paint/cache_copy.h"
#include "paint/common_commands.h"
#include "paint/common_wndproc.h"
#include "paint/control_commands.h"
#include "paint/control_kinds.h"
#include "paint/control_paint.h"
#include "paint/control_text.h"
#include "paint/section_paint.h"
#include "paint/solid_fills.h"
#include "skin/skin_engine.h"

namespace paint {

namespace {

using framework::TMessage;

constexpr const char* kDefaultCaptionSection = "CHECKBOX";
constexpr int kLeftCaptionX = 6;
constexpr int kCentreSlack = 10;
constexpr int kRightCaptionMargin = 14;
constexpr int kPlateMargin = 8;
constexpr int kMinCaptionTextHeight = 4;
constexpr int kCaptionPadding = 2;

void PassOn(framework::TWinControl* c, const TMessage& m) {
    skin::TsSkinManager::BroadcastToChildren(c, m.Msg, m.WParam, m.LParam);
}

}  // namespace

TsGroupBox::TsGroupBox(framework::TComponent* owner) : TGroupBox(owner), SkinData(this, true) {
    ControlStyle &= ~framework::csOpaque;
    SkinData.ControlKind = ckGroupBox;
}

void TsGroupBox::Loaded() {
    TGroupBox::Loaded();
    SkinData.AfterCreate();
}

void TsGroupBox::SetCaptionLayout(TsCaptionLayout value) {
    if (value == captionLayout_) return;
    captionLayout_ = value;
    if (!Caption().empty()) SkinData.RepaintControl();
}

void TsGroupBox::SetCaptionYOffset(int value) {
    if (value == captionYOffset_) return;
    captionYOffset_ = value;
    Realign();
    SkinData.RepaintControl();
}

void TsGroupBox::SetCaptionSkin(const std::string& value) {
    if (value == captionSkin_) return;
    captionSkin_ = value;
    SkinData.RepaintControl();
}

void TsGroupBox::AlignControls(RECT& rect) {
    rect.top += captionYOffset_;
    TGroupBox::AlignControls(rect);
}

int TsGroupBox::CaptionHeight() {
    if (!SkinData.CacheBmp) SkinData.InitCacheBmp();
    framework::TCanvas& canvas = SkinData.CacheBmp->Canvas();
    canvas.Font.Assign(Font());
    return std::max(kMinCaptionTextHeight, canvas.TextHeight("W")) + kCaptionPadding;
}

RECT TsGroupBox::CaptionRect() {
    const int h = CaptionHeight();
    const bool skinned = SkinData.IsSkinned();
    RECT r{};
    r.top = skinned && captionYOffset_ < 0 ? captionYOffset_ : 0;
    r.bottom = skinned ? h + captionYOffset_ : h;
    const int a = SkinData.CacheBmp->Canvas().TextWidth(Caption());
    switch (captionLayout_) {
        case TsCaptionLayout::clTopCenter:
            r.left = (Width() - a - kCentreSlack) / 2;
            break;
        case TsCaptionLayout::clTopLeft:
            r.left = kLeftCaptionX;
            break;
        default:
            r.left = Width() - a - kRightCaptionMargin;
            break;
    }
    r.left = std::max(0, r.left);
    r.right = std::min(r.left + a + kPlateMargin, Width());
    if (r.right - r.left < 2 * BevelWidth) {
        r.left -= BevelWidth;
        r.right += BevelWidth;
    }
    return r;
}

void TsGroupBox::PaintCaptionPlate(const TsBgSource& bg, const RECT& band) {
    framework::TBitmap& bmp = *SkinData.CacheBmp;
    const int state = Focused() ? kStateHot : kStateNormal;
    const skin::TsSkinModel* model = SkinData.Model();
    if (!captionSkin_.empty()) {
        const int i = SkinData.Manager()->FindSection(captionSkin_);
        PaintSectionRect(model, i, captionSkin_, BgSourceFromBitmap(&bmp, 0, 0), -1, -1, bmp,
                         POINT{0, 0}, band, state, true);
    } else if (bg.Ready) {
        const int i = SkinData.Manager()->FindSection(kDefaultCaptionSection);
        PaintSectionRect(model, i, kDefaultCaptionSection, bg, -1, -1, bmp,
                         POINT{Left() + band.left, Top() + band.top}, band, state, true);
    } else {
        FillRectSolid(bmp, band, bg.FillColor);
    }
    framework::TCanvas& canvas = bmp.Canvas();
    canvas.Font.Assign(Font());
    canvas.Brush.SetStyle(framework::TBrushStyle::bsClear);
    WriteSkinText(SkinData, canvas, Caption(), true, false, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                  band);
}

void TsGroupBox::PrepareCache() {
    SkinData.InitCacheBmp();
    framework::TBitmap& bmp = *SkinData.CacheBmp;
    const TsBgSource bg = GetParentBgSource(SkinData);
    RECT band = CaptionRect();
    const int bandHeight = std::min(band.bottom - band.top, Height());
    if (bg.Ready && bg.Bmp) {
        BitBlt(bmp.Canvas().Handle(), 0, 0, Width(), bandHeight, bg.Bmp->Canvas().Handle(),
               Left() + bg.X, Top() + bg.Y, SRCCOPY);
    } else if (Parent()) {
        FillRectSolid(bmp, RECT{0, 0, Width(), std::min(band.bottom, Height())}, bg.FillColor);
    }
    // The frame line runs through the middle of the caption.
    const int y0 = captionYOffset_ < 0 ? 0 : bandHeight / 2;
    PaintControlBg(SkinData, bg, false, false, &bmp, POINT{Left(), Top() + y0},
                   RECT{0, y0, Width(), Height()}, kStateNormal);
    band.top = std::max(0, band.top);
    band.bottom = std::min<LONG>(band.bottom, Height());
    if (!Caption().empty() && band.bottom > band.top) PaintCaptionPlate(bg, band);
    SkinData.BgChanged = false;
}

void TsGroupBox::PaintTo(HDC dc) {
    if (!SkinData.IsSkinned(true) || Destroying() || !Visible()) return;
    SkinData.Updating = SkinData.ComputeUpdating();
    if (SkinData.Updating) return;
    if (DependsOnPosition(SkinData) && Parent()) {
        const RECT client = Parent()->ClientRect();
        const POINT a{Left() + 1, Top() + 1};
        const POINT b{Left() + Width() - 1, Top() + Height() - 1};
        SkinData.HalfVisible = !PtInRect(&client, a) || !PtInRect(&client, b);
    }
    if (!SkinData.ForceRepaint) PrepareCache();
    CopyCacheToDC(SkinData, this, dc, RECT{0, 0, Width(), Height()}, POINT{0, 0}, false);
    PaintGraphicChildren(dc, this, POINT{0, 0});
    for (int i = 0; i < ControlCount(); ++i) {
        framework::TControl* c = Controls(i);
        if (c->IsWindowed() && static_cast<framework::TWinControl*>(c)->HandleAllocated())
            SendSkinCommand(c, skin::scParentPainted);
    }
}

void TsGroupBox::ParentPainted() {
    if (SkinData.Updating) {
        SkinData.Updating = false;
        SkinData.Updating = SkinData.ComputeUpdating();
        if (!SkinData.Updating && Showing())
            RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    }
    for (int i = 0; i < ControlCount(); ++i)
        if (Controls(i)->IsWindowed()) SendSkinCommand(Controls(i), skin::scParentPainted);
}

bool TsGroupBox::PaintableCommand(TMessage& m) {
    switch (skin::SkinCommandOf(m.WParam)) {
        case skin::scParentPainted:
            ParentPainted();
            return true;
        case skin::scSetForceRepaint: {
            const bool handled = CommonSkinCommand(SkinData, m);
            if (SkinData.ForceRepaint) PrepareCache();
            return handled;
        }
        case skin::scIsPreparing:
            m.Result = SkinData.BgChanged || SkinData.ComputeUpdating();
            return true;
        default:
            return CommonSkinCommand(SkinData, m);
    }
}

// True when the command was answered completely.
bool TsGroupBox::SkinCommand(TMessage& m) {
    const bool own = SkinData.IsOwnManager(m.LParam);
    switch (skin::SkinCommandOf(m.WParam)) {
        case skin::scNewSkin:
            PassOn(this, m);
            if (own) CommonSkinCommand(SkinData, m);
            return true;
        case skin::scRemoveSkin:
        case skin::scRefresh:
            if (own) CommonSkinCommand(SkinData, m);
            PassOn(this, m);
            if (own) SkinData.RepaintControl();
            return true;
        case skin::scIsSkinned:
            m.Result = 1;
            return true;
        case skin::scGetBg:
            if (auto* q = reinterpret_cast<TsBgQuery*>(m.LParam); q && !captionSkin_.empty()) {
                q->Bmp = SkinData.CacheBmp.get();
                q->Offset = POINT{0, 0};
                q->BgType = kBgBitmap;
                return true;
            }
            return CommonSkinCommand(SkinData, m);
        case skin::scGetApplication:
            return CommonSkinCommand(SkinData, m);
        default:
            break;
    }
    const bool paintable = HandleAllocated() && !Loading() && !Destroying();
    if (paintable && SkinData.IsSkinned()) return PaintableCommand(m);
    return CommonSkinCommand(SkinData, m);
}

void TsGroupBox::PaintMessage(TMessage& m) {
    PAINTSTRUCT ps{};
    HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(Handle(), &ps);
    PaintTo(dc);
    if (!m.WParam) EndPaint(Handle(), &ps);
    m.Result = 0;
}

void TsGroupBox::WndProc(TMessage& m) {
    if (m.Msg == skin::SM_SKINCMD) {
        if (!SkinCommand(m)) TGroupBox::WndProc(m);
        return;
    }
    if (m.Msg == framework::CM_FONTCHANGED) {
        TGroupBox::WndProc(m);
        if (SkinData.CacheBmp) SkinData.CacheBmp->Canvas().Font.Assign(Font());
        if (!Caption().empty()) SkinData.RepaintControl();
        return;
    }
    if (!SkinData.IsSkinned()) {
        CommonWndProc(SkinData, m);
        TGroupBox::WndProc(m);
        return;
    }
    switch (m.Msg) {
        case WM_MOVE:
            SkinData.BgChanged = SkinData.BgChanged || DependsOnPosition(SkinData);
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TGroupBox::WndProc(m);
            return;
        case WM_PAINT:
            PaintMessage(m);
            return;
        case WM_ERASEBKGND:
            m.Result = 1;
            return;
        case WM_WINDOWPOSCHANGED:
        case framework::CM_VISIBLECHANGED:
            SkinData.BgChanged = true;
            break;
        case WM_PRINT:
            SkinData.Updating = false;
            PaintTo(reinterpret_cast<HDC>(m.WParam));
            return;
        case framework::CM_TEXTCHANGED:
            TGroupBox::WndProc(m);
            SkinData.RepaintControl();
            return;
        default:
            break;
    }
    if (CommonWndProc(SkinData, m)) return;
    TGroupBox::WndProc(m);
}

}  // namespace paint
