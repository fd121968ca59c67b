#include <gtest/gtest.h>

#include "framework/exceptions.h"
#include "skin/skin_loader.h"
#include "skin/skin_text.h"

namespace {

using namespace skin;

struct Loaded {
    TsOptionsText text;
    TsSkinModel model;
    int notices = 0;
};

// Reads the sections of an options text (no pictures) and sets the indexes.
std::unique_ptr<Loaded> LoadText(const std::string& options, const std::string& common = "") {
    auto l = std::make_unique<Loaded>();
    l->text = TsOptionsText::Parse(options);
    TsOptionsText commonText = TsOptionsText::Parse(common);
    TsLoadSource source;
    source.options = &l->text;
    source.common = &commonText;
    Loaded* raw = l.get();
    source.versionNotice = [raw](const std::string&) { ++raw->notices; };
    LoadSections(l->model, source);
    l->model.UpdateIndexes();
    return l;
}

const TsGeneralData& Section(const Loaded& l, const char* name) {
    int i = l.model.FindSection(name);
    EXPECT_GE(i, 0) << name;
    return l.model.Sections[static_cast<std::size_t>(std::max(i, 0))];
}

std::string ErrorOf(const std::string& options) {
    try {
        LoadText(options);
    } catch (const framework::EConvertError& e) {
        return e.what();
    }
    return "no error";
}

TEST(OptionsText, LinesSectionsAndKeys) {
    auto t = TsOptionsText::Parse(
        "ignored=1\r\n; comment\r\n  [ First ]  \rKey = Value \nkey=second\r\n\r\n[second]\nA=1\n= nameless\nnoequals\n");
    ASSERT_EQ(t.Sections().size(), 2u);
    EXPECT_EQ(t.Sections()[0].name, "First");
    EXPECT_EQ(t.ReadString("FIRST", "KEY", "-"), "Value");  // the first of repeated keys counts
    ASSERT_EQ(t.Sections()[0].keys.size(), 2u);
    EXPECT_EQ(t.Sections()[0].keys[1].name, "key");
    EXPECT_EQ(t.Sections()[1].keys.size(), 1u);
    EXPECT_EQ(t.ReadString("nothing", "A", "-"), "-");
}

TEST(SkinText, Integers) {
    struct Row {
        const char* name;
        const char* text;
        std::optional<std::int32_t> value;
    } rows[] = {
        {"decimal", "42", 42},
        {"leading spaces", "  7", 7},
        {"negative", "-15", -15},
        {"dollar hex", "$FF", 255},
        {"x hex", "x1f", 31},
        {"0x hex", "0X10", 16},
        {"system colour", "$FF00000F", static_cast<std::int32_t>(0xFF00000F)},
        {"minimum", "-2147483648", INT32_MIN},
        {"too large", "2147483648", std::nullopt},
        {"trailing blank", "12 ", std::nullopt},
        {"empty", "", std::nullopt},
        {"sign only", "-", std::nullopt},
        {"words", "abc", std::nullopt},
        {"hex without digits", "$", std::nullopt},
        {"nine hex digits", "$100000000", std::nullopt},
    };
    for (const Row& r : rows) EXPECT_EQ(ParseInteger(r.text), r.value) << r.name;
}

TEST(SkinDescription, InheritanceAlongParentClass) {
    auto l = LoadText(
        "[PANEL]\nCOLOR=$123456\nFONTCOLOR=$0000FF\nSHOWFOCUS=TRUE\nGRADIENTDATA=1;2;3;4;5\n"
        "[BUTTON]\nPARENTCLASS=PANEL\n"
        "[EDIT]\nPARENTCLASS=PANEL\nCOLOR=-1\nSHOWFOCUS=?\n"
        "[SELF]\nPARENTCLASS=SELF\n"
        "[LOWER]\nparentclass=panel\n"
        "[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=C\n[C]\nPARENTCLASS=A\n"
        "[BADNUMBER]\nPARENTCLASS=PANEL\nCOLOR=12abc\nFADINGITERATIONS=x\n");
    struct Row {
        const char* section;
        TColor color;
        bool showFocus;
        std::size_t gradientParts;
    } rows[] = {
        {"BUTTON", 0x123456, true, 1},     // absent keys come from the parent
        {"EDIT", 0x123456, true, 1},       // -1 and "?" behave like absent keys
        {"SELF", 0xFFFFFF, false, 0},      // a section that names itself ends the chain
        {"LOWER", 0x123456, true, 1},      // section lookups ignore letter case
        {"A", 0xFFFFFF, false, 0},         // a chain back to a visited section ends with the default
        {"BADNUMBER", 0x123456, true, 1},  // an unreadable number counts as absent
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.section);
        const TsGeneralData& s = Section(*l, r.section);
        EXPECT_EQ(s.Color, r.color);
        EXPECT_EQ(s.ShowFocus, r.showFocus);
        EXPECT_EQ(s.GradientArray.size(), r.gradientParts);
    }
    EXPECT_EQ(Section(*l, "BUTTON").ParentClass, "PANEL");
    EXPECT_EQ(Section(*l, "BADNUMBER").FadingIterations, 5);
    EXPECT_EQ(Section(*l, "BUTTON").FontColor[0], 0x0000FF);
    EXPECT_EQ(Section(*l, "BUTTON").FontColor[1], -1);
}

