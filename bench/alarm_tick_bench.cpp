// The tick that fires: from the alarm check to the melody's first buffer at the sound output
// (a stream is created only once its first buffer has reached the sink).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "app/main_form.h"
#include "audio/bass_api.h"
#include "platform/clock.h"
#include "platform/headless/headless_backend.h"

namespace {

void WriteMelody(const std::string& path) {
    const std::uint32_t frames = 22050, rate = 44100;
    std::string pcm(frames * 4, '\0');
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + frames * 4);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(2);
    u32(rate);
    u32(rate * 4);
    u16(4);
    u16(16);
    out.write("data", 4);
    u32(frames * 4);
    out.write(pcm.data(), static_cast<std::streamsize>(pcm.size()));
}

void BM_FiringTickToFirstBuffer(benchmark::State& state) {
    platform::InstallBackend(std::make_unique<platform::headless::HeadlessBackend>(SIZE{1280, 1024}));
    std::string folder = std::filesystem::temp_directory_path() / "utrozvon-tick-bench";
    std::filesystem::create_directories(folder);
    std::string sink = "wavenc ! filesink location=" + folder + "/out.wav";
    setenv("UTROZVON_AUDIO_SINK", sink.c_str(), 1);
    app::SetSettingsFolderForTests(folder);
    WriteMelody(folder + "/melody.wav");
    platform::SetLocalTimeSource([] { return platform::LocalTime{2024, 1, 1, 7, 0, 0, 500, 1}; });
    framework::TApplication application;
    app::TfrmMain* form = nullptr;
    application.CreateForm(form);
    audio::Preload();
    form->sCheckBox[0]->SetChecked(true);
    form->sFilenameEdit[0]->SetText(folder + "/melody.wav");
    for (auto _ : state) {
        form->Timer1Timer(form->Timer1);
        state.PauseTiming();
        audio::StopAll();
        state.ResumeTiming();
    }
    platform::SetLocalTimeSource(nullptr);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_FiringTickToFirstBuffer)->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace

BENCHMARK_MAIN();
