// The artwork of the edit-button glyphs, drawn by code. The program itself loads the glyphs
// from PNG pictures made from this drawing (tools/glyph_pngs); tests check that both agree.
#include "shell/glyph_art.h"

#include <algorithm>
#include <cmath>

namespace shell {
namespace {

// Argb colours of the artwork.
constexpr std::uint32_t kOutline = 0xFF6E7480;
constexpr std::uint32_t kPaper = 0xFFFFFFFF;
constexpr std::uint32_t kFold = 0xFFD8DCE4;
constexpr std::uint32_t kLensRing = 0xFF1F4E9C;
constexpr std::uint32_t kLensGlass = 0x6090C8F0;
constexpr std::uint32_t kHandle = 0xFF4A3A2A;
constexpr std::uint32_t kFolder = 0xFFE8B84A;
constexpr std::uint32_t kFolderDark = 0xFFB8862A;
constexpr std::uint32_t kArrow = 0xFF2E8B3A;
constexpr std::uint32_t kDots = 0xFF303640;
constexpr std::uint32_t kCalendarHead = 0xFFC8403A;

// Source-over painting on one state of a strip, with antialiased shapes from distances.
class Painter {
public:
    Painter(GlyphStrip& strip, int state) : s_(strip), ox_(state * kGlyphSize), shift_(state == 2 ? 1.0 : 0.0) {}

    void Blend(int x, int y, std::uint32_t argb, double coverage) {
        if (x < 0 || y < 0 || x >= kGlyphSize || y >= kGlyphSize || coverage <= 0) return;
        std::uint8_t* p = &s_.bgra[static_cast<std::size_t>((y * s_.width + ox_ + x) * 4)];
        double sa = ((argb >> 24) & 0xFF) / 255.0 * std::min(1.0, coverage);
        double da = p[3] / 255.0;
        double oa = sa + da * (1 - sa);
        if (oa <= 0) return;
        for (int c = 0; c < 3; ++c) {
            double sc = (argb >> (8 * c)) & 0xFF;
            p[c] = static_cast<std::uint8_t>(std::lround((sc * sa + p[c] * da * (1 - sa)) / oa));
        }
        p[3] = static_cast<std::uint8_t>(std::lround(oa * 255));
    }
    void Fill(int x0, int y0, int x1, int y1, std::uint32_t argb) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) Blend(x, y, argb, 1);
    }
    // Pixels whose centre lies within `half` of the segment, shifted with the pressed state.
    void Line(double x0, double y0, double x1, double y1, double half, std::uint32_t argb) {
        x0 += shift_, y0 += shift_, x1 += shift_, y1 += shift_;
        double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
        for (int y = 0; y < kGlyphSize; ++y)
            for (int x = 0; x < kGlyphSize; ++x) {
                double px = x + 0.5, py = y + 0.5;
                double t = len2 > 0 ? std::clamp(((px - x0) * dx + (py - y0) * dy) / len2, 0.0, 1.0) : 0;
                double d = std::hypot(px - x0 - t * dx, py - y0 - t * dy);
                Blend(x, y, argb, half + 0.5 - d);
            }
    }
    void Disc(double cx, double cy, double r, std::uint32_t argb) {
        cx += shift_, cy += shift_;
        for (int y = 0; y < kGlyphSize; ++y)
            for (int x = 0; x < kGlyphSize; ++x) Blend(x, y, argb, r + 0.5 - std::hypot(x + 0.5 - cx, y + 0.5 - cy));
    }
    // A circle line; with gapDegrees, open over that many degrees clockwise from twelve o'clock.
    void Ring(double cx, double cy, double r, double half, std::uint32_t argb, double gapDegrees = 0) {
        cx += shift_, cy += shift_;
        for (int y = 0; y < kGlyphSize; ++y)
            for (int x = 0; x < kGlyphSize; ++x) {
                double angle = std::atan2(x + 0.5 - cx, cy - y - 0.5) * 180 / 3.14159265358979;
                if (angle >= 0 && angle < gapDegrees) continue;
                Blend(x, y, argb, half + 0.5 - std::abs(std::hypot(x + 0.5 - cx, y + 0.5 - cy) - r));
            }
    }
    int Shift() const { return static_cast<int>(shift_); }
    // Moves every colour of this state towards white; transparency stays.
    void Lighten(double amount) {
        for (int y = 0; y < kGlyphSize; ++y)
            for (int x = 0; x < kGlyphSize; ++x) {
                std::uint8_t* p = &s_.bgra[static_cast<std::size_t>((y * s_.width + ox_ + x) * 4)];
                for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(p[c] + std::lround((255 - p[c]) * amount));
            }
    }

private:
    GlyphStrip& s_;
    int ox_;
    double shift_;
};

