// Window hooks of the GUI thread: WH_CBT and WH_CALLWNDPROC chains, newest first.
#include <algorithm>
#include <vector>

#include "platform/window/window_system.h"

namespace platform::win {
namespace {

struct Hook {
    HHOOK handle;
    int kind;
    HOOKPROC proc;
    bool removed = false;
};

struct Hooks {
    std::vector<Hook> chain;  // newest first
    std::uintptr_t nextId = 1;
    int running = 0;
};

Hooks& H() {
    static Hooks hooks;
    return hooks;
}

// Calls the first live hook of the kind at or after position `from`.
LRESULT CallFrom(std::size_t from, int kind, int code, WPARAM wParam, LPARAM lParam) {
    Hooks& h = H();
    for (std::size_t i = from; i < h.chain.size(); ++i) {
        if (h.chain[i].kind != kind || h.chain[i].removed) continue;
        ++h.running;
        LRESULT r = h.chain[i].proc(code, wParam, lParam);
        --h.running;
        if (h.running == 0) std::erase_if(h.chain, [](const Hook& k) { return k.removed; });
        return r;
    }
    return 0;
}

}  // namespace

LRESULT CallCbtHook(int code, WPARAM wParam, LPARAM lParam) { return CallFrom(0, WH_CBT, code, wParam, lParam); }

void CallWndProcHook(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (H().chain.empty()) return;
    CWPSTRUCT cwp{lParam, wParam, msg, hwnd};
    CallFrom(0, WH_CALLWNDPROC, HC_ACTION, 0, reinterpret_cast<LPARAM>(&cwp));
}

}  // namespace platform::win

using namespace platform::win;

HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE, DWORD) {
    if (!proc || (idHook != WH_CBT && idHook != WH_CALLWNDPROC)) return nullptr;
    HHOOK handle = reinterpret_cast<HHOOK>(H().nextId++);
    H().chain.insert(H().chain.begin(), Hook{handle, idHook, proc});
    return handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
    for (Hook& k : H().chain) {
        if (k.handle == hook && !k.removed) {
            k.removed = true;
            if (H().running == 0) std::erase_if(H().chain, [](const Hook& x) { return x.removed; });
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    auto& chain = H().chain;
    auto it = std::find_if(chain.begin(), chain.end(), [hook](const Hook& k) { return k.handle == hook; });
    if (it == chain.end()) return 0;
    return CallFrom(static_cast<std::size_t>(it - chain.begin()) + 1, it->kind, code, wParam, lParam);
}
