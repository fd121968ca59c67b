#include "platform/gdi/font_faces.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <stdexcept>
#include <strings.h>
#include <tuple>

#include "platform/gdi.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/text_internal.h"

namespace platform::gdi {
namespace {

FT_Library Library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) throw std::runtime_error("FreeType cannot start");
        return l;
    }();
    return lib;
}

// Windows face names to families that fontconfig knows, metric-compatible where possible.
// The dialog faces ("MS Sans Serif", "MS Shell Dlg", "Tahoma") take Liberation Sans too:
// layouts made for them (the time edits' 49 pixels for "07:00:00") fit its Arial widths,
// where the wider DejaVu Sans clipped the last digit.
std::string FamilyFor(const char* face) {
    static const std::pair<const char*, const char*> map[] = {
        {"Arial", "Liberation Sans"},         {"MS Sans Serif", "Liberation Sans"},
        {"MS Shell Dlg", "Liberation Sans"},  {"MS Shell Dlg 2", "Liberation Sans"},
        {"Tahoma", "Liberation Sans"},        {"Helvetica", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"}, {"Courier New", "Liberation Mono"},
        {"Courier", "Liberation Mono"},       {"Verdana", "DejaVu Sans"}};
    for (auto& [win, ours] : map)
        if (strcasecmp(face, win) == 0) return ours;
    return "DejaVu Sans";  // unknown names
}

FcPattern* RequestPattern(const std::string& family, bool bold, bool italic) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    return pattern;
}

struct FaceCloser {
    void operator()(FT_Face f) const { FT_Done_Face(f); }
};
using FaceHandle = std::unique_ptr<FT_FaceRec_, FaceCloser>;

struct FontSetDestroyer {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};

// Control characters are never drawn, so they never start a search.
constexpr std::uint32_t kFirstPrintable = 0x20;

struct Match {
    std::string file;
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    std::string family;
};

Match FindFile(const std::string& family, bool bold, bool italic) {
    FcPattern* pattern = RequestPattern(family, bold, italic);
    FcResult result;
    FcPattern* found = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    Match m;
    if (!found) return m;
    FcChar8* file = nullptr;
    FcChar8* fam = nullptr;
    if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch) m.file = reinterpret_cast<char*>(file);
    if (FcPatternGetString(found, FC_FAMILY, 0, &fam) == FcResultMatch) m.family = reinterpret_cast<char*>(fam);
    FcPatternGetInteger(found, FC_INDEX, 0, &m.index);
    FcPatternGetInteger(found, FC_WEIGHT, 0, &m.weight);
    FcPatternGetInteger(found, FC_SLANT, 0, &m.slant);
    FcPatternDestroy(found);
    return m;
}

// The em size in pixels by the Windows sign rule: negative is the character height, positive
// the cell height, zero a default.
int EmPixels(FT_Face face, LONG height) {
    if (height < 0) return static_cast<int>(-height);
    if (height == 0) return 11;
    double cell = static_cast<double>(face->ascender - face->descender);
    return std::max(1, static_cast<int>(std::lround(height * face->units_per_EM / std::max(cell, 1.0))));
}

}  // namespace

// The sorted list is asked for on the first character the chosen file lacks; the faces
// opened from it are kept by file and index.
struct FontFace::Fallbacks {
    std::string family;
    bool bold = false;
    bool italic = false;
    bool sortTried = false;
    std::unique_ptr<FcFontSet, FontSetDestroyer> sorted;
    std::map<std::pair<std::string, int>, FaceHandle> faces;

    FcFontSet* Sorted() {
        if (!sortTried) {
            sortTried = true;
            FcPattern* pattern = RequestPattern(family, bold, italic);
            FcResult result;
            sorted.reset(FcFontSort(nullptr, pattern, FcTrue, nullptr, &result));
            FcPatternDestroy(pattern);
        }
        return sorted.get();
    }

    FT_Face Open(const std::string& file, int index, unsigned emPixels) {
        auto [it, added] = faces.try_emplace(std::make_pair(file, index));
        if (added) {
            FT_Face face = nullptr;
            if (FT_New_Face(Library(), file.c_str(), index, &face) == 0) {
                FT_Set_Pixel_Sizes(face, 0, emPixels);
                it->second.reset(face);
            }
        }
        return it->second.get();
    }
};

