// The skinned speed button: layout numbers, glyph mixing (alpha with Blend, the alpha hole,
// key colours, state frames), paint states, hints held while a button is down, the drop-down
// menu's loop, siblings over a repainted button, and the unskinned fallback.
#include <functional>
#include <string>

#include "framework/application.h"
#include "paint/button_layout.h"
#include "paint/speed_button.h"
#include "skinned_controls_support.h"

namespace paint_test {
namespace {

using framework::TButtonLayout;
using paint::TsButtonMetrics;
using paint::TsSpeedButton;

constexpr TColor kGlyph = Rgb(240, 200, 40);

bool Equal(RECT a, RECT b) { return EqualRect(&a, &b) != 0; }

TEST(ButtonLayout, StopButtonGlyphSitsAtEightZeroAndMovesWhenPressed) {
    TsButtonMetrics m;
    m.width = 49, m.height = 33, m.glyphWidth = 32, m.glyphHeight = 32, m.margin = -1;
    EXPECT_EQ(paint::GlyphOrigin(m).x, 8);  // k = (49 - 32) div 2 = 8
    EXPECT_EQ(paint::GlyphOrigin(m).y, 0);
    m.pressed = true;
    EXPECT_EQ(paint::GlyphOrigin(m).x, 9);
    EXPECT_EQ(paint::GlyphOrigin(m).y, 1);
}

TEST(ButtonLayout, GlyphAndCaptionPositionsByLayoutAndAlignment) {
    struct Row {
        const char* name;
        TButtonLayout layout;
        framework::TAlignment align;
        int margin;
        POINT glyph;
    };
    // 100 x 40 button, 20 x 16 glyph, caption 30 x 14 shown, spacing 4.
    // f = 5 with margin 2; k = (100 - 20 - 4 - 30) div 2 - f = 23 - 5 = 18 (f = 0: 23).
    const Row rows[] = {
        {"left, left justified", TButtonLayout::blGlyphLeft, framework::TAlignment::taLeftJustify, 2, {5, 12}},
        {"left, centred", TButtonLayout::blGlyphLeft, framework::TAlignment::taCenter, 2, {5 + 18, 12}},
        {"left, right justified", TButtonLayout::blGlyphLeft, framework::TAlignment::taRightJustify, 2, {5 + 36, 12}},
        {"right, right justified", TButtonLayout::blGlyphRight, framework::TAlignment::taRightJustify, 2,
         {100 - 20 - 5, 12}},
        {"right, centred", TButtonLayout::blGlyphRight, framework::TAlignment::taCenter, -1, {(100 + 4 + 30 - 20) / 2, 12}},
        {"top", TButtonLayout::blGlyphTop, framework::TAlignment::taCenter, -1, {41, (40 - 16 - 4 - 14) / 2}},
        {"bottom", TButtonLayout::blGlyphBottom, framework::TAlignment::taCenter, -1, {41, 40 - 3 - 16}},
    };
    for (const Row& r : rows) {
        TsButtonMetrics m;
        m.width = 100, m.height = 40, m.glyphWidth = 20, m.glyphHeight = 16, m.spacing = 4;
        m.textWidth = 30, m.textHeight = 14, m.captionShown = true;
        m.layout = r.layout, m.alignment = r.align, m.margin = r.margin;
        const POINT p = paint::GlyphOrigin(m);
        EXPECT_EQ(p.x, r.glyph.x) << r.name;
        EXPECT_EQ(p.y, r.glyph.y) << r.name;
    }
}

TEST(ButtonLayout, CaptionRectangleOfTheToggleButton) {
    // 73 x 33, no glyph, caption 30 x 18: k' = (73 - 30) div 2 = 21, so the text runs from
    // 21 to 73 - 21 = 52, widened to (20, 7, 54, 26), and by (1, 1) when pressed.
    TsButtonMetrics m;
    m.width = 73, m.height = 33, m.margin = -1, m.textWidth = 30, m.textHeight = 18, m.captionShown = true;
    EXPECT_TRUE(Equal(paint::CaptionRect(m), RECT{20, 7, 54, 26}));
    m.pressed = true;
    EXPECT_TRUE(Equal(paint::CaptionRect(m), RECT{21, 8, 55, 27}));
    m.pressed = false, m.textOffset = 3;
    EXPECT_TRUE(Equal(paint::CaptionRect(m), RECT{23, 7, 57, 26}));
    EXPECT_EQ(paint::InnerMargin(-1), 0);
    EXPECT_EQ(paint::InnerMargin(2), 5);
}

int MixAlphaByte(int g, int d, int a) { return ((g - d) * a + d * 256) >> 8; }
TColor MixAlpha(TColor g, TColor d, int a) {
    return Rgb(MixAlphaByte(R(g), R(d), a), MixAlphaByte(G(g), G(d), a), MixAlphaByte(B(g), B(d), a));
}

class SpeedButtonTest : public SkinnedControlsTest {
  protected:
    // The stop button: "SPLITTER", 49 x 33, a 32 x 32 glyph with alpha.
    TsSpeedButton* Stop(bool ready = true) {
        if (ready) Ready();
        auto* b = new TsSpeedButton(form);
        b->SkinData.SetSkinSection("SPLITTER");
        b->Flat = true;
        b->SetBounds(30, 40, 49, 33);
        b->Glyph().Assign(*Glyph32());
        b->Glyph().AlphaFormat = framework::TAlphaFormat::afDefined;
        b->SetParent(form);
        b->OnPaint = [this](TsSpeedButton*, framework::TBitmap&) { ++prepares; };
        form->Show();
        Pump();
        return b;
    }
    // Solid kGlyph, an alpha hole at (0, 0) and a half-transparent pixel at (1, 0).
    std::unique_ptr<TBitmap> Glyph32() {
        auto g = MakeBitmap(32, 32, 32, kGlyph, 255);
        std::uint8_t* p = g->ScanLine(0);
        p[0] = 0xFF, p[1] = 0x00, p[2] = 0xFF, p[3] = 0x00;
        SetPx(*g, 1, 0, kGlyph, 128);
        return g;
    }
    TColor At(TsSpeedButton* b, int x, int y) { return Px(*b->SkinData.CacheBmp, x, y); }
    void Enter(TsSpeedButton* b) { b->Perform(framework::CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(b)); }
    void Leave(TsSpeedButton* b) { b->Perform(framework::CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(b)); }
    void Down(TsSpeedButton* b, int x = 10) { b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 10)); }
    void Up(TsSpeedButton* b, int x = 10) { b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, 10)); }
    int prepares = 0;
};

