#include "skin/skin_colors.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace skin {
namespace {

struct Rgb {
    std::uint8_t r, g, b;
};

// The engine rounds halves to even (126.5 -> 126, 127.5 -> 128), whatever the FPU's mode.
std::uint8_t RoundChannel(double x) {
    double whole = std::floor(x);
    double rest = x - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    return static_cast<std::uint8_t>(std::clamp(whole, 0.0, 255.0));
}

Rgb TurnRgb(Rgb c, double degrees) {
    int mx = std::max({c.r, c.g, c.b}), mn = std::min({c.r, c.g, c.b});
    if (mx == mn) return c;  // grey has no hue
    double d = mx - mn;
    double h;
    if (mx == c.r)
        h = 60.0 * (c.g - c.b) / d;
    else if (mx == c.g)
        h = 60.0 * (c.b - c.r) / d + 120.0;
    else
        h = 60.0 * (c.r - c.g) / d + 240.0;
    h = std::fmod(h + degrees, 360.0);
    if (h < 0) h += 360.0;
    double s = d / mx, v = mx;
    double sector = h / 60.0;
    int i = static_cast<int>(sector) % 6;
    double f = sector - std::floor(sector);
    double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    double rgb[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};
    return Rgb{RoundChannel(rgb[i][0]), RoundChannel(rgb[i][1]), RoundChannel(rgb[i][2])};
}

Rgb SaturateRgb(Rgb c, int amount) {
    double m = (c.r + c.g + c.b) / 3.0;
    auto ch = [&](int x) { return RoundChannel(x + amount * (m - x) / 100.0); };
    return Rgb{ch(c.r), ch(c.g), ch(c.b)};
}

bool Keep(TColor c) { return c < 0 || c == kTransparentColor; }

template <class Op>
TColor MapColor(TColor c, Op op) {
    if (Keep(c)) return c;
    Rgb out = op(Rgb{static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c >> 16)});
    return static_cast<TColor>(out.r | out.g << 8 | out.b << 16);
}

// Walks the rows with the stride taken once; pixels of the transparent colour stay.
template <class Op>
void MapBitmap(framework::TBitmap& bmp, Op op) {
    if (bmp.Empty()) return;
    const int bpp = bmp.BytesPerPixel();
    const int width = bmp.Width(), height = bmp.Height();
    const std::ptrdiff_t stride = bmp.Stride();
    std::uint8_t* row = bmp.ScanLine(0);
    for (int y = 0; y < height; ++y, row += stride) {
        std::uint8_t* p = row;
        for (int x = 0; x < width; ++x, p += bpp) {
            if (p[0] == 0xFF && p[1] == 0 && p[2] == 0xFF) continue;
            if (p[0] == p[1] && p[1] == p[2]) continue;
            Rgb out = op(Rgb{p[2], p[1], p[0]});
            p[0] = out.b, p[1] = out.g, p[2] = out.r;
        }
    }
}

template <class Op>
void MapSectionColors(TsSkinModel& model, Op op) {
    for (TsGeneralData& s : model.Sections) {
        for (TColor* c : {&s.Color, &s.HotColor, &s.GlowColor, &s.HotGlowColor}) *c = MapColor(*c, op);
        for (TColor& c : s.FontColor) c = MapColor(c, op);
        for (TColor& c : s.HotFontColor) c = MapColor(c, op);
        for (TsGradArray* a : {&s.GradientArray, &s.HotGradientArray})
            for (TsGradPart& part : *a) {
                part.Color1 = MapColor(part.Color1, op);
                part.Color2 = MapColor(part.Color2, op);
            }
    }
    model.GlobalInfo.Shadow1Color = MapColor(model.GlobalInfo.Shadow1Color, op);
    model.GlobalInfo.BorderColor = MapColor(model.GlobalInfo.BorderColor, op);
}

// A rectangle of the master bitmap saved before and restored after its transformation.
struct SavedArea {
    RECT r;
    std::vector<std::uint8_t> bytes;
};

RECT ClipToBitmap(RECT r, const framework::TBitmap& b) {
    r.left = std::clamp<LONG>(r.left, 0, b.Width());
    r.right = std::clamp<LONG>(r.right, r.left, b.Width());
    r.top = std::clamp<LONG>(r.top, 0, b.Height());
    r.bottom = std::clamp<LONG>(r.bottom, r.top, b.Height());
    return r;
}

