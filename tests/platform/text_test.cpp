// Text: extents, colour, alignment, clipping, prefixes and layout, without depending on exact
// glyph pixels.
#include <fstream>
#include <string>
#include <vector>

#include "gdi_test_support.h"
#include "platform/gdi_text.h"

using namespace testing_support;

namespace {

struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, pixels = 0;
};

// Where anything differs from the background colour.
Ink InkOf(const Canvas& c, std::uint32_t background) {
    Ink ink;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (c.At(x, y) != background) {
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x + 1);
                ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y + 1);
                ++ink.pixels;
            }
    return ink;
}

HFONT Font(int height, int weight = FW_NORMAL, const char* face = "Tahoma") {
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", face);
    return CreateFontIndirect(&lf);
}

class Text : public ::testing::Test {
protected:
    void SetUp() override {
        font_ = Font(-13);
        ASSERT_TRUE(font_);
    }
    void TearDown() override { DeleteObject(font_); }
    HFONT font_ = nullptr;
};

TEST_F(Text, ExtentsGrowWithTextAndFontSize) {
    Canvas c(10, 10);
    SelectObject(c.dc(), font_);
    SIZE one{}, two{}, big{};
    GetTextExtentPoint32(c.dc(), "Будильник", 18, &one);  // 9 Cyrillic letters, 18 bytes
    GetTextExtentPoint32(c.dc(), "БудильникБудильник", 36, &two);
    EXPECT_GT(one.cx, 40);
    EXPECT_EQ(two.cx, 2 * one.cx);
    HFONT large = Font(-26);
    SelectObject(c.dc(), large);
    GetTextExtentPoint32(c.dc(), "Будильник", 18, &big);
    EXPECT_GT(big.cx, one.cx * 18 / 10);
    EXPECT_GT(big.cy, one.cy);
    TEXTMETRIC tm{};
    GetTextMetrics(c.dc(), &tm);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(tm.tmHeight, big.cy);
    SelectObject(c.dc(), GetStockObject(DEFAULT_GUI_FONT));
    DeleteObject(large);
}

TEST_F(Text, BoldIsWiderAndHeightSignRuleHolds) {
    Canvas c(10, 10);
    HFONT bold = Font(-13, FW_BOLD), cell = Font(13);
    SIZE normal{}, heavy{}, cellSize{};
    SelectObject(c.dc(), font_);
    GetTextExtentPoint32(c.dc(), "Wide text", 9, &normal);
    SelectObject(c.dc(), bold);
    GetTextExtentPoint32(c.dc(), "Wide text", 9, &heavy);
    SelectObject(c.dc(), cell);
    GetTextExtentPoint32(c.dc(), "Wide text", 9, &cellSize);
    EXPECT_GT(heavy.cx, normal.cx);
    // A positive height is the whole cell, so the same number gives smaller letters.
    EXPECT_LE(cellSize.cy, 13 + 1);
    EXPECT_LT(cellSize.cx, normal.cx);
    SelectObject(c.dc(), GetStockObject(DEFAULT_GUI_FONT));
    DeleteObject(bold);
    DeleteObject(cell);
}

TEST_F(Text, TransparentTextIsInTheTextColourAndInsideItsBox) {
    Canvas c(200, 40);
    c.Fill(0xFFFFFF);
    SelectObject(c.dc(), font_);
    SetBkMode(c.dc(), TRANSPARENT);
    SetTextColor(c.dc(), RGB(255, 0, 0));
    TextOut(c.dc(), 10, 5, "Ж", 2);
    SIZE s{};
    GetTextExtentPoint32(c.dc(), "Ж", 2, &s);
    Ink ink = InkOf(c, 0xFFFFFF);
    ASSERT_GT(ink.pixels, 10);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 10 + s.cx + 1);
    EXPECT_GE(ink.top, 5);
    EXPECT_LE(ink.bottom, 5 + s.cy);
    // Every inked pixel is a blend of white towards pure red: green equals blue.
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) {
            std::uint32_t p = c.At(x, y);
            EXPECT_EQ((p >> 8) & 0xFF, p & 0xFF);
            EXPECT_EQ(p >> 16, 0xFFu);
        }
}

