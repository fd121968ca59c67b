// GradientFill: horizontal and vertical rectangle gradients and Gouraud-shaded triangles.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/gdi.h"
#include "platform/gdi/device_context.h"

namespace platform::gdi {
namespace {

// Writes 0x00RRGGBB colours into a row from x on; 32-bit pixels get alpha 0.
void CopySpan(const PixelBuffer& b, int x, int y, const std::vector<std::uint32_t>& colours) {
    BYTE* p = b.Row(y) + x * b.BytesPerPixel();
    if (b.bitsPerPixel == 32) {
        std::memcpy(p, colours.data(), colours.size() * 4);
        return;
    }
    for (std::uint32_t c : colours) {
        p[0] = static_cast<BYTE>(c), p[1] = static_cast<BYTE>(c >> 8),
        p[2] = static_cast<BYTE>(c >> 16);
        p += 3;
    }
}

// Colour channels are 16-bit; the high byte counts.
std::uint32_t Lerp(const TRIVERTEX& a, const TRIVERTEX& b, long num, long den) {
    auto ch = [&](USHORT ca, USHORT cb) {
        long v = ca + (static_cast<long>(cb) - ca) * num / std::max(den, 1L);
        return static_cast<std::uint32_t>(v >> 8) & 0xFF;
    };
    return (ch(a.Red, b.Red) << 16) | (ch(a.Green, b.Green) << 8) | ch(a.Blue, b.Blue);
}

void FillRectGradient(DeviceContext& dc, const TRIVERTEX& v0, const TRIVERTEX& v1, bool vertical) {
    const TRIVERTEX& a = (vertical ? v0.y <= v1.y : v0.x <= v1.x) ? v0 : v1;
    const TRIVERTEX& b = &a == &v0 ? v1 : v0;
    RECT area{std::min(v0.x, v1.x), std::min(v0.y, v1.y), std::max(v0.x, v1.x), std::max(v0.y, v1.y)};
    RECT t = dc.ToTarget(area);
    long span = vertical ? area.bottom - area.top : area.right - area.left;
    std::vector<std::uint32_t> row;
    ForEachClipped(dc, t, [&](const RECT& c) {
        if (vertical) {
            // One colour a row.
            for (int y = c.top; y < c.bottom; ++y)
                FillSpan(dc.target, RECT{c.left, y, c.right, y + 1}, Lerp(a, b, y - t.top, span));
            return;
        }
        // One row of colours, repeated down the rectangle.
        row.resize(static_cast<std::size_t>(c.right - c.left));
        for (int x = c.left; x < c.right; ++x)
            row[static_cast<std::size_t>(x - c.left)] = Lerp(a, b, x - t.left, span);
        for (int y = c.top; y < c.bottom; ++y) CopySpan(dc.target, c.left, y, row);
    });
}

void FillTriangle(DeviceContext& dc, const TRIVERTEX& a, const TRIVERTEX& b, const TRIVERTEX& c) {
    double det = static_cast<double>(b.x - a.x) * (c.y - a.y) - static_cast<double>(c.x - a.x) * (b.y - a.y);
    if (det == 0) return;
    RECT area{std::min({a.x, b.x, c.x}), std::min({a.y, b.y, c.y}), std::max({a.x, b.x, c.x}) + 1, std::max({a.y, b.y, c.y}) + 1};
    RECT t = dc.ToTarget(area);
    int ox = t.left - area.left, oy = t.top - area.top;
    ForEachClipped(dc, t, [&](const RECT& r) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                double px = x - ox, py = y - oy;
                double l1 = ((b.y - c.y) * (px - c.x) + (c.x - b.x) * (py - c.y)) / det;
                double l2 = ((c.y - a.y) * (px - c.x) + (a.x - c.x) * (py - c.y)) / det;
                double l3 = 1 - l1 - l2;
                if (l1 < -1e-9 || l2 < -1e-9 || l3 < -1e-9) continue;
                auto ch = [&](USHORT ca, USHORT cb, USHORT cc) {
                    return static_cast<std::uint32_t>(std::clamp(l1 * ca + l2 * cb + l3 * cc, 0.0, 65535.0)) >> 8;
                };
                WritePixel(dc.target, x, y, (ch(a.Red, b.Red, c.Red) << 16) | (ch(a.Green, b.Green, c.Green) << 8) |
                                               ch(a.Blue, b.Blue, c.Blue));
            }
    });
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

BOOL GradientFill(HDC h, TRIVERTEX* v, ULONG count, void* mesh, ULONG meshCount, ULONG mode) {
    DeviceContext* dc = LookupDC(h);
    if (!dc || !v || !mesh) return FALSE;
    for (ULONG i = 0; i < meshCount; ++i) {
        if (mode == GRADIENT_FILL_TRIANGLE) {
            const auto& t = static_cast<GRADIENT_TRIANGLE*>(mesh)[i];
            if (t.Vertex1 >= count || t.Vertex2 >= count || t.Vertex3 >= count) return FALSE;
            FillTriangle(*dc, v[t.Vertex1], v[t.Vertex2], v[t.Vertex3]);
        } else if (mode == GRADIENT_FILL_RECT_H || mode == GRADIENT_FILL_RECT_V) {
            const auto& r = static_cast<GRADIENT_RECT*>(mesh)[i];
            if (r.UpperLeft >= count || r.LowerRight >= count) return FALSE;
            FillRectGradient(*dc, v[r.UpperLeft], v[r.LowerRight], mode == GRADIENT_FILL_RECT_V);
        } else {
            return FALSE;
        }
    }
    return TRUE;
}
