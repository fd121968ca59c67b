// Timestamps of UTROZVON_NOW.
#include <gtest/gtest.h>

#include "platform/clock.h"

namespace {

TEST(Clock, ParsesTimestampsWithAndWithoutMilliseconds) {
    platform::LocalTime t{};
    ASSERT_TRUE(platform::ParseLocalTimestamp("2026-12-07T06:59:59.250", &t));
    EXPECT_EQ(t.year, 2026);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 7);
    EXPECT_EQ(t.hour, 6);
    EXPECT_EQ(t.second, 59);
    EXPECT_EQ(t.millisecond, 250);
    EXPECT_EQ(t.dayOfWeek, 1);  // a Monday
    ASSERT_TRUE(platform::ParseLocalTimestamp("2024-02-29T00:00:00", &t));
    EXPECT_EQ(t.millisecond, 0);
    ASSERT_TRUE(platform::ParseLocalTimestamp("2024-02-29T00:00:00.5", &t));
    EXPECT_EQ(t.millisecond, 500);
}

TEST(Clock, RejectsMalformedTimestamps) {
    platform::LocalTime t{};
    for (const char* bad : {"", "2026-12-07", "2026-13-01T00:00:00", "2026-02-30T00:00:00", "2026-12-07T24:00:00",
                            "2026-12-07T10:00:00Z", "2026-12-07T10:00:00.", "2026-12-07 10:00:00"})
        EXPECT_FALSE(platform::ParseLocalTimestamp(bad, &t)) << bad;
}

TEST(Clock, MonotonicSourceCanBeReplacedAndRestored) {
    platform::SetMonotonicSource([] { return std::int64_t{42}; });
    EXPECT_EQ(platform::MonotonicMilliseconds(), 42);
    platform::SetMonotonicSource(nullptr);
    std::int64_t a = platform::MonotonicMilliseconds(), b = platform::MonotonicMilliseconds();
    EXPECT_LE(a, b);
}

}  // namespace
