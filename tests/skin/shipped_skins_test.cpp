// The skins we ship (skins/DarkGlass, skins/Daybreak), loaded as the program loads them: text
// is legible on every fill it sits on, every picture the main window looks up is there, and
// the pictures have the shapes the painters rely on.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "skin/skin_engine.h"
#include "skin/skin_manager.h"

namespace {

using namespace skin;

constexpr TColor kKey = 0xFF00FF;

// The test data folder need not exist, so the path is cut rather than walked with "..".
std::string SkinsDir() {
    return std::filesystem::path(UTROZVON_TEST_DATA).parent_path().parent_path() / "skins";
}

// WCAG 2 relative luminance of a $BBGGRR colour, written out here rather than borrowed.
double Luminance(TColor c) {
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c & 0xFF) + 0.7152 * channel((c >> 8) & 0xFF) +
           0.0722 * channel((c >> 16) & 0xFF);
}

double Contrast(TColor a, TColor b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(ContrastRatio, MatchesTheWcagExamples) {
    EXPECT_NEAR(Contrast(0x000000, 0xFFFFFF), 21.0, 1e-9);
    EXPECT_NEAR(Contrast(0xFFFFFF, 0xFFFFFF), 1.0, 1e-9);
    // #777777 on white is the classic just-failing grey; #767676 just passes.
    EXPECT_LT(Contrast(0x777777, 0xFFFFFF), 4.5);
    EXPECT_GE(Contrast(0x767676, 0xFFFFFF), 4.5);
    // Channels are weighted: pure green is far lighter than pure blue.
    EXPECT_GT(Luminance(0x00FF00), Luminance(0xFF0000) * 9);
}

class ShippedSkin : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        SetSkinMessageBox([this](HWND, const std::string& text, const std::string& caption, UINT) {
            messages.push_back(caption + ": " + text);
            return IDOK;
        });
        manager = std::make_unique<TsSkinManager>(nullptr);
        manager->SetSkinDirectory(SkinsDir());
        manager->SetSkinName(GetParam());
        SetSkinMessageBox(nullptr);
        ASSERT_TRUE(manager->GlobalInfo().SkinReady)
            << "cannot load " << SkinsDir() << "/" << GetParam();
    }
    void TearDown() override { manager.reset(); }

    const TsSkinModel& Model() const { return manager->Model(); }
    const TsGeneralData& Section(const char* name) const {
        const int i = Model().FindSection(name);
        EXPECT_GE(i, 0) << name;
        return Model().Sections.at(static_cast<std::size_t>(std::max(i, 0)));
    }
    // Every colour a section's fill shows in one state: its colour and its gradient's ends.
    std::vector<TColor> Fills(const char* name, bool hot) const {
        const TsGeneralData& s = Section(name);
        std::vector<TColor> colors{hot ? s.HotColor : s.Color};
        if ((hot ? s.HotGradientPercent : s.GradientPercent) > 0)
            for (const TsGradPart& part : hot ? s.HotGradientArray : s.GradientArray) {
                colors.push_back(part.Color1);
                colors.push_back(part.Color2);
            }
        return colors;
    }
    const TsMaskData& Entry(const char* section, const char* property) const {
        const int i = Model().FindMaskOwn(section, property);
        EXPECT_GE(i, 0) << section << " " << property;
        return Model().Masks.at(static_cast<std::size_t>(std::max(i, 0)));
    }
    TColor MasterPixel(int x, int y) const {
        const std::uint8_t* p = Model().MasterBitmap->ScanLine(y) + x * 3;
        return static_cast<TColor>(p[2] | (p[1] << 8) | (p[0] << 16));
    }

    std::unique_ptr<TsSkinManager> manager;
    std::vector<std::string> messages;
};

TEST_P(ShippedSkin, LoadsWithoutAnyMessage) {
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_LE(Model().GlobalInfo.Version, 6.99);
}