TEST_F(SpeedButtonTest, StopButtonStates) {
    TsSpeedButton* b = Stop();
    int formPaints = 0;
    CountPaints(form, formPaints);
    // Normal: section colour, glyph at (8, 0) with its hole and half-transparent pixel.
    EXPECT_EQ(At(b, 2, 16), kSplit);
    EXPECT_EQ(At(b, 8 + 5, 5), MixAlpha(kGlyph, kSplit, 255));
    EXPECT_EQ(At(b, 8, 0), kSplit) << "the $00FF00FF pixel is a hole";
    EXPECT_EQ(At(b, 9, 0), MixAlpha(kGlyph, kSplit, 128));
    EXPECT_EQ(ScreenPixel(b, 2, 16), kSplit);

    Enter(b);  // hot
    EXPECT_EQ(b->ButtonPaintState(), paint::TsButtonPaintState::bpHot);
    EXPECT_EQ(At(b, 2, 16), kSplitHot);
    EXPECT_EQ(At(b, 8 + 5, 5), MixAlpha(kGlyph, kSplitHot, 255));
    Pump();
    EXPECT_EQ(formPaints, 0) << "shown without waiting for a paint message";
    EXPECT_EQ(ScreenPixel(b, 2, 16), kSplitHot);

    Down(b);  // pressed: the glyph moves by one pixel right and down
    EXPECT_EQ(b->ButtonPaintState(), paint::TsButtonPaintState::bpPressed);
    EXPECT_EQ(At(b, 8, 5), kSplitHot);
    EXPECT_EQ(At(b, 9, 1), kSplitHot) << "the hole, moved";
    EXPECT_EQ(At(b, 10, 1), MixAlpha(kGlyph, kSplitHot, 128));
    EXPECT_EQ(At(b, 9 + 31, 1 + 31), MixAlpha(kGlyph, kSplitHot, 255));
    Up(b);
    EXPECT_EQ(At(b, 8, 5), MixAlpha(kGlyph, kSplitHot, 255));
    Leave(b);
    EXPECT_EQ(At(b, 2, 16), kSplit);
    Pump();
    EXPECT_EQ(ScreenPixel(b, 2, 16), kSplit);
}

TEST_F(SpeedButtonTest, DownButtonOfAGroupPaintsPressed) {
    TsSpeedButton* b = Stop();
    b->SetGroupIndex(1);
    b->SetDown(true);
    Pump();
    EXPECT_EQ(b->ButtonPaintState(), paint::TsButtonPaintState::bpPressed);
    EXPECT_EQ(At(b, 9 + 5, 1 + 5), MixAlpha(kGlyph, kSplitHot, 255));
    EXPECT_EQ(At(b, 8, 5), kSplitHot);
    EXPECT_EQ(ScreenPixel(b, 8, 5), kSplitHot);
}

