// The file-name edit's browse button in a skin: at rest its "SF" glyph over the edit's own
// image where the edit puts it, hot and pressed the "SPEEDBUTTON_SMALL" plate with the hot and
// pressed frames of the strip, a fade on entering and leaving only, and the disabled glyph at
// half alpha mixed 60 percent into the edit's image.
#include "paint/skinned_controls_support.h"
#include "shell/file_edit.h"
#include "skin/skin_loader.h"

namespace paint_test {
namespace {

constexpr TColor kEditBg = Rgb(200, 100, 60), kEditHot = Rgb(60, 180, 220);
constexpr TColor kSmall = Rgb(90, 10, 140), kSmallHot = Rgb(30, 150, 70);
// The button sits at the client's right edge: 297 wide less the 2-pixel frames and 16.
constexpr int kButtonLeft = 297 - 4 - 16;

// One byte of the glyph mixed by alpha a over d, as the speed button mixes 32-bit glyphs.
int MixByte(int g, int d, int a) {
    return ((g - d) * a + d * 256) >> 8;
}

class EditButtonTest : public SkinnedControlsTest {
  protected:
    void SetUp() override {
        SkinnedControlsTest::SetUp();
        // A gradient from top to bottom, so an image taken a row too low shows.
        skin::TsGeneralData& edit = Section("EDIT", kEditBg, kEditHot);
        edit.GradientPercent = edit.HotGradientPercent = 100;
        edit.GradientArray = edit.HotGradientArray = skin::ParseGradient("$0000FF;$FF0000;100;0;0");
        small = &Section("SPEEDBUTTON_SMALL", kSmall, kSmallHot);
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
    // The glyph of state frame over background pixel d at (x, y) of a glyph drawn at (0, 0);
    // alphaPercent scales the glyph's alpha as a blend does.
    static TColor Glyphed(TColor d, int frame, int x, int y, int alphaPercent = 100) {
        const shell::GlyphStrip& sf = shell::EditGlyphs()[shell::kGlyphFile];
        if (x < 0 || y < 0 || x >= 16 || y >= 16) return d;
        const std::uint32_t p = sf.Pixel(frame * 16 + x, y);
        const int a = static_cast<int>(p >> 24) * alphaPercent / 100;
        return Rgb(MixByte((p >> 16) & 0xFF, R(d), a), MixByte((p >> 8) & 0xFF, G(d), a),
                   MixByte(p & 0xFF, B(d), a));
    }
    static TColor Cache(shell::TsEditButton* b, int x, int y) {
        return Px(*b->SkinData.CacheBmp, x, y);
    }
    static int Mismatches(const std::function<TColor(int, int)>& got,
                          const std::function<TColor(int, int)>& want) {
        int n = 0;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 16; ++x) n += got(x, y) != want(x, y) ? 1 : 0;
        return n;
    }
    skin::TsGeneralData* small = nullptr;
};

TEST_F(EditButtonTest, RestingButtonIsTheGlyphOverTheEditImageAtTheButtonsPlace) {
    shell::TsFilenameEdit* e = Edit();
    shell::TsEditButton* b = e->Button();
    EXPECT_EQ(b->SkinData.SkinSection(), "SPEEDBUTTON_SMALL");
    EXPECT_TRUE(b->SkinData.IsSkinned());
    EXPECT_EQ(b->Width(), 16) << "created 22 wide, then as wide as the glyph";
    EXPECT_EQ(b->Left(), kButtonLeft);
    EXPECT_EQ(b->Height(), 17);
    const TBitmap& edit = *e->SkinData.CacheBmp;
    // The client area starts 2 pixels into the window image.
    auto want = [&](int x, int y) {
        return Glyphed(Px(edit, kButtonLeft + 2 + x, 2 + y), 0, x, y);
    };
    EXPECT_EQ(Mismatches([&](int x, int y) { return Cache(b, x, y); }, want), 0);
    EXPECT_EQ(Mismatches([&](int x, int y) { return ScreenPixel(e, kButtonLeft + x, y); }, want), 0)
        << "the idle edit puts the button's image at its place in the window";
    EXPECT_NE(Px(edit, 100, 3), Px(edit, 100, 4)) << "the image changes from row to row";
    EXPECT_NE(Cache(b, 8, 8), Px(edit, kButtonLeft + 10, 10)) << "the page is drawn";
}

TEST_F(EditButtonTest, HotAndPressedShowThePlateWithTheirGlyphFrames) {
    shell::TsFilenameEdit* e = Edit();
    shell::TsEditButton* b = e->Button();
    b->Perform(framework::CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(b));
    EXPECT_TRUE(e->IsEditHot()) << "the mouse over the button makes the edit hot";
    auto hot = [&](int x, int y) { return Glyphed(kSmallHot, 1, x, y); };
    EXPECT_EQ(Mismatches([&](int x, int y) { return Cache(b, x, y); }, hot), 0);
    Pump();
    EXPECT_EQ(Mismatches([&](int x, int y) { return ScreenPixel(e, kButtonLeft + x, y); }, hot), 0);
    EXPECT_NE(shell::EditGlyphs()[0].Pixel(16 + 8, 8), shell::EditGlyphs()[0].Pixel(8, 8))
        << "the hot frame differs from the resting one";

    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(b->ButtonPaintState(), paint::TsButtonPaintState::bpPressed);
    auto pressed = [&](int x, int y) { return Glyphed(kSmallHot, 2, x - 1, y - 1); };
    EXPECT_EQ(Mismatches([&](int x, int y) { return Cache(b, x, y); }, pressed), 0)
        << "the pressed frame, one pixel right and down";
    ReleaseCapture();
    b->Perform(framework::CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(b));
    Pump();
    auto rest = [&](int x, int y) {
        return Glyphed(Px(*e->SkinData.CacheBmp, kButtonLeft + 2 + x, 2 + y), 0, x, y);
    };
    EXPECT_EQ(Mismatches([&](int x, int y) { return Cache(b, x, y); }, rest), 0);
}

TEST_F(EditButtonTest, FadesOnEnteringAndLeavingOnly) {
    small->FadingEnabled = true;
    small->FadingIterations = 6;
    shell::TsFilenameEdit* e = Edit();
    shell::TsEditButton* b = e->Button();
    b->Perform(framework::CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(b));
    EXPECT_EQ(b->LastFadeSteps(), 6);
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(b->LastFadeSteps(), 0) << "a press shows at once";
    b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
    EXPECT_EQ(b->LastFadeSteps(), 0);
    b->Perform(framework::CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(b));
    EXPECT_EQ(b->LastFadeSteps(), 6);
    EXPECT_EQ(Cache(b, 0, 16), Px(*e->SkinData.CacheBmp, kButtonLeft + 2, 18))
        << "the fade ends on the resting image";
}

TEST_F(EditButtonTest, DisabledGlyphAtHalfAlphaMixedIntoTheEditImage) {
    shell::TsFilenameEdit* e = Edit();
    e->SetEnabled(false);
    Pump();
    shell::TsEditButton* b = e->Button();
    EXPECT_FALSE(b->Enabled()) << "the button follows the edit";
    const TBitmap& edit = *e->SkinData.CacheBmp;
    auto want = [&](int x, int y) {
        const TColor under = Px(edit, kButtonLeft + 2 + x, 2 + y);
        return Disabled(under, Glyphed(under, 0, x, y, 50));
    };
    EXPECT_EQ(Mismatches([&](int x, int y) { return Cache(b, x, y); }, want), 0);
    EXPECT_EQ(Mismatches([&](int x, int y) { return ScreenPixel(e, kButtonLeft + x, y); }, want),
              0);
}

}  // namespace
}  // namespace paint_test
