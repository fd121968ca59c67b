// Shell services: the notification-area (tray) icon.
//
// Where our semantics differ from the real API: the tray is the backend's (an XEmbed system
// tray on X11, an in-memory tray on the headless screen). Mouse messages reach the callback
// posted, like the real shell's; NIF_INFO balloons are not offered.
#pragma once

#include "platform/types.h"

constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 0x1;
constexpr UINT NIF_ICON = 0x2;
constexpr UINT NIF_TIP = 0x4;

struct NOTIFYICONDATAA {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    CHAR szTip[64];
};
using NOTIFYICONDATA = NOTIFYICONDATAA;

BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA* data);
inline BOOL Shell_NotifyIcon(DWORD message, NOTIFYICONDATAA* data) { return Shell_NotifyIconA(message, data); }

// The message the shell sends to every top-level window when a tray appears (again), so that
// programs can add their icons anew: RegisterWindowMessage("TaskbarCreated").
// Ours only: when the tray goes away and none takes its place, every top-level window gets
// RegisterWindowMessage("UtrozvonTrayLost"); the icons are gone, and a window hidden behind
// one must find another way back.

// Opens a web address with the desktop's default handler. Only http and https addresses
// without spaces or control characters are accepted (anything else answers 31, no handler).
// `xdg-open` gets the address as its single argument, stdin, stdout and stderr on /dev/null
// and none of our other descriptors; it is started without a shell through an intermediate
// child that exits at once, so it is never waited for. The verb, parameters and folder are
// ignored; the result is greater than 32 when the handler could be started.
HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, int show);

// Whether ShellExecuteA would hand the text to the opener.
bool IsOpenableWebAddress(const char* address);
