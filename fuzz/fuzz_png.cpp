// Any input must decode or raise ImageError; nothing else may happen.
#include <cstddef>
#include <cstdint>

#include "platform/image_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        platform::Image image = platform::ReadPng(data, size);
        (void)image;
    } catch (const platform::ImageError&) {
    }
    return 0;
}
