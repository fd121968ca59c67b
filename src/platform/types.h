// Basic Win32-shaped types, handles and helper macros of the platform layer.
//
// Differences from the real API: strings are UTF-8 `const char*` throughout (there are no
// separate A and W variants); handles are opaque ids looked up in tables, so a stale handle is
// detected instead of dereferenced.
#pragma once

#include <cstddef>
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using BOOL = int;
using CHAR = char;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = DWORD;
using ATOM = WORD;
using LPVOID = void*;
using LPCSTR = const char*;
using LPSTR = char*;
using HRESULT = LONG;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

#define UTROZVON_DECLARE_HANDLE(name) \
    struct name##__;                  \
    using name = name##__*

UTROZVON_DECLARE_HANDLE(HWND);
UTROZVON_DECLARE_HANDLE(HDC);
UTROZVON_DECLARE_HANDLE(HINSTANCE);
UTROZVON_DECLARE_HANDLE(HICON);
UTROZVON_DECLARE_HANDLE(HMENU);
UTROZVON_DECLARE_HANDLE(HBRUSH);
UTROZVON_DECLARE_HANDLE(HPEN);
UTROZVON_DECLARE_HANDLE(HFONT);
UTROZVON_DECLARE_HANDLE(HBITMAP);
UTROZVON_DECLARE_HANDLE(HRGN);
UTROZVON_DECLARE_HANDLE(HHOOK);
UTROZVON_DECLARE_HANDLE(HMONITOR);
using HCURSOR = HICON;
using HMODULE = HINSTANCE;
using HGDIOBJ = void*;
using HANDLE = void*;

struct POINT {
    LONG x;
    LONG y;
};
struct SIZE {
    LONG cx;
    LONG cy;
};
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;
using LPPOINT = POINT*;
struct POINTS {
    SHORT x;
    SHORT y;
};

constexpr WORD LOWORD(DWORD_PTR v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(DWORD_PTR v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr BYTE LOBYTE(DWORD_PTR v) { return static_cast<BYTE>(v & 0xFF); }
constexpr BYTE HIBYTE(DWORD_PTR v) { return static_cast<BYTE>((v >> 8) & 0xFF); }
constexpr DWORD MAKELONG(WORD lo, WORD hi) {
    return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16);
}
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return MAKELONG(lo, hi); }
// Like the real macro, the high word lands in bits 16..31 of a 32-bit value, then the value is
// sign-extended so that negative coordinates survive GET_X/Y_LPARAM.
constexpr LPARAM MAKELPARAM(int lo, int hi) {
    return static_cast<LPARAM>(static_cast<std::int32_t>(MAKELONG(static_cast<WORD>(lo), static_cast<WORD>(hi))));
}
constexpr LRESULT MAKELRESULT(int lo, int hi) { return MAKELPARAM(lo, hi); }
constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lp))); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(lp))); }
constexpr short GET_WHEEL_DELTA_WPARAM(WPARAM wp) { return static_cast<short>(HIWORD(wp)); }

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

