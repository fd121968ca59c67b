// The section name the edit button carries until it is a skinned speed button itself; the
// skinned edits are in paint/edit.h and paint/mask_edit.h.
#pragma once

#include <string>

namespace shell {

// The skin section a control asks for.
struct TsSkinData {
    std::string SkinSection;
};

}  // namespace shell
