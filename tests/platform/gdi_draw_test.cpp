// Pixel-exact tests of fills, clipping, raster operations, stretching, blending, gradients
// and bitmaps, on 24- and 32-bit bitmaps with padded strides.
#include <algorithm>
#include <cstring>

#include "gdi_test_support.h"
#include "platform/gdi/dib.h"

using namespace testing_support;

namespace {

class GdiDraw : public ::testing::TestWithParam<int> {};

TEST_P(GdiDraw, FillRectRespectsViewportAndClipAndNeverLeavesTheBitmap) {
    Canvas c(13, 7, GetParam());  // 13 * 3 = 39 bytes: the 24-bit rows are padded
    c.Fill(0x000000);
    SetViewportOrgEx(c.dc(), 2, 1, nullptr);
    IntersectClipRect(c.dc(), 0, 0, 5, 3);  // logical: becomes device (2,1)-(7,4)
    FillWith(c.dc(), RECT{-10, -10, 100, 100}, RGB(255, 0, 0));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) {
            bool inside = x >= 2 && x < 7 && y >= 1 && y < 4;
            EXPECT_EQ(c.At(x, y), inside ? 0xFF0000u : 0u) << x << "," << y;
        }
}

TEST_P(GdiDraw, ClipRegionIsInDeviceCoordinatesUnaffectedByTheViewport) {
    Canvas c(20, 20, GetParam());
    c.Fill(0);
    HRGN r = CreateRectRgn(10, 10, 15, 15);
    SelectClipRgn(c.dc(), r);
    DeleteObject(r);
    SetViewportOrgEx(c.dc(), 5, 5, nullptr);
    FillWith(c.dc(), RECT{0, 0, 20, 20}, RGB(0, 0, 255));
    EXPECT_EQ(c.Count(0x0000FF), 25);
    EXPECT_EQ(c.At(12, 12), 0x0000FFu);
    RECT box;
    EXPECT_EQ(GetClipBox(c.dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 5);  // the clip box is reported in logical coordinates
}

TEST_P(GdiDraw, SaveAndRestoreBringBackClipAndOrigin) {
    Canvas c(10, 10, GetParam());
    c.Fill(0);
    int saved = SaveDC(c.dc());
    SetViewportOrgEx(c.dc(), 3, 3, nullptr);
    ExcludeClipRect(c.dc(), 0, 0, 10, 10);
    RestoreDC(c.dc(), saved);
    FillWith(c.dc(), RECT{0, 0, 1, 1}, RGB(9, 9, 9));
    EXPECT_EQ(c.At(0, 0), 0x090909u);
}

struct RopCase {
    const char* name;
    DWORD rop;
    std::uint32_t expected;  // for source 0xF0F0F0, destination 0x3C3C3C, brush 0xAAAAAA
};

TEST_P(GdiDraw, BitBltRasterOperations) {
    const RopCase cases[] = {
        {"SRCCOPY", SRCCOPY, 0xF0F0F0},   {"SRCAND", SRCAND, 0x303030},       {"SRCPAINT", SRCPAINT, 0xFCFCFC},
        {"SRCINVERT", SRCINVERT, 0xCCCCCC}, {"SRCERASE", SRCERASE, 0xC0C0C0}, {"NOTSRCCOPY", NOTSRCCOPY, 0x0F0F0F},
        {"DSTINVERT", DSTINVERT, 0xC3C3C3}, {"PATCOPY", PATCOPY, 0xAAAAAA},   {"MERGECOPY", MERGECOPY, 0xA0A0A0},
        {"BLACKNESS", BLACKNESS, 0x000000}, {"WHITENESS", WHITENESS, 0xFFFFFF},
    };
    Canvas src(4, 4, GetParam());
    src.Fill(0xF0F0F0);
    for (const RopCase& rc : cases) {
        Canvas dst(4, 4, GetParam());
        dst.Fill(0x3C3C3C);
        HBRUSH brush = CreateSolidBrush(RGB(0xAA, 0xAA, 0xAA));
        HGDIOBJ old = SelectObject(dst.dc(), brush);
        BitBlt(dst.dc(), 1, 1, 2, 2, src.dc(), 0, 0, rc.rop);
        SelectObject(dst.dc(), old);
        DeleteObject(brush);
        EXPECT_EQ(dst.At(1, 1), rc.expected) << rc.name;
        EXPECT_EQ(dst.At(0, 0), 0x3C3C3Cu) << rc.name << " touched outside its rectangle";
    }
}

TEST_P(GdiDraw, OverlappingBlitWithinOneBitmapReadsTheOldPixels) {
    Canvas c(8, 1, GetParam());
    for (int x = 0; x < 8; ++x) c.Set(x, 0, static_cast<std::uint32_t>(x));
    BitBlt(c.dc(), 1, 0, 7, 1, c.dc(), 0, 0, SRCCOPY);
    for (int x = 1; x < 8; ++x) EXPECT_EQ(c.At(x, 0), static_cast<std::uint32_t>(x - 1));
}

TEST_P(GdiDraw, StretchNearestMirrorsWithNegativeExtent) {
    Canvas src(4, 1, GetParam()), dst(8, 1, GetParam());
    for (int x = 0; x < 4; ++x) src.Set(x, 0, 0x10 * (x + 1));
    SetStretchBltMode(dst.dc(), COLORONCOLOR);
    StretchBlt(dst.dc(), 7, 0, -8, 1, src.dc(), 0, 0, 4, 1, SRCCOPY);
    const std::uint32_t want[8] = {0x40, 0x40, 0x30, 0x30, 0x20, 0x20, 0x10, 0x10};
    for (int x = 0; x < 8; ++x) EXPECT_EQ(dst.At(x, 0), want[x]) << x;
}

TEST_P(GdiDraw, HalftoneShrinkAveragesTheCoveredArea) {
    Canvas src(4, 2, GetParam()), dst(2, 1, GetParam());
    // Left 2x2 block: two black, two white pixels; right block all 0x80.
    src.Set(0, 0, 0), src.Set(1, 0, 0xFFFFFF), src.Set(0, 1, 0xFFFFFF), src.Set(1, 1, 0);
    for (int y = 0; y < 2; ++y) src.Set(2, y, 0x808080), src.Set(3, y, 0x808080);
    SetStretchBltMode(dst.dc(), HALFTONE);
    StretchBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, 4, 2, SRCCOPY);
    EXPECT_EQ(dst.At(0, 0), 0x808080u);  // 127.5 rounds to 128
    EXPECT_EQ(dst.At(1, 0), 0x808080u);
}

