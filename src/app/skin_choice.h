// The skin the user chose last, remembered in a file of its own beside the settings file.
// The settings file keeps its 21 lines, which other copies of the program read, so the
// choice never goes there.
//
// The file holds one line, the skin's name as the skin manager loads it (a packed file name
// without ".asz" or a folder name), ended by a line feed. It is untrusted input: a file that
// is too long, not a regular file, or whose line is not a plain skin name counts as no choice,
// and the program falls back to its own skin.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace app {

inline constexpr const char* kDefaultSkin = "DarkGlass";
inline constexpr const char* kSkinChoiceFileName = "skin.txt";
// A longer file is none we wrote.
inline constexpr std::size_t kSkinChoiceMaxBytes = 256;
inline constexpr std::size_t kSkinNameMaxBytes = 128;

// A name the skin folder can hold as one entry: 1 to kSkinNameMaxBytes bytes, no path
// separator, no control character, not starting with "." (hidden entries are not listed, and
// ".." would leave the folder) and without blanks at either end.
bool IsValidSkinName(std::string_view name);

// The name in the file's bytes: one line, ended by LF or CR LF or by the end of the bytes.
// Empty when the bytes are no valid choice.
std::string ParseSkinChoice(std::string_view bytes);

// The remembered name, or empty when the file is missing, unreadable, not a regular file
// (a pipe would block the start), longer than kSkinChoiceMaxBytes or not valid.
std::string ReadSkinChoice(const std::string& path);

// Remembers the name (SaveFileReplacing: the previous file stays whole when the write fails).
// Throws framework::EInOutError; an invalid name is refused with "Invalid file name" and
// nothing is written.
void WriteSkinChoice(const std::string& path, const std::string& name);

}  // namespace app
