// Memory DCs over DIB sections for pixel-exact GDI tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/gdi.h"

namespace testing_support {

// A DIB section selected into a memory DC; pixels read back as 0x00RRGGBB.
class Canvas {
public:
    Canvas(int width, int height, int bits = 32, bool bottomUp = false) : width_(width), height_(height), bits_(bits) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = bottomUp ? height : -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = static_cast<WORD>(bits);
        bitmap_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits_ptr_, nullptr, 0);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, bitmap_);
        stride_ = ((width * bits + 31) / 32) * 4;
        bottomUp_ = bottomUp;
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    std::uint8_t* Row(int y) const {
        int row = bottomUp_ ? height_ - 1 - y : y;
        return static_cast<std::uint8_t*>(bits_ptr_) + static_cast<std::ptrdiff_t>(row) * stride_;
    }
    std::uint32_t At(int x, int y) const {
        const std::uint8_t* p = Row(y) + x * (bits_ / 8);
        return (p[2] << 16) | (p[1] << 8) | p[0];
    }
    std::uint8_t Alpha(int x, int y) const { return bits_ == 32 ? Row(y)[x * 4 + 3] : 255; }
    void Set(int x, int y, std::uint32_t rgb, std::uint8_t alpha = 0) {
        std::uint8_t* p = Row(y) + x * (bits_ / 8);
        p[0] = rgb & 0xFF, p[1] = (rgb >> 8) & 0xFF, p[2] = (rgb >> 16) & 0xFF;
        if (bits_ == 32) p[3] = alpha;
    }
    void Fill(std::uint32_t rgb, std::uint8_t alpha = 0) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) Set(x, y, rgb, alpha);
    }
    int Count(std::uint32_t rgb) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) n += At(x, y) == rgb;
        return n;
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_, height_, bits_, stride_ = 0;
    bool bottomUp_ = false;
    void* bits_ptr_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

inline void FillWith(HDC dc, RECT r, COLORREF color) {
    HBRUSH b = CreateSolidBrush(color);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

}  // namespace testing_support
