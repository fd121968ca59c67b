#include "paint/control_paint.h"

#include <algorithm>
#include <array>

#include "paint/block_copy.h"
#include "paint/border_mask.h"
#include "paint/corner_holes.h"
#include "paint/image_entry.h"
#include "paint/image_pieces.h"
#include "paint/section_paint.h"
#include "paint/solid_fills.h"

namespace paint {

namespace {

using detail::View;

bool InsideBitmap(const RECT& r, const framework::TBitmap& bmp) {
    return r.left >= 0 && r.top >= 0 && r.right <= bmp.Width() && r.bottom <= bmp.Height() &&
           r.right > r.left && r.bottom > r.top;
}

TColor CustomColorOf(const TsCommonData& d) {
    if (!d.CustomColor()) return TransparentColor;
    if (!d.OwnerControl && !d.Host()) return TransparentColor;
    return d.OwnerColor();
}

// The corner images of the section, each at its corner of rect.
void DrawCornerImages(const TsCommonData& d, const skin::TsSkinModel& model,
                      framework::TBitmap& bmp, const RECT& rect, int state) {
    const skin::TsGeneralData& s = *d.Section();
    const TsBgSource self = BgSourceFromBitmap(&bmp, 0, 0);
    auto draw = [&](int index, bool right, bool bottom) {
        if (!MaskAt(model, index)) return;
        SIZE size = model.MaskStateSize(index);
        POINT p{right ? rect.right - size.cx : rect.left,
                bottom ? rect.bottom - size.cy : rect.top};
        DrawImageFrame(bmp, p, state, self, model, index, 1);
    };
    draw(s.ImgTL, false, false);
    draw(s.ImgTR, true, false);
    draw(s.ImgBL, false, true);
    draw(s.ImgBR, true, true);
}

void PaintOver(const TsCommonData& d, const TsBgSource& bg, bool fillCentre, bool useParentBg,
               framework::TBitmap& bmp, POINT offset, const RECT& rect, int state) {
    const skin::TsSkinModel& model = *d.Model();
    PaintSectionBg(&model, d.SkinIndex, d.SkinSection(), bg, CustomColorOf(d), d.HotTexture,
                   d.Texture, bmp, offset, rect, state);
    TsBgSource moved = bg;
    moved.X += offset.x;
    moved.Y += offset.y;
    const skin::TsMaskData* border = d.Border();
    if (border && (state != 0 || (border->DrawMode & kBorderNoState0) == 0))
        DrawBorderMask(bmp, rect, fillCentre, useParentBg, state, model, d.BorderIndex, moved);
    DrawCornerImages(d, model, bmp, rect, state);
}

bool CanPaint(const TsCommonData& d, const framework::TBitmap* bmp, const RECT& rect) {
    return bmp && d.Model() && d.Section() && InsideBitmap(rect, *bmp);
}

POINT OwnerPosition(const TsCommonData& d) {
    if (d.OwnerControl) return POINT{d.OwnerControl->Left(), d.OwnerControl->Top()};
    TsBindingHost* host = d.Host();
    return host && host->HostForm() ? POINT{host->HostForm()->Left(), host->HostForm()->Top()}
                                    : POINT{0, 0};
}

// The background behind the owner: its parent's answer, a bitmap answer moved to the owner's
// origin.
TsBgQuery OwnerBackground(const TsCommonData& d) {
    TsBgQuery q;
    q.BgType = kBgColor;
    q.Color = ColorForChildren(d, false);
    if (framework::TWinControl* parent = d.OwnerParent()) {
        QueryParentBg(q, parent, false);
        if (q.BgType == kBgBitmap) {
            POINT p = OwnerPosition(d);
            q.Offset.x += p.x;
            q.Offset.y += p.y;
        }
    }
    return q;
}

// The entry as the corner refresh reads it: an own picture without state count is three
// frames over the whole picture with a mask half.
skin::TsMaskData CornerView(const skin::TsMaskData& e) {
    skin::TsMaskData v;
    v.R = e.R, v.ImageCount = e.ImageCount, v.MaskType = e.MaskType;
    v.WL = e.WL, v.WT = e.WT, v.WR = e.WR, v.WB = e.WB;
    if (e.Bmp && e.ImageCount == 0) {
        v.R = RECT{0, 0, e.Bmp->Width(), e.Bmp->Height()};
        v.ImageCount = 3;
        v.MaskType = 1;
    }
    return v;
}

// Puts the background under a corner area first, so that see-through and half-masked
// pixels show the parent and not the old corner.
void FillFromBackground(framework::TBitmap& cache, const RECT& r, const TsBgSource& bg) {
    if (bg.Ready && bg.Bmp)
        detail::BlockCopy(View(cache), r.left, r.top, View(*bg.Bmp), bg.X + r.left, bg.Y + r.top,
                          r.right - r.left, r.bottom - r.top);
    else
        detail::FillArea(View(cache), r, detail::ToBgra(framework::ColorToRGB(bg.FillColor)));
}

}  // namespace

void PaintControlBg(const TsCommonData& d, const TsBgSource& bg, bool fillCentre, bool useParentBg,
                    framework::TBitmap* bmp, POINT offset, const RECT& rect, int state) {
    if (!CanPaint(d, bmp, rect)) return;
    PaintOver(d, bg, fillCentre, useParentBg, *bmp, offset, rect, state);
}

void PaintControlBgOnParent(const TsCommonData& d, framework::TControl* parent, bool fillCentre,
                            bool useParentBg, framework::TBitmap* bmp, POINT offset,
                            const RECT& rect, int state) {
    if (!CanPaint(d, bmp, rect)) return;
    TsBgQuery q;
    QueryParentBg(q, parent, false);
    PaintOver(d, BgSourceFromQuery(q), fillCentre, useParentBg, *bmp, offset, rect, state);
}

void PaintBorderFast(TsCommonData& d, HDC dc, const RECT& rect, int bw, RECT& inner, int state) {
    const TColor color = ColorForChildren(d, state != 0);
    TsBgQuery q = OwnerBackground(d);
    const skin::TsMaskData* border = d.Border();
    const skin::TsSkinModel* model = d.Model();
    inner = rect;
    if (!border || !model) {
        if (bw != 0) {
            FillFrameSolid(dc, rect, bw, bw, bw, bw, color);
            InflateRect(&inner, -bw, -bw);
        }
        return;
    }
    d.InitCacheBmp();
    framework::TBitmap& cache = *d.CacheBmp;
    HDC cacheDc = cache.Canvas().Handle();
    if (border->MaskType > 0) {
        if (q.BgType == kBgBitmap && q.Bmp)
            detail::BlockCopy(View(cache), rect.left, rect.top, View(*q.Bmp),
                              q.Offset.x + rect.left, q.Offset.y + rect.top, rect.right - rect.left,
                              rect.bottom - rect.top);
    } else {
        FillFrameSolid(cacheDc, rect, border->WL, border->WT, border->WR, border->WB, color);
    }
    DrawBorderMask(cache, rect, false, true, state, *model, d.BorderIndex, BgSourceFromQuery(q));
    inner = RECT{rect.left + border->WL, rect.top + border->WT, rect.right - border->WR,
                 rect.bottom - border->WB};
    if (bw == 0) return;
    FillFrameSolid(cacheDc, inner, std::max(0, bw - border->WL), std::max(0, bw - border->WT),
                   std::max(0, bw - border->WR), std::max(0, bw - border->WB), color);
    inner = rect;
    InflateRect(&inner, -bw, -bw);
    if (inner.right < inner.left) inner.right = inner.left;
    if (inner.bottom < inner.top) inner.bottom = inner.top;
    if (dc != cacheDc)
        CopyFrameStrips(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                        cacheDc, rect.left, rect.top, bw);
}

void RefreshCorners(TsCommonData& d, int state) {
    const skin::TsSkinModel* model = d.Model();
    const skin::TsMaskData* border = d.Border();
    if (!d.CacheBmp || !d.OwnerControl || !model || !border) return;
    if (d.OwnerControl->Width() <= 1 || d.OwnerControl->Height() <= 1) return;
    framework::TBitmap* image = EntryImage(*model, *border);
    const skin::TsMaskData v = CornerView(*border);
    if (!image || v.ImageCount <= 0) return;
    const int fw = v.StateWidth(), fh = v.StateHeight();  // 0 for a count of 0 or a mask type of -1
    if (fw <= 0 || fh <= 0) return;
    const int s = std::clamp(state, 0, v.ImageCount - 1);
    const int sx = v.R.left + fw * s, sy = v.R.top;
    const TsBgSource bg = BgSourceFromQuery(OwnerBackground(d));
    framework::TBitmap& cache = *d.CacheBmp;
    const int W = cache.Width(), H = cache.Height();
    struct Corner {
        int x, y, srcX, srcY, w, h;
        bool right, bottom;
    };
    const std::array<Corner, 4> corners{
        {{0, 0, sx, sy, v.WL, v.WT, false, false},
         {W - v.WR, 0, sx + fw - v.WR, sy, v.WR, v.WT, true, false},
         {0, H - v.WB, sx, sy + fh - v.WB, v.WL, v.WB, false, true},
         {W - v.WR, H - v.WB, sx + fw - v.WR, sy + fh - v.WB, v.WR, v.WB, true, true}}};
    for (const Corner& c : corners) {
        if (c.w <= 0 || c.h <= 0) continue;
        RECT dst{c.x, c.y, c.x + c.w, c.y + c.h};
        // Holes enclosed by the frame show the control's own fill, which PrepareCache put
        // there: only the outer ones take the parent's pixels.
        framework::TBitmap before(c.w, c.h, cache.PixelFormat());
        BitBlt(before.Canvas().Handle(), 0, 0, c.w, c.h, cache.Canvas().Handle(), c.x, c.y,
               SRCCOPY);
        FillFromBackground(cache, dst, bg);
        RECT src{c.srcX, c.srcY, c.srcX + c.w, c.srcY + c.h};
        if (v.MaskType != 0)
            CopyMasked(cache, dst, src, v, true, bg, *image);
        else
            CopyKeyed(cache, *image, c.x, c.y, true, bg, TransparentColor,
                      RECT{src.left, src.top, src.right - 1, src.bottom - 1});
        KeepInnerHoles(cache, POINT{c.x, c.y}, before, *image, v, src, c.right, c.bottom);
    }
}

}  // namespace paint
