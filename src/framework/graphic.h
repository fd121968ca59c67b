// Pictures the framework draws: device-independent bitmaps (24- or 32-bit, top-down, with an
// optional transparent colour or per-pixel alpha), icons, a picture holder and image lists.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/canvas.h"
#include "framework/exceptions.h"

namespace framework {

class TGraphic {
public:
    virtual ~TGraphic() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    // Draws the picture stretched into r.
    virtual void Draw(TCanvas& canvas, const RECT& r) = 0;
};

enum class TPixelFormat { pf24bit, pf32bit };
enum class TAlphaFormat { afIgnored, afDefined };

class TBitmap : public TGraphic {
public:
    TBitmap() = default;
    TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    ~TBitmap() override;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return width_ <= 0 || height_ <= 0; }
    void Draw(TCanvas& canvas, const RECT& r) override;

    void SetSize(int width, int height);
    TPixelFormat PixelFormat() const { return format_; }
    void SetPixelFormat(TPixelFormat format);
    // Straight (not premultiplied) alpha in the fourth byte when defined.
    TAlphaFormat AlphaFormat = TAlphaFormat::afIgnored;
    bool Transparent = false;
    // clDefault: the colour of the bottom-left pixel.
    TColor TransparentColor = clDefault;
    TColor EffectiveTransparentColor() const;

    int BytesPerPixel() const { return format_ == TPixelFormat::pf32bit ? 4 : 3; }
    int Stride() const { return stride_; }
    std::uint8_t* ScanLine(int y) { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }
    const std::uint8_t* ScanLine(int y) const { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }

    HBITMAP Handle() const { return bitmap_; }
    // A canvas on the bitmap's own memory context.
    TCanvas& Canvas();
    void Assign(const TBitmap& other);
    // Replaces the content with an image in 32-bit blue, green, red, alpha rows.
    void LoadFromPixels(int width, int height, const std::uint8_t* bgra, int stride);

private:
    void Recreate();
    void Release();
    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = TPixelFormat::pf24bit;
    HBITMAP bitmap_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    int stride_ = 0;
    HDC dc_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    std::unique_ptr<TCanvas> canvas_;
};

class TIcon : public TGraphic {
public:
    TIcon() = default;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;
    ~TIcon() override;
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return handle_ == nullptr; }
    void Draw(TCanvas& canvas, const RECT& r) override;

    HICON Handle() const { return handle_; }
    // Takes ownership of the icon.
    void SetHandle(HICON icon, int width, int height);
    // Makes an icon of a 32-bit bitmap with alpha.
    void FromBitmap(const TBitmap& bitmap);
    void Assign(const TIcon& other);

private:
    HICON handle_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// Holds one picture of either kind.
class TPicture {
public:
    TBitmap& Bitmap();
    TIcon& Icon();
    TGraphic* Graphic() { return graphic_.get(); }
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

private:
    std::unique_ptr<TGraphic> graphic_;
};

// Images of equal size kept side by side in one strip.
class TImageList {
public:
    TImageList(int width, int height) : width_(width), height_(height) {}
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return count_; }
    // Adds every image of a strip as wide as a whole number of images; returns the first index.
    int Add(const TBitmap& strip);
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);
    void Clear();

private:
    int width_;
    int height_;
    int count_ = 0;
    TBitmap images_;
};

}  // namespace framework
