// A small program that opens one captioned window in the standard look; scenario tests drive it.
#include <cstdio>
#include <cstring>
#include <exception>

#include "platform/backend.h"
#include "platform/gdi.h"
#include "platform/gdi_text.h"
#include "platform/window.h"

namespace {

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
    switch (msg) {
        case WM_PAINT: PaintClient(hwnd); return 0;
        case WM_RBUTTONUP:
            MessageBoxA(hwnd, "Это окно сообщения.", "Утрозвон", MB_OK | MB_ICONINFORMATION);
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int main() {
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
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    return static_cast<int>(msg.wParam);
}
