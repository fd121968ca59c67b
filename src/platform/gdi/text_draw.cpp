// Drawing and measuring text: TextOut, ExtTextOut, DrawText, extents and metrics.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/font_faces.h"
#include "platform/gdi/pixel_simd.h"

namespace platform::gdi {
namespace {

struct Run {
    std::vector<std::uint32_t> codes;
    int underlineIndex = -1;  // the "&" prefix character
};

int Width(FontFace& f, const std::vector<std::uint32_t>& codes, std::size_t from = 0, std::size_t to = std::string::npos) {
    int w = 0;
    for (std::size_t i = from; i < std::min(to, codes.size()); ++i) w += f.GlyphFor(codes[i]).advance;
    return w;
}

std::vector<std::uint32_t> Decode(const char* text, std::size_t n) {
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < n;) out.push_back(DecodeUtf8(text, n, i));
    return out;
}

inline BYTE BlendChannel(BYTE d, unsigned s, unsigned cov) { return static_cast<BYTE>((s * cov + d * (255 - cov) + 127) / 255); }

// floor(x / 255) for 0 <= x <= 65152 (255 * 255 + 127) in 16-bit lanes.
inline simd::u16x8 DivTrunc255(simd::u16x8 x) {
    x += 1;
    return (x + (x >> 8)) >> 8;
}

// BlendChannel on 32-bit pixels two at a time, alpha set to 0 where there is coverage as the
// scalar loop does; returns how many pixels it did (an even count, the rest left over).
int BlendRow32(BYTE* p, const BYTE* cov, int n, std::uint32_t rgb) {
    using simd::u16x8;
    const auto r = static_cast<std::uint16_t>((rgb >> 16) & 0xFF),
               gr = static_cast<std::uint16_t>((rgb >> 8) & 0xFF),
               b = static_cast<std::uint16_t>(rgb & 0xFF);
    const u16x8 colour = {b, gr, r, 0, b, gr, r, 0};
    const u16x8 alphaLanes = {0, 0, 0, 0xFFFF, 0, 0, 0, 0xFFFF};
    int i = 0;
    for (; i + 2 <= n; i += 2) {
        const std::uint16_t c0 = cov[i], c1 = cov[i + 1];
        if ((c0 | c1) == 0) continue;
        const u16x8 c = {c0, c0, c0, c0, c1, c1, c1, c1};
        const u16x8 d = simd::Load8(p + i * 4);
        const u16x8 mixed = DivTrunc255(colour * c + d * (255 - c) + 127);
        // Without coverage the mix gives back d; alpha becomes 0 only under coverage.
        const u16x8 uncovered = reinterpret_cast<u16x8>(c == 0);
        simd::Store8(p + i * 4, (mixed & ~alphaLanes) | (d & alphaLanes & uncovered));
    }
    return i;
}

// Blends glyph coverage in the text colour; (x, y) is the pen position on the baseline in
// target coordinates.
void BlendGlyph(DeviceContext& dc, const Glyph& g, int x, int y, std::uint32_t rgb, const Region& clip) {
    RECT box{x + g.left, y - g.top, x + g.left + g.width, y - g.top + g.height};
    int bpp = dc.target.BytesPerPixel();
    unsigned r = (rgb >> 16) & 0xFF, gr = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    for (const RECT& c : clip.Rects()) {
        RECT part = RectIntersection(c, box);
        if (RectIsEmpty(part)) continue;
        dc.drawn = true;
        for (int yy = part.top; yy < part.bottom; ++yy) {
            const BYTE* cov = &g.coverage[static_cast<std::size_t>(yy - box.top) * g.width + (part.left - box.left)];
            BYTE* p = dc.target.Row(yy) + part.left * bpp;
            int xx = part.left;
            if (bpp == 4) {
                const int done = BlendRow32(p, cov, part.right - part.left, rgb);
                xx += done, cov += done, p += done * 4;
            }
            for (; xx < part.right; ++xx, ++cov, p += bpp) {
                if (!*cov) continue;
                p[0] = BlendChannel(p[0], b, *cov);
                p[1] = BlendChannel(p[1], gr, *cov);
                p[2] = BlendChannel(p[2], r, *cov);
                if (bpp == 4) p[3] = 0;
            }
        }
    }
}

void FillLine(DeviceContext& dc, const Region& clip, RECT r, std::uint32_t rgb) {
    for (const RECT& c : clip.Rects()) {
        RECT part = RectIntersection(c, r);
        if (RectIsEmpty(part)) continue;
        dc.drawn = true;
        FillSpan(dc.target, part, rgb);
    }
}

// Draws codes with the pen at logical (x, baseline y), clipped to `clip` (target coordinates).
// Returns the advance.
int DrawCodes(DeviceContext& dc, FontFace& f, const std::vector<std::uint32_t>& codes, int x, int y, const Region& clip,
              int underlineIndex = -1) {
    POINT pen = dc.ToTarget(POINT{x, y});
    std::uint32_t rgb = ToRgb(dc.state.textColor);
    int start = pen.x;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const Glyph& g = f.GlyphFor(codes[i]);
        if (static_cast<int>(i) == underlineIndex)
            FillLine(dc, clip, RECT{pen.x, pen.y + 1, pen.x + g.advance, pen.y + 2}, rgb);
        BlendGlyph(dc, g, pen.x, pen.y, rgb, clip);
        pen.x += g.advance;
    }
    if (f.Underline()) FillLine(dc, clip, RECT{start, pen.y + 1, pen.x, pen.y + 2}, rgb);
    if (f.StrikeOut()) {
        int sy = pen.y - f.Ascent() / 3;
        FillLine(dc, clip, RECT{start, sy, pen.x, sy + 1}, rgb);
    }
    return pen.x - start;
}

