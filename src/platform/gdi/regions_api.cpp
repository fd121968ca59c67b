// Region handles and rectangle helpers.
#include <algorithm>

#include "platform/gdi.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi_types.h"

using namespace platform::gdi;
using platform::Region;

static int Complexity(const Region& r) { return r.IsEmpty() ? NULLREGION : r.IsRectangle() ? SIMPLEREGION : COMPLEXREGION; }

static RECT Normalized(int l, int t, int r, int b) {
    return RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return NewRegionHandle(Region(Normalized(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* r) { return r ? CreateRectRgn(r->left, r->top, r->right, r->bottom) : nullptr; }

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
    auto* ro = LookupRegion(rgn);
    if (!ro) return FALSE;
    ro->region = Region(Normalized(left, top, right, bottom));
    return TRUE;
}

int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode) {
    auto *d = LookupRegion(dst), *ra = LookupRegion(a), *rb = LookupRegion(b);
    if (!d || !ra || (mode != RGN_COPY && !rb)) return ERROR;
    switch (mode) {
        case RGN_COPY: d->region = ra->region; break;
        case RGN_AND: d->region = ra->region.Intersected(rb->region); break;
        case RGN_OR: d->region = ra->region.United(rb->region); break;
        case RGN_DIFF: d->region = ra->region.Subtracted(rb->region); break;
        case RGN_XOR: d->region = ra->region.Xored(rb->region); break;
        default: return ERROR;
    }
    return Complexity(d->region);
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
    auto* ro = LookupRegion(rgn);
    if (!ro) return ERROR;
    ro->region.Offset(dx, dy);
    return Complexity(ro->region);
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
    auto* ro = LookupRegion(rgn);
    return ro && ro->region.Contains(x, y);
}

BOOL RectInRegion(HRGN rgn, const RECT* r) {
    auto* ro = LookupRegion(rgn);
    return ro && r && ro->region.Intersects(*r);
}

int GetRgnBox(HRGN rgn, RECT* r) {
    auto* ro = LookupRegion(rgn);
    if (!ro || !r) return ERROR;
    *r = ro->region.Bounds();
    return Complexity(ro->region);
}

BOOL EqualRgn(HRGN a, HRGN b) {
    auto *ra = LookupRegion(a), *rb = LookupRegion(b);
    return ra && rb && ra->region == rb->region;
}

BOOL FillRgn(HDC h, HRGN rgn, HBRUSH brush) {
    DeviceContext* dc = LookupDC(h);
    auto* ro = LookupRegion(rgn);
    std::uint32_t rgb;
    if (!dc || !ro || !BrushColor(brush, &rgb)) return FALSE;
    for (const RECT& r : ro->region.Rects())
        ForEachClipped(*dc, dc->ToTarget(r), [&](const RECT& c) { FillSpan(dc->target, c, rgb); });
    return TRUE;
}

BOOL SetRect(RECT* r, int left, int top, int right, int bottom) {
    if (!r) return FALSE;
    *r = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(RECT* r) { return SetRect(r, 0, 0, 0, 0); }

BOOL CopyRect(RECT* dst, const RECT* src) {
    if (!dst || !src) return FALSE;
    *dst = *src;
    return TRUE;
}

BOOL InflateRect(RECT* r, int dx, int dy) {
    if (!r) return FALSE;
    *r = RECT{r->left - dx, r->top - dy, r->right + dx, r->bottom + dy};
    return TRUE;
}

BOOL OffsetRect(RECT* r, int dx, int dy) {
    if (!r) return FALSE;
    *r = platform::RectOffset(*r, dx, dy);
    return TRUE;
}

BOOL IsRectEmpty(const RECT* r) { return !r || platform::RectIsEmpty(*r); }

BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b) return FALSE;
    *dst = platform::RectIntersection(*a, *b);
    return !platform::RectIsEmpty(*dst);
}

BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b) return FALSE;
    if (IsRectEmpty(a)) *dst = *b;
    else if (IsRectEmpty(b)) *dst = *a;
    else *dst = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
    return !IsRectEmpty(dst);
}

BOOL SubtractRect(RECT* dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b) return FALSE;
    Region r = Region(*a).Subtracted(Region(*b));
    *dst = r.IsRectangle() ? r.Rects()[0] : *a;
    if (r.IsEmpty()) *dst = RECT{0, 0, 0, 0};
    return !IsRectEmpty(dst);
}

BOOL PtInRect(const RECT* r, POINT p) { return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom; }

BOOL EqualRect(const RECT* a, const RECT* b) {
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}
