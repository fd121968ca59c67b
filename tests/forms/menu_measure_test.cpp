// Measuring items of each type and font, and the rule that the painter only ever takes and
// gives back its own handlers.
#include "menu_test_support.h"

namespace menu_test {
namespace {

using SkinnedMenuMeasure = MenuTest;

TEST_F(SkinnedMenuMeasure, ItemTypesFollowTheCaption) {
    EXPECT_EQ(forms::MenuItemTypeOf("-"), forms::TsMenuItemType::smDivider);
    EXPECT_EQ(forms::MenuItemTypeOf("-Options-"), forms::TsMenuItemType::smCaption);
    EXPECT_EQ(forms::MenuItemTypeOf("--"), forms::TsMenuItemType::smCaption);
    EXPECT_EQ(forms::MenuItemTypeOf("-x"), forms::TsMenuItemType::smNormal);
    EXPECT_EQ(forms::MenuItemTypeOf(""), forms::TsMenuItemType::smNormal);
    EXPECT_EQ(forms::CaptionTitle("-Options-"), "Options");
    EXPECT_EQ(forms::CaptionTitle("--Two words--"), "Two words");
    EXPECT_EQ(forms::CaptionTitle("-A-B-"), "A");
}

TEST_F(SkinnedMenuMeasure, EachTypeGetsItsWidthAndHeight) {
    TMenuItem* normal = Add("Сохранить настройки");
    TMenuItem* divider = Add("-");
    TMenuItem* title = Add("-Options-");
    TMenuItem* bold = Add("Default one");
    bold->Default = true;
    TMenuItem* keys = Add("Save");
    keys->SetShortCut(framework::ShortCut('S', framework::ssCtrl));
    TMenuItem* pictured = Add("Pictured");
    TBitmap picture(24, 20);
    pictured->SetBitmap(picture);
    Hook();

    MenuFontDC plain;
    int line = plain.LineHeight();
    // 2 x glyph + text + 3 x margin + spacing; glyph 16 x 16 without a picture.
    EXPECT_EQ(Measure(normal).cx, 32 + plain.Width("Сохранить настройки") + 6 + 6);
    EXPECT_EQ(Measure(normal).cy, std::max(line, 16) + 4);
    EXPECT_EQ(Measure(divider).cy, 2);
    EXPECT_EQ(Measure(divider).cx, 32 + 6 + 6);
    EXPECT_EQ(Measure(title).cx, 32 + plain.Width("--Options--") + 12);
    EXPECT_EQ(Measure(title).cy, line + 4);
    EXPECT_EQ(Measure(keys).cx, 32 + plain.Width("SaveCtrl+S") + 12);
    EXPECT_EQ(Measure(pictured).cx, 48 + plain.Width("Pictured") + 12);
    EXPECT_EQ(Measure(pictured).cy, std::max(line, 20) + 4);
    MenuFontDC heavy(true);
    EXPECT_EQ(Measure(bold).cx, 32 + heavy.Width("Default one") + 12);
    EXPECT_GT(heavy.Width("Default one"), plain.Width("Default one"))
        << "the default item is measured bold";
}

TEST_F(SkinnedMenuMeasure, WithoutAReadySkinTheStandardSizeStays) {
    TMenuItem* item = Add("Plain");
    Hook();
    manager->GlobalInfo().SkinReady = false;
    HDC dc = GetDC(nullptr);
    int w = 0, h = 0, sw = 0, sh = 0;
    {
        TCanvas canvas(dc);
        item->MeasureStandard(canvas, sw, sh);
        item->MeasureItem(canvas, w, h);
    }
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(w, sw);
    EXPECT_EQ(h, sh);
}

TEST_F(SkinnedMenuMeasure, HandlersTheUserSetAreNeverTakenOrRemoved) {
    TMenuItem* own = Add("Own");
    TMenuItem* sub = Add("Sub");
    TMenuItem* inner = Add("Inner", sub);
    TMenuItem* halfOwn = Add("Half");
    int measured = 0, drawn = 0;
    own->OnMeasureItem = [&](framework::TObject*, TCanvas&, int&, int&) { ++measured; };
    own->OnAdvancedDrawItem = [&](framework::TObject*, TCanvas&, const RECT&,
                                  framework::TOwnerDrawState) { ++drawn; };
    halfOwn->OnMeasureItem = [&](framework::TObject*, TCanvas&, int&, int&) { ++measured; };
    Hook();

    EXPECT_TRUE(menu->OwnerDraw);
    EXPECT_FALSE(painter->IsOwnMeasure(*own));
    EXPECT_FALSE(painter->IsOwnDraw(*own));
    EXPECT_FALSE(painter->IsOwnMeasure(*halfOwn));
    EXPECT_TRUE(painter->IsOwnDraw(*halfOwn)) << "only the missing handler is added";
    EXPECT_TRUE(painter->IsOwnMeasure(*inner)) << "submenus are hooked too";
    EXPECT_TRUE(painter->IsOwnDraw(*inner));
    // Hooking twice changes nothing.
    skin::FormLayer()->HookPopupMenu(*menu, manager.get(), true);
    EXPECT_TRUE(painter->IsOwnMeasure(*inner));

    Measure(own);
    TBitmap bmp(50, 20);
    own->AdvancedDrawItem(bmp.Canvas(), RECT{0, 0, 50, 20}, 0);
    EXPECT_EQ(measured, 1);
    EXPECT_EQ(drawn, 1);

    skin::FormLayer()->HookPopupMenu(*menu, manager.get(), false);
    EXPECT_FALSE(menu->OwnerDraw);
    EXPECT_TRUE(own->OnMeasureItem && own->OnAdvancedDrawItem) << "the user's handlers stay";
    EXPECT_TRUE(halfOwn->OnMeasureItem);
    EXPECT_FALSE(halfOwn->OnAdvancedDrawItem);
    EXPECT_FALSE(inner->OnMeasureItem || inner->OnAdvancedDrawItem);
    // A handler the user sets over the painter's after hooking is the user's from then on.
    skin::FormLayer()->HookPopupMenu(*menu, manager.get(), true);
    inner->OnAdvancedDrawItem = [&](framework::TObject*, TCanvas&, const RECT&,
                                    framework::TOwnerDrawState) { ++drawn; };
    skin::FormLayer()->HookPopupMenu(*menu, manager.get(), false);
    EXPECT_TRUE(inner->OnAdvancedDrawItem);
    EXPECT_FALSE(inner->OnMeasureItem);
}

TEST_F(SkinnedMenuMeasure, SkinnedPopupsOffLeavesTheMenuPlain) {
    TMenuItem* item = Add("Item");
    manager->SetSkinnedPopups(false);
    Hook();
    EXPECT_FALSE(menu->OwnerDraw);
    EXPECT_FALSE(item->OnMeasureItem);
}

TEST_F(SkinnedMenuMeasure, ThePainterBelongsToItsManager) {
    EXPECT_EQ(&forms::PainterOf(*manager), painter);
    EXPECT_EQ(painter->Owner(), manager.get());
    skin::TsSkinManager other(nullptr);
    EXPECT_NE(&forms::PainterOf(other), painter);
}

TEST_F(SkinnedMenuMeasure, SkinBorderWidthComesFromTheMenuFrame) {
    Ready();
    EXPECT_EQ(painter->SkinBorderWidth(), 0) << "no frame entry";
    int frame =
        AddMask("MAINMENU", "BORDERSMASK", RECT{0, 0, 12, 12}, 1, 0, skin::itisaBorder, 4, 4, 4, 4);
    EXPECT_EQ(painter->SkinBorderWidth(), 0) << "kept until the next skin";
    skin::FormLayer()->ForgetMenuPictures(manager.get());
    EXPECT_EQ(painter->SkinBorderWidth(), 3) << "an entry without its own border width";
    model().Masks[static_cast<size_t>(frame)].BorderWidth = 5;
    painter->Refresh();
    EXPECT_EQ(painter->SkinBorderWidth(), 5);
}

}  // namespace
}  // namespace menu_test