Run ParsePrefix(const std::vector<std::uint32_t>& codes, UINT format) {
    Run run;
    if (format & DT_NOPREFIX) {
        run.codes = codes;
        return run;
    }
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] == '&' && i + 1 < codes.size()) {
            ++i;
            if (codes[i] != '&' && !(format & DT_HIDEPREFIX)) run.underlineIndex = static_cast<int>(run.codes.size());
        }
        run.codes.push_back(codes[i]);
    }
    return run;
}

void ExpandTabs(std::vector<std::uint32_t>& codes, FontFace& f, UINT format) {
    if (!(format & DT_EXPANDTABS)) return;
    std::vector<std::uint32_t> out;
    int spaceWidth = std::max(1, f.GlyphFor(' ').advance);
    int tab = f.AverageWidth() * 8;
    int x = 0;
    for (std::uint32_t c : codes) {
        if (c == '\t') {
            int next = tab > 0 ? (x / tab + 1) * tab : x;
            for (; x < next; x += spaceWidth) out.push_back(' ');
        } else {
            out.push_back(c);
            x += f.GlyphFor(c).advance;
        }
    }
    codes = std::move(out);
}

// Splits into lines at line breaks and, with DT_WORDBREAK, at spaces where the width runs out.
std::vector<std::vector<std::uint32_t>> Lines(FontFace& f, const std::vector<std::uint32_t>& codes, UINT format, int width) {
    std::vector<std::vector<std::uint32_t>> lines(1);
    if (format & DT_SINGLELINE) {
        for (std::uint32_t c : codes)
            if (c != '\r' && c != '\n') lines[0].push_back(c);
        return lines;
    }
    for (std::size_t i = 0; i < codes.size(); ++i) {
        std::uint32_t c = codes[i];
        if (c == '\r') {
            if (i + 1 < codes.size() && codes[i + 1] == '\n') ++i;
            lines.emplace_back();
            continue;
        }
        if (c == '\n') {
            lines.emplace_back();
            continue;
        }
        std::vector<std::uint32_t>& line = lines.back();
        line.push_back(c);
        if (!(format & DT_WORDBREAK) || Width(f, line) <= width || c == ' ') continue;
        auto space = std::find(line.rbegin(), line.rend(), static_cast<std::uint32_t>(' '));
        if (space == line.rend()) continue;  // one long word stays whole
        std::size_t cut = static_cast<std::size_t>(line.rend() - space);  // index after the space
        std::vector<std::uint32_t> rest(line.begin() + static_cast<std::ptrdiff_t>(cut), line.end());
        line.resize(cut - 1);
        lines.push_back(std::move(rest));
    }
    return lines;
}

