// Writes test melodies and reads back what the sink recorded, without any audio library.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace wav {

inline void Put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>(v >> 8);
}
inline void Put32(std::string& out, uint32_t v) {
    Put16(out, static_cast<uint16_t>(v & 0xffff));
    Put16(out, static_cast<uint16_t>(v >> 16));
}
inline uint32_t Get32(const std::string& b, std::size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
           static_cast<uint8_t>(b[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
inline uint16_t Get16(const std::string& b, std::size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

// 16-bit PCM sine at 440 Hz.
inline void WriteSine(const std::string& path, uint32_t rate, uint16_t channels, uint32_t frames) {
    const uint32_t data_bytes = frames * channels * 2;
    std::string out;
    out += "RIFF";
    Put32(out, 36 + data_bytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, channels);
    Put32(out, rate);
    Put32(out, rate * channels * 2);
    Put16(out, static_cast<uint16_t>(channels * 2));
    Put16(out, 16);
    out += "data";
    Put32(out, data_bytes);
    for (uint32_t i = 0; i < frames; ++i) {
        const auto v = static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440.0 * i / rate));
        for (uint16_t c = 0; c < channels; ++c) Put16(out, static_cast<uint16_t>(v));
    }
    std::ofstream(path, std::ios::binary) << out;
}

struct Info {
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint16_t bits = 0;
    uint32_t frames = 0;
    bool finalized = false;  // RIFF and data sizes agree with the file's length
};

inline std::optional<Info> Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return std::nullopt;
    Info info;
    bool riff_ok = Get32(b, 4) + 8ull == b.size();
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const uint32_t size = Get32(b, at + 4);
        if (b.compare(at, 4, "fmt ") == 0 && at + 24 <= b.size()) {
            info.channels = Get16(b, at + 10);
            info.rate = Get32(b, at + 12);
            info.bits = Get16(b, at + 22);
        } else if (b.compare(at, 4, "data") == 0) {
            if (info.channels == 0 || info.bits == 0) return std::nullopt;
            info.frames = size / (info.channels * info.bits / 8);
            info.finalized = riff_ok && at + 8ull + size <= b.size();
            return info;
        }
        at += 8ull + size + (size & 1);
    }
    return std::nullopt;
}

}  // namespace wav
