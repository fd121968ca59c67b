// The three commands of skintool; each returns the process exit code.
#pragma once

#include <string>

namespace skintool {

int Inspect(const std::string& skin, bool json);
int Pack(const std::string& folder, const std::string& out);
int List(const std::string& dir);

}  // namespace skintool
