// Menus as data: popup menus, their items and states, and each window's system menu.
//
// Where our semantics differ from the real API: string items are UTF-8; keyboard input during
// the menu loop is read from the queue whatever window it was meant for, as the real menu loop
// does.
//
// Menu windows are as a painter that subclasses them expects from the real system: the class
// "#32768", a 3-pixel non-client border with the items in client coordinates inside it, the
// classic edge drawn on WM_NCPAINT and the background on WM_ERASEBKGND (both sent from
// BeginPaint through the window's current procedure, so a subclass that answers them replaces
// them), and WM_DRAWITEM's DC being the menu window's paint DC, not clipped to the item. A press
// outside every menu window ends the menu and then reaches the window under the pointer; a
// press on a menu window is the menu's. The owner given to TrackPopupMenu hears WM_INITMENU and
// WM_INITMENUPOPUP (high word of lParam TRUE for a window's system menu), and a system menu's
// choice comes back as a posted WM_SYSCOMMAND.
#pragma once

#include "platform/types.h"

constexpr UINT MF_BYCOMMAND = 0x0;
constexpr UINT MF_BYPOSITION = 0x400;
constexpr UINT MF_STRING = 0x0;
constexpr UINT MF_ENABLED = 0x0;
constexpr UINT MF_GRAYED = 0x1;
constexpr UINT MF_DISABLED = 0x2;
constexpr UINT MF_CHECKED = 0x8;
constexpr UINT MF_POPUP = 0x10;
constexpr UINT MF_DEFAULT = 0x1000;
constexpr UINT MF_SEPARATOR = 0x800;
constexpr UINT MF_UNCHECKED = 0x0;
constexpr UINT MF_OWNERDRAW = 0x100;
constexpr UINT MF_HILITE = 0x80;
constexpr UINT MF_SYSMENU = 0x2000;
constexpr UINT MFT_STRING = 0x0;
constexpr UINT MFT_OWNERDRAW = 0x100;
constexpr UINT MFT_RADIOCHECK = 0x200;
constexpr UINT MFT_SEPARATOR = 0x800;
constexpr UINT MFS_ENABLED = 0x0;
constexpr UINT MFS_GRAYED = 0x3;
constexpr UINT MFS_DISABLED = 0x3;
constexpr UINT MFS_CHECKED = 0x8;
constexpr UINT MFS_HILITE = 0x80;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

constexpr UINT MIIM_STATE = 0x1;
constexpr UINT MIIM_ID = 0x2;
constexpr UINT MIIM_SUBMENU = 0x4;
constexpr UINT MIIM_CHECKMARKS = 0x8;
constexpr UINT MIIM_TYPE = 0x10;
constexpr UINT MIIM_DATA = 0x20;
constexpr UINT MIIM_STRING = 0x40;
constexpr UINT MIIM_BITMAP = 0x80;
constexpr UINT MIIM_FTYPE = 0x100;

struct MENUITEMINFO {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPSTR dwTypeData;
    UINT cch;
    HBITMAP hbmpItem;
};
using MENUITEMINFOA = MENUITEMINFO;

// TrackPopupMenu(Ex)
constexpr UINT TPM_LEFTBUTTON = 0x0;
constexpr UINT TPM_RIGHTBUTTON = 0x2;
constexpr UINT TPM_LEFTALIGN = 0x0;
constexpr UINT TPM_CENTERALIGN = 0x4;
constexpr UINT TPM_RIGHTALIGN = 0x8;
constexpr UINT TPM_TOPALIGN = 0x0;
constexpr UINT TPM_VCENTERALIGN = 0x10;
constexpr UINT TPM_BOTTOMALIGN = 0x20;
constexpr UINT TPM_NONOTIFY = 0x80;
constexpr UINT TPM_RETURNCMD = 0x100;
constexpr UINT TPM_NOANIMATION = 0x4000;
struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
};

// Owner-drawn items (WM_MEASUREITEM, WM_DRAWITEM)
constexpr UINT ODT_MENU = 1;
constexpr UINT ODA_DRAWENTIRE = 0x1;
constexpr UINT ODA_SELECT = 0x2;
constexpr UINT ODA_FOCUS = 0x4;
constexpr UINT ODS_SELECTED = 0x1;
constexpr UINT ODS_GRAYED = 0x2;
constexpr UINT ODS_DISABLED = 0x4;
constexpr UINT ODS_CHECKED = 0x8;
constexpr UINT ODS_FOCUS = 0x10;
constexpr UINT ODS_DEFAULT = 0x20;
struct MEASUREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemWidth;
    UINT itemHeight;
    ULONG_PTR itemData;
};
struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
};
// WM_ENTERIDLE's wParam while a menu loop waits.
constexpr WPARAM MSGF_MENU = 2;

HMENU CreatePopupMenu();
HMENU CreateMenu();
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR text);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuString(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
HMENU GetSubMenu(HMENU menu, int position);
BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info);
BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFO* info);
BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info);
// Shows the menu at a screen point and runs the menu loop until an item is chosen or the menu
// is dismissed. With TPM_RETURNCMD the chosen command is returned (0 when none); otherwise
// WM_COMMAND is posted to the owner and the result is nonzero when an item was chosen.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* ignored);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);
// Ends the menu loop that runs now, as a click outside it would.
BOOL EndMenu();
// The symbol the system menu shows beside SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE or SC_CLOSE,
// centred in `rect` in `color`. Not in the real API: there these come from the "Webdings" or
// "Marlett" symbol font ('0', '1', '2' and 'r'), which does not exist here, so menu painters
// call this instead. The design fits a 13-pixel em and grows by whole multiples of it with the
// rectangle's height. FALSE, and nothing drawn, for any other command.
BOOL DrawMenuSymbol(HDC dc, const RECT* rect, UINT command, COLORREF color);
// The window's copy of the system menu (Restore, Move, Size, Minimize, Maximize, separator,
// Close), its items enabled as the window's style and state allow; revert drops the copy.
// A window that has had WS_SYSMENU keeps its menu when the style goes, as with the real system.
HMENU GetSystemMenu(HWND hwnd, BOOL revert);
