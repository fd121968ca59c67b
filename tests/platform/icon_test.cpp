// Icons: info round trips, copies, scaling, and mask icons without alpha.
#include "gdi_test_support.h"

using namespace testing_support;

namespace {

HICON SquareIcon(std::uint32_t argb) {
    Canvas colour(4, 4, 32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) colour.Set(x, y, argb & 0xFFFFFF, static_cast<std::uint8_t>(argb >> 24));
    HBITMAP mask = CreateBitmap(4, 4, 1, 1, nullptr);
    ICONINFO ii{TRUE, 2, 2, mask, colour.bitmap()};
    HGDIOBJ keep = SelectObject(colour.dc(), CreateCompatibleBitmap(nullptr, 1, 1));
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(SelectObject(colour.dc(), keep));
    DeleteObject(mask);
    return icon;
}

TEST(Icons, InfoGivesBackColourAndMaskOfTheRightSize) {
    HICON icon = SquareIcon(0xFF112233);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bm{};
    GetObject(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 4);
    EXPECT_EQ(bm.bmHeight, 4);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    HICON copy = CopyIcon(icon);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    Canvas dst(8, 8);
    dst.Fill(0);
    ASSERT_TRUE(DrawIconEx(dst.dc(), 0, 0, copy, 8, 8, 0, nullptr, DI_NORMAL));  // scaled up
    EXPECT_EQ(dst.Count(0x112233), 64);
    DestroyIcon(copy);
}

TEST(Icons, MaskIconsShowTheDestinationWhereTheMaskIsSet) {
    Canvas colour(2, 1, 24);
    colour.Set(0, 0, 0x00FF00);
    colour.Set(1, 0, 0x000000);
    std::uint8_t maskBits[2] = {0x40, 0};  // second pixel transparent (word-aligned rows)
    HBITMAP mask = CreateBitmap(2, 1, 1, 1, maskBits);
    ICONINFO ii{TRUE, 0, 0, mask, colour.bitmap()};
    HGDIOBJ keep = SelectObject(colour.dc(), CreateCompatibleBitmap(nullptr, 1, 1));
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(SelectObject(colour.dc(), keep));
    DeleteObject(mask);
    Canvas dst(2, 1);
    dst.Fill(0x0000FF);
    DrawIconEx(dst.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(dst.At(0, 0), 0x00FF00u);
    EXPECT_EQ(dst.At(1, 0), 0x0000FFu);
    DestroyIcon(icon);
}

}  // namespace
