// Writing the shipped skins into a folder, and checking that a folder holds exactly them.
#pragma once

#include <string>

namespace skinart {

// Writes every shipped skin into dir/NAME/. Returns the exit code.
int WriteShippedSkins(const std::string& dir);
// Draws every shipped skin into a temporary folder and compares it byte for byte with
// dir/NAME/; a file that differs, is missing or is left over is named on stderr (exit 1).
int CheckShippedSkins(const std::string& dir);

}  // namespace skinart
