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
