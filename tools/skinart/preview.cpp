#include "preview.h"

#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "paint/bitmaps.h"
#include "paint/border_mask.h"
#include "paint/image_entry.h"
#include "paint/image_pieces.h"
#include "paint/section_paint.h"
#include "paint/section_text.h"
#include "paint/solid_fills.h"
#include "platform/image_files.h"
#include "skin/skin_engine.h"
#include "skin/skin_manager.h"

namespace skinart {
namespace {

using framework::TBitmap;
using framework::TColor;

constexpr int kSheetW = 1040, kSheetH = 760;
constexpr int kWinW = 493, kWinH = 318;  // client 487 x 293, frame 3, caption 19
constexpr int kFrame = 3, kTitle = 22;
constexpr UINT kLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

TColor Rgb(int r, int g, int b) {
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}

// Everything the mock window paints with: the model, the sheet, and a copy of the sheet as it
// was before the current control, which is what lies behind that control.
class Painter {
  public:
    Painter(const skin::TsSkinModel& m, TBitmap& sheet)
        : m_(m), sheet_(sheet), behind_(kSheetW, kSheetH) {}

    void Snapshot() {
        std::memcpy(behind_.ScanLine(0), sheet_.ScanLine(0),
                    static_cast<std::size_t>(sheet_.Stride()) * kSheetH);
    }

    void Section(const char* name, RECT r, int state, bool snapshot = true) {
        if (snapshot) Snapshot();
        const int i = m_.FindSection(name);
        if (i < 0) return;
        // A control paints its own image with its origin at (0, 0) and its place in the parent
        // as the offset into the background, then the image goes to the screen.
        const int w = r.right - r.left, h = r.bottom - r.top;
        TBitmap cell(w, h, framework::TPixelFormat::pf24bit);
        paint::PaintSectionRect(&m_, i, name, paint::BgSourceFromBitmap(&behind_, 0, 0), -1, -1,
                                cell, POINT{r.left, r.top}, RECT{0, 0, w, h}, state, true);
        for (int y = 0; y < h; ++y)
            std::memcpy(sheet_.ScanLine(r.top + y) + r.left * 3, cell.ScanLine(y),
                        static_cast<std::size_t>(w * 3));
    }

    void Text(const char* section, const std::string& text, RECT r, bool hot, UINT flags = kLine,
              bool enabled = true) {
        paint::WriteSectionText(sheet_.Canvas(), text, enabled, &m_, hot, m_.FindSection(section),
                                flags, r);
    }

    // A global image entry; returns its frame width (0 when the skin lacks it).
    int Glyph(const char* name, int x, int y, int state, int mode = 1) {
        const int i = m_.FindMaskOwn("GLOBALINFO", name);
        const skin::TsMaskData* e = paint::MaskAt(m_, i);
        if (!e) return 0;
        paint::DrawImageFrame(sheet_, POINT{x, y}, state, paint::BgSourceFromBitmap(&sheet_, 0, 0),
                              m_, i, mode);
        return paint::FrameWidth(*e);
    }

    // The hover glow of a control: the section's GLOW0 frame drawn around the box into a
    // transparent picture, then laid over the screen by its alpha, as the glow window shows it.
    void Glow(const char* section, RECT box) {
        const int s = m_.FindSection(section), i = m_.FindMaskOwn(section, "GLOW0");
        if (s < 0 || i < 0) return;
        const RECT f = m_.MaskFrameWidths(i);
        const int overlap = m_.Sections[static_cast<std::size_t>(s)].GlowMargin;
        const int x0 = box.left - f.left + overlap, y0 = box.top - f.top + overlap;
        const int w = box.right - box.left + f.left + f.right - 2 * overlap;
        const int h = box.bottom - box.top + f.top + f.bottom - 2 * overlap;
        auto glow = paint::CreateBmp32(w, h);
        for (int y = 0; y < h; ++y)
            std::memset(glow->ScanLine(y), 0, static_cast<std::size_t>(w * 4));
        paint::DrawBorderMask(*glow, RECT{0, 0, w, h}, false, false, 0, m_, i,
                              paint::EmptyBgSource());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (x0 + x < 0 || y0 + y < 0 || x0 + x >= kSheetW || y0 + y >= kSheetH) continue;
                const std::uint8_t* g = glow->ScanLine(y) + x * 4;
                std::uint8_t* d = sheet_.ScanLine(y0 + y) + (x0 + x) * 3;
                for (int c = 0; c < 3; ++c)
                    d[c] =
                        static_cast<std::uint8_t>((g[c] * g[3] + d[c] * (255 - g[3]) + 127) / 255);
            }
    }

