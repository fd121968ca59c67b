#include "paint/cache_copy.h"

#include <algorithm>
#include <vector>

#include "paint/bg_query.h"
#include "paint/block_copy.h"
#include "paint/control_commands.h"
#include "paint/control_paint.h"
#include "paint/dc_state.h"
#include "paint/solid_fills.h"

namespace paint {

namespace {

using framework::TControl;

bool g_paintingGraphicChildren = false;

class ReentryGuard {
public:
    ReentryGuard() { g_paintingGraphicChildren = true; }
    ~ReentryGuard() { g_paintingGraphicChildren = false; }
    ReentryGuard(const ReentryGuard&) = delete;
    ReentryGuard& operator=(const ReentryGuard&) = delete;
};

bool Opaque(const TControl& c) { return (c.ControlStyle & framework::csOpaque) != 0; }

bool Overlaps(const RECT& a, const RECT& b) {
    RECT hit{};
    return IntersectRect(&hit, &a, &b) != 0;
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

RECT Moved(RECT r, POINT by) {
    OffsetRect(&r, by.x, by.y);
    return r;
}

// The windowless children worth painting: visible, with a size, inside the clip box.
std::vector<TControl*> GraphicChildren(framework::TWinControl* container, const RECT& clip, POINT offset) {
    std::vector<TControl*> list;
    for (int i = 0; i < container->ControlCount(); ++i) {
        TControl* c = container->Controls(i);
        if (c->IsWindowed() || !c->Visible() || c->Width() <= 0 || c->Height() <= 0) continue;
        if (Overlaps(Moved(c->BoundsRect(), offset), clip)) list.push_back(c);
    }
    return list;
}

// Each child's area of the off-screen picture starts as what lies behind it.
void FillBackgrounds(framework::TBitmap& off, const std::vector<TControl*>& children, const TsBgQuery& q) {
    for (TControl* c : children) {
        RECT r = c->BoundsRect();
        if (Opaque(*c))
            FillRectSolid(off, r, c->Color());
        else if (q.BgType == kBgBitmap && q.Bmp)
            detail::BlockCopy(detail::View(off), r.left, r.top, detail::View(*q.Bmp), q.Offset.x + r.left,
                              q.Offset.y + r.top, r.right - r.left, r.bottom - r.top);
        else
            FillRectSolid(off, r, q.Color);
    }
}

void PaintChild(TControl* c, HDC offDc, const RECT& clip, POINT offset) {
    if (!Contains(clip, Moved(c->BoundsRect(), offset))) SendSkinCommand(c, skin::scSetHalfVisible);
    SavedDcState state(offDc);
    SetViewportOrgEx(offDc, c->Left(), c->Top(), nullptr);
    IntersectClipRect(offDc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(offDc), 0);
}

bool PaintedSomething(const framework::TBitmap& off, const TControl& c) {
    const detail::PixelView v = detail::View(off);
    if (!v.Contains(c.Left(), c.Top())) return false;
    return !detail::SameColor(v.At(c.Left(), c.Top()), detail::ToBgra(TransparentColor));
}

}  // namespace

void CopyCacheToDC(TsCommonData& d, framework::TWinControl* container, HDC dc, const RECT& rect, POINT src,
                   bool refreshCorners) {
    if (!d.CacheBmp || !dc) return;
    if (refreshCorners) RefreshCorners(d, kStateNormal);
    framework::TBitmap& cache = *d.CacheBmp;
    // Cut the source to the image (a caller may pass an offset with the full size); the
    // destination moves with a cut left or top.
    const int sx0 = std::max<int>(src.x, 0), sy0 = std::max<int>(src.y, 0);
    const int sx1 = std::min<int>(src.x + (rect.right - rect.left), cache.Width());
    const int sy1 = std::min<int>(src.y + (rect.bottom - rect.top), cache.Height());
    if (sx1 <= sx0 || sy1 <= sy0) return;
    const int x = rect.left + sx0 - src.x, y = rect.top + sy0 - src.y, w = sx1 - sx0, h = sy1 - sy0;
    SavedDcState state(dc);
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    if (container)
        for (int i = 0; i < container->ControlCount(); ++i) {
            TControl* c = container->Controls(i);
            if (!c->Visible() || (c->IsWindowed() && !Opaque(*c))) continue;
            RECT r = c->BoundsRect();
            if (Overlaps(r, rect)) ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
        }
    BitBlt(dc, x, y, w, h, cache.Canvas().Handle(), sx0, sy0, SRCCOPY);
}

void PaintGraphicChildren(HDC dc, framework::TWinControl* container, POINT offset) {
    if (g_paintingGraphicChildren || !dc || !container || !container->Visible() || container->ControlCount() == 0)
        return;
    ReentryGuard guard;
    RECT clip{};
    GetClipBox(dc, &clip);
    if (clip.right <= clip.left || clip.bottom <= clip.top) {
        SendSkinCommand(container, skin::scSetHalfVisible);
        return;
    }
    TsBgQuery q;
    QueryParentBg(q, container, false);
    const std::vector<TControl*> children = GraphicChildren(container, clip, offset);
    if (children.empty()) return;
    framework::TBitmap off(container->Width(), container->Height());
    FillBackgrounds(off, children, q);
    HDC offDc = off.Canvas().Handle();
    for (TControl* c : children) PaintChild(c, offDc, clip, offset);
    for (TControl* c : children) {
        if (!PaintedSomething(off, *c)) continue;
        RECT r = c->BoundsRect();
        BitBlt(dc, r.left + offset.x, r.top + offset.y, r.right - r.left, r.bottom - r.top, offDc, r.left, r.top,
               SRCCOPY);
    }
}

}  // namespace paint
