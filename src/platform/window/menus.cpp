// Menus as data, and the system menu with the item states of the window it belongs to.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/menu.h"
#include "platform/window/window_system.h"

namespace platform::win {
namespace {

struct MenuItem {
    UINT flags = 0;
    UINT_PTR id = 0;
    std::string text;
    HMENU submenu = nullptr;
    ULONG_PTR data = 0;
};

struct Menu {
    std::vector<MenuItem> items;
};

struct Menus {
    std::map<std::uintptr_t, std::unique_ptr<Menu>> menus;
    std::map<HWND, HMENU> systemMenus;
    std::uintptr_t next = 0x30000;
};

Menus& M() {
    static Menus m;
    return m;
}

Menu* Find(HMENU h) {
    auto it = M().menus.find(reinterpret_cast<std::uintptr_t>(h));
    return it == M().menus.end() ? nullptr : it->second.get();
}

HMENU NewMenu() {
    std::uintptr_t id = M().next;
    M().next += 4;
    M().menus.emplace(id, std::make_unique<Menu>());
    return reinterpret_cast<HMENU>(id);
}

// The item an (item, MF_BYCOMMAND / MF_BYPOSITION) pair names, or null.
MenuItem* Item(Menu* m, UINT item, UINT flags) {
    if (!m) return nullptr;
    if (flags & MF_BYPOSITION) return item < m->items.size() ? &m->items[item] : nullptr;
    for (MenuItem& i : m->items)
        if (!(i.flags & MF_SEPARATOR) && i.id == item) return &i;
    return nullptr;
}

MenuItem MakeItem(UINT flags, UINT_PTR id, LPCSTR text) {
    MenuItem i;
    i.flags = flags & ~MF_BYPOSITION;
    if (flags & MF_POPUP) i.submenu = reinterpret_cast<HMENU>(id);
    else i.id = id;
    if (text && !(flags & MF_SEPARATOR)) i.text = text;
    return i;
}

void BuildSystemMenu(HMENU menu) {
    AppendMenu(menu, MF_STRING, SC_RESTORE, "&Restore");
    AppendMenu(menu, MF_STRING, SC_MOVE, "&Move");
    AppendMenu(menu, MF_STRING, SC_SIZE, "&Size");
    AppendMenu(menu, MF_STRING, SC_MINIMIZE, "Mi&nimize");
    AppendMenu(menu, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
    AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenu(menu, MF_STRING | MF_DEFAULT, SC_CLOSE, "&Close\tAlt+F4");
}

// Enables what the window's style and state allow, as the real system does each time the
// menu is asked for.
void RefreshSystemMenu(Window* w, HMENU menu) {
    bool sizable = (w->style & WS_THICKFRAME) != 0;
    bool normal = !w->minimized && !w->maximized;
    auto set = [menu](UINT id, bool on) { EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    set(SC_RESTORE, !normal);
    set(SC_MOVE, !w->maximized);
    set(SC_SIZE, sizable && normal);
    set(SC_MINIMIZE, (w->style & WS_MINIMIZEBOX) && !w->minimized);
    set(SC_MAXIMIZE, (w->style & WS_MAXIMIZEBOX) && !w->maximized);
    set(SC_CLOSE, !(w->cls->style & CS_NOCLOSE));
}

}  // namespace

void ForgetSystemMenu(HWND hwnd) {
    auto it = M().systemMenus.find(hwnd);
    if (it == M().systemMenus.end()) return;
    DestroyMenu(it->second);
    M().systemMenus.erase(it);
}

}  // namespace platform::win

using namespace platform::win;

HMENU CreatePopupMenu() { return NewMenu(); }
HMENU CreateMenu() { return NewMenu(); }

BOOL DestroyMenu(HMENU menu) {
    Menu* m = Find(menu);
    if (!m) return FALSE;
    std::vector<HMENU> subs;
    for (const MenuItem& i : m->items)
        if (i.submenu) subs.push_back(i.submenu);
    M().menus.erase(reinterpret_cast<std::uintptr_t>(menu));
    for (HMENU s : subs) DestroyMenu(s);
    return TRUE;
}

BOOL IsMenu(HMENU menu) { return Find(menu) != nullptr; }

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
    Menu* m = Find(menu);
    if (!m) return FALSE;
    m->items.push_back(MakeItem(flags, id, text));
    return TRUE;
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR text) {
    Menu* m = Find(menu);
    if (!m) return FALSE;
    std::size_t at = m->items.size();
    if (flags & MF_BYPOSITION) {
        at = std::min<std::size_t>(position, m->items.size());
    } else if (MenuItem* before = Item(m, position, MF_BYCOMMAND)) {
        at = static_cast<std::size_t>(before - m->items.data());
    }
    m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at), MakeItem(flags, id, text));
    return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
    Menu* m = Find(menu);
    MenuItem* item = Item(m, position, flags);
    if (!item) return FALSE;
    m->items.erase(m->items.begin() + (item - m->items.data()));
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    MenuItem* item = Item(Find(menu), position, flags);
    if (!item) return FALSE;
    HMENU sub = item->submenu;
    RemoveMenu(menu, position, flags);
    if (sub) DestroyMenu(sub);
    return TRUE;
}