FontFace::FontFace() : fallbacks_(std::make_unique<Fallbacks>()) {}

FontFace::~FontFace() {
    if (face_) FT_Done_Face(static_cast<FT_Face>(face_));
}

void* FontFace::FaceFor(std::uint32_t codePoint) {
    auto primary = static_cast<FT_Face>(face_);
    if (codePoint < kFirstPrintable || FT_Get_Char_Index(primary, codePoint) != 0) return primary;
    FcFontSet* set = fallbacks_->Sorted();
    for (int i = 0; set && i < set->nfont; ++i) {
        FcCharSet* chars = nullptr;
        if (FcPatternGetCharSet(set->fonts[i], FC_CHARSET, 0, &chars) != FcResultMatch ||
            !FcCharSetHasChar(chars, codePoint))
            continue;
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
        FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
        FT_Face face = fallbacks_->Open(reinterpret_cast<const char*>(file), index, emPixels_);
        if (face && FT_Get_Char_Index(face, codePoint) != 0) return face;
    }
    return primary;  // nothing has it: the chosen face's box
}

namespace {
// Controls make a font, draw and delete it at every paint; without a face kept alive between
// them each repaint paid fontconfig's match, FreeType's open and every glyph's render again.
constexpr std::size_t kRecentFaces = 16;

void KeepRecent(const std::shared_ptr<FontFace>& face) {
    static std::vector<std::shared_ptr<FontFace>> recent;  // most recent first
    auto at = std::find(recent.begin(), recent.end(), face);
    if (at == recent.begin() && !recent.empty()) return;
    if (at != recent.end()) recent.erase(at);
    else if (recent.size() == kRecentFaces) recent.pop_back();
    recent.insert(recent.begin(), face);
}
}  // namespace

std::shared_ptr<FontFace> FontFace::ForLogFont(const LOGFONT& lf) {
    std::shared_ptr<FontFace> face = Lookup(lf);
    KeepRecent(face);
    return face;
}

std::shared_ptr<FontFace> FontFace::Lookup(const LOGFONT& lf) {
    static std::map<std::tuple<std::string, LONG, LONG, int, int, int>, std::weak_ptr<FontFace>> cache;
    char faceName[LF_FACESIZE + 1] = {};
    std::memcpy(faceName, lf.lfFaceName, LF_FACESIZE);
    bool bold = lf.lfWeight >= FW_SEMIBOLD, italic = lf.lfItalic != 0;
    auto key = std::make_tuple(std::string(faceName), lf.lfHeight, lf.lfWeight, italic, lf.lfUnderline != 0, lf.lfStrikeOut != 0);
    if (auto hit = cache[key].lock()) return hit;
    const std::string family = FamilyFor(faceName);
    Match m = FindFile(family, bold, italic);
    std::shared_ptr<FontFace> f(new FontFace());
    f->fallbacks_->family = family;
    f->fallbacks_->bold = bold;
    f->fallbacks_->italic = italic;
    FT_Face face = nullptr;
    if (m.file.empty() || FT_New_Face(Library(), m.file.c_str(), m.index, &face) != 0)
        throw std::runtime_error("no font found for '" + std::string(faceName) + "' (install fonts-dejavu-core)");
    f->face_ = face;
    f->family_ = m.family;
    f->emboldenSynthetic_ = bold && m.weight < FC_WEIGHT_DEMIBOLD;
    f->obliqueSynthetic_ = italic && m.slant == FC_SLANT_ROMAN;
    f->underline_ = lf.lfUnderline != 0;
    f->strikeOut_ = lf.lfStrikeOut != 0;
    f->weight_ = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
    int em = EmPixels(face, lf.lfHeight);
    f->emPixels_ = static_cast<unsigned>(em);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em));
    f->ascent_ = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
    f->descent_ = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
    f->internalLeading_ = std::max(0, f->Height() - em);
    cache[key] = f;
    return f;
}