TEST(SkinDescription, GradientWords) {
    struct Row {
        const char* name;
        const char* text;
        std::size_t parts;
    } rows[] = {
        {"seven words", "1;2;3;4;5;6;7", 1},
        {"ten words", "1;2;3;4;5;6;7;8;9;10", 2},
        {"runs of separators", ";;1;;2;3;;;4;5;", 1},
        {"four words", "1;2;3;4", 0},
        {"empty", "", 0},
    };
    for (const Row& r : rows) EXPECT_EQ(ParseGradient(r.text).size(), r.parts) << r.name;
    TsGradArray clamped = ParseGradient("-5;$FF;250;7;x");
    ASSERT_EQ(clamped.size(), 1u);
    EXPECT_EQ(clamped[0].Color1, 0);
    EXPECT_EQ(clamped[0].Color2, 255);
    EXPECT_EQ(clamped[0].Percent, 100);
    EXPECT_EQ(clamped[0].Mode, 7);
    auto l = LoadText("[X]\nGRADIENTDATA=1;2;3;4;5\n");
    EXPECT_TRUE(Section(*l, "X").HotGradientArray.empty());
    EXPECT_EQ(ErrorOf("[X]\nHOTGRADIENTDATA=1;2;z;4;5\n"), "'z' is not a valid integer value");
}

TEST(SkinDescription, StrictAndLenientGlobalKeys) {
    struct Row {
        const char* key;
        const char* error;
    } rows[] = {
        {"SHADOW1OFFSET=abc", "'abc' is not a valid integer value"},
        {"SHADOW1BLUR=1.5", "'1.5' is not a valid integer value"},
        {"SHADOW1TRANSPARENCY=", "'' is not a valid integer value"},
        {"BICONCLOSEGLOW=x", "'x' is not a valid integer value"},
        {"BICONMINGLOWMARGIN=2 ", "no error"},  // the line is trimmed
        {"BORDERWIDTH=abc", "no error"},
        {"TITLEHEIGHT=$", "no error"},
    };
    for (const Row& r : rows) EXPECT_EQ(ErrorOf(std::string("[GLOBALINFO]\n") + r.key + "\n"), r.error) << r.key;
    auto l = LoadText("[GLOBALINFO]\nBORDERWIDTH=abc\nTITLEHEIGHT=22\nSHADOW1BLUR=3\nVERSION=6.5\nAUTHOR=Me\n");
    const TsSkinData& g = l->model.GlobalInfo;
    EXPECT_EQ(g.FormBorderWidth, 4);
    EXPECT_EQ(g.TitleHeight, 22);
    EXPECT_EQ(g.MaxTitleHeight, 22);  // absent MAXHEIGHT takes the title height
    EXPECT_EQ(g.Shadow1Blur, 3);
    EXPECT_DOUBLE_EQ(g.Version, 6.5);
    EXPECT_EQ(g.Author, "Me");
    EXPECT_EQ(LoadText("[GLOBALINFO]\nMAXHEIGHT=0\nTITLEHEIGHT=9\n")->model.GlobalInfo.MaxTitleHeight, 9);
}

