// Text helpers of the skin files: ASCII case mapping, trimming, the strict and lenient integer
// readers, and the conversion error every malformed number in a skin raises.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace skin {

std::string UpperCase(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Without leading and trailing blanks and control characters.
std::string_view Trim(std::string_view s);

// Optional leading spaces, optional sign, decimal digits, or hex digits after "$", "x", "X",
// "0x" or "0X"; the value must fit 32 bits. Empty optional for anything else.
std::optional<std::int32_t> ParseInteger(std::string_view text);
// As ParseInteger, raising "'%s' is not a valid integer value" on failure.
std::int32_t StrToInt(std::string_view text);
// A decimal number with "." as separator, whatever the locale.
std::optional<double> ParseReal(std::string_view text);

// The number in the 1-based character positions [from, to] of a fixed-column value.
std::int32_t FixedField(std::string_view value, std::size_t from, std::size_t to);

}  // namespace skin