TEST_F(SpeedButtonTest, DisabledGlyphAtHalfAlphaAndImageHalfwayToTheParentsColour) {
    TsSpeedButton* b = Stop();
    b->SetEnabled(false);
    auto halfway = [](TColor a, TColor b2, TColor got) {
        for (int shift : {0, 8, 16}) {
            const int sum = static_cast<int>((a >> shift) & 0xFF) + static_cast<int>((b2 >> shift) & 0xFF);
            const int twice = 2 * static_cast<int>((got >> shift) & 0xFF);
            if (twice < sum - 1 || twice > sum + 1) return false;
        }
        return true;
    };
    EXPECT_TRUE(halfway(kSplit, kFormColor, At(b, 2, 16)));
    // The glyph drawn with alpha 255 * 50 div 100 = 127 over the section, then mixed likewise.
    EXPECT_TRUE(halfway(MixAlpha(kGlyph, kSplit, 127), kFormColor, At(b, 8 + 5, 5)));
}

TEST_F(SpeedButtonTest, BlendIsClampedAndThinsTheGlyphOnlyInTheNormalState) {
    TsSpeedButton* b = Stop();
    b->SetBlend(150);
    EXPECT_EQ(b->Blend(), 100);
    b->SetBlend(-3);
    EXPECT_EQ(b->Blend(), 0);
    b->SetBlend(30);  // A' = 255 * 70 div 100 = 178
    EXPECT_EQ(At(b, 8 + 5, 5), MixAlpha(kGlyph, kSplit, 178));
    EXPECT_EQ(At(b, 9, 0), MixAlpha(kGlyph, kSplit, 128 * 70 / 100));
    Enter(b);
    EXPECT_EQ(At(b, 8 + 5, 5), MixAlpha(kGlyph, kSplitHot, 255)) << "hot shows the glyph whole";
}

TEST_F(SpeedButtonTest, ThirtyTwoBitGlyphWithoutOpaquePixelsIsKeyedByItsBottomLeftPixel) {
    TsSpeedButton* b = Stop();
    auto g = MakeBitmap(32, 32, 32, kGlyph, 0);
    SetPx(*g, 0, 31, Rgb(1, 2, 3), 0);
    SetPx(*g, 5, 5, Rgb(1, 2, 3), 0);
    b->Glyph().Assign(*g);
    b->SkinData.BgChanged = true;
    b->RepaintNow();
    EXPECT_EQ(At(b, 8 + 10, 10), kGlyph) << "drawn whole although its alpha is 0";
    EXPECT_EQ(At(b, 8 + 5, 5), kSplit) << "key colour";
    EXPECT_EQ(At(b, 8, 31), kSplit);
}

TEST_F(SpeedButtonTest, KeyedGlyphFramesBlendAndZeroGlyphCount) {
    TsSpeedButton* b = Stop();
    auto strip = MakeBitmap(48, 16, 24, Rgb(1, 2, 3));
    for (int k = 0; k < 3; ++k) FillSolid(*strip, {k * 16, 0, k * 16 + 16, 15}, Rgb(100 + k, 50, 50));
    b->Glyph().Assign(*strip);
    b->NumGlyphs = 3;
    b->SkinData.BgChanged = true;
    b->RepaintNow();
    // Frame width 16: k = (49 - 16) div 2 = 16, y = (33 - 16) div 2 = 8.
    EXPECT_EQ(At(b, 16 + 4, 8 + 4), Rgb(100, 50, 50));
    EXPECT_EQ(At(b, 16 + 4, 8 + 15), kSplit) << "the bottom row has the key colour";
    Enter(b);
    EXPECT_EQ(At(b, 16 + 4, 8 + 4), Rgb(101, 50, 50));
    Down(b);
    EXPECT_EQ(At(b, 17 + 4, 9 + 4), Rgb(102, 50, 50));
    Up(b);
    Leave(b);
    b->SetBlend(40);  // round(g - 0.4 (g - d)), g the glyph, d what lies behind
    const auto mix = [](int g, int d) { return static_cast<int>(g - 0.4 * (g - d) + 0.5); };
    EXPECT_EQ(At(b, 16 + 4, 8 + 4), Rgb(mix(100, R(kSplit)), mix(50, G(kSplit)), mix(50, B(kSplit))));

    b->NumGlyphs = 0;  // never a division by zero: one frame as wide as the glyph
    b->SetBlend(0);
    b->SkinData.BgChanged = true;
    b->Invalidate();
    Pump();
    EXPECT_EQ(At(b, 0, 8 + 4), Rgb(100, 50, 50));
    EXPECT_EQ(At(b, 40, 8 + 4), Rgb(102, 50, 50));
}

