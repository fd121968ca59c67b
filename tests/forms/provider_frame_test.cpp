// The frame and title bar of a main-window-sized form, read back from the screen.
#include <set>

#include "provider_test_support.h"

namespace provider_test {
namespace {

TEST_F(ProviderTest, MainWindowFrameHasTheSystemGeometry) {
    Start();
    const forms::TsFrameMetrics m = provider->Metrics();
    EXPECT_EQ(m.B, kB);
    EXPECT_EQ(m.T, kT);
    EXPECT_EQ(m.W, kW);
    EXPECT_EQ(m.H, kH);
    EXPECT_EQ(m.LeftOffset, 3);
    EXPECT_EQ(m.TopOffset, 22);
    const RECT icon = provider->IconRect();
    EXPECT_EQ(icon.left, 3);
    EXPECT_EQ(icon.top, 3);
    EXPECT_EQ(icon.right - icon.left, 16);
    EXPECT_EQ(icon.bottom - icon.top, 16);
    const LRESULT offsets = SendMessage(form->Handle(), skin::SM_SKINCMD,
                                        skin::SkinCommandWParam(forms::scGetClientOffset), 0);
    EXPECT_EQ(LOWORD(offsets), 3);
    EXPECT_EQ(HIWORD(offsets), 22);
    // The provider took the system menu style away so the system draws no buttons of its own.
    EXPECT_EQ(GetWindowLong(form->Handle(), GWL_STYLE) & WS_SYSMENU, 0);
    EXPECT_TRUE(provider->HadSystemMenu());
}

TEST_F(ProviderTest, ActiveAndInactiveFramesUseTheirOwnPicturesAndColours) {
    form->SetCaption("");
    Start();
    ASSERT_TRUE(provider->Active());
    struct Case {
        const char* name;
        TColor title, frame, client;
    };
    for (const Case& c :
         {Case{"active", kTitle1, kFrame1, kForm1}, Case{"inactive", kTitle0, kFrame0, kForm0}}) {
        SCOPED_TRACE(c.name);
        if (c.frame == kFrame0) Deactivate();
        // The title band covers the top of the frame picture.
        EXPECT_EQ(At(1, 5), c.title);
        EXPECT_EQ(At(kW / 2, 0), c.title);
        EXPECT_EQ(At(kW - 2, 21), c.title);
        // Sides and bottom below it come from the frame picture of the state.
        EXPECT_EQ(At(0, 100), c.frame);
        EXPECT_EQ(At(2, 22), c.frame);
        EXPECT_EQ(At(kW - 1, 200), c.frame);
        EXPECT_EQ(At(kW / 2, kH - 1), c.frame);
        EXPECT_EQ(At(kW / 2, kH - 3), c.frame);
        // A plain FORM section: the client is its colour, hot while active.
        EXPECT_EQ(At(3, 22), c.client);
        EXPECT_EQ(At(kW - 4, kH - 4), c.client);
        EXPECT_EQ(At(200, 150), c.client);
        const LRESULT color = SendMessage(form->Handle(), skin::SM_SKINCMD,
                                          skin::SkinCommandWParam(skin::scGetColor), 0);
        EXPECT_EQ(static_cast<TColor>(color), c.client);
    }
}

TEST_F(ProviderTest, IconIsDrawnSixteenSquareAtThreeThree) {
    constexpr TColor kIcon = Rgb(1, 2, 250);
    auto glyph = paint_test::MakeBitmap(16, 16, 32, kIcon, 255);
    framework::TIcon icon;
    icon.FromBitmap(*glyph);
    form->SetIcon(icon);
    form->SetCaption("");
    Start();
    for (POINT p : {POINT{3, 3}, POINT{18, 3}, POINT{3, 18}, POINT{18, 18}, POINT{10, 10}})
        EXPECT_EQ(At(p.x, p.y), kIcon) << p.x << "," << p.y;
    for (POINT p : {POINT{2, 10}, POINT{19, 10}, POINT{10, 2}, POINT{10, 19}})
        EXPECT_EQ(At(p.x, p.y), kTitle1) << p.x << "," << p.y;
    provider->SetShowAppIcon(false);
    Pump();
    EXPECT_EQ(At(10, 10), kTitle1);
}

// Caption space: from 3 + 16 + 4 = 23 to 12 pixels before the title button area, which holds
// close and minimise at 21 pixels each (the test skin has no pictures for them): 493 - 42 - 12.
constexpr int kSpaceLeft = 23, kSpaceRight = kW - 2 * 21 - 12;

TEST_F(ProviderTest, CaptionIsPlacedByItsAlignment) {
    const std::string text = "Wake up";
    form->SetCaption(text);
    Start();
    const int w = CaptionTextWidth(text);
    ASSERT_GT(w, 10);
    auto [first, last] = TitleColumns(kText1);
    EXPECT_GE(first, kSpaceLeft);
    EXPECT_LE(first, kSpaceLeft + 2);
    EXPECT_LE(last, kSpaceLeft + w);

    provider->SetCaptionAlignment(framework::TAlignment::taRightJustify);
    Pump();
    const int rightLeft = kSpaceRight - w - 4;
    std::tie(first, last) = TitleColumns(kText1);
    EXPECT_GE(first, rightLeft);
    EXPECT_LE(first, rightLeft + 2);
    EXPECT_LE(last, rightLeft + w);

    provider->SetCaptionAlignment(framework::TAlignment::taCenter);
    Pump();
    const int centreLeft = kSpaceLeft + (kSpaceRight - kSpaceLeft - w - 4) / 2;
    std::tie(first, last) = TitleColumns(kText1);
    EXPECT_GE(first, centreLeft);
    EXPECT_LE(first, centreLeft + 2);
    EXPECT_LE(last, centreLeft + w);
}

TEST_F(ProviderTest, TooLongCaptionEndsInsideTheSpaceEvenWhenCentred) {
    std::string text;
    for (int i = 0; i < 12; ++i) text += "Morning alarm ";
    form->SetCaption(text);
    Start();
    ASSERT_GT(CaptionTextWidth(text), kSpaceRight - kSpaceLeft);
    for (auto alignment : {framework::TAlignment::taLeftJustify, framework::TAlignment::taCenter}) {
        provider->SetCaptionAlignment(alignment);
        Pump();
        auto [first, last] = TitleColumns(kText1);
        EXPECT_GE(first, kSpaceLeft);
        EXPECT_LE(first, kSpaceLeft + 2);
        EXPECT_LT(last, kSpaceRight);
        // The band right of the caption stays clear up to the window's edge.
        for (int x = kSpaceRight; x < kW; ++x) EXPECT_EQ(At(x, 11), kTitle1) << x;
        // The text was cut: it reaches near the space's end (ellipsis), not far short.
        EXPECT_GT(last, kSpaceRight - 20);
    }
}

TEST_F(ProviderTest, AddedTitleFollowsTheCaptionInItsColourOrAHalfMixWhenInactive) {
    constexpr TColor kRed = Rgb(255, 0, 0);
    const std::string text = "Wake";
    form->SetCaption(text);
    provider = nullptr;
    Ready();
    provider = new forms::TsSkinProvider(form);
    provider->AddedTitle.Text = "MMMM";
    provider->AddedTitle.Font.SetColor(kRed);
    form->Show();
    Pump();
    const int w = CaptionTextWidth(text);
    auto [first, last] = TitleColumns(kRed);
    ASSERT_GE(first, 0) << "no added title drawn";
    EXPECT_GE(first, kSpaceLeft + w + 4);
    EXPECT_LE(first, kSpaceLeft + w + 4 + 3);
    EXPECT_LE(TitleColumns(kText1).second, kSpaceLeft + w);
    Deactivate();
    EXPECT_EQ(TitleColumns(kRed).first, -1);
    // 50 % of the inactive text colour (white) and red.
    EXPECT_GE(TitleColumns(Rgb(255, 127, 127)).first, kSpaceLeft + w + 4);
}

}  // namespace
}  // namespace provider_test