// Where each text is written and what lies behind it. A see-through section (transparency
// 100 in that state) shows the section it sits on.
struct TextPlace {
    const char* textSection;
    bool hot;
    const char* behind;  // the section whose fill is behind the text
};
constexpr TextPlace kTextPlaces[] = {
    {"FORMTITLE", false, "FORMTITLE"},
    {"FORMTITLE", true, "FORMTITLE"},  // inactive, active title
    {"CAPTION", false, "FORMTITLE"},
    {"CAPTION", true, "FORMTITLE"},
    {"PANEL", false, "PANEL"},
    {"GROUPBOX", false, "PANEL"},  // the caption band shows the panel through the check-box section
    {"GROUPBOX", false, "GROUPBOX"},
    {"CHECKBOX", false, "GROUPBOX"},
    {"CHECKBOX", true, "GROUPBOX"},
    {"EDIT", false, "EDIT"},
    {"EDIT", true, "EDIT"},
    {"SPEEDBUTTON", false, "SPEEDBUTTON"},
    {"SPEEDBUTTON", true, "SPEEDBUTTON"},
    {"STATUSBAR", false, "STATUSBAR"},
    {"MENUITEM", false, "MAINMENU"},
    {"MENUITEM", true, "MENUITEM"},
};

TEST_P(ShippedSkin, EveryTextPassesWcagAaOnEveryFillBehindIt) {
    for (const TextPlace& place : kTextPlaces) {
        const TsGeneralData& text = Section(place.textSection);
        const TColor color = place.hot ? text.HotFontColor[0] : text.FontColor[0];
        for (TColor fill :
             Fills(place.behind, place.hot && std::string(place.behind) == place.textSection))
            EXPECT_GE(Contrast(color, fill), 4.5)
                << place.textSection << (place.hot ? " hot" : "") << " text " << std::hex << color
                << " on " << fill;
    }
}

TEST_P(ShippedSkin, SeeThroughSectionsAreTheOnesTheTextTableLooksThrough) {
    // The table above looks through these; if one became opaque its own fill would count.
    EXPECT_EQ(Section("CAPTION").Transparency, 100);
    EXPECT_EQ(Section("CAPTION").HotTransparency, 100);
    EXPECT_EQ(Section("CHECKBOX").Transparency, 100);
    EXPECT_EQ(Section("CHECKBOX").HotTransparency, 100);
    EXPECT_EQ(Section("MENUITEM").Transparency, 100);
    EXPECT_EQ(Section("MENUITEM").HotTransparency, 0);
}

TEST_P(ShippedSkin, HoldsEveryPictureTheMainWindowLooksUp) {
    for (const char* glyph :
         {"BOXCHECKED", "BOXUNCHECKED", "BOXGRAYED", "CHECK", "GRIPIMAGE", "BICONMIN", "BICONMAX",
          "BICONNORM", "BICONCLOSE", "BICLOSEALONE", "BICONCLOSEGLOW0", "BICLOSEALONEGLOW0",
          "BICONMINGLOW0", "BICONMAXGLOW0"})
        EXPECT_GE(Model().FindMaskOwn("GLOBALINFO", glyph), 0) << glyph;
    for (const char* section :
         {"FORM", "FORMTITLE", "CAPTION", "GROUPBOX", "STATUSBAR", "DIVIDER", "CHECKBOX", "EDIT",
          "SPEEDBUTTON", "SPLITTER", "SPEEDBUTTON_SMALL", "MAINMENU", "MENUITEM", "DIVIDERV"})
        EXPECT_GE(Section(section).BorderIndex, 0) << section;
    EXPECT_GE(Model().FindSection("PANEL"), 0);
    EXPECT_GE(Model().FindSection("ICOLINE"), 0);
    EXPECT_GE(Model().CachedIndexes[ciBoxChecked], 0);
    // A glow is the section's own GLOW0 entry; a parent's would not count.
    for (const char* section : {"EDIT", "SPEEDBUTTON"}) {
        EXPECT_EQ(Section(section).GlowCount, 1) << section;
        EXPECT_EQ(Entry(section, "GLOW0").ImgType, itisaGlow) << section;
    }
}

