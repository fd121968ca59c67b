// Writes a whole skin folder from a palette: the options text, the master bitmap and the
// glow pictures.
#pragma once

#include <string>
#include <vector>

#include "palette.h"

namespace skinart {

// The skins we ship, in the order they are written.
const std::vector<const Palette*>& ShippedSkins();

// Writes Options.dat and the pictures of the skin into dir (which must exist).
void WriteSkin(const Palette& palette, const std::string& dir);

// The file names WriteSkin writes.
std::vector<std::string> SkinFileNames();

}  // namespace skinart
