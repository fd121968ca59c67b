// Skins made by code for tests and benchmarks: pictures (BMP, PNG, JPEG) built in memory, an
// options text, written as a folder or packed as an archive.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/image_files.h"
#include "skin/skin_archive.h"

// After the platform headers: libjpeg defines TRUE and FALSE as macros, which would clash.
#include "../support/jpeg_encode.h"

namespace skin_testing {

using Bytes = std::vector<std::uint8_t>;
// Colour of pixel (x, y) as 0xAARRGGBB.
using PixelFn = std::function<std::uint32_t(int x, int y)>;

inline std::uint32_t Gradient(int x, int y) {
    return 0xFF000000u | static_cast<std::uint32_t>((x * 7) & 0xFF) << 16 | static_cast<std::uint32_t>((y * 5) & 0xFF) << 8 | 0x40;
}

// An uncompressed bottom-up BMP of 24 or 32 bits.
inline Bytes MakeBmp(int w, int h, int bits = 24, const PixelFn& px = Gradient) {
    const int bpp = bits / 8, stride = (w * bpp + 3) & ~3;
    Bytes b(54 + static_cast<std::size_t>(stride) * h, 0);
    auto put = [&b](std::size_t at, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    b[0] = 'B', b[1] = 'M';
    put(2, static_cast<std::uint32_t>(b.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(w), 4);
    put(22, static_cast<std::uint32_t>(h), 4);
    put(26, 1, 2);
    put(28, static_cast<std::uint32_t>(bits), 2);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = b.data() + 54 + static_cast<std::size_t>(h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            std::uint32_t c = px(x, y);
            std::uint8_t* p = row + x * bpp;
            p[0] = static_cast<std::uint8_t>(c), p[1] = static_cast<std::uint8_t>(c >> 8), p[2] = static_cast<std::uint8_t>(c >> 16);
            if (bpp == 4) p[3] = static_cast<std::uint8_t>(c >> 24);
        }
    }
    return b;
}

inline Bytes ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// A PNG with alpha (withAlpha) or without.
inline Bytes MakePng(int w, int h, bool withAlpha, const PixelFn& px = Gradient) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t c = px(x, y);
            std::memcpy(&pixels[(static_cast<std::size_t>(y) * w + x) * 4], &c, 4);
        }
    char path[] = "/tmp/skin_png_XXXXXX";
    int fd = mkstemp(path);
    if (fd >= 0) close(fd);
    platform::gdi::PixelBuffer buffer{pixels.data(), w, h, w * 4, 32};
    platform::WritePng(path, buffer, withAlpha);
    Bytes bytes = ReadAll(path);
    std::remove(path);
    return bytes;
}

inline Bytes MakeJpeg(int w, int h, const PixelFn& px = Gradient) { return test_support::EncodeJpeg(w, h, 90, px); }

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A folder of its own under /tmp, removed with everything in it.
class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/skin_test_XXXXXX";
        path_ = mkdtemp(pattern) ? pattern : "/tmp";
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline void WriteFile(const std::string& path, const Bytes& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// An options text and its pictures.
struct SkinFiles {
    std::string options;
    std::map<std::string, Bytes> files;  // name as stored -> content

    void WriteFolder(const std::string& dir) const {
        WriteFile(dir + "/Options.dat", Text(options));
        for (const auto& [name, bytes] : files) WriteFile(dir + "/" + name, bytes);
    }
    Bytes Packed(const std::string& optionsName = "Options.dat") const {
        std::vector<skin::ArchiveEntry> entries{{optionsName, Text(options)}};
        for (const auto& [name, bytes] : files) entries.push_back({name, bytes});
        return skin::WriteArchive(entries);
    }
    void WritePacked(const std::string& path) const { WriteFile(path, Packed()); }
};

}  // namespace skin_testing
