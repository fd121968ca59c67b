// Small bitmaps and skin models for pixel-exact tests of the painting layer. Colours are
// TColor values ($00BBGGRR) so they compare directly with what the painters are given.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphic.h"
#include "skin/skin_model.h"

namespace paint_test {

using framework::TBitmap;
using framework::TColor;

inline std::unique_ptr<TBitmap> MakeBitmap(int w, int h, int bpp, TColor fill = 0, std::uint8_t alpha = 255) {
    auto b = std::make_unique<TBitmap>(w, h, bpp == 32 ? framework::TPixelFormat::pf32bit : framework::TPixelFormat::pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = b->ScanLine(y) + x * b->BytesPerPixel();
            p[0] = (fill >> 16) & 0xFF, p[1] = (fill >> 8) & 0xFF, p[2] = fill & 0xFF;
            if (bpp == 32) p[3] = alpha;
        }
    return b;
}

inline TColor Px(const TBitmap& b, int x, int y) {
    const std::uint8_t* p = b.ScanLine(y) + x * b.BytesPerPixel();
    return p[2] | (p[1] << 8) | (p[0] << 16);
}
inline std::uint8_t Alpha(const TBitmap& b, int x, int y) { return b.BytesPerPixel() == 4 ? b.ScanLine(y)[x * 4 + 3] : 255; }
inline void SetPx(TBitmap& b, int x, int y, TColor c, std::uint8_t alpha = 255) {
    std::uint8_t* p = b.ScanLine(y) + x * b.BytesPerPixel();
    p[0] = (c >> 16) & 0xFF, p[1] = (c >> 8) & 0xFF, p[2] = c & 0xFF;
    if (b.BytesPerPixel() == 4) p[3] = alpha;
}
constexpr int R(TColor c) { return c & 0xFF; }
constexpr int G(TColor c) { return (c >> 8) & 0xFF; }
constexpr int B(TColor c) { return (c >> 16) & 0xFF; }
constexpr TColor Rgb(int r, int g, int b) { return static_cast<TColor>(r | (g << 8) | (b << 16)); }

// A colour unique to (x, y, seed) that is never the see-through colour.
inline TColor Pattern(int x, int y, int seed = 0) {
    TColor c = Rgb((x * 7 + seed * 13) & 0xFF, (y * 11 + seed * 3) & 0xFF, (x * 3 + y * 5 + seed) & 0x7F);
    return c;
}
inline void FillPattern(TBitmap& b, int seed = 0, std::uint8_t alpha = 255) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) SetPx(b, x, y, Pattern(x, y, seed), alpha);
}

// Every pixel with its alpha in the top byte, for before/after comparisons; includes the
// padding bytes at the end of each row so that writes past a row's pixels show up.
struct Snapshot {
    std::vector<std::uint8_t> bytes;
    int stride = 0;
    explicit Snapshot(const TBitmap& b) : stride(b.Stride()) {
        bytes.assign(b.ScanLine(0), b.ScanLine(0) + static_cast<std::size_t>(b.Stride()) * b.Height());
    }
    TColor Px(int x, int y, int bpp) const {
        const std::uint8_t* p = &bytes[static_cast<std::size_t>(y) * stride + x * bpp];
        return p[2] | (p[1] << 8) | (p[0] << 16);
    }
    std::uint8_t Alpha(int x, int y) const { return bytes[static_cast<std::size_t>(y) * stride + x * 4 + 3]; }
};

// Counts pixels of b that differ from the snapshot outside rect.
inline int ChangedOutside(const TBitmap& b, const Snapshot& before, RECT r) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            if (!inside && (Px(b, x, y) != before.Px(x, y, b.BytesPerPixel()) ||
                            (b.BytesPerPixel() == 4 && Alpha(b, x, y) != before.Alpha(x, y))))
                ++n;
        }
    const int bpp = b.BytesPerPixel();
    for (int y = 0; y < b.Height(); ++y)  // row padding must never be written
        for (int k = b.Width() * bpp; k < b.Stride(); ++k)
            if (b.ScanLine(y)[k] != before.bytes[static_cast<std::size_t>(y) * before.stride + k]) ++n;
    return n;
}

// Builds a skin model in memory: sections, image entries in the master bitmap or with their
// own pictures.
class ModelBuilder {
public:
    ModelBuilder() { model.MasterBitmap = std::make_unique<TBitmap>(); }

    skin::TsGeneralData& Section(const std::string& name) {
        skin::TsGeneralData s;
        s.SectionName = name;
        model.Sections.push_back(std::move(s));
        return model.Sections.back();
    }
    int SectionIndex(const std::string& name) const { return model.FindSection(name); }

    // The master bitmap, 24-bit, filled with a pattern.
    TBitmap& Master(int w, int h, int seed = 1) {
        model.MasterBitmap = MakeBitmap(w, h, 24);
        FillPattern(*model.MasterBitmap, seed);
        return *model.MasterBitmap;
    }

    int Mask(const std::string& section, const std::string& property, RECT r, int imageCount, int maskType,
             int drawMode = 0, int wl = 0, int wt = 0, int wr = 0, int wb = 0) {
        skin::TsMaskData m;
        m.SectionName = section;
        m.PropertyName = property;
        m.R = r;
        m.ImageCount = static_cast<std::int16_t>(imageCount);
        m.MaskType = static_cast<std::int16_t>(maskType);
        m.DrawMode = static_cast<std::int16_t>(drawMode);
        m.WL = static_cast<std::int16_t>(wl), m.WT = static_cast<std::int16_t>(wt);
        m.WR = static_cast<std::int16_t>(wr), m.WB = static_cast<std::int16_t>(wb);
        model.Masks.push_back(std::move(m));
        return static_cast<int>(model.Masks.size()) - 1;
    }

    skin::TsSkinModel model;
};

}  // namespace paint_test
