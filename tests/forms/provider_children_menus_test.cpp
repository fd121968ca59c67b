// What the provider does for the form's contents: windowless children painted over the client
// background on both the plain and the cached paint, and the form's menus handed to the menu
// painter when the form is shown or activated.
#include "forms/skinable_menus.h"
#include "framework/menus.h"
#include "provider_test_support.h"

namespace provider_test {
namespace {

constexpr TColor kShape = Rgb(1, 222, 33);

// A windowless child that fills itself with one colour.
class Swatch : public framework::TGraphicControl {
  public:
    explicit Swatch(framework::TComponent* owner) : framework::TGraphicControl(owner) {}
    int paints = 0;

  protected:
    void Paint() override {
        ++paints;
        RECT r{0, 0, Width(), Height()};
        HBRUSH brush = CreateSolidBrush(kShape);
        FillRect(Canvas().Handle(), &r, brush);
        DeleteObject(brush);
    }
};

class ProviderChildren : public ProviderTest {
  protected:
    Swatch* AddSwatch() {
        auto* s = new Swatch(form);
        s->SetBounds(30, 40, 20, 10);
        s->SetParent(form);
        return s;
    }
    // Client pixel (x, y) as the screen shows it.
    TColor Client(int x, int y) const { return At(kB + x, kB + kT + y); }
    void ExpectSwatchShown() {
        EXPECT_EQ(Client(30, 40), kShape);
        EXPECT_EQ(Client(49, 49), kShape);
        EXPECT_NE(Client(29, 40), kShape) << "nothing beside it";
        EXPECT_NE(Client(50, 49), kShape);
    }
};

TEST_F(ProviderChildren, PlainFormShowsWindowlessChildrenOnShowAndRepaint) {
    Swatch* swatch = AddSwatch();
    Start();
    ExpectSwatchShown();
    EXPECT_EQ(Client(10, 10), kForm1) << "the plain colour of the active form around it";
    const int before = swatch->paints;
    swatch->Invalidate();
    Pump();
    EXPECT_GT(swatch->paints, before);
    ExpectSwatchShown();
}

class TexturedChildren : public ProviderChildren {
  protected:
    void SetUp() override {
        ProviderChildren::SetUp();
        framework::TBitmap& m = *model().MasterBitmap;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                paint_test::SetPx(m, 24 + x, y, paint_test::Pattern(x, y, 3));
        AddMask("FORM", "PATTERN", {24, 0, 32, 8}, 1, 0, skin::itisaTexture);
        AddMask("FORM", "HOTPATTERN", {24, 0, 32, 8}, 1, 0, skin::itisaTexture);
        skin::TsGeneralData& f = AddSection("FORM");
        f.ImagePercent = 100;
        f.HotImagePercent = 100;
    }
};

TEST_F(TexturedChildren, CachedFormShowsWindowlessChildrenOverItsImage) {
    Swatch* swatch = AddSwatch();
    Start();
    ExpectSwatchShown();
    framework::TBitmap* image = provider->WindowImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Client(10, 10), paint_test::Px(*image, kB + 10, kB + kT + 10));
    const int before = swatch->paints;
    swatch->Invalidate();
    Pump();
    EXPECT_GT(swatch->paints, before);
    ExpectSwatchShown();
}

class ProviderMenus : public ProviderTest {
  protected:
    void SetUp() override {
        ProviderTest::SetUp();
        Ready();
        provider = new forms::TsSkinProvider(form);
        painter = &forms::PainterOf(*manager);
    }
    // A popup with an item and a submenu item, and a menu item that belongs to no menu.
    void MakeMenus() {
        popup = new framework::TPopupMenu(form);
        item = new framework::TMenuItem(form);
        popup->Items()->Add(item);
        sub = new framework::TMenuItem(form);
        item->Add(sub);
        loose = new framework::TMenuItem(form);
    }
    bool Hooked(const framework::TMenuItem* i) const {
        return painter->IsOwnDraw(*i) && painter->IsOwnMeasure(*i);
    }
    forms::TsSkinableMenus* painter = nullptr;
    framework::TPopupMenu* popup = nullptr;
    framework::TMenuItem* item = nullptr;
    framework::TMenuItem* sub = nullptr;
    framework::TMenuItem* loose = nullptr;
};

TEST_F(ProviderMenus, MenusMadeBeforeShowingAreHookedWhenTheFormShows) {
    MakeMenus();
    bool own = false;
    auto* custom = new framework::TMenuItem(form);
    popup->Items()->Add(custom);
    custom->OnAdvancedDrawItem = [&](framework::TObject*, framework::TCanvas&, const RECT&,
                                     framework::TOwnerDrawState) { own = true; };
    ASSERT_FALSE(Hooked(item));
    form->Show();
    Pump();
    EXPECT_TRUE(popup->OwnerDraw);
    EXPECT_TRUE(Hooked(item));
    EXPECT_TRUE(Hooked(sub)) << "through submenus";
    EXPECT_TRUE(Hooked(loose)) << "a menu item of its own";
    EXPECT_FALSE(painter->IsOwnDraw(*custom)) << "a handler of the form's own stays";
    EXPECT_TRUE(painter->IsOwnMeasure(*custom));
}

TEST_F(ProviderMenus, ActivationHooksMenusMadeWhileShown) {
    form->Show();
    Pump();
    MakeMenus();
    ASSERT_FALSE(Hooked(item));
    SendMessage(form->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(Hooked(item));
    EXPECT_TRUE(Hooked(loose));
}

TEST_F(ProviderMenus, UnskinnedPopupsLeaveMenusPlainUntilSkinnedAgain) {
    manager->SetSkinnedPopups(false);
    MakeMenus();
    form->Show();
    Pump();
    EXPECT_FALSE(popup->OwnerDraw);
    EXPECT_FALSE(painter->IsOwnDraw(*item));
    EXPECT_FALSE(painter->IsOwnDraw(*loose));

    // Skinned again: hooked at the next activation.
    manager->SetSkinnedPopups(true);
    SendMessage(form->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(popup->OwnerDraw);
    EXPECT_TRUE(Hooked(item));
    EXPECT_TRUE(Hooked(loose));
}

}  // namespace
}  // namespace provider_test
