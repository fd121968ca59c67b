// Presenting a whole 487 x 320 window on the X server of $DISPLAY (start Xvfb first), through
// MIT-SHM and through XPutImage. Skipped without a display.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "platform/backend.h"
#include "platform/x11/x11_backend.h"

namespace {

constexpr int kW = 487, kH = 320;

void Present(benchmark::State& state, bool shm) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("no DISPLAY");
        return;
    }
    if (shm) unsetenv("UTROZVON_NO_SHM");
    else setenv("UTROZVON_NO_SHM", "1", 1);
    setenv("UTROZVON_BACKEND", "x11", 1);
    std::unique_ptr<platform::Backend> backend = platform::CreateBackendFromEnvironment();
    platform::SurfaceParams params;
    params.screenRect = RECT{10, 10, 10 + kW, 10 + kH};
    platform::SurfaceId id = backend->CreateSurface(params);
    backend->ShowSurface(id, true, false);
    // As the core does: draw straight into the backend's shared store where it offers one.
    std::vector<std::uint32_t> own(static_cast<std::size_t>(kW) * kH, 0xFF336699u);
    std::uint32_t* pixels = backend->SharedSurfaceStore(id, kW, kH);
    if (!pixels) pixels = own.data();
    state.SetLabel(pixels == own.data() ? "copied" : "shared");
    platform::gdi::PixelBuffer buffer{reinterpret_cast<BYTE*>(pixels), kW, kH, kW * 4, 32};
    platform::Region all(0, 0, kW, kH);
    for (auto _ : state) {
        pixels[static_cast<std::size_t>(state.iterations()) % own.size()] ^= 0xFFFFFF;
        backend->Present(id, buffer, all, false, 255);
    }
    backend->DestroySurface(id);
}

void BM_BareShmPutImage(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("no DISPLAY");
        return;
    }
    double us = 0;
    for (auto _ : state) us = platform::x11::BareShmPutMicroseconds(kW, kH, 1000);
    state.counters["us_per_put"] = us;
}

void BM_PresentShm(benchmark::State& state) { Present(state, true); }
void BM_PresentPutImage(benchmark::State& state) { Present(state, false); }
BENCHMARK(BM_BareShmPutImage)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PresentShm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PresentPutImage)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
