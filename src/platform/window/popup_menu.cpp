// TrackPopupMenu and the system menu: menu windows of the class "#32768", their layout and
// classic drawing, and the modal menu loop (mouse, keyboard, mnemonics, submenus, dismissal).
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/gdi_text.h"
#include "platform/menu.h"
#include "platform/window.h"
#include "platform/window/window_system.h"

namespace {

struct ItemGeometry {
    UINT type = 0;
    UINT state = 0;
    UINT id = 0;
    HMENU submenu = nullptr;
    ULONG_PTR data = 0;
    std::string text;
    RECT rect{};
    bool Separator() const { return (type & MFT_SEPARATOR) != 0; }
    bool Grayed() const { return (state & MFS_GRAYED) != 0; }
};

struct Level {
    HMENU menu = nullptr;
    HWND hwnd = nullptr;
    std::vector<ItemGeometry> items;
    int hot = -1;
};

struct Tracker {
    HWND owner = nullptr;
    UINT flags = 0;
    bool systemMenu = false;
    std::vector<Level> levels;
    bool done = false;
    UINT chosen = 0;
    POINT chosenAt{};
    HFONT font = nullptr;
    // A press outside every menu ends the loop and is handed on to the window beneath.
    bool passPressOn = false;
    platform::BackendEvent press;
};

Tracker* g_tracker = nullptr;
// The menu window's non-client border; items are laid out in client coordinates inside it.
constexpr int kFrame = 3;
constexpr const char* kMenuClass = "#32768";

Level* LevelOf(HWND hwnd) {
    if (!g_tracker) return nullptr;
    for (Level& l : g_tracker->levels)
        if (l.hwnd == hwnd) return &l;
    return nullptr;
}

std::string Label(const std::string& text) { return text.substr(0, text.find('\t')); }
std::string Shortcut(const std::string& text) {
    auto tab = text.find('\t');
    return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

void DrawCheck(HDC dc, const RECT& r, COLORREF color) {
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old = SelectObject(dc, pen);
    int x = r.left + 4, y = (r.top + r.bottom) / 2 - 1;
    for (int k = 0; k < 3; ++k) {
        MoveToEx(dc, x, y + k, nullptr);
        LineTo(dc, x + 2, y + 2 + k);
        LineTo(dc, x + 7, y - 3 + k);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

void DrawArrow(HDC dc, const RECT& r, COLORREF color) {
    int cx = r.right - 10, cy = (r.top + r.bottom) / 2;
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old = SelectObject(dc, pen);
    for (int k = 0; k < 4; ++k) {
        MoveToEx(dc, cx + k, cy - 3 + k, nullptr);
        LineTo(dc, cx + k, cy + 4 - k);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

void DrawClassicItem(HDC dc, const ItemGeometry& item, bool hot) {
    RECT r = item.rect;
    if (item.Separator()) {
        RECT line{r.left, (r.top + r.bottom) / 2 - 1, r.right, (r.top + r.bottom) / 2 + 1};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    FillRect(dc, &r, GetSysColorBrush(hot ? COLOR_HIGHLIGHT : COLOR_MENU));
    COLORREF text = GetSysColor(hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    SetBkMode(dc, TRANSPARENT);
    RECT label = r;
    label.left += GetSystemMetrics(SM_CXMENUCHECK) + 6;
    label.right -= 16;
    auto write = [&](COLORREF color, int dx) {
        SetTextColor(dc, color);
        RECT a = label, b = label;
        OffsetRect(&a, dx, dx);
        OffsetRect(&b, dx, dx);
        std::string l = Label(item.text), s = Shortcut(item.text);
        DrawText(dc, l.c_str(), static_cast<int>(l.size()), &a, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (!s.empty()) DrawText(dc, s.c_str(), static_cast<int>(s.size()), &b, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    };
    if (item.Grayed()) {
        if (!hot) write(GetSysColor(COLOR_BTNHIGHLIGHT), 1);
        write(GetSysColor(COLOR_GRAYTEXT), 0);
    } else {
        write(text, 0);
    }
    if (item.state & MFS_CHECKED) DrawCheck(dc, r, item.Grayed() ? GetSysColor(COLOR_GRAYTEXT) : text);
    if (g_tracker->systemMenu) {
        RECT symbol{r.left, r.top, r.left + GetSystemMetrics(SM_CXMENUCHECK) + 4, r.bottom};
        DrawMenuSymbol(dc, &symbol, item.id, item.Grayed() ? GetSysColor(COLOR_GRAYTEXT) : text);
    }
    if (item.submenu) DrawArrow(dc, r, text);
}

void DrawOwnerDrawnItem(HDC dc, const Level& level, const ItemGeometry& item, bool hot) {
    DRAWITEMSTRUCT dis{ODT_MENU, 0, item.id, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(level.menu), dc,
                       item.rect, item.data};
    if (hot) dis.itemState |= ODS_SELECTED;
    if (item.Grayed()) dis.itemState |= ODS_GRAYED | ODS_DISABLED;
    if (item.state & MFS_CHECKED) dis.itemState |= ODS_CHECKED;
    if (item.state & MFS_DEFAULT) dis.itemState |= ODS_DEFAULT;
    // As with the real system the DC is not clipped to the item: a painter may fill the gaps
    // between and below its items while it draws one.
    SendMessage(g_tracker->owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
}

// BeginPaint sends WM_NCPAINT and WM_ERASEBKGND through the window's procedure, so a subclass
// that answers them replaces the classic edge and background.
void PaintLevel(Level& level) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(level.hwnd, &ps);
    HGDIOBJ oldFont = SelectObject(dc, g_tracker->font);
    for (size_t i = 0; i < level.items.size(); ++i) {
        const ItemGeometry& item = level.items[i];
        bool hot = static_cast<int>(i) == level.hot;
        if (item.type & MFT_OWNERDRAW) DrawOwnerDrawnItem(dc, level, item, hot);
        else DrawClassicItem(dc, item, hot);
    }
    SelectObject(dc, oldFont);
    EndPaint(level.hwnd, &ps);
}

void PaintMenuEdge(HWND hwnd) {
    HDC dc = GetWindowDC(hwnd);
    RECT r{};
    GetWindowRect(hwnd, &r);
    OffsetRect(&r, -r.left, -r.top);
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    for (int ring = 2; ring < kFrame; ++ring) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_MENU));
        InflateRect(&r, -1, -1);
    }
    ReleaseDC(hwnd, dc);
}

LRESULT MenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCCALCSIZE: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        InflateRect(r, -kFrame, -kFrame);
        return 0;
    }
    case WM_NCPAINT: PaintMenuEdge(hwnd); return 0;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_MENU));
        return 1;
    }
    case WM_PAINT:
        if (Level* l = LevelOf(hwnd)) PaintLevel(*l);
        else ValidateRect(hwnd, nullptr);
        return 0;
    case WM_NCHITTEST: return HTCLIENT;  // the border belongs to the menu too
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

void RegisterMenuClass() {
    static bool done = false;
    if (done) return;
    WNDCLASS wc{};
    wc.style = CS_SAVEBITS | CS_DROPSHADOW;
    wc.lpfnWndProc = &MenuWindowProc;
    wc.lpszClassName = kMenuClass;
    RegisterClass(&wc);
    done = true;
}

SIZE MeasureItems(Level& level) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, g_tracker->font);
    int width = 0, labelWidth = 0, shortcutWidth = 0, y = 0;
    std::vector<int> heights;
    for (ItemGeometry& item : level.items) {
        int w = 0, h = 0;
        if (item.type & MFT_OWNERDRAW) {
            MEASUREITEMSTRUCT mis{ODT_MENU, 0, item.id, 0, 0, item.data};
            SendMessage(g_tracker->owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
            w = static_cast<int>(mis.itemWidth) + 12;
            h = static_cast<int>(mis.itemHeight);
        } else if (item.Separator()) {
            h = 9;
        } else {
            SIZE l{}, s{};
            std::string label = Label(item.text), shortcut = Shortcut(item.text);
            RECT calc{0, 0, 0, 0};
            DrawText(dc, label.c_str(), static_cast<int>(label.size()), &calc, DT_SINGLELINE | DT_CALCRECT);
            l.cx = calc.right;
            l.cy = calc.bottom;
            if (!shortcut.empty()) GetTextExtentPoint32(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &s);
            labelWidth = std::max<int>(labelWidth, l.cx);
            shortcutWidth = std::max<int>(shortcutWidth, s.cx);
            h = std::max<int>(GetSystemMetrics(SM_CYMENU) - 2, static_cast<int>(l.cy) + 4);
        }
        width = std::max(width, w);
        heights.push_back(h);
    }
    int textWidth = GetSystemMetrics(SM_CXMENUCHECK) + 6 + labelWidth + (shortcutWidth ? shortcutWidth + 16 : 0) + 22;
    width = std::max(width, textWidth);
    for (size_t i = 0; i < level.items.size(); ++i) {
        level.items[i].rect = RECT{0, y, width, y + heights[i]};
        y += heights[i];
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return SIZE{width + 2 * kFrame, y + 2 * kFrame};
}

void ReadItems(Level& level) {
    int count = GetMenuItemCount(level.menu);
    for (int i = 0; i < count; ++i) {
        char buffer[512] = {};
        MENUITEMINFO info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
        info.dwTypeData = buffer;
        info.cch = sizeof buffer;
        GetMenuItemInfo(level.menu, static_cast<UINT>(i), TRUE, &info);
        ItemGeometry item;
        item.type = info.fType;
        item.state = info.fState;
        item.id = info.wID;
        item.submenu = info.hSubMenu;
        item.data = info.dwItemData;
        item.text = buffer;
        level.items.push_back(item);
    }
}

void OpenLevel(HMENU menu, POINT at, UINT flags, const RECT* besideItem) {
    if (!(g_tracker->flags & TPM_NONOTIFY)) {
        bool system = g_tracker->systemMenu && g_tracker->levels.empty();
        SendMessage(g_tracker->owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                    MAKELPARAM(static_cast<int>(g_tracker->levels.size()), system ? TRUE : FALSE));
    }
    Level level;
    level.menu = menu;
    ReadItems(level);
    SIZE size = MeasureItems(level);
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    int x = at.x, y = at.y;
    if (flags & TPM_RIGHTALIGN) x -= size.cx;
    else if (flags & TPM_CENTERALIGN) x -= size.cx / 2;
    if (flags & TPM_BOTTOMALIGN) y -= size.cy;
    else if (flags & TPM_VCENTERALIGN) y -= size.cy / 2;
    if (x + size.cx > sw) x = besideItem ? besideItem->left - size.cx : sw - size.cx;
    if (y + size.cy > sh) y = besideItem ? besideItem->bottom - size.cy : y - size.cy;
    x = std::max(0, x);
    y = std::max(0, y);
    level.hwnd = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kMenuClass, "", WS_POPUP, x, y,
                                size.cx, size.cy, g_tracker->owner, nullptr, nullptr, nullptr);
    g_tracker->levels.push_back(level);
    ShowWindow(level.hwnd, SW_SHOWNOACTIVATE);
}

void CloseLevelsAfter(size_t keep) {
    while (g_tracker->levels.size() > keep) {
        DestroyWindow(g_tracker->levels.back().hwnd);
        g_tracker->levels.pop_back();
    }
}

void SetHot(Level& level, int index) {
    if (level.hot == index) return;
    level.hot = index;
    InvalidateRect(level.hwnd, nullptr, FALSE);
    if (g_tracker->flags & TPM_NONOTIFY) return;
    if (index < 0) return;
    const ItemGeometry& item = level.items[static_cast<size_t>(index)];
    UINT f = MF_HILITE | (item.submenu ? MF_POPUP : 0) | (item.Grayed() ? MF_GRAYED : 0) |
             (item.type & MFT_OWNERDRAW ? MF_OWNERDRAW : 0) | (g_tracker->systemMenu ? MF_SYSMENU : 0);
    WPARAM idOrPos = item.submenu ? static_cast<WPARAM>(index) : item.id;
    SendMessage(g_tracker->owner, WM_MENUSELECT, MAKEWPARAM(static_cast<int>(idOrPos), static_cast<int>(f)),
                reinterpret_cast<LPARAM>(level.menu));
}

void OpenSubmenu(size_t levelIndex, bool selectFirst) {
    Level& level = g_tracker->levels[levelIndex];
    if (level.hot < 0) return;
    const ItemGeometry& item = level.items[static_cast<size_t>(level.hot)];
    if (!item.submenu || item.Grayed()) return;
    CloseLevelsAfter(levelIndex + 1);
    RECT r = item.rect;
    MapWindowPoints(level.hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    OpenLevel(item.submenu, POINT{r.right - 2, r.top - kFrame}, 0, &r);
    if (selectFirst) {
        Level& sub = g_tracker->levels.back();
        for (size_t i = 0; i < sub.items.size(); ++i)
            if (!sub.items[i].Separator()) {
                SetHot(sub, static_cast<int>(i));
                break;
            }
    }
}

void Choose(size_t levelIndex) {
    Level& level = g_tracker->levels[levelIndex];
    if (level.hot < 0) return;
    const ItemGeometry& item = level.items[static_cast<size_t>(level.hot)];
    if (item.Separator() || item.Grayed()) return;
    if (item.submenu) {
        OpenSubmenu(levelIndex, true);
        return;
    }
    g_tracker->chosen = item.id;
    GetCursorPos(&g_tracker->chosenAt);
    g_tracker->done = true;
}

// The level and item under a screen point; false when the point is outside every menu.
bool HitTest(POINT screen, size_t& levelIndex, int& item) {
    for (size_t li = g_tracker->levels.size(); li-- > 0;) {
        Level& l = g_tracker->levels[li];
        RECT wr{};
        GetWindowRect(l.hwnd, &wr);
        if (!PtInRect(&wr, screen)) continue;
        levelIndex = li;
        item = -1;
        POINT p = screen;
        ScreenToClient(l.hwnd, &p);
        for (size_t i = 0; i < l.items.size(); ++i)
            if (PtInRect(&l.items[i].rect, p)) item = static_cast<int>(i);
        return true;
    }
    return false;
}

platform::MouseButton ButtonOf(UINT message) {
    switch (message) {
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: return platform::MouseButton::Right;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: return platform::MouseButton::Middle;
    default: return platform::MouseButton::Left;
    }
}

// As with the real system the press that closes the menu is not eaten: once the menu is gone
// it reaches the window under the pointer, so a click elsewhere acts there at once.
void EndByPressOutside(const MSG& msg, POINT screen) {
    g_tracker->done = true;
    g_tracker->passPressOn = true;
    g_tracker->press.kind = platform::EventKind::ButtonPress;
    g_tracker->press.button = ButtonOf(msg.message);
    g_tracker->press.screen = screen;
    g_tracker->press.time = msg.time;
}

void HandleMouse(const MSG& msg) {
    POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    ClientToScreen(msg.hwnd, &p);
    size_t li = 0;
    int item = -1;
    bool inside = HitTest(p, li, item);
    switch (msg.message) {
    case WM_MOUSEMOVE:
        if (!inside) return;
        if (item >= 0 && g_tracker->levels[li].items[static_cast<size_t>(item)].Separator()) item = -1;
        SetHot(g_tracker->levels[li], item);
        if (item >= 0 && g_tracker->levels[li].items[static_cast<size_t>(item)].submenu) OpenSubmenu(li, false);
        else CloseLevelsAfter(li + 1);
        return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        if (!inside) EndByPressOutside(msg, p);
        return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (msg.message == WM_RBUTTONUP && !(g_tracker->flags & TPM_RIGHTBUTTON)) return;
        if (inside && item >= 0) {
            SetHot(g_tracker->levels[li], item);
            Choose(li);
        }
        return;
    default: return;
    }
}

void MoveHot(Level& level, int step) {
    int n = static_cast<int>(level.items.size());
    if (n == 0) return;
    int i = level.hot;
    for (int k = 0; k < n; ++k) {
        i = i < 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
        if (!level.items[static_cast<size_t>(i)].Separator()) {
            SetHot(level, i);
            return;
        }
    }
}

char32_t Lower(char32_t c) {
    if (c < 128) return static_cast<char32_t>(std::tolower(static_cast<int>(c)));
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c == 0x401) return 0x451;
    return c;
}

// The character after the first single '&' of a label, decoded from UTF-8; 0 when none.
char32_t Mnemonic(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        auto b = static_cast<unsigned char>(text[i + 1]);
        if (b < 0x80) return b;
        if ((b & 0xE0) == 0xC0 && i + 2 < text.size())
            return static_cast<char32_t>(((b & 0x1F) << 6) | (static_cast<unsigned char>(text[i + 2]) & 0x3F));
        return 0;
    }
    return 0;
}

void HandleChar(char32_t ch) {
    size_t li = g_tracker->levels.size() - 1;
    Level& level = g_tracker->levels[li];
    std::vector<int> matches;
    for (size_t i = 0; i < level.items.size(); ++i) {
        char32_t m = Mnemonic(level.items[i].text);
        if (m && Lower(m) == Lower(ch)) matches.push_back(static_cast<int>(i));
    }
    if (matches.empty()) {
        MessageBeep(0);
        return;
    }
    if (matches.size() == 1) {
        SetHot(level, matches[0]);
        Choose(li);
        return;
    }
    auto next = std::upper_bound(matches.begin(), matches.end(), level.hot);
    SetHot(level, next == matches.end() ? matches[0] : *next);
}

void HandleKey(WPARAM key) {
    size_t li = g_tracker->levels.size() - 1;
    Level& level = g_tracker->levels[li];
    switch (key) {
    case VK_ESCAPE:
        if (li > 0) CloseLevelsAfter(li);
        else g_tracker->done = true;
        return;
    case VK_UP: MoveHot(level, -1); return;
    case VK_DOWN: MoveHot(level, 1); return;
    case VK_RIGHT: OpenSubmenu(li, true); return;
    case VK_LEFT:
        if (li > 0) CloseLevelsAfter(li);
        return;
    case VK_RETURN: Choose(li); return;
    case VK_MENU:
    case VK_F10: g_tracker->done = true; return;
    default: return;
    }
}

bool IsMouse(UINT m) { return m >= WM_MOUSEFIRST && m <= WM_MOUSELAST; }

void RunLoop() {
    while (!g_tracker->done) {
        MSG msg{};
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            SendMessage(g_tracker->owner, WM_ENTERIDLE, MSGF_MENU,
                        reinterpret_cast<LPARAM>(g_tracker->levels.front().hwnd));
            if (!g_tracker->done) WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (IsMouse(msg.message)) HandleMouse(msg);
        else if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            TranslateMessage(&msg);
            HandleKey(msg.wParam);
        } else if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
            HandleChar(static_cast<char32_t>(msg.wParam));
        } else if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) {
        } else {
            DispatchMessage(&msg);
        }
        if (!g_tracker->done && GetCapture() != g_tracker->levels.front().hwnd) g_tracker->done = true;
    }
}

