// BMP files: 1, 4, 8, 16, 24 and 32 bits; BI_RGB, BI_BITFIELDS (16 and 32 bits) and the
// run-length encodings BI_RLE8 and BI_RLE4; bottom-up and top-down; and the file helpers
// shared by the image readers.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>

#include "platform/gdi.h"
#include "platform/gdi/dib.h"
#include "platform/image_files.h"

namespace platform {
namespace {

constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
// A 16-bit picture without colour masks is 5-5-5.
constexpr std::uint32_t kMasks555[3] = {0x7C00, 0x03E0, 0x001F};

std::uint32_t U32(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24); }
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

struct Header {
    std::int64_t width = 0, height = 0;
    int bits = 0;
    std::uint32_t compression = 0, colors = 0, headerSize = 0, dataOffset = 0;
    std::uint32_t masks[4] = {0, 0, 0, 0};
    bool topDown = false;
    bool Rle() const { return compression == kBiRle8 || compression == kBiRle4; }
};

void ReadMasks(Header& h, const std::uint8_t* d, std::size_t size) {
    if (h.compression != BI_BITFIELDS) {
        if (h.bits == 16) std::memcpy(h.masks, kMasks555, sizeof kMasks555);
        return;
    }
    if (h.bits != 16 && h.bits != 32) throw ImageError("BMP: colour masks need 16 or 32 bits");
    std::size_t at = h.headerSize >= 52 ? 14 + 40 : 14 + h.headerSize;
    if (size < at + 12) throw ImageError("BMP: the colour masks are missing");
    for (int k = 0; k < 3; ++k) h.masks[k] = U32(d + at + 4 * k);
    if (h.headerSize >= 56 && size >= 14 + 56) h.masks[3] = U32(d + 14 + 52);
}

Header ParseHeader(const std::uint8_t* d, std::size_t size) {
    if (size < 26 || d[0] != 'B' || d[1] != 'M') throw ImageError("not a BMP file");
    Header h;
    h.dataOffset = U32(d + 10);
    h.headerSize = U32(d + 14);
    if (h.headerSize == 12) {  // the old OS/2 header
        h.width = U16(d + 18);
        h.height = static_cast<std::int16_t>(U16(d + 20));
        h.bits = U16(d + 24);
    } else {
        if (h.headerSize < 40 || size < 14 + 40) throw ImageError("BMP: the header is damaged");
        h.width = static_cast<std::int32_t>(U32(d + 18));
        h.height = static_cast<std::int32_t>(U32(d + 22));
        h.bits = U16(d + 28);
        h.compression = U32(d + 30);
        h.colors = U32(d + 46);
    }
    h.topDown = h.height < 0;
    if (h.topDown) h.height = -h.height;
    if (h.width <= 0 || h.height <= 0 || h.width > kMaxImageSide || h.height > kMaxImageSide ||
        h.width * h.height > kMaxImagePixels)
        throw ImageError("BMP: unsupported picture size");
    if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 16 && h.bits != 24 && h.bits != 32)
        throw ImageError("BMP: unsupported depth");
    if (h.Rle()) {
        if (h.bits != (h.compression == kBiRle8 ? 8 : 4))
            throw ImageError("BMP: the compression does not fit the depth");
        if (h.topDown) throw ImageError("BMP: a compressed picture cannot be top-down");
    } else if (h.compression != BI_RGB && h.compression != BI_BITFIELDS) {
        throw ImageError("BMP: unsupported compression");
    }
    ReadMasks(h, d, size);
    return h;
}

// A channel scaled from its mask's range to 0..255, rounded.
std::uint8_t MaskedChannel(std::uint32_t v, std::uint32_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const std::uint64_t max = mask >> shift, value = (v & mask) >> shift;
    return static_cast<std::uint8_t>((value * 255 + max / 2) / max);
}

// The colour table: 4-byte entries, 3-byte ones after the old OS/2 header.
struct Palette {
    const std::uint8_t* at = nullptr;
    std::uint32_t count = 0;
    std::size_t entrySize = 4;

    void Put(unsigned index, std::uint8_t* out) const {
        if (index >= count) index = 0;
        const std::uint8_t* q = at + index * entrySize;
        out[0] = q[0], out[1] = q[1], out[2] = q[2], out[3] = 255;
    }
};

