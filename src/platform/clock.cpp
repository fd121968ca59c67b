#include "platform/clock.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

namespace platform {
namespace {

std::mutex& SourceMutex() {
    static std::mutex m;
    return m;
}

std::function<std::int64_t()>& Source() {
    static std::function<std::int64_t()> source;
    return source;
}

std::int64_t SteadyMicroseconds() {
    static const auto start = std::chrono::steady_clock::now();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count();
}

std::int64_t SteadyMilliseconds() { return SteadyMicroseconds() / 1000; }

// A fixed start time (UTROZVON_NOW) is the time the process started, not the time of the
// first question.
const std::int64_t g_processStartUs = SteadyMicroseconds();

// `us` is the microsecond within the second.
LocalTime FromBrokenDown(const std::tm& tm, int us) {
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                     us / 1000, tm.tm_wday, us % 1000};
}

// The UTROZVON_NOW start as milliseconds of a linear local-time scale (timegm is used only as
// arithmetic on broken-down fields), or -1 when unset or malformed.
std::int64_t FixedStartMilliseconds() {
    static const std::int64_t start = [] {
        const char* text = std::getenv("UTROZVON_NOW");
        LocalTime t{};
        if (!text || !ParseLocalTimestamp(text, &t)) {
            if (text) std::fprintf(stderr, "utrozvon: ignoring malformed UTROZVON_NOW '%s'\n", text);
            return std::int64_t{-1};
        }
        std::tm tm{};
        tm.tm_year = t.year - 1900;
        tm.tm_mon = t.month - 1;
        tm.tm_mday = t.day;
        tm.tm_hour = t.hour;
        tm.tm_min = t.minute;
        tm.tm_sec = t.second;
        return static_cast<std::int64_t>(timegm(&tm)) * 1000 + t.millisecond;
    }();
    return start;
}

bool ClockFrozen() {
    static const bool frozen = [] {
        const char* text = std::getenv("UTROZVON_FREEZE_CLOCK");
        return text && text[0] == '1' && text[1] == '\0';
    }();
    return frozen;
}

}  // namespace

std::int64_t MonotonicMilliseconds() {
    {
        std::lock_guard lock(SourceMutex());
        if (Source()) return Source()();
    }
    return SteadyMilliseconds();
}

void SetMonotonicSource(std::function<std::int64_t()> source) {
    std::lock_guard lock(SourceMutex());
    Source() = std::move(source);
}

namespace {
std::function<LocalTime()>& LocalTimeSource() {
    static std::function<LocalTime()> source;
    return source;
}
}  // namespace

void SetLocalTimeSource(std::function<LocalTime()> source) {
    std::lock_guard lock(SourceMutex());
    LocalTimeSource() = std::move(source);
}

LocalTime CurrentLocalTime() {
    {
        std::lock_guard lock(SourceMutex());
        if (LocalTimeSource()) return LocalTimeSource()();
    }
    std::int64_t fixed = FixedStartMilliseconds();
    std::tm tm{};
    if (fixed >= 0) {
        std::int64_t us = fixed * 1000;
        if (!ClockFrozen()) us += SteadyMicroseconds() - g_processStartUs;
        std::time_t secs = static_cast<std::time_t>(us / 1000000);
        gmtime_r(&secs, &tm);
        return FromBrokenDown(tm, static_cast<int>(us % 1000000));
    }
    auto now = std::chrono::system_clock::now();
    auto us = std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count();
    std::time_t secs = static_cast<std::time_t>(us / 1000000);
    localtime_r(&secs, &tm);
    return FromBrokenDown(tm, static_cast<int>(us % 1000000));
}

bool ParseLocalTimestamp(const char* text, LocalTime* out) {
    LocalTime t{};
    int consumed = 0;
    if (std::sscanf(text, "%4d-%2d-%2dT%2d:%2d:%2d%n", &t.year, &t.month, &t.day, &t.hour, &t.minute,
                    &t.second, &consumed) != 6)
        return false;
    const char* rest = text + consumed;
    if (*rest == '.') {
        int ms = 0, digits = 0;
        for (++rest; *rest >= '0' && *rest <= '9' && digits < 3; ++rest, ++digits) ms = ms * 10 + (*rest - '0');
        if (digits == 0) return false;
        while (digits++ < 3) ms *= 10;
        t.millisecond = ms;
    }
    if (*rest != 0) return false;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 || t.second > 59)
        return false;
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    std::time_t secs = timegm(&tm);
    gmtime_r(&secs, &tm);
    if (tm.tm_mday != t.day) return false;  // 31 February and the like
    t.dayOfWeek = tm.tm_wday;
    *out = t;
    return true;
}

}  // namespace platform