TEST_F(Text, OpaqueModeFillsTheTextBoxWithTheBackgroundColour) {
    Canvas c(100, 30);
    c.Fill(0xFFFFFF);
    SelectObject(c.dc(), font_);
    SetBkMode(c.dc(), OPAQUE);
    SetBkColor(c.dc(), RGB(0, 0, 255));
    TextOut(c.dc(), 0, 0, "ab", 2);
    SIZE s{};
    GetTextExtentPoint32(c.dc(), "ab", 2, &s);
    EXPECT_EQ(c.At(0, 0), 0x0000FFu);
    EXPECT_EQ(c.At(s.cx - 1, s.cy - 1), 0x0000FFu);
    EXPECT_EQ(c.At(s.cx + 1, 1), 0xFFFFFFu);
}

TEST_F(Text, DrawTextAlignsInsideTheRectangleAndClips) {
    for (UINT align : {DT_LEFT, DT_CENTER, DT_RIGHT}) {
        Canvas c(200, 30);
        c.Fill(0xFFFFFF);
        SelectObject(c.dc(), font_);
        SetBkMode(c.dc(), TRANSPARENT);
        RECT r{20, 0, 180, 30};
        DrawText(c.dc(), "Проверка", -1, &r, align | DT_SINGLELINE | DT_VCENTER);
        Ink ink = InkOf(c, 0xFFFFFF);
        ASSERT_GT(ink.pixels, 0);
        int leftGap = ink.left - 20, rightGap = 180 - ink.right;
        int gap = align == DT_LEFT ? leftGap : align == DT_RIGHT ? rightGap : std::abs(leftGap - rightGap);
        EXPECT_LT(gap, 3) << "alignment " << align;
        EXPECT_NEAR(ink.top + ink.bottom, 30, 6);  // vertically centred
    }
    Canvas c(100, 20);
    c.Fill(0xFFFFFF);
    SelectObject(c.dc(), font_);
    RECT narrow{0, 0, 15, 20};
    DrawText(c.dc(), "Очень длинный текст", -1, &narrow, DT_SINGLELINE);
    EXPECT_LE(InkOf(c, 0xFFFFFF).right, 15);
}

