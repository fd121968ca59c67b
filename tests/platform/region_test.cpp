// Banded regions checked against a per-pixel oracle after random operations.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/region.h"

using platform::Region;

namespace {

constexpr int kSize = 48;

struct Bitmap {
    std::vector<bool> px = std::vector<bool>(kSize * kSize, false);
    bool At(int x, int y) const { return px[y * kSize + x]; }
};

Bitmap Paint(const Region& r) {
    Bitmap b;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) b.px[y * kSize + x] = r.Contains(x, y);
    return b;
}

Bitmap Oracle(const Bitmap& a, const Bitmap& b, int op) {
    Bitmap out;
    for (std::size_t i = 0; i < out.px.size(); ++i) {
        bool p = a.px[i], q = b.px[i];
        out.px[i] = op == 0 ? (p && q) : op == 1 ? (p || q) : op == 2 ? (p && !q) : (p != q);
    }
    return out;
}

Region RandomRegion(std::mt19937& rng) {
    std::uniform_int_distribution<int> coord(0, kSize), count(0, 5);
    Region r;
    for (int i = count(rng); i > 0; --i) {
        int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
        r.Unite(Region(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)));
    }
    return r;
}

TEST(Region, RandomOperationsMatchAPixelOracleAndStayBanded) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 400; ++round) {
        Region a = RandomRegion(rng), b = RandomRegion(rng);
        ASSERT_TRUE(a.IsValid());
        Bitmap pa = Paint(a), pb = Paint(b);
        Region results[4] = {a.Intersected(b), a.United(b), a.Subtracted(b), a.Xored(b)};
        for (int op = 0; op < 4; ++op) {
            ASSERT_TRUE(results[op].IsValid()) << "round " << round << " op " << op;
            Bitmap want = Oracle(pa, pb, op);
            Bitmap got = Paint(results[op]);
            ASSERT_EQ(got.px, want.px) << "round " << round << " op " << op;
        }
    }
}

TEST(Region, ClippingToRectanglesMatchesThePixelOracle) {
    // Rectangles that hold the region whole, match its bounds, or cut it: the first two must
    // give back the region unchanged, the last its exact intersection.
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> coord(0, kSize);
    for (int round = 0; round < 300; ++round) {
        Region a = RandomRegion(rng);
        RECT b = a.Bounds();
        int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
        Region clips[3] = {
            Region(0, 0, kSize, kSize), Region(b),
            Region(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1))};
        for (const Region& clip : clips) {
            Region left = clip.Intersected(a), right = a.Intersected(clip);
            ASSERT_TRUE(left.IsValid() && right.IsValid()) << "round " << round;
            ASSERT_TRUE(left == right) << "round " << round;
            ASSERT_EQ(Paint(left).px, Oracle(Paint(a), Paint(clip), 0).px) << "round " << round;
        }
        EXPECT_TRUE(a.Intersected(clips[0]) == a);
        EXPECT_TRUE(a.Intersected(clips[1]) == a);
    }
}

TEST(Region, EqualSetsHaveEqualRepresentations) {
    // The same pixels built two ways must compare equal: banding is canonical.
    Region a = Region(0, 0, 10, 10).United(Region(10, 0, 20, 10));
    Region b(0, 0, 20, 10);
    EXPECT_TRUE(a == b);
    Region c = Region(0, 0, 10, 5).United(Region(0, 5, 10, 10));
    EXPECT_TRUE(c == Region(0, 0, 10, 10));
    EXPECT_EQ(c.Rects().size(), 1u);
}

TEST(Region, BoundsOffsetAndIntersects) {
    Region r = Region(5, 5, 10, 10).United(Region(20, 30, 25, 40));
    RECT b = r.Bounds();
    EXPECT_EQ(b.left, 5);
    EXPECT_EQ(b.top, 5);
    EXPECT_EQ(b.right, 25);
    EXPECT_EQ(b.bottom, 40);
    r.Offset(-5, 10);
    EXPECT_TRUE(r.Contains(0, 15));
    EXPECT_FALSE(r.Contains(5, 15));
    EXPECT_TRUE(r.Intersects(RECT{16, 45, 17, 46}));
    EXPECT_FALSE(r.Intersects(RECT{6, 21, 14, 39}));  // in the gap between the two parts
    EXPECT_FALSE(r.Intersects(RECT{3, 3, 3, 9}));     // an empty rectangle touches nothing
}

TEST(Region, EmptyInputsAndDegenerateRectangles) {
    Region empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_TRUE(Region(5, 5, 5, 10).IsEmpty());
    EXPECT_TRUE(Region(10, 10, 0, 0).IsEmpty());
    EXPECT_TRUE(empty.Subtracted(Region(0, 0, 5, 5)).IsEmpty());
    EXPECT_TRUE(Region(0, 0, 5, 5).Subtracted(Region(0, 0, 5, 5)).IsEmpty());
    EXPECT_EQ(empty.Bounds().right, 0);
}

}  // namespace
