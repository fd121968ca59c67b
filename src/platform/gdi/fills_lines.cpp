// Filling, framing, inverting, lines and single pixels.
#include <algorithm>
#include <cstdlib>

#include "platform/gdi.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi_types.h"

namespace platform::gdi {
namespace {

// Applies a binary raster operation of the pattern colour P to the destination D.
std::uint32_t ApplyPatternRop(DWORD rop, std::uint32_t p, std::uint32_t d) {
    switch (rop) {
        case PATCOPY: return p;
        case PATINVERT: return p ^ d;
        case DSTINVERT: return ~d & 0xFFFFFF;
        case BLACKNESS: return 0;
        case WHITENESS: return 0xFFFFFF;
        default: return d;
    }
}

void InvertArea(const PixelBuffer& b, const RECT& r) {
    int bpp = b.BytesPerPixel();
    for (int y = r.top; y < r.bottom; ++y) {
        BYTE* p = b.Row(y) + r.left * bpp;
        for (int x = r.left; x < r.right; ++x, p += bpp) p[0] = ~p[0], p[1] = ~p[1], p[2] = ~p[2];
    }
}

void PenPixel(DeviceContext& dc, int x, int y, std::uint32_t rgb) {
    POINT t = dc.ToTarget(POINT{x, y});
    ForEachClipped(dc, RECT{t.x, t.y, t.x + 1, t.y + 1}, [&](const RECT&) {
        if (dc.state.rop2 == R2_XORPEN) WritePixel(dc.target, t.x, t.y, ReadPixel(dc.target, t.x, t.y) ^ rgb);
        else if (dc.state.rop2 == R2_NOT) WritePixel(dc.target, t.x, t.y, ~ReadPixel(dc.target, t.x, t.y) & 0xFFFFFF);
        else WritePixel(dc.target, t.x, t.y, rgb);
    });
}

// Bresenham, the end point excluded as GDI does.
void DrawLine(DeviceContext& dc, POINT a, POINT b) {
    PenObject* pen = LookupPen(dc.state.pen);
    if (!pen || pen->style == PS_NULL) return;
    std::uint32_t rgb = ToRgb(pen->color);
    int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1, err = dx + dy;
    int x = a.x, y = a.y, step = 0;
    while (x != b.x || y != b.y) {
        bool dotted = pen->style == PS_DOT && (step++ % 2);
        if (!dotted) {
            for (int w = 0; w < pen->width; ++w) PenPixel(dc, x + (dy != 0 && dx == 0 ? w : 0), y + (dx != 0 && dy == 0 ? w : 0), rgb);
        }
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, x += sx;
        if (e2 <= dx) err += dx, y += sy;
    }
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

int FillRect(HDC h, const RECT* r, HBRUSH brush) {
    DeviceContext* dc = LookupDC(h);
    std::uint32_t rgb;
    if (!dc || !r || !BrushColor(brush, &rgb)) return 0;
    ForEachClipped(*dc, dc->ToTarget(*r), [&](const RECT& c) { FillSpan(dc->target, c, rgb); });
    return 1;
}

int FrameRect(HDC h, const RECT* r, HBRUSH brush) {
    if (!r || IsRectEmpty(r)) return 0;
    RECT sides[4] = {{r->left, r->top, r->right, r->top + 1},
                     {r->left, r->bottom - 1, r->right, r->bottom},
                     {r->left, r->top, r->left + 1, r->bottom},
                     {r->right - 1, r->top, r->right, r->bottom}};
    for (const RECT& s : sides) FillRect(h, &s, brush);
    return 1;
}

BOOL InvertRect(HDC h, const RECT* r) {
    DeviceContext* dc = LookupDC(h);
    if (!dc || !r) return FALSE;
    ForEachClipped(*dc, dc->ToTarget(*r), [&](const RECT& c) { InvertArea(dc->target, c); });
    return TRUE;
}

BOOL PatBlt(HDC h, int x, int y, int width, int height, DWORD rop) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return FALSE;
    RECT area{std::min(x, x + width), std::min(y, y + height), std::max(x, x + width), std::max(y, y + height)};
    std::uint32_t pattern = 0;
    bool hasPattern = BrushColor(static_cast<HBRUSH>(dc->state.brush), &pattern);
    if ((rop == PATCOPY || rop == PATINVERT) && !hasPattern) return TRUE;
    if (rop == PATCOPY || rop == BLACKNESS || rop == WHITENESS) {
        std::uint32_t v = ApplyPatternRop(rop, pattern, 0);
        ForEachClipped(*dc, dc->ToTarget(area), [&](const RECT& c) { FillSpan(dc->target, c, v); });
        return TRUE;
    }
    ForEachClipped(*dc, dc->ToTarget(area), [&](const RECT& c) {
        for (int yy = c.top; yy < c.bottom; ++yy)
            for (int xx = c.left; xx < c.right; ++xx)
                WritePixel(dc->target, xx, yy, ApplyPatternRop(rop, pattern, ReadPixel(dc->target, xx, yy)));
    });
    return TRUE;
}

BOOL Rectangle(HDC h, int left, int top, int right, int bottom) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return FALSE;
    RECT inner{left + 1, top + 1, right - 1, bottom - 1};
    FillRect(h, &inner, static_cast<HBRUSH>(dc->state.brush));
    PenObject* pen = LookupPen(dc->state.pen);
    if (pen && pen->style != PS_NULL) {
        HBRUSH edge = CreateSolidBrush(pen->color);
        RECT outer{left, top, right, bottom};
        FrameRect(h, &outer, edge);
        DeleteObject(edge);
    }
    return TRUE;
}

BOOL Ellipse(HDC h, int left, int top, int right, int bottom) {
    DeviceContext* dc = LookupDC(h);
    if (!dc || right <= left || bottom <= top) return FALSE;
    double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0, rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
    std::uint32_t fill = 0, edge = 0;
    bool filled = BrushColor(static_cast<HBRUSH>(dc->state.brush), &fill);
    PenObject* pen = LookupPen(dc->state.pen);
    bool edged = pen && pen->style != PS_NULL;
    if (edged) edge = ToRgb(pen->color);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            double nx = (x + 0.5 - cx) / rx, ny = (y + 0.5 - cy) / ry, d = nx * nx + ny * ny;
            if (d > 1) continue;
            double inner = (x + 0.5 - cx) / (rx - 1), innerY = (y + 0.5 - cy) / (ry - 1);
            bool onEdge = rx <= 1 || ry <= 1 || inner * inner + innerY * innerY > 1;
            if (onEdge && edged) PenPixel(*dc, x, y, edge);
            else if (filled) PenPixel(*dc, x, y, fill);
        }
    }
    return TRUE;
}

