// Lines, rectangles, pixels, pattern blits, frame controls and object queries.
#include <cstring>

#include "gdi_test_support.h"
#include "platform/image_files.h"

using namespace testing_support;

namespace {

TEST(GdiShapes, LineExcludesItsEndPointAndUsesThePen) {
    Canvas c(10, 3);
    c.Fill(0xFFFFFF);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
    HGDIOBJ old = SelectObject(c.dc(), pen);
    MoveToEx(c.dc(), 1, 1, nullptr);
    LineTo(c.dc(), 8, 1);
    SelectObject(c.dc(), old);
    DeleteObject(pen);
    EXPECT_EQ(c.At(0, 1), 0xFFFFFFu);
    EXPECT_EQ(c.At(1, 1), 0x0000FFu);
    EXPECT_EQ(c.At(7, 1), 0x0000FFu);
    EXPECT_EQ(c.At(8, 1), 0xFFFFFFu);
    EXPECT_EQ(c.Count(0x0000FF), 7);
}

TEST(GdiShapes, RectangleFramesWithThePenAndFillsWithTheBrush) {
    Canvas c(6, 6);
    c.Fill(0);
    HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
    SelectObject(c.dc(), brush);
    Rectangle(c.dc(), 0, 0, 6, 6);
    SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
    EXPECT_EQ(c.At(0, 0), 0u);         // the black stock pen
    EXPECT_EQ(c.At(5, 3), 0u);
    EXPECT_EQ(c.At(3, 3), 0x00FF00u);
    EXPECT_EQ(c.Count(0x00FF00), 16);  // 4 x 4 inside
}

TEST(GdiShapes, NullBrushAndNullPenDrawNothing) {
    Canvas c(6, 6);
    c.Fill(0x123456);
    SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
    SelectObject(c.dc(), GetStockObject(NULL_PEN));
    Rectangle(c.dc(), 0, 0, 6, 6);
    RECT r{0, 0, 6, 6};
    FillRect(c.dc(), &r, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(c.Count(0x123456), 36);
}

TEST(GdiShapes, SetAndGetPixelHonourTheClip) {
    Canvas c(4, 4);
    c.Fill(0);
    IntersectClipRect(c.dc(), 0, 0, 2, 2);
    EXPECT_EQ(SetPixel(c.dc(), 1, 1, RGB(9, 8, 7)), RGB(9, 8, 7));
    EXPECT_EQ(SetPixel(c.dc(), 3, 3, RGB(9, 8, 7)), CLR_INVALID);
    EXPECT_EQ(GetPixel(c.dc(), 1, 1), RGB(9, 8, 7));
    EXPECT_EQ(GetPixel(c.dc(), 3, 3), CLR_INVALID);
    EXPECT_EQ(c.At(3, 3), 0u);
}

TEST(GdiShapes, PatBltInvertsAndPaintsWithTheBrush) {
    Canvas c(4, 1);
    c.Fill(0x0F0F0F);
    PatBlt(c.dc(), 0, 0, 2, 1, DSTINVERT);
    EXPECT_EQ(c.At(0, 0), 0xF0F0F0u);
    EXPECT_EQ(c.At(2, 0), 0x0F0F0Fu);
    HBRUSH b = CreateSolidBrush(RGB(0xFF, 0, 0));
    SelectObject(c.dc(), b);
    PatBlt(c.dc(), 3, 0, -2, 1, PATCOPY);  // negative width runs leftwards
    SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(b);
    EXPECT_EQ(c.At(1, 0), 0xFF0000u);
    EXPECT_EQ(c.At(2, 0), 0xFF0000u);
    EXPECT_EQ(c.At(3, 0), 0x0F0F0Fu);
}

TEST(GdiShapes, FrameControlsStayInsideTheirRectangle) {
    const UINT caption[] = {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE, DFCS_CAPTIONHELP};
    for (UINT kind : caption) {
        for (UINT state : {0u, static_cast<UINT>(DFCS_PUSHED), static_cast<UINT>(DFCS_INACTIVE)}) {
            Canvas c(30, 30);
            c.Fill(0x010101);
            RECT r{5, 5, 21, 19};
            DrawFrameControl(c.dc(), &r, DFC_CAPTION, kind | state);
            int outside = 0, glyph = 0;
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 30; ++x) {
                    bool in = x >= 5 && x < 21 && y >= 5 && y < 19;
                    if (!in && c.At(x, y) != 0x010101u) ++outside;
                    if (in && (c.At(x, y) == 0 || c.At(x, y) == 0x808080u)) ++glyph;
                }
            EXPECT_EQ(outside, 0) << kind << " " << state;
            EXPECT_GT(glyph, 3) << kind << " " << state;  // a glyph was drawn
        }
    }
}

TEST(GdiShapes, CheckBoxShowsItsMarkOnlyWhenChecked) {
    Canvas a(13, 13), b(13, 13);
    RECT r{0, 0, 13, 13};
    DrawFrameControl(a.dc(), &r, DFC_BUTTON, DFCS_BUTTONCHECK);
    DrawFrameControl(b.dc(), &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_GT(b.Count(0), a.Count(0));
}

TEST(GdiShapes, DibSectionDescribesItself) {
    Canvas c(5, 3, 24);
    DIBSECTION ds{};
    ASSERT_EQ(GetObject(c.bitmap(), sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmWidth, 5);
    EXPECT_EQ(ds.dsBm.bmWidthBytes, 16);
    EXPECT_NE(ds.dsBm.bmBits, nullptr);
    EXPECT_EQ(ds.dsBmih.biBitCount, 24);
    LOGBRUSH lb{};
    HBRUSH br = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(GetObject(br, sizeof lb, &lb), static_cast<int>(sizeof lb));
    EXPECT_EQ(lb.lbColor, RGB(1, 2, 3));
    DeleteObject(br);
    EXPECT_EQ(GetObject(br, sizeof lb, &lb), 0);  // deleted
    EXPECT_FALSE(DeleteObject(GetStockObject(BLACK_BRUSH)));  // stock objects stay
}

TEST(GdiShapes, BitfieldBmpWithAlphaMask) {
    // 1 x 1, 32-bit BI_BITFIELDS with masks R 0x00FF0000, G 0x0000FF00, B 0x000000FF, A 0xFF000000.
    std::vector<std::uint8_t> b(14 + 56 + 4, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&b[at], &v, 4); };
    b[0] = 'B', b[1] = 'M';
    put32(2, static_cast<std::uint32_t>(b.size()));
    put32(10, 14 + 56);
    put32(14, 56);
    put32(18, 1);
    put32(22, 1);
    b[26] = 1, b[28] = 32;
    put32(30, BI_BITFIELDS);
    put32(54, 0x00FF0000), put32(58, 0x0000FF00), put32(62, 0x000000FF), put32(66, 0xFF000000);
    put32(70, 0x80102030);
    platform::Image img = platform::ReadBmp(b.data(), b.size());
    EXPECT_TRUE(img.hasAlpha);
    EXPECT_EQ(img.pixels[0], 0x30);
    EXPECT_EQ(img.pixels[2], 0x10);
    EXPECT_EQ(img.pixels[3], 0x80);
}

}  // namespace
