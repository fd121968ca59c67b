// File access for skins. Paths may use "\" or "/" as separators; a name whose exact spelling
// does not exist is found by a case-insensitive match, since skins are authored on file
// systems that ignore letter case.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skin {

// The path with "\" turned into "/".
std::string SlashPath(const std::string& path);
// The existing path that matches `path` component by component ignoring ASCII letter case
// (the exact spelling wins); `path` with "/" separators when nothing matches.
std::string ResolveSkinPath(const std::string& path);
bool IsFile(const std::string& resolvedPath);
bool IsDirectory(const std::string& resolvedPath);
// Shorthands that resolve first.
bool SkinFileExists(const std::string& path);
bool SkinDirectoryExists(const std::string& path);
// The whole file; a file above the limit (the skin memory limit unless given) is refused as
// a damaged skin. A file of exactly the limit is read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& resolvedPath, std::int64_t limit = -1);
// The folder of the running executable, ending with "/".
std::string ExecutableDir();
// Names in a folder (not "." and ".."), in the order the file system gives them.
std::vector<std::string> DirectoryEntries(const std::string& resolvedPath);

}  // namespace skin
