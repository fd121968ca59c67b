// Image files: round trips through our writers, hand-built headers, damaged and absurd input.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/image_files.h"

using platform::Image;
using platform::ImageError;

namespace {

std::string TempPath(const char* name) { return ::testing::TempDir() + name; }

Image Pattern(int w, int h) {
    Image img;
    img.width = w, img.height = h, img.stride = w * 4, img.bitsPerPixel = 32;
    img.pixels.resize(static_cast<std::size_t>(img.stride) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = &img.pixels[static_cast<std::size_t>(y) * img.stride + x * 4];
            p[0] = static_cast<std::uint8_t>(x * 10), p[1] = static_cast<std::uint8_t>(y * 20), p[2] = 0x55;
            p[3] = static_cast<std::uint8_t>(x * 30 + 10);
        }
    return img;
}

TEST(ImageFiles, PngRoundTripKeepsPixelsAndAlpha) {
    Image img = Pattern(7, 5);
    std::string path = TempPath("round.png");
    platform::WritePng(path, img.Buffer(), true);
    std::vector<std::uint8_t> bytes = platform::ReadFileBytes(path);
    Image back = platform::ReadPng(bytes.data(), bytes.size());
    ASSERT_EQ(back.width, 7);
    ASSERT_EQ(back.height, 5);
    EXPECT_TRUE(back.hasAlpha);
    EXPECT_EQ(back.pixels, img.pixels);
    Image pre = platform::ReadPng(bytes.data(), bytes.size(), platform::AlphaMode::Premultiplied);
    const std::uint8_t* p = &pre.pixels[4 * 2];  // x = 2: alpha 70, blue 20
    EXPECT_EQ(p[3], 70);
    EXPECT_EQ(p[0], (20 * 70 + 127) / 255);
    std::remove(path.c_str());
}

TEST(ImageFiles, BmpRoundTripBothDepths) {
    Image img = Pattern(5, 3);
    std::string path = TempPath("round.bmp");
    platform::WriteBmp(path, img.Buffer());
    std::vector<std::uint8_t> bytes = platform::ReadFileBytes(path);
    Image back = platform::ReadBmp(bytes.data(), bytes.size());
    EXPECT_EQ(back.pixels, img.pixels);
    std::remove(path.c_str());
}

// A hand-built 2 x 2, 8-bit palette BMP, top-down.
std::vector<std::uint8_t> PaletteBmp() {
    std::vector<std::uint8_t> b(14 + 40 + 2 * 4 + 2 * 4, 0);
    auto put32 = [&](std::size_t at, std::int32_t v) { std::memcpy(&b[at], &v, 4); };
    b[0] = 'B', b[1] = 'M';
    put32(2, static_cast<std::int32_t>(b.size()));
    put32(10, 14 + 40 + 8);
    put32(14, 40);
    put32(18, 2);
    put32(22, -2);
    b[26] = 1, b[28] = 8;
    put32(46, 2);
    std::uint8_t palette[8] = {0, 0, 255, 0, 255, 0, 0, 0};  // red, blue
    std::memcpy(&b[54], palette, 8);
    std::uint8_t rows[8] = {0, 1, 0, 0, 1, 1, 0, 0};
    std::memcpy(&b[62], rows, 8);
    return b;
}

TEST(ImageFiles, PaletteBmpDecodes) {
    std::vector<std::uint8_t> b = PaletteBmp();
    Image img = platform::ReadBmp(b.data(), b.size());
    ASSERT_EQ(img.width, 2);
    EXPECT_EQ(img.pixels[2], 255);  // (0,0) red
    EXPECT_EQ(img.pixels[4], 255);  // (1,0) blue
    EXPECT_EQ(img.pixels[img.stride + 0], 255);  // (0,1) blue: top-down order kept
}

// A BMP built by hand: the 40-byte header, colour masks (when given), the palette as
// 0xRRGGBB values, then the pixel data as it stands in the file.
struct BmpParts {
    int width = 1, height = 1, bits = 8;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> masks;
    std::vector<std::uint32_t> palette;
    std::vector<std::uint8_t> data;
    bool os2 = false;  // the 12-byte header with 3-byte palette entries
};

std::vector<std::uint8_t> HandBmp(const BmpParts& p) {
    std::vector<std::uint8_t> b{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    auto put = [&b](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    if (p.os2) {
        put(12, 4), put(static_cast<std::uint32_t>(p.width), 2),
            put(static_cast<std::uint32_t>(p.height), 2);
        put(1, 2), put(static_cast<std::uint32_t>(p.bits), 2);
    } else {
        put(40, 4), put(static_cast<std::uint32_t>(p.width), 4),
            put(static_cast<std::uint32_t>(p.height), 4);
        put(1, 2), put(static_cast<std::uint32_t>(p.bits), 2), put(p.compression, 4);
        put(static_cast<std::uint32_t>(p.data.size()), 4), put(0, 4), put(0, 4);
        put(static_cast<std::uint32_t>(p.palette.size()), 4), put(0, 4);
    }
    for (std::uint32_t m : p.masks) put(m, 4);
    for (std::uint32_t c : p.palette) put(c, p.os2 ? 3 : 4);
    const auto offset = static_cast<std::uint32_t>(b.size());
    std::memcpy(&b[10], &offset, 4);
    b.insert(b.end(), p.data.begin(), p.data.end());
    const auto total = static_cast<std::uint32_t>(b.size());
    std::memcpy(&b[2], &total, 4);
    return b;
}

// Pixel (x, y) of a decoded picture as 0xRRGGBB.
std::uint32_t Rgb(const Image& img, int x, int y) {
    const std::uint8_t* p = &img.pixels[static_cast<std::size_t>(y) * img.stride + x * 4];
    return static_cast<std::uint32_t>(p[2] << 16 | p[1] << 8 | p[0]);
}

std::vector<std::uint32_t> Pixels(const Image& img) {
    std::vector<std::uint32_t> all;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) all.push_back(Rgb(img, x, y));
    return all;
}

Image Read(const std::vector<std::uint8_t>& b) {
    return platform::ReadBmp(b.data(), b.size());
}

const std::vector<std::uint32_t> kFour = {0x000000, 0xFF0000, 0x00FF00,
                                          0x0000FF};  // black, red, green, blue

TEST(ImageFiles, SixteenBitBmpWithAndWithoutMasks) {
    // Without masks 5-5-5: pure red, then r 16, g 8, b 1: 16 * 255 / 31 = 131.6 -> 132,
    // 8 * 255 / 31 = 65.8 -> 66, 255 / 31 = 8.2 -> 8. Rows are padded to 4 bytes.
    BmpParts plain{.width = 2, .height = 1, .bits = 16, .data = {0x00, 0x7C, 0x01, 0x41}};
    EXPECT_EQ(Pixels(Read(HandBmp(plain))), (std::vector<std::uint32_t>{0xFF0000, 0x844208}));
    // 5-6-5 masks: r 31, g 32 (32 * 255 / 63 = 129.5 -> 130), b 0; then pure blue.
    BmpParts masked{.width = 2,
                    .height = 1,
                    .bits = 16,
                    .compression = 3,
                    .masks = {0xF800, 0x07E0, 0x001F},
                    .data = {0x00, 0xFC, 0x1F, 0x00}};
    Image img = Read(HandBmp(masked));
    EXPECT_FALSE(img.hasAlpha);
    EXPECT_EQ(Pixels(img), (std::vector<std::uint32_t>{0xFF8200, 0x0000FF}));
}

TEST(ImageFiles, RunLengthEncodedBmps) {
    // 4 x 3, bottom row first: a run of three reds; three literal pixels (padded to a word);
    // a delta of two, then a run of three greens whose last pixel falls off the right edge.
    BmpParts rle8{.width = 4,
                  .height = 3,
                  .bits = 8,
                  .compression = 1,
                  .palette = kFour,
                  .data = {3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 2, 0, 3, 2, 0, 1}};
    EXPECT_EQ(Pixels(Read(HandBmp(rle8))),
              (std::vector<std::uint32_t>{0x000000, 0x000000, 0x00FF00, 0x00FF00,  //
                                          0x00FF00, 0x0000FF, 0xFF0000, 0x000000,  //
                                          0xFF0000, 0xFF0000, 0xFF0000, 0x000000}));
    // 5 x 2: a run alternating the nibbles 1 and 2; three literal nibbles 3, 1, 2.
    BmpParts rle4{.width = 5,
                  .height = 2,
                  .bits = 4,
                  .compression = 2,
                  .palette = kFour,
                  .data = {5, 0x12, 0, 0, 0, 3, 0x31, 0x20, 0, 1}};
    EXPECT_EQ(Pixels(Read(HandBmp(rle4))),
              (std::vector<std::uint32_t>{0x0000FF, 0xFF0000, 0x00FF00, 0x000000, 0x000000,  //
                                          0xFF0000, 0x00FF00, 0xFF0000, 0x00FF00, 0xFF0000}));
}

TEST(ImageFiles, OneBitBmpsWithBothHeaders) {
    // 10 pixels 1010000011, the row padded to 4 bytes.
    const std::vector<std::uint32_t> expected{0xFFFFFF, 0, 0xFFFFFF, 0,        0,
                                              0,        0, 0,        0xFFFFFF, 0xFFFFFF};
    BmpParts mono{.width = 10,
                  .height = 1,
                  .bits = 1,
                  .palette = {0x000000, 0xFFFFFF},
                  .data = {0xA0, 0xC0, 0, 0}};
    EXPECT_EQ(Pixels(Read(HandBmp(mono))), expected);
    mono.os2 = true;
    EXPECT_EQ(Pixels(Read(HandBmp(mono))), expected);
}

TEST(ImageFiles, DamagedVariantsAreRefused) {
    BmpParts rle8{.width = 4,
                  .height = 2,
                  .bits = 8,
                  .compression = 1,
                  .palette = kFour,
                  .data = {3, 1, 0, 0, 4, 2}};
    BmpParts literalCut = rle8;
    literalCut.data = {0, 5, 1, 2};
    BmpParts wrongDepth = rle8;
    wrongDepth.bits = 4;
    BmpParts topDown = rle8;
    topDown.height = -2;
    BmpParts huge = rle8;
    huge.width = 20000;
    BmpParts masks24{.width = 1,
                     .height = 1,
                     .bits = 24,
                     .compression = 3,
                     .masks = {0xFF0000, 0xFF00, 0xFF},
                     .data = {0, 0, 0, 0}};
    BmpParts shortRows{.width = 3, .height = 2, .bits = 16, .data = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
    struct Row {
        const char* name;
        BmpParts parts;
        const char* message;
    } rows[] = {
        {"no end of the picture", rle8, "BMP: the compressed data ends early"},
        {"literal pixels cut off", literalCut, "BMP: the compressed data ends early"},
        {"RLE8 at 4 bits", wrongDepth, "BMP: the compression does not fit the depth"},
        {"top-down RLE", topDown, "BMP: a compressed picture cannot be top-down"},
        {"RLE too wide", huge, "BMP: unsupported picture size"},
        {"masks at 24 bits", masks24, "BMP: colour masks need 16 or 32 bits"},
        {"16-bit rows cut off", shortRows, "BMP: the pixel data ends early"},
    };
    for (const Row& r : rows) {
        try {
            Read(HandBmp(r.parts));
            ADD_FAILURE() << r.name << " was accepted";
        } catch (const ImageError& e) {
            EXPECT_STREQ(e.what(), r.message) << r.name;
        }
    }
}

TEST(ImageFiles, DamagedInputIsAClearErrorNeverACrash) {
    std::vector<std::uint8_t> bmp = PaletteBmp();
    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
        Image (*read)(const std::vector<std::uint8_t>&);
    };
    auto readBmp = [](const std::vector<std::uint8_t>& v) { return platform::ReadBmp(v.data(), v.size()); };
    auto readPng = [](const std::vector<std::uint8_t>& v) { return platform::ReadPng(v.data(), v.size()); };
    auto readJpeg = [](const std::vector<std::uint8_t>& v) { return platform::ReadJpeg(v.data(), v.size()); };
    std::vector<std::uint8_t> truncatedBmp(bmp.begin(), bmp.end() - 3);
    std::vector<std::uint8_t> hugeBmp = bmp;
    std::int32_t huge = 100000;
    std::memcpy(&hugeBmp[18], &huge, 4);
    std::vector<std::uint8_t> badPalette = bmp;
    std::int32_t colors = 5000;
    std::memcpy(&badPalette[46], &colors, 4);
    Image img = Pattern(4, 4);
    std::string path = TempPath("cut.png");
    platform::WritePng(path, img.Buffer(), false);
    std::vector<std::uint8_t> png = platform::ReadFileBytes(path);
    std::remove(path.c_str());
    std::vector<std::uint8_t> truncatedPng(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(png.size() / 2));
    std::vector<std::uint8_t> hugePng = png;
    hugePng[16] = 0x7F;  // width 2^30 and more in the IHDR chunk
    std::vector<std::uint8_t> jpegHeaderOnly = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0};
    Row rows[] = {{"truncated bmp", truncatedBmp, readBmp}, {"huge bmp", hugeBmp, readBmp},
                  {"bad palette", badPalette, readBmp},     {"empty bmp", {}, readBmp},
                  {"truncated png", truncatedPng, readPng}, {"huge png", hugePng, readPng},
                  {"not png", bmp, readPng},                {"jpeg header only", jpegHeaderOnly, readJpeg},
                  {"not jpeg", png, readJpeg}};
    for (const Row& r : rows) {
        try {
            r.read(r.bytes);
            ADD_FAILURE() << r.name << " was accepted";
        } catch (const ImageError& e) {
            EXPECT_GT(std::strlen(e.what()), 5u) << r.name;
        }
    }
}

}  // namespace
