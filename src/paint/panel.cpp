#include "paint/panel.h"

#include "paint/bg_query.h"
#include "paint/cache_copy.h"
#include "paint/color_mix.h"
#include "paint/common_commands.h"
#include "paint/common_wndproc.h"
#include "paint/control_commands.h"
#include "paint/control_kinds.h"
#include "paint/control_paint.h"
#include "paint/control_text.h"
#include "paint/solid_fills.h"
#include "skin/skin_engine.h"

namespace paint {

namespace {

using framework::TMessage;

UINT AlignmentFlags(framework::TAlignment a) {
    switch (a) {
        case framework::TAlignment::taLeftJustify:
            return DT_LEFT;
        case framework::TAlignment::taRightJustify:
            return DT_RIGHT;
        default:
            return DT_CENTER;
    }
}

void PassOn(framework::TWinControl* c, const TMessage& m) {
    skin::TsSkinManager::BroadcastToChildren(c, m.Msg, m.WParam, m.LParam);
}

void BlitFrom(framework::TBitmap* bmp, HDC dc, RECT to, POINT from) {
    BitBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, bmp->Canvas().Handle(),
           from.x, from.y, SRCCOPY);
}

}  // namespace

TsPanel::TsPanel(framework::TComponent* owner) : TPanel(owner), SkinData(this, true) {
    SkinData.ControlKind = ckPanel;
}

void TsPanel::Loaded() {
    TPanel::Loaded();
    SkinData.AfterCreate();
}

RECT TsPanel::ContentRect() const {
    RECT r = ClientRect();
    const int t = BorderThickness();
    InflateRect(&r, -t, -t);
    return r;
}

void TsPanel::WriteCaption(framework::TCanvas& canvas, RECT rect) {
    if (Caption().empty()) return;
    const UINT flags = AlignmentFlags(Alignment) | DT_EXPANDTABS | DT_VCENTER;
    RECT measure = rect;
    {
        framework::CanvasTextScope scope(canvas);
        DrawText(canvas.Handle(), Caption().c_str(), -1, &measure,
                 flags | DT_WORDBREAK | DT_CALCRECT);
    }
    const int textHeight = measure.bottom - measure.top;
    RECT text{rect.left, (rect.bottom - rect.top - textHeight) / 2 + BorderWidth, rect.right,
              rect.bottom};
    WriteSkinText(SkinData, canvas, Caption(), Enabled(), false, flags | DT_WORDBREAK, text);
}

// A panel has no hot look: its image is always of state 0.
void TsPanel::PrepareCache() {
    if (!SkinData.NeedsCache() && !skin::AnimatingSkinChange) return;
    SkinData.InitCacheBmp();
    PaintControlBgOnParent(SkinData, Parent(), false, true, SkinData.CacheBmp.get(),
                           POINT{Left(), Top()}, RECT{0, 0, Width(), Height()}, kStateNormal);
    framework::TCanvas& canvas = SkinData.CacheBmp->Canvas();
    canvas.Font.Assign(Font());
    canvas.Brush.SetStyle(framework::TBrushStyle::bsClear);
    WriteCaption(canvas, ContentRect());
    if (OnPaint) OnPaint(this, canvas);
    SkinData.BgChanged = false;
    // The image is whole and owes nothing to the parent's picture: no clipped paint left it
    // partial. Without this a panel that never depends on its position stayed "half
    // visible" from its start, and every child's background query painted it again.
    if (!DependsOnPosition(SkinData)) SkinData.HalfVisible = false;
}

void TsPanel::PaintTo(HDC dc, bool withChildren) {
    if (!Showing() || !SkinData.IsSkinned()) return;
    if ((SkinData.NeedsCache() && !SkinData.CustomColor()) || skin::AnimatingSkinChange)
        PaintCached(dc);
    else
        PaintPlain(dc);
    if (withChildren) TellChildrenParentPainted();
}

void TsPanel::PaintCached(HDC dc) {
    SkinData.Updating = SkinData.ComputeUpdating();
    if (SkinData.Updating) return;
    const bool stale = SkinData.HalfVisible || SkinData.BgChanged;
    if (DependsOnPosition(SkinData)) {
        RECT clip{};
        GetClipBox(dc, &clip);
        SkinData.HalfVisible =
            clip.left > 0 || clip.top > 0 || clip.right < Width() || clip.bottom < Height();
    }
    if (stale && !SkinData.ForceRepaint) PrepareCache();
    CopyCacheToDC(SkinData, this, dc, RECT{0, 0, Width(), Height()}, POINT{0, 0}, false);
    PaintGraphicChildren(dc, this, POINT{0, 0});
}

