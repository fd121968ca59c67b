#include "paint/button_glyph.h"

#include <algorithm>
#include <cstdint>

#include "paint/gray.h"

namespace paint {

namespace {

constexpr std::uint32_t kAlphaHole = 0x00FF00FF;

int Clamp(int blend) { return std::clamp(blend, 0, 100); }

// Source and destination rectangles after clipping the frame at (x, y) to dst.
struct Span {
    int sx, sy, dx, dy, w, h;
};

bool Clip(const framework::TBitmap& dst, int x, int y, int sx, int w, int h, Span& s) {
    s = Span{sx, 0, x, y, w, h};
    if (s.dx < 0) s.sx -= s.dx, s.w += s.dx, s.dx = 0;
    if (s.dy < 0) s.sy -= s.dy, s.h += s.dy, s.dy = 0;
    s.w = std::min(s.w, dst.Width() - s.dx);
    s.h = std::min(s.h, dst.Height() - s.dy);
    return s.w > 0 && s.h > 0;
}

// 32-bit: byte = ((g - d) A' + d 256) >> 8, A' = A (100 - b) div 100; $00FF00FF is a hole.
void MixAlpha(framework::TBitmap& dst, const framework::TBitmap& src, const Span& s, int blend) {
    const int dbpp = dst.BytesPerPixel();
    for (int row = 0; row < s.h; ++row) {
        const std::uint8_t* g = src.ScanLine(s.sy + row) + s.sx * 4;
        std::uint8_t* d = dst.ScanLine(s.dy + row) + s.dx * dbpp;
        for (int i = 0; i < s.w; ++i, g += 4, d += dbpp) {
            const std::uint32_t v = g[0] | (g[1] << 8) | (g[2] << 16) | (std::uint32_t(g[3]) << 24);
            if (v == kAlphaHole) continue;
            const int a = g[3] * (100 - blend) / 100;
            for (int c = 0; c < 3; ++c) d[c] = static_cast<std::uint8_t>(((g[c] - d[c]) * a + d[c] * 256) >> 8);
        }
    }
}

// 24-bit: key pixels are holes; the rest take round(g - t (g - d) / 100), t the transparency.
void MixKeyed(framework::TBitmap& dst, const framework::TBitmap& src, const Span& s, const std::uint8_t* key,
              int transparency) {
    const int sbpp = src.BytesPerPixel(), dbpp = dst.BytesPerPixel();
    for (int row = 0; row < s.h; ++row) {
        const std::uint8_t* g = src.ScanLine(s.sy + row) + s.sx * sbpp;
        std::uint8_t* d = dst.ScanLine(s.dy + row) + s.dx * dbpp;
        for (int i = 0; i < s.w; ++i, g += sbpp, d += dbpp) {
            if (g[0] == key[0] && g[1] == key[1] && g[2] == key[2]) continue;
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<std::uint8_t>((100 * g[c] - transparency * (g[c] - d[c]) + 50) / 100);
        }
    }
}

// The frame's rows mirrored below it at (x, y + height): alpha a third of the pixel's at the
// top, fading to nothing, less blend percent. Key pixels (24-bit) and holes stay out.
void DrawReflection(framework::TBitmap& dst, const framework::TBitmap& piece, int x, int y, bool alpha,
                    const std::uint8_t* key, int blend) {
    const int h = piece.Height(), w = piece.Width(), sbpp = piece.BytesPerPixel(), dbpp = dst.BytesPerPixel();
    for (int r = 0; r < h; ++r) {
        const int dy = y + h + r;
        if (dy < 0 || dy >= dst.Height()) continue;
        const std::uint8_t* g = piece.ScanLine(h - 1 - r);
        std::uint8_t* d = dst.ScanLine(dy);
        for (int i = 0; i < w; ++i) {
            const int dx = x + i;
            if (dx < 0 || dx >= dst.Width()) continue;
            const std::uint8_t* p = g + i * sbpp;
            if (!alpha && p[0] == key[0] && p[1] == key[1] && p[2] == key[2]) continue;
            const int a0 = alpha ? p[3] : 255;
            const int a = a0 * (h - r) / h / 3 * (100 - blend) / 100;
            std::uint8_t* q = d + dx * dbpp;
            for (int c = 0; c < 3; ++c) q[c] = static_cast<std::uint8_t>(((p[c] - q[c]) * a + q[c] * 256) >> 8);
        }
    }
}

}  // namespace

int GlyphFrameWidth(const framework::TBitmap& glyph, int frames) { return glyph.Width() / std::max(1, frames); }

bool HasOwnAlpha(const framework::TBitmap& glyph) {
    if (glyph.PixelFormat() != framework::TPixelFormat::pf32bit) return false;
    for (int y = 0; y < glyph.Height(); ++y) {
        const std::uint8_t* p = glyph.ScanLine(y);
        for (int x = 0; x < glyph.Width(); ++x)
            if (p[x * 4 + 3] == 255) return true;
    }
    return false;
}

int GlyphFrameIndex(const framework::TBitmap& glyph, const TsGlyphLook& look) {
    const int count = std::max(1, look.frames);
    if (HasOwnAlpha(glyph)) return std::min(look.paintState, count - 1);
    if (count == 1) return 0;
    int frame = 0;
    if (look.enabled && look.paintState == 1) frame = 1;
    if (look.enabled && look.paintState == 2) frame = look.down ? 3 : 2;
    return frame < count ? frame : std::min(1, count - 1);
}

void DrawButtonGlyph(framework::TBitmap& dst, const framework::TBitmap& glyph, int x, int y, const TsGlyphLook& look) {
    if (glyph.Empty() || dst.Empty()) return;
    const int fw = GlyphFrameWidth(glyph, look.frames);
    if (fw <= 0) return;
    const int frame = GlyphFrameIndex(glyph, look);
    const bool alpha = HasOwnAlpha(glyph);
    // The frame alone, grey when asked: a copy keeps the caller's glyph intact.
    framework::TBitmap piece(fw, glyph.Height(), alpha ? framework::TPixelFormat::pf32bit : framework::TPixelFormat::pf24bit);
    const int sbpp = glyph.BytesPerPixel(), pbpp = piece.BytesPerPixel();
    for (int row = 0; row < glyph.Height(); ++row) {
        const std::uint8_t* s = glyph.ScanLine(row) + frame * fw * sbpp;
        std::uint8_t* p = piece.ScanLine(row);
        for (int i = 0; i < fw; ++i)
            for (int c = 0; c < pbpp; ++c) p[i * pbpp + c] = s[i * sbpp + c];
    }
    // The key colour comes from the whole strip's bottom-left pixel, before any greying.
    const std::uint8_t keyPx[3] = {glyph.ScanLine(glyph.Height() - 1)[0], glyph.ScanLine(glyph.Height() - 1)[1],
                                   glyph.ScanLine(glyph.Height() - 1)[2]};
    if (look.gray) {
        if (alpha) GrayBitmap(piece);
        else GrayBitmapExceptKey(piece, keyPx[2] | (keyPx[1] << 8) | (keyPx[0] << 16));
    }
    const int blend = Clamp(look.blend);
    if (look.reflected) DrawReflection(dst, piece, x, y, alpha, keyPx, look.paintState == 0 ? blend : 0);
    Span s{};
    if (!Clip(dst, x, y, 0, fw, piece.Height(), s)) return;
    if (alpha) {
        int b = look.paintState == 0 ? blend : 0;
        if (!look.enabled && look.disabledBlend) b = std::max(b, 50);
        MixAlpha(dst, piece, s, b);
        return;
    }
    int transparency = 0;
    if (!look.enabled) transparency = look.disabledBlend ? 50 : 0;
    else if (look.paintState == 0) transparency = blend;
    MixKeyed(dst, piece, s, keyPx, transparency);
}

}  // namespace paint
