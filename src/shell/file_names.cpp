#include "shell/file_names.h"

#include <filesystem>
#include <system_error>

namespace shell {

bool ValidFileName(const std::string& name) {
    static constexpr char kForbidden[] = "<>\"|*?\r\n\x1a";
    return !name.empty() && name.find_first_of(kForbidden, 0, sizeof kForbidden - 1) == std::string::npos;
}

std::string ExtractFilePath(const std::string& path) {
    std::size_t sep = path.find_last_of("/\\");
    return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

std::string ExtractFileName(const std::string& path) {
    std::size_t sep = path.find_last_of("/\\");
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string InitialFolder(const std::string& folder) {
    std::string f = folder;
    bool trailing = !f.empty() && (f.back() == '/' || f.back() == '\\');
    bool keep = f.size() == 1 || (f.size() >= 2 && f[f.size() - 2] == ':');
    if (trailing && !keep) f.pop_back();
    return f;
}

bool DirectoryExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

std::string CutUtf8(const std::string& text, std::size_t bytes) {
    if (text.size() <= bytes) return text;
    // Back to the lead byte of the character the limit falls in; no more than a character's
    // length, so text that is no UTF-8 at all is still cut at the limit.
    constexpr std::size_t kMaxCharacter = 4;
    std::size_t cut = bytes;
    auto continuation = [&](std::size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; };
    while (cut > 0 && bytes - cut < kMaxCharacter - 1 && continuation(cut)) --cut;
    return text.substr(0, cut);
}

}  // namespace shell
