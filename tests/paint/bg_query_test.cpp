// What a child learns when it asks its parent for the background: a bitmap, a colour, or the
// parent painting itself, by each rule of the answer.
#include "binding_test_support.h"

namespace paint_test {
namespace {

using paint::TsBgQuery;

constexpr TColor kPanelColor = Rgb(40, 50, 60);
constexpr TColor kHalfColor = Rgb(200, 100, 0);

class BgQueryTest : public BindingTest {
protected:
    void SetUp() override {
        BindingTest::SetUp();
        FillPattern(*model().MasterBitmap, 1);
        AddSection("PANEL", kPanelColor);
        AddSection("TEXTURED", Rgb(7, 7, 7)).ImagePercent = 100;
        AddMask("TEXTURED", "PATTERN", {0, 0, 8, 8}, 1, 0, skin::itisaTexture);
        AddSection("GLASS").Transparency = 100;
        AddSection("HALF", kHalfColor).Transparency = 50;
    }
    // Asks parent as a child at `at` would.
    TsBgQuery Ask(framework::TControl* parent) {
        TsBgQuery q;
        q.Offset = POINT{-1, -1};
        paint::QueryParentBg(q, parent, false);
        return q;
    }
    // A frame image of the given widths under the section's name.
    void Frame(const std::string& section, int wl, int wt, int wr, int wb) {
        AddMask(section, "BORDERSMASK", {0, 0, 60, 30}, 1, 0, skin::itisaBorder, wl, wt, wr, wb);
    }
};

TEST_F(BgQueryTest, EachKindOfParentAnswersByItsRule) {
    AddSection("THIN", 0).Transparency = 100;
    Frame("THIN", 12, 12, 12, 12);  // 24 wide and 24 high: still thin
    AddSection("THICKX", 0).Transparency = 100;
    Frame("THICKX", 12, 0, 13, 0);
    AddSection("THICKY", 0).Transparency = 100;
    Frame("THICKY", 0, 12, 0, 13);
    Ready();
    BoundPanel* textured = Panel(form, "TEXTURED", {10, 10, 300, 250});
    BoundPanel* plain = Panel(form, "PANEL", {320, 10, 380, 60});
    BoundPanel* glass = Panel(textured, "GLASS", {30, 20, 200, 150});
    BoundPanel* thin = Panel(textured, "THIN", {31, 21, 200, 150});
    BoundPanel* thickX = Panel(textured, "THICKX", {32, 22, 200, 150});
    BoundPanel* thickY = Panel(textured, "THICKY", {33, 23, 200, 150});
    BoundPanel* uncachedTexture = Panel(form, "TEXTURED", {0, 0, 20, 20}, false);
    BoundPanel* uncachedHalf = Panel(form, "HALF", {0, 0, 20, 20}, false);
    BoundPanel* unknown = Panel(form, "NOSUCH", {0, 0, 20, 20});
    unknown->SetColor(Rgb(1, 2, 3));
    textured->SkinData.InitCacheBmp();
    thickX->SkinData.InitCacheBmp();
    thickY->SkinData.InitCacheBmp();
    framework::TBitmap* texturedCache = textured->SkinData.CacheBmp.get();

    struct Case {
        const char* name;
        framework::TControl* parent;
        int bgType;
        framework::TBitmap* bmp;  // expected Bmp (only checked for bitmap answers and plain ones)
        POINT offset;
        TColor color;
    } cases[] = {
        {"plain: its colour, and its image lent anyway", plain, paint::kBgColor, plain->SkinData.CacheBmp.get(), {-1, -1}, kPanelColor},
        {"textured: its image at 0, 0", textured, paint::kBgBitmap, texturedCache, {0, 0}, 0},
        {"transparent, no frame: the grandparent's image at its position", glass, paint::kBgBitmap, texturedCache, {30, 20}, 0},
        {"transparent, thin frame: passed on too", thin, paint::kBgBitmap, texturedCache, {31, 21}, 0},
        {"transparent, 25 wide frame: its own image", thickX, paint::kBgBitmap, thickX->SkinData.CacheBmp.get(), {0, 0}, 0},
        {"transparent, 25 high frame: its own image", thickY, paint::kBgBitmap, thickY->SkinData.CacheBmp.get(), {0, 0}, 0},
        {"textured without image: no colour", uncachedTexture, paint::kBgColor, nullptr, {-1, -1}, paint::TransparentColor},
        {"half transparent without image: no colour", uncachedHalf, paint::kBgColor, nullptr, {-1, -1}, paint::TransparentColor},
        {"unknown section: its own colour", unknown, paint::kBgColor, nullptr, {-1, -1}, Rgb(1, 2, 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TsBgQuery q = Ask(c.parent);
        EXPECT_EQ(q.BgType, c.bgType);
        EXPECT_EQ(q.Bmp, c.bmp);
        EXPECT_EQ(q.Offset.x, c.offset.x);
        EXPECT_EQ(q.Offset.y, c.offset.y);
        if (c.bgType == paint::kBgColor) {
            EXPECT_EQ(q.Color, c.color);
        }
        paint::TsBgSource src = paint::BgSourceFromQuery(q);
        EXPECT_EQ(src.Ready, c.bgType == paint::kBgBitmap) << "the source goes by BgType, not by Bmp";
    }
}

TEST_F(BgQueryTest, ThickTransparentParentWithoutImageOffersItsParentsPlainColour) {
    AddSection("THICK", 0).Transparency = 100;
    Frame("THICK", 20, 20, 20, 20);
    Ready();
    BoundPanel* plain = Panel(form, "PANEL", {0, 0, 200, 200});
    BoundPanel* thick = Panel(plain, "THICK", {10, 10, 100, 100}, false);
    TsBgQuery q = Ask(thick);
    EXPECT_EQ(q.BgType, paint::kBgColor);
    EXPECT_EQ(q.Color, kPanelColor);
}

TEST_F(BgQueryTest, CustomColourAnswersTheControlsOwnColour) {
    Ready();
    BoundPanel* p = Panel(form, "TEXTURED", {0, 0, 50, 50});
    p->SetColor(Rgb(9, 8, 7));
    p->SkinData.SetCustomColor(true);
    TsBgQuery q = Ask(p);
    EXPECT_EQ(q.BgType, paint::kBgColor);
    EXPECT_EQ(q.Color, Rgb(9, 8, 7));
}

TEST_F(BgQueryTest, PlainColourOfAHalfTransparentSectionMixesWithTheParents) {
    Ready();
    BoundPanel* plain = Panel(form, "PANEL", {0, 0, 200, 200});
    BoundPanel* half = Panel(plain, "HALF", {10, 10, 100, 100});
    BoundPanel* glass = Panel(plain, "GLASS", {10, 10, 100, 100});
    auto color = [](framework::TControl* c) { return static_cast<TColor>(paint::SendSkinCommand(c, skin::scGetColor)); };
    // 0.5 x (40, 50, 60) + 0.5 x (200, 100, 0), halves to even.
    EXPECT_EQ(color(half), Rgb(120, 75, 30));
    EXPECT_EQ(color(glass), kPanelColor);
    EXPECT_EQ(color(plain), kPanelColor);
    form->SetColor(Rgb(11, 13, 15));
    BoundPanel* onForm = Panel(form, "GLASS", {0, 0, 10, 10});
    EXPECT_EQ(color(onForm), Rgb(11, 13, 15)) << "an unskinned parent offers its own colour";
}

// A graphic child that paints one solid rectangle.
class Block : public framework::TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    TColor color = Rgb(250, 0, 0);

protected:
    void Paint() override { paint::FillRectSolid(Canvas().Handle(), RECT{0, 0, Width(), Height()}, color); }
};

TEST_F(BgQueryTest, ParentThatDoesNotAnswerPaintsItselfIntoTheAskersContext) {
    Ready();
    auto* parent = new framework::TPanel(form);
    parent->BevelOuter = framework::TBevelCut::bvNone;
    parent->SetColor(Rgb(0, 80, 160));
    parent->SetBounds(10, 10, 200, 150);
    parent->SetParent(form);
    auto* block = new Block(form);
    block->SetBounds(25, 32, 10, 10);
    block->SetParent(parent);
    form->Show();
    Pump();

    auto target = MakeBitmap(30, 20, 24, Rgb(1, 1, 1));
    TsBgQuery q;
    q.DrawDC = target->Canvas().Handle();
    q.Offset = POINT{20, 30};  // the asker's place in the parent
    q.R = RECT{0, 0, 30, 19};
    q.PleaseDraw = 1;
    paint::QueryParentBg(q, parent, false);
    EXPECT_EQ(q.BgType, paint::kBgNoAnswer);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            bool inBlock = x >= 5 && x < 15 && y >= 2 && y < 12;
            TColor expected = y == 19 ? Rgb(1, 1, 1) : inBlock ? Rgb(250, 0, 0) : Rgb(0, 80, 160);
            ASSERT_EQ(Px(*target, x, y), expected) << x << "," << y;
        }
    POINT org{};
    GetViewportOrgEx(q.DrawDC, &org);
    EXPECT_EQ(org.x, 0) << "the context's state is restored";
}

TEST_F(BgQueryTest, PleaseDrawCopiesTheParentsImageIntoTheAskersContext) {
    Ready();
    BoundPanel* textured = Panel(form, "TEXTURED", {0, 0, 100, 80});
    textured->Prepare();
    auto target = MakeBitmap(12, 10, 24, Rgb(1, 1, 1));
    TsBgQuery q;
    q.DrawDC = target->Canvas().Handle();
    q.Offset = POINT{95, 5};  // partly beyond the image: that part stays
    q.R = RECT{0, 0, 12, 10};
    paint::QueryParentBg(q, textured, true);
    EXPECT_EQ(q.BgType, paint::kBgBitmap);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(Px(*target, x, y), x < 5 ? Pattern((95 + x) % 8, (5 + y) % 8, 1) : Rgb(1, 1, 1)) << x << "," << y;
}

}  // namespace
}  // namespace paint_test
