// PNG through libpng, with errors turned into exceptions (libpng's longjmp never crosses C++
// frames: each callback only records the message and jumps back inside this file).
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/image_files.h"

namespace platform {
namespace {

struct ReadState {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset;
    char error[200];
};

void OnError(png_structp png, png_const_charp message) {
    auto* state = static_cast<ReadState*>(png_get_error_ptr(png));
    std::snprintf(state->error, sizeof state->error, "%s", message);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadBytes(png_structp png, png_bytep out, png_size_t count) {
    auto* state = static_cast<ReadState*>(png_get_io_ptr(png));
    if (state->size - state->offset < count) png_error(png, "the PNG data ends early");
    std::memcpy(out, state->data + state->offset, count);
    state->offset += count;
}

void Premultiply(Image& image) {
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* p = image.pixels.data() + static_cast<std::size_t>(y) * image.stride;
        for (int x = 0; x < image.width; ++x, p += 4) {
            unsigned a = p[3];
            for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>((p[c] * a + 127) / 255);
        }
    }
}

// The part that may longjmp: no C++ objects with destructors live in this frame.
bool DecodeInto(png_structp png, png_infop info, Image* image, std::vector<png_bytep>* rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, png_get_error_ptr(png), ReadBytes);
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_read_info(png, info);
    png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    if (static_cast<std::int64_t>(w) * h > kMaxImagePixels) png_error(png, "the picture is too large");
    int color = png_get_color_type(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    if (color == PNG_COLOR_TYPE_GRAY || color == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    image->width = static_cast<int>(w);
    image->height = static_cast<int>(h);
    image->stride = image->width * 4;
    image->hasAlpha = (color & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    image->pixels.resize(static_cast<std::size_t>(image->stride) * image->height);
    rows->resize(image->height);
    for (int y = 0; y < image->height; ++y) (*rows)[y] = image->pixels.data() + static_cast<std::size_t>(y) * image->stride;
    png_read_image(png, rows->data());
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

Image ReadPng(const std::uint8_t* data, std::size_t size, AlphaMode mode) {
    ReadState state{data, size, 0, "corrupt PNG data"};
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0) throw ImageError("not a PNG file");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning);
    if (!png) throw ImageError("libpng cannot start");
    png_infop info = png_create_info_struct(png);
    Image image;
    std::vector<png_bytep> rows;
    bool ok = info && DecodeInto(png, info, &image, &rows);
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    if (!ok) throw ImageError(std::string("PNG: ") + state.error);
    if (mode == AlphaMode::Premultiplied && image.hasAlpha) Premultiply(image);
    return image;
}

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool EncodeTo(png_structp png, png_infop info, std::FILE* file, const gdi::PixelBuffer& px, bool withAlpha,
              std::vector<std::uint8_t>* row) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(px.width), static_cast<png_uint_32>(px.height), 8,
                 withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    int channels = withAlpha ? 4 : 3;
    row->resize(static_cast<std::size_t>(px.width) * channels);
    for (int y = 0; y < px.height; ++y) {
        const std::uint8_t* in = px.Row(y);
        std::uint8_t* out = row->data();
        for (int x = 0; x < px.width; ++x, in += 4, out += channels) {
            out[0] = in[2], out[1] = in[1], out[2] = in[0];
            if (withAlpha) out[3] = in[3];
        }
        png_write_row(png, row->data());
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

void WritePng(const std::string& path, const gdi::PixelBuffer& px, bool withAlpha) {
    if (px.IsEmpty() || px.bitsPerPixel != 32) throw ImageError("only 32-bit pixels can be written as PNG");
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) throw ImageError("cannot create " + path);
    ReadState state{nullptr, 0, 0, "cannot write PNG"};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning);
    if (!png) throw ImageError("libpng cannot start");
    png_infop info = png_create_info_struct(png);
    std::vector<std::uint8_t> row;
    bool ok = info && EncodeTo(png, info, file.get(), px, withAlpha, &row);
    png_destroy_write_struct(&png, info ? &info : nullptr);
    if (!ok || std::fflush(file.get()) != 0) throw ImageError("PNG: " + std::string(state.error) + " (" + path + ")");
}

}  // namespace platform