Palette ReadPalette(const Header& h, const std::uint8_t* d) {
    Palette p;
    if (h.bits > 8) return p;
    p.entrySize = h.headerSize == 12 ? 3 : 4;
    p.count = h.colors ? h.colors : 1u << h.bits;
    const std::size_t paletteAt = 14 + static_cast<std::size_t>(h.headerSize);
    if (p.count > 256 || paletteAt + p.count * p.entrySize > h.dataOffset)
        throw ImageError("BMP: the palette is damaged");
    p.at = d + paletteAt;
    return p;
}

// Pixel indices, one byte each, bottom-up rows of `width`, decoded from BI_RLE8 or BI_RLE4
// data. Pixels the data skips (end of line, delta) keep index 0; pixels beyond the right
// edge are dropped.
class RleDecoder {
  public:
    RleDecoder(const Header& h, const std::uint8_t* data, std::size_t size)
        : w_(static_cast<int>(h.width)),
          h_(static_cast<int>(h.height)),
          four_(h.compression == kBiRle4),
          data_(data),
          size_(size),
          indices_(static_cast<std::size_t>(w_) * h_, 0) {}

    std::vector<std::uint8_t> Decode() {
        while (y_ < h_) {
            const std::uint8_t count = Next(), value = Next();
            if (count > 0)
                Run(count, value);
            else if (value == 0)
                x_ = 0, ++y_;
            else if (value == 1)
                break;
            else if (value == 2)
                Delta();
            else
                Absolute(value);
        }
        return std::move(indices_);
    }

  private:
    std::uint8_t Next() {
        if (at_ >= size_) throw ImageError("BMP: the compressed data ends early");
        return data_[at_++];
    }
    // Pixel i of the current command; x_ moves on once the command is done.
    void Put(int i, unsigned index) {
        if (x_ + i < w_)
            indices_[static_cast<std::size_t>(y_) * w_ + x_ + i] = static_cast<std::uint8_t>(index);
    }
    // x stops at the right edge, so that no amount of data can make it overflow.
    void Advance(int count) { x_ = std::min(w_, x_ + count); }
    void Delta() {
        const int dx = Next();
        const int dy = Next();
        Advance(dx);
        y_ += dy;
    }
    // In RLE4 a run alternates the byte's high and low nibble.
    void Run(int count, std::uint8_t value) {
        for (int i = 0; i < count; ++i) Put(i, four_ ? (i % 2 ? value & 0xF : value >> 4) : value);
        Advance(count);
    }
    // count literal pixels, their bytes padded to a 16-bit boundary.
    void Absolute(int count) {
        const std::size_t bytes =
            four_ ? (static_cast<std::size_t>(count) + 1) / 2 : static_cast<std::size_t>(count);
        if (bytes > size_ - at_) throw ImageError("BMP: the compressed data ends early");
        for (int i = 0; i < count; ++i) {
            const std::uint8_t b = data_[at_ + (four_ ? i / 2 : i)];
            Put(i, four_ ? (i % 2 ? b & 0xF : b >> 4) : b);
        }
        Advance(count);
        at_ += bytes + (bytes & 1);
        if (at_ > size_) at_ = size_;
    }

    const int w_, h_;
    const bool four_;
    const std::uint8_t* data_;
    const std::size_t size_;
    std::vector<std::uint8_t> indices_;
    std::size_t at_ = 0;
    int x_ = 0, y_ = 0;
};

void DecodeRow(const Header& h, const Palette& palette, const std::uint8_t* row, int width,
               std::uint8_t* out) {
    for (int x = 0; x < width; ++x, out += 4) {
        switch (h.bits) {
            case 1:
                palette.Put((row[x / 8] >> (7 - x % 8)) & 1, out);
                break;
            case 4:
                palette.Put((row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF, out);
                break;
            case 8:
                palette.Put(row[x], out);
                break;
            case 16: {
                const std::uint32_t v = U16(row + x * 2);
                out[2] = MaskedChannel(v, h.masks[0]), out[1] = MaskedChannel(v, h.masks[1]),
                out[0] = MaskedChannel(v, h.masks[2]);
                out[3] = 255;
                break;
            }
            case 24:
                out[0] = row[x * 3], out[1] = row[x * 3 + 1], out[2] = row[x * 3 + 2], out[3] = 255;
                break;
            default: {
                const std::uint32_t v = U32(row + x * 4);
                if (h.compression == BI_BITFIELDS) {
                    out[2] = MaskedChannel(v, h.masks[0]), out[1] = MaskedChannel(v, h.masks[1]), out[0] = MaskedChannel(v, h.masks[2]);
                    out[3] = h.masks[3] ? MaskedChannel(v, h.masks[3]) : 255;
                } else {
                    std::memcpy(out, row + x * 4, 4);
                }
            }
        }
    }
}

Image NewImage(const Header& h) {
    Image image;
    image.width = static_cast<int>(h.width);
    image.height = static_cast<int>(h.height);
    image.stride = image.width * 4;
    image.hasAlpha = h.bits == 32 && (h.compression == BI_RGB || h.masks[3]);
    image.pixels.resize(static_cast<std::size_t>(image.stride) * image.height);
    return image;
}

}  // namespace

