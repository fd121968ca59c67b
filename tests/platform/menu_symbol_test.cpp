// The system menu's symbols drawn without a symbol font: placement, shape and scale, checked
// against pixels worked out by hand from the designs.
#include "gdi_test_support.h"
#include "platform/menu.h"
#include "platform/messages.h"

using namespace testing_support;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kInk = 0x102030;

struct Drawn {
    Canvas canvas;
    BOOL result;
    Drawn(int w, int h, UINT command) : canvas(w, h) {
        canvas.Fill(kWhite);
        RECT r{0, 0, w, h};
        result = DrawMenuSymbol(canvas.dc(), &r, command, RGB(0x10, 0x20, 0x30));
    }
    bool Inked(int x, int y) const { return canvas.At(x, y) == kInk; }
};

// A 13-pixel rectangle 10 pixels wider than high, as a menu painter gives it.
TEST(MenuSymbols, CloseIsACrossCentredInTheRectangle) {
    Drawn d(23, 13, SC_CLOSE);
    ASSERT_TRUE(d.result);
    // 8 x 7 design at ((23 - 8) / 2, (13 - 7) / 2) = (7, 3).
    EXPECT_TRUE(d.Inked(7, 3));
    EXPECT_TRUE(d.Inked(8, 3));
    EXPECT_FALSE(d.Inked(9, 3));
    EXPECT_TRUE(d.Inked(14, 3));
    EXPECT_TRUE(d.Inked(10, 6));
    EXPECT_TRUE(d.Inked(11, 6));
    EXPECT_FALSE(d.Inked(7, 6));
    EXPECT_FALSE(d.Inked(6, 3));
    EXPECT_EQ(d.canvas.Count(kInk), 26);
}

TEST(MenuSymbols, MinimiseIsABarAtTheBottomAndRestoreTwoWindows) {
    Drawn min(23, 13, SC_MINIMIZE);
    // 9 x 9 design at (7, 2); the bar fills cells 1..6 of rows 7 and 8.
    EXPECT_TRUE(min.Inked(8, 9));
    EXPECT_TRUE(min.Inked(13, 10));
    EXPECT_FALSE(min.Inked(7, 9));
    EXPECT_FALSE(min.Inked(14, 10));
    EXPECT_FALSE(min.Inked(10, 8));
    EXPECT_EQ(min.canvas.Count(kInk), 12);
    Drawn restore(23, 13, SC_RESTORE);
    // 8 x 9 design at (7, 2); row 3 is "###### #".
    EXPECT_TRUE(restore.Inked(7, 5));
    EXPECT_TRUE(restore.Inked(12, 5));
    EXPECT_FALSE(restore.Inked(13, 5));
    EXPECT_TRUE(restore.Inked(14, 5));
    EXPECT_FALSE(restore.Inked(8, 2)) << "the back window starts two cells in";
    EXPECT_TRUE(restore.Inked(9, 2));
}

TEST(MenuSymbols, ATallerRectangleScalesTheDesignByWholeSteps) {
    Drawn max(36, 26, SC_MAXIMIZE);
    // Scale 2: the 9 x 9 design becomes 18 x 18 at ((36 - 18) / 2, (26 - 18) / 2) = (9, 4).
    EXPECT_TRUE(max.Inked(9, 4));
    EXPECT_TRUE(max.Inked(10, 5));
    EXPECT_TRUE(max.Inked(26, 21));
    EXPECT_FALSE(max.Inked(8, 4));
    EXPECT_FALSE(max.Inked(27, 21));
    EXPECT_FALSE(max.Inked(11, 8)) << "inside the window outline";
    EXPECT_EQ(max.canvas.Count(kInk), 39 * 4);
}

TEST(MenuSymbols, OtherCommandsDrawNothing) {
    Drawn move(23, 13, SC_MOVE);
    EXPECT_FALSE(move.result);
    EXPECT_EQ(move.canvas.Count(kInk), 0);
    Canvas c(4, 4);
    EXPECT_FALSE(DrawMenuSymbol(c.dc(), nullptr, SC_CLOSE, 0));
}

}  // namespace
