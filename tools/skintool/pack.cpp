// Packs a skin folder into an archive: the options entry first, then every picture the
// options text names, each once.
#include <cstdio>
#include <fstream>
#include <set>
#include <stdexcept>

#include "commands.h"
#include "skin/skin_archive.h"
#include "skin/skin_files.h"
#include "skin/skin_options.h"
#include "skin/skin_text.h"

namespace skintool {
namespace {

using namespace skin;

bool NamesPicture(const std::string& upper) {
    for (const char* ext : {".BMP", ".PNG", ".JPG", ".JPEG"})
        if (upper.find(ext) != std::string::npos) return true;
    return false;
}

// The file a value refers to: word 1 of a "!" value, the whole value otherwise.
std::string FileOfValue(const std::string& value) {
    if (value.empty() || value.find('#') != std::string::npos) return {};
    if (value.front() != '!') return value;
    std::size_t start = value.find_first_not_of('!');
    if (start == std::string::npos) return {};
    std::size_t end = value.find('!', start);
    return value.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// An archive entry holds at least one byte (the reader refuses a size of 0), so an empty
// file would pack into an archive that does not load.
class EmptyFile : public std::runtime_error {
  public:
    explicit EmptyFile(const std::string& path)
        : std::runtime_error(path + " is empty: an empty file cannot be packed") {}
};

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    if (bytes.empty()) throw EmptyFile(path);
    return bytes;
}

}  // namespace

int Pack(const std::string& folder, const std::string& out) {
    try {
        std::string dir = ResolveSkinPath(folder);
        if (!dir.empty() && dir.back() != '/') dir.push_back('/');
        std::string optionsPath = ResolveSkinPath(dir + "Options.dat");
        if (!IsFile(optionsPath)) {
            std::fprintf(stderr, "%s holds no Options.dat\n", folder.c_str());
            return 1;
        }
        std::vector<ArchiveEntry> entries;
        entries.push_back({"Options.dat", ReadBytes(optionsPath)});
        const auto& bytes = entries.front().data;
        TsOptionsText text = TsOptionsText::Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        std::set<std::string> taken;
        for (const TsOptionsText::Section& s : text.Sections())
            for (const TsOptionsText::Key& k : s.keys) {
                std::string file = FileOfValue(k.value);
                std::string upper = UpperCase(file);
                if (file.empty() || file.find(':') != std::string::npos || !NamesPicture(upper)) continue;
                if (!taken.insert(upper).second) continue;
                std::string path = ResolveSkinPath(dir + file);
                if (!IsFile(path)) continue;
                entries.push_back({file, ReadBytes(path)});
            }
        std::vector<std::uint8_t> archive = WriteArchive(entries);
        std::ofstream f(out, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
        f.close();
        if (!f) {
            std::fprintf(stderr, "cannot write %s\n", out.c_str());
            return 1;
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

}  // namespace skintool
