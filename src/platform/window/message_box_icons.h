// The message-box icons, drawn by our own code: 32 x 32, 32-bit premultiplied alpha.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace platform::win {

enum class BoxIcon { None, Error, Warning, Information, Question };

// Top-down BGRA pixels, premultiplied, size x size.
std::vector<std::uint32_t> RenderBoxIcon(BoxIcon icon, int size);

}  // namespace platform::win