TEST(GdiBlend, PerPixelAlphaOverDestination) {
    Canvas src(1, 1), dst(1, 1);
    src.Set(0, 0, 0x400000, 0x80);  // premultiplied red 0x40 at alpha 0x80
    dst.Fill(0x0000FF, 0xFF);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(AlphaBlend(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 1, 1, bf));
    // red: 0x40 + 0 * (255-128)/255; blue: 0 + 255 * 127/255 = 127
    EXPECT_EQ(dst.At(0, 0), 0x40007Fu);
    EXPECT_EQ(dst.Alpha(0, 0), 0xFF);
}

TEST(GdiBlend, ConstantAlphaMixesAndRejectsSourceOutsideTheBitmap) {
    Canvas src(2, 2), dst(2, 2);
    src.Fill(0xFFFFFF);
    dst.Fill(0x000000);
    BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
    ASSERT_TRUE(AlphaBlend(dst.dc(), 0, 0, 2, 2, src.dc(), 0, 0, 2, 2, half));
    EXPECT_EQ(dst.At(1, 1), 0x808080u);
    EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, 2, 2, src.dc(), 1, 1, 2, 2, half));
    EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, -1, 2, src.dc(), 0, 0, 2, 2, half));
}

TEST(GdiBlend, TransparentBltSkipsTheKeyColour) {
    Canvas src(2, 1), dst(2, 1);
    src.Set(0, 0, 0xFF00FF), src.Set(1, 0, 0x123456);
    dst.Fill(0x111111);
    TransparentBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, 2, 1, RGB(255, 0, 255));
    EXPECT_EQ(dst.At(0, 0), 0x111111u);
    EXPECT_EQ(dst.At(1, 0), 0x123456u);
}

