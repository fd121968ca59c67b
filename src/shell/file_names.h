// Rules for file names typed into edits and handed to file dialogs.
#pragma once

#include <string>

namespace shell {

// Not empty and none of < > " | * ?. A "/" separates folders here, so unlike on Windows it
// is allowed. CR, LF and Ctrl-Z are legal in Linux names but would break the line-per-value
// settings file, so they make a name invalid too.
bool ValidFileName(const std::string& name);
// The folder part up to and including the last separator ("/" or "\"); empty without one.
std::string ExtractFilePath(const std::string& path);
// The part after the last separator.
std::string ExtractFileName(const std::string& path);
// A folder as the dialogs keep it: without a trailing separator, except that the root "/"
// and a drive root ("c:\") keep theirs.
std::string InitialFolder(const std::string& folder);
bool DirectoryExists(const std::string& path);
// Cuts UTF-8 text to at most `bytes` bytes without splitting a character.
std::string CutUtf8(const std::string& text, std::size_t bytes);

}  // namespace shell
