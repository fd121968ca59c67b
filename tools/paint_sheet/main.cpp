// Paints a sheet of skin sections from a skin generated here into a PNG, for checking by eye:
//   paint_sheet out.png
// Rows: plain, gradient, texture and see-through sections with frames and corner images in
// normal and hot state; texture draw modes; frames in each state; glowing and outlined text.
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "paint/bitmaps.h"
#include "paint/border_mask.h"
#include "paint/glow_text.h"
#include "paint/gradient.h"
#include "paint/section_paint.h"
#include "paint/section_text.h"
#include "paint/solid_fills.h"
#include "paint/textures.h"
#include "platform/image_files.h"

namespace {

using framework::TBitmap;
using framework::TColor;

constexpr int kWidth = 760, kHeight = 520;
constexpr TColor kHole = 0xFF00FF;

TColor Rgb(int r, int g, int b) { return static_cast<TColor>(r | (g << 8) | (b << 16)); }

void Set(TBitmap& b, int x, int y, TColor c) {
    std::uint8_t* p = b.ScanLine(y) + x * b.BytesPerPixel();
    p[0] = (c >> 16) & 0xFF, p[1] = (c >> 8) & 0xFF, p[2] = c & 0xFF;
}

// The master bitmap: a 3-state rounded frame with see-through corners at (0, 0), 3 x 32 x 32
// with 8-pixel margins; a brick texture at (0, 40), 24 x 16; a masked dot texture at
// (40, 40), 12 x 12 over its mask; a corner ornament at (80, 40), 10 x 10.
std::unique_ptr<TBitmap> MakeMaster() {
    auto m = paint::CreateBmp24(128, 80);
    paint::FillRectSolid(*m, RECT{0, 0, 128, 80}, kHole);
    const TColor rims[3] = {Rgb(70, 90, 120), Rgb(90, 140, 210), Rgb(40, 60, 90)};
    for (int s = 0; s < 3; ++s)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                int dx = std::min(x, 31 - x), dy = std::min(y, 31 - y);
                bool corner = dx < 6 && dy < 6 && (6 - dx) * (6 - dx) + (6 - dy) * (6 - dy) > 36;
                if (corner) continue;
                int edge = std::min(dx, dy);
                TColor c = edge < 2 ? Rgb(20, 25, 35) : edge < 8 ? rims[s] : Rgb(235, 238, 242);
                if (edge >= 2 && edge < 8 && (x + y) % 4 == 0) c = Rgb(255, 255, 255);
                Set(*m, s * 32 + x, y, c);
            }
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x) {
            bool mortar = y % 8 == 7 || (x + (y / 8) * 12) % 24 == 23;
            Set(*m, x, 40 + y, mortar ? Rgb(200, 200, 190) : Rgb(150 + (x * 3) % 20, 70, 50));
        }
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            int d2 = (x - 6) * (x - 6) + (y - 6) * (y - 6);
            Set(*m, 40 + x, 40 + y, Rgb(250, 200, 40));
            int mv = d2 < 9 ? 0 : d2 < 16 ? 128 : 255;
            Set(*m, 40 + x, 52 + y, Rgb(mv, mv, mv));
        }
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            if (x + y < 10) Set(*m, 80 + x, 40 + y, (x + y) % 3 ? Rgb(220, 40, 60) : Rgb(255, 220, 80));
    return m;
}

int AddMask(skin::TsSkinModel& m, const std::string& section, const std::string& prop, RECT r, int count, int maskType,
            int drawMode, int margin) {
    skin::TsMaskData e;
    e.SectionName = section;
    e.PropertyName = prop;
    e.R = r;
    e.ImageCount = static_cast<std::int16_t>(count);
    e.MaskType = static_cast<std::int16_t>(maskType);
    e.DrawMode = static_cast<std::int16_t>(drawMode);
    e.WL = e.WT = e.WR = e.WB = static_cast<std::int16_t>(margin);
    e.ImgType = prop == "BORDERSMASK" ? skin::itisaBorder : skin::itisaTexture;
    m.Masks.push_back(std::move(e));
    return static_cast<int>(m.Masks.size()) - 1;
}

