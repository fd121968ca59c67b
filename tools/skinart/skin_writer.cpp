#include "skin_writer.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "atlas.h"
#include "pictures.h"
#include "platform/image_files.h"

namespace skinart {
namespace {

constexpr const char* kOptions = "Options.dat";
constexpr const char* kMaster = "MASTER.BMP";
constexpr int kMasterWidth = 256;
constexpr int kTitleGlowMargin = 6;

// Glow pictures: file, the glowing control's corner radius, how far the halo reaches, and
// the colour the control usually sits on.
struct GlowFile {
    const char* file;
    int radius;
    int spread;
    std::uint32_t (*backdrop)(const Palette&);
};
// share / 256 of the way from a to b, channel by channel.
std::uint32_t Between(std::uint32_t a, std::uint32_t b, int share) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int x = static_cast<int>((a >> shift) & 0xFF),
                  y = static_cast<int>((b >> shift) & 0xFF);
        out |= static_cast<std::uint32_t>((x * (256 - share) + y * share + 128) >> 8) << shift;
    }
    return out;
}
// The buttons sit low on the panel (rows 224 to 257 of 293); the edits in the middle of
// the group box.
constexpr GlowFile kButtonGlow{
    "GLOW5.PNG", 5, 6, [](const Palette& p) { return Between(p.bodyTop, p.bodyBottom, 210); }};
// Edit rows are 3 pixels apart: a wider halo would cover the neighbours' outlines.
constexpr GlowFile kFieldGlow{
    "GLOW3.PNG", 3, 4, [](const Palette& p) { return Between(p.cardTop, p.cardBottom, 128); }};

struct TitleGlow {
    const char* file;
    TitleIcon icon;
};
constexpr TitleGlow kTitleGlows[] = {
    {"CLOSEGLOW.PNG", TitleIcon::Close},
    {"CLOSEALONEGLOW.PNG", TitleIcon::CloseAlone},
    {"MINGLOW.PNG", TitleIcon::Minimize},
    {"MAXGLOW.PNG", TitleIcon::Maximize},
};

// Colours are written the platform's way: $BBGGRR.
std::string Hex(std::uint32_t rgb) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%02X%02X%02X", rgb & 0xFF, (rgb >> 8) & 0xFF,
                  (rgb >> 16) & 0xFF);
    return buf;
}

// One vertical gradient part from top to bottom over the whole height.
std::string Vertical(std::uint32_t top, std::uint32_t bottom) {
    return Hex(top) + ";" + Hex(bottom) + ";100;0;0";
}

class Options {
  public:
    void Section(const std::string& name) {
        if (!text_.empty()) text_ += "\r\n";
        text_ += "[" + name + "]\r\n";
    }
    void Key(const std::string& key, const std::string& value) {
        text_ += key + "=" + value + "\r\n";
    }
    void Key(const std::string& key, int value) { Key(key, std::to_string(value)); }
    void Color(const std::string& key, std::uint32_t rgb) { Key(key, Hex(rgb)); }
    // Fill of a section in one state: colour, and a vertical gradient over all of it.
    void Fill(bool hot, std::uint32_t top, std::uint32_t bottom, int transparency = 0) {
        const std::string prefix = hot ? "HOT" : "";
        Color(hot ? "HOTCOLOR" : "COLOR", bottom);
        Key(prefix + "TRANSPARENCY", transparency);
        if (top == bottom) return;
        Key(prefix + "GRADIENTPERCENT", 100);
        Key(prefix + "GRADIENTDATA", Vertical(top, bottom));
    }
    void Text(std::uint32_t normal, std::uint32_t hot) {
        Color("FONTCOLOR", normal);
        Color("HOTFONTCOLOR", hot);
    }
    const std::string& Str() const { return text_; }

  private:
    std::string text_;
};

