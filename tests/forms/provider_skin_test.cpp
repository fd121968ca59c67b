// The provider's life with the skin: taking over and handing back the form, skin changes on a
// visible form, a textured form's client and the backgrounds its children are given.
#include "framework/exceptions.h"
#include "provider_test_support.h"

namespace provider_test {
namespace {

TEST_F(ProviderTest, SkinChangeOnAVisibleFormEndsVisibleRepaintedAndUnmarked) {
    Start();
    ASSERT_EQ(At(kW / 2, 5), kTitle1);
    constexpr TColor kNewTitle = Rgb(120, 20, 140);
    model().Sections[static_cast<std::size_t>(model().FindSection("FORMTITLE"))].HotColor =
        kNewTitle;
    std::vector<bool> marks;
    framework::TWndMethod inner = form->WindowProc;
    form->WindowProc = [&](framework::TMessage& m) {
        if (m.Msg == skin::SM_SKINCMD && skin::SkinCommandOf(m.WParam) == skin::scNewSkin)
            marks.push_back(provider->SkinChanging());
        inner(m);
    };
    manager->SendNewSkin(true);
    Pump();
    form->WindowProc = inner;
    EXPECT_EQ(marks, std::vector<bool>{true});  // frozen while the skin was announced
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(provider->SkinChanging());
    EXPECT_FALSE(skin::AnimatingSkinChange);
    EXPECT_EQ(At(kW / 2, 5), kNewTitle);
    EXPECT_EQ(At(0, 100), kFrame1);
    EXPECT_EQ(At(100, 100), kForm1);
    EXPECT_EQ(GetWindowLong(form->Handle(), GWL_STYLE) & WS_SYSMENU, 0);
}

// A repaint of the forms without animation thaws them too: the frame keeps being drawn.
TEST_F(ProviderTest, RepaintWithoutAnimationLeavesTheFormUnmarkedAndItsFrameDrawn) {
    Start();
    constexpr TColor kNewTitle = Rgb(120, 20, 140);
    model().Sections[static_cast<std::size_t>(model().FindSection("FORMTITLE"))].HotColor =
        kNewTitle;
    manager->RepaintForms(false);
    Pump();
    EXPECT_FALSE(provider->SkinChanging());
    provider->InvalidateImage();
    provider->PaintFrame();
    Pump();
    EXPECT_EQ(At(kW / 2, 5), kNewTitle);
}

TEST_F(ProviderTest, RemovingTheSkinGivesTheWindowBackItsStyleShapeAndColour) {
    Start();
    ASSERT_EQ(form->Color(), kGlobal);  // the skin's form colour
    manager->SendRemoveSkin();
    Pump();
    EXPECT_NE(GetWindowLong(form->Handle(), GWL_STYLE) & WS_SYSMENU, 0);
    EXPECT_FALSE(provider->HadSystemMenu());
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(form->Handle(), region), ERROR);
    DeleteObject(region);
    EXPECT_EQ(form->Color(), framework::clBtnFace);
}

TEST_F(ProviderTest, ProviderIsForFormsOnlyAndASecondOneStaysPassive) {
    framework::TPanel panel(form);
    EXPECT_THROW(
        {
            try {
                forms::TsSkinProvider bad(&panel);
            } catch (const framework::EAbort& e) {
                EXPECT_STREQ(e.what(), forms::kNotAFormMessage);
                throw;
            }
        },
        framework::EAbort);
    Start();
    auto* second = new forms::TsSkinProvider(form);
    EXPECT_TRUE(second->Secondary());
    const LRESULT answer = SendMessage(form->Handle(), skin::SM_SKINCMD,
                                       skin::SkinCommandWParam(skin::scGetProvider), 0);
    EXPECT_EQ(reinterpret_cast<skin::TsProviderLink*>(answer),
              static_cast<skin::TsProviderLink*>(provider));
    EXPECT_EQ(std::count(skin::ProviderForms().begin(), skin::ProviderForms().end(),
                         static_cast<skin::TsProviderLink*>(second)),
              0);
    delete second;
    EXPECT_EQ(At(kW / 2, 5), kTitle1);  // the first one still draws
}

TEST_F(ProviderTest, PlacedProviderReplacesAnAutoCreatedOne) {
    Ready();
    form->HandleNeeded();
    forms::TsSkinProvider* autoMade = forms::TsSkinProvider::CreateAuto(form);
    ASSERT_NE(autoMade, nullptr);
    EXPECT_TRUE(autoMade->AutoCreated());
    EXPECT_EQ(forms::TsSkinProvider::CreateAuto(form), nullptr);  // one is enough
    provider = new forms::TsSkinProvider(form);                   // frees the automatic one
    EXPECT_FALSE(provider->Secondary());
    ASSERT_EQ(skin::ProviderForms().size(), 1u);
    EXPECT_EQ(skin::ProviderForms()[0], static_cast<skin::TsProviderLink*>(provider));
    form->Show();
    Pump();
    EXPECT_EQ(At(kW / 2, 5), kTitle1);
    delete provider;
    EXPECT_TRUE(skin::ProviderForms().empty());
}

class TexturedProviderTest : public ProviderTest {
  protected:
    void SetUp() override {
        ProviderTest::SetUp();
        framework::TBitmap& m = *model().MasterBitmap;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                paint_test::SetPx(m, 24 + x, y, paint_test::Pattern(x, y, 3));
        AddMask("FORM", "PATTERN", {24, 0, 32, 8}, 1, 0, skin::itisaTexture);
        AddMask("FORM", "HOTPATTERN", {24, 0, 32, 8}, 1, 0, skin::itisaTexture);
        skin::TsGeneralData& f = AddSection("FORM");
        f.ImagePercent = 100;
        f.HotImagePercent = 100;
        AddSection("GLASS").Transparency = 100;
    }
};

// The client shows the window image from the client offsets, and a see-through child shows
// the same picture at its own place in it.
TEST_F(TexturedProviderTest, ClientAndChildrenAreCutFromTheWindowImageAtTheClientOffsets) {
    Start();
    framework::TBitmap* image = provider->WindowImage();
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->Width(), kW);
    ASSERT_EQ(image->Height(), kH);
    for (POINT c : {POINT{0, 0}, POINT{5, 3}, POINT{100, 101}, POINT{486, 292}})
        EXPECT_EQ(At(c.x + 3, c.y + 22), paint_test::Px(*image, c.x + 3, c.y + 22))
            << c.x << "," << c.y;
    // Not the same picture at another offset: the test pattern repeats only every 8 pixels.
    EXPECT_NE(paint_test::Px(*image, 100 + 3, 101 + 22), paint_test::Px(*image, 100, 101));

    paint::TsBgQuery q;
    q.Offset = POINT{5, 7};
    SendMessage(form->Handle(), skin::SM_SKINCMD, skin::SkinCommandWParam(skin::scGetBg),
                reinterpret_cast<LPARAM>(&q));
    EXPECT_EQ(q.BgType, paint::kBgBitmap);
    EXPECT_EQ(q.Bmp, image);
    EXPECT_EQ(q.Offset.x, 5 + 3);
    EXPECT_EQ(q.Offset.y, 7 + 22);

    paint_test::BoundPanel* glass = Panel(form, "GLASS", {20, 10, 120, 60});
    glass->Show();
    Pump();
    for (POINT p : {POINT{0, 0}, POINT{7, 3}, POINT{50, 25}})
        EXPECT_EQ(At(20 + p.x + 3, 10 + p.y + 22),
                  paint_test::Px(*image, 20 + p.x + 3, 10 + p.y + 22))
            << p.x << "," << p.y;
}

}  // namespace
}  // namespace provider_test
