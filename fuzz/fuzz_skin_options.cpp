// Any options text must load (sections, image entries, colours) or fail with a clean error.
// The first byte picks hue and saturation so the colour transformation is exercised too.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/image_files.h"
#include "skin/skin_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int selector = data[0];
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    skin::TsOptionsText options = skin::TsOptionsText::Parse(text);
    // Pictures come from an empty in-memory archive, so only master-bitmap forms make entries.
    skin::TacSkinConvertor archive;
    skin::TsLoadSource source;
    source.options = &options;
    source.archive = &archive;
    source.hueOffset = (selector & 1) ? 120 : 0;
    source.saturation = (selector & 2) ? -40 : 0;
    skin::TsSkinModel model;
    try {
        skin::LoadModel(model, source);
        for (std::size_t i = 0; i < model.Masks.size(); ++i) (void)model.MaskFrameWidths(static_cast<int>(i));
    } catch (const framework::Exception&) {
    } catch (const platform::ImageError&) {
    }
    return 0;
}
