// GDI costs per pixel, each next to a memcpy of the same bytes measured in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/gdi.h"
#include "platform/gdi_text.h"

namespace {

struct Surface {
    HBITMAP bmp = nullptr;
    HDC dc = nullptr;
    void* bits = nullptr;
    Surface(int w, int h, int bpp) {
        BITMAPINFO bi{};
        bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, -h, 1, static_cast<WORD>(bpp), BI_RGB, 0, 0, 0, 0, 0};
        bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, bmp);
    }
    ~Surface() {
        DeleteDC(dc);
        DeleteObject(bmp);
    }
};

constexpr int kW = 487, kH = 293;

void SetPixelsCounter(benchmark::State& state, int pixels) {
    state.counters["ns_per_pixel"] = benchmark::Counter(
        static_cast<double>(pixels) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Memcpy24(benchmark::State& state) {
    std::vector<char> a(static_cast<std::size_t>(((kW * 3 + 3) & ~3)) * kH), b(a.size());
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size());
        benchmark::ClobberMemory();
    }
    SetPixelsCounter(state, kW * kH);
}
BENCHMARK(BM_Memcpy24);

void BM_BitBlt24(benchmark::State& state) {
    Surface src(kW, kH, 24), dst(kW, kH, 24);
    for (auto _ : state) BitBlt(dst.dc, 0, 0, kW, kH, src.dc, 0, 0, SRCCOPY);
    SetPixelsCounter(state, kW * kH);
}
BENCHMARK(BM_BitBlt24);

void BM_Memcpy32(benchmark::State& state) {
    std::vector<char> a(static_cast<std::size_t>(kW) * 4 * kH), b(a.size());
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size());
        benchmark::ClobberMemory();
    }
    SetPixelsCounter(state, kW * kH);
}
BENCHMARK(BM_Memcpy32);

void BM_AlphaBlend32(benchmark::State& state) {
    Surface src(kW, kH, 32), dst(kW, kH, 32);
    std::memset(src.bits, 0x80, static_cast<std::size_t>(kW) * kH * 4);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (auto _ : state) AlphaBlend(dst.dc, 0, 0, kW, kH, src.dc, 0, 0, kW, kH, bf);
    SetPixelsCounter(state, kW * kH);
}
BENCHMARK(BM_AlphaBlend32);

void BM_StretchHalftone(benchmark::State& state) {
    Surface src(kW, kH, 32), dst(kW / 2, kH / 2, 32);
    SetStretchBltMode(dst.dc, HALFTONE);
    for (auto _ : state) StretchBlt(dst.dc, 0, 0, kW / 2, kH / 2, src.dc, 0, 0, kW, kH, SRCCOPY);
    SetPixelsCounter(state, (kW / 2) * (kH / 2));
}
BENCHMARK(BM_StretchHalftone);

void BM_DrawText40(benchmark::State& state) {
    Surface dst(400, 30, 32);
    SetBkMode(dst.dc, TRANSPARENT);
    RECT r{0, 0, 400, 30};
    const char* line = "Будильник звонит в 07:00:00 по будням!!";  // 40 characters
    for (auto _ : state) DrawText(dst.dc, line, -1, &r, DT_SINGLELINE | DT_VCENTER);
}
BENCHMARK(BM_DrawText40)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
