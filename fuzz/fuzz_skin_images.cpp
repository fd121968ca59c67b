// An archive with an options text whose pictures are fuzzed bytes: every decoder path of the
// image entries must load or fail cleanly.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/image_files.h"
#include "skin/skin_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const skin::TsOptionsText options = skin::TsOptionsText::Parse(
        "[GLOBALINFO]\nMASTERBITMAP=M.BMP\n[PANEL]\nBORDERSMASK=!P.PNG!3!1!0\nGLYPH=!B.BMP!1!0!2!1!1!1!1\n"
        "PATTERN=T.JPG\nOLD=O.BMP\n");
    skin::TacSkinConvertor archive;
    std::vector<std::uint8_t> bytes(data, data + size);
    for (const char* name : {"M.BMP", "P.PNG", "B.BMP", "T.JPG", "O.BMP"})
        archive.ImageItems.push_back({name, false, bytes});
    skin::TsLoadSource source;
    source.options = &options;
    source.archive = &archive;
    skin::TsSkinModel model;
    try {
        skin::LoadModel(model, source);
    } catch (const framework::Exception&) {
    } catch (const platform::ImageError&) {
    }
    return 0;
}