    void Font(const char* face, int height) {
        sheet_.Canvas().Font.SetName(face);
        sheet_.Canvas().Font.SetHeight(height);
    }

    const skin::TsSkinModel& Model() const { return m_; }
    TBitmap& Sheet() { return sheet_; }

  private:
    const skin::TsSkinModel& m_;
    TBitmap& sheet_;
    TBitmap behind_;
};

RECT At(int x, int y, int w, int h) {
    return RECT{x, y, x + w, y + h};
}

void Desktop(TBitmap& sheet) {
    for (int y = 0; y < kSheetH; ++y) {
        std::uint8_t* row = sheet.ScanLine(y);
        for (int x = 0; x < kSheetW; ++x) {
            // A calm blue-grey desktop with a faint diagonal pattern, so see-through corners show.
            const int v = ((x + y) / 6) % 2 ? 8 : 0;
            row[x * 3 + 0] = static_cast<std::uint8_t>(150 + v);
            row[x * 3 + 1] = static_cast<std::uint8_t>(120 + v);
            row[x * 3 + 2] = static_cast<std::uint8_t>(95 + v);
        }
    }
}

void TitleBar(Painter& p, int wx, int wy, bool active) {
    const int state = active ? 1 : 0;
    p.Section("FORMTITLE", At(wx, wy, kWinW, kTitle), state, false);
    p.Font("Tahoma", -11);
    p.Sheet().Canvas().Font.SetStyle(framework::TFontStyles{framework::fsBold});
    const std::string caption = "Утрозвон. v.1.0";
    RECT text = At(wx + kFrame + 22, wy + 2, 120, kTitle - 3);
    if (p.Model().FindSection("CAPTION") >= 0) {
        p.Section("CAPTION", At(text.left - 4, wy + 3, 110, 17), state);
        p.Text("CAPTION", caption, text, active);
    } else {
        p.Text("FORMTITLE", caption, text, active);
    }
    p.Sheet().Canvas().Font.SetStyle(framework::TFontStyles{});
    // Close at the right, then minimise, one pixel apart; the hovered state on the active one.
    const int top = wy + (kTitle - 16) / 2;
    int x = wx + kWinW - 2 - kFrame - 40;
    p.Glyph("BICONCLOSE", x, top, active ? 1 : 0, active ? 1 : 2);
    x -= 1 + 26;
    p.Glyph("BICONMIN", x, top, 0, active ? 1 : 2);
}

void DayRow(Painter& p, int gx, int gy, int d, const char* day, int boxWidth) {
    const int top = gy + 24 + 24 * (d - 1);
    const bool checked = d % 2 == 1, hot = d == 2;
    p.Section("CHECKBOX", At(gx + 8, top, boxWidth, 19), hot ? 1 : 0);
    p.Glyph(checked  ? "BOXCHECKED"
            : d == 7 ? "BOXGRAYED"
                     : "BOXUNCHECKED",
            gx + 8 + 1, top + 1, hot ? 1 : 0);
    p.Font("Tahoma", -11);
    p.Text("CHECKBOX", day, At(gx + 8 + 21, top, boxWidth - 20, 18), hot);
    const bool focused = d == 3;
    p.Section("EDIT", At(gx + 104, top, 49, 21), focused ? 1 : 0);
    p.Text("EDIT", "07:00:00", At(gx + 108, top + 1, 44, 19), focused);
    p.Section("EDIT", At(gx + 160, top, 297, 21), d == 5 ? 1 : 0);
    if (d == 1)
        p.Text("EDIT", "/home/me/Музыка/рассвет.ogg", At(gx + 164, top + 1, 260, 19), false);
    p.Section("SPEEDBUTTON_SMALL", At(gx + 160 + 297 - 2 - 16, top + 2, 16, 17), d == 5 ? 1 : 0);
    if (d == 5) p.Glow("EDIT", At(gx + 160, top, 297, 21));
    p.Text("SPEEDBUTTON_SMALL", "…", At(gx + 160 + 297 - 2 - 16, top + 1, 16, 17), d == 5,
           kLine | DT_CENTER);
}

void Window(Painter& p, int wx, int wy, bool active) {
    p.Section("FORM", At(wx, wy, kWinW, kWinH), active ? 1 : 0);
    TitleBar(p, wx, wy, active);
    const int cx = wx + kFrame, cy = wy + kTitle;
    p.Section("PANEL", At(cx, cy, 487, 293), 0);
    // Group box: the frame starts in the middle of the caption band.
    const int gx = cx + 8, gy = cy + 16;
    p.Section("GROUPBOX", At(gx, gy + 7, 473, 201 - 7), 0);
    p.Font("Tahoma", -11);
    p.Section("CHECKBOX", At(gx + 6, gy, 80, 15), 0);
    p.Text("GROUPBOX", " Дни недели ", At(gx + 6, gy, 80, 15), false, kLine | DT_CENTER);
    const char* days[7] = {"понедельник", "вторник", "среда",      "четверг",
                           "пятница",     "суббота", "воскресенье"};
    const int widths[7] = {90, 66, 56, 67, 69, 68, 94};
    for (int d = 1; d <= 7; ++d) DayRow(p, gx, gy, d, days[d - 1], widths[d - 1]);
    // The toggle (hot on the active window) and the round stop button.
    p.Section("SPEEDBUTTON", At(cx + 8, cy + 224, 73, 33), active ? 1 : 0);
    p.Font("Arial", -16);
    p.Text("SPEEDBUTTON", "Вкл", At(cx + 8, cy + 224, 73, 33), active, kLine | DT_CENTER);
    if (active) p.Glow("SPEEDBUTTON", At(cx + 8, cy + 224, 73, 33));
    p.Section("SPLITTER", At(cx + 432, cy + 224, 49, 33), active ? 2 : 1);
    if (!active) p.Glow("SPLITTER", At(cx + 432, cy + 224, 49, 33));
    paint::FillRectSolid(p.Sheet(), At(cx + 432 + 19, cy + 224 + 11 + (active ? 1 : 0), 11, 11),
                         Rgb(200, 60, 50));
    // Status bar with its dividers and grip.
    const int sx = cx + 1, sy = cy + 273;
    p.Section("STATUSBAR", At(sx, sy, 485, 19), 0);
    p.Font("Tahoma", -11);
    p.Text("STATUSBAR", " /home/me/Музыка/рассвет.ogg", At(sx + 2, sy + 1, 376, 18), false);
    p.Text("STATUSBAR", "Вкл", At(sx + 384, sy + 1, 36, 18), false);
    p.Text("STATUSBAR", "06:59:58", At(sx + 424, sy + 1, 50, 18), false);
    for (int right : {380, 420}) p.Section("DIVIDER", At(sx + right - 2, sy + 1, 2, 17), 0);
    const int grip = p.Model().FindMaskOwn("GLOBALINFO", "GRIPIMAGE");
    if (const skin::TsMaskData* e = paint::MaskAt(p.Model(), grip))
        p.Glyph("GRIPIMAGE", sx + 485 - paint::FrameWidth(*e), sy + 19 - paint::FrameHeight(*e), 0);
}

void Menu(Painter& p, int mx, int my) {
    const int w = 200, itemH = 19;
    const char* items[6] = {"Сохранить настройки",   "Свернуть в трей",
                            "Время Пн — на все дни", "-",
                            "Открыть сайт автора",   "Мелодия Пн — на все дни"};
    const int h = 6 + itemH * 5 + 6 + 2;
    p.Section("MAINMENU", At(mx, my, w, h), 0);
    p.Section("ICOLINE", At(mx + 3, my + 3, 22, h - 6), 0);
    int y = my + 3;
    p.Font("Tahoma", -11);
    for (int k = 0; k < 6; ++k) {
        if (std::strcmp(items[k], "-") == 0) {
            p.Section("DIVIDERV", At(mx + 30, y + 2, w - 36, 2), 0);
            y += 6;
            continue;
        }
        const bool selected = k == 1, disabled = k == 5, checked = k == 0 || k == 1;
        p.Section("MENUITEM", At(mx + 3, y, w - 6, itemH), selected ? 1 : 0);
        if (checked) p.Glyph("CHECK", mx + 6, y + (itemH - 16) / 2, selected ? 1 : 0);
        p.Text("MENUITEM", items[k], At(mx + 30, y, w - 36, itemH), selected, kLine, !disabled);
        y += itemH;
    }
}

// Every global glyph in all its states, three times as large, so single pixels can be judged.
void Glyphs(Painter& p, int x0, int y0) {
    const char* names[] = {"BOXUNCHECKED", "BOXCHECKED", "BOXGRAYED", "CHECK",      "GRIPIMAGE",
                           "BICONMIN",     "BICONMAX",   "BICONNORM", "BICONCLOSE", "BICLOSEALONE"};
    TBitmap& s = p.Sheet();
    int x = x0, y = y0, rowH = 0;
    for (const char* name : names) {
        const int i = p.Model().FindMaskOwn("GLOBALINFO", name);
        const skin::TsMaskData* e = paint::MaskAt(p.Model(), i);
        if (!e) continue;
        const int fw = paint::FrameWidth(*e), fh = paint::FrameHeight(*e);
        const int states = e->ImageCount;
        if (x + states * (fw + 2) * 3 > kSheetW - 10) x = x0, y += rowH + 8, rowH = 0;
        for (int st = 0; st < states; ++st) {
            const int gx = x + st * (fw + 2);
            p.Glyph(name, gx, y, st);
        }
        // Enlarge the row in place: copy it out, then write each pixel as a 3 x 3 block below.
        const int w = states * (fw + 2), h = fh;
        std::vector<std::uint8_t> copy(static_cast<std::size_t>(w * h * 3));
        for (int j = 0; j < h; ++j)
            std::memcpy(&copy[static_cast<std::size_t>(j * w * 3)], s.ScanLine(y + j) + x * 3,
                        static_cast<std::size_t>(w * 3));
        for (int j = 0; j < h * 3; ++j)
            for (int i2 = 0; i2 < w * 3; ++i2)
                std::memcpy(s.ScanLine(y + h + 4 + j) + (x + i2) * 3,
                            &copy[static_cast<std::size_t>(((j / 3) * w + i2 / 3) * 3)], 3);
        x += w * 3 + 12;
        rowH = std::max(rowH, h * 4 + 4);
    }
}

// The title buttons' hover pictures (own 32-bit pictures with alpha) over the desktop.
void TitleGlows(Painter& p, int x0, int y0) {
    int y = y0;
    for (const char* name : {"BICONCLOSEGLOW0", "BICONMINGLOW0", "BICONMAXGLOW0"}) {
        const skin::TsMaskData* e =
            paint::MaskAt(p.Model(), p.Model().FindMaskOwn("GLOBALINFO", name));
        if (!e || !e->Bmp || e->Bmp->BytesPerPixel() != 4) continue;
        for (int j = 0; j < e->Bmp->Height(); ++j)
            for (int i = 0; i < e->Bmp->Width(); ++i) {
                const std::uint8_t* g = e->Bmp->ScanLine(j) + i * 4;
                std::uint8_t* d = p.Sheet().ScanLine(y + j) + (x0 + i) * 3;
                for (int c = 0; c < 3; ++c)
                    d[c] =
                        static_cast<std::uint8_t>((g[c] * g[3] + d[c] * (255 - g[3]) + 127) / 255);
            }
        y += e->Bmp->Height() + 6;
    }
}

}  // namespace

