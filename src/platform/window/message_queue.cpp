// The GUI thread's message queue: posted messages, input, paint and timers, in the priority
// order of the real system, and the send path with its hooks.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

#include "platform/clock.h"
#include "platform/window/window_system.h"

namespace platform::win {
namespace {

struct Queue {
    std::mutex mutex;
    std::deque<MSG> posted;     // PostMessage, any thread
    std::deque<MSG> input;      // translated input, GUI thread only
    bool quitPosted = false;
    int quitCode = 0;
    MSG last{};                 // GetMessageTime / GetMessagePos
    int sendDepth = 0;
    std::unordered_map<std::string, UINT> registered;
    UINT nextRegistered = WM_REGISTERED_FIRST;
};

Queue& Q() {
    static Queue q;
    return q;
}

// The GUI thread: the first one that sends, peeks or gets messages. Other threads may only post.
std::atomic<std::thread::id> g_guiThread{};

void NoteGuiThread() {
    std::thread::id none{};
    g_guiThread.compare_exchange_strong(none, std::this_thread::get_id());
}

bool OnGuiThread() {
    std::thread::id gui = g_guiThread.load();
    return gui == std::thread::id{} || gui == std::this_thread::get_id();
}


bool InRange(UINT msg, UINT lo, UINT hi) { return (lo == 0 && hi == 0) || (msg >= lo && msg <= hi); }

bool Matches(const MSG& m, HWND filter, UINT lo, UINT hi) {
    if (!InRange(m.message, lo, hi)) return false;
    if (!filter) return true;
    if (filter == reinterpret_cast<HWND>(static_cast<intptr_t>(-1))) return m.hwnd == nullptr;
    return m.hwnd == filter || IsChild(filter, m.hwnd);
}

bool TakeFrom(std::deque<MSG>& queue, MSG* out, HWND filter, UINT lo, UINT hi, bool remove) {
    auto it = std::find_if(queue.begin(), queue.end(), [&](const MSG& m) { return Matches(m, filter, lo, hi); });
    if (it == queue.end()) return false;
    *out = *it;
    if (remove) queue.erase(it);
    return true;
}

MSG Stamp(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return MSG{hwnd, msg, wParam, lParam, Now(), CursorPosition()};
}

bool PeekCore(MSG* out, HWND filter, UINT lo, UINT hi, UINT flags) {
    NoteGuiThread();
    bool remove = (flags & PM_REMOVE) != 0;
    Queue& q = Q();
    // Translating one input event may post messages (tray callbacks, characters), so the
    // posted queue is looked at again after each one.
    for (;;) {
        {
            std::lock_guard lock(q.mutex);
            if (TakeFrom(q.posted, out, filter, lo, hi, remove)) return true;
            if (q.quitPosted) {
                *out = Stamp(nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0);
                if (remove) q.quitPosted = false;
                return true;
            }
        }
        if (TakeFrom(q.input, out, filter, lo, hi, remove)) return true;
        if (!q.input.empty() || !TranslateNextInput(nullptr)) break;
    }
    if (InRange(WM_PAINT, lo, hi)) {
        if (PaintFramesOnly(filter)) return PeekCore(out, filter, lo, hi, flags);
        if (Window* w = FindWindowToPaint(filter)) {
            *out = Stamp(w->handle, WM_PAINT, 0, 0);
            return true;
        }
    }
    if (InRange(WM_TIMER, lo, hi) && TakeDueTimer(filter, remove, out)) return true;
    return false;
}

}  // namespace

DWORD Now() { return static_cast<DWORD>(platform::MonotonicMilliseconds()); }

LRESULT Send(Window* w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!w) return 0;
    HWND h = w->handle;
    CallWndProcHook(h, msg, wParam, lParam);
    w = FromHandle(h);  // a hook may have destroyed it
    if (!w || !w->proc) return 0;
    Queue& q = Q();
    ++q.sendDepth;
    LRESULT r = w->proc(h, msg, wParam, lParam);
    --q.sendDepth;
    return r;
}

void PostInput(const MSG& msg) { Q().input.push_back(msg); }

void RemoveMessagesFor(HWND hwnd) {
    Queue& q = Q();
    std::lock_guard lock(q.mutex);
    std::erase_if(q.posted, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
    std::erase_if(q.input, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
}

void IdleWait() {
    PresentAll();
    {
        std::lock_guard lock(Q().mutex);
        if (!Q().posted.empty() || Q().quitPosted) return;
    }
    if (HasPendingRawInput()) return;
    GetBackend().Wait(MillisecondsToNextTimer());
}

}  // namespace platform::win

using namespace platform::win;

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove) {
    MSG m{};
    if (!PeekCore(&m, hwnd, filterMin, filterMax, remove)) {
        PresentAll();
        return FALSE;
    }
    if (remove & PM_REMOVE) {
        Q().last = m;
        SetKeyStateFromMessage(m);
    }
    if (msg) *msg = m;
    return TRUE;
}

BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    MSG m{};
    while (!PeekCore(&m, hwnd, filterMin, filterMax, PM_REMOVE)) IdleWait();
    Q().last = m;
    SetKeyStateFromMessage(m);
    if (msg) *msg = m;
    return m.message == WM_QUIT ? FALSE : TRUE;
}

BOOL WaitMessage() {
    MSG m{};
    if (!PeekCore(&m, nullptr, 0, 0, PM_NOREMOVE)) IdleWait();
    return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    Window* w = FromHandle(msg->hwnd);
    if (!w || !w->proc) return 0;
    return w->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The window table belongs to the GUI thread; a post from another thread is checked when
    // it is dispatched instead (a message for a destroyed window is dropped there).
    bool gui = OnGuiThread();
    if (gui && hwnd && !IsWindow(hwnd)) return FALSE;
    POINT pt = gui ? Q().last.pt : POINT{};
    {
        std::lock_guard lock(Q().mutex);
        Q().posted.push_back(MSG{hwnd, msg, wParam, lParam, Now(), pt});
    }
    if (BackendReady()) GetBackend().Wake();
    return TRUE;
}

BOOL PostThreadMessage(DWORD, UINT msg, WPARAM wParam, LPARAM lParam) {
    return PostMessage(nullptr, msg, wParam, lParam);
}

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Send(FromHandle(hwnd), msg, wParam, lParam);
}

BOOL SendNotifyMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(hwnd)) return FALSE;
    SendMessage(hwnd, msg, wParam, lParam);
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    {
        std::lock_guard lock(Q().mutex);
        Q().quitPosted = true;
        Q().quitCode = exitCode;
    }
    if (BackendReady()) GetBackend().Wake();
}

UINT RegisterWindowMessage(LPCSTR name) {
    if (!name || !*name) return 0;
    auto [it, inserted] = Q().registered.emplace(name, Q().nextRegistered);
    if (inserted) ++Q().nextRegistered;
    return it->second;
}

DWORD GetMessageTime() { return Q().last.time; }

DWORD GetMessagePos() { return MAKELONG(static_cast<WORD>(Q().last.pt.x), static_cast<WORD>(Q().last.pt.y)); }

BOOL InSendMessage() { return FALSE; }

DWORD GetCurrentThreadId() {
    return static_cast<DWORD>(std::hash<std::thread::id>{}(std::this_thread::get_id()));
}

DWORD GetTickCount() { return Now(); }
