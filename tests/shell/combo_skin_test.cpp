// The file-name edit in a skin: idle, its text is written by the skin and stops before the
// button; the mouse over the button makes the whole edit hot; the background it lends its
// button starts at its client area; a print shows the button where a paint does and shows it
// again even when painting fails; the colours a skin change brings to file-name and time edits.
#include <stdexcept>

#include "paint/edit.h"
#include "paint/skinned_controls_support.h"
#include "shell/file_edit.h"
#include "skin/skin_commands.h"
#include "skin/skin_loader.h"

namespace paint_test {
namespace {

constexpr TColor kEditBg = Rgb(200, 100, 60), kEditHot = Rgb(60, 180, 220);

class ComboSkinTest : public SkinnedControlsTest {
  protected:
    void SetUp() override {
        SkinnedControlsTest::SetUp();
        skin::TsGeneralData& s = Section("EDIT", kEditBg, kEditHot);
        s.FontColor = {Rgb(250, 250, 0), -1, -1, -1, -1};
        s.HotFontColor = s.FontColor;
    }
    shell::TsFilenameEdit* Edit() {
        Ready();
        auto* e = new shell::TsFilenameEdit(form);
        e->TabStop = false;
        e->SetBounds(20, 30, 297, 21);
        e->SetParent(form);
        form->Show();
        Pump();
        return e;
    }
    static int Count(const TBitmap& b, RECT r, TColor c) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += Px(b, x, y) == c ? 1 : 0;
        return n;
    }
};

TEST_F(ComboSkinTest, SkinTextStopsBeforeTheButtonAndTheButtonMakesTheEditHot) {
    shell::TsFilenameEdit* e = Edit();
    EXPECT_EQ(e->SkinData.ControlKind, paint::ckFileNameEdit);
    const RECT t = e->TextRect();
    EXPECT_EQ(t.left, 3);
    EXPECT_EQ(t.top, 3);
    EXPECT_EQ(t.right, 278) << "297 less the inset and the 16-pixel button";
    EXPECT_EQ(t.bottom, 18);
    e->SetText(std::string(200, 'W'));
    e->SetEnabled(false);  // the image stays the skin's, whatever the pointer does
    e->PrepareCache();
    const TBitmap& cache = *e->SkinData.CacheBmp;
    const TColor mixed = Rgb((200 + 10) / 2, (100 + 20) / 2, (60 + 30) / 2);
    EXPECT_GT(275 * 15 - Count(cache, RECT{3, 3, 278, 18}, mixed), 100) << "text up to the button";
    EXPECT_EQ(Count(cache, RECT{278, 0, 297, 21}, mixed), 19 * 21) << "none under the button";

    e->SetEnabled(true);
    EXPECT_FALSE(e->IsEditHot());
    e->Button()->Perform(framework::CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(e->IsEditHot());
}

// The button's plate is see-through, so the hot button shows the edit's image lent to it by
// command 34; the edit's image changes from row to row, so a query answered a pixel off would
// show.
TEST_F(ComboSkinTest, HotButtonSeesTheEditImageWhereTheRestingButtonIsPlaced) {
    skin::TsGeneralData& edit =
        model().Sections[static_cast<std::size_t>(model().FindSection("EDIT"))];
    edit.GradientPercent = edit.HotGradientPercent = 100;
    edit.GradientArray = edit.HotGradientArray = skin::ParseGradient("$0000FF;$FF0000;100;0;0");
    skin::TsGeneralData& small = Section("SPEEDBUTTON_SMALL", Rgb(1, 1, 1), Rgb(2, 2, 2));
    small.Transparency = small.HotTransparency = 100;
    shell::TsFilenameEdit* e = Edit();
    shell::TsEditButton* b = e->Button();

    paint::TsBgQuery q;
    SendMessage(e->Handle(), skin::SM_SKINCMD, skin::SkinCommandWParam(skin::scGetBg),
                reinterpret_cast<LPARAM>(&q));
    EXPECT_EQ(q.BgType, paint::kBgBitmap);
    EXPECT_EQ(q.Bmp, e->SkinData.CacheBmp.get());
    EXPECT_EQ(q.Offset.x, 2) << "the client area starts after the 2-pixel frame";
    EXPECT_EQ(q.Offset.y, 2);

    b->Perform(framework::CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(b));
    const TBitmap& image = *e->SkinData.CacheBmp;
    const int left = b->Left() + 2;
    ASSERT_NE(Px(image, left, 17), Px(image, left, 18));
    // The glyph leaves the bottom row of the 17-pixel button free.
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(Px(*b->SkinData.CacheBmp, x, 16), Px(image, left + x, 18)) << x;
}

TEST_F(ComboSkinTest, PrintShowsTheButtonWhereAPaintDoesAndShowsItAgainWhenPaintingFails) {
    shell::TsFilenameEdit* e = Edit();
    shell::TsEditButton* b = e->Button();
    b->Perform(framework::CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(b));
    TBitmap printed(297, 21);
    e->Perform(WM_PRINT, reinterpret_cast<WPARAM>(printed.Canvas().Handle()), PRF_CLIENT);
    EXPECT_TRUE(b->Visible());
    EXPECT_TRUE(b->SkinData.MouseAbove) << "hiding for the print forgets no hover";
    const TBitmap& own = *b->SkinData.CacheBmp;
    int differ = 0;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 16; ++x)
            differ += Px(printed, b->Left() + 2 + x, 2 + y) != Px(own, x, y);
    EXPECT_EQ(differ, 0) << "the button's image at its place in the window";
    EXPECT_EQ(Px(printed, 0, 0), Px(*e->SkinData.CacheBmp, 0, 0));
    EXPECT_EQ(Px(printed, 100, 10), kEditBg) << "the inside comes from the image";

    b->OnPaint = [](paint::TsSpeedButton*, TBitmap&) { throw std::runtime_error("paint failed"); };
    EXPECT_THROW(e->Perform(WM_PRINT, reinterpret_cast<WPARAM>(printed.Canvas().Handle()), 0),
                 std::runtime_error);
    EXPECT_TRUE(b->Visible()) << "the button hidden for the print is shown again";
    b->OnPaint = nullptr;
}

// At start the skin comes with command 1 only: the file-name edit keeps the white and black
// of its form description until a command 3, while a time edit takes the section's colours
// at its first paint and again after every change.
TEST_F(ComboSkinTest, FileNameEditKeepsItsColoursUntilARefreshAndTimeEditTakesThemAtOnce) {
    shell::TsFilenameEdit* file = Edit();
    file->SetColor(Rgb(255, 255, 255));
    file->Font().SetColor(Rgb(0, 0, 0));
    auto* time = new paint::TsEdit(form);
    time->TabStop = false;
    time->SetColor(Rgb(255, 255, 255));
    time->Font().SetColor(Rgb(0, 0, 0));
    time->SetBounds(20, 60, 49, 21);
    time->SetParent(form);
    Pump();
    EXPECT_EQ(time->Color(), kEditBg);
    EXPECT_EQ(time->Font().Color(), Rgb(250, 250, 0));
    EXPECT_EQ(file->Color(), Rgb(255, 255, 255));
    EXPECT_EQ(file->Font().Color(), Rgb(0, 0, 0));

    skin::TsGeneralData& s =
        model().Sections[static_cast<std::size_t>(model().FindSection("EDIT"))];
    s.Color = Rgb(30, 60, 90);
    s.FontColor[0] = Rgb(5, 6, 7);
    const LPARAM own = reinterpret_cast<LPARAM>(manager.get());
    for (HWND w : {file->Handle(), time->Handle()})
        SendMessage(w, skin::SM_SKINCMD, skin::SkinCommandWParam(skin::scNewSkin), own);
    time->Invalidate();
    file->Invalidate();
    Pump();
    EXPECT_EQ(time->Color(), Rgb(30, 60, 90)) << "taken at the next paint";
    EXPECT_EQ(time->Font().Color(), Rgb(5, 6, 7));
    EXPECT_EQ(file->Color(), Rgb(255, 255, 255)) << "a new skin alone changes nothing";

    SendMessage(file->Handle(), skin::SM_SKINCMD, skin::SkinCommandWParam(skin::scRefresh), own);
    Pump();
    EXPECT_EQ(file->Color(), Rgb(30, 60, 90));
    EXPECT_EQ(file->Font().Color(), Rgb(5, 6, 7));
}

}  // namespace
}  // namespace paint_test
