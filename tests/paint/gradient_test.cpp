#include "paint/gradient.h"

#include "paint_test_support.h"

namespace paint_test {
namespace {

using paint::FillGradient;
using skin::TsGradArray;
using skin::TsGradPart;

TsGradPart Part(TColor c1, TColor c2, int percent, int mode) {
    return TsGradPart{c1, c2, static_cast<std::uint8_t>(percent), mode};
}

TEST(FillGradient, VerticalSinglePartRunsFromFirstToLastRow) {
    for (int bpp : {24, 32}) {
        auto b = MakeBitmap(5, 6, bpp, 0, 0);
        FillGradient(*b, RECT{0, 0, 5, 6}, {Part(Rgb(0, 0, 250), Rgb(250, 50, 0), 100, 0)}, 0);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 5; ++x) {
                ASSERT_EQ(Px(*b, x, y), Rgb(50 * y, 10 * y, 250 - 50 * y)) << bpp << " row " << y;
                ASSERT_EQ(Alpha(*b, x, y), 255);
            }
    }
}

TEST(FillGradient, VerticalPartsShareTheirBoundaryRow) {
    // Two halves over 100 rows: rows 0..50 and 50..99, the second repainting row 50.
    auto b = MakeBitmap(3, 100, 24);
    FillGradient(*b, RECT{0, 0, 3, 100},
                 {Part(Rgb(0, 0, 0), Rgb(100, 0, 0), 50, 0), Part(Rgb(0, 0, 9), Rgb(0, 49, 9), 50, 0)}, 0);
    struct Row {
        int y;
        TColor expected;
    } rows[] = {{0, Rgb(0, 0, 0)}, {49, Rgb(98, 0, 0)}, {50, Rgb(0, 0, 9)}, {51, Rgb(0, 1, 9)}, {99, Rgb(0, 49, 9)}};
    for (const auto& r : rows) EXPECT_EQ(Px(*b, 1, r.y), r.expected) << "row " << r.y;
}

TEST(FillGradient, VerticalOffsetMovesTheStartAndThePartLengths) {
    struct Case {
        const char* name;
        int offset, top;
        int firstPainted;      // rows above stay
        int boundary;          // first row of the second part
    } cases[] = {
        // end of part 1 = 50 * (offset + H) div 100 + start
        {"offset 10", 10, 0, 10, 10 + 50 * (10 + 110) / 100},
        {"offset 10 in a lower rectangle", 10, 20, 30, 30 + 50 * (10 + 90) / 100},
        {"negative offset starts above the rectangle, which stays unpainted above", -10, 5, 5, -5 + 50 * (-10 + 105) / 100},
    };
    for (const auto& c : cases) {
        auto b = MakeBitmap(2, 110, 24, Rgb(1, 2, 3));
        FillGradient(*b, RECT{0, c.top, 2, 110},
                     {Part(Rgb(100, 0, 0), Rgb(100, 0, 0), 50, 0), Part(Rgb(0, 200, 0), Rgb(0, 200, 0), 50, 0)},
                     c.offset);
        if (c.firstPainted > 0) {
            EXPECT_EQ(Px(*b, 0, c.firstPainted - 1), Rgb(1, 2, 3)) << c.name;
        }
        EXPECT_EQ(Px(*b, 0, c.firstPainted), Rgb(100, 0, 0)) << c.name;
        EXPECT_EQ(Px(*b, 1, c.boundary - 1), Rgb(100, 0, 0)) << c.name;
        EXPECT_EQ(Px(*b, 1, c.boundary), Rgb(0, 200, 0)) << c.name;
        EXPECT_EQ(Px(*b, 1, 109), Rgb(0, 200, 0)) << c.name;
    }
}

TEST(FillGradient, NegativeOffsetKeepsTheWalkGoing) {
    // The part starts 10 rows above the bitmap: row 0 is ten steps of 2 into the ramp.
    auto b = MakeBitmap(2, 100, 24);
    FillGradient(*b, RECT{0, 0, 2, 100}, {Part(Rgb(0, 0, 0), Rgb(218, 0, 0), 100, 0)}, -10);
    EXPECT_EQ(Px(*b, 0, 0), Rgb(20, 0, 0));
    EXPECT_EQ(Px(*b, 0, 99), Rgb(218, 0, 0));
}

struct HorizontalCase {
    const char* name;
    RECT rect;
    int firstPercent;
    int boundary;  // first column of the second part
};

TEST(FillGradient, HorizontalRoundsPartEndsAndRunsTheLastPartToTheEdge) {
    const HorizontalCase cases[] = {
        {"half of 10", {0, 0, 10, 3}, 50, 5},
        {"half of 9 from 1: 5.5 rounds to 6", {1, 0, 10, 3}, 50, 6},
        {"half of 9 from 0: 4.5 rounds to 4", {0, 0, 9, 3}, 50, 4},
        {"30 of 10", {0, 0, 10, 3}, 30, 3},
    };
    for (int bpp : {24, 32})
        for (const auto& c : cases) {
            auto b = MakeBitmap(10, 3, bpp, Rgb(7, 7, 7));
            // The last part's 5 percent is ignored: it always reaches the right edge.
            FillGradient(*b, c.rect,
                         {Part(Rgb(10, 0, 0), Rgb(10, 0, 0), c.firstPercent, 1), Part(Rgb(0, 20, 0), Rgb(0, 0, 20), 5, 1)},
                         0);
            for (int y = 0; y < 3; ++y) {
                EXPECT_EQ(Px(*b, c.boundary - 1, y), Rgb(10, 0, 0)) << c.name;
                EXPECT_EQ(Px(*b, c.boundary, y), Rgb(0, 20, 0)) << c.name;
                EXPECT_EQ(Px(*b, c.rect.right - 1, y), Rgb(0, 0, 20)) << c.name;
                if (c.rect.left > 0) {
                    EXPECT_EQ(Px(*b, 0, y), Rgb(7, 7, 7)) << c.name;
                }
            }
        }
}

TEST(FillGradient, RectangleIsCutToTheBitmap) {
    for (int bpp : {24, 32}) {
        auto b = MakeBitmap(5, 4, bpp);  // padded 24-bit rows
        Snapshot before(*b);
        FillGradient(*b, RECT{-3, -7, 100, 100}, {Part(Rgb(9, 9, 9), Rgb(9, 9, 9), 100, 0)}, 0);
        FillGradient(*b, RECT{-3, -7, 100, 100}, {Part(Rgb(9, 9, 9), Rgb(9, 9, 9), 100, 1)}, 0);
        EXPECT_EQ(ChangedOutside(*b, before, RECT{0, 0, 5, 4}), 0);
        EXPECT_EQ(Px(*b, 4, 3), Rgb(9, 9, 9));
    }
}

TEST(FillGradient, NothingForEmptyInputsOrUnknownModes) {
    struct Case {
        const char* name;
        RECT rect;
        TsGradArray parts;
    } cases[] = {
        {"empty rectangle", {2, 2, 2, 4}, {Part(1, 1, 100, 0)}},
        {"no parts", {0, 0, 4, 4}, {}},
        {"mode 3", {0, 0, 4, 4}, {Part(1, 1, 100, 3)}},
        {"outside the bitmap", {10, 10, 20, 20}, {Part(1, 1, 100, 0)}},
    };
    for (const auto& c : cases) {
        auto b = MakeBitmap(4, 4, 24, Rgb(5, 5, 5));
        Snapshot before(*b);
        FillGradient(*b, c.rect, c.parts, 0);
        EXPECT_EQ(ChangedOutside(*b, before, RECT{0, 0, 0, 0}), 0) << c.name;
    }
}

TEST(FillGradient, TrianglesTakeVertexColoursFromThePartsInOrder) {
    // One part: all five vertices share its colour. Two parts: vertex 0 (top-left) has the
    // first, vertices 1 (centre) to 4 the second.
    auto one = MakeBitmap(20, 10, 24);
    FillGradient(*one, RECT{0, 0, 20, 10}, {Part(Rgb(40, 80, 120), 0, 0, 2)}, 0);
    // The platform's fill may lose a level to rounding.
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            TColor c = Px(*one, x, y);
            ASSERT_NEAR(R(c), 40, 1) << x << "," << y;
            ASSERT_NEAR(G(c), 80, 1) << x << "," << y;
            ASSERT_NEAR(B(c), 120, 1) << x << "," << y;
        }
    auto two = MakeBitmap(20, 10, 24);
    FillGradient(*two, RECT{0, 0, 20, 10}, {Part(Rgb(200, 0, 0), 0, 0, 2), Part(Rgb(0, 0, 200), 0, 0, 2)}, 0);
    EXPECT_EQ(Px(*two, 0, 0), Rgb(200, 0, 0));
    EXPECT_EQ(Px(*two, 10, 5), Rgb(0, 0, 200));
}

}  // namespace
}  // namespace paint_test
