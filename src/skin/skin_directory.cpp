// Where skins are looked for: the skin directory resolved against the executable's folder,
// and the list of skins found there.
#include <algorithm>

#include "skin/skin_files.h"
#include "skin/skin_manager.h"
#include "skin/skin_text.h"

namespace skin {
namespace {

std::string& ExecutableDirOverride() {
    static std::string dir;
    return dir;
}

bool EndsWithSeparator(const std::string& s) { return !s.empty() && (s.back() == '\\' || s.back() == '/'); }

}  // namespace

std::string SkinExecutableDir() {
    std::string dir = ExecutableDirOverride().empty() ? ExecutableDir() : ExecutableDirOverride();
    if (!EndsWithSeparator(dir)) dir.push_back('/');
    return dir;
}

void SetSkinExecutableDir(const std::string& dir) { ExecutableDirOverride() = dir; }

std::string DirWithSlash(const std::string& text) {
    if (text.empty()) return text;
    std::string out = text;
    if (out.back() == '\\') return out;
    if (out.back() == '/') {
        out.back() = '\\';
        return out;
    }
    out.append(out.size() == 1 ? ":\\" : "\\");
    return out;
}

std::string TsSkinManager::FullSkinDirectory() const {
    const std::string& d = skinDirectory_;
    std::string exe = SkinExecutableDir();
    if (d.rfind("..", 0) == 0) {
        std::string parent = exe.substr(0, exe.size() - 1);
        while (!parent.empty() && !EndsWithSeparator(parent)) parent.pop_back();
        parent.append(d.size() > 3 ? d.substr(3) : std::string());
        return parent;
    }
    if (d.rfind(".\\", 0) == 0 || d.rfind("./", 0) == 0) return exe + d.substr(2);
    // An absolute path of this platform is used as it is.
    if (!d.empty() && d.front() == '/') return d;
    if (d.find(':') == std::string::npos && d.find("\\\\") == std::string::npos) return exe + d;
    return d;
}

std::string TsSkinManager::ListSkins(std::vector<std::string>& list, int kind) const {
    list.clear();
    std::string first;
    auto add = [&](const std::string& name) {
        if (first.empty() && list.empty()) first = name;
        list.push_back(name);
    };
    for (const TsStoredSkin& s : InternalSkins) add(s.Name);
    std::string dir = ResolveSkinPath(FullSkinDirectory());
    if (IsDirectory(dir)) {
        for (const std::string& entry : DirectoryEntries(dir)) {
            if (entry.empty() || entry.front() == '.') continue;
            std::string path = dir + "/" + entry;
            if (IsDirectory(path)) {
                if ((kind == 0 || kind == 2) && SkinFileExists(path + "/Options.dat")) add(entry);
            } else if (kind == 1 || kind == 2) {
                // Named without the final extension only, so that loading the listed name
                // finds the same file ("Night.v2.asz" is "Night.v2").
                std::size_t dot = entry.rfind('.');
                if (dot != std::string::npos && entry.substr(dot) == ".asz")
                    add(entry.substr(0, dot));
            }
        }
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const std::string& a, const std::string& b) { return UpperCase(a) < UpperCase(b); });
    return first;
}

}  // namespace skin
