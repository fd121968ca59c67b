#include <gtest/gtest.h>

#include "skin/skin_colors.h"

namespace {

using skin::TColor;

// Colours are $00BBGGRR. Each case lands a channel exactly on a half.
TEST(SkinColors, HalvesRoundToEven) {
    // Pure red 253 turned by 30 degrees: green is 253 / 2 = 126.5.
    EXPECT_EQ(skin::TurnHue(TColor{0x0000FD}, 30), TColor{0x007EFD});
    // 255 / 2 = 127.5 goes up to the even 128.
    EXPECT_EQ(skin::TurnHue(TColor{0x0000FF}, 30), TColor{0x0080FF});
    // (3, 0, 0) half way to its grey 1: red 2, green and blue 0.5 -> 0.
    EXPECT_EQ(skin::ChangeSaturation(TColor{0x000003}, -50), TColor{0x000002});
    // (7, 2, 0), grey 3, amount 70: 7 - 2.8 = 4.2 -> 4, 2 + 0.7 = 2.7 -> 3, 0 + 2.1 -> 2.
    EXPECT_EQ(skin::ChangeSaturation(TColor{0x000207}, -70), TColor{0x020304});
    // (5, 0, 1), grey 2, amount 50: 3.5 -> 4, 1, 1.5 -> 2.
    EXPECT_EQ(skin::ChangeSaturation(TColor{0x010005}, -50), TColor{0x020104});

    framework::TBitmap bitmap(1, 1);
    std::uint8_t* p = bitmap.ScanLine(0);
    p[0] = 0, p[1] = 0, p[2] = 3;  // blue, green, red
    skin::ChangeSaturation(bitmap, -50);
    EXPECT_EQ(p[2], 2);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(p[0], 0);
}

}  // namespace