TEST_F(SpeedButtonTest, HintsAreOffFromMouseDownUntilReleaseCaptureLossLeaveOrDestruction) {
    ASSERT_TRUE(framework::Application);
    framework::Application->ShowHint = true;
    TsSpeedButton* b = Stop();
    const std::function<void()> ends[] = {
        [&] { Up(b); },
        [&] { b->Perform(WM_CAPTURECHANGED, 0, 0); },
        [&] { b->Perform(WM_CANCELMODE, 0, 0); },
        [&] { Leave(b); },
        [&] {
            delete b;
            b = nullptr;
        },
    };
    int i = 0;
    for (const auto& end : ends) {
        Enter(b);
        Down(b);
        EXPECT_FALSE(framework::Application->ShowHint) << "step " << i;
        end();
        EXPECT_TRUE(framework::Application->ShowHint) << "step " << i;
        ++i;
    }
    framework::Application->ShowHint = false;  // a user's own setting is what comes back
    b = Stop(false);
    Down(b);
    Up(b);
    EXPECT_FALSE(framework::Application->ShowHint);
}

class ScriptedMenu : public framework::TPopupMenu {
  public:
    explicit ScriptedMenu(framework::TComponent* owner) : TPopupMenu(owner) {}
    std::function<void()> whileOpen;
    void Popup(int, int) override {
        if (whileOpen) whileOpen();
    }
};

TEST_F(SpeedButtonTest, DropDownMenuFreezesLooksAndSurvivesTheButtonBeingFreed) {
    TsSpeedButton* other = Stop();
    other->SetLeft(120);
    TsSpeedButton* b = Stop(false);
    auto* menu = new ScriptedMenu(form);
    b->SetButtonStyle(paint::TToolButtonStyle::tbsDropDown);
    b->DropdownMenu = menu;
    int othersPrepares = -1;
    bool open = false;
    menu->whileOpen = [&] {
        open = TsSpeedButton::DropDownOpen();
        EXPECT_EQ(b->ButtonPaintState(), paint::TsButtonPaintState::bpPressed);
        const int before = prepares;
        Enter(other);
        othersPrepares = prepares - before;
        delete b;  // a menu item that frees the button
    };
    Down(b, 40);  // on the arrow part
    EXPECT_TRUE(open);
    EXPECT_EQ(othersPrepares, 0) << "nothing changes while the menu is open";
    EXPECT_FALSE(TsSpeedButton::DropDownOpen());
    EXPECT_TRUE(framework::Application->ShowHint);
    Leave(other);
    Enter(other);
    EXPECT_GT(prepares, 0);
}

TEST_F(SpeedButtonTest, RepaintNowKeepsOverlappingSiblingsOnTop) {
    TsSpeedButton* b = Stop();
    auto* sibling = new framework::TSpeedButton(form);
    sibling->SetBounds(32, 42, 10, 10);  // inside the stop button, above it
    sibling->SetParent(form);
    Pump();
    const TColor siblingPx = ScreenPixel(sibling, 5, 5);
    ASSERT_NE(siblingPx, kSplit);
    Enter(b);
    Pump();
    EXPECT_EQ(ScreenPixel(b, 45, 30), kSplitHot);
    EXPECT_EQ(ScreenPixel(sibling, 5, 5), siblingPx);
}

TEST_F(SpeedButtonTest, WithoutItsSectionTheButtonIsAFlatFrameworkButton) {
    model().Sections[static_cast<std::size_t>(model().FindSection("SPLITTER"))].SectionName = "ELSEWHERE";
    TsSpeedButton* b = Stop();
    EXPECT_FALSE(b->SkinData.IsSkinned());
    EXPECT_EQ(prepares, 0);
    EXPECT_NE(ScreenPixel(b, 2, 16), kSplit);
    Enter(b);
    Down(b);
    Up(b);
    EXPECT_EQ(prepares, 0);
}

}  // namespace
}  // namespace paint_test

namespace paint_test {
namespace {

TEST_F(SpeedButtonTest, ReflectionFadesBelowTheGlyphRaisedBySixthOfItsHeight) {
    TsSpeedButton* b = Stop();
    b->SetBounds(30, 40, 49, 80);
    auto g = MakeBitmap(32, 12, 32, kGlyph, 255);
    b->Glyph().Assign(*g);
    b->SetReflected(true);
    // y = (80 - 12) div 2 - 12 div 6 = 32; the mirror starts at 44 with a third of the alpha,
    // 255 * 12 / 12 / 3 = 85, and fades: row r has 255 * (12 - r) / 12 / 3.
    EXPECT_EQ(At(b, 8 + 4, 31), kSplit);
    EXPECT_EQ(At(b, 8 + 4, 32), MixAlpha(kGlyph, kSplit, 255));
    EXPECT_EQ(At(b, 8 + 4, 44), MixAlpha(kGlyph, kSplit, 85));
    EXPECT_EQ(At(b, 8 + 4, 44 + 6), MixAlpha(kGlyph, kSplit, 255 * 6 / 12 / 3));
    EXPECT_EQ(At(b, 8 + 4, 44 + 12), kSplit);
}

}  // namespace
}  // namespace paint_test
