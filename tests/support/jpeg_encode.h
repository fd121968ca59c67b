// Encodes test pictures as JPEG in memory, for the tests of the readers that decode them.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

#include <jpeglib.h>
#undef TRUE
#undef FALSE

namespace test_support {

// px(x, y) gives each pixel as 0x00RRGGBB.
inline std::vector<std::uint8_t> EncodeJpeg(int w, int h, int quality, const std::function<std::uint32_t(int, int)>& px) {
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
    jpeg_set_quality(&c, quality, 1);
    jpeg_start_compress(&c, 1);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(w) * 3);
    while (c.next_scanline < c.image_height) {
        for (int x = 0; x < w; ++x) {
            std::uint32_t v = px(x, static_cast<int>(c.next_scanline));
            row[x * 3] = static_cast<JSAMPLE>(v >> 16);
            row[x * 3 + 1] = static_cast<JSAMPLE>(v >> 8);
            row[x * 3 + 2] = static_cast<JSAMPLE>(v);
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    std::vector<std::uint8_t> bytes(out, out + size);
    jpeg_destroy_compress(&c);
    std::free(out);
    return bytes;
}

}  // namespace test_support
