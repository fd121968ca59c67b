// JPEG through libjpeg-turbo with an error manager that jumps back here instead of exiting.
// Our headers first: jpeglib.h defines TRUE and FALSE as macros only when they are unset.
#include "platform/image_files.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace platform {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, err->message);
    std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr, int) {}

bool Decode(jpeg_decompress_struct* cinfo, ErrorManager* err, const std::uint8_t* data, std::size_t size, Image* image) {
    if (setjmp(err->jump)) return false;
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(cinfo, TRUE);
    if (cinfo->image_width > static_cast<unsigned>(kMaxImageSide) || cinfo->image_height > static_cast<unsigned>(kMaxImageSide) ||
        static_cast<std::int64_t>(cinfo->image_width) * cinfo->image_height > kMaxImagePixels) {
        std::snprintf(err->message, sizeof err->message, "the picture is too large (%ux%u)", cinfo->image_width,
                      cinfo->image_height);
        return false;
    }
    cinfo->out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(cinfo);
    image->width = static_cast<int>(cinfo->output_width);
    image->height = static_cast<int>(cinfo->output_height);
    image->bitsPerPixel = 24;
    image->stride = ((image->width * 3) + 3) & ~3;
    image->pixels.assign(static_cast<std::size_t>(image->stride) * image->height, 0);
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = image->pixels.data() + static_cast<std::size_t>(cinfo->output_scanline) * image->stride;
        jpeg_read_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

}  // namespace

Image ReadJpeg(const std::uint8_t* data, std::size_t size) {
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) throw ImageError("not a JPEG file");
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnError;
    err.base.emit_message = OnMessage;
    Image image;
    bool ok = Decode(&cinfo, &err, data, size, &image);
    jpeg_destroy_decompress(&cinfo);
    if (!ok) throw ImageError(std::string("JPEG: ") + err.message);
    return image;
}

}  // namespace platform
