// Non-client geometry: frame widths and caption height from the style and the system metrics,
// the default client rectangle, hit testing, and where the caption buttons lie.
#include "platform/window/window_system.h"

namespace platform::win {

bool HasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

int FrameWidth(DWORD style, DWORD exStyle) {
    int width = 0;
    if (style & WS_THICKFRAME) {
        width = GetSystemMetrics(SM_CXFRAME);
    } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
        width = GetSystemMetrics(SM_CXDLGFRAME);
    } else if (style & WS_BORDER) {
        width = GetSystemMetrics(SM_CXBORDER);
    }
    if (exStyle & WS_EX_CLIENTEDGE) width += GetSystemMetrics(SM_CXEDGE);
    if (exStyle & WS_EX_STATICEDGE) width += GetSystemMetrics(SM_CXBORDER);
    return width;
}

int CaptionHeight(DWORD style, DWORD exStyle) {
    if (!HasCaption(style)) return 0;
    return (exStyle & WS_EX_TOOLWINDOW) ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
}

RECT DefaultClientFromWindow(const Window* w, const RECT& windowRect) {
    if (w->minimized && !w->IsChild()) return RECT{windowRect.left, windowRect.top, windowRect.left, windowRect.top};
    int frame = FrameWidth(w->style, w->exStyle);
    int caption = CaptionHeight(w->style, w->exStyle);
    RECT c{windowRect.left + frame, windowRect.top + frame + caption, windowRect.right - frame,
           windowRect.bottom - frame};
    if (w->menu && !w->IsChild()) c.top += GetSystemMetrics(SM_CYMENU);
    if (c.right < c.left) c.right = c.left;
    if (c.bottom < c.top) c.bottom = c.top;
    return c;
}

CaptionButtons CaptionButtonRects(const Window* w) {
    CaptionButtons b;
    if (!HasCaption(w->style) || !(w->style & WS_SYSMENU)) return b;
    bool tool = (w->exStyle & WS_EX_TOOLWINDOW) != 0;
    int frame = FrameWidth(w->style, w->exStyle);
    int caption = CaptionHeight(w->style, w->exStyle) - 1;
    int bw = (tool ? GetSystemMetrics(SM_CXSMSIZE) : GetSystemMetrics(SM_CXSIZE)) - 2;
    int bh = caption - 4;
    int top = frame + 2;
    int right = w->Width() - frame - 2;
    b.close = RECT{right - bw, top, right, top + bh};
    right = b.close.left - 2;
    if (tool) return b;
    if (w->style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) {
        b.max = RECT{right - bw, top, right, top + bh};
        b.min = RECT{b.max.left - bw, top, b.max.left, top + bh};
    } else if (w->exStyle & WS_EX_CONTEXTHELP) {
        b.help = RECT{right - bw, top, right, top + bh};
    }
    return b;
}

static bool In(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

static LRESULT FrameEdgeHit(const Window* w, POINT p, int frame) {
    int width = w->Width(), height = w->Height();
    if (!(w->style & WS_THICKFRAME) || w->maximized) return HTBORDER;
    int corner = GetSystemMetrics(SM_CYCAPTION) + frame;
    bool left = p.x < corner, right = p.x >= width - corner;
    bool top = p.y < corner, bottom = p.y >= height - corner;
    if (p.y < frame) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (p.y >= height - frame) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    if (p.x < frame) return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
    return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
}

LRESULT DefaultHitTest(Window* w, POINT screen) {
    POINT origin = ScreenOrigin(w);
    POINT p{screen.x - origin.x, screen.y - origin.y};
    if (p.x < 0 || p.y < 0 || p.x >= w->Width() || p.y >= w->Height()) return HTNOWHERE;
    if (w->minimized) return HTCAPTION;
    RECT client = w->ClientInWindow();
    if (In(client, p)) return HTCLIENT;
    int frame = FrameWidth(w->style, w->exStyle);
    if (p.x < frame || p.y < frame || p.x >= w->Width() - frame || p.y >= w->Height() - frame)
        return FrameEdgeHit(w, p, frame);
    int caption = CaptionHeight(w->style, w->exStyle);
    if (caption && p.y < frame + caption) {
        CaptionButtons b = CaptionButtonRects(w);
        if (In(b.close, p)) return HTCLOSE;
        if (In(b.max, p)) return HTMAXBUTTON;
        if (In(b.min, p)) return HTMINBUTTON;
        if (In(b.help, p)) return HTHELP;
        bool icon = (w->style & WS_SYSMENU) && !(w->exStyle & WS_EX_TOOLWINDOW);
        if (icon && p.x < frame + caption) return HTSYSMENU;
        return HTCAPTION;
    }
    if (w->menu && p.y < client.top) return HTMENU;
    return HTBORDER;
}

}  // namespace platform::win

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle) {
    if (!rect) return FALSE;
    using namespace platform::win;
    int frame = FrameWidth(style, exStyle);
    rect->left -= frame;
    rect->right += frame;
    rect->top -= frame + CaptionHeight(style, exStyle) + (menu ? GetSystemMetrics(SM_CYMENU) : 0);
    rect->bottom += frame;
    return TRUE;
}

BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) { return AdjustWindowRectEx(rect, style, menu, 0); }
