// Painting bound controls: a section over the parent's image through nested transparent
// levels, the update cycle, the unskinned look, frame and corner order, and the copies of
// a container's image around its children.
#include <stdexcept>

#include "binding_test_support.h"
#include "paint/border_mask.h"

namespace paint_test {
namespace {

constexpr TColor kHalfColor = Rgb(200, 100, 0);
constexpr TColor kWhite = Rgb(255, 255, 255);

int MixByte(int parentByte, int sectionByte, int alpha) {
    return (parentByte * alpha + sectionByte * (255 - alpha) + 127) >> 8;
}
TColor Mix(TColor parent, TColor section, int alpha) {
    return Rgb(MixByte(R(parent), R(section), alpha), MixByte(G(parent), G(section), alpha),
               MixByte(B(parent), B(section), alpha));
}
// The textured section tiles the 8 x 8 corner of the master bitmap from the image's origin.
TColor TexturePixel(int x, int y) {
    return Pattern(x % 8, y % 8, 1);
}

class ControlPaintTest : public BindingTest {
  protected:
    void SetUp() override {
        BindingTest::SetUp();
        FillPattern(*model().MasterBitmap, 1);
        AddSection("TEXTURED", Rgb(7, 7, 7)).ImagePercent = 100;
        AddMask("TEXTURED", "PATTERN", {0, 0, 8, 8}, 1, 0, skin::itisaTexture);
        AddSection("GLASS").Transparency = 100;
        AddSection("HALF", kHalfColor).Transparency = 50;
    }
    // Textured, with a glass panel in it, with a half-transparent panel in that.
    void Nest() {
        Ready();
        outer = Panel(form, "TEXTURED", {20, 10, 220, 160});
        glass = Panel(outer, "GLASS", {30, 20, 150, 110});
        half = Panel(glass, "HALF", {5, 7, 45, 37});
        form->Show();
        Pump();
    }
    TColor ScreenPixel(framework::TControl* c, int x, int y) {
        POINT p = c->ClientToScreen(POINT{x, y});
        std::vector<std::uint32_t> screen = test_support::HeadlessScreen().ComposeScreen();
        std::uint32_t v =
            screen[static_cast<std::size_t>(p.y) * 800 + static_cast<std::size_t>(p.x)];
        return Rgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    BoundPanel* outer = nullptr;
    BoundPanel* glass = nullptr;
    BoundPanel* half = nullptr;
};

TEST_F(ControlPaintTest, SectionPaintsOverTheImageTwoLevelsUpAtItsOffset) {
    Nest();
    ASSERT_NE(half->SkinData.CacheBmp, nullptr);
    EXPECT_EQ(half->prepares, 1);
    const int alpha = 50 * 255 / 100;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(Px(*half->SkinData.CacheBmp, x, y),
                      Mix(TexturePixel(35 + x, 27 + y), kHalfColor, alpha))
                << x << "," << y;
    for (int y = 0; y < 90; y += 7)
        for (int x = 0; x < 120; x += 5)
            ASSERT_EQ(Px(*glass->SkinData.CacheBmp, x, y), TexturePixel(30 + x, 20 + y));
    EXPECT_EQ(ScreenPixel(half, 3, 4), Mix(TexturePixel(38, 31), kHalfColor, alpha));
    EXPECT_EQ(ScreenPixel(glass, 1, 1), TexturePixel(31, 21))
        << "the glass panel's image on screen";
}

TEST_F(ControlPaintTest, ChildWaitsForAStaleParentAndRepaintsOnceWhenToldItPainted) {
    Nest();
    const int paints = half->paints, prepares = half->prepares;
    glass->SkinData.BgChanged = true;  // the parent's image is out of date
    half->SkinData.BgChanged = true;
    RedrawWindow(half->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(half->SkinData.Updating);
    EXPECT_EQ(half->paints, paints) << "no paint over a stale parent";

    paint::SendSkinCommand(half, skin::scParentPainted);
    EXPECT_EQ(half->paints, paints) << "the parent is still stale";
    EXPECT_TRUE(half->SkinData.Updating);

    glass->SkinData.BgChanged = false;
    paint::SendSkinCommand(half, skin::scParentPainted);
    EXPECT_FALSE(half->SkinData.Updating);
    EXPECT_EQ(half->paints, paints + 1);
    EXPECT_EQ(half->prepares, prepares + 1);
    paint::SendSkinCommand(half, skin::scParentPainted);
    EXPECT_EQ(half->paints, paints + 1) << "exactly once";
}

TEST_F(ControlPaintTest, UnknownSectionDrawsLikeThePlainPanel) {
    Ready();
    form->Show();
    BoundPanel* bound = Panel(form, "NOSUCH", {10, 10, 70, 40});
    auto* plain = new framework::TPanel(form);
    plain->SetBounds(100, 10, 60, 30);
    plain->SetParent(form);
    for (framework::TPanel* p : {static_cast<framework::TPanel*>(bound), plain}) {
        p->SetCaption("Ab");
        p->SetColor(Rgb(30, 140, 200));
    }
    auto render = [](framework::TControl* c) {
        auto b = MakeBitmap(60, 30, 24, 0);
        HDC dc = b->Canvas().Handle();
        c->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        return b;
    };
    auto a = render(bound), b = render(plain);
    int differing = 0, fill = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            differing += Px(*a, x, y) != Px(*b, x, y);
            fill += Px(*a, x, y) == Rgb(30, 140, 200);
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(fill, 0);
    EXPECT_LT(fill, 60 * 30) << "bevel and caption are drawn as well";
    EXPECT_EQ(paint::SendSkinCommand(bound, skin::scGetColor), Rgb(30, 140, 200));
    paint::TsBgQuery q;
    paint::QueryParentBg(q, bound, false);
    EXPECT_EQ(q.BgType, paint::kBgColor);
    EXPECT_EQ(q.Color, Rgb(30, 140, 200));
}

class FramedTest : public ControlPaintTest {
  protected:
    void SetUp() override {
        ControlPaintTest::SetUp();
        AddSection("FRAMED", kFill).HotColor = kFill;
        // Two 10 x 10 states with 3-pixel margins, nothing in state 0; a 4 x 4 top-left corner.
        AddMask("FRAMED", "BORDERSMASK", {0, 0, 20, 10}, 2, 0, skin::itisaBorder, 3, 3, 3, 3,
                paint::kBorderNoState0);
        AddMask("FRAMED", "IMGTOPLEFT", {40, 0, 44, 4}, 1, 0);
        Ready();
        p = Panel(form, "FRAMED", {0, 0, 30, 20});
        bmp = MakeBitmap(30, 20, 24, kWhite);
    }
    void PaintState(int state) {
        paint::PaintControlBg(p->SkinData, paint::BgSourceFromColor(0), false, false, bmp.get(),
                              POINT{0, 0}, RECT{0, 0, 30, 20}, state);
    }
    static constexpr TColor kFill = Rgb(12, 34, 56);
    BoundPanel* p = nullptr;
    std::unique_ptr<TBitmap> bmp;
};

TEST_F(FramedTest, FrameComesBeforeTheCornersAndNotInStateZeroWhenItAsks) {
    PaintState(paint::kStateNormal);
    EXPECT_EQ(Px(*bmp, 5, 0), kFill) << "no frame in state 0";
    EXPECT_EQ(Px(*bmp, 0, 0), Pattern(40, 0, 1));
    EXPECT_EQ(Px(*bmp, 3, 3), Pattern(43, 3, 1));

    PaintState(paint::kStateHot);
    EXPECT_EQ(Px(*bmp, 5, 0), Pattern(15, 0, 1)) << "top edge of the second state";
    EXPECT_EQ(Px(*bmp, 1, 5), Pattern(11, 5, 1)) << "left edge of the second state";
    EXPECT_EQ(Px(*bmp, 0, 0), Pattern(40, 0, 1)) << "the corner image lies over the frame";
    EXPECT_EQ(Px(*bmp, 1, 2), Pattern(41, 2, 1));
    EXPECT_EQ(Px(*bmp, 29, 0), Pattern(19, 0, 1)) << "the frame's own corner where no image is";
    EXPECT_EQ(Px(*bmp, 15, 10), kFill);
}

TEST_F(FramedTest, CustomColourKeepsFrameAndCorners) {
    p->SetColor(Rgb(9, 9, 90));
    p->SkinData.SetCustomColor(true);
    PaintState(paint::kStateHot);
    EXPECT_EQ(Px(*bmp, 15, 10), Rgb(9, 9, 90));
    EXPECT_EQ(Px(*bmp, 5, 0), Pattern(15, 0, 1));
    EXPECT_EQ(Px(*bmp, 0, 0), Pattern(40, 0, 1));
}

TEST_F(FramedTest, NothingIsPaintedForARectangleOutsideTheBitmap) {
    Snapshot before(*bmp);
    paint::PaintControlBg(p->SkinData, paint::BgSourceFromColor(0), true, false, bmp.get(),
                          POINT{0, 0}, RECT{-1, 0, 30, 20}, 1);
    paint::PaintControlBg(p->SkinData, paint::BgSourceFromColor(0), true, false, bmp.get(),
                          POINT{0, 0}, RECT{0, 0, 31, 20}, 1);
    EXPECT_EQ(ChangedOutside(*bmp, before, RECT{0, 0, 0, 0}), 0);
}

// A graphic child that paints one solid rectangle, or fails.
class Block : public framework::TGraphicControl {
  public:
    using TGraphicControl::TGraphicControl;
    TColor color = Rgb(250, 0, 0);
    bool paints = true;
    bool throws = false;

  protected:
    void Paint() override {
        if (throws) throw std::runtime_error("paint failed");
        if (paints) paint::FillRectSolid(Canvas().Handle(), RECT{0, 0, Width(), Height()}, color);
    }
};

Block* AddBlock(framework::TWinControl* parent, RECT r) {
    auto* b = new Block(parent);
    b->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    b->SetParent(parent);
    return b;
}

TEST_F(ControlPaintTest, CacheCopyCutsItsSourceToTheImageAndLeavesChildrenOut) {
    Ready();
    BoundPanel* p = Panel(form, "TEXTURED", {0, 0, 20, 10});
    p->Prepare();
    AddBlock(p, {2, 2, 4, 4});
    auto target = MakeBitmap(30, 20, 24, kWhite);
    // An offset with the full size reaches beyond the image: only the part inside is copied.
    paint::CopyCacheToDC(p->SkinData, p, target->Canvas().Handle(), RECT{0, 0, 20, 10}, POINT{5, 3},
                         false);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            bool copied = x < 15 && y < 7 && !(x >= 2 && x < 4 && y >= 2 && y < 4);
            ASSERT_EQ(Px(*target, x, y), copied ? TexturePixel(5 + x, 3 + y) : kWhite)
                << x << "," << y;
        }
    paint::CopyCacheToDC(p->SkinData, p, target->Canvas().Handle(), RECT{0, 0, 20, 10},
                         POINT{-30, 50}, false);
    EXPECT_EQ(Px(*target, 19, 9), kWhite);
}

TEST_F(ControlPaintTest, GraphicChildrenArePaintedOverTheContainersImage) {
    Ready();
    BoundPanel* p = Panel(form, "TEXTURED", {0, 0, 40, 30});
    form->Show();
    Pump();
    Block* solid = AddBlock(p, {2, 3, 8, 9});
    Block* clear = AddBlock(p, {20, 10, 26, 16});
    clear->paints = false;
    Block* magenta = AddBlock(p, {30, 20, 34, 24});
    magenta->color = paint::TransparentColor;
    auto target = MakeBitmap(50, 40, 24, kWhite);
    paint::PaintGraphicChildren(target->Canvas().Handle(), p, POINT{5, 4});
    EXPECT_EQ(Px(*target, 7, 7), solid->color);
    EXPECT_EQ(Px(*target, 12, 12), solid->color);
    EXPECT_EQ(Px(*target, 25, 14), TexturePixel(20, 10))
        << "what lies behind a child that paints nothing";
    EXPECT_EQ(Px(*target, 30, 19), TexturePixel(25, 15));
    EXPECT_EQ(Px(*target, 35, 24), kWhite)
        << "a child that leaves its corner see-through is not copied";
    EXPECT_EQ(Px(*target, 6, 6), kWhite) << "outside the children nothing is drawn";
}

TEST_F(ControlPaintTest, GraphicChildrenPaintingAgainAfterAChildThrew) {
    Ready();
    BoundPanel* p = Panel(form, "TEXTURED", {0, 0, 40, 30});
    form->Show();
    Pump();
    Block* b = AddBlock(p, {2, 3, 8, 9});
    b->throws = true;
    auto target = MakeBitmap(40, 30, 24, kWhite);
    HDC dc = target->Canvas().Handle();
    EXPECT_THROW(paint::PaintGraphicChildren(dc, p, POINT{0, 0}), std::runtime_error);
    b->throws = false;
    paint::PaintGraphicChildren(dc, p, POINT{0, 0});
    EXPECT_EQ(Px(*target, 4, 4), b->color) << "the re-entry flag was restored";
}

}  // namespace
}  // namespace paint_test

namespace paint_test {
namespace {

LRESULT PlainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == skin::SM_SKINCMD && skin::SkinCommandOf(wParam) == 27)
        return 4;  // caption band height
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

// Windows outside the framework: children are left out, of a group box only its frame.
TEST_F(ControlPaintTest, CacheCopyIntoAForeignWindowLeavesChildWindowsOut) {
    AddSection("GROUPBOX");
    const int frame =
        AddMask("GROUPBOX", "BORDERSMASK", {0, 0, 12, 12}, 1, 0, skin::itisaBorder, 2, 2, 3, 1);
    (void)frame;
    Ready();
    BoundPanel* p = Panel(form, "TEXTURED", {0, 0, 60, 40});
    p->Prepare();
    WNDCLASS wc{};
    wc.lpfnWndProc = &PlainWindowProc;
    wc.lpszClassName = "BindingForeign";
    RegisterClass(&wc);
    HWND top = CreateWindowEx(0, "BindingForeign", "", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, nullptr,
                              nullptr, nullptr, nullptr);
    HWND plain = CreateWindowEx(0, "BindingForeign", "", WS_CHILD | WS_VISIBLE, 2, 2, 6, 6, top,
                                nullptr, nullptr, nullptr);
    HWND box = CreateWindowEx(0, "BindingForeign", "", WS_CHILD | WS_VISIBLE | 0x7, 20, 10, 30, 20,
                              top, nullptr, nullptr, nullptr);
    HWND hidden = CreateWindowEx(0, "BindingForeign", "", WS_CHILD, 10, 30, 5, 5, top, nullptr,
                                 nullptr, nullptr);
    auto target = MakeBitmap(60, 40, 24, kWhite);
    paint::CopyCacheToWindowDC(p->SkinData, top, target->Canvas().Handle(), RECT{0, 0, 60, 40},
                               POINT{0, 0}, false);
    struct Probe {
        int x, y;
        bool copied;
        const char* what;
    } probes[] = {{3, 3, false, "plain child"},    {1, 1, true, "beside it"},
                  {25, 11, false, "caption band"}, {25, 14, true, "inside the group box"},
                  {20, 20, false, "left frame"},   {21, 20, false, "left frame, 2 wide"},
                  {22, 20, true, "inside"},        {47, 20, false, "right frame, 3 wide"},
                  {46, 20, true, "inside"},        {30, 29, false, "bottom frame"},
                  {11, 31, true, "hidden child"}};
    for (const Probe& pr : probes)
        EXPECT_EQ(Px(*target, pr.x, pr.y), pr.copied ? TexturePixel(pr.x, pr.y) : kWhite)
            << pr.what;
    DestroyWindow(hidden);
    DestroyWindow(box);
    DestroyWindow(plain);
    DestroyWindow(top);
}

}  // namespace
}  // namespace paint_test

