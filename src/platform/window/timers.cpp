// Timers. Each is due at absolute multiples of its interval from when it was set, so a slow
// handler never makes later ticks drift; ticks missed while the program was busy collapse into
// one, as with the real system's WM_TIMER.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/clock.h"
#include "platform/window/window_system.h"

namespace platform::win {
namespace {

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    std::int64_t interval;
    TIMERPROC proc;
    std::int64_t start;
    std::int64_t due;
};

struct Timers {
    std::vector<Timer> list;
    UINT_PTR nextThreadTimerId = 0x7FFF0000;
};

Timers& T() {
    static Timers t;
    return t;
}

// USER_TIMER_MINIMUM of the real system.
constexpr std::int64_t kMinimumInterval = 10;

std::int64_t NextDue(const Timer& t, std::int64_t now) {
    std::int64_t ticks = (now - t.start) / t.interval + 1;
    return t.start + ticks * t.interval;
}

}  // namespace

bool TakeDueTimer(HWND filter, bool remove, MSG* out) {
    std::int64_t now = MonotonicMilliseconds();
    for (Timer& t : T().list) {
        if (t.due > now) continue;
        if (filter && t.hwnd != filter && !IsChild(filter, t.hwnd)) continue;
        *out = MSG{t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc), static_cast<DWORD>(now), {}};
        GetCursorPos(&out->pt);
        if (remove) t.due = NextDue(t, now);
        return true;
    }
    return false;
}

int MillisecondsToNextTimer() {
    if (T().list.empty()) return -1;
    std::int64_t now = MonotonicMilliseconds();
    std::int64_t due = std::min_element(T().list.begin(), T().list.end(), [](const Timer& a, const Timer& b) {
                           return a.due < b.due;
                       })->due;
    return static_cast<int>(std::clamp<std::int64_t>(due - now, 0, 1 << 30));
}

void KillWindowTimers(HWND hwnd) {
    std::erase_if(T().list, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
}

}  // namespace platform::win

using namespace platform::win;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    if (hwnd && !IsWindow(hwnd)) return 0;
    std::int64_t interval = std::max<std::int64_t>(elapse, kMinimumInterval);
    std::int64_t now = platform::MonotonicMilliseconds();
    if (!hwnd) {
        auto existing = std::find_if(T().list.begin(), T().list.end(),
                                     [id](const Timer& t) { return !t.hwnd && t.id == id; });
        if (id == 0 || existing == T().list.end()) id = T().nextThreadTimerId++;
    }
    std::erase_if(T().list, [hwnd, id](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    T().list.push_back(Timer{hwnd, id, interval, proc, now, now + interval});
    return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    auto before = T().list.size();
    std::erase_if(T().list, [hwnd, id](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    return T().list.size() != before;
}
