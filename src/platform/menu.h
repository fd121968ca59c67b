// Menus as data: popup menus, their items and states, and each window's system menu.
//
// Where our semantics differ from the real API: TrackPopupMenu in the standard look is not
// offered by the platform (the skinned menus draw their own); string items are UTF-8.
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
constexpr UINT MFS_GRAYED = 0x3;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

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
// The window's copy of the system menu (Restore, Move, Size, Minimize, Maximize, separator,
// Close), its items enabled as the window's style and state allow; revert drops the copy.
HMENU GetSystemMenu(HWND hwnd, BOOL revert);