std::string OwnPicture(const char* file, int kind, int margin) {
    std::string m = std::to_string(margin);
    return std::string("!") + file + "!1!0!" + std::to_string(kind) + "!" + m + "!" + m + "!" + m +
           "!" + m;
}

constexpr int kGlowKind = 3;
constexpr int kCentre = 4;         // frame draw mode: the centre piece is drawn
constexpr int kNothingAtRest = 2;  // frame draw mode: state 0 draws nothing

void GlobalInfo(Options& o, Atlas& a, const Palette& p) {
    o.Section("GLOBALINFO");
    o.Key("VERSION", "6.5");
    o.Key("AUTHOR", "Utrozvon");
    o.Key("DESCRIPTION", p.description);
    o.Key("MASTERBITMAP", kMaster);
    o.Color("COLOR", p.bodyBottom);
    o.Color("FONTCOLOR", p.text);
    o.Color("HOTCOLOR", p.bodyTop);
    o.Key("BORDERWIDTH", 3);
    o.Key("TITLEHEIGHT", 19);
    o.Key("BISPACE", 1);
    o.Key("BIRIGHT", 2);
    o.Key("BILEFT", 2);
    o.Key("BICONCLOSEGLOW", 1);
    o.Key("BICONCLOSEGLOWMARGIN", kTitleGlowMargin);
    o.Key("BICONMAXGLOW", 1);
    o.Key("BICONMAXGLOWMARGIN", kTitleGlowMargin);
    o.Key("BICONMINGLOW", 1);
    o.Key("BICONMINGLOWMARGIN", kTitleGlowMargin);
    o.Key("BOXCHECKED", a.AddGlyph(BoxGlyph(p, Box::Checked)));
    o.Key("BOXUNCHECKED", a.AddGlyph(BoxGlyph(p, Box::Unchecked)));
    o.Key("BOXGRAYED", a.AddGlyph(BoxGlyph(p, Box::Grayed)));
    o.Key("CHECK", a.AddGlyph(MenuCheck(p)));
    o.Key("GRIPIMAGE", a.AddGlyph(Grip(p)));
    o.Key("BICONMIN", a.AddGlyph(TitleButton(p, TitleIcon::Minimize)));
    o.Key("BICONMAX", a.AddGlyph(TitleButton(p, TitleIcon::Maximize)));
    o.Key("BICONNORM", a.AddGlyph(TitleButton(p, TitleIcon::Restore)));
    o.Key("BICONCLOSE", a.AddGlyph(TitleButton(p, TitleIcon::Close)));
    o.Key("BICLOSEALONE", a.AddGlyph(TitleButton(p, TitleIcon::CloseAlone)));
    // The hover picture of a title button is its entry name followed by GLOW0.
    o.Key("BICONCLOSEGLOW0", OwnPicture(kTitleGlows[0].file, kGlowKind, kTitleGlowMargin));
    o.Key("BICLOSEALONEGLOW0", OwnPicture(kTitleGlows[1].file, kGlowKind, kTitleGlowMargin));
    o.Key("BICONMINGLOW0", OwnPicture(kTitleGlows[2].file, kGlowKind, kTitleGlowMargin));
    o.Key("BICONMAXGLOW0", OwnPicture(kTitleGlows[3].file, kGlowKind, kTitleGlowMargin));
}

void Glow(Options& o, const GlowFile& g) {
    o.Key("GLOW", 1);
    o.Key("GLOWMARGIN", 0);
    o.Key("GLOW0", OwnPicture(g.file, kGlowKind, g.spread));
}

