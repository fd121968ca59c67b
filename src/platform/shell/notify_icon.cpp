// Shell_NotifyIconA over the backend's tray: the icon records, and tray mouse events turned
// into the owner's callback message.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/shell.h"
#include "platform/window.h"
#include "platform/shell/tray_tip.h"
#include "platform/window/window_system.h"

namespace platform::win {
namespace {

struct TrayRecord {
    HWND owner;
    UINT id;
    UINT callback;
    HICON icon;
    std::string tip;
    int trayId;
};

struct Tray {
    std::vector<TrayRecord> records;
    int nextTrayId = 1;
    bool handlerInstalled = false;
};

Tray& T() {
    static Tray t;
    return t;
}

TrayRecord* Find(HWND owner, UINT id) {
    for (TrayRecord& r : T().records)
        if (r.owner == owner && r.id == id) return &r;
    return nullptr;
}

UINT MouseMessage(const BackendEvent& e) {
    UINT down = e.button == MouseButton::Right ? WM_RBUTTONDOWN : e.button == MouseButton::Middle ? WM_MBUTTONDOWN
                                                                                                  : WM_LBUTTONDOWN;
    if (e.param == 0) return down + 1;
    return e.doubleClick ? down + 2 : down;
}

void OnTrayEvent(const BackendEvent& e) {
    if (e.kind == EventKind::TrayLost) {
        HideTrayTip();
        T().records.clear();
        UINT lost = RegisterWindowMessage("UtrozvonTrayLost");
        for (Window* t : TopLevels()) PostMessage(t->handle, lost, 0, 0);
        return;
    }
    if (e.kind == EventKind::TrayReset) {
        T().records.clear();  // the new tray has none of the old icons
        UINT created = RegisterWindowMessage("TaskbarCreated");
        for (Window* t : TopLevels()) PostMessage(t->handle, created, 0, 0);
        return;
    }
    for (const TrayRecord& r : T().records) {
        if (r.trayId != e.trayId) continue;
        if (e.kind == EventKind::TrayHover) {
            TrayTipHover(r.tip, e.screen, e.param != 0);
            if (e.param != 0 && r.callback && IsWindow(r.owner)) PostMessage(r.owner, r.callback, r.id, WM_MOUSEMOVE);
            return;
        }
        HideTrayTip();
        if (r.callback && IsWindow(r.owner)) PostMessage(r.owner, r.callback, r.id, static_cast<LPARAM>(MouseMessage(e)));
        return;
    }
}

void EnsureHandler() {
    if (T().handlerInstalled) return;
    SetTrayEventHandler(OnTrayEvent);
    T().handlerInstalled = true;
}

std::string TipOf(const NOTIFYICONDATAA* d) {
    return std::string(d->szTip, strnlen(d->szTip, sizeof d->szTip));
}

void ApplyFields(TrayRecord& r, const NOTIFYICONDATAA* d) {
    if (d->uFlags & NIF_MESSAGE) r.callback = d->uCallbackMessage;
    if (d->uFlags & NIF_ICON) r.icon = d->hIcon;
    if (d->uFlags & NIF_TIP) r.tip = TipOf(d);
}

}  // namespace
}  // namespace platform::win

using namespace platform::win;

BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA* d) {
    if (!d) return FALSE;
    EnsureHandler();
    platform::Backend& backend = GetBackend();
    TrayRecord* existing = Find(d->hWnd, d->uID);
    switch (message) {
        case NIM_ADD: {
            if (existing || !backend.TrayAvailable()) return FALSE;
            TrayRecord r{d->hWnd, d->uID, 0, nullptr, {}, T().nextTrayId++};
            ApplyFields(r, d);
            if (!backend.AddTrayIcon(r.trayId, IconPixelsOf(r.icon), r.tip)) return FALSE;
            T().records.push_back(r);
            return TRUE;
        }
        case NIM_MODIFY:
            if (!existing) return FALSE;
            ApplyFields(*existing, d);
            return backend.UpdateTrayIcon(existing->trayId, IconPixelsOf(existing->icon), existing->tip) ? TRUE : FALSE;
        case NIM_DELETE: {
            if (!existing) return FALSE;
            backend.RemoveTrayIcon(existing->trayId);
            HideTrayTip();
            UINT id = d->uID;
            HWND owner = d->hWnd;
            std::erase_if(T().records, [&](const TrayRecord& r) { return r.owner == owner && r.id == id; });
            return TRUE;
        }
        default: return FALSE;
    }
}
