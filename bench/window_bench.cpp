// Message dispatch and repainting costs of the window system on the headless screen.
#include <benchmark/benchmark.h>

#include "platform/backend.h"
#include "platform/gdi.h"
#include "platform/headless/headless_backend.h"
#include "platform/window.h"

namespace {

LRESULT BenchProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER) return static_cast<LRESULT>(w + 1);
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_WINDOW));
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

void Setup() {
    static bool done = [] {
        platform::InstallBackend(std::make_unique<platform::headless::HeadlessBackend>(SIZE{1280, 1024}));
        WNDCLASS wc{};
        wc.lpfnWndProc = BenchProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1));
        wc.lpszClassName = "Bench";
        return RegisterClass(&wc) != 0;
    }();
    (void)done;
}

void Drain() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

void BM_SendMessage(benchmark::State& state) {
    Setup();
    HWND w = CreateWindowEx(0, "Bench", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    WPARAM v = 0;
    for (auto _ : state) v = static_cast<WPARAM>(SendMessage(w, WM_USER, v, 0));
    benchmark::DoNotOptimize(v);
    DestroyWindow(w);
}
BENCHMARK(BM_SendMessage);

void BM_PostAndDispatch(benchmark::State& state) {
    Setup();
    HWND w = CreateWindowEx(0, "Bench", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    MSG msg;
    for (auto _ : state) {
        PostMessage(w, WM_USER, 0, 0);
        PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
        DispatchMessage(&msg);
    }
    DestroyWindow(w);
}
BENCHMARK(BM_PostAndDispatch);

// A 487 x 400 window with 40 child controls, invalidated whole and painted through the queue.
void BM_FullRepaint40Children(benchmark::State& state) {
    Setup();
    HWND top = CreateWindowEx(0, "Bench", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 487, 400, nullptr, nullptr,
                              nullptr, nullptr);
    for (int i = 0; i < 40; ++i)
        CreateWindowEx(0, "Bench", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 10 + (i % 4) * 115, 10 + (i / 4) * 38,
                       110, 32, top, nullptr, nullptr, nullptr);
    Drain();
    for (auto _ : state) {
        RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
        Drain();
    }
    DestroyWindow(top);
}
BENCHMARK(BM_FullRepaint40Children)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
