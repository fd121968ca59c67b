// GDI costs per pixel, each next to a memcpy of the same bytes measured in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/gdi.h"
#include "platform/gdi_text.h"

// pixman's header wants its own folder on the include path (pkg-config pixman-1).
#if __has_include(<pixman.h>)
#include <dlfcn.h>
#include <pixman.h>
#define UTROZVON_BENCH_PIXMAN 1
#endif

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

#ifdef UTROZVON_BENCH_PIXMAN
// The baseline of AlphaBlend32: pixman's OVER of the same premultiplied 8888 pixels, loaded
// at run time so that only its headers are needed at build time.
void BM_PixmanOver8888(benchmark::State& state) {
    void* lib = dlopen("libpixman-1.so.0", RTLD_NOW);
    auto create = lib ? reinterpret_cast<decltype(&pixman_image_create_bits)>(dlsym(lib, "pixman_image_create_bits")) : nullptr;
    auto composite = lib ? reinterpret_cast<decltype(&pixman_image_composite32)>(dlsym(lib, "pixman_image_composite32")) : nullptr;
    auto unref = lib ? reinterpret_cast<decltype(&pixman_image_unref)>(dlsym(lib, "pixman_image_unref")) : nullptr;
    if (!create || !composite || !unref) {
        state.SkipWithError("libpixman-1.so.0 not found");
        return;
    }
    std::vector<std::uint32_t> src(static_cast<std::size_t>(kW) * kH, 0x80808080u), dst(src.size(), 0xFF204060u);
    pixman_image_t* s = create(PIXMAN_a8r8g8b8, kW, kH, src.data(), kW * 4);
    pixman_image_t* d = create(PIXMAN_a8r8g8b8, kW, kH, dst.data(), kW * 4);
    for (auto _ : state) {
        composite(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
    unref(s);
    unref(d);
    SetPixelsCounter(state, kW * kH);
}
BENCHMARK(BM_PixmanOver8888);
#endif

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
