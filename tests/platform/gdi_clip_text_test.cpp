// Clip-region modes, nested saved states, region handles, and text placement options.
#include <string>

#include "gdi_test_support.h"
#include "platform/gdi_text.h"

using namespace testing_support;

namespace {

int Painted(const Canvas& c, std::uint32_t rgb) { return c.Count(rgb); }

TEST(GdiClip, ExtSelectClipRgnCombinesWithTheCurrentClip) {
    struct Row {
        const char* name;
        int mode;
        int expected;  // pixels painted by a full fill of 10 x 10
    } rows[] = {{"and", RGN_AND, 4}, {"or", RGN_OR, 28}, {"diff", RGN_DIFF, 12}, {"xor", RGN_XOR, 24}, {"copy", RGN_COPY, 16}};
    for (const Row& r : rows) {
        Canvas c(10, 10);
        c.Fill(0);
        HRGN first = CreateRectRgn(0, 0, 4, 4), second = CreateRectRgn(2, 2, 6, 6);
        SelectClipRgn(c.dc(), first);
        ExtSelectClipRgn(c.dc(), second, r.mode);
        DeleteObject(first);
        DeleteObject(second);
        FillWith(c.dc(), RECT{0, 0, 10, 10}, RGB(255, 255, 255));
        EXPECT_EQ(Painted(c, 0xFFFFFF), r.expected) << r.name;
    }
}

TEST(GdiClip, ResettingTheClipAndReadingItBack) {
    Canvas c(10, 10);
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(c.dc(), probe), 0);  // no clip set
    IntersectClipRect(c.dc(), 1, 1, 3, 3);
    EXPECT_EQ(GetClipRgn(c.dc(), probe), 1);
    RECT box;
    GetRgnBox(probe, &box);
    EXPECT_EQ(box.right, 3);
    SelectClipRgn(c.dc(), nullptr);
    EXPECT_EQ(GetClipRgn(c.dc(), probe), 0);
    EXPECT_EQ(GetClipBox(c.dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 10);
    DeleteObject(probe);
}

TEST(GdiClip, NestedSaveAndRelativeRestore) {
    Canvas c(10, 10);
    int first = SaveDC(c.dc());
    SetViewportOrgEx(c.dc(), 1, 1, nullptr);
    SaveDC(c.dc());
    SetViewportOrgEx(c.dc(), 2, 2, nullptr);
    SaveDC(c.dc());
    SetViewportOrgEx(c.dc(), 3, 3, nullptr);
    EXPECT_TRUE(RestoreDC(c.dc(), -1));
    POINT o;
    GetViewportOrgEx(c.dc(), &o);
    EXPECT_EQ(o.x, 2);
    EXPECT_TRUE(RestoreDC(c.dc(), first));
    GetViewportOrgEx(c.dc(), &o);
    EXPECT_EQ(o.x, 0);
    EXPECT_FALSE(RestoreDC(c.dc(), first));  // already popped
}

TEST(GdiRegions, HandlesMoveTestAndFill) {
    HRGN r = CreateRectRgn(10, 10, 0, 0);  // corners given backwards are normalised
    RECT box;
    EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 0);
    OffsetRgn(r, 5, 5);
    EXPECT_TRUE(PtInRegion(r, 5, 5));
    EXPECT_FALSE(PtInRegion(r, 4, 4));
    RECT probe{14, 14, 20, 20}, away{15, 15, 20, 20};
    EXPECT_TRUE(RectInRegion(r, &probe));
    EXPECT_FALSE(RectInRegion(r, &away));
    HRGN same = CreateRectRgn(5, 5, 15, 15);
    EXPECT_TRUE(EqualRgn(r, same));
    SetRectRgn(same, 0, 0, 1, 1);
    EXPECT_FALSE(EqualRgn(r, same));
    Canvas c(20, 20);
    c.Fill(0);
    HBRUSH b = CreateSolidBrush(RGB(0, 0, 9));
    FillRgn(c.dc(), r, b);
    EXPECT_EQ(Painted(c, 0x000009), 100);
    DeleteObject(b);
    DeleteObject(r);
    DeleteObject(same);
}