namespace paint_test {
namespace {

constexpr TColor kFrameColor = Rgb(33, 66, 99);

class FrameOnlyTest : public ControlPaintTest {
  protected:
    // A 12 x 12 frame image with 4-pixel margins in the master bitmap at (0, 16), its
    // top-left pixel see-through.
    void SetUp() override {
        ControlPaintTest::SetUp();
        AddSection("CORNERED", kFrameColor);
        AddMask("CORNERED", "BORDERSMASK", {0, 16, 12, 28}, 1, 0, skin::itisaBorder, 4, 4, 4, 4);
        SetPx(*model().MasterBitmap, 0, 16, paint::TransparentColor);
        Ready();
        parent = Panel(form, "TEXTURED", {0, 0, 100, 80});
        parent->Prepare();
        child = Panel(parent, "CORNERED", {10, 6, 40, 26});
        child->SkinData.InitCacheBmp();
        paint::FillRectSolid(*child->SkinData.CacheBmp, RECT{0, 0, 30, 20}, kWhite);
    }
    BoundPanel* parent = nullptr;
    BoundPanel* child = nullptr;
};

TEST_F(FrameOnlyTest, CornersAreLaidAgainOverTheParentsCurrentImage) {
    paint::RefreshCorners(child->SkinData, paint::kStateNormal);
    const TBitmap& c = *child->SkinData.CacheBmp;
    EXPECT_EQ(Px(c, 0, 0), TexturePixel(10, 6)) << "the hole shows the parent at the child's place";
    EXPECT_EQ(Px(c, 1, 0), Pattern(1, 16, 1));
    EXPECT_EQ(Px(c, 3, 3), Pattern(3, 19, 1));
    EXPECT_EQ(Px(c, 29, 0), Pattern(11, 16, 1)) << "top-right corner";
    EXPECT_EQ(Px(c, 29, 19), Pattern(11, 27, 1)) << "bottom-right corner";
    EXPECT_EQ(Px(c, 0, 16), Pattern(0, 24, 1)) << "bottom-left corner";
    EXPECT_EQ(Px(c, 5, 0), kWhite) << "edges stay";
    EXPECT_EQ(Px(c, 15, 10), kWhite) << "the inside stays";
}

// The bar at the melody edits' left edge: see-through pixels inside a frame corner took the
// parent's pixels, so the edit's own fill was cut by a stripe of the panel.
TEST_F(FrameOnlyTest, HolesEnclosedByTheFrameKeepTheControlsOwnPixels) {
    TBitmap& master = *model().MasterBitmap;
    SetPx(master, 0, 17, paint::TransparentColor);  // on the outer edge
    SetPx(master, 1, 17, paint::TransparentColor);  // joined to it
    SetPx(master, 2, 18, paint::TransparentColor);  // walled in by the frame's pixels
    SetPx(master, 9, 18, paint::TransparentColor);  // the same in the top-right corner
    paint::RefreshCorners(child->SkinData, paint::kStateNormal);
    const TBitmap& c = *child->SkinData.CacheBmp;
    EXPECT_EQ(Px(c, 0, 0), TexturePixel(10, 6));
    EXPECT_EQ(Px(c, 0, 1), TexturePixel(10, 7)) << "outer hole";
    EXPECT_EQ(Px(c, 1, 1), TexturePixel(11, 7)) << "joined to the outside through a hole";
    EXPECT_EQ(Px(c, 2, 2), kWhite) << "an inner hole keeps what the control painted";
    EXPECT_EQ(Px(c, 27, 2), kWhite);
    EXPECT_EQ(Px(c, 3, 3), Pattern(3, 19, 1)) << "opaque pixels are laid again";
}

TEST_F(FrameOnlyTest, FastBorderFillsTheBandBeyondTheFrameAndCopiesOnlyTheStrips) {
    auto target = MakeBitmap(30, 20, 24, kWhite);
    RECT inner{};
    paint::PaintBorderFast(child->SkinData, target->Canvas().Handle(), RECT{0, 0, 30, 20}, 6, inner,
                           paint::kStateNormal);
    EXPECT_EQ(inner.left, 6);
    EXPECT_EQ(inner.top, 6);
    EXPECT_EQ(inner.right, 24);
    EXPECT_EQ(inner.bottom, 14);
    EXPECT_EQ(Px(*target, 1, 10), Pattern(1, 22, 1))
        << "left edge: 4-pixel pieces from y = 4, row 2 of one";
    EXPECT_EQ(Px(*target, 0, 0), TexturePixel(10, 6)) << "the corner's hole shows the parent";
    EXPECT_EQ(Px(*target, 5, 10), kFrameColor) << "band between the frame and the border width";
    EXPECT_EQ(Px(*target, 15, 5), kFrameColor);
    EXPECT_EQ(Px(*target, 15, 10), kWhite) << "the inside is left to the control";

    RECT plainInner{};
    AddSection("NOFRAME", kFrameColor);
    BoundPanel* plain = Panel(parent, "NOFRAME", {0, 0, 30, 20});
    auto second = MakeBitmap(30, 20, 24, kWhite);
    paint::PaintBorderFast(plain->SkinData, second->Canvas().Handle(), RECT{0, 0, 30, 20}, 2,
                           plainInner, paint::kStateNormal);
    EXPECT_EQ(Px(*second, 1, 10), kFrameColor);
    EXPECT_EQ(Px(*second, 2, 10), kWhite);
    EXPECT_EQ(plainInner.left, 2);
}

}  // namespace
}  // namespace paint_test
