#include "skin_check.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "skin_writer.h"

namespace skinart {
namespace {

namespace fs = std::filesystem;

std::vector<char> Bytes(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// Removes a temporary folder whatever happens.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "skinart-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

int CompareSkin(const fs::path& fresh, const fs::path& kept, const std::string& name) {
    int faults = 0;
    std::set<std::string> expected;
    for (const std::string& file : SkinFileNames()) {
        expected.insert(file);
        if (!fs::exists(kept / file)) {
            std::fprintf(stderr, "%s: %s is missing\n", name.c_str(), file.c_str());
            ++faults;
        } else if (Bytes(fresh / file) != Bytes(kept / file)) {
            std::fprintf(stderr, "%s: %s differs from what skinart draws\n", name.c_str(),
                         file.c_str());
            ++faults;
        }
    }
    if (fs::is_directory(kept))
        for (const fs::directory_entry& e : fs::directory_iterator(kept))
            if (!expected.count(e.path().filename().string())) {
                std::fprintf(stderr, "%s: %s is not drawn by skinart\n", name.c_str(),
                             e.path().filename().c_str());
                ++faults;
            }
    return faults;
}

}  // namespace

int WriteShippedSkins(const std::string& dir) {
    for (const Palette* p : ShippedSkins()) {
        fs::path folder = fs::path(dir) / p->name;
        fs::create_directories(folder);
        WriteSkin(*p, folder.string());
    }
    return 0;
}

int CheckShippedSkins(const std::string& dir) {
    TempDir temp;
    int faults = 0;
    for (const Palette* p : ShippedSkins()) {
        fs::path fresh = temp.Path() / p->name;
        fs::create_directories(fresh);
        WriteSkin(*p, fresh.string());
        faults += CompareSkin(fresh, fs::path(dir) / p->name, p->name);
    }
    if (faults) std::fprintf(stderr, "run `skinart write %s` and commit the result\n", dir.c_str());
    return faults ? 1 : 0;
}

}  // namespace skinart
