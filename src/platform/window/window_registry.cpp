// Window handles, window classes and the window tree.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/window/window_object.h"
#include "platform/window/window_system.h"

namespace platform::win {
namespace {

struct Registry {
    std::unordered_map<std::uintptr_t, std::unique_ptr<Window>> windows;
    std::uintptr_t nextId = 0x10000;
    std::vector<std::unique_ptr<WindowClass>> classes;
    ATOM nextAtom = 0xC000;
    std::vector<Window*> topLevels;
};

Registry& R() {
    static Registry registry;
    return registry;
}

bool SameName(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// Class names may be given as atoms (MAKEINTATOM) like the real API allows.
const WindowClass* FindClassByNameOrAtom(LPCSTR name) {
    if (!name) return nullptr;
    auto value = reinterpret_cast<std::uintptr_t>(name);
    for (auto& c : R().classes) {
        if (value <= 0xFFFF ? c->atom == value : SameName(c->name, name)) return c.get();
    }
    return nullptr;
}

}  // namespace

Window* FromHandle(HWND hwnd) {
    auto it = R().windows.find(reinterpret_cast<std::uintptr_t>(hwnd));
    return it == R().windows.end() ? nullptr : it->second.get();
}

Window* NewWindow() {
    auto w = std::make_unique<Window>();
    std::uintptr_t id = R().nextId;
    R().nextId += 4;
    w->handle = reinterpret_cast<HWND>(id);
    Window* raw = w.get();
    R().windows.emplace(id, std::move(w));
    return raw;
}

void DeleteWindowObject(Window* w) { R().windows.erase(reinterpret_cast<std::uintptr_t>(w->handle)); }

std::vector<Window*> AllWindows() {
    std::vector<Window*> out;
    for (auto& [id, w] : R().windows) out.push_back(w.get());
    return out;
}

std::vector<Window*>& TopLevels() { return R().topLevels; }

const WindowClass* FindClass(const std::string& name) { return FindClassByNameOrAtom(name.c_str()); }
const WindowClass* FindClassArg(LPCSTR name) { return FindClassByNameOrAtom(name); }

ATOM AddClass(const WNDCLASSEX& wc) {
    if (!wc.lpszClassName || !wc.lpfnWndProc || FindClassByNameOrAtom(wc.lpszClassName)) return 0;
    auto c = std::make_unique<WindowClass>();
    c->name = wc.lpszClassName;
    c->style = wc.style;
    c->proc = wc.lpfnWndProc;
    c->cbWndExtra = std::max(0, wc.cbWndExtra);
    c->instance = wc.hInstance;
    c->icon = wc.hIcon;
    c->iconSmall = wc.hIconSm;
    c->cursor = wc.hCursor;
    c->background = wc.hbrBackground;
    c->atom = R().nextAtom++;
    ATOM atom = c->atom;
    R().classes.push_back(std::move(c));
    return atom;
}

bool RemoveClass(LPCSTR name) {
    const WindowClass* c = FindClassByNameOrAtom(name);
    if (!c) return false;
    for (auto& [id, w] : R().windows)
        if (w->cls == c) return false;  // still in use
    std::erase_if(R().classes, [c](const auto& p) { return p.get() == c; });
    return true;
}

WindowClass* MutableClass(const WindowClass* c) { return const_cast<WindowClass*>(c); }

Window* TopLevelOf(Window* w) {
    while (w && w->IsChild()) w = w->parent;
    return w;
}

POINT OriginInSurface(const Window* w) {
    POINT p{0, 0};
    while (w->IsChild()) {
        const Window* parent = w->parent;
        p.x += w->rect.left + (parent->client.left - parent->rect.left);
        p.y += w->rect.top + (parent->client.top - parent->rect.top);
        w = parent;
    }
    return p;
}

POINT ScreenOrigin(const Window* w) {
    POINT p{w->rect.left, w->rect.top};
    while (w->IsChild()) {
        w = w->parent;
        p.x += w->client.left;
        p.y += w->client.top;
        if (!w->IsChild()) break;
    }
    return p;
}

bool IsReallyVisible(const Window* w) {
    for (; w; w = w->IsChild() ? w->parent : nullptr)
        if (!(w->style & WS_VISIBLE)) return false;
    return true;
}

}  // namespace platform::win

using namespace platform::win;

ATOM RegisterClass(const WNDCLASS* wc) {
    if (!wc) return 0;
    WNDCLASSEX ex{sizeof(WNDCLASSEX), wc->style, wc->lpfnWndProc, wc->cbClsExtra, wc->cbWndExtra,
                  wc->hInstance, wc->hIcon, wc->hCursor, wc->hbrBackground, wc->lpszMenuName,
                  wc->lpszClassName, nullptr};
    return AddClass(ex);
}

ATOM RegisterClassEx(const WNDCLASSEX* wc) { return wc ? AddClass(*wc) : 0; }

BOOL UnregisterClass(LPCSTR className, HINSTANCE) { return RemoveClass(className); }

BOOL GetClassInfo(HINSTANCE, LPCSTR className, WNDCLASS* out) {
    const WindowClass* c = FindClassArg(className);
    if (!c || !out) return FALSE;
    *out = WNDCLASS{c->style, c->proc, 0, c->cbWndExtra, c->instance, c->icon, c->cursor,
                    c->background, nullptr, c->name.c_str()};
    return TRUE;
}

int GetClassName(HWND hwnd, char* buffer, int size) {
    Window* w = FromHandle(hwnd);
    if (!w || !buffer || size <= 0) return 0;
    int n = std::min<int>(size - 1, static_cast<int>(w->cls->name.size()));
    std::memcpy(buffer, w->cls->name.data(), n);
    buffer[n] = 0;
    return n;
}

ULONG_PTR GetClassLongPtr(HWND hwnd, int index) {
    Window* w = FromHandle(hwnd);
    if (!w) return 0;
    const WindowClass* c = w->cls;
    switch (index) {
        case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c->background);
        case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(c->cursor);
        case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(c->icon);
        case GCLP_HICONSM: return reinterpret_cast<ULONG_PTR>(c->iconSmall);
        case GCL_STYLE: return c->style;
        default: return 0;
    }
}

ULONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value) {
    Window* w = FromHandle(hwnd);
    if (!w) return 0;
    WindowClass* c = MutableClass(w->cls);
    ULONG_PTR old = GetClassLongPtr(hwnd, index);
    switch (index) {
        case GCLP_HBRBACKGROUND: c->background = reinterpret_cast<HBRUSH>(value); break;
        case GCLP_HCURSOR: c->cursor = reinterpret_cast<HCURSOR>(value); break;
        case GCLP_HICON: c->icon = reinterpret_cast<HICON>(value); break;
        case GCLP_HICONSM: c->iconSmall = reinterpret_cast<HICON>(value); break;
        case GCL_STYLE: c->style = static_cast<UINT>(value); break;
        default: return 0;
    }
    return old;
}

BOOL IsWindow(HWND hwnd) { return FromHandle(hwnd) != nullptr || (hwnd && hwnd == GetDesktopWindow()); }

BOOL IsWindowVisible(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return w && IsReallyVisible(w);
}

BOOL IsWindowEnabled(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return w && !(w->style & WS_DISABLED);
}

BOOL IsIconic(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return w && w->minimized;
}

BOOL IsZoomed(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return w && w->maximized;
}

BOOL IsChild(HWND parent, HWND hwnd) {
    Window* w = FromHandle(hwnd);
    Window* p = FromHandle(parent);
    if (!w || !p) return FALSE;
    for (Window* a = w->IsChild() ? w->parent : nullptr; a; a = a->IsChild() ? a->parent : nullptr)
        if (a == p) return TRUE;
    return FALSE;
}

BOOL SetProp(HWND hwnd, LPCSTR name, HANDLE value) {
    Window* w = FromHandle(hwnd);
    if (!w || !name) return FALSE;
    w->props[name] = value;
    return TRUE;
}

HANDLE GetProp(HWND hwnd, LPCSTR name) {
    Window* w = FromHandle(hwnd);
    if (!w || !name) return nullptr;
    auto it = w->props.find(name);
    return it == w->props.end() ? nullptr : it->second;
}

