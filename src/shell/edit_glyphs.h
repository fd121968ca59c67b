// The built-in glyphs of edit buttons: five strips of 48 x 16 pixels, each three 16 x 16
// states (normal, hot, pressed), kept as PNG pictures inside the program and decoded on first
// use. "SF" (file) is a blank page
// with a magnifying glass over it when hot or pressed; "SR" (refresh), "SD" (folder), "SE"
// (more) and "SC" (calendar) serve buttons of other kinds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/canvas.h"

namespace shell {

enum class TacGlyphState { Normal = 0, Hot = 1, Pressed = 2 };

constexpr int kGlyphSize = 16;
constexpr int kGlyphStates = 3;
constexpr int kGlyphFile = 0;  // "SF"

struct GlyphStrip {
    std::string name;
    int width = kGlyphSize * kGlyphStates;
    int height = kGlyphSize;
    std::vector<std::uint8_t> bgra;  // straight alpha, top-down, width * 4 bytes a row

    std::uint32_t Pixel(int x, int y) const;  // 0xAARRGGBB
};

// The five strips in their fixed order: "SF", "SR", "SD", "SE", "SC".
const std::vector<GlyphStrip>& EditGlyphs();

// A PNG picture compiled into the program.
struct EmbeddedPng {
    const char* name;
    const std::uint8_t* bytes;
    std::size_t size;
};
// The glyph strips as PNG (src/shell/edit_glyph_pngs.cpp, made by tools/glyph_pngs).
const std::vector<EmbeddedPng>& EmbeddedGlyphPngs();
std::vector<GlyphStrip> LoadEmbeddedGlyphs();
int EditGlyphIndex(const std::string& name);  // -1 when unknown

// Draws one state of a strip with its alpha; a disabled glyph is grey and half transparent.
void DrawEditGlyph(framework::TCanvas& canvas, int x, int y, int index, TacGlyphState state, bool enabled);

}  // namespace shell