class TextPlacement : public ::testing::Test {
protected:
    void SetUp() override {
        LOGFONT lf{};
        lf.lfHeight = -14;
        lf.lfWeight = FW_NORMAL;
        std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "Arial");
        font_ = CreateFontIndirect(&lf);
        lf.lfUnderline = 1;
        underlined_ = CreateFontIndirect(&lf);
    }
    void TearDown() override {
        DeleteObject(font_);
        DeleteObject(underlined_);
    }
    static int LowestInk(const Canvas& c, std::uint32_t bg) {
        for (int y = c.height() - 1; y >= 0; --y)
            for (int x = 0; x < c.width(); ++x)
                if (c.At(x, y) != bg) return y;
        return -1;
    }
    HFONT font_ = nullptr, underlined_ = nullptr;
};

TEST_F(TextPlacement, BottomAlignedSingleLineSitsOnTheBottomEdge) {
    Canvas c(100, 60);
    c.Fill(0xFFFFFF);
    SelectObject(c.dc(), font_);
    SetBkMode(c.dc(), TRANSPARENT);
    RECT r{0, 0, 100, 60};
    DrawText(c.dc(), "Eg", -1, &r, DT_SINGLELINE | DT_BOTTOM);
    int lowest = LowestInk(c, 0xFFFFFF);
    EXPECT_GT(lowest, 50);
    EXPECT_LT(lowest, 60);
}

TEST_F(TextPlacement, ClippedAndOpaqueExtTextOutStaysInItsRectangle) {
    Canvas c(100, 30);
    c.Fill(0xFFFFFF);
    SelectObject(c.dc(), font_);
    SetBkColor(c.dc(), RGB(0, 255, 0));
    RECT r{10, 5, 40, 25};
    ExtTextOut(c.dc(), 12, 6, ETO_CLIPPED | ETO_OPAQUE, &r, "Очень длинная строка", 37, nullptr);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) {
            bool inside = x >= 10 && x < 40 && y >= 5 && y < 25;
            if (!inside) {
                EXPECT_EQ(c.At(x, y), 0xFFFFFFu) << x << "," << y;
            }
        }
    EXPECT_GT(c.Count(0x00FF00), 300);  // the opaque background
}

TEST_F(TextPlacement, UnderlinedFontInksBelowTheBaseline) {
    Canvas plain(80, 30), lined(80, 30);
    for (Canvas* c : {&plain, &lined}) {
        c->Fill(0xFFFFFF);
        SelectObject(c->dc(), c == &plain ? font_ : underlined_);
        SetBkMode(c->dc(), TRANSPARENT);
        TextOut(c->dc(), 2, 2, "ooo", 3);
    }
    EXPECT_GT(LowestInk(lined, 0xFFFFFF), LowestInk(plain, 0xFFFFFF));
    char face[64] = {};
    SelectObject(plain.dc(), font_);
    EXPECT_GT(GetTextFace(plain.dc(), sizeof face, face), 0);
    EXPECT_NE(std::string(face).find("Liberation Sans"), std::string::npos);  // Arial's metric twin
}

TEST_F(TextPlacement, VerticalGradientAndNoClipText) {
    Canvas c(4, 100);
    TRIVERTEX v[2] = {{0, 0, 0, 0, 0, 0}, {4, 100, 0, 0xFF00, 0, 0}};
    GRADIENT_RECT g{0, 1};
    GradientFill(c.dc(), v, 2, &g, 1, GRADIENT_FILL_RECT_V);
    EXPECT_EQ(c.At(2, 0), 0u);
    EXPECT_GT((c.At(2, 99) >> 8) & 0xFF, 0xF0u);
    EXPECT_EQ(c.At(0, 50), c.At(3, 50));  // constant across each row
    Canvas t(100, 30);
    t.Fill(0xFFFFFF);
    SelectObject(t.dc(), font_);
    RECT tiny{0, 0, 5, 5};
    DrawText(t.dc(), "Wide text", -1, &tiny, DT_NOCLIP | DT_SINGLELINE);
    EXPECT_GT(LowestInk(t, 0xFFFFFF), 5);  // drawn beyond its rectangle
}

}  // namespace