void AddEllipsis(FontFace& f, std::vector<std::uint32_t>& codes, int width) {
    if (Width(f, codes) <= width) return;
    int dots = Width(f, {'.', '.', '.'});
    while (!codes.empty() && Width(f, codes) + dots > width) codes.pop_back();
    codes.insert(codes.end(), {'.', '.', '.'});
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;
using platform::Region;
using platform::RectIntersection;
using platform::RectIsEmpty;

BOOL ExtTextOut(HDC h, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count, const INT*) {
    DeviceContext* dc = LookupDC(h);
    if (!dc) return FALSE;
    FontFace& f = FaceOfDC(h);
    std::vector<std::uint32_t> codes = Decode(text ? text : "", text ? count : 0);
    int width = Width(f, codes);
    UINT align = dc->state.textAlign;
    if ((align & TA_CENTER) == TA_CENTER) x -= width / 2;
    else if (align & TA_RIGHT) x -= width;
    int baseline = (align & TA_BASELINE) == TA_BASELINE ? y : (align & TA_BOTTOM) ? y - f.Descent() : y + f.Ascent();
    Region clip = dc->EffectiveClip();
    if (rect && (options & ETO_CLIPPED)) clip.Intersect(Region(dc->ToTarget(*rect)));
    if (rect && (options & ETO_OPAQUE)) {
        RECT t = RectIntersection(dc->ToTarget(*rect), clip.Bounds());
        for (const RECT& c : clip.Rects()) FillSpan(dc->target, RectIntersection(c, t), ToRgb(dc->state.bkColor));
    } else if (dc->state.bkMode == OPAQUE) {
        RECT box = dc->ToTarget(RECT{x, baseline - f.Ascent(), x + width, baseline + f.Descent()});
        for (const RECT& c : clip.Rects())
            if (RECT part = RectIntersection(c, box); !RectIsEmpty(part)) FillSpan(dc->target, part, ToRgb(dc->state.bkColor));
    }
    DrawCodes(*dc, f, codes, x, baseline, clip);
    return TRUE;
}

BOOL TextOut(HDC h, int x, int y, LPCSTR text, int count) {
    if (count < 0) return FALSE;
    return ExtTextOut(h, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

int DrawText(HDC h, LPCSTR text, int count, RECT* rect, UINT format) {
    DeviceContext* dc = LookupDC(h);
    if (!dc || !rect) return 0;
    FontFace& f = FaceOfDC(h);
    std::size_t n = text ? (count < 0 ? std::strlen(text) : static_cast<std::size_t>(count)) : 0;
    Run run = ParsePrefix(Decode(text ? text : "", n), format);
    ExpandTabs(run.codes, f, format);
    int width = rect->right - rect->left;
    auto lines = Lines(f, run.codes, format, width);
    int lineHeight = f.Height() + ((format & DT_EXTERNALLEADING) ? f.InternalLeading() / 2 : 0);
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (auto& line : lines) widest = std::max(widest, Width(f, line));
        rect->right = rect->left + widest;
        rect->bottom = rect->top + lineHeight * static_cast<int>(lines.size());
        return lineHeight * static_cast<int>(lines.size());
    }
    int total = lineHeight * static_cast<int>(lines.size());
    int y = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
        else if (format & DT_BOTTOM) y = rect->bottom - lineHeight;
    }
    Region clip = dc->EffectiveClip();
    if (!(format & DT_NOCLIP)) clip.Intersect(Region(dc->ToTarget(*rect)));
    bool saved = dc->state.bkMode == OPAQUE;
    int underline = run.underlineIndex;
    for (auto& line : lines) {
        if (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) AddEllipsis(f, line, width);
        int w = Width(f, line);
        int x = (format & DT_CENTER) ? rect->left + (width - w) / 2 : (format & DT_RIGHT) ? rect->right - w : rect->left;
        if (saved) {
            RECT box = dc->ToTarget(RECT{x, y, x + w, y + lineHeight});
            for (const RECT& c : clip.Rects())
                if (RECT part = RectIntersection(c, box); !RectIsEmpty(part)) FillSpan(dc->target, part, ToRgb(dc->state.bkColor));
        }
        DrawCodes(*dc, f, line, x, y + f.Ascent(), clip, underline < static_cast<int>(line.size()) ? underline : -1);
        if (underline >= 0) underline -= static_cast<int>(line.size());
        y += lineHeight;
    }
    return total;
}

BOOL GetTextExtentPoint32(HDC h, LPCSTR text, int count, SIZE* size) {
    if (!size || count < 0 || !LookupDC(h)) return FALSE;
    FontFace& f = FaceOfDC(h);
    *size = SIZE{Width(f, Decode(text ? text : "", text ? static_cast<std::size_t>(count) : 0)), f.Height()};
    return TRUE;
}

BOOL GetTextMetrics(HDC h, TEXTMETRIC* tm) {
    if (!tm || !LookupDC(h)) return FALSE;
    FontFace& f = FaceOfDC(h);
    *tm = TEXTMETRIC{};
    tm->tmHeight = f.Height();
    tm->tmAscent = f.Ascent();
    tm->tmDescent = f.Descent();
    tm->tmInternalLeading = f.InternalLeading();
    tm->tmAveCharWidth = f.AverageWidth();
    tm->tmMaxCharWidth = f.MaxWidth();
    tm->tmWeight = f.Weight();
    tm->tmUnderlined = f.Underline();
    tm->tmStruckOut = f.StrikeOut();
    tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = 0x20;
    tm->tmLastChar = 0xFF;
    tm->tmDefaultChar = '?';
    tm->tmBreakChar = ' ';
    tm->tmCharSet = DEFAULT_CHARSET;
    return TRUE;
}

int GetTextFace(HDC h, int size, LPSTR face) {
    if (!LookupDC(h)) return 0;
    const std::string& family = FaceOfDC(h).Family();
    if (!face || size <= 0) return static_cast<int>(family.size()) + 1;
    std::snprintf(face, static_cast<std::size_t>(size), "%s", family.c_str());
    return static_cast<int>(std::min<std::size_t>(family.size(), static_cast<std::size_t>(size - 1)));
}
