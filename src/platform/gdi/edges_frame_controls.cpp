// DrawEdge, DrawFocusRect and DrawFrameControl in the classic look. The glyphs are drawn
// with our own pixel code, scaled to the control's size.
#include <algorithm>

#include "platform/gdi.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi_types.h"

namespace platform::gdi {
namespace {

void Fill(HDC dc, int l, int t, int r, int b, int sysColor) {
    RECT rc{l, t, r, b};
    FillRect(dc, &rc, GetSysColorBrush(sysColor));
}

// One ring of an edge: top and left in one colour, bottom and right in another.
void Ring(HDC dc, const RECT& r, UINT sides, int topLeft, int bottomRight) {
    if (sides & BF_TOP) Fill(dc, r.left, r.top, r.right, r.top + 1, topLeft);
    if (sides & BF_LEFT) Fill(dc, r.left, r.top, r.left + 1, r.bottom, topLeft);
    if (sides & BF_BOTTOM) Fill(dc, r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
    if (sides & BF_RIGHT) Fill(dc, r.right - 1, r.top, r.right, r.bottom, bottomRight);
}

void Shrink(RECT& r, UINT sides) {
    if (sides & BF_LEFT) ++r.left;
    if (sides & BF_TOP) ++r.top;
    if (sides & BF_RIGHT) --r.right;
    if (sides & BF_BOTTOM) --r.bottom;
}

// A glyph drawn as filled cells of a small design grid, centred in r.
void Glyph(HDC dc, const RECT& r, const char* const* rows, int sysColor, int dx = 0, int dy = 0) {
    int h = 0, w = 0;
    while (rows[h]) w = std::max<int>(w, static_cast<int>(std::char_traits<char>::length(rows[h]))), ++h;
    int x0 = r.left + (r.right - r.left - w) / 2 + dx, y0 = r.top + (r.bottom - r.top - h) / 2 + dy;
    for (int y = 0; y < h; ++y)
        for (int x = 0; rows[y][x]; ++x)
            if (rows[y][x] == '#') Fill(dc, x0 + x, y0 + y, x0 + x + 1, y0 + y + 1, sysColor);
}

const char* const kClose[] = {"##    ##", " ##  ## ", "  ####  ", "   ##   ", "  ####  ", " ##  ## ", "##    ##", nullptr};
const char* const kMinimize[] = {"      ", "      ", "      ", "      ", "      ", "######", "######", nullptr};
const char* const kMaximize[] = {"#########", "#########", "#       #", "#       #", "#       #",
                                 "#       #", "#       #", "#       #", "#########", nullptr};
const char* const kRestore[] = {"  ######", "  ######", "  #    #", "######  #", "######  #",
                                "#    ###", "#    #  ", "#    #  ", "######  ", nullptr};
const char* const kHelp[] = {" #### ", "##  ##", "    ##", "   ## ", "  ##  ", "  ##  ", "      ", "  ##  ", nullptr};
const char* const kCheck[] = {"      #", "     ##", "#   ###", "## ### ", "#####  ", " ###   ", "  #    ", nullptr};
const char* const kUp[] = {"   #   ", "  ###  ", " ##### ", "#######", nullptr};
const char* const kDown[] = {"#######", " ##### ", "  ###  ", "   #   ", nullptr};
const char* const kLeft[] = {"   #", "  ##", " ###", "####", " ###", "  ##", "   #", nullptr};
const char* const kRight[] = {"#   ", "##  ", "### ", "####", "### ", "##  ", "#   ", nullptr};

void PushFrame(HDC dc, RECT r, bool pushed, bool flat) {
    if (flat) {
        DrawEdge(dc, &r, pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    } else {
        DrawEdge(dc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT);
    }
}

void GlyphWithState(HDC dc, const RECT& r, const char* const* rows, UINT state) {
    int shift = (state & DFCS_PUSHED) ? 1 : 0;
    if (state & DFCS_INACTIVE) {
        Glyph(dc, r, rows, COLOR_BTNHIGHLIGHT, shift + 1, shift + 1);
        Glyph(dc, r, rows, COLOR_BTNSHADOW, shift, shift);
    } else {
        Glyph(dc, r, rows, COLOR_BTNTEXT, shift, shift);
    }
}

void CheckBox(HDC dc, RECT r, UINT state) {
    int size = std::min(r.right - r.left, r.bottom - r.top);
    RECT box{r.left, r.top + (r.bottom - r.top - size) / 2, r.left + size, r.top + (r.bottom - r.top - size) / 2 + size};
    DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    Fill(dc, box.left, box.top, box.right, box.bottom, (state & (DFCS_PUSHED | DFCS_INACTIVE)) ? COLOR_BTNFACE : COLOR_WINDOW);
    if (state & DFCS_CHECKED) Glyph(dc, box, kCheck, (state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
}

void RadioButton(HDC h, RECT r, UINT state) {
    int size = std::min(r.right - r.left, r.bottom - r.top);
    HGDIOBJ oldPen = SelectObject(h, GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = SelectObject(h, GetSysColorBrush(COLOR_BTNSHADOW));
    Ellipse(h, r.left, r.top, r.left + size, r.top + size);
    SelectObject(h, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    Ellipse(h, r.left + 1, r.top + 1, r.left + size, r.top + size);
    SelectObject(h, GetSysColorBrush((state & DFCS_INACTIVE) ? COLOR_BTNFACE : COLOR_WINDOW));
    Ellipse(h, r.left + 1, r.top + 1, r.left + size - 1, r.top + size - 1);
    if (state & DFCS_CHECKED) {
        SelectObject(h, GetSysColorBrush(COLOR_WINDOWTEXT));
        int c = size / 2 - 2;
        Ellipse(h, r.left + c, r.top + c, r.left + size - c, r.top + size - c);
    }
    SelectObject(h, oldBrush);
    SelectObject(h, oldPen);
}

const char* const* CaptionGlyph(UINT kind) {
    switch (kind) {
        case DFCS_CAPTIONMIN: return kMinimize;
        case DFCS_CAPTIONMAX: return kMaximize;
        case DFCS_CAPTIONRESTORE: return kRestore;
        case DFCS_CAPTIONHELP: return kHelp;
        default: return kClose;
    }
}

const char* const* ScrollGlyph(UINT kind) {
    switch (kind) {
        case DFCS_SCROLLUP: return kUp;
        case DFCS_SCROLLLEFT: return kLeft;
        case DFCS_SCROLLRIGHT: return kRight;
        default: return kDown;
    }
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;
using platform::Region;

BOOL DrawEdge(HDC dc, RECT* r, UINT edge, UINT flags) {
    if (!r) return FALSE;
    RECT rc = *r;
    UINT sides = flags & BF_RECT;
    UINT outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
    bool mono = (flags & BF_MONO) != 0, flat = (flags & BF_FLAT) != 0;
    if (outer) {
        if (mono) Ring(dc, rc, sides, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
        else if (flat) Ring(dc, rc, sides, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
        else if (outer & BDR_RAISEDOUTER) Ring(dc, rc, sides, (flags & BF_SOFT) ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW);
        else Ring(dc, rc, sides, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        Shrink(rc, sides);
    }
    if (inner) {
        if (mono || flat) Ring(dc, rc, sides, COLOR_BTNFACE, COLOR_BTNFACE);
        else if (inner & BDR_RAISEDINNER) Ring(dc, rc, sides, (flags & BF_SOFT) ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
        else Ring(dc, rc, sides, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
        Shrink(rc, sides);
    }
    if (flags & BF_MIDDLE) Fill(dc, rc.left, rc.top, rc.right, rc.bottom, mono ? COLOR_WINDOW : COLOR_BTNFACE);
    if (flags & BF_ADJUST) *r = rc;
    return TRUE;
}

// The dotted rectangle is drawn by inverting every other pixel, so drawing it twice removes it.
BOOL DrawFocusRect(HDC h, const RECT* r) {
    DeviceContext* dc = LookupDC(h);
    if (!dc || !r || IsRectEmpty(r)) return FALSE;
    RECT t = dc->ToTarget(*r);
    Region clip = dc->EffectiveClip();
    auto flip = [&](int x, int y) {
        if (!clip.Contains(x, y)) return;
        dc->drawn = true;
        WritePixel(dc->target, x, y, ReadPixel(dc->target, x, y) ^ 0xFFFFFF);
    };
    for (int x = t.left; x < t.right; x += 2) {
        flip(x, t.top);
        if (t.bottom - 1 > t.top) flip(x, t.bottom - 1);
    }
    for (int y = t.top + 2; y < t.bottom - 1; y += 2) {
        flip(t.left, y);
        if (t.right - 1 > t.left) flip(t.right - 1, y);
    }
    return TRUE;
}

BOOL DrawFrameControl(HDC dc, RECT* r, UINT type, UINT state) {
    if (!r) return FALSE;
    bool pushed = (state & DFCS_PUSHED) != 0, flat = (state & DFCS_FLAT) != 0;
    switch (type) {
        case DFC_BUTTON:
            if ((state & 0x1F) == DFCS_BUTTONPUSH) PushFrame(dc, *r, pushed || (state & DFCS_CHECKED), flat);
            else if ((state & 0x0F) == DFCS_BUTTONRADIO) RadioButton(dc, *r, state);
            else CheckBox(dc, *r, state);
            return TRUE;
        case DFC_CAPTION:
            PushFrame(dc, *r, pushed, flat);
            GlyphWithState(dc, *r, CaptionGlyph(state & 0xFF), state);
            return TRUE;
        case DFC_SCROLL:
            PushFrame(dc, *r, pushed, flat);
            GlyphWithState(dc, *r, ScrollGlyph(state & 0xFF), state);
            return TRUE;
        default: return FALSE;
    }
}