void Window(Options& o, Atlas& a, const Palette& p) {
    o.Section("FORM");
    // Normal values belong to an inactive window, hot ones to the active window.
    o.Fill(false, p.bodyTop, p.bodyBottom);
    o.Fill(true, p.bodyTop, p.bodyBottom);
    o.Text(p.text, p.text);
    o.Key("BORDERSMASK", a.AddFrame(FormFrame(p), Margins{8, 8, 8, 8}, 0));

    o.Section("FORMTITLE");
    o.Fill(false, p.idleTitleTop, p.idleTitleBottom);
    o.Fill(true, p.titleTop, p.titleBottom);
    o.Text(p.idleText, p.text);
    o.Key("BORDERSMASK", a.AddFrame(TitleFrame(p), TallMargins(8, 22), kCentre));

    o.Section("CAPTION");
    o.Fill(false, p.idleTitleBottom, p.idleTitleBottom, 100);
    o.Fill(true, p.titleBottom, p.titleBottom, 100);
    o.Text(p.idleText, p.text);
    o.Key("BORDERSMASK", a.AddFrame(CaptionPlate(p), TallMargins(8, 17), kCentre));
}

void Containers(Options& o, Atlas& a, const Palette& p) {
    o.Section("PANEL");
    o.Fill(false, p.bodyTop, p.bodyBottom);
    o.Fill(true, p.bodyTop, p.bodyBottom);
    o.Text(p.text, p.text);

    o.Section("GROUPBOX");
    o.Fill(false, p.cardTop, p.cardBottom);
    o.Fill(true, p.cardTop, p.cardBottom);
    o.Text(p.text, p.text);
    o.Key("BORDERSMASK", a.AddFrame(CardFrame(p), Margins{7, 7, 7, 7}, 0));

    o.Section("STATUSBAR");
    o.Fill(false, p.statusTop, p.statusBottom);
    o.Fill(true, p.statusTop, p.statusBottom);
    o.Text(p.text, p.text);
    o.Key("BORDERSMASK", a.AddFrame(StatusFrame(p), Margins{1, 9, 1, 9}, 0));

    o.Section("DIVIDER");
    o.Fill(false, p.statusBottom, p.statusBottom, 100);
    o.Fill(true, p.statusBottom, p.statusBottom, 100);
    o.Key("BORDERSMASK", a.AddFrame(DividerFrame(p), Margins{1, 4, 1, 4}, 0));
}

void Controls(Options& o, Atlas& a, const Palette& p) {
    o.Section("CHECKBOX");
    // See-through: a box shows the group box it sits on; hot adds a faint plate.
    o.Fill(false, p.cardBottom, p.cardBottom, 100);
    o.Fill(true, p.cardBottom, p.cardBottom, 100);
    o.Text(p.text, p.text);
    o.Key("BORDERSMASK",
          a.AddFrame(CheckBoxHotStates(p), TallMargins(5, 19), kCentre | kNothingAtRest));

    o.Section("EDIT");
    o.Fill(false, p.field, p.field);
    o.Fill(true, p.fieldHot, p.fieldHot);
    o.Text(p.text, p.text);
    o.Key("BORDERSMASK", a.AddFrame(EditStates(p), TallMargins(4, 21), 0));
    Glow(o, kFieldGlow);

    o.Section("SPEEDBUTTON");
    o.Fill(false, p.buttonTop, p.buttonBottom);
    o.Fill(true, p.buttonHotTop, p.buttonHotBottom);
    o.Text(p.text, p.text);
    o.Key("BORDERSMASK",
          a.AddFrame(ButtonStates(p, Button::Toggle, 15, 33), TallMargins(7, 33), kCentre));
    Glow(o, kButtonGlow);

    o.Section("SPLITTER");
    o.Fill(false, p.buttonTop, p.buttonBottom);
    o.Fill(true, p.buttonHotTop, p.buttonHotBottom);
    o.Text(p.text, p.text);
    o.Key("BORDERSMASK",
          a.AddFrame(ButtonStates(p, Button::Round, 35, 33), TallMargins(17, 33), kCentre));
    // No glow: a nine-piece halo with opaque corners cannot follow a round button.

    o.Section("SPEEDBUTTON_SMALL");
    o.Fill(false, p.buttonTop, p.buttonBottom);
    o.Fill(true, p.buttonHotTop, p.buttonHotBottom);
    o.Text(p.text, p.text);
    o.Key("BORDERSMASK",
          a.AddFrame(ButtonStates(p, Button::Small, 9, 17), TallMargins(4, 17), kCentre));
}