SavedArea SaveArea(const framework::TBitmap& b, RECT r) {
    SavedArea a{ClipToBitmap(r, b), {}};
    std::size_t rowBytes = static_cast<std::size_t>(a.r.right - a.r.left) * static_cast<std::size_t>(b.BytesPerPixel());
    for (LONG y = a.r.top; y < a.r.bottom; ++y) {
        const std::uint8_t* p = b.ScanLine(y) + a.r.left * b.BytesPerPixel();
        a.bytes.insert(a.bytes.end(), p, p + rowBytes);
    }
    return a;
}

void RestoreArea(framework::TBitmap& b, const SavedArea& a) {
    std::size_t rowBytes = static_cast<std::size_t>(a.r.right - a.r.left) * static_cast<std::size_t>(b.BytesPerPixel());
    const std::uint8_t* src = a.bytes.data();
    for (LONG y = a.r.top; y < a.r.bottom; ++y, src += rowBytes)
        if (rowBytes) std::memcpy(b.ScanLine(y) + a.r.left * b.BytesPerPixel(), src, rowBytes);
}

// Entries whose colours a hue turn keeps (title icons by TitleIconKeepHue).
std::vector<std::string> KeptIconNames(int keepHue) {
    std::vector<std::string> names;
    if (keepHue == 0) return names;
    names = {"BICONCLOSE", "SICONCLOSE"};
    if (keepHue == 1)
        for (const char* n : {"BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONMAX", "SICONMIN", "SICONNORM"})
            names.emplace_back(n);
    return names;
}

void TurnModelHue(TsSkinModel& model, int degrees) {
    auto op = [degrees](Rgb c) { return TurnRgb(c, degrees); };
    std::vector<bool> skip(model.Masks.size(), false);
    std::vector<SavedArea> saved;
    for (const std::string& name : KeptIconNames(model.GlobalInfo.TitleIconKeepHue)) {
        int i = model.FindMaskOwn("GLOBALINFO", name);
        if (i >= 0) {
            TsMaskData& m = model.Masks[static_cast<std::size_t>(i)];
            if (m.Bmp)
                skip[static_cast<std::size_t>(i)] = true;
            else if (model.MasterBitmap)
                saved.push_back(SaveArea(*model.MasterBitmap, m.R));
        }
        std::string glow = name;
        glow.append("GLOW0");
        int g = model.FindMaskOwn("GLOBALINFO", glow);
        if (g >= 0) skip[static_cast<std::size_t>(g)] = true;
    }
    if (model.MasterBitmap) {
        MapBitmap(*model.MasterBitmap, op);
        for (const SavedArea& a : saved) RestoreArea(*model.MasterBitmap, a);
    }
    for (std::size_t i = 0; i < model.Masks.size(); ++i)
        if (model.Masks[i].Bmp && !skip[i]) MapBitmap(*model.Masks[i].Bmp, op);
    for (TsPatternData& p : model.Patterns)
        if (p.Img) MapBitmap(*p.Img, op);
    MapSectionColors(model, op);
}

void SaturateModel(TsSkinModel& model, int saturation) {
    int amount = (-saturation) % 101;
    auto op = [amount](Rgb c) { return SaturateRgb(c, amount); };
    if (model.MasterBitmap) MapBitmap(*model.MasterBitmap, op);
    for (TsMaskData& m : model.Masks)
        if (m.Bmp) MapBitmap(*m.Bmp, op);
    for (TsPatternData& p : model.Patterns)
        if (p.Img) MapBitmap(*p.Img, op);
    MapSectionColors(model, op);
}

}  // namespace

TColor TurnHue(TColor color, int degrees) {
    return MapColor(color, [degrees](Rgb c) { return TurnRgb(c, degrees); });
}

TColor ChangeSaturation(TColor color, int saturation) {
    int amount = (-saturation) % 101;
    return MapColor(color, [amount](Rgb c) { return SaturateRgb(c, amount); });
}

void TurnHue(framework::TBitmap& bitmap, int degrees) {
    MapBitmap(bitmap, [degrees](Rgb c) { return TurnRgb(c, degrees); });
}

void ChangeSaturation(framework::TBitmap& bitmap, int saturation) {
    int amount = (-saturation) % 101;
    MapBitmap(bitmap, [amount](Rgb c) { return SaturateRgb(c, amount); });
}

void ApplyColorTransform(TsSkinModel& model, int hueOffset, int saturation) {
    if (hueOffset != 0) TurnModelHue(model, hueOffset);
    if (saturation != 0) SaturateModel(model, saturation);
}

}  // namespace skin
