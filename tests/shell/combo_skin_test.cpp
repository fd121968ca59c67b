// The file-name edit in a skin: idle, its text is written by the skin and stops before the
// button; the mouse over the button makes the whole edit hot.
#include "paint/skinned_controls_support.h"
#include "shell/file_edit.h"
#include "skin/skin_commands.h"

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

}  // namespace
}  // namespace paint_test