Image ReadBmp(const std::uint8_t* d, std::size_t size) {
    const Header h = ParseHeader(d, size);
    if (h.dataOffset > size) throw ImageError("BMP: the pixel data ends early");
    const Palette palette = ReadPalette(h, d);
    Image image = NewImage(h);
    if (h.Rle()) {
        const std::vector<std::uint8_t> indices =
            RleDecoder(h, d + h.dataOffset, size - h.dataOffset).Decode();
        for (int y = 0; y < image.height; ++y) {
            const std::uint8_t* row =
                indices.data() + static_cast<std::size_t>(image.height - 1 - y) * image.width;
            std::uint8_t* out = image.pixels.data() + static_cast<std::size_t>(y) * image.stride;
            for (int x = 0; x < image.width; ++x, out += 4) palette.Put(row[x], out);
        }
        return image;
    }
    const std::size_t stride = ((static_cast<std::size_t>(h.width) * h.bits + 31) / 32) * 4;
    if (stride * h.height > size - h.dataOffset) throw ImageError("BMP: the pixel data ends early");
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row =
            d + h.dataOffset +
            stride * static_cast<std::size_t>(h.topDown ? y : image.height - 1 - y);
        DecodeRow(h, palette, row, image.width,
                  image.pixels.data() + static_cast<std::size_t>(y) * image.stride);
    }
    return image;
}

void WriteBmp(const std::string& path, const gdi::PixelBuffer& px) {
    if (px.IsEmpty() || (px.bitsPerPixel != 24 && px.bitsPerPixel != 32)) throw ImageError("nothing to write");
    int bpp = px.BytesPerPixel();
    std::size_t stride = ((static_cast<std::size_t>(px.width) * px.bitsPerPixel + 31) / 32) * 4;
    std::vector<std::uint8_t> out(54 + stride * px.height, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&out[at], &v, 4); };
    out[0] = 'B', out[1] = 'M';
    put32(2, static_cast<std::uint32_t>(out.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(px.width));
    put32(22, static_cast<std::uint32_t>(px.height));
    out[26] = 1;
    out[28] = static_cast<std::uint8_t>(px.bitsPerPixel);
    for (int y = 0; y < px.height; ++y)
        std::memcpy(&out[54 + stride * (px.height - 1 - y)], px.Row(y), static_cast<std::size_t>(px.width) * bpp);
    std::ofstream f(path, std::ios::binary);
    if (!f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size())) || !f.flush())
        throw ImageError("cannot write " + path);
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    constexpr std::uintmax_t kMaxFile = 256u << 20;
    std::ifstream f(path, std::ios::binary | std::ios::ate);
    if (!f) throw ImageError("cannot open " + path);
    std::streamoff size = f.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > kMaxFile) throw ImageError("the file is too large: " + path);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    f.seekg(0);
    if (!f.read(reinterpret_cast<char*>(bytes.data()), size)) throw ImageError("cannot read " + path);
    return bytes;
}

HBITMAP ImageToBitmap(const Image& image) {
    void* bits = nullptr;
    HBITMAP bmp = gdi::CreateTopDownDib(image.width, image.height, image.bitsPerPixel, &bits);
    if (!bmp) throw ImageError("the picture is too large for a bitmap");
    int dstStride = ((image.width * image.bitsPerPixel + 31) / 32) * 4;
    for (int y = 0; y < image.height; ++y)
        std::memcpy(static_cast<std::uint8_t*>(bits) + static_cast<std::size_t>(y) * dstStride,
                    image.pixels.data() + static_cast<std::size_t>(y) * image.stride,
                    static_cast<std::size_t>(image.width) * image.bitsPerPixel / 8);
    return bmp;
}

}  // namespace platform