TEST(SkinDescription, VersionNoticeAboveTheEngineVersion) {
    struct Row {
        const char* version;
        int notices;
    } rows[] = {{"7", 1}, {"6.99", 0}, {"7.0", 1}, {"6,99", 0}, {"", 0}};
    for (const Row& r : rows)
        EXPECT_EQ(LoadText(std::string("[GLOBALINFO]\nVERSION=") + r.version + "\n")->notices, r.notices) << r.version;
}

TEST(SkinDescription, CommonSectionsAddWhatTheSkinLacks) {
    auto l = LoadText("[PANEL]\nCOLOR=$00FF00\nGRADIENTDATA=1;2;3;4;5\n[EXTRA]\nCOLOR=1\n",
                      "[EXTRA]\nCOLOR=2\n[MYPANEL]\nPARENTCLASS=panel\nFONTCOLOR=$FF00000F\n[ALONE]\nGLOW=3\n");
    ASSERT_EQ(l->model.Sections.size(), 4u);
    EXPECT_EQ(Section(*l, "EXTRA").Color, 1);  // the skin's own section stays
    const TsGeneralData& mine = Section(*l, "MYPANEL");
    EXPECT_EQ(mine.ParentClass, "PANEL");
    EXPECT_EQ(mine.Color, 0x00FF00);
    EXPECT_EQ(mine.FontColor[0], static_cast<TColor>(0xFF00000F));  // stored as read
    EXPECT_EQ(mine.GradientArray.size(), 1u);
    const TsGeneralData& alone = Section(*l, "ALONE");
    EXPECT_EQ(alone.ParentClass, "-1");
    EXPECT_EQ(alone.GlowCount, 3);
    EXPECT_EQ(alone.FadingIterations, 5);
}

