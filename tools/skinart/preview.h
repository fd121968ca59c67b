// Paints a loaded skin the way the alarm clock's window would look with it (an active and an
// inactive window, the popup menu, every glyph enlarged) into a PNG, for a person to judge.
#pragma once

#include <string>

namespace skinart {

// skinPath: a skin folder or .asz file. Returns a message on failure, empty on success.
std::string PreviewSkin(const std::string& skinPath, const std::string& outPng);

}  // namespace skinart