const Glyph& FontFace::GlyphFor(std::uint32_t codePoint) {
    auto it = glyphs_.find(codePoint);
    if (it != glyphs_.end()) return it->second;
    Glyph g;
    auto face = static_cast<FT_Face>(FaceFor(codePoint));
    if (FT_Load_Char(face, codePoint, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) == 0) {
        if (emboldenSynthetic_) FT_GlyphSlot_Embolden(face->glyph);
        if (obliqueSynthetic_) FT_GlyphSlot_Oblique(face->glyph);
        if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0) {
            const FT_Bitmap& bm = face->glyph->bitmap;
            g.advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
            g.left = face->glyph->bitmap_left;
            g.top = face->glyph->bitmap_top;
            g.width = static_cast<int>(bm.width);
            g.height = static_cast<int>(bm.rows);
            g.coverage.resize(static_cast<std::size_t>(g.width) * g.height);
            for (int y = 0; y < g.height; ++y)
                std::memcpy(&g.coverage[static_cast<std::size_t>(y) * g.width], bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch,
                            static_cast<std::size_t>(g.width));
        }
    }
    return glyphs_.emplace(codePoint, std::move(g)).first->second;
}

std::uint32_t DecodeUtf8(const char* s, std::size_t n, std::size_t& i) {
    auto b = static_cast<unsigned char>(s[i++]);
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (b >= 0x80 && extra == 0) return 0xFFFD;
    std::uint32_t cp = extra ? (b & (0x3F >> extra)) : b;
    for (int k = 0; k < extra; ++k) {
        if (i >= n || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

static HFONT MakeFont(const LOGFONT& lf, bool stock) {
    auto font = std::make_unique<FontObject>();
    font->logFont = lf;
    font->face = FontFace::ForLogFont(lf);
    font->stock = stock;
    return static_cast<HFONT>(AddObject(std::move(font)));
}

static LOGFONT GuiLogFont() {
    LOGFONT lf{};
    lf.lfHeight = -11;
    lf.lfWeight = FW_NORMAL;
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "MS Shell Dlg");
    return lf;
}

void* StockFont(int index) {
    LOGFONT lf = GuiLogFont();
    if (index == SYSTEM_FONT) lf.lfWeight = FW_BOLD;
    return MakeFont(lf, true);
}

int GetFontObject(void* font, int size, void* out) {
    auto* f = Lookup<FontObject>(font, ObjectKind::Font);
    if (!f) return 0;
    if (!out) return sizeof(LOGFONT);
    if (size < static_cast<int>(sizeof(LOGFONT))) return 0;
    std::memcpy(out, &f->logFont, sizeof(LOGFONT));
    return sizeof(LOGFONT);
}

FontFace& FaceOfDC(HDC dc) {
    static HFONT fallback = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    DeviceContext* d = LookupDC(dc);
    auto* f = d ? Lookup<FontObject>(d->state.font, ObjectKind::Font) : nullptr;
    if (!f || (d && d->state.font == GetStockObject(SYSTEM_FONT))) f = Lookup<FontObject>(fallback, ObjectKind::Font);
    return *f->face;
}

}  // namespace platform::gdi

using namespace platform::gdi;

HFONT CreateFontIndirect(const LOGFONT* lf) {
    if (!lf) return nullptr;
    try {
        return MakeFont(*lf, false);
    } catch (const std::exception&) {
        return nullptr;
    }
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, LPCSTR face) {
    LOGFONT lf{height, width, escapement, orientation, weight, static_cast<BYTE>(italic), static_cast<BYTE>(underline),
               static_cast<BYTE>(strikeOut), static_cast<BYTE>(charSet), static_cast<BYTE>(outPrecision),
               static_cast<BYTE>(clipPrecision), static_cast<BYTE>(quality), static_cast<BYTE>(pitchAndFamily), {}};
    if (face) std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", face);
    return CreateFontIndirect(&lf);
}

// LeakSanitizer reads this when the program is built with it. It lives here because this is
// the file that brings fontconfig in: fontconfig keeps its configuration and pattern caches for
// the life of the process, by design.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