TEST(SkinModel, LookupsFollowParentsAndStopAtCycles) {
    TsSkinModel m;
    auto section = [&](const char* name, const char* parent) {
        TsGeneralData d;
        d.SectionName = name;
        d.ParentClass = parent;
        m.Sections.push_back(d);
    };
    section("PANEL", "");
    section("BUTTON", "PANEL");
    section("A", "B");
    section("B", "A");
    auto mask = [&](const char* s, const char* p, TacImgType type) {
        TsMaskData& d = m.Masks.emplace_back();
        d.SectionName = s;
        d.PropertyName = p;
        d.ImgType = type;
    };
    mask("PANEL", "BORDERSMASK", itisaBorder);
    mask("PANEL", "PATTERN", itisaTexture);
    mask("BUTTON", "PATTERN", itisaBorder);
    struct Row {
        const char* name;
        int found;
    } rows[] = {
        {"own entry", m.FindMask(1, "BUTTON", "PATTERN")},
        {"from the parent", m.FindMask(1, "BUTTON", "BORDERSMASK")},
        {"texture skips non-textures", m.FindTexture(1, "BUTTON", "PATTERN")},
        {"negative index", m.FindMask(-1, "BUTTON", "PATTERN")},
        {"cycle", m.FindMask(2, "A", "BORDERSMASK")},
        {"case matters", m.FindMaskOwn("panel", "BORDERSMASK")},
        {"no section name", m.FindMaskOwn("", "BORDERSMASK")},
    };
    int expected[] = {2, 0, 1, -1, -1, -1, -1};
    for (std::size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(rows[i].found, expected[i]) << rows[i].name;
}

TEST(SkinModel, StateSizesAndFrameWidths) {
    struct Row {
        const char* name;
        RECT r;
        int imageCount, maskType, border, wl, wt;
        SIZE state;
        RECT frames;
    } rows[] = {
        {"widths given", {0, 0, 90, 40}, 3, 1, 0, 5, 6, {30, 20}, {5, 6, 30, 20}},
        {"border width", {0, 0, 90, 40}, 3, 1, 4, 0, 0, {30, 20}, {4, 4, 4, 4}},
        {"no image count", {10, 10, 40, 30}, 0, 0, 0, 0, 0, {0, 20}, {30, 20, 30, 20}},
        {"mask type -1", {0, 0, 30, 30}, 1, -1, 0, 0, 0, {30, 0}, {30, 0, 30, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TsSkinModel m;
        TsMaskData& d = m.Masks.emplace_back();
        d.R = row.r;
        d.ImageCount = static_cast<std::int16_t>(row.imageCount);
        d.MaskType = static_cast<std::int16_t>(row.maskType);
        d.BorderWidth = static_cast<std::int16_t>(row.border);
        d.WL = static_cast<std::int16_t>(row.wl);
        d.WT = static_cast<std::int16_t>(row.wt);
        SIZE s = m.MaskStateSize(0);
        EXPECT_EQ(s.cx, row.state.cx);
        EXPECT_EQ(s.cy, row.state.cy);
        RECT f = m.MaskFrameWidths(0);
        EXPECT_EQ(f.left, row.frames.left);
        EXPECT_EQ(f.top, row.frames.top);
        EXPECT_EQ(f.right, row.frames.right);
        EXPECT_EQ(f.bottom, row.frames.bottom);
    }
}

TEST(SkinModel, GlobalColoursFallBackToThePlatform) {
    auto none = LoadText("[PANEL]\n");
    EXPECT_EQ(none->model.GlobalColor(), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(none->model.GlobalFontColor(), kTransparentColor);
    EXPECT_EQ(none->model.MenuHighlightColor(), static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT)));
    auto skin = LoadText("[GLOBALINFO]\nCOLOR=$102030\nFONTCOLOR=$0A0B0C\n[MENUITEM]\nHOTCOLOR=$FFFFFF\nHOTFONTCOLOR=$112233\n");
    EXPECT_EQ(skin->model.GlobalColor(), 0x102030);
    EXPECT_EQ(skin->model.GlobalFontColor(), 0x0A0B0C);
    // A white menu highlight is no highlight: the platform's colours are used for both.
    EXPECT_EQ(skin->model.MenuHighlightTextColor(), static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHTTEXT)));
}

TEST(SkinModel, CachedIndexesAndSectionFrames) {
    TsSkinModel m;
    for (const char* name : {"GLOBALINFO", "COMBOBTN", "SCROLLBTNTOP", "PANEL"}) {
        TsGeneralData d;
        d.SectionName = name;
        m.Sections.push_back(d);
    }
    for (auto [s, p, t] : {std::tuple{"GLOBALINFO", "BOXCHECKED", itisaGlyph}, {"COMBOBTN", "PATTERN", itisaTexture},
                           {"SCROLLBTNTOP", "GLYPHMASK", itisaGlyph}, {"PANEL", "BORDERSMASK", itisaBorder},
                           {"GLOBALINFO", "BORDERSMASK", itisaBorder}}) {
        TsMaskData& d = m.Masks.emplace_back();
        d.SectionName = s;
        d.PropertyName = p;
        d.ImgType = t;
    }
    m.UpdateIndexes();
    EXPECT_EQ(m.GlobalInfoIndex, 0);
    EXPECT_EQ(m.CachedIndexes[ciBoxChecked], 0);
    EXPECT_EQ(m.CachedIndexes[ciRadioChecked], -1);
    EXPECT_EQ(m.CachedIndexes[ciComboBtnSection], 1);
    EXPECT_EQ(m.CachedIndexes[ciComboBtnBG], 1);
    EXPECT_EQ(m.CachedIndexes[ciScrollBtnTopGlyph], 2);
    EXPECT_EQ(m.CachedIndexes[ciScrollSliderHGlyph], -1);
    EXPECT_EQ(m.Sections[3].BorderIndex, 3);
    EXPECT_EQ(m.Sections[0].BorderIndex, -1);  // not set for GLOBALINFO
    EXPECT_EQ(CachedIndexName(ciScrollBar2VBGHot), "ScrollBar2VBGHot");
}

}  // namespace
