// The skinned masked edit: an idle edit is the cached image with the text written by the
// skin, a hot one the framework edit inside the image's hot frame; it keeps the colours of
// its form description until a skin refresh; disabled, the image is mixed with the parent.
#include "paint/mask_edit.h"

#include <string>

#include "skin/skin_commands.h"
#include "skinned_controls_support.h"

namespace paint_test {
namespace {

using paint::TsMaskEdit;

constexpr TColor kEditBg = Rgb(200, 100, 60), kEditHot = Rgb(60, 180, 220);
constexpr TColor kEditText = Rgb(250, 250, 0);
constexpr TColor kWhite = Rgb(255, 255, 255);

class MaskEditTest : public SkinnedControlsTest {
  protected:
    void SetUp() override {
        SkinnedControlsTest::SetUp();
        skin::TsGeneralData& s = Section("EDIT", kEditBg, kEditHot);
        s.FontColor = {kEditText, -1, -1, -1, -1};
        s.HotFontColor = s.FontColor;
    }
    TsMaskEdit* Edit(int top = 30) {
        Ready();
        auto* e = new TsMaskEdit(form);
        e->TabStop = false;
        e->SetColor(kWhite);
        e->Font().SetColor(Rgb(0, 0, 0));
        e->SetBounds(20, top, 120, 21);
        e->SetParent(form);
        form->Show();
        Pump();
        return e;
    }
    TColor WindowPixel(TsMaskEdit* e, int x, int y) { return ScreenPixel(e, x - 2, y - 2); }
    static int Count(const TBitmap& b, RECT r, TColor c) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += Px(b, x, y) == c ? 1 : 0;
        return n;
    }
    void Refresh(TsMaskEdit* e) {
        SendMessage(e->Handle(), skin::SM_SKINCMD, skin::SkinCommandWParam(skin::scRefresh),
                    reinterpret_cast<LPARAM>(manager.get()));
    }
};

TEST_F(MaskEditTest, IdleEditShowsTheImageAndHotEditTheFrameworkEditInAHotFrame) {
    TsMaskEdit* e = Edit();
    e->SetText("melody");
    Pump();
    EXPECT_EQ(e->Color(), kWhite) << "no colours before a refresh";
    EXPECT_EQ(WindowPixel(e, 0, 0), kEditBg);
    EXPECT_EQ(WindowPixel(e, 110, 10), kEditBg) << "the inside is the image, not the white edit";
    const TBitmap& cache = *e->SkinData.CacheBmp;
    // Text is smoothed into the background: the skin wrote it where pixels left the fill.
    EXPECT_GT(114 * 15 - Count(cache, RECT{3, 3, 117, 18}, kEditBg), 20)
        << "the skin wrote the text";
    EXPECT_EQ(Count(cache, RECT{0, 0, 120, 3}, kEditBg), 360) << "and only in its rectangle";
    EXPECT_EQ(Count(cache, RECT{60, 0, 120, 21}, kEditBg), 60 * 21) << "short text, left aligned";

    e->Perform(framework::CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(e));
    Pump();
    EXPECT_EQ(WindowPixel(e, 0, 0), kEditHot);
    EXPECT_EQ(WindowPixel(e, 1, 1), kEditHot);
    EXPECT_EQ(WindowPixel(e, 110, 10), kWhite) << "the framework edit on its own colour";
    e->Perform(framework::CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(e));
    Pump();
    EXPECT_EQ(WindowPixel(e, 0, 0), kEditBg);
    EXPECT_EQ(WindowPixel(e, 110, 10), kEditBg);

    Refresh(e);
    Pump();
    EXPECT_EQ(e->Color(), kEditBg) << "a refresh brings the section's colours";
    EXPECT_EQ(e->Font().Color(), kEditText);
}

TEST_F(MaskEditTest, DisabledImageIsMixedHalfWithTheParentAndEmptyTextWritesNothing) {
    TsMaskEdit* e = Edit();
    e->SetEnabled(false);
    Pump();
    const TColor mixed = Rgb((200 + 10) / 2, (100 + 20) / 2, (60 + 30) / 2);
    const TBitmap& cache = *e->SkinData.CacheBmp;
    EXPECT_EQ(Count(cache, RECT{0, 0, 120, 21}, mixed), 120 * 21);
    EXPECT_EQ(WindowPixel(e, 60, 10), mixed);
    e->SetText("x");
    Pump();
    EXPECT_LT(Count(cache, RECT{0, 0, 120, 21}, mixed), 120 * 21);
}

TEST_F(MaskEditTest, FocusedEditShowsItsSelectionInTheHotFrameAndReadOnlyLooksIdle) {
    TsMaskEdit* e = Edit();
    e->SetText("melody");
    e->ReadOnly = true;
    Pump();
    EXPECT_EQ(WindowPixel(e, 0, 0), kEditBg) << "read-only keeps the idle look";
    EXPECT_EQ(WindowPixel(e, 110, 10), kEditBg);
    EXPECT_GT(114 * 15 - Count(*e->SkinData.CacheBmp, RECT{3, 3, 117, 18}, kEditBg), 20);

    e->TabStop = true;
    e->SetFocus();  // AutoSelect selects the whole text
    Pump();
    const auto highlight = static_cast<TColor>(framework::ColorToRGB(framework::clHighlight));
    EXPECT_EQ(WindowPixel(e, 0, 0), kEditHot) << "focused, the frame is hot";
    EXPECT_EQ(WindowPixel(e, 110, 10), kWhite) << "the framework edit on its own colour";
    int selected = 0;
    for (int x = 2; x < 60; ++x) selected += WindowPixel(e, x, 10) == highlight ? 1 : 0;
    EXPECT_GT(selected, 5) << "the selection is the framework edit's";
    EXPECT_EQ(WindowPixel(e, 100, 10), kWhite) << "only under the text";
}

TEST_F(MaskEditTest, PasswordWritesOneMarkPerCharacter) {
    TsMaskEdit* secret = Edit();
    TsMaskEdit* marks = Edit(60);
    secret->SetPasswordChar(U'*');
    secret->SetText("\xC3\xA4\xC3\xB6");  // two characters in four bytes
    marks->SetPasswordChar(U'*');
    marks->SetText("ab");
    secret->PrepareCache();
    marks->PrepareCache();
    const Snapshot want(*marks->SkinData.CacheBmp);
    int same = 0;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 120; ++x)
            same += Px(*secret->SkinData.CacheBmp, x, y) == want.Px(x, y, 3) ? 1 : 0;
    EXPECT_EQ(same, 120 * 21);
    EXPECT_GT(114 * 15 - Count(*marks->SkinData.CacheBmp, RECT{3, 3, 117, 18}, kEditBg), 10)
        << "marks were written";
}

TEST_F(MaskEditTest, TextRectangleFollowsTheInsetAndTheFontHeight) {
    TsMaskEdit* e = Edit();
    EXPECT_EQ(e->EditInset(), 3);
    e->SetCtl3D(false);
    EXPECT_EQ(e->EditInset(), 2);
    e->BorderStyle = framework::TBorderStyle::bsNone;
    EXPECT_EQ(e->EditInset(), 0);
    TBitmap probe(1, 1);
    probe.Canvas().Font.Assign(e->Font());
    const RECT r = e->TextRect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 120);
    EXPECT_EQ(r.bottom - r.top, probe.Canvas().TextHeight("Wy") + 2);
}

}  // namespace
}  // namespace paint_test
