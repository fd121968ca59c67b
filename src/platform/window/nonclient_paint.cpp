// The standard (classic) frame: border, caption bar with gradient, icon, title and buttons.
#include <algorithm>

#include "platform/gdi.h"
#include "platform/gdi_text.h"
#include "platform/window/window_system.h"

namespace platform::win {
namespace {

HFONT CaptionFont(bool small) {
    static HFONT normal = nullptr, tool = nullptr;
    HFONT& f = small ? tool : normal;
    if (!f) {
        LOGFONT lf{};
        lf.lfHeight = -11;
        lf.lfWeight = FW_BOLD;
        std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "Tahoma");
        f = CreateFontIndirect(&lf);
    }
    return f;
}

void PaintBorder(Window* w, HDC dc, bool active) {
    RECT r{0, 0, w->Width(), w->Height()};
    int frame = FrameWidth(w->style, w->exStyle);
    if (frame <= 0) return;
    int edges = ((w->exStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : 0) +
                ((w->exStyle & WS_EX_STATICEDGE) ? GetSystemMetrics(SM_CXBORDER) : 0);
    if ((w->style & WS_THICKFRAME) || (w->style & WS_DLGFRAME) || (w->exStyle & WS_EX_DLGMODALFRAME)) {
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
        HBRUSH fill = GetSysColorBrush((w->style & WS_THICKFRAME) ? (active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER)
                                                                 : COLOR_BTNFACE);
        int inner = frame - edges - 2;
        for (int i = 0; i < inner; ++i) {
            FrameRect(dc, &r, fill);
            InflateRect(&r, -1, -1);
        }
    } else if (w->style & WS_BORDER) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    // Edges sit inside the frame, next to the client area.
    if (w->exStyle & WS_EX_CLIENTEDGE) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (w->exStyle & WS_EX_STATICEDGE) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
}

void PaintCaptionBar(Window* w, HDC dc, bool active, RECT bar) {
    COLORREF left = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    COLORREF right = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    TRIVERTEX v[2] = {
        {bar.left, bar.top, static_cast<USHORT>(GetRValue(left) << 8), static_cast<USHORT>(GetGValue(left) << 8),
         static_cast<USHORT>(GetBValue(left) << 8), 0},
        {bar.right, bar.bottom, static_cast<USHORT>(GetRValue(right) << 8), static_cast<USHORT>(GetGValue(right) << 8),
         static_cast<USHORT>(GetBValue(right) << 8), 0}};
    GRADIENT_RECT g{0, 1};
    GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_H);
    // The line between caption and client area.
    RECT line{bar.left, bar.bottom, bar.right, bar.bottom + 1};
    FillRect(dc, &line, GetSysColorBrush(COLOR_BTNFACE));
    (void)w;
}

int PaintIcon(Window* w, HDC dc, RECT bar) {
    if (!(w->style & WS_SYSMENU) || (w->exStyle & WS_EX_TOOLWINDOW)) return bar.left + 2;
    HICON icon = w->iconSmall ? w->iconSmall : w->iconBig ? w->iconBig : w->cls->iconSmall ? w->cls->iconSmall : w->cls->icon;
    int size = GetSystemMetrics(SM_CXSMICON);
    int top = bar.top + (bar.bottom - bar.top - size) / 2;
    if (icon) DrawIconEx(dc, bar.left + 2, top, icon, size, size, 0, nullptr, DI_NORMAL);
    return bar.left + 2 + size + 2;
}

void PaintButtons(Window* w, HDC dc) {
    CaptionButtons b = CaptionButtonRects(w);
    auto draw = [dc](RECT r, UINT state) {
        if (!RectIsEmpty(r)) DrawFrameControl(dc, &r, DFC_CAPTION, state);
    };
    draw(b.close, DFCS_CAPTIONCLOSE | ((w->cls->style & CS_NOCLOSE) ? DFCS_INACTIVE : 0));
    draw(b.max, (w->maximized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX) | ((w->style & WS_MAXIMIZEBOX) ? 0 : DFCS_INACTIVE));
    draw(b.min, (w->minimized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN) | ((w->style & WS_MINIMIZEBOX) ? 0 : DFCS_INACTIVE));
    draw(b.help, DFCS_CAPTIONHELP);
}

void PaintTitle(Window* w, HDC dc, bool active, RECT bar, int textLeft) {
    CaptionButtons b = CaptionButtonRects(w);
    int right = bar.right - 2;
    for (const RECT& r : {b.close, b.max, b.min, b.help})
        if (!RectIsEmpty(r)) right = std::min<int>(right, r.left - 2);
    RECT text{textLeft, bar.top, right, bar.bottom};
    HGDIOBJ oldFont = SelectObject(dc, CaptionFont((w->exStyle & WS_EX_TOOLWINDOW) != 0));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    DrawText(dc, w->text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
}

}  // namespace

void PaintDefaultFrame(Window* w, HDC dc, bool active) {
    if (!dc) return;
    PaintBorder(w, dc, active);
    if (!HasCaption(w->style)) return;
    int frame = FrameWidth(w->style, w->exStyle);
    int caption = CaptionHeight(w->style, w->exStyle);
    RECT bar{frame, frame, w->Width() - frame, frame + caption - 1};
    PaintCaptionBar(w, dc, active, bar);
    int textLeft = PaintIcon(w, dc, bar);
    PaintTitle(w, dc, active, bar, textLeft);
    PaintButtons(w, dc);
}

void DrawCaptionButtonPressed(Window* w, LRESULT hit, bool pressed) {
    CaptionButtons b = CaptionButtonRects(w);
    RECT r = hit == HTCLOSE ? b.close : hit == HTMAXBUTTON ? b.max : hit == HTMINBUTTON ? b.min : b.help;
    if (RectIsEmpty(r)) return;
    UINT kind = hit == HTCLOSE ? DFCS_CAPTIONCLOSE
                : hit == HTMAXBUTTON ? (w->maximized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX)
                : hit == HTMINBUTTON ? DFCS_CAPTIONMIN
                                     : DFCS_CAPTIONHELP;
    HDC dc = GetWindowDC(w->handle);
    DrawFrameControl(dc, &r, DFC_CAPTION, kind | (pressed ? DFCS_PUSHED : 0));
    ReleaseDC(w->handle, dc);
}

}  // namespace platform::win
