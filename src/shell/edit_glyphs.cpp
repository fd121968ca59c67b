#include "shell/edit_glyphs.h"

#include <algorithm>

#include "framework/graphic.h"
#include "platform/image_files.h"

namespace shell {

std::vector<GlyphStrip> LoadEmbeddedGlyphs() {
    std::vector<GlyphStrip> strips;
    for (const EmbeddedPng& png : EmbeddedGlyphPngs()) {
        platform::Image image = platform::ReadPng(png.bytes, png.size, platform::AlphaMode::Straight);
        GlyphStrip s;
        s.name = png.name;
        s.width = image.width;
        s.height = image.height;
        s.bgra.resize(static_cast<std::size_t>(s.width) * s.height * 4);
        for (int y = 0; y < s.height; ++y) {
            const std::uint8_t* src = image.pixels.data() + static_cast<std::ptrdiff_t>(y) * image.stride;
            std::uint8_t* dst = &s.bgra[static_cast<std::size_t>(y) * s.width * 4];
            if (image.bitsPerPixel == 32) {
                std::copy_n(src, s.width * 4, dst);
                continue;
            }
            for (int x = 0; x < s.width; ++x) {
                std::copy_n(src + x * 3, 3, dst + x * 4);
                dst[x * 4 + 3] = 255;
            }
        }
        strips.push_back(std::move(s));
    }
    return strips;
}

std::uint32_t GlyphStrip::Pixel(int x, int y) const {
    const std::uint8_t* p = &bgra[static_cast<std::size_t>((y * width + x) * 4)];
    return static_cast<std::uint32_t>(p[3]) << 24 | static_cast<std::uint32_t>(p[2]) << 16 |
           static_cast<std::uint32_t>(p[1]) << 8 | p[0];
}

const std::vector<GlyphStrip>& EditGlyphs() {
    // Plain pixel memory, no platform objects, so it may live until the process ends.
    static const std::vector<GlyphStrip> strips = LoadEmbeddedGlyphs();
    return strips;
}

int EditGlyphIndex(const std::string& name) {
    const auto& all = EditGlyphs();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].name == name) return static_cast<int>(i);
    return -1;
}

void DrawEditGlyph(framework::TCanvas& canvas, int x, int y, int index, TacGlyphState state, bool enabled) {
    const auto& all = EditGlyphs();
    if (index < 0 || index >= static_cast<int>(all.size())) return;
    const GlyphStrip& s = all[static_cast<std::size_t>(index)];
    framework::TBitmap one(kGlyphSize, kGlyphSize, framework::TPixelFormat::pf32bit);
    one.AlphaFormat = framework::TAlphaFormat::afDefined;
    int column = static_cast<int>(enabled ? state : TacGlyphState::Normal) * kGlyphSize;
    for (int row = 0; row < kGlyphSize; ++row) {
        const std::uint8_t* src = &s.bgra[static_cast<std::size_t>((row * s.width + column) * 4)];
        std::uint8_t* d = one.ScanLine(row);
        std::copy_n(src, kGlyphSize * 4, d);
        if (enabled) continue;
        for (int px = 0; px < kGlyphSize * 4; px += 4) {
            auto grey = static_cast<std::uint8_t>((d[px] * 11 + d[px + 1] * 59 + d[px + 2] * 30) / 100);
            d[px] = d[px + 1] = d[px + 2] = grey;
            d[px + 3] = static_cast<std::uint8_t>(d[px + 3] / 2);
        }
    }
    canvas.Draw(x, y, one);
}

}  // namespace shell