std::string PreviewSkin(const std::string& skinPath, const std::string& outPng) {
    namespace fs = std::filesystem;
    fs::path path = fs::absolute(skinPath);
    std::string name = path.filename().string();
    if (path.extension() == ".asz") name.resize(name.size() - 4);
    std::string error;
    skin::SetSkinMessageBox([&error](HWND, const std::string& text, const std::string&, UINT) {
        error = text;
        return IDOK;
    });
    skin::TsSkinManager manager(nullptr);
    manager.SetSkinDirectory(path.parent_path().string());
    manager.SetSkinName(name);
    skin::SetSkinMessageBox(nullptr);
    if (!error.empty()) return error;
    if (!manager.GlobalInfo().SkinReady) return "no skin at " + skinPath;
    TBitmap sheet(kSheetW, kSheetH, framework::TPixelFormat::pf24bit);
    Desktop(sheet);
    Painter p(manager.Model(), sheet);
    Window(p, 20, 20, true);
    Window(p, 20, 370, false);
    Menu(p, 560, 40);
    Glyphs(p, 560, 190);
    TitleGlows(p, 800, 40);
    // WritePng takes 32-bit pixels.
    TBitmap out(kSheetW, kSheetH, framework::TPixelFormat::pf32bit);
    for (int y = 0; y < kSheetH; ++y)
        for (int x = 0; x < kSheetW; ++x) {
            std::memcpy(out.ScanLine(y) + x * 4, sheet.ScanLine(y) + x * 3, 3);
            out.ScanLine(y)[x * 4 + 3] = 255;
        }
    platform::WritePng(
        outPng, platform::gdi::PixelBuffer{out.ScanLine(0), kSheetW, kSheetH, out.Stride(), 32},
        false);
    return {};
}

}  // namespace skinart
