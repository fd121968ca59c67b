// Menu pixels drawn into a bitmap the size of the client area (no popup window: the painter
// sizes the background from the items), compared with colours worked out here.
#include "menu_test_support.h"

namespace menu_test {
namespace {

using framework::odChecked;
using framework::odDisabled;
using framework::odGrayed;
using framework::odSelected;

class SkinnedMenuPixels : public MenuTest {
  protected:
    // The left part of the text column, away from the glyph column and the right edge, where
    // only the caption can change pixels.
    RECT TextBox(int i) const {
        RECT r = rects[static_cast<size_t>(i)];
        return RECT{r.left + 16 + 4 + 6, r.top, r.right - 12, r.bottom};
    }
};

TEST_F(SkinnedMenuPixels, NormalItemShowsTheBackgroundAndItsText) {
    Add("HIHI");
    Hook();
    auto bmp = DrawMenu([](int) { return 0u; });
    RECT r = rects[0];
    // The plate is see-through: icon line on the left, menu colour elsewhere.
    EXPECT_EQ(Px(*bmp, 5, r.top + 1), kIconColor);
    EXPECT_EQ(Px(*bmp, kIconLine - kInset - 1, r.top), kIconColor);
    EXPECT_EQ(Px(*bmp, kIconLine - kInset, r.top), kMenuColor);
    EXPECT_EQ(Px(*bmp, r.right - 1, r.bottom - 1), kMenuColor);
    EXPECT_GT(CountNear(*bmp, TextBox(0), kTextColor), 5)
        << "the caption in the section's font colour";
    EXPECT_EQ(CountNear(*bmp, TextBox(0), kHotTextColor), 0);
}

TEST_F(SkinnedMenuPixels, SelectedItemGetsTheHotPlateAndHotText) {
    Add("HIHI");
    Add("Other");
    Hook();
    auto bmp = DrawMenu([](int i) { return i == 0 ? odSelected : 0u; });
    RECT r = rects[0];
    EXPECT_EQ(Px(*bmp, 0, r.top), kHotColor) << "the hot plate covers the icon line too";
    EXPECT_EQ(Px(*bmp, r.right - 1, r.bottom - 1), kHotColor);
    EXPECT_GT(CountNear(*bmp, TextBox(0), kHotTextColor), 5);
    EXPECT_EQ(CountNear(*bmp, TextBox(0), kTextColor), 0);
    EXPECT_EQ(Px(*bmp, r.right - 1, rects[1].top), kMenuColor) << "the next item is not hot";
}

TEST_F(SkinnedMenuPixels, DisabledItemIsMixedWithTheBackground) {
    AddChecks();
    TMenuItem* item = Add("HIHI");
    item->Checked = true;
    item->Enabled = false;
    Hook();
    // A disabled item is never hot, even while selected.
    auto bmp = DrawMenu([](int) { return odSelected | odGrayed | odDisabled | odChecked; });
    RECT r = rects[0];
    int h = r.bottom - r.top, top = (h - 8) / 2;
    EXPECT_EQ(Px(*bmp, 2, r.top + top), Mixed(kCheck0, kIconColor)) << "the check mark keeps 40 %";
    EXPECT_EQ(Px(*bmp, 9, r.top + top + 7), Mixed(kCheck0, kIconColor));
    EXPECT_EQ(Px(*bmp, 10, r.top + top), kIconColor)
        << "right of the mark: background mixed with itself";
    EXPECT_EQ(Px(*bmp, r.right - 1, r.top), kMenuColor);
    EXPECT_EQ(CountNear(*bmp, TextBox(0), kTextColor, 60), 0) << "no pixel keeps the text colour";
    EXPECT_GT(CountNear(*bmp, TextBox(0), Mixed(kTextColor, kMenuColor), 20), 5);
}

TEST_F(SkinnedMenuPixels, CheckMarksFollowTheItemKindAndState) {
    AddChecks();
    TMenuItem* check = Add("Check");
    TMenuItem* radio = Add("Radio");
    TMenuItem* hot = Add("Hot");
    Add("Unchecked");
    check->Checked = radio->Checked = hot->Checked = true;
    radio->SetRadioItem(true);
    Hook();
    auto bmp =
        DrawMenu([](int i) { return (i < 3 ? odChecked : 0u) | (i == 2 ? odSelected : 0u); });
    auto markAt = [&](int i) {
        RECT r = rects[static_cast<size_t>(i)];
        return Px(*bmp, 2 + 3, r.top + (r.bottom - r.top - 8) / 2 + 3);
    };
    EXPECT_EQ(markAt(0), kCheck0);
    EXPECT_EQ(markAt(1), kRadio);
    EXPECT_EQ(markAt(2), kCheck1) << "the hot frame while selected";
    EXPECT_EQ(markAt(3), kIconColor) << "no mark";
    RECT r = rects[0];
    EXPECT_EQ(Px(*bmp, 1, r.top + (r.bottom - r.top - 8) / 2), kIconColor)
        << "the mark starts at the margin";
}

TEST_F(SkinnedMenuPixels, BoxMarkStandsInWhenTheSkinHasNoCheck) {
    AddChecks(false);
    TMenuItem* item = Add("Check");
    item->Checked = true;
    Hook();
    auto bmp = DrawMenu([](int) { return odChecked; });
    RECT r = rects[0];
    EXPECT_EQ(Px(*bmp, 5, r.top + (r.bottom - r.top - 8) / 2 + 3), kBox);
}

TEST_F(SkinnedMenuPixels, DividerWithoutSkinFrameIsAnEtchedLine) {
    Add("Above");
    Add("-");
    Add("Below");
    Hook();
    auto bmp = DrawMenu([](int) { return 0u; });
    RECT r = rects[1];
    ASSERT_EQ(r.bottom - r.top, 2);
    for (int x : {0, 10, static_cast<int>(r.right) - 2})
        EXPECT_EQ(Px(*bmp, x, r.top), paint_test::Rgb(128, 128, 128)) << x;
    EXPECT_EQ(Px(*bmp, r.right - 1, r.top), paint_test::Rgb(255, 255, 255));
    for (int x : {0, 10, static_cast<int>(r.right) - 1})
        EXPECT_EQ(Px(*bmp, x, r.top + 1), paint_test::Rgb(255, 255, 255)) << x;
}

TEST_F(SkinnedMenuPixels, DividerFrameStaysRightOfTheIconLine) {
    AddSection("DIVIDERV", kMenuColor);
    AddMask("DIVIDERV", "BORDERSMASK", RECT{32, 0, 40, 2}, 1, 0, skin::itisaBorder, 1, 1, 1, 1, 4);
    Add("Above");
    Add("-");
    Hook();
    auto bmp = DrawMenu([](int) { return 0u; });
    RECT r = rects[1];
    int w = r.right - r.left;
    // margin + spacing lies inside the icon line, so the line starts 2 pixels after it.
    int left = kIconLine + 2, right = w - (2 * 2 + 6);
    for (int y = r.top; y < r.bottom; ++y) {
        EXPECT_EQ(Px(*bmp, left - 1, y), Behind(left - 1));
        EXPECT_EQ(Px(*bmp, left, y), kDivider);
        EXPECT_EQ(Px(*bmp, right - 1, y), kDivider);
        EXPECT_EQ(Px(*bmp, right, y), kMenuColor);
        EXPECT_EQ(Px(*bmp, 0, y), kIconColor);
    }
}

TEST_F(SkinnedMenuPixels, TitleShowsItsWordCentredOverTheBackground) {
    Add("-Options-");
    Hook();
    auto bmp = DrawMenu([](int) { return 0u; });
    RECT r = rects[0];
    EXPECT_EQ(Px(*bmp, 0, r.top), kIconColor);
    EXPECT_EQ(Px(*bmp, r.right - 1, r.top), kMenuColor);
    int left = 0, right = 0;
    for (int x = 0; x < r.right; ++x)
        for (int y = r.top; y < r.bottom; ++y)
            if (Near(Px(*bmp, x, y), kTextColor, 60)) {
                if (!left) left = x;
                right = x;
            }
    ASSERT_GT(left, 0) << "the title is written";
    EXPECT_LE(std::abs((left + right + 1) - static_cast<int>(r.right)), 4)
        << "centred: " << left << ".." << right;
}

TEST_F(SkinnedMenuPixels, RightAlignMarkAndShortcutTextSitAtTheRight) {
    TMenuItem* right = Add(std::string(1, '\b') + "HH");
    TMenuItem* keys = Add("HH");
    keys->SetShortCut(framework::ShortCut('S', framework::ssCtrl));
    Add("A somewhat longer caption");
    Hook();
    auto bmp = DrawMenu([](int) { return 0u; });
    MenuFontDC font;
    auto rightmost = [&](int i) {
        RECT r = rects[static_cast<size_t>(i)];
        int last = -1;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x)
                if (Near(Px(*bmp, x, y), kTextColor, 60)) last = std::max(last, x);
        return last;
    };
    int w = rects[0].right;
    int spaces = font.Width("HH      ") - font.Width("HH");
    EXPECT_NEAR(rightmost(0), w - spaces - 1, 3) << "six spaces keep it off the edge";
    EXPECT_NEAR(rightmost(1), w - 8 - 1, 3) << "the shortcut ends 8 pixels before the right edge";
    EXPECT_EQ(right->Caption()[0], '\b') << "the caption itself is untouched";
}

TEST_F(SkinnedMenuPixels, SystemMenuItemsGetSymbolsInTheItemColour) {
    auto* sys = new TPopupMenu(form);
    sys->SetName("SysMenu");
    auto* close = new TMenuItem(form);
    close->SetCaption("Close");
    close->Tag = SC_CLOSE;
    sys->Items()->Add(close);
    auto* move = new TMenuItem(form);
    move->SetCaption("Move");
    move->Tag = SC_MOVE;
    sys->Items()->Add(move);
    menu = sys;
    Hook();
    auto bmp = DrawMenu([](int) { return 0u; });
    RECT glyph{0, rects[0].top, 16 + 4 + 4, rects[0].bottom};
    EXPECT_GT(CountNear(*bmp, glyph, kTextColor), 4) << "the close symbol";
    RECT none{0, rects[1].top, 16 + 4 + 4, rects[1].bottom};
    EXPECT_EQ(CountNear(*bmp, none, kTextColor), 0) << "Move has no symbol";
}

// A triangle of four columns, 7, 5, 3 and 1 pixels high, centred on the item's middle row,
// its base 10 pixels left of the right edge; true when every pixel of it has `color` and the
// columns right of the tip and left of the base do not.
bool ArrowAt(const TBitmap& bmp, RECT r, TColor color) {
    int x = r.right - 10, middle = (r.top + r.bottom) / 2;
    for (int k = 0; k < 4; ++k)
        for (int y = middle - (3 - k); y <= middle + (3 - k); ++y)
            if (Px(bmp, x + k, y) != color) return false;
    for (int y = r.top; y < r.bottom; ++y)
        if (Px(bmp, x - 1, y) == color || Px(bmp, x + 4, y) == color) return false;
    return Px(bmp, x + 1, middle - 3) != color && Px(bmp, x + 3, middle - 1) != color;
}

TEST_F(SkinnedMenuPixels, SubmenuItemsShowAnArrowInTheirTextColour) {
    TMenuItem* skins = Add("Skins");
    Add("DarkGlass", skins);
    Add("Plain");
    Hook();
    auto normal = DrawMenu([](int) { return 0u; });
    EXPECT_TRUE(ArrowAt(*normal, rects[0], kTextColor));
    EXPECT_FALSE(ArrowAt(*normal, rects[1], kTextColor)) << "no submenu, no arrow";
    RECT right{rects[1].right - 12, rects[1].top, rects[1].right, rects[1].bottom};
    EXPECT_EQ(CountNear(*normal, right, kTextColor), 0);
    rects.clear();
    auto hot = DrawMenu([](int i) { return i == 0 ? odSelected : 0u; });
    EXPECT_TRUE(ArrowAt(*hot, rects[0], kHotTextColor)) << "over the hot plate";
}

TEST_F(SkinnedMenuPixels, PainterEventSeesTheItemPicture) {
    Add("One");
    Hook();
    int calls = 0;
    painter->OnDrawItem = [&](framework::TObject*, TCanvas& canvas, const RECT& r,
                              framework::TOwnerDrawState, forms::TsMenuItemType type) {
        ++calls;
        EXPECT_EQ(type, forms::TsMenuItemType::smNormal);
        RECT corner{r.right - 3, r.top, r.right, r.top + 3};
        HBRUSH brush = CreateSolidBrush(kBox);
        FillRect(canvas.Handle(), &corner, brush);
        DeleteObject(brush);
    };
    auto bmp = DrawMenu([](int) { return 0u; });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Px(*bmp, rects[0].right - 1, rects[0].top), kBox)
        << "drawn on the picture, then copied";
    painter->OnDrawItem = nullptr;
}

TEST_F(SkinnedMenuPixels, WithoutItemSectionTheTextStillShows) {
    model().Sections.erase(model().Sections.begin() + model().FindSection("MENUITEM"));
    Add("HIHI");
    Hook();
    auto bmp = DrawMenu([](int) { return 0u; });
    EXPECT_GT(CountNear(*bmp, TextBox(0), framework::ColorToRGB(framework::clMenuText)), 5);
}

}  // namespace
}  // namespace menu_test
