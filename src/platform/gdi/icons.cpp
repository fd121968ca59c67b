// Icons built from a colour bitmap and a mask, drawn with their alpha or their mask.
#include <algorithm>

#include "platform/gdi.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi_types.h"

namespace platform::gdi {
namespace {

HBITMAP BitmapFromPixels(int w, int h, const std::vector<std::uint32_t>& argb) {
    std::unique_ptr<BitmapObject> b = NewBitmap(w, h, 32);
    if (!b) return nullptr;
    for (int y = 0; y < h; ++y)
        std::copy_n(&argb[static_cast<std::size_t>(y) * w], w, reinterpret_cast<std::uint32_t*>(b->buffer.Row(y)));
    return static_cast<HBITMAP>(AddObject(std::move(b)));
}

// Samples an icon pixel for a destination pixel of a scaled drawing (nearest).
std::size_t SourceIndex(const IconObject& icon, int i, int j, int w, int h) {
    int sx = static_cast<int>((2LL * i + 1) * icon.width / (2LL * w));
    int sy = static_cast<int>((2LL * j + 1) * icon.height / (2LL * h));
    return static_cast<std::size_t>(sy) * icon.width + sx;
}

void DrawPixel(DeviceContext& dc, const IconObject& icon, std::size_t k, int x, int y, UINT flags) {
    std::uint32_t c = icon.color[k];
    std::uint32_t d = ReadPixel(dc.target, x, y);
    if (icon.hasAlpha && (flags & DI_IMAGE) && (flags & DI_MASK)) {
        unsigned a = c >> 24;
        std::uint32_t out = 0;
        for (int s = 0; s < 24; s += 8) {
            unsigned sc = (c >> s) & 0xFF, dc8 = (d >> s) & 0xFF;
            out |= ((sc * a + dc8 * (255 - a) + 127) / 255) << s;
        }
        BYTE* p = dc.target.Row(y) + x * dc.target.BytesPerPixel();
        WritePixel(dc.target, x, y, out);
        if (dc.target.bitsPerPixel == 32) p[3] = static_cast<BYTE>(std::min(255u, a + p[3] * (255 - a) / 255));
        return;
    }
    std::uint32_t v = d;
    if (flags & DI_MASK) v = icon.mask[k] ? v : 0;
    if (flags & DI_IMAGE) v ^= (c & 0xFFFFFF);
    WritePixel(dc.target, x, y, v);
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

HICON CreateIconIndirect(ICONINFO* info) {
    if (!info) return nullptr;
    BitmapObject* color = LookupBitmap(info->hbmColor);
    BitmapObject* mask = LookupBitmap(info->hbmMask);
    if (!mask && !color) return nullptr;
    auto icon = std::make_unique<IconObject>();
    const PixelBuffer& shape = color ? color->buffer : mask->buffer;
    icon->width = shape.width;
    icon->height = color ? shape.height : shape.height / 2;
    if (icon->width <= 0 || icon->height <= 0) return nullptr;
    std::size_t n = static_cast<std::size_t>(icon->width) * icon->height;
    icon->color.resize(n);
    icon->mask.resize(n, 0);
    for (int y = 0; y < icon->height; ++y) {
        for (int x = 0; x < icon->width; ++x) {
            std::size_t k = static_cast<std::size_t>(y) * icon->width + x;
            if (color) {
                const BYTE* p = color->buffer.Row(y) + x * color->buffer.BytesPerPixel();
                icon->color[k] = p[0] | (p[1] << 8) | (p[2] << 16) |
                                 (color->buffer.bitsPerPixel == 32 ? static_cast<std::uint32_t>(p[3]) << 24 : 0);
                if (icon->color[k] >> 24) icon->hasAlpha = true;
            } else {
                icon->color[k] = ReadPixel(mask->buffer, x, y + icon->height);
            }
            if (mask && y < mask->buffer.height && x < mask->buffer.width) icon->mask[k] = ReadPixel(mask->buffer, x, y) ? 1 : 0;
        }
    }
    return static_cast<HICON>(AddObject(std::move(icon)));
}

BOOL DestroyIcon(HICON icon) { return LookupIcon(icon) && RemoveObject(icon) ? TRUE : FALSE; }

HICON CopyIcon(HICON icon) {
    IconObject* src = LookupIcon(icon);
    if (!src) return nullptr;
    auto copy = std::make_unique<IconObject>(*src);
    copy->stock = false;
    return static_cast<HICON>(AddObject(std::move(copy)));
}

BOOL GetIconInfo(HICON h, ICONINFO* out) {
    IconObject* icon = LookupIcon(h);
    if (!icon || !out) return FALSE;
    std::vector<std::uint32_t> maskPixels(icon->mask.size());
    for (std::size_t k = 0; k < maskPixels.size(); ++k) maskPixels[k] = icon->mask[k] ? 0xFFFFFF : 0;
    *out = ICONINFO{TRUE, static_cast<DWORD>(icon->width / 2), static_cast<DWORD>(icon->height / 2),
                    BitmapFromPixels(icon->width, icon->height, maskPixels),
                    BitmapFromPixels(icon->width, icon->height, icon->color)};
    return TRUE;
}

BOOL DrawIconEx(HDC h, int x, int y, HICON hicon, int width, int height, UINT, HBRUSH, UINT flags) {
    DeviceContext* dc = LookupDC(h);
    IconObject* icon = LookupIcon(hicon);
    if (!dc || !icon) return FALSE;
    int w = width > 0 ? width : icon->width, ht = height > 0 ? height : icon->height;
    if (!(flags & DI_NORMAL)) flags = DI_NORMAL;
    RECT t = dc->ToTarget(RECT{x, y, x + w, y + ht});
    ForEachClipped(*dc, t, [&](const RECT& c) {
        for (int yy = c.top; yy < c.bottom; ++yy)
            for (int xx = c.left; xx < c.right; ++xx)
                DrawPixel(*dc, *icon, SourceIndex(*icon, xx - t.left, yy - t.top, w, ht), xx, yy, flags);
    });
    return TRUE;
}