void TsPanel::PaintPlain(HDC dc) {
    SkinData.Updating = false;
    const int saved = SaveDC(dc);
    for (int i = 0; i < ControlCount(); ++i) {
        framework::TControl* c = Controls(i);
        if (!c->IsWindowed() && c->Visible()) {
            const RECT r = c->BoundsRect();
            ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
        }
    }
    TsBgQuery q;
    if (SkinData.CustomColor()) {
        q.BgType = kBgColor;
        q.Color = static_cast<TColor>(framework::ColorToRGB(Color()));
    } else {
        QueryParentBg(q, Parent(), false);
    }
    if (q.BgType == kBgBitmap && q.Bmp && SkinData.Section()->Transparency == 100) {
        SkinData.Updating = SkinData.ComputeUpdating();
        if (!SkinData.Updating) PaintPlainOver(dc, q.Color, q.Bmp, q.Offset);
    } else {
        PaintPlainOver(dc, q.Color, nullptr, q.Offset);
    }
    framework::TCanvas canvas(dc);
    canvas.Font.Assign(Font());
    canvas.Brush.SetStyle(framework::TBrushStyle::bsClear);
    WriteCaption(canvas, ContentRect());
    if (OnPaint) OnPaint(this, canvas);
    SkinData.BgChanged = false;
    RestoreDC(dc, saved);
    PaintGraphicChildren(dc, this, POINT{0, 0});
}

// With parentBmp the parent's image shows through the inside; else the inside is one colour.
void TsPanel::PaintPlainOver(HDC dc, TColor answered, framework::TBitmap* parentBmp, POINT offset) {
    const skin::TsGeneralData* s = SkinData.Section();
    const int t = s->Transparency;
    const TColor own =
        SkinData.CustomColor() ? static_cast<TColor>(framework::ColorToRGB(Color())) : s->Color;
    const TColor fill = t <= 0 ? own : t >= 100 ? answered : LerpColor(answered, own, t / 100.0);
    const int b = SkinData.MaxBorderWidth();
    const RECT whole{0, 0, Width(), Height()};
    RECT inside = whole;
    if (b > 0) {
        SkinData.InitCacheBmp();
        PaintBorderFast(SkinData, dc, whole, b, inside, kStateNormal);
    }
    if (parentBmp) {
        BlitFrom(parentBmp, dc, inside, POINT{offset.x + inside.left, offset.y + inside.top});
    } else {
        FillRectSolid(dc, inside, fill);
    }
}

void TsPanel::TellChildrenParentPainted() {
    if (skin::AnimatingSkinChange) return;
    for (int i = 0; i < ControlCount(); ++i) {
        framework::TControl* c = Controls(i);
        if (c->IsWindowed() && static_cast<framework::TWinControl*>(c)->HandleAllocated())
            SendSkinCommand(c, skin::scParentPainted);
    }
}

bool TsPanel::CanPaint() {
    return HandleAllocated() && Showing() && !Loading() && !Destroying();
}

void TsPanel::ParentPainted() {
    if (SkinData.Updating) {
        SkinData.Updating = false;
        SkinData.Updating = SkinData.ComputeUpdating();
        if (!SkinData.Updating)
            RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    }
    for (int i = 0; i < ControlCount(); ++i)
        if (Controls(i)->IsWindowed()) SendSkinCommand(Controls(i), skin::scParentPainted);
}

void TsPanel::AnswerBg(TMessage& m) {
    auto* q = reinterpret_cast<TsBgQuery*>(m.LParam);
    if (!q) return;
    const skin::TsGeneralData* s = SkinData.IsSkinned() ? SkinData.Section() : nullptr;
    if (!s || (SkinData.BorderIndex >= 0 && !SkinData.Border())) {
        CommonSkinCommand(SkinData, m);
        return;
    }
    if ((SkinData.BgChanged || SkinData.HalfVisible) && !SkinData.ComputeUpdating() &&
        s->Transparency != 100)
        PrepareCache();
    AnswerBgQuery(SkinData, *q, false);
    // Children stand inside the border, but their offsets came in client coordinates.
    if (ClientWidth() != Width() && q->BgType == kBgBitmap && !q->PleaseDraw) {
        q->Offset.x += BorderThickness();
        q->Offset.y += BorderThickness();
    }
}