HANDLE RemoveProp(HWND hwnd, LPCSTR name) {
    Window* w = FromHandle(hwnd);
    if (!w || !name) return nullptr;
    auto it = w->props.find(name);
    if (it == w->props.end()) return nullptr;
    HANDLE h = it->second;
    w->props.erase(it);
    return h;
}

HWND GetParent(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (!w) return nullptr;
    if (w->IsChild()) return w->parent->handle;
    // Like the real API, a popup's "parent" is its owner, and a child of the desktop window
    // names the desktop.
    if (w->style & WS_CHILD) return GetDesktopWindow();
    return (w->style & WS_POPUP) && w->owner ? w->owner->handle : nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    Window* w = FromHandle(hwnd);
    if (!w) return nullptr;
    switch (flags) {
        case GA_PARENT: return w->IsChild() ? w->parent->handle : GetDesktopWindow();
        case GA_ROOT: return TopLevelOf(w)->handle;
        case GA_ROOTOWNER: {
            Window* t = TopLevelOf(w);
            while (t->owner) t = t->owner;
            return t->handle;
        }
        default: return nullptr;
    }
}

static std::vector<Window*>* SiblingList(Window* w) {
    return w->IsChild() ? &w->parent->children : &TopLevels();
}

HWND GetWindow(HWND hwnd, UINT cmd) {
    Window* w = FromHandle(hwnd);
    if (!w) return nullptr;
    if (cmd == GW_OWNER) return !w->IsChild() && w->owner ? w->owner->handle : nullptr;
    if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
    std::vector<Window*>& list = *SiblingList(w);
    auto it = std::find(list.begin(), list.end(), w);
    if (it == list.end()) return nullptr;
    switch (cmd) {
        case GW_HWNDFIRST: return list.front()->handle;
        case GW_HWNDLAST: return list.back()->handle;
        case GW_HWNDNEXT: return it + 1 == list.end() ? nullptr : (*(it + 1))->handle;
        case GW_HWNDPREV: return it == list.begin() ? nullptr : (*(it - 1))->handle;
        default: return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd) {
    if (!hwnd) return TopLevels().empty() ? nullptr : TopLevels().front()->handle;
    return GetWindow(hwnd, GW_CHILD);
}

// A handle of its own that no window object has: windows parented to it are top-level.
HWND GetDesktopWindow() { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0xFFF0)); }

// Enumeration takes a snapshot of handles first, so callbacks may destroy windows safely.
static void CollectDescendants(Window* w, std::vector<HWND>& out) {
    for (Window* c : w->children) {
        out.push_back(c->handle);
        CollectDescendants(c, out);
    }
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    Window* p = FromHandle(parent);
    if (!proc) return FALSE;
    std::vector<HWND> handles;
    if (p) {
        CollectDescendants(p, handles);
    } else {
        for (Window* t : TopLevels()) handles.push_back(t->handle);
    }
    for (HWND h : handles)
        if (IsWindow(h) && !proc(h, lParam)) break;
    return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
    std::vector<HWND> handles;
    for (Window* t : TopLevels()) handles.push_back(t->handle);
    for (HWND h : handles)
        if (IsWindow(h) && !proc(h, lParam)) return FALSE;
    return TRUE;
}

HWND FindWindow(LPCSTR className, LPCSTR windowName) {
    for (Window* t : TopLevels()) {
        if (className && strcasecmp(t->cls->name.c_str(), className) != 0) continue;
        if (windowName && t->text != windowName) continue;
        return t->handle;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return w && w->IsChild() ? static_cast<int>(w->id) : 0;
}

HWND GetDlgItem(HWND parent, int id) {
    Window* p = FromHandle(parent);
    if (!p) return nullptr;
    for (Window* c : p->children)
        if (c->id == id) return c->handle;
    return nullptr;
}

int GetWindowText(HWND hwnd, char* buffer, int size) {
    return static_cast<int>(SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd) { return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0)); }

BOOL SetWindowText(HWND hwnd, LPCSTR text) {
    return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}