// The glow window draws its picture's corner pieces without their alpha. So a halo must lie
// wholly outside its control (no overlap), its corner pieces must be opaque (pre-mixed with
// what the control sits on) and its centre see-through.
TEST_P(ShippedSkin, GlowsLieOutsideTheirControlWithOpaqueCorners) {
    for (const char* section : {"EDIT", "SPEEDBUTTON"}) {
        SCOPED_TRACE(section);
        EXPECT_EQ(Section(section).GlowMargin, 0);
        const TsMaskData& glow = Entry(section, "GLOW0");
        ASSERT_TRUE(glow.Bmp);
        ASSERT_EQ(glow.Bmp->BytesPerPixel(), 4);
        const int w = glow.Bmp->Width(), h = glow.Bmp->Height();
        auto alpha = [&](int x, int y) { return glow.Bmp->ScanLine(y)[x * 4 + 3]; };
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool corner =
                    (x < glow.WL || x >= w - glow.WR) && (y < glow.WT || y >= h - glow.WB);
                if (corner) {
                    ASSERT_EQ(alpha(x, y), 255) << x << "," << y;
                }
            }
        EXPECT_EQ(alpha(glow.WL, glow.WT), 0);
        // Strongest next to the control, fading outwards.
        EXPECT_GT(alpha(glow.WL, glow.WT - 1), alpha(glow.WL, 0));
    }
}

TEST_P(ShippedSkin, MasterEntriesLieInsideTheMasterBitmapWithWholeStatesAndMasks) {
    const int w = Model().MasterBitmap->Width(), h = Model().MasterBitmap->Height();
    for (const TsMaskData& e : Model().Masks) {
        if (e.Bmp) continue;
        SCOPED_TRACE(e.SectionName + " " + e.PropertyName);
        EXPECT_TRUE(e.R.left >= 0 && e.R.top >= 0 && e.R.right <= w && e.R.bottom <= h);
        ASSERT_GT(e.ImageCount, 0);
        EXPECT_EQ(e.Width() % e.ImageCount, 0);
        EXPECT_EQ(e.MaskType, 1);
        EXPECT_EQ(e.Height() % 2, 0);
        // The lower half is a mask: grey, and 255 (keep what is beneath) under every key pixel.
        for (int y = e.R.top; y < e.R.top + e.Height() / 2; ++y)
            for (int x = e.R.left; x < e.R.right; ++x) {
                const TColor m = MasterPixel(x, y + e.Height() / 2);
                ASSERT_TRUE((m & 0xFF) == ((m >> 8) & 0xFF) && (m & 0xFF) == ((m >> 16) & 0xFF))
                    << x << "," << y;
                if (MasterPixel(x, y) == kKey) {
                    ASSERT_EQ(m, 0xFFFFFFu) << x << "," << y;
                }
            }
    }
}

// Regression: see-through pixels inside a frame's rounded corner showed the parent's pixels
// through the control (a light fleck in the corners of the title band and the edits). In a
// corner piece the key pixels must be the outside of the outline: any key pixel has only key
// pixels between it and the picture's corner.
TEST_P(ShippedSkin, KeyPixelsOfFrameCornersAreOnlyOutsideTheOutline) {
    for (const TsMaskData& e : Model().Masks) {
        if (e.Bmp || e.PropertyName != "BORDERSMASK") continue;
        SCOPED_TRACE(e.SectionName);
        const int fw = e.Width() / e.ImageCount, fh = e.Height() / 2;
        for (int s = 0; s < e.ImageCount; ++s) {
            const int x0 = e.R.left + s * fw, y0 = e.R.top;
            auto key = [&](int x, int y) { return MasterPixel(x0 + x, y0 + y) == kKey; };
            // (dx, dy) walks from the picture's corner inwards.
            for (int corner = 0; corner < 4; ++corner) {
                const bool right = corner & 1, bottom = corner & 2;
                const int cw = right ? e.WR : e.WL, ch = bottom ? e.WB : e.WT;
                for (int dy = 0; dy < ch; ++dy)
                    for (int dx = 0; dx < cw; ++dx) {
                        const int x = right ? fw - 1 - dx : dx, y = bottom ? fh - 1 - dy : dy;
                        if (!key(x, y)) continue;
                        if (dx > 0) {
                            ASSERT_TRUE(key(right ? x + 1 : x - 1, y))
                                << "state " << s << " at " << x << "," << y;
                        }
                        if (dy > 0) {
                            ASSERT_TRUE(key(x, bottom ? y + 1 : y - 1))
                                << "state " << s << " at " << x << "," << y;
                        }
                    }
            }
        }
    }
}

