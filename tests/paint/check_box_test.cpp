// The skinned check box: its glyph frames per state, the glyph rectangle and automatic size,
// the disabled and read-only looks, mouse and keyboard sequences with their repaints, fades.
#include "paint/check_box.h"

#include <string>

#include "paint/control_commands.h"
#include "skinned_controls_support.h"

namespace paint_test {
namespace {

using framework::TCheckBoxState;
using paint::TsCheckBox;

class CheckBoxTest : public SkinnedControlsTest {
  protected:
    TsCheckBox* Box(int w = 60, int h = 19) {
        Ready();
        auto* box = new TsCheckBox(form);
        box->SetAutoSize(false);
        box->TabStop = false;  // the form's first focus goes elsewhere: a focused box is hot
        box->SetBounds(20, 30, w, h);
        box->SetParent(form);
        form->Show();
        Pump();
        return box;
    }
    // The glyph's inside pixel (not its see-through corner) and the background to its right.
    TColor GlyphPx(TsCheckBox* b) { return Px(*b->SkinData.CacheBmp, 2 + 5, 1 + 5); }
    TColor BgPx(TsCheckBox* b) { return Px(*b->SkinData.CacheBmp, b->Width() - 2, 2); }
    void Enter(TsCheckBox* b) {
        b->Perform(framework::CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(b));
    }
    void Leave(TsCheckBox* b) {
        b->Perform(framework::CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(b));
    }
    void Send(TsCheckBox* b, UINT msg, WPARAM w = 0) {
        SendMessage(b->Handle(), msg, w, MAKELPARAM(5, 5));
    }
};

TEST_F(CheckBoxTest, EachStateShowsItsGlyphFrameOverTheSectionColour) {
    TsCheckBox* b = Box();
    EXPECT_EQ(GlyphPx(b), kUnchecked[0]);
    EXPECT_EQ(BgPx(b), kBox);
    EXPECT_EQ(Px(*b->SkinData.CacheBmp, 2, 1), kBox)
        << "the glyph's see-through pixel shows the section";
    EXPECT_EQ(ScreenPixel(b, 7, 6), kUnchecked[0]);

    Enter(b);
    EXPECT_EQ(GlyphPx(b), kUnchecked[1]);
    EXPECT_EQ(BgPx(b), kBoxHot);
    Send(b, WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_EQ(GlyphPx(b), kUnchecked[2]);
    Send(b, WM_LBUTTONUP);
    EXPECT_EQ(GlyphPx(b), kChecked[1]) << "checked and still hot";
    Leave(b);
    EXPECT_EQ(GlyphPx(b), kChecked[1]) << "the press took the focus, and a focused box is hot";
    auto* other = new TsCheckBox(form);
    other->SetBounds(20, 80, 60, 19);
    other->SetParent(form);
    other->SetFocus();
    Pump();
    EXPECT_EQ(GlyphPx(b), kChecked[0]);
    EXPECT_EQ(BgPx(b), kBox);
    EXPECT_EQ(ScreenPixel(b, 7, 6), kChecked[0]);

    b->SetState(TCheckBoxState::cbGrayed);
    EXPECT_EQ(GlyphPx(b), kGrayedBox[0]);
    Pump();
    EXPECT_EQ(ScreenPixel(b, 7, 6), kGrayedBox[0]);
}

TEST_F(CheckBoxTest, ReadOnlyShowsNeitherHotNorPressedGlyphAndKeepsItsState) {
    TsCheckBox* b = Box();
    b->ReadOnly = true;
    Enter(b);
    EXPECT_EQ(GlyphPx(b), kUnchecked[0]);
    EXPECT_EQ(BgPx(b), kBox);
    int paints = 0;
    CountPaints(b, paints);
    Send(b, WM_LBUTTONDOWN, MK_LBUTTON);
    Send(b, WM_LBUTTONUP);
    Send(b, WM_LBUTTONDBLCLK, MK_LBUTTON);
    Send(b, WM_KEYDOWN, VK_SPACE);
    Send(b, WM_KEYUP, VK_SPACE);
    Pump();
    EXPECT_FALSE(b->Checked());
    EXPECT_FALSE(b->Pressed());
    EXPECT_EQ(paints, 0);
}

TEST_F(CheckBoxTest, DisabledImageIsMixedSixtyPercentWithTheParentsColour) {
    TsCheckBox* b = Box();
    b->SetEnabled(false);
    Pump();
    EXPECT_EQ(BgPx(b), Disabled(kFormColor, kBox));
    EXPECT_EQ(GlyphPx(b), Disabled(kFormColor, kUnchecked[0]));
    EXPECT_EQ(ScreenPixel(b, 7, 6), Disabled(kFormColor, kUnchecked[0]));
}

TEST_F(CheckBoxTest, GlyphRectangleFollowsAlignmentAndFallsBackWithoutCheckedEntry) {
    TsCheckBox* b = Box(60, 20);
    EXPECT_EQ(b->GlyphRect().left, 2);
    EXPECT_EQ(b->GlyphRect().top, 2);
    b->Alignment = framework::TAlignment::taLeftJustify;
    EXPECT_EQ(b->GlyphRect().left, 60 - 16 - 2);
    b->Alignment = framework::TAlignment::taRightJustify;

    // Without "BOXCHECKED" the rectangle is (0, 0, 16, 16) and nothing is drawn there.
    model().Masks[0].PropertyName = "SOMETHINGELSE";
    const RECT r = b->GlyphRect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 16);
    EXPECT_EQ(r.bottom, 16);
    b->SetChecked(true);
    Pump();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(Px(*b->SkinData.CacheBmp, x, y), kBox) << x << "," << y;
}

// The form description's 19 pixels come from 13-pixel caption text and the 16-pixel glyph:
// max(16, 13 + 2 * 2) + 2.
TEST_F(CheckBoxTest, AutoSizeGivesNineteenPixelsForThirteenPixelText) {
    TsCheckBox* b = Box();
    b->Font().SetName("MS Sans Serif");
    b->Font().SetHeight(-10);
    framework::TBitmap probe(1, 1);
    probe.Canvas().Font.Assign(b->Font());
    ASSERT_EQ(probe.Canvas().TextExtent("понедельник").cy, 13);
    b->SetCaption("понедельник");
    b->SetAutoSize(true);
    EXPECT_EQ(b->Height(), 19);
    b->SetCaption("");
    EXPECT_EQ(b->Height(), 18) << "glyph 16 plus 2";
    EXPECT_EQ(b->Width(), 16 + 2 * 2);
}

TEST_F(CheckBoxTest, FocusFrameSurroundsTheCaptionOnlyWhileFocused) {
    TsCheckBox* b = Box(120, 19);
    b->TabStop = true;
    b->SetCaption("Abc");
    Pump();
    // The caption starts at 120 - a - 2 + 2 with a = 120 - 16 - 0 - 4 - 2 = 98, i.e. at 22;
    // the focus frame one pixel further out, at 21. The glyph's left margin stays clear.
    auto marks = [&](int x, TColor bg) {
        int n = 0;
        for (int y = 0; y < 19; ++y) n += Px(*b->SkinData.CacheBmp, x, y) != bg;
        return n;
    };
    EXPECT_EQ(marks(21, kBox), 0);
    b->SetFocus();
    Pump();
    EXPECT_GT(marks(21, kBoxHot), 0) << "a focused box is hot and framed";
    EXPECT_EQ(marks(1, kBoxHot), 0) << "the frame leaves the glyph out";
    EXPECT_EQ(marks(19, kBoxHot), 0);
    b->ShowFocus = false;
    b->SkinData.BgChanged = true;
    b->Repaint();
    EXPECT_EQ(marks(21, kBoxHot), 0);
}

struct Step {
    enum Kind { Enter, Leave, Down, Up, Dbl, SpaceDown, SpaceUp } kind;
};

struct SequenceRow {
    const char* name;
    bool allowGrayed;
    std::vector<Step::Kind> steps;
    TCheckBoxState expected;
    int clicks;
};

TEST_F(CheckBoxTest, MouseAndKeySequences) {
    using K = Step::Kind;
    const SequenceRow rows[] = {
        {"click toggles on release",
         false,
         {K::Enter, K::Down, K::Up},
         TCheckBoxState::cbChecked,
         1},
        {"leaving clears the press",
         false,
         {K::Enter, K::Down, K::Leave, K::Up},
         TCheckBoxState::cbUnchecked,
         0},
        {"release without press", false, {K::Enter, K::Up}, TCheckBoxState::cbUnchecked, 0},
        {"double click acts as a press",
         false,
         {K::Enter, K::Down, K::Up, K::Dbl, K::Up},
         TCheckBoxState::cbUnchecked,
         2},
        {"space down and up", false, {K::SpaceDown, K::SpaceUp}, TCheckBoxState::cbChecked, 1},
        {"grayed allowed", true, {K::Down, K::Up, K::Down, K::Up}, TCheckBoxState::cbGrayed, 2},
        {"grayed round trip",
         true,
         {K::Down, K::Up, K::Down, K::Up, K::Down, K::Up},
         TCheckBoxState::cbUnchecked,
         3},
        {"without grayed", false, {K::Down, K::Up, K::Down, K::Up}, TCheckBoxState::cbUnchecked, 2},
    };
    for (const SequenceRow& row : rows) {
        TsCheckBox* b = Box();
        b->AllowGrayed = row.allowGrayed;
        int clicks = 0;
        b->OnClick = [&](framework::TObject*) { ++clicks; };
        for (K k : row.steps) {
            int paints = 0;
            CountPaints(b, paints);
            const TColor before = GlyphPx(b);
            switch (k) {
                case K::Enter:
                    Enter(b);
                    break;
                case K::Leave:
                    Leave(b);
                    break;
                case K::Down:
                    Send(b, WM_LBUTTONDOWN, MK_LBUTTON);
                    break;
                case K::Up:
                    Send(b, WM_LBUTTONUP);
                    break;
                case K::Dbl:
                    Send(b, WM_LBUTTONDBLCLK, MK_LBUTTON);
                    break;
                case K::SpaceDown:
                    Send(b, WM_KEYDOWN, VK_SPACE);
                    break;
                case K::SpaceUp:
                    Send(b, WM_KEYUP, VK_SPACE);
                    break;
            }
            if (GlyphPx(b) != before) {
                EXPECT_GE(paints, 1) << row.name << ": a change shows at once";
            }
            const bool hot = b->SkinData.MouseAbove || b->Focused();
            const int expected = b->Pressed() ? 2 : hot ? 1 : 0;
            const TColor* set = b->State() == TCheckBoxState::cbChecked  ? kChecked
                                : b->State() == TCheckBoxState::cbGrayed ? kGrayedBox
                                                                         : kUnchecked;
            EXPECT_EQ(GlyphPx(b), set[expected]) << row.name;
            Pump();
            EXPECT_EQ(ScreenPixel(b, 7, 6), set[expected])
                << row.name << ": the screen is not stale";
        }
        EXPECT_EQ(b->State(), row.expected) << row.name;
        EXPECT_EQ(clicks, row.clicks) << row.name;
        EXPECT_FALSE(b->Pressed()) << row.name;
        delete b;
    }
}

// A parent's paint leaves a box wholly inside it alone (its pixels stay), while a box reaching
// out of the parent's client area is painted again. A mark put into the box's image tells.
TEST_F(CheckBoxTest, ParentPaintRepaintsOnlyABoxReachingOutOfTheParent) {
    constexpr TColor kMark = Rgb(1, 2, 3);
    TsCheckBox* b = Box();
    const TColor bg = BgPx(b);
    ASSERT_NE(bg, kMark);
    auto markThenTellParentPainted = [&] {
        SetPx(*b->SkinData.CacheBmp, b->Width() - 2, 2, kMark);
        paint::SendSkinCommand(b, skin::scParentPainted);
        Pump();
        return BgPx(b);
    };
    EXPECT_EQ(markThenTellParentPainted(), kMark);
    b->SetLeft(form->ClientWidth() - b->Width() / 2);  // half of it outside
    Pump();
    EXPECT_EQ(markThenTellParentPainted(), bg);
}

TEST_F(CheckBoxTest, FadesAreHalvedForMouseDownAndStateChanges) {
    skin::TsGeneralData& s =
        model().Sections[static_cast<std::size_t>(model().FindSection("CHECKBOX"))];
    s.FadingEnabled = true;
    s.FadingIterations = 7;
    TsCheckBox* b = Box();
    Enter(b);
    EXPECT_EQ(b->LastFadeSteps(), 7);
    Send(b, WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_EQ(b->LastFadeSteps(), 3);
    Send(b, WM_LBUTTONUP);
    EXPECT_TRUE(b->Checked());
    EXPECT_EQ(b->LastFadeSteps(), 3) << "a toggle is a state change";
    b->SetChecked(false);
    EXPECT_EQ(b->LastFadeSteps(), 0) << "setting Checked shows the new state at once";
    b->AnimatEvents = 0;
    Leave(b);
    EXPECT_EQ(b->LastFadeSteps(), 0) << "not an animated event";
    manager->AnimEffects.Buttons.Events = 0;
    b->AnimatEvents = paint::aeGlobalDef;
    Enter(b);
    EXPECT_EQ(b->LastFadeSteps(), 0) << "the manager animates no button event";
    b->AnimatEvents = paint::aeMouseLeave;
    Leave(b);
    EXPECT_EQ(b->LastFadeSteps(), 7);
    EXPECT_EQ(paint::FadeSteps(-4, paint::TsStateEvent::seMouseEnter), 0);
}

TEST_F(CheckBoxTest, OwnGlyphFramesAndUnskinnedReadOnly) {
    TsCheckBox* b = Box();
    auto strip = MakeBitmap(48, 16, 24, Rgb(9, 9, 9));
    FillSolid(*strip, {0, 0, 16, 15}, Rgb(1, 100, 1));
    FillSolid(*strip, {16, 0, 32, 15}, Rgb(2, 100, 2));
    FillSolid(*strip, {32, 0, 48, 15}, Rgb(3, 100, 3));
    b->GlyphUnChecked().Assign(*strip);
    b->SkinData.BgChanged = true;
    b->Repaint();
    EXPECT_EQ(GlyphPx(b), Rgb(1, 100, 1));
    EXPECT_EQ(Px(*b->SkinData.CacheBmp, 2 + 3, 1 + 15), kBox)
        << "the bottom row has the key colour";
    Enter(b);
    EXPECT_EQ(GlyphPx(b), Rgb(2, 100, 2));

    model().Sections[static_cast<std::size_t>(model().FindSection("CHECKBOX"))].SectionName =
        "GONE";
    b->SkinData.UpdateIndexes();
    ASSERT_FALSE(b->SkinData.IsSkinned());
    b->ReadOnly = true;
    Send(b, WM_LBUTTONDOWN, MK_LBUTTON);
    Send(b, WM_LBUTTONUP);
    Send(b, WM_KEYDOWN, VK_SPACE);
    Send(b, WM_KEYUP, VK_SPACE);
    EXPECT_FALSE(b->Checked());
}

}  // namespace
}  // namespace paint_test
