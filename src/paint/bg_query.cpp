#include "paint/bg_query.h"

#include <algorithm>

#include "paint/color_mix.h"
#include "paint/control_commands.h"
#include "paint/dc_state.h"
#include "paint/solid_fills.h"

namespace paint {

namespace {

using framework::TControl;
using framework::TWinControl;

// A frame at most this thin lets a fully transparent control pass the question on.
constexpr int kThinFrameWidth = 24;
constexpr int kThinFrameHeight = 25;

TColor Rgb(TColor c) { return static_cast<TColor>(framework::ColorToRGB(c)); }

TColor GlobalColorOf(const skin::TsSkinModel* model) {
    return model ? model->GlobalColor() : Rgb(framework::clBtnFace);
}

// The parent paints itself into the asker's context, moved so that the asker's area lands
// at the context's origin.
void ParentPaintsItself(TsBgQuery& q, TControl* parent) {
    SavedDcState state(q.DrawDC);
    OffsetViewportOrgEx(q.DrawDC, -q.Offset.x, -q.Offset.y, nullptr);
    IntersectClipRect(q.DrawDC, q.R.left + q.Offset.x, q.R.top + q.Offset.y, q.R.right + q.Offset.x,
                      q.R.bottom + q.Offset.y);
    WPARAM dc = reinterpret_cast<WPARAM>(q.DrawDC);
    DeliverMessage(parent, WM_ERASEBKGND, dc, 0);
    DeliverMessage(parent, WM_PAINT, dc, 0);
}

void AddWindowPosition(TsBgQuery& q, HWND window, HWND parent) {
    RECT wr{};
    GetWindowRect(window, &wr);
    POINT tl{wr.left, wr.top};
    ScreenToClient(parent, &tl);
    q.Offset.x += tl.x;
    q.Offset.y += tl.y;
}

POINT OwnerPosition(const TsCommonData& d) {
    if (d.OwnerControl) return POINT{d.OwnerControl->Left(), d.OwnerControl->Top()};
    TsBindingHost* host = d.Host();
    return host && host->HostForm() ? POINT{host->HostForm()->Left(), host->HostForm()->Top()} : POINT{0, 0};
}

bool IsThinFrame(const skin::TsMaskData* b) {
    return !b || (b->WL + b->WR <= kThinFrameWidth && b->WT + b->WB < kThinFrameHeight);
}

// Copies R of the cached image at Offset into the asker's context, cut to the image.
void DrawCacheInto(const TsCommonData& d, TsBgQuery& q) {
    framework::TBitmap& cache = *d.CacheBmp;
    RECT src{q.R.left + q.Offset.x, q.R.top + q.Offset.y, q.R.right + q.Offset.x, q.R.bottom + q.Offset.y};
    RECT cut{std::max<LONG>(src.left, 0), std::max<LONG>(src.top, 0), std::min<LONG>(src.right, cache.Width()),
             std::min<LONG>(src.bottom, cache.Height())};
    if (!q.DrawDC || cut.right <= cut.left || cut.bottom <= cut.top) return;
    BitBlt(q.DrawDC, cut.left - q.Offset.x, cut.top - q.Offset.y, cut.right - cut.left, cut.bottom - cut.top,
           cache.Canvas().Handle(), cut.left, cut.top, SRCCOPY);
}

// Transparency 100: the question goes on to the owner's parent.
void PassOn(const TsCommonData& d, TsBgQuery& q, HWND window) {
    if (TWinControl* parent = d.OwnerParent()) {
        QueryParentBg(q, parent, q.PleaseDraw != 0);
        if (q.BgType == kBgBitmap) {
            POINT p = OwnerPosition(d);
            q.Offset.x += p.x;
            q.Offset.y += p.y;
        }
        return;
    }
    HWND own = window ? window : d.OwnerWindow();
    if (HWND parentWindow = own ? GetParent(own) : nullptr) {
        QueryParentBg(q, parentWindow, q.PleaseDraw != 0);
        if (q.BgType == kBgBitmap) AddWindowPosition(q, own, parentWindow);
        return;
    }
    q.BgType = kBgColor;
    q.Color = GlobalColorOf(d.Model());
}

void AnswerWithCache(const TsCommonData& d, TsBgQuery& q) {
    q.BgType = kBgBitmap;
    if (q.PleaseDraw) {
        DrawCacheInto(d, q);
        return;
    }
    q.Bmp = d.CacheBmp.get();
    q.Offset = POINT{0, 0};
}

bool HasCache(const TsCommonData& d) { return d.CacheBmp != nullptr; }

// The plain colour of the owner's parent as ColorForChildren takes it.
TColor ParentPlainColor(const TsCommonData& d, HWND window) {
    if (d.OwnerControl) {
        TWinControl* parent = d.OwnerControl->Parent();
        if (!parent) return TransparentColor;
        if (AnswersSkinned(parent))
            return static_cast<TColor>(SendSkinCommand(parent, skin::scGetColor, 0, TransparentColor) & 0xFFFFFF);
        return Rgb(parent->Color());
    }
    HWND own = window ? window : d.OwnerWindow();
    if (HWND parentWindow = own ? GetParent(own) : nullptr)
        return static_cast<TColor>(SendSkinCommand(parentWindow, skin::scGetColor) & 0xFFFFFF);
    return Rgb(framework::clBtnFace);
}

}  // namespace

void QueryParentBg(TsBgQuery& q, TControl* parent, bool pleaseDraw) {
    q.BgType = kBgNoAnswer;
    const bool askedToDraw = q.PleaseDraw != 0;
    q.PleaseDraw = pleaseDraw ? 1 : 0;
    if (!parent) {
        q.BgType = kBgColor;
        q.Color = Rgb(framework::clBtnFace);
        return;
    }
    SendSkinCommand(parent, skin::scGetBg, 0, reinterpret_cast<LPARAM>(&q));
    if (q.BgType != kBgNoAnswer) return;
    if (askedToDraw && q.DrawDC) {
        ParentPaintsItself(q, parent);
        return;
    }
    q.BgType = kBgColor;
    LRESULT answer = SendSkinCommand(parent, skin::scGetColor);
    q.Color = answer != 0 ? static_cast<TColor>(answer & 0xFFFFFF) : Rgb(parent->Color());
    if (q.PleaseDraw && q.Bmp) FillRectSolid(q.DrawDC, q.R, q.Color);
}

void QueryParentBg(TsBgQuery& q, HWND parent, bool pleaseDraw) {
    if (TWinControl* control = TWinControl::FindControl(parent)) {
        QueryParentBg(q, control, pleaseDraw);
        return;
    }
    q.BgType = kBgNoAnswer;
    q.PleaseDraw = pleaseDraw ? 1 : 0;
    SendSkinCommand(parent, skin::scGetBg, 0, reinterpret_cast<LPARAM>(&q));
    if (q.BgType != kBgNoAnswer) return;
    q.BgType = kBgColor;
    skin::TsSkinManager* m = skin::DefaultManager();
    q.Color = GlobalColorOf(m ? &m->Model() : nullptr);
}

TsBgSource BgSourceFromQuery(const TsBgQuery& q) {
    if (q.BgType == kBgBitmap && q.Bmp) return BgSourceFromBitmap(q.Bmp, q.Offset.x, q.Offset.y);
    return BgSourceFromColor(q.Color);
}

void AnswerBgQuery(const TsCommonData& d, TsBgQuery& q, bool hot, HWND window) {
    const skin::TsGeneralData* s = d.IsSkinned() ? d.Section() : nullptr;
    if (!s || d.CustomColor()) {
        q.BgType = kBgColor;
        q.Color = d.OwnerColor();
        return;
    }
    const int t = hot ? s->HotTransparency : s->Transparency;
    const int g = hot ? s->HotGradientPercent : s->GradientPercent;
    const int i = hot ? s->HotImagePercent : s->ImagePercent;
    if (t == 0 && g <= 0 && i < 1) {
        q.BgType = kBgColor;
        q.Bmp = d.CacheBmp.get();
        q.Color = ColorForChildren(d, hot, window);
        if (q.PleaseDraw) FillRectSolid(q.DrawDC, q.R, q.Color);
        return;
    }
    if (t >= 100) {
        if (IsThinFrame(d.Border())) {
            PassOn(d, q, window);
            return;
        }
        if (!HasCache(d)) {
            TWinControl* parent = d.OwnerParent();
            q.BgType = kBgColor;
            q.Color = parent ? PlainColorOf(parent) : GlobalColorOf(d.Model());
            return;
        }
    } else if (!HasCache(d)) {
        // Transparency 0 with a gradient or texture, or partly transparent, without an image.
        q.BgType = kBgColor;
        q.Color = TransparentColor;
        return;
    }
    AnswerWithCache(d, q);
}

TColor ColorForChildren(const TsCommonData& d, bool hot, HWND window) {
    const skin::TsGeneralData* s = d.IsSkinned() ? d.Section() : nullptr;
    if (s) {
        const int t = hot ? s->HotTransparency : s->Transparency;
        const TColor c = Rgb(hot ? s->HotColor : s->Color);
        if (t >= 100) return ParentPlainColor(d, window);
        if (t > 0) return d.OwnerControl ? LerpColor(ParentPlainColor(d, window), c, t / 100.0) : 0;
        if (!d.CustomColor()) return c;
    }
    return d.OwnerColor();
}

TColor PlainColorForCommand(const TsCommonData& d) {
    const skin::TsGeneralData* s = d.IsSkinned() ? d.Section() : nullptr;
    if (!s || d.CustomColor()) return d.OwnerColor();
    const int t = s->Transparency;
    const TColor own = Rgb(s->Color);
    if (t <= 0) return own;
    TColor p = d.OwnerColor();
    if (TWinControl* parent = d.OwnerParent()) {
        // An unskinned parent offers its own colour; a see-through one its own colour too.
        p = PlainColorOf(parent);
        if (p == TransparentColor) p = Rgb(parent->Color());
    }
    return t >= 100 ? p : LerpColor(p, own, t / 100.0);
}

TsBgSource GetParentBgSource(const TsCommonData& d) {
    TWinControl* parent = d.OwnerControl ? d.OwnerControl->Parent() : nullptr;
    if (d.IsSkinned() && parent) {
        TsBgQuery q;
        QueryParentBg(q, parent, false);
        return BgSourceFromQuery(q);
    }
    return BgSourceFromColor(ColorForChildren(d, false));
}

}  // namespace paint
