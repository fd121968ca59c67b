// Boolean values in the settings file: TRUE/FALSE in any case, or a number (zero is false).
#pragma once

#include <string>
#include <string_view>

namespace app {

// `radix` is the locale's decimal separator, accepted besides ".". Anything else throws
// framework::EVariantTypeCastError.
bool StrToBoolean(const std::string& text, std::string_view radix = ".");

}  // namespace app
