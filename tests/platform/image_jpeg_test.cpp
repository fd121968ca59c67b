// JPEG decoding of pictures made here with libjpeg's encoder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/image_files.h"
// After our headers: jpeglib.h defines TRUE and FALSE only when they are unset.
#include <jpeglib.h>

namespace {

std::vector<std::uint8_t> EncodeJpeg(int w, int h, int quality, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = static_cast<JDIMENSION>(w);
    c.image_height = static_cast<JDIMENSION>(h);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(w) * 3);
    for (int x = 0; x < w; ++x) row[x * 3] = r, row[x * 3 + 1] = g, row[x * 3 + 2] = b;
    while (c.next_scanline < c.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    std::vector<std::uint8_t> bytes(out, out + size);
    jpeg_destroy_compress(&c);
    std::free(out);
    return bytes;
}

TEST(ImageJpeg, DecodesToPaddedBgrRows) {
    std::vector<std::uint8_t> bytes = EncodeJpeg(33, 9, 95, 200, 100, 50);
    platform::Image img = platform::ReadJpeg(bytes.data(), bytes.size());
    EXPECT_EQ(img.width, 33);
    EXPECT_EQ(img.height, 9);
    EXPECT_EQ(img.bitsPerPixel, 24);
    EXPECT_EQ(img.stride, 100);  // 99 bytes padded to 4
    const std::uint8_t* p = &img.pixels[static_cast<std::size_t>(4) * img.stride + 16 * 3];
    EXPECT_NEAR(p[0], 50, 4);
    EXPECT_NEAR(p[1], 100, 4);
    EXPECT_NEAR(p[2], 200, 4);
}

TEST(ImageJpeg, EveryTruncationIsAnErrorOrAPicture) {
    std::vector<std::uint8_t> bytes = EncodeJpeg(16, 16, 80, 10, 20, 30);
    for (std::size_t n = 0; n < bytes.size(); n += 7) {
        try {
            platform::Image img = platform::ReadJpeg(bytes.data(), n);
            EXPECT_EQ(img.width, 16);  // libjpeg may pad a cut-off tail with grey
        } catch (const platform::ImageError&) {
        }
    }
}

}  // namespace