TEST_P(ShippedSkin, WindowCornersAreRoundAndTheTitleCutsTheSameCornerAsTheFrame) {
    const TsMaskData& form = Entry("FORM", "BORDERSMASK");
    const TsMaskData& title = Entry("FORMTITLE", "BORDERSMASK");
    const int formW = form.Width() / form.ImageCount, titleW = title.Width() / title.ImageCount;
    for (int s = 0; s < 2; ++s) {
        const int fx = form.R.left + s * formW, tx = title.R.left + s * titleW;
        EXPECT_EQ(MasterPixel(fx, form.R.top), kKey);
        EXPECT_EQ(MasterPixel(tx + titleW - 1, title.R.top), kKey);
        // The centre of the top edge is solid: only corners are cut out of the window.
        EXPECT_NE(MasterPixel(fx + form.WL, form.R.top), kKey);
        EXPECT_NE(MasterPixel(tx + title.WL, title.R.top), kKey);
        // The window region subtracts both pictures' corners: they must agree, or one of them
        // would bite a notch into the other's outline.
        for (int y = 0; y < std::min(form.WT, title.WT); ++y)
            for (int x = 0; x < std::min(form.WL, title.WL); ++x)
                EXPECT_EQ(MasterPixel(fx + x, form.R.top + y) == kKey,
                          MasterPixel(tx + x, title.R.top + y) == kKey)
                    << x << "," << y;
    }
    // The bottom corners of the title band are square: the frame goes on below it.
    const int bottomRow = title.R.top + title.Height() / 2 - 1;
    EXPECT_NE(MasterPixel(title.R.left, bottomRow), kKey);
}

TEST_P(ShippedSkin, GlyphSizesFitTheControlsThatShowThem) {
    // Check-box glyphs: 16 x 16 in a 19-pixel box; three states (normal, hot, pressed).
    for (int i : {ciBoxChecked, ciBoxUnchecked, ciBoxGrayed}) {
        const SIZE size = Model().MaskStateSize(Model().CachedIndexes[i]);
        EXPECT_EQ(size.cx, 16);
        EXPECT_EQ(size.cy, 16);
        EXPECT_EQ(Model().Masks[static_cast<std::size_t>(Model().CachedIndexes[i])].ImageCount, 3);
    }
    // Title buttons share one height, which fits the 22-pixel band of a fixed-size window.
    const SIZE close = Model().MaskStateSize(Model().FindMaskOwn("GLOBALINFO", "BICONCLOSE"));
    EXPECT_LE(close.cy, 22);
    for (const char* b : {"BICONMIN", "BICONMAX", "BICONNORM", "BICLOSEALONE"})
        EXPECT_EQ(Model().MaskStateSize(Model().FindMaskOwn("GLOBALINFO", b)).cy, close.cy) << b;
    // A title button's hover picture is the button grown by the glow margin on every side.
    const struct {
        const char *button, *glow;
        int margin;
    } glows[] = {{"BICONCLOSE", "BICONCLOSEGLOW0", Model().GlobalInfo.CloseIconGlowMargin},
                 {"BICLOSEALONE", "BICLOSEALONEGLOW0", Model().GlobalInfo.CloseIconGlowMargin},
                 {"BICONMIN", "BICONMINGLOW0", Model().GlobalInfo.MinIconGlowMargin},
                 {"BICONMAX", "BICONMAXGLOW0", Model().GlobalInfo.MaxIconGlowMargin}};
    for (const auto& g : glows) {
        const TsMaskData& glow = Entry("GLOBALINFO", g.glow);
        const SIZE button = Model().MaskStateSize(Model().FindMaskOwn("GLOBALINFO", g.button));
        ASSERT_TRUE(glow.Bmp) << g.glow;
        EXPECT_GT(g.margin, 0);
        EXPECT_EQ(glow.Bmp->Width(), button.cx + 2 * g.margin) << g.glow;
        EXPECT_EQ(glow.Bmp->Height(), button.cy + 2 * g.margin) << g.glow;
    }
    // The popup menu's frame width comes from its frame entry.
    EXPECT_EQ(Entry("MAINMENU", "BORDERSMASK").BorderWidth, 3);
}