TEST_F(Text, CalcRectWrapsWordsAndMeasuresLines) {
    Canvas c(10, 10);
    SelectObject(c.dc(), font_);
    TEXTMETRIC tm{};
    GetTextMetrics(c.dc(), &tm);
    RECT r{0, 0, 60, 0};
    int h = DrawText(c.dc(), "один два три четыре", -1, &r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GE(h, 3 * tm.tmHeight);
    EXPECT_EQ(r.bottom, h);
    EXPECT_LE(r.right, 60);
    RECT lines{0, 0, 500, 0};
    EXPECT_EQ(DrawText(c.dc(), "a\r\nb\nc", -1, &lines, DT_CALCRECT), 3 * tm.tmHeight);
}

TEST_F(Text, PrefixAmpersandIsHiddenAndDoubledOneStays) {
    Canvas c(10, 10);
    SelectObject(c.dc(), font_);
    RECT a{0, 0, 500, 0}, b{0, 0, 500, 0}, d{0, 0, 500, 0};
    DrawText(c.dc(), "&Файл", -1, &a, DT_CALCRECT | DT_SINGLELINE);
    DrawText(c.dc(), "Файл", -1, &b, DT_CALCRECT | DT_SINGLELINE);
    DrawText(c.dc(), "&Файл", -1, &d, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(a.right, b.right);
    EXPECT_GT(d.right, b.right);
    RECT amp{0, 0, 500, 0}, one{0, 0, 500, 0};
    DrawText(c.dc(), "a&&b", -1, &amp, DT_CALCRECT | DT_SINGLELINE);
    DrawText(c.dc(), "a&b", -1, &one, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(amp.right, one.right);
}

TEST_F(Text, EndEllipsisFitsTheWidth) {
    Canvas c(200, 20);
    c.Fill(0xFFFFFF);
    SelectObject(c.dc(), font_);
    SetBkMode(c.dc(), TRANSPARENT);
    RECT r{0, 0, 60, 20};
    DrawText(c.dc(), "C:/Музыка/очень/длинный/путь/мелодия.mp3", -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(InkOf(c, 0xFFFFFF).right, 61);
}

TEST_F(Text, TextAlignRightEndsAtThePoint) {
    Canvas c(200, 30);
    c.Fill(0xFFFFFF);
    SelectObject(c.dc(), font_);
    SetBkMode(c.dc(), TRANSPARENT);
    SetTextAlign(c.dc(), TA_RIGHT | TA_TOP);
    TextOut(c.dc(), 150, 5, "end", 3);
    Ink ink = InkOf(c, 0xFFFFFF);
    EXPECT_LE(ink.right, 151);
    EXPECT_GT(ink.right, 140);
}

}  // namespace

namespace {

// The pixels of one character drawn alone in black on white.
std::vector<std::uint32_t> Picture(HFONT font, const std::string& character) {
    Canvas c(40, 30);
    c.Fill(0xFFFFFF);
    SelectObject(c.dc(), font);
    SetBkMode(c.dc(), TRANSPARENT);
    SetTextColor(c.dc(), RGB(0, 0, 0));
    TextOut(c.dc(), 5, 5, character.c_str(), static_cast<int>(character.size()));
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) pixels.push_back(c.At(x, y));
    return pixels;
}

std::string FaceOf(HFONT font) {
    Canvas c(4, 4);
    SelectObject(c.dc(), font);
    char face[64] = {};
    GetTextFace(c.dc(), sizeof face, face);
    return face;
}

}  // namespace

// Under ja_JP the clock showed a box for 時, and CJK, Hangul or Greek-extended melody paths
// showed rows of boxes: the chosen Latin face lacks them and nothing fell back.
TEST(FontFallback, CharactersTheFaceLacksAreDrawnFromAnotherFontNotAsBoxes) {
    if (!std::ifstream("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"))
        GTEST_SKIP() << "no CJK font: scripts/setup.sh installs fonts-wqy-microhei";
    HFONT font = Font(-11, FW_NORMAL, "MS Sans Serif");
    ASSERT_TRUE(font);
    // U+10FFFD is a private-use code point no font draws: the face's own box.
    const std::vector<std::uint32_t> box = Picture(font, "\xF4\x8F\xBF\xBD");
    const std::vector<std::uint32_t> blank(box.size(), 0xFFFFFF);
    ASSERT_NE(box, blank) << "the box itself is drawn";
    const struct {
        const char* name;
        std::string text;
    } rows[] = {
        {"ideograph 時", "\xE6\x99\x82"},  {"ideograph 计", "\xE8\xAE\xA1"},
        {"kana の", "\xE3\x81\xAE"},      {"hangul 시", "\xEC\x8B\x9C"},
        {"greek extended ἀ", "\xE1\xBC\x80"},
    };
    for (const auto& r : rows) {
        const std::vector<std::uint32_t> drawn = Picture(font, r.text);
        EXPECT_NE(drawn, box) << r.name;
        EXPECT_NE(drawn, blank) << r.name;
    }
    // Boxes are all alike; letters are not.
    EXPECT_NE(Picture(font, "\xE6\x99\x82"), Picture(font, "\xE5\x88\x86"));  // 時, 分
    EXPECT_EQ(FaceOf(font), "Liberation Sans") << "the face's own name and metrics stay";
    DeleteObject(font);
}

// Layouts made for the dialog faces fit Liberation Sans (Arial's widths); DejaVu Sans, wider,
// clipped the time edits' "07:00:00" to "07:00:0".
TEST(FontMapping, DialogFacesTakeLiberationSansAndUnknownNamesDejaVuSans) {
    const struct {
        const char* face;
        const char* family;
    } rows[] = {
        {"MS Sans Serif", "Liberation Sans"}, {"MS Shell Dlg", "Liberation Sans"}, {"Tahoma", "Liberation Sans"},
        {"Arial", "Liberation Sans"},         {"ms sans serif", "Liberation Sans"}, {"No Such Face", "DejaVu Sans"},
    };
    for (const auto& r : rows) {
        HFONT font = Font(-11, FW_NORMAL, r.face);
        ASSERT_TRUE(font) << r.face;
        EXPECT_EQ(FaceOf(font), r.family) << r.face;
        DeleteObject(font);
    }
    // The system's dialog font is one of them.
    EXPECT_EQ(FaceOf(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))), "Liberation Sans");
}
