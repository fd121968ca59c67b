// BMP files: 1, 4, 8, 24 and 32 bits, BI_RGB and BI_BITFIELDS, bottom-up and top-down; and
// the file helpers shared by the image readers.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>

#include "platform/gdi.h"
#include "platform/gdi/dib.h"
#include "platform/image_files.h"

namespace platform {
namespace {

std::uint32_t U32(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24); }
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

struct Header {
    std::int64_t width = 0, height = 0;
    int bits = 0;
    std::uint32_t compression = 0, colors = 0, headerSize = 0, dataOffset = 0;
    std::uint32_t masks[4] = {0, 0, 0, 0};
    bool topDown = false;
};

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
    if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 24 && h.bits != 32) throw ImageError("BMP: unsupported depth");
    if (h.compression == BI_BITFIELDS) {
        std::size_t at = h.headerSize >= 52 ? 14 + 40 : 14 + h.headerSize;
        if (size < at + 12) throw ImageError("BMP: the colour masks are missing");
        for (int k = 0; k < 3; ++k) h.masks[k] = U32(d + at + 4 * k);
        if (h.headerSize >= 56 && size >= 14 + 56) h.masks[3] = U32(d + 14 + 52);
    } else if (h.compression != BI_RGB) {
        throw ImageError("BMP: compressed pictures are not supported");
    }
    return h;
}

std::uint8_t MaskedChannel(std::uint32_t v, std::uint32_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    std::uint32_t max = mask >> shift, value = (v & mask) >> shift;
    return static_cast<std::uint8_t>(value * 255 / max);
}

}  // namespace

Image ReadBmp(const std::uint8_t* d, std::size_t size) {
    Header h = ParseHeader(d, size);
    std::size_t stride = ((static_cast<std::size_t>(h.width) * h.bits + 31) / 32) * 4;
    if (h.dataOffset > size || stride * h.height > size - h.dataOffset) throw ImageError("BMP: the pixel data ends early");
    std::size_t paletteAt = 14 + h.headerSize;
    std::uint32_t colors = h.bits <= 8 ? (h.colors ? h.colors : 1u << h.bits) : 0;
    if (colors > 256 || paletteAt + colors * 4 > h.dataOffset) throw ImageError("BMP: the palette is damaged");
    Image image;
    image.width = static_cast<int>(h.width);
    image.height = static_cast<int>(h.height);
    image.stride = image.width * 4;
    image.hasAlpha = h.bits == 32 && (h.compression == BI_RGB || h.masks[3]);
    image.pixels.resize(static_cast<std::size_t>(image.stride) * image.height);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row = d + h.dataOffset + stride * static_cast<std::size_t>(h.topDown ? y : image.height - 1 - y);
        std::uint8_t* out = image.pixels.data() + static_cast<std::size_t>(y) * image.stride;
        for (int x = 0; x < image.width; ++x, out += 4) {
            if (h.bits <= 8) {
                unsigned index = h.bits == 8 ? row[x] : h.bits == 4 ? (row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF : (row[x / 8] >> (7 - x % 8)) & 1;
                if (index >= colors) index = 0;
                const std::uint8_t* q = d + paletteAt + index * 4;
                out[0] = q[0], out[1] = q[1], out[2] = q[2], out[3] = 255;
            } else if (h.bits == 24) {
                out[0] = row[x * 3], out[1] = row[x * 3 + 1], out[2] = row[x * 3 + 2], out[3] = 255;
            } else {
                std::uint32_t v = U32(row + x * 4);
                if (h.compression == BI_BITFIELDS) {
                    out[2] = MaskedChannel(v, h.masks[0]), out[1] = MaskedChannel(v, h.masks[1]), out[0] = MaskedChannel(v, h.masks[2]);
                    out[3] = h.masks[3] ? MaskedChannel(v, h.masks[3]) : 255;
                } else {
                    std::memcpy(out, row + x * 4, 4);
                }
            }
        }
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
