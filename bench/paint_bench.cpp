// Painting costs per pixel, each with its baselines measured in the same run: mixing one
// bitmap into another against a plain loop of the same formula, pixman's composite of the
// same images (when its headers are installed) and a memcpy of the same bytes; gradients,
// a nine-piece frame, a whole window-sized section and a glowing caption.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "paint/bitmaps.h"
#include "paint/border_mask.h"
#include "paint/color_mix.h"
#include "paint/glow_text.h"
#include "paint/gradient.h"
#include "paint/section_paint.h"

// pixman's header wants its own folder on the include path (pkg-config pixman-1).
#if __has_include(<pixman.h>)
#include <dlfcn.h>
#include <pixman.h>
#define UTROZVON_BENCH_PIXMAN 1
#endif

namespace {

using framework::TBitmap;
using framework::TPixelFormat;

constexpr int kW = 487, kH = 293;

void PerPixel(benchmark::State& state, long pixels) {
    state.counters["ns_per_pixel"] = benchmark::Counter(static_cast<double>(pixels) * static_cast<double>(state.iterations()),
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

std::unique_ptr<TBitmap> Noise(int w, int h, TPixelFormat f, unsigned seed) {
    auto b = std::make_unique<TBitmap>(w, h, f);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = b->ScanLine(y);
        for (int i = 0; i < b->Stride(); ++i) p[i] = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    }
    return b;
}

TPixelFormat Format(int bits) { return bits == 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit; }

void BM_BlendBitmaps(benchmark::State& state) {
    auto f = Format(static_cast<int>(state.range(0)));
    auto dst = Noise(kW, kH, f, 1), src = Noise(kW, kH, f, 2);
    for (auto _ : state) {
        paint::BlendBitmaps(*dst, *src, 100, POINT{0, 0}, RECT{0, 0, kW, kH});
        benchmark::ClobberMemory();
    }
    PerPixel(state, static_cast<long>(kW) * kH);
}
BENCHMARK(BM_BlendBitmaps)->Arg(24)->Arg(32);

// The baseline: the formula as a plain loop over the bytes of each row, int arithmetic,
// compiled with the same flags (the compiler vectorises it on its own).
void BM_BlendScalarLoop(benchmark::State& state) {
    const int bits = static_cast<int>(state.range(0)), n = kW * bits / 8;
    auto dst = Noise(kW, kH, Format(bits), 1), src = Noise(kW, kH, Format(bits), 2);
    const int a = 100;
    for (auto _ : state) {
        for (int y = 0; y < kH; ++y) {
            std::uint8_t* d = dst->ScanLine(y);
            const std::uint8_t* s = src->ScanLine(y);
            for (int i = 0; i < n; ++i) d[i] = static_cast<std::uint8_t>((d[i] * a + s[i] * (255 - a) + 127) >> 8);
        }
        benchmark::ClobberMemory();
    }
    PerPixel(state, static_cast<long>(kW) * kH);
}
BENCHMARK(BM_BlendScalarLoop)->Arg(24)->Arg(32);

// The same formula pixel by pixel and channel by channel, which the compiler leaves scalar.
void BM_BlendPerChannelLoop(benchmark::State& state) {
    const int bits = static_cast<int>(state.range(0)), bpp = bits / 8;
    auto dst = Noise(kW, kH, Format(bits), 1), src = Noise(kW, kH, Format(bits), 2);
    const int a = 100;
    for (auto _ : state) {
        for (int y = 0; y < kH; ++y) {
            std::uint8_t* d = dst->ScanLine(y);
            const std::uint8_t* s = src->ScanLine(y);
            for (int x = 0; x < kW; ++x)
                for (int c = 0; c < bpp; ++c) {
                    int i = x * bpp + c;
                    d[i] = static_cast<std::uint8_t>((d[i] * a + s[i] * (255 - a) + 127) >> 8);
                }
        }
        benchmark::ClobberMemory();
    }
    PerPixel(state, static_cast<long>(kW) * kH);
}
BENCHMARK(BM_BlendPerChannelLoop)->Arg(24)->Arg(32);

void BM_MemcpySameBytes(benchmark::State& state) {
    const int bits = static_cast<int>(state.range(0));
    auto dst = Noise(kW, kH, Format(bits), 1), src = Noise(kW, kH, Format(bits), 2);
    const std::size_t n = static_cast<std::size_t>(dst->Stride()) * kH;
    for (auto _ : state) {
        std::memcpy(dst->ScanLine(0), src->ScanLine(0), n);
        benchmark::ClobberMemory();
    }
    PerPixel(state, static_cast<long>(kW) * kH);
}
BENCHMARK(BM_MemcpySameBytes)->Arg(24)->Arg(32);

#ifdef UTROZVON_BENCH_PIXMAN
// Loaded at run time, so the benchmark needs only pixman's headers at build time.
struct Pixman {
    decltype(&pixman_image_create_bits) create_bits = nullptr;
    decltype(&pixman_image_create_solid_fill) solid = nullptr;
    decltype(&pixman_image_composite32) composite = nullptr;
    decltype(&pixman_image_unref) unref = nullptr;
    void* lib = nullptr;
    Pixman() {
        lib = dlopen("libpixman-1.so.0", RTLD_NOW);
        if (!lib) return;
        create_bits = reinterpret_cast<decltype(create_bits)>(dlsym(lib, "pixman_image_create_bits"));
        solid = reinterpret_cast<decltype(solid)>(dlsym(lib, "pixman_image_create_solid_fill"));
        composite = reinterpret_cast<decltype(composite)>(dlsym(lib, "pixman_image_composite32"));
        unref = reinterpret_cast<decltype(unref)>(dlsym(lib, "pixman_image_unref"));
    }
    bool Ok() const { return create_bits && solid && composite && unref; }
};

// Source over destination through a constant mask of 255 - a: the same mix in pixman's
// rounding.
void BM_PixmanComposite(benchmark::State& state) {
    static Pixman px;
    if (!px.Ok()) {
        state.SkipWithError("libpixman-1.so.0 not found");
        return;
    }
    const int bits = static_cast<int>(state.range(0));
    auto dst = Noise(kW, kH, Format(bits), 1), src = Noise(kW, kH, Format(bits), 2);
    pixman_format_code_t fmt = bits == 32 ? PIXMAN_a8r8g8b8 : PIXMAN_r8g8b8;
    pixman_format_code_t sfmt = bits == 32 ? PIXMAN_x8r8g8b8 : PIXMAN_r8g8b8;
    pixman_image_t* d = px.create_bits(fmt, kW, kH, reinterpret_cast<uint32_t*>(dst->ScanLine(0)), dst->Stride());
    pixman_image_t* s = px.create_bits(sfmt, kW, kH, reinterpret_cast<uint32_t*>(src->ScanLine(0)), src->Stride());
    pixman_color_t maskColor{0, 0, 0, static_cast<uint16_t>((255 - 100) * 257)};
    pixman_image_t* m = px.solid(&maskColor);
    for (auto _ : state) {
        px.composite(PIXMAN_OP_OVER, s, m, d, 0, 0, 0, 0, 0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
    px.unref(m);
    px.unref(s);
    px.unref(d);
    PerPixel(state, static_cast<long>(kW) * kH);
}
BENCHMARK(BM_PixmanComposite)->Arg(24)->Arg(32);
#endif

void BM_FillGradient(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    TBitmap b(kW, kH, TPixelFormat::pf32bit);
    skin::TsGradArray parts = {{0x202020, 0xF0C080, 40, mode}, {0x103050, 0x80FF20, 60, mode}};
    for (auto _ : state) {
        paint::FillGradient(b, RECT{0, 0, kW, kH}, parts, 0);
        benchmark::ClobberMemory();
    }
    PerPixel(state, static_cast<long>(kW) * kH);
}
BENCHMARK(BM_FillGradient)->Arg(0)->Arg(1)->ArgNames({"mode"});

// A skin with one section: gradient and texture mixed, a 3-state frame image with 8-pixel
// margins, corner images.
struct BenchSkin {
    skin::TsSkinModel model;
    BenchSkin(int maskType) {
        model.MasterBitmap = Noise(200, 120, TPixelFormat::pf24bit, 7);
        skin::TsGeneralData s;
        s.SectionName = "FORM";
        s.Color = 0x406080;
        s.GradientPercent = 50;
        s.ImagePercent = 50;
        s.GradientArray = {{0x202020, 0xF0C080, 100, 0}};
        model.Sections.push_back(std::move(s));
        Add("PATTERN", RECT{0, 0, 64, 48}, 1, 0, 0, 0);
        Add("BORDERSMASK", RECT{64, 0, 64 + 3 * 32, 32 * (maskType + 1)}, 3, maskType, 4, 8);
        model.Sections[0].BorderIndex = 1;
        model.Sections[0].ImgTL = Add("IMGTOPLEFT", RECT{0, 100, 10, 110}, 1, 0, 0, 0);
    }
    int Add(const char* prop, RECT r, int count, int maskType, int drawMode, int margin) {
        skin::TsMaskData m;
        m.SectionName = "FORM";
        m.PropertyName = prop;
        m.R = r;
        m.ImageCount = static_cast<std::int16_t>(count);
        m.MaskType = static_cast<std::int16_t>(maskType);
        m.DrawMode = static_cast<std::int16_t>(drawMode);
        m.WL = m.WT = m.WR = m.WB = static_cast<std::int16_t>(margin);
        model.Masks.push_back(std::move(m));
        return static_cast<int>(model.Masks.size()) - 1;
    }
};

void BM_DrawBorderMask(benchmark::State& state) {
    BenchSkin skin(static_cast<int>(state.range(0)));
    TBitmap b(kW, kH, TPixelFormat::pf32bit), parent(kW, kH, TPixelFormat::pf32bit);
    for (auto _ : state) {
        paint::DrawBorderMask(b, RECT{0, 0, kW, kH}, true, true, 1, skin.model, 1, paint::BgSourceFromBitmap(&parent, 0, 0));
        benchmark::ClobberMemory();
    }
    PerPixel(state, static_cast<long>(kW) * kH);
}
BENCHMARK(BM_DrawBorderMask)->Arg(0)->Arg(1)->ArgNames({"masktype"});

void BM_PaintSectionRect(benchmark::State& state) {
    BenchSkin skin(static_cast<int>(state.range(1)));
    skin.model.Sections[0].Transparency = static_cast<int>(state.range(0));
    TBitmap b(kW, kH, TPixelFormat::pf32bit), parent(kW, kH, TPixelFormat::pf32bit);
    for (auto _ : state) {
        paint::PaintSectionRect(&skin.model, 0, "FORM", paint::BgSourceFromBitmap(&parent, 0, 0), -1, -1, b, POINT{0, 0},
                                RECT{0, 0, kW, kH}, 0, true);
        benchmark::ClobberMemory();
    }
    PerPixel(state, static_cast<long>(kW) * kH);
}
BENCHMARK(BM_PaintSectionRect)->Args({0, 0})->Args({40, 0})->Args({0, 1})->ArgNames({"transparency", "masktype"})->Unit(benchmark::kMicrosecond);

void BM_DrawGlowText(benchmark::State& state) {
    const bool cached = state.range(0) != 0;
    TBitmap b(400, 40, TPixelFormat::pf32bit);
    const std::string caption = "Утрозвон: будильник на неделю";  // 30 characters
    paint::GlowMask mask;
    const RECT r{10, 8, 390, 32};
    for (auto _ : state) {
        if (!cached) mask.Clear();
        paint::DrawGlowText(b, caption, r, mask, 0xFFFFFF, 4, paint::kGlowContourAll, DT_SINGLELINE | DT_VCENTER);
        benchmark::ClobberMemory();
    }
    PerPixel(state, static_cast<long>(mask.width) * mask.height);
}
BENCHMARK(BM_DrawGlowText)->Arg(0)->Arg(1)->ArgNames({"cached"})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
