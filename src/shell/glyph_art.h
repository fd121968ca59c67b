// The artwork of the edit-button glyphs as drawn by code; the program uses the PNG pictures
// made from it (see edit_glyphs.h).
#pragma once

#include <vector>

#include "shell/edit_glyphs.h"

namespace shell {

std::vector<GlyphStrip> DrawGlyphArt();

}  // namespace shell