UINT RunMenu(HMENU menu, UINT flags, POINT at, HWND owner, bool systemMenu) {
    RegisterMenuClass();
    Tracker tracker;
    tracker.owner = owner;
    tracker.flags = flags;
    tracker.systemMenu = systemMenu;
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    tracker.font = CreateFontIndirect(&metrics.lfMenuFont);
    g_tracker = &tracker;
    if (!(flags & TPM_NONOTIFY)) {
        SendMessage(owner, WM_ENTERMENULOOP, systemMenu ? FALSE : TRUE, 0);
        SendMessage(owner, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    }
    OpenLevel(menu, at, flags, nullptr);
    SetCapture(tracker.levels.front().hwnd);
    RunLoop();
    if (GetCapture() == tracker.levels.front().hwnd) ReleaseCapture();
    CloseLevelsAfter(0);
    if (!(flags & TPM_NONOTIFY)) {
        SendMessage(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessage(owner, WM_EXITMENULOOP, systemMenu ? FALSE : TRUE, 0);
    }
    g_tracker = nullptr;
    DeleteObject(tracker.font);
    if (tracker.passPressOn) platform::win::QueueRawEventFirst(tracker.press);
    if (flags & TPM_RETURNCMD) return tracker.chosen;
    if (!tracker.chosen) return 0;
    if (systemMenu)
        PostMessage(owner, WM_SYSCOMMAND, tracker.chosen, MAKELPARAM(tracker.chosenAt.x, tracker.chosenAt.y));
    else
        PostMessage(owner, WM_COMMAND, tracker.chosen, 0);
    return tracker.chosen;
}

}  // namespace

namespace platform::win {

void TrackSystemMenu(HWND hwnd, POINT at) {
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (!menu || g_tracker) return;
    RunMenu(menu, TPM_LEFTBUTTON | TPM_RIGHTBUTTON, at, hwnd, true);
}

}  // namespace platform::win

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS*) {
    if (!IsMenu(menu) || g_tracker) return FALSE;
    UINT chosen = RunMenu(menu, flags, POINT{x, y}, owner, false);
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    return chosen ? TRUE : FALSE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
    if (!g_tracker) return FALSE;
    g_tracker->done = true;
    PostMessage(nullptr, WM_NULL, 0, 0);
    return TRUE;
}
