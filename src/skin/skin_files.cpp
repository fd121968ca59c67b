#include "skin/skin_files.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "skin/skin_archive.h"
#include "skin/skin_text.h"

namespace fs = std::filesystem;

namespace skin {
namespace {

bool Exists(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

// The entry of `dir` whose name equals `name` ignoring ASCII case, or empty.
std::string MatchInFolder(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::string candidate = it->path().filename().string();
        if (EqualsNoCase(candidate, name)) return candidate;
    }
    return {};
}

}  // namespace

std::string SlashPath(const std::string& path) {
    std::string out = path;
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::string ResolveSkinPath(const std::string& path) {
    std::string slashed = SlashPath(path);
    if (slashed.empty() || Exists(slashed)) return slashed;
    fs::path result = slashed.front() == '/' ? fs::path("/") : fs::path();
    std::size_t pos = 0;
    while (pos <= slashed.size()) {
        std::size_t next = slashed.find('/', pos);
        if (next == std::string::npos) next = slashed.size();
        std::string part = slashed.substr(pos, next - pos);
        pos = next + 1;
        if (part.empty() || part == "." || part == "..") {
            if (!part.empty()) result /= part;
            continue;
        }
        fs::path exact = result / part;
        if (Exists(exact)) {
            result = exact;
            continue;
        }
        std::string match = MatchInFolder(result, part);
        if (match.empty()) return slashed;
        result /= match;
    }
    return result.string();
}

bool IsFile(const std::string& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

bool IsDirectory(const std::string& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

bool SkinFileExists(const std::string& path) { return IsFile(ResolveSkinPath(path)); }
bool SkinDirectoryExists(const std::string& path) { return IsDirectory(ResolveSkinPath(path)); }

std::vector<std::uint8_t> ReadWholeFile(const std::string& p, std::int64_t limit) {
    if (limit < 0) limit = kMaxSkinBytes;
    std::ifstream f(p, std::ios::binary | std::ios::ate);
    if (!f) throw framework::EInOutError(2);
    std::streamoff size = f.tellg();
    if (size < 0) throw framework::EInOutError(100);
    if (size > limit)
        throw ESkinArchiveError("Damaged skin: the file " + p + " is larger than " +
                                SizeText(limit));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    f.seekg(0);
    if (size > 0 && !f.read(reinterpret_cast<char*>(bytes.data()), size)) throw framework::EInOutError(100);
    return bytes;
}

std::string ExecutableDir() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    std::string dir = exe.parent_path().string();
    if (dir.empty() || dir.back() != '/') dir.push_back('/');
    return dir;
}

std::vector<std::string> DirectoryEntries(const std::string& p) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(p, ec), end;
    for (; !ec && it != end; it.increment(ec)) names.push_back(it->path().filename().string());
    return names;
}

}  // namespace skin
