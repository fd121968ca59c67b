#include "paint/gray.h"

#include "paint/pixel_view.h"

namespace paint {

using namespace detail;

namespace {

template <int Bpp>
void GrayRows(const PixelView& v) {
    for (int y = 0; y < v.height; ++y) {
        std::uint8_t* p = v.Row(y);
        for (int x = 0; x < v.width; ++x, p += Bpp) {
            auto m = static_cast<std::uint8_t>((p[0] + p[1] + p[2]) / 3);
            p[0] = p[1] = p[2] = m;
        }
    }
}

}  // namespace

void GrayBitmap(framework::TBitmap& bmp) {
    PixelView v = View(bmp);
    if (v.Empty()) return;
    if (v.bpp == 4)
        GrayRows<4>(v);
    else
        GrayRows<3>(v);
}

void GrayBitmapExceptKey(framework::TBitmap& bmp, framework::TColor key) {
    PixelView v = View(bmp);
    if (v.Empty() || v.bpp != 3) return;
    const Bgra k = ToBgra(framework::ColorToRGB(key));
    for (int y = 0; y < v.height; ++y) {
        std::uint8_t* p = v.Row(y);
        for (int x = 0; x < v.width; ++x, p += 3) {
            if (SameColor(p, k)) continue;
            auto m = static_cast<std::uint8_t>((p[0] + p[1] + p[2]) / 3);
            p[0] = p[1] = p[2] = m;
        }
    }
}

}  // namespace paint
