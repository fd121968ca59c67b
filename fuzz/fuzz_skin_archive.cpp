// Any bytes must parse as a skin archive or fail with one of the reader's errors.
#include <cstddef>
#include <cstdint>

#include "skin/skin_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto reader = std::make_unique<skin::TacSkinConvertor>();
    reader->SetArchiveStream(std::span<const std::uint8_t>(data, size));
    try {
        skin::ParseArchive(reader);
        if (reader) (void)reader->FindItem("MASTER.BMP");
    } catch (const framework::Exception&) {
    }
    return 0;
}
