// A small program that opens one captioned window in the standard look; scenario tests drive it.
#include <cstdio>
#include <cstring>
#include <exception>

#include "platform/backend.h"
#include "platform/clipboard.h"
#include "platform/gdi.h"
#include "platform/gdi/dib.h"
#include "platform/gdi_text.h"
#include "platform/shell.h"
#include "platform/window.h"

namespace {

// With --tray the demo shows a tray icon; each click on it is reported on stdout, and the
// second click ends the program. A new tray gets the icon again.
constexpr UINT kTrayMessage = WM_USER + 0x54;
bool g_tray = false;
int g_trayClicks = 0;

HICON MakeTrayIcon() {
    void* bits = nullptr;
    HBITMAP colour = platform::gdi::CreateTopDownDib(16, 16, 32, &bits);
    auto* px = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            int dx = 2 * x - 15, dy = 2 * y - 15;
            px[y * 16 + x] = dx * dx + dy * dy <= 225 ? 0xFFF08020u : 0;
        }
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    ICONINFO ii{TRUE, 8, 8, mask, colour};
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

void AddTrayIcon(HWND hwnd) {
    static HICON icon = MakeTrayIcon();
    NOTIFYICONDATAA d{};
    d.cbSize = sizeof d;
    d.hWnd = hwnd;
    d.uID = 1;
    d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    d.uCallbackMessage = kTrayMessage;
    d.hIcon = icon;
    std::snprintf(d.szTip, sizeof d.szTip, "%s", "Утрозвон");
    std::printf(Shell_NotifyIconA(NIM_ADD, &d) ? "tray icon added\n" : "no tray\n");
    std::fflush(stdout);
}

void OnTrayMessage(HWND hwnd, LPARAM mouse) {
    static bool hovered = false;
    if (mouse == WM_MOUSEMOVE && !hovered) {
        hovered = true;
        std::printf("tray hover\n");
        std::fflush(stdout);
    }
    if (mouse != WM_LBUTTONUP) return;
    std::printf("tray click %d\n", ++g_trayClicks);
    std::fflush(stdout);
    if (g_trayClicks == 2) DestroyWindow(hwnd);
}

// Ctrl+C copies the caption, Ctrl+V prints what the clipboard holds, and typed characters are
// printed as code points: the X11 scenario tests read them.
void CopyCaption(HWND hwnd) {
    char caption[256];
    int n = GetWindowText(hwnd, caption, sizeof caption);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<std::size_t>(n) + 1);
    std::memcpy(GlobalLock(memory), caption, static_cast<std::size_t>(n) + 1);
    GlobalUnlock(memory);
    if (OpenClipboard(hwnd)) {
        EmptyClipboard();
        SetClipboardData(CF_TEXT, memory);
        CloseClipboard();
    }
}

void PrintClipboard(HWND hwnd) {
    if (!OpenClipboard(hwnd)) return;
    HANDLE text = GetClipboardData(CF_TEXT);
    std::printf("pasted: %s\n", text ? static_cast<const char*>(GlobalLock(text)) : "(nothing)");
    std::fflush(stdout);
    CloseClipboard();
}

void OnChar(HWND hwnd, WPARAM code) {
    if (code == 3) return CopyCaption(hwnd);
    if (code == 22) return PrintClipboard(hwnd);
    std::printf("char U+%04X\n", static_cast<unsigned>(code));
    std::fflush(stdout);
}

// With --layered a half-transparent red square is laid over the window's client area.
void ShowLayeredSquare(HWND owner) {
    std::printf("layered: %s\n", platform::LayeredWindowsAvailable() ? "available" : "unavailable");
    std::fflush(stdout);
    if (!platform::LayeredWindowsAvailable()) return;
    HWND glow = CreateWindowEx(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "PlatformDemo", "",
                               WS_POPUP, 0, 0, 60, 60, owner, nullptr, nullptr, nullptr);
    void* bits = nullptr;
    HBITMAP dib = platform::gdi::CreateTopDownDib(60, 60, 32, &bits);
    auto* px = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < 3600; ++i) px[i] = 0x80800000u;  // premultiplied red at half alpha
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, dib);
    POINT at{200, 200}, from{0, 0};
    SIZE size{60, 60};
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ShowWindow(glow, SW_SHOWNOACTIVATE);
    UpdateLayeredWindow(glow, nullptr, &at, &size, mem, &from, 0, &bf, ULW_ALPHA);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
}

void PaintClient(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    InflateRect(&r, -10, -10);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawText(dc, "Платформа работает: окно, рамка и заголовок.", -1, &r, DT_LEFT | DT_WORDBREAK);
    EndPaint(hwnd, &ps);
}

LRESULT DemoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static const UINT taskbarCreated = RegisterWindowMessage("TaskbarCreated");
    if (g_tray && msg == taskbarCreated) {
        AddTrayIcon(hwnd);
        return 0;
    }
    switch (msg) {
        case kTrayMessage: OnTrayMessage(hwnd, lParam); return 0;
        case WM_CHAR: OnChar(hwnd, wParam); return 0;
        case WM_PAINT: PaintClient(hwnd); return 0;
        case WM_RBUTTONUP:
            MessageBoxA(hwnd, "Это окно сообщения.", "Утрозвон", MB_OK | MB_ICONINFORMATION);
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int main(int argc, char** argv) {
    g_tray = argc > 1 && std::strcmp(argv[1], "--tray") == 0;
    bool layered = argc > 1 && std::strcmp(argv[1], "--layered") == 0;
    try {
        platform::CurrentBackend();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "platform_demo: %s\n", e.what());
        return 1;
    }
    WNDCLASS wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DemoProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "PlatformDemo";
    RegisterClass(&wc);
    HWND hwnd = CreateWindowEx(0, "PlatformDemo", "Утрозвон — проверка окна", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                               100, 100, 400, 240, nullptr, nullptr, nullptr, nullptr);
    if (!hwnd) {
        std::fprintf(stderr, "platform_demo: cannot create the window\n");
        return 1;
    }
    if (g_tray) AddTrayIcon(hwnd);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    if (layered) ShowLayeredSquare(hwnd);
    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    return static_cast<int>(msg.wParam);
}