namespace provider_test {
namespace {

TEST_F(ProviderTest, MinimisedWindowImageIsOnlyTheTitleBandAndTwoRows) {
    Start();
    ShowWindow(form->Handle(), SW_MINIMIZE);
    Pump();
    ASSERT_TRUE(IsIconic(form->Handle()));
    provider->InvalidateImage();
    framework::TBitmap* image = provider->WindowImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Height(), kB + kT + 2);
    // The title section covers the whole image of an iconic window.
    EXPECT_EQ(paint_test::Px(*image, image->Width() - 1, image->Height() - 1), kTitle0);
    ShowWindow(form->Handle(), SW_RESTORE);
    Pump();
    EXPECT_EQ(provider->WindowImage()->Height(), kH);
}

}  // namespace
}  // namespace provider_test

namespace provider_test {
namespace {

// The caption plate is painted over a copy of the band at its own place: a half see-through
// plate over the plain title band mixes to one colour all round the text (the plate's own
// font may place the letters a little differently, so the text's box itself is not compared).
TEST_F(ProviderTest, HalfSeeThroughCaptionPlateMixesWithTheBandBehindIt) {
    auto glyph = paint_test::MakeBitmap(16, 16, 32, Rgb(1, 2, 250), 255);
    framework::TIcon appIcon;
    appIcon.FromBitmap(*glyph);
    form->SetIcon(appIcon);
    form->SetCaption("Wake up");
    Start();
    const RECT icon = provider->IconRect();
    std::vector<TColor> without;
    RECT text{kW, kB + kT, 0, 0};
    for (int y = 0; y < kB + kT; ++y)
        for (int x = 0; x < kW; ++x) {
            without.push_back(At(x, y));
            if (x >= icon.right && x < provider->TitleAreaRight() && y >= kB && without.back() != kTitle1)
                text = RECT{std::min<int>(text.left, x), std::min<int>(text.top, y),
                            std::max<int>(text.right, x + 1), std::max<int>(text.bottom, y + 1)};
        }
    ASSERT_LT(text.left, text.right) << "the caption is on the band";
    InflateRect(&text, 3, 0);

    skin::TsGeneralData& plate = AddSection("CAPTION", Rgb(250, 0, 250));
    plate.Transparency = 50;
    plate.HotTransparency = 50;
    plate.FontColor[0] = kText0;
    plate.HotFontColor[0] = kText1;
    provider->ApplySkin();
    provider->InvalidateImage();
    provider->PaintFrame();
    Pump();
    std::set<TColor> plateColours;
    for (int y = 0; y < kB + kT; ++y)
        for (int x = 0; x < kW; ++x)
            if (!PtInRect(&text, POINT{x, y}) && At(x, y) != without[static_cast<std::size_t>(y * kW + x)])
                plateColours.insert(At(x, y));
    ASSERT_FALSE(plateColours.empty()) << "the plate shows";
    EXPECT_EQ(plateColours.size(), 1u);
}

}  // namespace
}  // namespace provider_test
