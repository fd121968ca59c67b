// The device context behind an HDC: what it draws into, its selected objects, its coordinate
// origins and clipping, and the state SaveDC keeps.
#pragma once

#include <optional>
#include <vector>

#include "platform/gdi/gdi_objects.h"

namespace platform::gdi {

struct DCState {
    HGDIOBJ brush = nullptr;
    HGDIOBJ pen = nullptr;
    HGDIOBJ font = nullptr;
    HGDIOBJ bitmap = nullptr;
    POINT viewportOrigin{};
    POINT brushOrigin{};
    POINT position{};
    std::optional<Region> clip;  // application clip, device coordinates
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = 2;              // OPAQUE
    UINT textAlign = 0;
    int stretchMode = 1;         // BLACKONWHITE
    int rop2 = 13;               // R2_COPYPEN
};

struct DeviceContext : GdiObject {
    DeviceContext() : GdiObject(ObjectKind::DC) {}
    HWND window = nullptr;       // window DCs
    bool memory = false;         // memory DCs draw into their selected bitmap
    PixelBuffer target;
    POINT deviceOrigin{};        // where device (0, 0) lies in the target
    Region visible;              // system clip in target coordinates
    DCState state;
    std::vector<DCState> saved;
    bool drawn = false;

    // Application clip ∩ system clip ∩ target, in target coordinates.
    Region EffectiveClip() const;
    // Logical point to target point.
    POINT ToTarget(POINT logical) const {
        return POINT{logical.x + state.viewportOrigin.x + deviceOrigin.x, logical.y + state.viewportOrigin.y + deviceOrigin.y};
    }
    RECT ToTarget(const RECT& r) const {
        POINT a = ToTarget(POINT{r.left, r.top});
        return RECT{a.x, a.y, a.x + (r.right - r.left), a.y + (r.bottom - r.top)};
    }
};

DeviceContext* LookupDC(HDC dc);

// Calls fn(rect) for each part of `area` (target coordinates) inside the DC's clip, and marks
// the DC drawn when anything is visited.
template <class Fn>
void ForEachClipped(DeviceContext& dc, const RECT& area, Fn&& fn) {
    if (RectIsEmpty(area) || dc.target.IsEmpty()) return;
    Region clip = dc.EffectiveClip();
    for (const RECT& c : clip.Rects()) {
        RECT r = RectIntersection(c, area);
        if (RectIsEmpty(r)) continue;
        dc.drawn = true;
        fn(r);
    }
}

// Pixel access to 24- and 32-bit buffers as 0x00RRGGBB.
inline std::uint32_t ReadPixel(const PixelBuffer& b, int x, int y) {
    const BYTE* p = b.Row(y) + x * b.BytesPerPixel();
    return (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
}
inline void WritePixel(const PixelBuffer& b, int x, int y, std::uint32_t rgb) {
    BYTE* p = b.Row(y) + x * b.BytesPerPixel();
    p[0] = static_cast<BYTE>(rgb);
    p[1] = static_cast<BYTE>(rgb >> 8);
    p[2] = static_cast<BYTE>(rgb >> 16);
    if (b.bitsPerPixel == 32) p[3] = 0;
}
// COLORREF (0x00BBGGRR) to 0x00RRGGBB.
inline std::uint32_t ToRgb(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
inline COLORREF ToColorref(std::uint32_t rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

// Fills a target rectangle (already clipped) with one colour; alpha written as 0.
void FillSpan(const PixelBuffer& b, const RECT& r, std::uint32_t rgb);

}  // namespace platform::gdi
