// JPEG decoding of pictures made here with libjpeg's encoder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/image_files.h"
// After our headers: jpeglib.h defines TRUE and FALSE only when they are unset.
#include "support/jpeg_encode.h"

namespace {

std::vector<std::uint8_t> EncodeJpeg(int w, int h, int quality, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::uint32_t colour = static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 | b;
    return test_support::EncodeJpeg(w, h, quality, [colour](int, int) { return colour; });
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
