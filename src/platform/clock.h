// The program's clocks. Monotonic time drives timers and message times; wall-clock time is
// what the alarm compares against. Both can be replaced by tests; UTROZVON_NOW starts the wall
// clock at a given local time (YYYY-MM-DDTHH:MM:SS.mmm) that then advances in real time;
// with UTROZVON_FREEZE_CLOCK=1 as well it stays at that time, so screenshots of a window
// showing the time come out the same however long the program took to start.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

// Milliseconds since an arbitrary start; never goes backwards.
std::int64_t MonotonicMilliseconds();

// Local wall-clock time broken down, with milliseconds.
struct LocalTime {
    int year, month, day, hour, minute, second, millisecond;
    int dayOfWeek;  // 0 = Sunday, as in SYSTEMTIME
    // The microseconds within the millisecond (0..999). SYSTEMTIME stops at milliseconds; the
    // alarm check compares against whole seconds and needs the finer reading so a tick a hair
    // after the second is not read as exactly on it.
    int microsecond = 0;
};
LocalTime CurrentLocalTime();

// Test hooks: replace the monotonic source (nullptr restores the real clock).
void SetMonotonicSource(std::function<std::int64_t()> source);
// Test hook: replace the wall clock (nullptr restores it).
void SetLocalTimeSource(std::function<LocalTime()> source);
// Parses "YYYY-MM-DDTHH:MM:SS.mmm" (milliseconds optional); false when malformed.
bool ParseLocalTimestamp(const char* text, LocalTime* out);

}  // namespace platform