// Buttons, edits and bands are shaded from top to bottom. Their frame pictures are exactly as
// high as the control, with everything but one centre row in the top and bottom pieces: a
// taller picture would have its margins cut, a shorter one would repeat a row of its shading.
TEST_P(ShippedSkin, ShadedFramesAreAsHighAsTheirControls) {
    const struct {
        const char* section;
        int height;
    } controls[] = {{"SPEEDBUTTON", 33}, {"SPLITTER", 33}, {"SPEEDBUTTON_SMALL", 17},
                    {"EDIT", 21},        {"CHECKBOX", 19}, {"STATUSBAR", 19},
                    {"FORMTITLE", 22},   {"MENUITEM", 19}};
    for (const auto& c : controls) {
        SCOPED_TRACE(c.section);
        const TsMaskData& frame = Entry(c.section, "BORDERSMASK");
        const int fw = frame.Width() / frame.ImageCount, fh = frame.Height() / 2;
        EXPECT_EQ(fh, c.height);
        EXPECT_EQ(frame.WT + frame.WB + 1, fh);
        // One centre column too, so the sides repeat nothing but the straight middle.
        EXPECT_EQ(frame.WL + frame.WR + 1, fw);
    }
    // The round stop button's ends are half circles of its height.
    EXPECT_EQ(Entry("SPLITTER", "BORDERSMASK").WL, 17);
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedSkin, ::testing::Values("DarkGlass", "Daybreak"));

// Nothing may depend on one skin: the two differ in colour only, never in which sections,
// entries and rectangles they have.
TEST(ShippedSkins, DifferOnlyInColour) {
    TsSkinManager dark(nullptr), day(nullptr);
    for (TsSkinManager* m : {&dark, &day}) m->SetSkinDirectory(SkinsDir());
    dark.SetSkinName("DarkGlass");
    day.SetSkinName("Daybreak");
    ASSERT_TRUE(dark.GlobalInfo().SkinReady && day.GlobalInfo().SkinReady);
    const TsSkinModel &a = dark.Model(), &b = day.Model();
    ASSERT_EQ(a.Sections.size(), b.Sections.size());
    for (std::size_t i = 0; i < a.Sections.size(); ++i) {
        EXPECT_EQ(a.Sections[i].SectionName, b.Sections[i].SectionName);
        EXPECT_EQ(a.Sections[i].Transparency, b.Sections[i].Transparency);
        EXPECT_EQ(a.Sections[i].HotTransparency, b.Sections[i].HotTransparency);
    }
    ASSERT_EQ(a.Masks.size(), b.Masks.size());
    for (std::size_t i = 0; i < a.Masks.size(); ++i) {
        SCOPED_TRACE(a.Masks[i].SectionName + " " + a.Masks[i].PropertyName);
        EXPECT_EQ(a.Masks[i].PropertyName, b.Masks[i].PropertyName);
        EXPECT_TRUE(EqualRect(&a.Masks[i].R, &b.Masks[i].R));
        EXPECT_EQ(a.Masks[i].ImageCount, b.Masks[i].ImageCount);
        EXPECT_EQ(a.Masks[i].WL + a.Masks[i].WT * 1000, b.Masks[i].WL + b.Masks[i].WT * 1000);
    }
    EXPECT_NE(a.Sections[0].Color, b.Sections[0].Color);
}

}  // namespace