bool InPage(int x, int y) { return x >= 3 && x < 13 && y >= 1 && y < 15 && x - 9 <= y - 1; }

// A sheet with its top right corner folded down.
void Page(Painter& p) {
    int k = p.Shift();
    for (int y = 0; y < kGlyphSize; ++y)
        for (int x = 0; x < kGlyphSize; ++x) {
            if (!InPage(x, y)) continue;
            bool edge = !InPage(x - 1, y) || !InPage(x + 1, y) || !InPage(x, y - 1) || !InPage(x, y + 1);
            bool flap = x >= 9 && y <= 4;
            std::uint32_t c = edge ? kOutline : flap ? (x == 9 || y == 4 ? kOutline : kFold) : kPaper;
            p.Blend(x + k, y + k, c, 1);
        }
}

void Magnifier(Painter& p) {
    p.Line(10.5, 10.5, 14.2, 14.2, 1.1, kHandle);
    p.Disc(7.5, 7.5, 3.6, kLensGlass);
    p.Ring(7.5, 7.5, 3.6, 0.75, kLensRing);
}

void Folder(Painter& p) {
    int k = p.Shift();
    p.Fill(1 + k, 3 + k, 7 + k, 5 + k, kFolderDark);
    p.Fill(1 + k, 4 + k, 15 + k, 14 + k, kFolderDark);
    p.Fill(2 + k, 6 + k, 14 + k, 13 + k, kFolder);
}

void RefreshArrow(Painter& p) {
    p.Ring(8, 8, 5, 0.9, kArrow, 60);
    // The head at twelve o'clock, pointing clockwise into the gap.
    p.Line(10.8, 3, 8.2, 0.6, 0.8, kArrow);
    p.Line(10.8, 3, 8.2, 5.4, 0.8, kArrow);
}

void Dots(Painter& p) {
    for (double x : {3.5, 8.0, 12.5}) p.Disc(x, 11.5, 1.4, kDots);
}

void Calendar(Painter& p) {
    int k = p.Shift();
    p.Fill(1 + k, 2 + k, 15 + k, 15 + k, kOutline);
    p.Fill(2 + k, 3 + k, 14 + k, 6 + k, kCalendarHead);
    p.Fill(2 + k, 6 + k, 14 + k, 14 + k, kPaper);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col) p.Fill(3 + col * 3 + k, 7 + row * 2 + k, 5 + col * 3 + k, 8 + row * 2 + k, kOutline);
}

// The hot state lights the art up a little; the pressed one is drawn a pixel lower right.
void Highlight(Painter& p, int state) {
    if (state == 1) p.Lighten(0.25);
}

GlyphStrip MakeStrip(const char* name, void (*art)(Painter&), bool magnifier) {
    GlyphStrip s;
    s.name = name;
    s.bgra.assign(static_cast<std::size_t>(s.width * s.height * 4), 0);
    for (int state = 0; state < kGlyphStates; ++state) {
        Painter p(s, state);
        art(p);
        if (magnifier && state > 0) Magnifier(p);
        else Highlight(p, state);
    }
    return s;
}

std::vector<GlyphStrip> MakeAll() {
    std::vector<GlyphStrip> all;
    all.push_back(MakeStrip("SF", Page, true));
    all.push_back(MakeStrip("SR", RefreshArrow, false));
    all.push_back(MakeStrip("SD", Folder, true));
    all.push_back(MakeStrip("SE", Dots, false));
    all.push_back(MakeStrip("SC", Calendar, false));
    return all;
}

}  // namespace

std::vector<GlyphStrip> DrawGlyphArt() { return MakeAll(); }

}  // namespace shell
