// The skinned edit: its frame strips and inside in the normal, hot, focused, disabled and
// read-only states, the section colours it takes before each paint (and keeps when told
// they are its own), a skin refresh, one paint per request however the colours change, and
// a password written one mark per character.
#include "paint/edit.h"

#include <string>

#include "skin/skin_commands.h"
#include "skinned_controls_support.h"

namespace paint_test {
namespace {

using paint::TsEdit;

constexpr TColor kEditBg = Rgb(200, 100, 60), kEditHot = Rgb(60, 180, 220);
constexpr TColor kEditText = Rgb(250, 250, 0), kEditHotText = Rgb(0, 0, 250);

class EditTest : public SkinnedControlsTest {
  protected:
    void SetUp() override {
        SkinnedControlsTest::SetUp();
        skin::TsGeneralData& s = Section("EDIT", kEditBg, kEditHot);
        s.FontColor = {kEditText, -1, -1, -1, -1};
        s.HotFontColor = {kEditHotText, -1, -1, -1, -1};
    }
    // A time edit as the main window places it, with the form description's white and black.
    TsEdit* Edit(int top = 30) {
        Ready();
        auto* e = new TsEdit(form);
        e->TabStop = false;
        e->SetColor(Rgb(255, 255, 255));
        e->Font().SetColor(Rgb(0, 0, 0));
        e->SetBounds(20, top, 49, 21);
        e->SetParent(form);
        form->Show();
        Pump();
        return e;
    }
    // A pixel of the whole window (frame included).
    TColor WindowPixel(TsEdit* e, int x, int y) { return ScreenPixel(e, x - 2, y - 2); }
    static std::string Str(RECT r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," +
               std::to_string(r.right) + "," + std::to_string(r.bottom);
    }
    void Enter(TsEdit* e) { e->Perform(framework::CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(e)); }
    void Leave(TsEdit* e) { e->Perform(framework::CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(e)); }
    // Counts the cache pixels of rect in colour c.
    static int Count(const TBitmap& b, RECT r, TColor c) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += Px(b, x, y) == c ? 1 : 0;
        return n;
    }
    void Refresh() {
        for (int i = 0; i < form->ControlCount(); ++i)
            if (auto* e = dynamic_cast<TsEdit*>(form->Controls(i)))
                SendMessage(e->Handle(), skin::SM_SKINCMD, skin::SkinCommandWParam(skin::scRefresh),
                            reinterpret_cast<LPARAM>(manager.get()));
    }
};

TEST_F(EditTest, TimeEditTakesTheSectionColoursAtItsFirstPaintAndTheHotOnesWhenHotOrFocused) {
    TsEdit* e = Edit();
    EXPECT_EQ(Str(e->TextRect()), "3,3,47,19");
    EXPECT_EQ(e->Color(), kEditBg) << "white from the form description is replaced";
    EXPECT_EQ(e->Font().Color(), kEditText);
    EXPECT_EQ(WindowPixel(e, 0, 0), kEditBg) << "the frame is the image's, not the platform's edge";
    EXPECT_EQ(WindowPixel(e, 48, 20), kEditBg);
    EXPECT_EQ(WindowPixel(e, 1, 10), kEditBg);
    EXPECT_EQ(WindowPixel(e, 40, 10), kEditBg) << "the inside, drawn by the framework edit";

    Enter(e);
    Pump();
    EXPECT_EQ(e->Color(), kEditHot);
    EXPECT_EQ(e->Font().Color(), kEditHotText);
    EXPECT_EQ(WindowPixel(e, 0, 0), kEditHot);
    EXPECT_EQ(WindowPixel(e, 40, 10), kEditHot);
    Leave(e);
    Pump();
    EXPECT_EQ(e->Color(), kEditBg);
    EXPECT_EQ(WindowPixel(e, 0, 0), kEditBg);

    e->SetFocus();
    Pump();
    EXPECT_EQ(e->Color(), kEditHot) << "a focused edit is hot";
    EXPECT_EQ(WindowPixel(e, 1, 1), kEditHot);
    TsEdit* other = Edit(60);
    other->SetFocus();
    Pump();
    EXPECT_EQ(e->Color(), kEditBg);
    EXPECT_EQ(WindowPixel(e, 1, 1), kEditBg);
}

TEST_F(EditTest, ReadOnlyLooksNormalAndDisabledShowsSkinTextMixedHalfWithTheParent) {
    TsEdit* e = Edit();
    e->ReadOnly = true;
    e->SetText("7:30");
    Pump();
    EXPECT_EQ(WindowPixel(e, 0, 0), kEditBg);
    EXPECT_EQ(WindowPixel(e, 46, 18), kEditBg);

    e->SetEnabled(false);
    Pump();
    // The form has no image: the edit's own image is mixed half and half with its colour.
    const TColor mixed = Rgb((200 + 10) / 2, (100 + 20) / 2, (60 + 30) / 2);
    const TBitmap& cache = *e->SkinData.CacheBmp;
    EXPECT_EQ(Px(cache, 0, 0), mixed);
    EXPECT_EQ(Px(cache, 46, 19), mixed);
    EXPECT_EQ(WindowPixel(e, 0, 0), mixed);
    EXPECT_EQ(WindowPixel(e, 46, 19), mixed) << "the inside comes from the image too";
    // Text is smoothed into the fill: the skin wrote it where pixels left the mixed fill.
    const RECT t = e->TextRect();
    const int inside = (t.right - t.left) * (t.bottom - t.top);
    EXPECT_GT(inside - Count(cache, t, mixed), 10) << "the skin wrote the text";
    EXPECT_EQ(Count(cache, RECT{0, 0, 49, 3}, mixed), 49 * 3) << "and only inside its rectangle";
}

TEST_F(EditTest, SkinRefreshBringsNewSectionColoursUnlessTheEditKeepsItsOwn) {
    TsEdit* e = Edit();
    TsEdit* own = Edit(60);
    own->SkinData.SetCustomColor(true);
    own->SetColor(Rgb(1, 2, 3));
    Pump();
    const TColor next = Rgb(30, 60, 90);
    model().Sections[static_cast<std::size_t>(model().FindSection("EDIT"))].Color = next;
    Refresh();
    Pump();
    EXPECT_EQ(e->Color(), next);
    EXPECT_EQ(WindowPixel(e, 0, 0), next);
    EXPECT_EQ(WindowPixel(e, 40, 10), next);
    EXPECT_EQ(own->Color(), Rgb(1, 2, 3));
    EXPECT_EQ(own->Font().Color(), kEditText) << "the font still follows the section";
    EXPECT_EQ(WindowPixel(own, 40, 10), Rgb(1, 2, 3));
}

TEST_F(EditTest, TakingColoursDuringAPaintAsksForNoFurtherPaint) {
    TsEdit* e = Edit();
    Pump();
    int paints = 0;
    CountPaints(e, paints);
    // The section's colours change under the edit, as a skin whose colours do not come back
    // exactly would leave them differing at every paint.
    skin::TsGeneralData& s =
        model().Sections[static_cast<std::size_t>(model().FindSection("EDIT"))];
    s.Color = Rgb(9, 9, 9);
    s.FontColor[0] = Rgb(8, 8, 8);
    e->Invalidate();
    Pump();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(e->Color(), Rgb(9, 9, 9));
    EXPECT_EQ(e->Font().Color(), Rgb(8, 8, 8));
    EXPECT_EQ(WindowPixel(e, 40, 10), Rgb(9, 9, 9));
}

// A colour that never comes back exactly (here: the section's colour moves at every paint)
// would make each paint set it again; setting it must not ask for the next paint.
TEST_F(EditTest, AColourThatNeverComesBackExactlyDoesNotPaintForever) {
    TsEdit* e = Edit();
    Pump();
    skin::TsGeneralData& s =
        model().Sections[static_cast<std::size_t>(model().FindSection("EDIT"))];
    int paints = 0;
    framework::TWndMethod previous = e->WindowProc;
    e->WindowProc = [&s, &paints, previous](framework::TMessage& m) {
        if (m.Msg == WM_PAINT) {
            ++paints;
            s.Color = Rgb(paints, 2 * paints, 3 * paints);
            s.FontColor[0] = Rgb(3 * paints, 2 * paints, paints);
        }
        previous(m);
    };
    e->Invalidate();
    // A bounded loop: a fault here would otherwise never let a pump return.
    MSG msg{};
    int handled = 0;
    for (; handled < 50 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++handled) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    EXPECT_LT(handled, 50) << "the queue runs empty";
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(e->Color(), Rgb(1, 2, 3));
    EXPECT_EQ(WindowPixel(e, 40, 10), Rgb(1, 2, 3)) << "the paint used the colour it set";
}

TEST_F(EditTest, PasswordShowsOneMarkPerCharacterNotPerByte) {
    TsEdit* secret = Edit();
    TsEdit* marks = Edit(60);
    TsEdit* bytes = Edit(90);
    secret->SetPasswordChar(U'*');
    secret->SetText("\xC3\xA4\xC3\xB6");  // two characters in four bytes
    marks->SetText("**");
    bytes->SetText("****");
    for (TsEdit* e : {secret, marks, bytes}) {
        e->SetEnabled(false);
        e->PrepareCache();
    }
    const Snapshot want(*marks->SkinData.CacheBmp), wrong(*bytes->SkinData.CacheBmp);
    const TBitmap& got = *secret->SkinData.CacheBmp;
    int sameAsMarks = 0, sameAsBytes = 0;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 49; ++x) {
            sameAsMarks += Px(got, x, y) == want.Px(x, y, 3) ? 1 : 0;
            sameAsBytes += Px(got, x, y) == wrong.Px(x, y, 3) ? 1 : 0;
        }
    EXPECT_EQ(sameAsMarks, 49 * 21);
    EXPECT_LT(sameAsBytes, 49 * 21);
}

TEST_F(EditTest, FrameStripsFollowBorderStyleAndBevels) {
    TsEdit* e = Edit();
    EXPECT_EQ(e->StripWidth(), 2);
    EXPECT_EQ(e->TextInset(), 2);
    e->SetCtl3D(false);
    EXPECT_EQ(e->StripWidth(), 1);
    EXPECT_EQ(Str(e->TextRect()), "2,2,48,20");
    e->BorderStyle = framework::TBorderStyle::bsNone;
    EXPECT_EQ(e->StripWidth(), 2) << "default bevels, whatever the bevel kind";
    EXPECT_EQ(e->TextInset(), 0);
    e->SetBevelKind(framework::TBevelKind::bkFlat);
    EXPECT_EQ(e->TextInset(), 2);
    e->SetBevelInner(framework::TBevelCut::bvNone);
    EXPECT_EQ(e->StripWidth(), 1);
    EXPECT_EQ(Str(e->TextRect()), "2,2,48,20");
}

}  // namespace
}  // namespace paint_test
