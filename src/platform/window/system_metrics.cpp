// System metrics of the classic Windows look at 96 dpi, and system parameters.
#include <cstdio>
#include <cstring>

#include "platform/gdi.h"
#include "platform/gdi_text.h"
#include "platform/window/window_system.h"

namespace {

constexpr int kCaption = 19;      // SM_CYCAPTION: 18 plus the 1-pixel line below it
constexpr int kSmallCaption = 16;
constexpr int kFrame = 4;
constexpr int kDialogFrame = 3;

// What the system metrics describe: the primary monitor (the "screen" of the metrics), its
// part of the work area, the whole desktop and the number of monitors.
struct Desktop {
    RECT primary{0, 0, 1280, 1024};
    RECT work{0, 0, 1280, 1024};
    SIZE whole{1280, 1024};
    int monitors = 1;
};

Desktop ReadDesktop() {
    Desktop d;
    if (!platform::win::BackendReady()) return d;
    platform::Backend& b = platform::win::GetBackend();
    std::vector<RECT> monitors = b.MonitorRects();
    d.whole = b.ScreenSize();
    d.monitors = static_cast<int>(monitors.size());
    d.primary = monitors.empty() ? RECT{0, 0, d.whole.cx, d.whole.cy} : monitors.front();
    RECT work = b.WorkArea();
    if (!IntersectRect(&d.work, &work, &d.primary)) d.work = d.primary;
    return d;
}

}  // namespace

namespace platform::win {
RECT PrimaryWorkArea() { return ReadDesktop().work; }
}  // namespace platform::win

namespace {

// Metrics that depend on the monitors and the work area (asking the backend costs a round
// trip to the display, so the fixed metrics do not).
int DesktopMetric(int index) {
    Desktop desktop = ReadDesktop();
    SIZE screen{desktop.primary.right - desktop.primary.left, desktop.primary.bottom - desktop.primary.top};
    RECT work = desktop.work;
    switch (index) {
        case SM_CXSCREEN: return screen.cx;
        case SM_CYSCREEN: return screen.cy;
        case SM_XVIRTUALSCREEN: case SM_YVIRTUALSCREEN: return 0;
        case SM_CXVIRTUALSCREEN: return desktop.whole.cx;
        case SM_CYVIRTUALSCREEN: return desktop.whole.cy;
        case SM_CXFULLSCREEN: return work.right - work.left;
        case SM_CYFULLSCREEN: return work.bottom - work.top - kCaption;
        case SM_CXMAXIMIZED: return work.right - work.left + 2 * kFrame;
        case SM_CYMAXIMIZED: return work.bottom - work.top + 2 * kFrame;
        case SM_CXMAXTRACK: return screen.cx + 2 * kFrame + 4;
        case SM_CYMAXTRACK: return screen.cy + 2 * kFrame + 4;
        case SM_CMONITORS: return desktop.monitors;
        default: return 0;
    }
}

}  // namespace

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN: case SM_CYSCREEN: case SM_XVIRTUALSCREEN: case SM_YVIRTUALSCREEN:
        case SM_CXVIRTUALSCREEN: case SM_CYVIRTUALSCREEN: case SM_CXFULLSCREEN: case SM_CYFULLSCREEN:
        case SM_CXMAXIMIZED: case SM_CYMAXIMIZED: case SM_CXMAXTRACK: case SM_CYMAXTRACK: case SM_CMONITORS:
            return DesktopMetric(index);
        case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL:
        case SM_CYVTHUMB: case SM_CXHTHUMB: return 16;
        case SM_CYCAPTION: return kCaption;
        case SM_CXBORDER: case SM_CYBORDER: return 1;
        case SM_CXDLGFRAME: case SM_CYDLGFRAME: return kDialogFrame;
        case SM_CXFRAME: case SM_CYFRAME: return kFrame;
        case SM_CXEDGE: case SM_CYEDGE: return 2;
        case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
        case SM_CXSMICON: case SM_CYSMICON: return 16;
        case SM_CYMENU: return 19;
        case SM_CXSIZE: case SM_CYSIZE: return 18;
        case SM_CYSMCAPTION: return kSmallCaption;
        case SM_CXSMSIZE: case SM_CYSMSIZE: return 15;
        case SM_CXMENUSIZE: case SM_CYMENUSIZE: return 18;
        case SM_CXMIN: return 112;
        case SM_CYMIN: return 27;
        case SM_CXMINTRACK: return 112;
        case SM_CYMINTRACK: return 27;
        case SM_CXMINIMIZED: return 160;
        case SM_CYMINIMIZED: return 24;
        case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
        case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 13;
        case SM_CXPADDEDBORDER: return 0;
        default: return 0;
    }
}

namespace {

LOGFONT UiFont(LONG weight) {
    LOGFONT lf{};
    lf.lfHeight = -11;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "Tahoma");
    return lf;
}

// The fonts and sizes of the classic frame, matching what DefWindowProc paints.
void FillNonClientMetrics(NONCLIENTMETRICS* m) {
    UINT size = m->cbSize;
    *m = NONCLIENTMETRICS{};
    m->cbSize = size;
    m->iBorderWidth = 1;
    m->iScrollWidth = m->iScrollHeight = GetSystemMetrics(SM_CXVSCROLL);
    m->iCaptionWidth = m->iCaptionHeight = GetSystemMetrics(SM_CYCAPTION) - 1;
    m->lfCaptionFont = UiFont(FW_BOLD);
    m->iSmCaptionWidth = m->iSmCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION) - 1;
    m->lfSmCaptionFont = UiFont(FW_BOLD);
    m->iMenuWidth = m->iMenuHeight = GetSystemMetrics(SM_CYMENU) - 1;
    m->lfMenuFont = m->lfStatusFont = m->lfMessageFont = UiFont(FW_NORMAL);
}

}  // namespace

BOOL SystemParametersInfo(UINT action, UINT, LPVOID data, UINT) {
    if (!data) return FALSE;
    switch (action) {
        case SPI_GETNONCLIENTMETRICS: {
            auto* m = static_cast<NONCLIENTMETRICS*>(data);
            if (m->cbSize < sizeof(NONCLIENTMETRICS)) return FALSE;
            FillNonClientMetrics(m);
            return TRUE;
        }
        case SPI_GETWORKAREA: {
            RECT work = platform::win::PrimaryWorkArea();
            std::memcpy(data, &work, sizeof work);
            return TRUE;
        }
        case SPI_GETDRAGFULLWINDOWS:
            *static_cast<BOOL*>(data) = TRUE;
            return TRUE;
        default: return FALSE;
    }
}

UINT GetDoubleClickTime() { return 500; }

HINSTANCE GetModuleHandle(LPCSTR) { return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(0x400000)); }

void MessageBeep(UINT) {}

HRESULT SetWindowTheme(HWND, LPCSTR, LPCSTR) { return 0; }
UINT GetCaretBlinkTime() { return 530; }
