// UTF-8 helpers for text that users type and paste.
#pragma once

#include <string>

namespace framework {

size_t NextCharBoundary(const std::string& s, size_t pos);
size_t PrevCharBoundary(const std::string& s, size_t pos);
std::string EncodeUtf8(char32_t c);
// The text with every byte that is not part of a well-formed UTF-8 sequence replaced by U+FFFD.
std::string ValidUtf8(const std::string& text);

}  // namespace framework
