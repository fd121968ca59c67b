// Bitmaps: DIB sections, compatible bitmaps, masks, and format changes with Get/SetDIBits.
#include <algorithm>
#include <cstring>
#include <malloc.h>

#include "platform/gdi.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/dib.h"
#include "platform/gdi/gdi_types.h"

namespace platform::gdi {

// Absurd sizes are refused rather than allocated.
constexpr int kMaxSide = 16384;
constexpr std::int64_t kMaxPixels = 64ll * 1024 * 1024;

namespace {
// Painting makes and frees window-sized bitmaps many times a second. Left to itself the
// allocator maps each one freshly from the kernel and returns it on free, so every paint
// pays page faults on zeroed pages; keeping such blocks in the heap lets them be reused.
void KeepBitmapMemoryInTheHeap() {
    static const bool tuned = [] {
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
        return true;
    }();
    (void)tuned;
}
}  // namespace

std::unique_ptr<BitmapObject> NewBitmap(int width, int height, int bitsPerPixel) {
    KeepBitmapMemoryInTheHeap();
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        static_cast<std::int64_t>(width) * height > kMaxPixels || (bitsPerPixel != 24 && bitsPerPixel != 32))
        return nullptr;
    auto b = std::make_unique<BitmapObject>();
    int stride = ((width * bitsPerPixel + 31) / 32) * 4;
    b->storage = ZeroedPixels(static_cast<std::size_t>(stride / 4) * height);
    b->buffer = PixelBuffer{reinterpret_cast<BYTE*>(b->storage.data()), width, height, stride, bitsPerPixel};
    b->declaredBits = bitsPerPixel;
    return b;
}

namespace {

// Reads row `y` (top-down) of DIB memory in the given format into 0x00RRGGBB or 0xAARRGGBB.
void ReadDibRow(const BITMAPINFO* info, const BYTE* bits, int y, int height, std::uint32_t* out, int width) {
    const BITMAPINFOHEADER& h = info->bmiHeader;
    int stride = ((width * h.biBitCount + 31) / 32) * 4;
    int row = h.biHeight > 0 ? height - 1 - y : y;
    const BYTE* p = bits + static_cast<std::ptrdiff_t>(row) * stride;
    for (int x = 0; x < width; ++x) {
        switch (h.biBitCount) {
            case 32: std::memcpy(&out[x], p + x * 4, 4); break;
            case 24: out[x] = p[x * 3] | (p[x * 3 + 1] << 8) | (p[x * 3 + 2] << 16); break;
            case 1: {
                const RGBQUAD& q = info->bmiColors[(p[x / 8] >> (7 - x % 8)) & 1];
                out[x] = q.rgbBlue | (q.rgbGreen << 8) | (q.rgbRed << 16);
                break;
            }
            default: out[x] = 0; break;
        }
    }
}

}  // namespace

HBITMAP CreateTopDownDib(int width, int height, int bitsPerPixel, void** bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    bi.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace platform::gdi

using namespace platform::gdi;

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT, void** bits, HANDLE, DWORD) {
    if (bits) *bits = nullptr;
    if (!info) return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return nullptr;
    int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    std::unique_ptr<BitmapObject> b = NewBitmap(h.biWidth, height, h.biBitCount);
    if (!b) return nullptr;
    b->dib = true;
    // Bottom-up DIB sections keep their memory bottom-up, as callers index it that way:
    // the buffer then starts at the last row and steps backwards.
    if (h.biHeight > 0) {
        b->buffer.bits += static_cast<std::ptrdiff_t>(height - 1) * b->buffer.stride;
        b->buffer.stride = -b->buffer.stride;
    }
    if (bits) *bits = b->storage.data();
    return static_cast<HBITMAP>(AddObject(std::move(b)));
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    std::unique_ptr<BitmapObject> b = NewBitmap(std::max(width, 1), std::max(height, 1), 32);
    return b ? static_cast<HBITMAP>(AddObject(std::move(b))) : nullptr;
}