TEST_P(GdiDraw, HorizontalGradientRunsFromFirstToLastColour) {
    Canvas c(256, 1, GetParam());
    TRIVERTEX v[2] = {{0, 0, 0, 0, 0, 0}, {256, 1, 0xFF00, 0, 0x8000, 0}};
    GRADIENT_RECT g{0, 1};
    ASSERT_TRUE(GradientFill(c.dc(), v, 2, &g, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(c.At(0, 0), 0u);
    EXPECT_EQ(c.At(128, 0) >> 16, 0x7Fu);
    EXPECT_EQ(c.At(255, 0) >> 16, 0xFEu);
    for (int x = 1; x < 256; ++x) EXPECT_GE(c.At(x, 0) >> 16, c.At(x - 1, 0) >> 16);
}

TEST_P(GdiDraw, TriangleGradientStaysInsideItsTriangle) {
    Canvas c(20, 20, GetParam());
    c.Fill(0);
    TRIVERTEX v[3] = {{0, 0, 0xFF00, 0xFF00, 0xFF00, 0}, {19, 0, 0xFF00, 0xFF00, 0xFF00, 0}, {0, 19, 0xFF00, 0xFF00, 0xFF00, 0}};
    GRADIENT_TRIANGLE t{0, 1, 2};
    GradientFill(c.dc(), v, 3, &t, 1, GRADIENT_FILL_TRIANGLE);
    EXPECT_EQ(c.At(2, 2), 0xFFFFFFu);
    EXPECT_EQ(c.At(18, 18), 0u);
}

TEST_P(GdiDraw, FocusRectDrawnTwiceLeavesNoTrace) {
    Canvas c(9, 9, GetParam());
    c.Fill(0x204060);
    RECT r{1, 1, 8, 8};
    DrawFocusRect(c.dc(), &r);
    EXPECT_NE(c.Count(0x204060), 81);
    DrawFocusRect(c.dc(), &r);
    EXPECT_EQ(c.Count(0x204060), 81);
}

TEST_P(GdiDraw, EdgesUseTheClassicPaletteAndAdjust) {
    Canvas c(10, 10, GetParam());
    RECT r{0, 0, 10, 10};
    DrawEdge(c.dc(), &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.right, 8);
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(c.At(0, 5), (std::uint32_t)((GetRValue(shadow) << 16) | (GetGValue(shadow) << 8) | GetBValue(shadow)));
    EXPECT_EQ(c.At(9, 5), (std::uint32_t)((GetRValue(light) << 16) | (GetGValue(light) << 8) | GetBValue(light)));
}

INSTANTIATE_TEST_SUITE_P(Depths, GdiDraw, ::testing::Values(24, 32), [](const auto& info) {
    return "Bits" + std::to_string(info.param);
});

TEST(GdiBitmaps, BottomUpSectionsKeepTheirMemoryOrder) {
    Canvas c(3, 2, 24, true);
    FillWith(c.dc(), RECT{0, 0, 3, 1}, RGB(1, 2, 3));  // the top row
    EXPECT_EQ(c.At(0, 0), 0x010203u);
    EXPECT_EQ(c.At(0, 1), 0u);
    BITMAP bm{};
    ASSERT_EQ(GetObject(c.bitmap(), sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidthBytes, 12);  // 9 bytes padded to 12
    EXPECT_EQ(bm.bmBitsPixel, 24);
}

TEST(GdiBitmaps, GetAndSetDIBitsConvertBetweenDepths) {
    Canvas c(2, 2, 32);
    c.Set(0, 0, 0xA1B2C3, 7);
    c.Set(1, 1, 0x010203, 9);
    BITMAPINFO bi{};
    bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 2, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};  // bottom-up
    std::uint8_t bits[16] = {};
    ASSERT_EQ(GetDIBits(c.dc(), c.bitmap(), 0, 2, bits, &bi, DIB_RGB_COLORS), 2);
    EXPECT_EQ(bits[8 + 0], 0xC3);  // the top row is stored last
    EXPECT_EQ(bits[3], 0x03);
    HBITMAP other = CreateCompatibleBitmap(nullptr, 2, 2);
    ASSERT_EQ(SetDIBits(nullptr, other, 0, 2, bits, &bi, DIB_RGB_COLORS), 2);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, other);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0xA1, 0xB2, 0xC3));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(other);
}

