// The small dialog that stands in for a file chooser when none can run: a path edit with OK
// and Cancel in the standard look.
#pragma once

#include <optional>
#include <string>

#include "platform/types.h"

namespace shell {

// Runs the dialog modally over the owner; the typed path (relative ones joined to `folder`)
// when confirmed with a non-empty text, nothing when cancelled.
std::optional<std::string> RunPathDialog(HWND owner, const std::string& title, const std::string& folder,
                                         const std::string& text);

}  // namespace shell
