#include "paint/status_bar.h"

#include <algorithm>

#include "framework/application.h"
#include "paint/bg_query.h"
#include "paint/bitmaps.h"
#include "paint/border_mask.h"
#include "paint/cache_copy.h"
#include "paint/common_commands.h"
#include "paint/common_wndproc.h"
#include "paint/control_commands.h"
#include "paint/control_kinds.h"
#include "paint/control_paint.h"
#include "paint/control_text.h"
#include "paint/image_entry.h"
#include "paint/image_pieces.h"
#include "paint/section_paint.h"
#include "paint/section_text.h"

namespace paint {

using framework::TMessage;
using framework::TStatusPanel;

namespace {

constexpr const char* kPanelMask = "STATUSPANELMASK";
constexpr const char* kDivider = "DIVIDER";
constexpr const char* kGrip = "GRIPIMAGE";
// A divider is at least this wide.
constexpr int kMinDividerWidth = 2;

}  // namespace

TsStatusBar::TsStatusBar(framework::TComponent* owner) : TStatusBar(owner), SkinData(this, true) {
    SkinData.ControlKind = ckStatusBar;
    ControlStyle |= framework::csAcceptsControls | framework::csOpaque;
    SkinData.AfterCreate();
}

TsStatusBar::~TsStatusBar() = default;

void TsStatusBar::Loaded() {
    TStatusBar::Loaded();
    SkinData.AfterCreate();
}

int TsStatusBar::PanelLeft(int index) {
    int x = 0;
    for (int i = 0; i < index && i < Panels().Count(); ++i) x += Panels()[i]->Width();
    return x;
}

RECT TsStatusBar::PanelBounds(int index) {
    const int left = PanelLeft(index);
    const bool last = index == Panels().Count() - 1;
    return RECT{left, 0, last ? Width() : left + Panels()[index]->Width(), Height()};
}

RECT TsStatusBar::PanelTextRect(const RECT& r) {
    return RECT{r.left + 1 + 2, r.top + 1, r.right - 1 - 4, r.bottom - 1 - 1};
}

UINT TsStatusBar::AlignmentFlags(framework::TAlignment alignment) {
    UINT flags = DT_LEFT;
    if (alignment == framework::TAlignment::taRightJustify) flags = DT_RIGHT;
    if (alignment == framework::TAlignment::taCenter) flags = DT_CENTER;
    return flags | DT_VCENTER | DT_EXPANDTABS;
}

bool TsStatusBar::CanPaint() const {
    return HandleAllocated() && !Loading() && !Destroying() && Parent();
}

// --- The image -----------------------------------------------------------------------------

void TsStatusBar::PrepareCache() {
    const bool repaint = SkinData.BgChanged || SkinData.HalfVisible ||
                         (Parent() && SendSkinCommand(Parent(), skin::scGetHalfVisible) != 0);
    if (Parent()) {
        const RECT client = Parent()->ClientRect();
        SkinData.HalfVisible = !(Left() >= 0 && Top() >= 0 && Left() + Width() <= client.right &&
                                 Top() + Height() <= client.bottom);
    }
    if (!repaint || SkinData.ForceRepaint) return;
    const TsBgSource bg = GetParentBgSource(SkinData);
    SkinData.InitCacheBmp();
    if (SkinData.CacheBmp->Empty()) return;
    PaintControlBg(SkinData, bg, false, false, SkinData.CacheBmp.get(), POINT{Left(), Top()},
                   RECT{0, 0, Width(), Height()}, kStateNormal);
    // The corners as a later paint of the kept image lays them, so a fresh image and a kept
    // one show the same edge pixels.
    RefreshCorners(SkinData, kStateNormal);
    PaintPanels();
    if (SizeGrip) PaintSizeGrip();
    SkinData.BgChanged = false;
}

void TsStatusBar::PaintPanels() {
    if (SimplePanel() || Panels().Count() == 0) {
        PaintPanel(nullptr, SimpleText(), RECT{0, 1, Width() - 1, Height() - 1});
        return;
    }
    for (int i = 0; i < Panels().Count(); ++i) PaintPanelInCache(Panels()[i], PanelBounds(i));
}

void TsStatusBar::PaintPanelInCache(TStatusPanel* panel, const RECT& rect) {
    RECT r = rect;
    InflateRect(&r, -1, -1);
    framework::TCanvas& canvas = Canvas();
    const HDC old = canvas.Handle();
    canvas.SetHandle(SkinData.CacheBmp->Canvas().Handle());
    PaintPanel(panel, std::string(), r);
    canvas.SetHandle(old);
}

// The framework's own panel drawing, taken over while skinned.
void TsStatusBar::DrawPanel(TStatusPanel* panel, const RECT& rect) {
    if (!SkinData.IsSkinned()) TStatusBar::DrawPanel(panel, rect);
}

void TsStatusBar::PaintPanelFrame(const RECT& r) {
    const skin::TsSkinModel& model = *SkinData.Model();
    const int m = model.FindMask(SkinData.SkinIndex, SkinData.SkinSection(), kPanelMask);
    const RECT around = SimplePanel() || Panels().Count() == 0 ? RECT{0, 0, Width(), Height()} : r;
    DrawBorderMask(*SkinData.CacheBmp, around, true, true, 0, model, m, EmptyBgSource());
}

void TsStatusBar::PaintDivider(const RECT& r) {
    const skin::TsSkinModel& model = *SkinData.Model();
    const int d = model.FindSection(kDivider);
    const int b = d >= 0 ? model.FindMask(d, kDivider, "BORDERSMASK") : -1;
    const skin::TsMaskData* e = MaskAt(model, b);
    if (!e) return;
    const int w = std::max(kMinDividerWidth, e->WL + e->WR);
    const int h = Height() - 2;
    if (h <= 0) return;
    auto piece = CreateBmp24(w, h);
    const int x = r.right - w / 2 - 1;
    PaintSectionRect(&model, d, kDivider, BgSourceFromBitmap(SkinData.CacheBmp.get(), 0, 0), -1, -1,
                     *piece, POINT{x, 1}, RECT{0, 0, w, h}, 0, true);
    BitBlt(SkinData.CacheBmp->Canvas().Handle(), x, 1, w, h, piece->Canvas().Handle(), 0, 0,
           SRCCOPY);
}

void TsStatusBar::PaintPanel(TStatusPanel* panel, const std::string& text, const RECT& r) {
    if (const skin::TsSkinModel* model = SkinData.IsSkinned() ? SkinData.Model() : nullptr) {
        const int m = model->FindMask(SkinData.SkinIndex, SkinData.SkinSection(), kPanelMask);
        const bool last = panel && panel == Panels()[Panels().Count() - 1];
        if (MaskAt(*model, m))
            PaintPanelFrame(r);
        else if (panel && !SimplePanel() && !last)
            PaintDivider(r);
    }
    if (panel && panel->Style == framework::TStatusPanelStyle::psOwnerDraw && OnDrawPanel) {
        OnDrawPanel(this, panel, r);
        return;
    }
    const RECT t = PanelTextRect(r);
    framework::TCanvas& canvas = SkinData.CacheBmp->Canvas();
    canvas.Font.Assign(Font());
    const int width = std::max(0, static_cast<int>(t.right - t.left));
    if (panel)
        WritePanelText(TruncateText(canvas, panel->Text(), width), t,
                       AlignmentFlags(panel->Alignment));
    else
        WritePanelText(TruncateText(canvas, text, width), t,
                       AlignmentFlags(framework::TAlignment::taLeftJustify));
}

void TsStatusBar::WritePanelText(const std::string& text, const RECT& rect, UINT flags) {
    if (text.empty()) return;
    framework::TCanvas& canvas = SkinData.CacheBmp->Canvas();
    canvas.Font.Assign(Font());
    WriteSkinText(SkinData, canvas, text, true, SkinData.IsHot(),
                  flags | DT_VCENTER | DT_SINGLELINE, rect);
}

void TsStatusBar::PaintSizeGrip() {
    const skin::TsSkinModel* model = SkinData.Model();
    if (!model) return;
    int g = model->FindMask(model->GlobalInfoIndex, "GLOBALINFO", kGrip);
    if (g < 0) g = model->FindMask(SkinData.SkinIndex, "FORM", kGrip);
    const skin::TsMaskData* e = MaskAt(*model, g);
    if (!e) return;
    framework::TBitmap& cache = *SkinData.CacheBmp;
    DrawImageFrame(cache, POINT{Width() - FrameWidth(*e), Height() - FrameHeight(*e)}, 0,
                   BgSourceFromBitmap(&cache, 0, 0), *model, g, 1);
}

// --- On screen -----------------------------------------------------------------------------

void TsStatusBar::PaintOnDC(HDC dc) {
    const int saved = SaveDC(dc);
    SkinData.Updating = SkinData.ComputeUpdating();
    if (!SkinData.Updating) {
        // Corners are laid again only over an image kept from before: a fresh one has them
        // (PrepareCache lays them), and the grip drawn over its corner would be lost.
        const bool stale = SkinData.BgChanged || SkinData.HalfVisible;
        PrepareCache();
        CopyCacheToDC(SkinData, this, dc, RECT{0, 0, Width(), Height()}, POINT{0, 0},
                      !stale && !SizeGrip);
        PaintGraphicChildren(dc, this, POINT{0, 0});
        TellChildrenPainted();
        SkinData.BgChanged = false;
    }
    RestoreDC(dc, saved);
}

void TsStatusBar::PaintBar(HDC dc) {
    if (dc) {
        PaintOnDC(dc);
        return;
    }
    PAINTSTRUCT ps{};
    HDC own = BeginPaint(Handle(), &ps);
    PaintOnDC(own);
    EndPaint(Handle(), &ps);
}

void TsStatusBar::TellChildrenPainted() {
    for (int i = 0; i < ControlCount(); ++i) {
        framework::TControl* c = Controls(i);
        if (c->IsWindowed() && static_cast<framework::TWinControl*>(c)->HandleAllocated() &&
            c->Visible())
            SendSkinCommand(c, skin::scParentPainted);
    }
}

void TsStatusBar::RepaintWithFrame() {
    if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void TsStatusBar::PaintHandler(TMessage& m) {
    if (!SkinData.IsSkinned() || !CanPaint()) {
        TStatusBar::PaintHandler(m);
        return;
    }
    if (skin::AnimatingSkinChange) {
        // The animation paints the window itself; the region still has to be validated.
        if (!m.WParam) ValidateRect(Handle(), nullptr);
        return;
    }
    PaintBar(reinterpret_cast<HDC>(m.WParam));
    m.Result = 0;
}

// --- Window procedure ----------------------------------------------------------------------

bool TsStatusBar::SkinCommand(TMessage& m) {
    const WORD command = skin::SkinCommandOf(m.WParam);
    switch (command) {
        case skin::scNewSkin:
        case skin::scRefresh:
            if (!SkinData.IsOwnManager(m.LParam)) return false;
            skin::TsSkinManager::BroadcastToChildren(this, m.Msg, m.WParam, m.LParam);
            CommonSkinCommand(SkinData, m);
            if (command == skin::scRefresh) RepaintWithFrame();
            return true;
        case skin::scRemoveSkin:
            if (!SkinData.IsOwnManager(m.LParam)) return false;
            CommonSkinCommand(SkinData, m);
            RepaintWithFrame();
            skin::TsSkinManager::BroadcastToChildren(this, m.Msg, m.WParam, m.LParam);
            return true;
        case skin::scParentPainted:
            if (!SkinData.Updating) return false;
            SkinData.Updating = false;
            RepaintWithFrame();
            return true;
        case skin::scIsSkinned:
            m.Result = 1;
            return true;
        case skin::scGetApplication:
            m.Result = reinterpret_cast<LRESULT>(framework::Application);
            return true;
        default:
            return false;
    }
}

bool TsStatusBar::SkinnedMessage(TMessage& m) {
    switch (m.Msg) {
        case skin::SM_SKINCMD:
            return CommonSkinCommand(SkinData, m);
        case WM_MOVE:
            if (const skin::TsGeneralData* s = SkinData.Section())
                if (s->Transparency >= 1 || s->HotTransparency >= 1) SkinData.BgChanged = true;
            return CommonWndProc(SkinData, m);
        case WM_ERASEBKGND: {
            m.Result = 1;
            SkinData.Updating = SkinData.ComputeUpdating();
            if (SkinData.Updating || SkinData.BgChanged) return true;
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            CopyCacheToDC(SkinData, this, dc, RECT{0, 0, Width(), Height()}, POINT{0, 0},
                          !SizeGrip);
            PaintGraphicChildren(dc, this, POINT{0, 0});
            return true;
        }
        case WM_NCPAINT:
            if (!Visible()) return true;
            SkinData.Updating = SkinData.ComputeUpdating();
            if (!skin::AnimatingSkinChange && !SkinData.Updating) PrepareCache();
            return true;
        case WM_PRINT: {
            if (!Visible()) return true;
            SkinData.Updating = SkinData.ComputeUpdating();
            if (SkinData.Updating) return true;
            PrepareCache();
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            const int saved = SaveDC(dc);
            IntersectClipRect(dc, 0, 0, ClientWidth(), ClientHeight());
            PaintBar(dc);
            RestoreDC(dc, saved);
            return true;
        }
        default:
            return CommonWndProc(SkinData, m);
    }
}

void TsStatusBar::WndProc(TMessage& m) {
    if (m.Msg == skin::SM_SKINCMD && SkinCommand(m)) return;
    if (!CanPaint() || !SkinData.IsSkinned()) {
        TStatusBar::WndProc(m);
    } else if (!SkinnedMessage(m)) {
        TStatusBar::WndProc(m);
    }
    switch (m.Msg) {
        case framework::SB_SETTEXTA:
        case framework::SB_SETPARTS:
        case framework::SB_SIMPLE:
        case framework::SB_GETRECT:
            SkinData.BgChanged = true;
            break;
        default:
            break;
    }
}

}  // namespace paint
