// The clipboard, with the Win32 calls the edits use.
//
// Where our semantics differ from the real API: CF_TEXT and CF_UNICODETEXT both carry UTF-8
// text ending in a zero byte; the clipboard is the backend's (the X CLIPBOARD selection, or the
// headless screen's), so other programs see what we copy.
#pragma once

#include "platform/types.h"

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT GMEM_MOVEABLE = 0x2;
constexpr UINT GMEM_ZEROINIT = 0x40;
using HGLOBAL = HANDLE;

HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
LPVOID GlobalLock(HGLOBAL memory);
BOOL GlobalUnlock(HGLOBAL memory);
std::size_t GlobalSize(HGLOBAL memory);
HGLOBAL GlobalFree(HGLOBAL memory);

BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
BOOL IsClipboardFormatAvailable(UINT format);
// Takes ownership of the memory (as the real call does on success).
HANDLE SetClipboardData(UINT format, HANDLE memory);
// The memory stays the clipboard's: valid until the clipboard is closed.
HANDLE GetClipboardData(UINT format);