int GetMenuItemCount(HMENU menu) {
    Menu* m = Find(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    Menu* m = Find(menu);
    if (!m || position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return static_cast<UINT>(-1);
    const MenuItem& i = m->items[position];
    return i.submenu ? static_cast<UINT>(-1) : static_cast<UINT>(i.id);
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    MenuItem* i = Item(Find(menu), item, flags);
    if (!i) return static_cast<UINT>(-1);
    return i->flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_POPUP | MF_DEFAULT);
}

int GetMenuString(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags) {
    MenuItem* i = Item(Find(menu), item, flags);
    if (!i) return 0;
    if (!buffer || size <= 0) return static_cast<int>(i->text.size());
    int n = std::min<int>(size - 1, static_cast<int>(i->text.size()));
    std::memcpy(buffer, i->text.data(), static_cast<std::size_t>(n));
    buffer[n] = 0;
    return n;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    MenuItem* i = Item(Find(menu), item, enable & MF_BYPOSITION);
    if (!i) return -1;
    UINT old = i->flags & (MF_GRAYED | MF_DISABLED);
    i->flags = (i->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return static_cast<BOOL>(old);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    MenuItem* i = Item(Find(menu), item, check & MF_BYPOSITION);
    if (!i) return static_cast<DWORD>(-1);
    DWORD old = i->flags & MF_CHECKED;
    i->flags = (i->flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return old;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
    Menu* m = Find(menu);
    if (!m) return FALSE;
    for (MenuItem& i : m->items) i.flags &= ~MF_DEFAULT;
    if (item == static_cast<UINT>(-1)) return TRUE;
    MenuItem* i = Item(m, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!i) return FALSE;
    i->flags |= MF_DEFAULT;
    return TRUE;
}

HMENU GetSubMenu(HMENU menu, int position) {
    Menu* m = Find(menu);
    if (!m || position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return nullptr;
    return m->items[position].submenu;
}

namespace {
void ApplyItemInfo(MenuItem& i, const MENUITEMINFO* info) {
    constexpr UINT kTypeBits = MF_SEPARATOR | MF_OWNERDRAW | MFT_RADIOCHECK;
    constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;
    if (info->fMask & (MIIM_FTYPE | MIIM_TYPE)) i.flags = (i.flags & ~kTypeBits) | (info->fType & kTypeBits);
    if (info->fMask & MIIM_STATE) i.flags = (i.flags & ~kStateBits) | (info->fState & kStateBits);
    if (info->fMask & MIIM_ID) i.id = info->wID;
    if (info->fMask & MIIM_SUBMENU) {
        i.submenu = info->hSubMenu;
        i.flags = i.submenu ? (i.flags | MF_POPUP) : (i.flags & ~MF_POPUP);
    }
    if (info->fMask & MIIM_DATA) i.data = info->dwItemData;
    bool stringType = (info->fMask & MIIM_TYPE) && !(info->fType & (MF_SEPARATOR | MF_OWNERDRAW));
    if ((info->fMask & MIIM_STRING) || stringType) i.text = info->dwTypeData ? info->dwTypeData : "";
}
}  // namespace

BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info) {
    Menu* m = Find(menu);
    if (!m || !info) return FALSE;
    std::size_t at = m->items.size();
    if (byPosition) at = std::min<std::size_t>(item, m->items.size());
    else if (MenuItem* before = Item(m, item, MF_BYCOMMAND)) at = static_cast<std::size_t>(before - m->items.data());
    MenuItem fresh;
    ApplyItemInfo(fresh, info);
    m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at), fresh);
    return TRUE;
}

BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info) {
    MenuItem* i = Item(Find(menu), item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!i || !info) return FALSE;
    ApplyItemInfo(*i, info);
    return TRUE;
}

BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFO* info) {
    MenuItem* i = Item(Find(menu), item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!i || !info) return FALSE;
    if (info->fMask & (MIIM_FTYPE | MIIM_TYPE)) info->fType = i->flags & (MF_SEPARATOR | MF_OWNERDRAW | MFT_RADIOCHECK);
    if (info->fMask & MIIM_STATE)
        info->fState = i->flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
    if (info->fMask & MIIM_ID) info->wID = static_cast<UINT>(i->id);
    if (info->fMask & MIIM_SUBMENU) info->hSubMenu = i->submenu;
    if (info->fMask & MIIM_DATA) info->dwItemData = i->data;
    if (info->fMask & (MIIM_STRING | MIIM_TYPE)) {
        if (info->dwTypeData && info->cch > 0) {
            std::size_t n = std::min<std::size_t>(info->cch - 1, i->text.size());
            std::memcpy(info->dwTypeData, i->text.data(), n);
            info->dwTypeData[n] = 0;
            info->cch = static_cast<UINT>(n);
        } else {
            info->cch = static_cast<UINT>(i->text.size());
        }
    }
    return TRUE;
}

// As with the real system, a window that loses WS_SYSMENU keeps its system menu (a skinned
// frame that draws its own buttons still builds its menu from it); a window that never had
// the style has none.
HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
    Window* w = FromHandle(hwnd);
    if (!w || !(w->hadSysMenu || (w->style & WS_SYSMENU))) return nullptr;
    auto& menus = M().systemMenus;
    if (revert) {
        ForgetSystemMenu(hwnd);
        return nullptr;
    }
    auto it = menus.find(hwnd);
    if (it == menus.end() || !IsMenu(it->second)) {
        HMENU menu = CreatePopupMenu();
        BuildSystemMenu(menu);
        it = menus.insert_or_assign(hwnd, menu).first;
    }
    RefreshSystemMenu(w, it->second);
    return it->second;
}