skin::TsGeneralData& AddSection(skin::TsSkinModel& m, const std::string& name, TColor color) {
    skin::TsGeneralData s;
    s.SectionName = name;
    s.Color = color;
    s.HotColor = Rgb(std::min(255, (color & 0xFF) + 40), std::min(255, ((color >> 8) & 0xFF) + 40),
                     std::min(255, ((color >> 16) & 0xFF) + 40));
    s.FontColor = {Rgb(20, 20, 30), -1, -1, -1, Rgb(255, 255, 255)};
    s.HotFontColor = {Rgb(0, 0, 120), -1, -1, -1, Rgb(255, 255, 255)};
    m.Sections.push_back(std::move(s));
    return m.Sections.back();
}

void MakeSkin(skin::TsSkinModel& m) {
    m.MasterBitmap = MakeMaster();
    // Index 0 draws its centre (frame row); index 1, the sections' frame, leaves the fill.
    AddMask(m, "FRAMES", "BORDERSMASK", RECT{0, 0, 96, 32}, 3, 0, 4, 8);
    const int frame = AddMask(m, "PANEL", "BORDERSMASK", RECT{0, 0, 96, 32}, 3, 0, 0, 8);
    const int bricks = AddMask(m, "BRICKS", "PATTERN", RECT{0, 40, 24, 56}, 1, 0, 0, 0);
    const int dots = AddMask(m, "DOTS", "PATTERN", RECT{40, 40, 52, 64}, 1, 1, 0, 0);
    const int ornament = AddMask(m, "PANEL", "IMGTOPLEFT", RECT{80, 40, 90, 50}, 1, 0, 0, 0);
    (void)bricks, (void)dots;
    skin::TsGeneralData& plain = AddSection(m, "PANEL", Rgb(225, 230, 238));
    plain.ImgTL = ornament;
    skin::TsGeneralData& grad = AddSection(m, "GRADIENT", Rgb(200, 210, 230));
    grad.GradientPercent = 100;
    grad.GradientArray = {{Rgb(250, 250, 255), Rgb(160, 180, 220), 60, 0}, {Rgb(150, 170, 215), Rgb(90, 110, 170), 40, 0}};
    grad.HotGradientPercent = 100;
    grad.HotGradientArray = {{Rgb(255, 240, 200), Rgb(240, 160, 60), 50, 1}, {Rgb(240, 160, 60), Rgb(255, 240, 200), 50, 1}};
    skin::TsGeneralData& brick = AddSection(m, "BRICKS", Rgb(150, 70, 50));
    brick.ImagePercent = 70;
    brick.GradientPercent = 30;
    brick.GradientArray = {{Rgb(255, 255, 255), Rgb(0, 0, 0), 100, 0}};
    skin::TsGeneralData& glass = AddSection(m, "GLASS", Rgb(40, 120, 220));
    glass.Transparency = 60;
    glass.HotTransparency = 30;
    skin::TsGeneralData& dotted = AddSection(m, "DOTS", Rgb(30, 60, 90));
    dotted.ImagePercent = 100;
    skin::TsGeneralData& tri = AddSection(m, "TRIANGLES", 0);
    tri.GradientPercent = 100;
    tri.GradientArray = {{Rgb(255, 0, 0), 0, 0, 2}, {Rgb(255, 255, 255), 0, 0, 2}, {Rgb(0, 200, 0), 0, 0, 2},
                         {Rgb(0, 0, 255), 0, 0, 2}, {Rgb(250, 220, 0), 0, 0, 2}};
    for (auto& s : m.Sections)
        if (s.SectionName != "PANEL") s.BorderIndex = frame;
    m.Sections[0].BorderIndex = frame;
}

void Label(TBitmap& sheet, int x, int y, const std::string& text) {
    framework::TCanvas& c = sheet.Canvas();
    c.Font.SetColor(Rgb(0, 0, 0));
    RECT r{x, y, x + 740, y + 16};
    c.DrawText(text, r, DT_SINGLELINE | DT_NOPREFIX);
}

// A checkered parent so see-through sections show what lies behind them.
void Checker(TBitmap& sheet) {
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) Set(sheet, x, y, ((x / 10 + y / 10) % 2) ? Rgb(255, 255, 255) : Rgb(205, 210, 215));
}

