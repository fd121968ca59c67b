// The symbols of the system menu's items, drawn from small designs of our own: the real
// system takes them from a symbol font that does not exist here.
#include <algorithm>
#include <cstring>

#include "platform/gdi.h"
#include "platform/menu.h"
#include "platform/messages.h"

namespace {

// One row per string, '#' for an inked cell; the designs follow the symbol font's shapes at
// its 10-point size.
const char* const kMinimize[] = {"         ", "         ", "         ", "         ", "         ",
                                 "         ", "         ", " ######  ", " ######  ", nullptr};
const char* const kMaximize[] = {"#########", "#########", "#       #", "#       #", "#       #",
                                 "#       #", "#       #", "#       #", "#########", nullptr};
const char* const kRestore[] = {"  ######", "  ######", "  #    #", "###### #", "###### #",
                                "#    ###", "#    #  ", "#    #  ", "######  ", nullptr};
const char* const kClose[] = {"##    ##", " ##  ## ", "  ####  ", "   ##   ", "  ####  ", " ##  ## ", "##    ##", nullptr};

// The symbol font's em at 10 points.
constexpr int kDesignHeight = 13;

const char* const* DesignOf(UINT command) {
    switch (command & 0xFFF0) {
        case SC_MINIMIZE: return kMinimize;
        case SC_MAXIMIZE: return kMaximize;
        case SC_RESTORE: return kRestore;
        case SC_CLOSE: return kClose;
        default: return nullptr;
    }
}

SIZE DesignSize(const char* const* rows) {
    SIZE s{0, 0};
    for (; rows[s.cy]; ++s.cy) s.cx = std::max<LONG>(s.cx, static_cast<LONG>(std::strlen(rows[s.cy])));
    return s;
}

}  // namespace

BOOL DrawMenuSymbol(HDC dc, const RECT* rect, UINT command, COLORREF color) {
    const char* const* rows = DesignOf(command);
    if (!dc || !rect || !rows) return FALSE;
    int scale = std::max(1, static_cast<int>(rect->bottom - rect->top) / kDesignHeight);
    SIZE size = DesignSize(rows);
    int x0 = rect->left + (rect->right - rect->left - size.cx * scale) / 2;
    int y0 = rect->top + (rect->bottom - rect->top - size.cy * scale) / 2;
    HBRUSH brush = CreateSolidBrush(color);
    // Each run of inked cells in a row is one rectangle.
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; rows[y][x];) {
            if (rows[y][x] != '#') {
                ++x;
                continue;
            }
            int end = x;
            while (rows[y][end] == '#') ++end;
            RECT run{x0 + x * scale, y0 + y * scale, x0 + end * scale, y0 + (y + 1) * scale};
            FillRect(dc, &run, brush);
            x = end;
        }
    }
    DeleteObject(brush);
    return TRUE;
}
