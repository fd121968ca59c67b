// Saving a small file the user keeps beside the program (the settings file) without losing
// what the user arranged around it: its permissions, a link that points elsewhere, a
// read-only mark, or a folder only the file itself may be written in.
#pragma once

#include <string>
#include <string_view>

namespace app {

// Replaces the contents of the file at `path` by `content`. Throws framework::EInOutError.
//
// - A symbolic link is followed to its final target, which is replaced in its own folder;
//   the link stays a link.
// - A file that may not be written is refused with code 5 ("File access denied") and left
//   untouched: one the process lacks write permission for, and one with no write bit at all.
//   The latter is the read-only mark of this platform, and like the Windows attribute it
//   binds an administrator (root) too.
// - The new file keeps the old one's permission bits and, where allowed, its owner and
//   group; a new file gets 0666 less the umask.
// - The content goes to a temporary file beside the target (SaveTemporaryPath), is flushed
//   to the disk and renamed over the target, so a failure or a crash leaves the old file
//   whole. Where the folder may not be written but the file may, the file is rewritten in
//   place (truncate, write, fsync), the only way left; a failure part-way can then leave it
//   partly written, as a plain save would.
void SaveFileReplacing(const std::string& path, std::string_view content);

// The temporary file a save of `path` writes: beside the link's final target.
std::string SaveTemporaryPath(const std::string& path);

// Removes a temporary file an earlier run left behind when it died before renaming.
void RemoveStaleSaveTemporary(const std::string& path);

}  // namespace app