// True when the command was answered completely.
bool TsPanel::SkinCommand(TMessage& m) {
    const bool own = SkinData.IsOwnManager(m.LParam);
    switch (skin::SkinCommandOf(m.WParam)) {
        case skin::scNewSkin:
            ControlStyle &= ~framework::csOpaque;
            PassOn(this, m);
            if (own) CommonSkinCommand(SkinData, m);
            return true;
        case skin::scRemoveSkin:
            ControlStyle &= ~framework::csOpaque;
            if (own) {
                CommonSkinCommand(SkinData, m);
                Invalidate();
            }
            PassOn(this, m);
            return true;
        case skin::scRefresh:
            if (own) {
                CommonSkinCommand(SkinData, m);
                if (HandleAllocated() && !Loading())
                    RedrawWindow(Handle(), nullptr, nullptr,
                                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
            }
            PassOn(this, m);
            return true;
        case skin::scIsSkinned:
            m.Result = 1;
            return true;
        case skin::scGetBg:
            AnswerBg(m);
            return true;
        case skin::scGetApplication:
            return CommonSkinCommand(SkinData, m);
        default:
            break;
    }
    if (!CanPaint() || !SkinData.IsSkinned()) return CommonSkinCommand(SkinData, m);
    switch (skin::SkinCommandOf(m.WParam)) {
        case skin::scParentPainted:
            ParentPainted();
            return true;
        case skin::scIsPreparing:
            m.Result = SkinData.ComputeUpdating();
            return true;
        default:
            return CommonSkinCommand(SkinData, m);
    }
}

void TsPanel::PaintMessage(TMessage& m) {
    PAINTSTRUCT ps{};
    HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(Handle(), &ps);
    m.Result = 0;
    if (!Visible()) {
        if (!m.WParam) EndPaint(Handle(), &ps);
        return;
    }
    SkinData.Updating = SkinData.ComputeUpdating();
    if (SkinData.NeedsCache()) {
        if (!SkinData.Updating) {
            const int saved = SaveDC(dc);
            PaintTo(dc, true);
            RestoreDC(dc, saved);
        }
    } else if (!(ControlStyle & framework::csParentBackground)) {
        PaintTo(dc, true);
    }
    if (!m.WParam) EndPaint(Handle(), &ps);
    m.Result = 0;
}

// wParam equal to lParam (and not 0) asks for the panel's image in that context.
bool TsPanel::EraseMessage(TMessage& m) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    m.Result = 1;
    if (m.WParam != static_cast<WPARAM>(m.LParam)) {
        SkinData.Updating = SkinData.ComputeUpdating();
        if (!SkinData.NeedsCache() && !SkinData.Updating) PaintTo(dc, true);
        return true;
    }
    if (!dc) return true;
    if (SkinData.BgChanged) PrepareCache();
    if (SkinData.BgChanged) return true;
    const RECT whole{0, 0, Width(), Height()};
    if (SkinData.NeedsCache() && SkinData.CacheBmp)
        BlitFrom(SkinData.CacheBmp.get(), dc, whole, POINT{0, 0});
    else
        FillRectSolid(dc, whole, PlainColorForCommand(SkinData));
    return true;
}

void TsPanel::PrintMessage(TMessage& m) {
    SkinData.Updating = false;
    if (!CanPaint()) return;
    SkinData.InitCacheBmp();
    PrepareCache();
    RefreshCorners(SkinData, kStateNormal);
    PaintTo(reinterpret_cast<HDC>(m.WParam), false);
}

// Unskinned, the framework paints (and prints, through the same Paint); the event follows.
void TsPanel::Paint() {
    TPanel::Paint();
    if (OnPaint && !SkinData.IsSkinned()) OnPaint(this, Canvas());
}

void TsPanel::UnskinnedMessage(TMessage& m) {
    // With an event, the whole panel is painted in Paint; erasing first would only flicker.
    if (m.Msg == WM_ERASEBKGND && OnPaint) {
        m.Result = 1;
        return;
    }
    TPanel::WndProc(m);
}

void TsPanel::WndProc(TMessage& m) {
    if (m.Msg == skin::SM_SKINCMD) {
        if (!SkinCommand(m)) TPanel::WndProc(m);
        return;
    }
    if (!SkinData.IsSkinned()) {
        if (m.Msg != framework::CM_MOUSEENTER && m.Msg != framework::CM_MOUSELEAVE &&
            m.Msg != WM_SIZE && m.Msg != framework::CM_VISIBLECHANGED) {
            UnskinnedMessage(m);
            return;
        }
    }
    switch (m.Msg) {
        case WM_SIZE:
            SkinData.BgChanged = true;
            CommonWndProc(SkinData, m);
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            break;
        case WM_PAINT:
            PaintMessage(m);
            return;
        case WM_ERASEBKGND:
            EraseMessage(m);
            return;
        case WM_WINDOWPOSCHANGING:
            if (const skin::TsGeneralData* s = SkinData.Section(); s && s->Transparency != 0)
                SkinData.BgChanged = true;
            break;
        case WM_PRINT:
            PrintMessage(m);
            return;
        case framework::CM_VISIBLECHANGED:
            SkinData.BgChanged = true;
            SkinData.Updating = false;
            break;
        case framework::CM_COLORCHANGED:
            if (SkinData.CustomColor()) SkinData.BgChanged = true;
            break;
        case framework::CM_TEXTCHANGED:
            TPanel::WndProc(m);
            if (Parent()) SkinData.RepaintControl();
            return;
        default:
            if (CommonWndProc(SkinData, m)) return;
            TPanel::WndProc(m);
            if (m.Msg == WM_SETFONT && !Caption().empty()) SkinData.RepaintControl();
            if (m.Msg == framework::CM_ENABLEDCHANGED) SkinData.RepaintControl();
            return;
    }
    TPanel::WndProc(m);
}

}  // namespace paint
