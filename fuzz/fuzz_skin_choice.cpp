// Any bytes in the remembered-skin file give either no choice or one name the skin folder can
// hold: never longer than the limit, never a path out of the folder, never a second line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/skin_choice.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string name = app::ParseSkinChoice(bytes);
    if (name.empty()) return 0;
    if (size > app::kSkinChoiceMaxBytes || name.size() > app::kSkinNameMaxBytes) std::abort();
    if (!app::IsValidSkinName(name) || name.front() == '.') std::abort();
    if (name.find_first_of("/\\\r\n") != std::string::npos) std::abort();
    // What was read is what a write of it puts back.
    if (app::ParseSkinChoice(name + "\n") != name) std::abort();
    return 0;
}