TEST(GdiBitmaps, NewBitmapsStartBlackEvenInMemoryAnotherOneDirtied) {
    // The memory of a freed bitmap is handed out again: the new one must still read zero,
    // alpha included, at both depths and for sizes above and below the page.
    for (int round = 0; round < 6; ++round) {
        const int bits = round % 2 ? 32 : 24,
                  w = round < 2   ? 7
                      : round < 4 ? 333
                                  : 1024,
                  h = 1 + round * 97;
        void* p = nullptr;
        HBITMAP dirty = platform::gdi::CreateTopDownDib(w, h, bits, &p);
        ASSERT_NE(dirty, nullptr);
        const std::size_t bytes = static_cast<std::size_t>((w * bits + 31) / 32 * 4) * h;
        std::memset(p, 0xA5, bytes);
        DeleteObject(dirty);
        HBITMAP fresh = platform::gdi::CreateTopDownDib(w, h, bits, &p);
        ASSERT_NE(fresh, nullptr);
        const auto* b = static_cast<const unsigned char*>(p);
        EXPECT_EQ(std::count(b, b + bytes, 0), static_cast<std::ptrdiff_t>(bytes))
            << w << "x" << h << "x" << bits;
        DeleteObject(fresh);
    }
}

TEST(GdiBitmaps, AbsurdSizesAndSelectedBitmapsAreRefused) {
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 20000, 10), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 16000, 16000), nullptr);  // over 64 Mi pixels
    Canvas c(2, 2);
    EXPECT_FALSE(DeleteObject(c.bitmap()));  // still selected into the canvas DC
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, c.bitmap()), nullptr);  // one DC at a time
    DeleteDC(other);
}

TEST(GdiIcons, AlphaIconBlendsAndMaskIconShowsThrough) {
    Canvas colour(2, 1, 32);
    colour.Set(0, 0, 0xFF0000, 0xFF);
    colour.Set(1, 0, 0x000000, 0x00);
    HBITMAP mask = CreateBitmap(2, 1, 1, 1, nullptr);
    ICONINFO ii{TRUE, 0, 0, mask, colour.bitmap()};
    HICON icon = CreateIconIndirect(&ii);
    ASSERT_TRUE(icon);
    Canvas dst(2, 1, 32);
    dst.Fill(0x00FF00);
    DrawIconEx(dst.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(dst.At(0, 0), 0xFF0000u);
    EXPECT_EQ(dst.At(1, 0), 0x00FF00u);
    DestroyIcon(icon);
    DeleteObject(mask);
}

TEST(GdiRegions, CombineReportsComplexityAndHandlesAreChecked) {
    HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 5, 15, 15), d = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), SIMPLEREGION);
    EXPECT_EQ(CombineRgn(d, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_EQ(CombineRgn(d, a, a, RGN_DIFF), NULLREGION);
    EXPECT_TRUE(PtInRegion(b, 14, 14));
    EXPECT_FALSE(PtInRegion(b, 15, 15));
    DeleteObject(a);
    EXPECT_EQ(CombineRgn(d, a, b, RGN_OR), ERROR);  // a deleted handle is not a region
    DeleteObject(b);
    DeleteObject(d);
}

}  // namespace
