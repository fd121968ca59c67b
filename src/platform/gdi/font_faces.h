// Font faces: fontconfig lookup of a LOGFONT, FreeType faces at a pixel size, and a glyph
// cache per face.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gdi/gdi_objects.h"
#include "platform/gdi_text.h"

namespace platform::gdi {

struct Glyph {
    int advance = 0;  // pixels
    int left = 0;     // bitmap offset from the pen position
    int top = 0;      // bitmap top above the baseline
    int width = 0;
    int height = 0;
    std::vector<BYTE> coverage;  // width * height, 0..255
};

// One requested font. A character the chosen file lacks is drawn from the first font of
// fontconfig's sorted list for the same request that has it, as desktop toolkits do, so CJK,
// Hangul or Greek-extended text in a Latin face shows letters instead of boxes; the faces so
// chosen are kept for the life of the font. Metrics (ascent, height, average width) stay
// those of the chosen file: a fallback glyph sits on the same baseline.
class FontFace {
  public:
    ~FontFace();
    // The face of a request. Faces live while a font holds them, and the most recently asked
    // few a while longer, so a font made and deleted at each paint finds its face (and the
    // glyphs it rendered) again.
    static std::shared_ptr<FontFace> ForLogFont(const LOGFONT& lf);

    const Glyph& GlyphFor(std::uint32_t codePoint);
    int Ascent() const { return ascent_; }
    int Descent() const { return descent_; }
    int Height() const { return ascent_ + descent_; }
    int InternalLeading() const { return internalLeading_; }
    int AverageWidth() { return GlyphFor('x').advance; }
    int MaxWidth() { return GlyphFor('W').advance; }
    const std::string& Family() const { return family_; }
    bool Underline() const { return underline_; }
    bool StrikeOut() const { return strikeOut_; }
    int Weight() const { return weight_; }

  private:
    struct Fallbacks;
    FontFace();
    static std::shared_ptr<FontFace> Lookup(const LOGFONT& lf);
    // The face that draws the code point: the chosen one, a fallback, or the chosen one's box.
    void* FaceFor(std::uint32_t codePoint);
    void* face_ = nullptr;  // FT_Face
    std::unique_ptr<Fallbacks> fallbacks_;
    unsigned emPixels_ = 0;
    bool emboldenSynthetic_ = false;
    bool obliqueSynthetic_ = false;
    bool underline_ = false;
    bool strikeOut_ = false;
    int weight_ = 400;
    int ascent_ = 0;
    int descent_ = 0;
    int internalLeading_ = 0;
    std::string family_;
    std::unordered_map<std::uint32_t, Glyph> glyphs_;
};

struct FontObject : GdiObject {
    FontObject() : GdiObject(ObjectKind::Font) {}
    LOGFONT logFont{};
    std::shared_ptr<FontFace> face;
};

// The face of the font selected in a DC (the default GUI font when none is).
FontFace& FaceOfDC(HDC dc);

// Decodes one UTF-8 code point starting at text[i], advancing i; malformed bytes give U+FFFD.
std::uint32_t DecodeUtf8(const char* text, std::size_t length, std::size_t& i);

}  // namespace platform::gdi
