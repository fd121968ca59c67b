#include "forms/menu_extra_line.h"

#include <algorithm>

#include "paint/bitmaps.h"
#include "paint/section_paint.h"
#include "platform/gdi.h"
#include "skin/skin_manager.h"

namespace forms {

using framework::TBitmap;

namespace {

bool g_preparing = false;

// The caption's font: the name and style of `font`, its point size as the pixel height,
// normal weight.
void SelectCaptionFont(framework::TCanvas& canvas, const framework::TFont& font) {
    canvas.Font.SetName(font.Name());
    canvas.Font.SetHeight(font.Size());
    canvas.Font.SetCharset(font.Charset());
    canvas.Font.SetStyle(font.Style() & ~framework::TFontStyles{framework::fsBold});
}

// Writes text so that it reads upwards, its first letter at (x, bottom) and its tops to the
// left: the strip's pixels are turned a quarter into a level picture, written on, turned back.
void WriteUpwards(TBitmap& strip, const framework::TFont& font, framework::TColor color,
                  const std::string& text, int bottom) {
    framework::TCanvas& probe = strip.Canvas();
    SelectCaptionFont(probe, font);
    const int tw = probe.TextWidth(text), th = probe.TextHeight(text);
    if (tw <= 0 || th <= 0) return;
    const int x0 = (strip.Width() - th) / 2;
    auto level = paint::CreateBmp24(tw, th);
    auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < strip.Width() && y < strip.Height();
    };
    for (int sy = 0; sy < th; ++sy) {
        std::uint8_t* row = level->ScanLine(sy);
        for (int sx = 0; sx < tw; ++sx) {
            const int x = x0 + sy, y = bottom - 1 - sx;
            if (inside(x, y)) std::copy_n(strip.ScanLine(y) + x * 3, 3, row + sx * 3);
        }
    }
    framework::TCanvas& c = level->Canvas();
    SelectCaptionFont(c, font);
    c.Font.SetColor(color);
    c.Brush.SetStyle(framework::TBrushStyle::bsClear);
    c.TextOut(0, 0, text);
    for (int sy = 0; sy < th; ++sy) {
        const std::uint8_t* row = level->ScanLine(sy);
        for (int sx = 0; sx < tw; ++sx) {
            const int x = x0 + sy, y = bottom - 1 - sx;
            if (inside(x, y)) std::copy_n(row + sx * 3, 3, strip.ScanLine(y) + x * 3);
        }
    }
}

}  // namespace

ExtraLineData PrepareExtraLine(skin::TsSkinManager& manager, framework::TMenuItem& first) {
    ExtraLineData line;
    if (first.Name() == kSkinSelectItem) {
        line.shown = false;
        return line;
    }
    if (manager.OnGetMenuExtraLineData && !g_preparing) {
        TBitmap glyph;
        g_preparing = true;
        try {
            manager.OnGetMenuExtraLineData(&first, line.section, line.caption, glyph, line.shown);
        } catch (...) {
            g_preparing = false;
            throw;
        }
        g_preparing = false;
        if (!glyph.Empty()) line.glyph = std::make_unique<TBitmap>(), line.glyph->Assign(glyph);
    }
    std::erase(line.caption, '&');
    if (!line.shown) line.glyph.reset();
    return line;
}

void PaintExtraLine(const skin::TsSkinModel& model, const ExtraLineData& line,
                    const framework::TFont& font, int width, int border, TBitmap& bg) {
    const int height = bg.Height() - 2 * border;
    if (width <= 0 || height <= 0) return;
    auto strip = paint::CreateBmp24(width, height);
    BitBlt(strip->Canvas().Handle(), 0, 0, width, height, bg.Canvas().Handle(), border, border,
           SRCCOPY);
    const int section = model.FindSection(line.section);
    framework::TColor color = font.Color();
    if (section >= 0) {
        paint::PaintSectionRect(&model, section, line.section, paint::BgSourceFromBitmap(&bg, 0, 0),
                                -1, -1, *strip, POINT{border, border}, RECT{0, 0, width, height}, 0,
                                true);
        color = model.Sections[static_cast<std::size_t>(section)].FontColor[0];
    }
    int start = height - kExtraLineBareGap;
    if (line.glyph) {
        const int gw = line.glyph->Width(), gh = line.glyph->Height();
        strip->Canvas().Draw((width - gw) / 2, height - kExtraLineGlyphGap - gh, *line.glyph);
        start = height - (gh + kExtraLineCaptionGap);
    }
    if (!line.caption.empty()) WriteUpwards(*strip, font, color, line.caption, start);
    BitBlt(bg.Canvas().Handle(), border, border, width, height, strip->Canvas().Handle(), 0, 0,
           SRCCOPY);
}

}  // namespace forms
