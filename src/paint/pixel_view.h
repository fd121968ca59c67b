// Direct access to a bitmap's scan lines for the pixel loops of this layer: the row pointer
// and stride are taken once, never through a device context.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "framework/graphic.h"
#include "framework/colors.h"

namespace paint::detail {

struct PixelView {
    std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    int bpp = 3;  // bytes per pixel

    std::uint8_t* Row(int y) const { return bits + y * stride; }
    std::uint8_t* At(int x, int y) const { return Row(y) + static_cast<std::ptrdiff_t>(x) * bpp; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    bool Empty() const { return bits == nullptr || width <= 0 || height <= 0; }
};

inline PixelView View(const framework::TBitmap& bmp) {
    auto& b = const_cast<framework::TBitmap&>(bmp);
    if (b.Empty() || !b.Handle()) return {};
    return PixelView{b.ScanLine(0), b.Width(), b.Height(), b.Stride(), b.BytesPerPixel()};
}

// Blue, green, red, alpha of a colour reference ($00BBGGRR) as stored in a pixel.
struct Bgra {
    std::uint8_t b, g, r, a;
};
inline Bgra ToBgra(COLORREF c, std::uint8_t alpha = 255) {
    return Bgra{GetBValue(c), GetGValue(c), GetRValue(c), alpha};
}

// Writes n copies of one pixel: the first by hand, the rest by doubling block copies.
inline void FillPixels(std::uint8_t* p, int n, int bpp, Bgra px) {
    if (n <= 0) return;
    p[0] = px.b, p[1] = px.g, p[2] = px.r;
    if (bpp == 4) p[3] = px.a;
    std::size_t done = 1, total = static_cast<std::size_t>(n);
    while (done < total) {
        std::size_t chunk = std::min(done, total - done);
        std::memcpy(p + done * bpp, p, chunk * bpp);
        done += chunk;
    }
}

inline bool SameColor(const std::uint8_t* p, Bgra key) { return p[0] == key.b && p[1] == key.g && p[2] == key.r; }

inline RECT Intersect(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}
inline bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace paint::detail
