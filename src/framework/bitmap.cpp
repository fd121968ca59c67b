#include <algorithm>
#include <cstring>

#include "framework/graphic.h"

namespace framework {

TBitmap::TBitmap(int width, int height, TPixelFormat format) : format_(format) { SetSize(width, height); }

TBitmap::~TBitmap() { Release(); }

void TBitmap::Release() {
    canvas_.reset();
    if (dc_) {
        SelectObject(dc_, oldBitmap_);
        DeleteDC(dc_);
        dc_ = nullptr;
    }
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
    bits_ = nullptr;
}

void TBitmap::Recreate() {
    Release();
    if (width_ <= 0 || height_ <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(BytesPerPixel() * 8);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_) throw EOutOfResources("Out of system resources");
    bits_ = static_cast<std::uint8_t*>(bits);
    stride_ = (width_ * BytesPerPixel() + 3) & ~3;
}

void TBitmap::SetSize(int width, int height) {
    if (width == width_ && height == height_ && (bitmap_ || width <= 0 || height <= 0)) return;
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    Recreate();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == format_) return;
    format_ = format;
    Recreate();
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TCanvas>();
    if (!dc_ && bitmap_) {
        dc_ = CreateCompatibleDC(nullptr);
        oldBitmap_ = SelectObject(dc_, bitmap_);
    }
    canvas_->SetHandle(dc_);
    return *canvas_;
}

TColor TBitmap::EffectiveTransparentColor() const {
    if (TransparentColor != clDefault || Empty()) return TransparentColor;
    const std::uint8_t* p = ScanLine(height_ - 1);
    return static_cast<TColor>(p[0] << 16 | p[1] << 8 | p[2]);
}

void TBitmap::Draw(TCanvas& canvas, const RECT& r) {
    HDC src = Canvas().Handle();
    int w = r.right - r.left, h = r.bottom - r.top;
    if (format_ == TPixelFormat::pf32bit && AlphaFormat == TAlphaFormat::afDefined) {
        // The platform blends premultiplied pixels; keep ours straight and premultiply a copy.
        TBitmap pre(width_, height_, TPixelFormat::pf32bit);
        for (int y = 0; y < height_; ++y) {
            const std::uint8_t* s = ScanLine(y);
            std::uint8_t* d = pre.ScanLine(y);
            for (int x = 0; x < width_ * 4; x += 4) {
                unsigned a = s[x + 3];
                d[x] = static_cast<std::uint8_t>((s[x] * a + 127) / 255);
                d[x + 1] = static_cast<std::uint8_t>((s[x + 1] * a + 127) / 255);
                d[x + 2] = static_cast<std::uint8_t>((s[x + 2] * a + 127) / 255);
                d[x + 3] = static_cast<std::uint8_t>(a);
            }
        }
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(canvas.Handle(), r.left, r.top, w, h, pre.Canvas().Handle(), 0, 0, width_, height_, blend);
    } else if (Transparent) {
        TransparentBlt(canvas.Handle(), r.left, r.top, w, h, src, 0, 0, width_, height_,
                       ColorToRGB(EffectiveTransparentColor()));
    } else if (w == width_ && h == height_) {
        BitBlt(canvas.Handle(), r.left, r.top, w, h, src, 0, 0, SRCCOPY);
    } else {
        StretchBlt(canvas.Handle(), r.left, r.top, w, h, src, 0, 0, width_, height_, SRCCOPY);
    }
}

void TBitmap::Assign(const TBitmap& other) {
    format_ = other.format_;
    width_ = other.width_;
    height_ = other.height_;
    Recreate();
    AlphaFormat = other.AlphaFormat;
    Transparent = other.Transparent;
    TransparentColor = other.TransparentColor;
    for (int y = 0; y < height_; ++y) std::memcpy(ScanLine(y), other.ScanLine(y), static_cast<size_t>(stride_));
}

void TBitmap::LoadFromPixels(int width, int height, const std::uint8_t* bgra, int stride) {
    format_ = TPixelFormat::pf32bit;
    width_ = width;
    height_ = height;
    Recreate();
    AlphaFormat = TAlphaFormat::afDefined;
    for (int y = 0; y < height_; ++y)
        std::memcpy(ScanLine(y), bgra + static_cast<std::ptrdiff_t>(y) * stride, static_cast<size_t>(width) * 4);
}

}  // namespace framework