HBITMAP CreateBitmap(int width, int height, UINT, UINT bitsPerPixel, const void* bits) {
    int depth = bitsPerPixel == 1 ? 32 : static_cast<int>(bitsPerPixel);
    std::unique_ptr<BitmapObject> b = NewBitmap(width, height, depth);
    if (!b) return nullptr;
    b->declaredBits = static_cast<int>(bitsPerPixel);
    if (bits && bitsPerPixel == 1) {
        // Monochrome rows are word aligned; set bits are white.
        int srcStride = ((width + 15) / 16) * 2;
        const auto* src = static_cast<const BYTE*>(bits);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                WritePixel(b->buffer, x, y, ((src[y * srcStride + x / 8] >> (7 - x % 8)) & 1) ? 0xFFFFFF : 0);
    } else if (bits) {
        for (int y = 0; y < height; ++y)
            std::memcpy(b->buffer.Row(y), static_cast<const BYTE*>(bits) + static_cast<std::ptrdiff_t>(y) * b->buffer.stride,
                        b->buffer.stride);
    }
    return static_cast<HBITMAP>(AddObject(std::move(b)));
}

int GetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT) {
    BitmapObject* b = LookupBitmap(bitmap);
    if (!b || !info) return 0;
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (!bits) {
        h.biWidth = b->buffer.width;
        h.biHeight = b->buffer.height;
        h.biPlanes = 1;
        h.biBitCount = static_cast<WORD>(b->declaredBits == 1 ? 32 : b->declaredBits);
        h.biCompression = BI_RGB;
        h.biSizeImage = static_cast<DWORD>(((h.biWidth * h.biBitCount + 31) / 32) * 4 * h.biHeight);
        return b->buffer.height;
    }
    if (h.biWidth != b->buffer.width || (h.biBitCount != 24 && h.biBitCount != 32)) return 0;
    int height = b->buffer.height;
    int stride = ((h.biWidth * h.biBitCount + 31) / 32) * 4;
    int done = 0;
    for (UINT i = 0; i < lines && start + i < static_cast<UINT>(height); ++i) {
        // `start` counts scan lines from the bottom for bottom-up requests, as in the real API.
        int y = h.biHeight > 0 ? height - 1 - static_cast<int>(start + i) : static_cast<int>(start + i);
        BYTE* out = static_cast<BYTE*>(bits) + static_cast<std::ptrdiff_t>(i) * stride;
        const BYTE* in = b->buffer.Row(y);
        for (int x = 0; x < h.biWidth; ++x) {
            const BYTE* p = in + x * b->buffer.BytesPerPixel();
            BYTE* q = out + x * (h.biBitCount / 8);
            q[0] = p[0], q[1] = p[1], q[2] = p[2];
            if (h.biBitCount == 32) q[3] = b->buffer.bitsPerPixel == 32 ? p[3] : 0;
        }
        ++done;
    }
    return done;
}

int SetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT) {
    BitmapObject* b = LookupBitmap(bitmap);
    if (!b || !info || !bits) return 0;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    if (h.biWidth != b->buffer.width || height != b->buffer.height) return 0;
    if (h.biBitCount != 1 && h.biBitCount != 24 && h.biBitCount != 32) return 0;
    std::vector<std::uint32_t> row(h.biWidth);
    int done = 0;
    for (UINT i = 0; i < lines && start + i < static_cast<UINT>(height); ++i) {
        int y = h.biHeight > 0 ? height - 1 - static_cast<int>(start + i) : static_cast<int>(start + i);
        ReadDibRow(info, static_cast<const BYTE*>(bits), y, height, row.data(), h.biWidth);
        BYTE* out = b->buffer.Row(y);
        for (int x = 0; x < h.biWidth; ++x) {
            BYTE* q = out + x * b->buffer.BytesPerPixel();
            std::uint32_t v = row[x];
            q[0] = static_cast<BYTE>(v), q[1] = static_cast<BYTE>(v >> 8), q[2] = static_cast<BYTE>(v >> 16);
            if (b->buffer.bitsPerPixel == 32) q[3] = h.biBitCount == 32 ? static_cast<BYTE>(v >> 24) : 0;
        }
        ++done;
    }
    return done;
}
