// The popup's extra line (MenuSupport.UseExtraLine): every item of the first column is
// measured wider by the line, the line's band lies left of the first column with its
// section's colour and its caption reading upwards from near the bottom, and the manager's
// event may change it or hide it.
#include "forms/menu_extra_line.h"

#include "menu_test_support.h"

namespace menu_test {
namespace {

constexpr TColor kExtra = Rgb(20, 90, 40);
constexpr TColor kExtraText = Rgb(250, 250, 120);
constexpr TColor kFrame = Rgb(90, 90, 90);
constexpr int kLine = 32;

class MenuExtraLine : public MenuTest {
  protected:
    void SetUp() override {
        MenuTest::SetUp();
        skin::TsGeneralData& line = AddSection("EXTRALINE", kExtra);
        line.FontColor[0] = kExtraText;
        // A 3-pixel frame, so the popup picture's band starts where the client area does.
        Paint(*model().MasterBitmap, RECT{40, 0, 49, 9}, kFrame);
        AddMask("MAINMENU", "BORDERSMASK", RECT{40, 0, 49, 9}, 1, 0, skin::itisaBorder, 3, 3, 3, 3);
        manager->MenuSupport.UseExtraLine = true;
        manager->MenuSupport.ExtraLineWidth = kLine;
    }
    // The bounding box of the pixels near c inside r.
    static RECT Box(const TBitmap& b, RECT r, TColor c) {
        RECT box{r.right, r.bottom, r.left, r.top};
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                if (!Near(Px(b, x, y), c, 60)) continue;
                box.left = std::min<LONG>(box.left, x), box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        return box;
    }
};

TEST_F(MenuExtraLine, FirstColumnIsMeasuredWiderByTheLine) {
    TMenuItem* first = Add("One");
    TMenuItem* second = Add("Two");
    TMenuItem* next = Add("Three");
    next->SetBreak(framework::TMenuBreak::mbBreak);
    Hook();
    const SIZE one = Measure(first), two = Measure(second), three = Measure(next);
    manager->MenuSupport.UseExtraLine = false;
    EXPECT_EQ(one.cx, Measure(first).cx + kLine);
    EXPECT_EQ(two.cx, Measure(second).cx + kLine);
    EXPECT_EQ(three.cx, Measure(next).cx) << "a later column has no line";
    EXPECT_EQ(one.cy, Measure(first).cy);

    manager->MenuSupport.UseExtraLine = true;
    bool asked = false;
    manager->OnGetMenuExtraLineData = [&](TMenuItem* item, std::string&, std::string&, TBitmap&,
                                          bool& visible) {
        asked = item == first;
        visible = false;
    };
    const SIZE hidden = Measure(second);
    EXPECT_TRUE(asked) << "asked for the popup's first item";
    manager->MenuSupport.UseExtraLine = false;
    EXPECT_EQ(hidden.cx, Measure(second).cx) << "a hidden line takes no room";

    manager->MenuSupport.UseExtraLine = true;
    manager->OnGetMenuExtraLineData = nullptr;
    first->SetName(forms::kSkinSelectItem);
    const SIZE skinSelect = Measure(second);
    manager->MenuSupport.UseExtraLine = false;
    EXPECT_EQ(skinSelect.cx, Measure(second).cx) << "the skin selection menu never shows it";
}

TEST_F(MenuExtraLine, BandShowsItsSectionAndACaptionReadingUpwards) {
    Add("One");
    Add("Two");
    Add("Three");
    Add("Four");
    manager->OnGetMenuExtraLineData = [](TMenuItem*, std::string& section, std::string& caption,
                                         TBitmap&, bool&) {
        EXPECT_EQ(section, "EXTRALINE");
        caption = "&TTTT";
    };
    // Its point size is taken as the pixel height: large enough letters to see their shape.
    manager->MenuSupport.ExtraLineFont.SetSize(18);
    Hook();
    auto bmp = DrawMenu([](int) { return 0u; });
    const int h = bmp->Height();
    for (int y : {1, h / 3, h - 2}) {
        EXPECT_EQ(Px(*bmp, 1, y), kExtra) << y;
        EXPECT_EQ(Px(*bmp, kLine - 1, y), kExtra) << y;
        EXPECT_EQ(Px(*bmp, kLine, y), kIconColor) << "the items start after the line, " << y;
    }
    const RECT text = Box(*bmp, RECT{0, 0, kLine, h}, kExtraText);
    ASSERT_LT(text.left, text.right) << "the caption is written";
    EXPECT_GT(text.bottom - text.top, 3 * (text.right - text.left)) << "standing on end";
    EXPECT_LE(text.bottom, h - 12) << "it starts 12 pixels above the bottom";
    EXPECT_GE(text.bottom, h - 12 - 3);
    EXPECT_NEAR((text.left + text.right) / 2.0, kLine / 2.0, 2.0) << "centred across the band";
    // Reading upwards, the letters' tops face left: the bars of the T's make the left edge of
    // the caption a long line, their stems end in short marks on the right.
    const int left = CountNear(*bmp, RECT{text.left, 0, text.left + 1, h}, kExtraText, 60);
    const int right = CountNear(*bmp, RECT{text.right - 1, 0, text.right, h}, kExtraText, 60);
    EXPECT_GT(left, 2 * right);
}

TEST_F(MenuExtraLine, HiddenLineLeavesTheFirstColumnAsItWas) {
    Add("One");
    manager->OnGetMenuExtraLineData = [](TMenuItem*, std::string&, std::string&, TBitmap&,
                                         bool& visible) { visible = false; };
    Hook();
    auto bmp = DrawMenu([](int) { return 0u; });
    EXPECT_EQ(Px(*bmp, 1, 1), kIconColor);
    EXPECT_EQ(CountNear(*bmp, RECT{0, 0, bmp->Width(), bmp->Height()}, kExtra, 0), 0);
}

}  // namespace
}  // namespace menu_test