void Menus(Options& o, Atlas& a, const Palette& p) {
    o.Section("MAINMENU");
    o.Fill(false, p.menuTop, p.menuBottom);
    o.Fill(true, p.menuTop, p.menuBottom);
    o.Text(p.text, p.text);
    o.Key("BORDERSMASK", a.AddFrame(MenuFrame(p), Margins{6, 6, 6, 6}, 0, 3));

    o.Section("MENUITEM");
    o.Fill(false, p.menuBottom, p.menuBottom, 100);
    o.Fill(true, p.selectTop, p.selectBottom);
    o.Text(p.text, p.textOnAccent);
    o.Key("BORDERSMASK",
          a.AddFrame(MenuItemFrame(p), TallMargins(5, 19), kCentre | kNothingAtRest));

    o.Section("ICOLINE");
    o.Fill(false, p.iconLine, p.iconLine);
    o.Fill(true, p.iconLine, p.iconLine);
    o.Text(p.text, p.text);

    o.Section("DIVIDERV");
    o.Fill(false, p.menuBottom, p.menuBottom, 100);
    o.Fill(true, p.menuBottom, p.menuBottom, 100);
    o.Key("BORDERSMASK", a.AddFrame(MenuDivider(p), Margins{4, 1, 4, 1}, 0));
}

void WritePicture(const Picture& pic, const std::string& path, bool alpha) {
    const int bpp = alpha ? 4 : 3;
    const int stride = (pic.Width() * bpp + 3) / 4 * 4;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stride * pic.Height()), 0);
    for (int y = 0; y < pic.Height(); ++y)
        for (int x = 0; x < pic.Width(); ++x) {
            const Rgba c = pic.At(x, y);
            std::uint8_t* px = &bytes[static_cast<std::size_t>(y * stride + x * bpp)];
            px[0] = c.b, px[1] = c.g, px[2] = c.r;
            if (alpha) px[3] = c.a;
        }
    platform::gdi::PixelBuffer buffer{bytes.data(), pic.Width(), pic.Height(), stride, bpp * 8};
    if (alpha)
        platform::WritePng(path, buffer, true);
    else
        platform::WriteBmp(path, buffer);
}

}  // namespace

const std::vector<const Palette*>& ShippedSkins() {
    static const std::vector<const Palette*> skins{&kDarkGlass, &kDaybreak};
    return skins;
}

std::vector<std::string> SkinFileNames() {
    std::vector<std::string> names{kOptions, kMaster, kButtonGlow.file, kFieldGlow.file};
    for (const TitleGlow& g : kTitleGlows) names.push_back(g.file);
    return names;
}

void WriteSkin(const Palette& p, const std::string& dir) {
    Options o;
    Atlas atlas(kMasterWidth);
    GlobalInfo(o, atlas, p);
    Window(o, atlas, p);
    Containers(o, atlas, p);
    Controls(o, atlas, p);
    Menus(o, atlas, p);
    std::ofstream f(dir + "/" + kOptions, std::ios::binary);
    if (!f.write(o.Str().data(), static_cast<std::streamsize>(o.Str().size())) || !f.flush())
        throw std::runtime_error("cannot write " + dir + "/" + kOptions);
    WritePicture(atlas.Compose(), dir + "/" + kMaster, false);
    for (const GlowFile& g : {kButtonGlow, kFieldGlow})
        WritePicture(Halo(p, g.radius, g.spread, g.backdrop(p)), dir + "/" + g.file, true);
    for (const TitleGlow& g : kTitleGlows)
        WritePicture(TitleButtonGlow(p, g.icon, kTitleGlowMargin), dir + "/" + g.file, true);
}

}  // namespace skinart
