// Reading and writing image files: BMP, PNG and JPEG. Every reader treats its input as
// untrusted: sizes beyond the limits and truncated or corrupt data raise ImageError with a
// clear message; nothing aborts the process.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/gdi/gdi_objects.h"

namespace platform {

class ImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Width or height above this, or more pixels than kMaxImagePixels, is refused.
constexpr int kMaxImageSide = 16384;
constexpr std::int64_t kMaxImagePixels = 64ll * 1024 * 1024;

// A decoded picture: top-down rows of 24-bit (B, G, R) or 32-bit (B, G, R, A) pixels.
struct Image {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32;
    int stride = 0;
    bool hasAlpha = false;
    std::vector<std::uint8_t> pixels;

    gdi::PixelBuffer Buffer() { return gdi::PixelBuffer{pixels.data(), width, height, stride, bitsPerPixel}; }
};

enum class AlphaMode { Straight, Premultiplied };

Image ReadPng(const std::uint8_t* data, std::size_t size, AlphaMode mode = AlphaMode::Straight);
Image ReadJpeg(const std::uint8_t* data, std::size_t size);
Image ReadBmp(const std::uint8_t* data, std::size_t size);
// Reads a whole file (at most 256 MiB) into memory.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

// Writes 32-bit BGRA pixels as a PNG (RGB, or RGBA when withAlpha).
void WritePng(const std::string& path, const gdi::PixelBuffer& pixels, bool withAlpha);
// Writes 24- or 32-bit pixels as an uncompressed bottom-up BMP.
void WriteBmp(const std::string& path, const gdi::PixelBuffer& pixels);

// An HBITMAP (DIB section) holding a copy of the image.
HBITMAP ImageToBitmap(const Image& image);

}  // namespace platform
