// The standard open and save dialogs.
//
// Where our semantics differ from the real API: the dialog is the desktop's own file chooser,
// run as a child program without a shell: kdialog on KDE, zenity elsewhere, the other one when
// the first is missing or fails to run. Choosers are only tried while a display is named
// (DISPLAY or WAYLAND_DISPLAY). While the chooser is open the owner is disabled and the
// message loop keeps running (timers fire, windows repaint); WM_ENTERIDLE goes to the owner.
// When no chooser can be run the call answers FALSE and CommDlgExtendedError() answers
// CDERR_INITIALIZATION, so the caller can offer a dialog of its own. The chosen filter is not
// reported back (nFilterIndex keeps its value); hooks, templates, multiple selection, the
// custom filter and the file title are not offered. No chooser gets the owner's X window, so
// the chooser is not stacked with it by the window manager.
#pragma once

#include "platform/types.h"

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_EXPLORER = 0x00080000;
constexpr DWORD OFN_ENABLESIZING = 0x00800000;

constexpr DWORD CDERR_INITIALIZATION = 0x0002;
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

struct OPENFILENAMEA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter;       // pairs of display text and pattern, each ended by a zero, then a zero
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;       // 1-based; 0 means the first
    LPSTR lpstrFile;          // in: the preset name; out: the full path chosen
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;        // null: the chooser's own title
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCSTR lpstrDefExt;
    LPARAM lCustData;
    void* lpfnHook;
    LPCSTR lpTemplateName;
};
using OPENFILENAME = OPENFILENAMEA;

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn);
BOOL GetSaveFileNameA(OPENFILENAMEA* ofn);
inline BOOL GetOpenFileName(OPENFILENAMEA* ofn) { return GetOpenFileNameA(ofn); }
inline BOOL GetSaveFileName(OPENFILENAMEA* ofn) { return GetSaveFileNameA(ofn); }
// The reason the last dialog call answered FALSE; 0 when the user cancelled.
DWORD CommDlgExtendedError();