void Sections(TBitmap& sheet, skin::TsSkinModel& m) {
    Label(sheet, 10, 8, "Sections, normal and hot: plain, gradient, bricks, glass 60/30 %, masked dots, triangles");
    for (std::size_t i = 0; i < m.Sections.size(); ++i)
        for (int state = 0; state < 2; ++state) {
            const int x = 10 + static_cast<int>(i) * 122, y = 28 + state * 80;
            TBitmap cell(110, 70, framework::TPixelFormat::pf24bit);
            // The cell's background is the sheet under it.
            paint::PaintSectionRect(&m, static_cast<int>(i), m.Sections[i].SectionName, paint::BgSourceFromBitmap(&sheet, 0, 0),
                                    -1, -1, cell, POINT{x, y}, RECT{0, 0, 110, 70}, state, true);
            paint::WriteSectionText(cell.Canvas(), m.Sections[i].SectionName, true, &m, state != 0,
                                    static_cast<int>(i), DT_CENTER | DT_VCENTER | DT_SINGLELINE, RECT{0, 0, 110, 70});
            BitBlt(sheet.Canvas().Handle(), x, y, 110, 70, cell.Canvas().Handle(), 0, 0, SRCCOPY);
        }
}

void TextureModes(TBitmap& sheet, skin::TsSkinModel& m) {
    Label(sheet, 10, 196, "Texture draw modes 0-14 (uncovered part in grey)");
    for (int mode = 0; mode <= 14; ++mode) {
        const int x = 10 + mode * 49, y = 216;
        RECT r{x, y, x + 44, y + 40};
        paint::FillTexture(sheet, r, mode, m, 2);
        if (!paint::IsCoveredAll(r)) paint::FillRectSolid(sheet, r, Rgb(128, 128, 128));
        Label(sheet, x + 14, y + 42, std::to_string(mode));
    }
}

void Frames(TBitmap& sheet, skin::TsSkinModel& m) {
    Label(sheet, 10, 280, "Frame states 0-2, a narrow frame, stretched edges");
    auto bg = paint::BgSourceFromBitmap(&sheet, 0, 0);
    for (int state = 0; state < 3; ++state)
        paint::DrawBorderMask(sheet, RECT{10 + state * 130, 300, 130 + state * 130, 360}, true, true, state, m, 0, bg);
    paint::DrawBorderMask(sheet, RECT{400, 300, 415, 360}, true, true, 1, m, 0, bg);
    m.Masks[0].DrawMode = 4 | paint::kBorderStretch;
    paint::DrawBorderMask(sheet, RECT{430, 300, 740, 360}, true, true, 1, m, 0, bg);
    m.Masks[0].DrawMode = 4;
}

void Text(TBitmap& sheet, skin::TsSkinModel& m) {
    Label(sheet, 10, 376, "Glow radius 2, 4, 8; outlined, disabled and cut text");
    const int radii[3] = {2, 4, 8};
    for (int k = 0; k < 3; ++k) {
        RECT r{10 + k * 170, 400, 170 + k * 170, 440};
        paint::FillRectSolid(sheet, r, Rgb(30, 40, 60));
        paint::GlowMask mask;
        sheet.Canvas().Font.SetHeight(-18);
        paint::DrawGlowText(sheet, "Утрозвон", r, mask, Rgb(120, 200, 255), radii[k], paint::kGlowContourAll,
                            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        paint::WriteSectionText(sheet.Canvas(), "Утрозвон", true, &m, false, 1, DT_CENTER | DT_VCENTER | DT_SINGLELINE, r);
    }
    sheet.Canvas().Font.SetHeight(-13);
    paint::WriteSectionText(sheet.Canvas(), "Disabled text", false, &m, false, 0, DT_SINGLELINE, RECT{530, 400, 740, 420});
    std::string cut = paint::TruncateText(sheet.Canvas(), "A caption much too long for its place", 150);
    paint::WriteSectionText(sheet.Canvas(), cut, true, &m, true, 0, DT_SINGLELINE, RECT{530, 424, 740, 444});
    paint::DrawDottedFocusRect(sheet.Canvas(), RECT{528, 422, 690, 442});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: paint_sheet out.png\n");
        return 2;
    }
    try {
        skin::TsSkinModel model;
        MakeSkin(model);
        TBitmap sheet(kWidth, kHeight, framework::TPixelFormat::pf32bit);
        Checker(sheet);
        Sections(sheet, model);
        TextureModes(sheet, model);
        Frames(sheet, model);
        Text(sheet, model);
        platform::WritePng(argv[1], platform::gdi::PixelBuffer{sheet.ScanLine(0), kWidth, kHeight, sheet.Stride(), 32}, false);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "paint_sheet: %s\n", e.what());
        return 1;
    }
    return 0;
}
