#include <algorithm>
#include <cstring>

#include "framework/graphic.h"

namespace framework {

TIcon::~TIcon() {
    if (handle_) DestroyIcon(handle_);
}

void TIcon::SetHandle(HICON icon, int width, int height) {
    if (handle_ && handle_ != icon) DestroyIcon(handle_);
    handle_ = icon;
    width_ = width;
    height_ = height;
}

void TIcon::FromBitmap(const TBitmap& bitmap) {
    TBitmap color(bitmap.Width(), bitmap.Height(), TPixelFormat::pf32bit);
    int bpp = bitmap.BytesPerPixel();
    bool alpha = bpp == 4 && bitmap.AlphaFormat == TAlphaFormat::afDefined;
    for (int y = 0; y < color.Height(); ++y) {
        const std::uint8_t* s = bitmap.ScanLine(y);
        std::uint8_t* d = color.ScanLine(y);
        for (int x = 0; x < color.Width(); ++x) {
            std::memcpy(d + x * 4, s + x * bpp, 3);
            d[x * 4 + 3] = alpha ? s[x * bpp + 3] : 255;
        }
    }
    // Icons carry premultiplied alpha like every other 32-bit source of the platform.
    for (int y = 0; y < color.Height(); ++y) {
        std::uint8_t* p = color.ScanLine(y);
        for (int x = 0; x < color.Width() * 4; x += 4) {
            unsigned a = p[x + 3];
            for (int c = 0; c < 3; ++c) p[x + c] = static_cast<std::uint8_t>((p[x + c] * a + 127) / 255);
        }
    }
    HBITMAP mask = CreateBitmap(color.Width(), color.Height(), 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, color.Handle()};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    SetHandle(icon, color.Width(), color.Height());
}

void TIcon::Assign(const TIcon& other) {
    SetHandle(other.handle_ ? CopyIcon(other.handle_) : nullptr, other.width_, other.height_);
}

void TIcon::Draw(TCanvas& canvas, const RECT& r) {
    DrawIconEx(canvas.Handle(), r.left, r.top, handle_, r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
}

TBitmap& TPicture::Bitmap() {
    auto* b = dynamic_cast<TBitmap*>(graphic_.get());
    if (!b) {
        graphic_ = std::make_unique<TBitmap>();
        b = static_cast<TBitmap*>(graphic_.get());
    }
    return *b;
}

TIcon& TPicture::Icon() {
    auto* i = dynamic_cast<TIcon*>(graphic_.get());
    if (!i) {
        graphic_ = std::make_unique<TIcon>();
        i = static_cast<TIcon*>(graphic_.get());
    }
    return *i;
}

int TImageList::Add(const TBitmap& strip) {
    if (strip.Empty() || strip.Height() != height_ || strip.Width() % width_ != 0) return -1;
    int first = count_;
    int added = strip.Width() / width_;
    TBitmap grown(width_ * (count_ + added), height_, TPixelFormat::pf32bit);
    grown.AlphaFormat = TAlphaFormat::afDefined;
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* d = grown.ScanLine(y);
        if (count_) std::memcpy(d, images_.ScanLine(y), static_cast<size_t>(width_ * count_) * 4);
        d += static_cast<std::ptrdiff_t>(width_) * count_ * 4;
        const std::uint8_t* s = strip.ScanLine(y);
        int bpp = strip.BytesPerPixel();
        bool alpha = bpp == 4 && strip.AlphaFormat == TAlphaFormat::afDefined;
        for (int x = 0; x < strip.Width(); ++x) {
            d[x * 4] = s[x * bpp];
            d[x * 4 + 1] = s[x * bpp + 1];
            d[x * 4 + 2] = s[x * bpp + 2];
            d[x * 4 + 3] = alpha ? s[x * bpp + 3] : 255;
        }
    }
    images_.Assign(grown);
    count_ += added;
    return first;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
    if (index < 0 || index >= count_) return;
    TBitmap one(width_, height_, TPixelFormat::pf32bit);
    one.AlphaFormat = TAlphaFormat::afDefined;
    for (int row = 0; row < height_; ++row) {
        const std::uint8_t* s = images_.ScanLine(row) + static_cast<std::ptrdiff_t>(index) * width_ * 4;
        std::uint8_t* d = one.ScanLine(row);
        std::memcpy(d, s, static_cast<size_t>(width_) * 4);
        if (!enabled)
            for (int px = 0; px < width_ * 4; px += 4) {
                auto grey = static_cast<std::uint8_t>((d[px] * 11 + d[px + 1] * 59 + d[px + 2] * 30) / 100);
                d[px] = d[px + 1] = d[px + 2] = grey;
                d[px + 3] = static_cast<std::uint8_t>(d[px + 3] / 2);
            }
    }
    canvas.Draw(x, y, one);
}

void TImageList::Clear() {
    images_.SetSize(0, 0);
    count_ = 0;
}

}  // namespace framework