BOOL MoveToEx(HDC h, int x, int y, POINT* old) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return FALSE;
    if (old) *old = dc->state.position;
    dc->state.position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC h, int x, int y) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return FALSE;
    DrawLine(*dc, dc->state.position, POINT{x, y});
    dc->state.position = POINT{x, y};
    return TRUE;
}

BOOL Polyline(HDC h, const POINT* points, int count) {
    if (!points || count < 2) return FALSE;
    POINT saved{};
    MoveToEx(h, points[0].x, points[0].y, &saved);
    for (int i = 1; i < count; ++i) LineTo(h, points[i].x, points[i].y);
    MoveToEx(h, saved.x, saved.y, nullptr);
    return TRUE;
}

COLORREF SetPixel(HDC h, int x, int y, COLORREF color) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return CLR_INVALID;
    POINT t = dc->ToTarget(POINT{x, y});
    bool done = false;
    ForEachClipped(*dc, RECT{t.x, t.y, t.x + 1, t.y + 1}, [&](const RECT&) {
        WritePixel(dc->target, t.x, t.y, ToRgb(color));
        done = true;
    });
    return done ? (color & 0xFFFFFF) : CLR_INVALID;
}

COLORREF GetPixel(HDC h, int x, int y) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return CLR_INVALID;
    POINT t = dc->ToTarget(POINT{x, y});
    if (!dc->EffectiveClip().Contains(t.x, t.y)) return CLR_INVALID;
    return ToColorref(ReadPixel(dc->target, t.x, t.y));
}
