// Loading a skin of about 150 image entries with a 512 x 512 master bitmap, packed and as a
// folder, and the three parts of the work on their own: inflating the archive, decoding the
// pictures, parsing the options text into sections.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "../tests/skin/skin_maker.h"
#include "skin/skin_loader.h"
#include "skin/skin_manager.h"

namespace {

using namespace skin_testing;

std::string Num(int v, int width) {
    std::string s = std::to_string(v);
    return std::string(static_cast<std::size_t>(std::max(0, width - static_cast<int>(s.size()))), ' ') + s;
}

std::string Rect(int l, int t, int r, int b) {
    std::string s = Num(l, 4);
    s.append(",").append(Num(t, 4)).append(",").append(Num(r, 4)).append(",").append(Num(b, 4));
    return s;
}

// 30 sections of five entries: three in the master bitmap, two pictures of their own.
SkinFiles BenchSkin() {
    SkinFiles s;
    s.options = "[GLOBALINFO]\nVERSION=6.5\nMASTERBITMAP=MASTER.BMP\nCOLOR=$C0C0C0\n";
    s.files["MASTER.BMP"] = MakeBmp(512, 512);
    for (int i = 0; i < 30; ++i) {
        std::string name = "SECTION";
        name.append(std::to_string(i));
        int x = (i % 8) * 60, y = (i / 8) * 60;
        s.options.append("[").append(name).append("]\n");
        if (i > 0) s.options.append("PARENTCLASS=SECTION").append(std::to_string(i - 1)).append("\n");
        s.options.append("COLOR=$").append(std::to_string(100000 + i)).append("\nGRADIENTDATA=1;2;50;0;0;3;4;50;1;0\n");
        s.options.append("BORDERSMASK=^").append(Rect(x, y, x + 36, y + 24)).append("    4,   4,   4,   4 3 1 0 0\n");
        s.options.append("GLYPHMASK=@").append(Rect(x, y + 30, x + 30, y + 40)).append(" 3 0\n");
        s.options.append("PATTERN=# (").append(std::to_string(x)).append(",").append(std::to_string(y + 44));
        s.options.append(",").append(std::to_string(x + 20)).append(",").append(std::to_string(y + 56)).append(") (1,0,0,2)\n");
        std::string png = "P";
        png.append(std::to_string(i)).append(".PNG");
        std::string bmp = "B";
        bmp.append(std::to_string(i)).append(".BMP");
        s.options.append("BTN=!").append(png).append("!3!1!4\n");
        s.options.append("ICON=!").append(bmp).append("!2!0!2\n");
        s.files[png] = MakePng(90, 40, true);
        s.files[bmp] = MakeBmp(40, 20);
    }
    return s;
}

struct Fixture {
    TempDir dir;
    SkinFiles skin = BenchSkin();
    Bytes packed;
    Fixture() {
        skin.WriteFolder(dir / "Folder");
        packed = skin.Packed();
        WriteFile(dir / "Packed.asz", packed);
    }
};

Fixture& Data() {
    static Fixture f;
    return f;
}

void LoadByManager(benchmark::State& state, const char* name) {
    skin::SetSkinMessageBox([](HWND, const std::string&, const std::string&, UINT) { return IDOK; });
    skin::TsSkinManager manager(nullptr);
    manager.SetSkinDirectory(Data().dir.Path());
    for (auto _ : state) {
        manager.SetSkinName(name);
        if (manager.Model().Masks.size() < 150) state.SkipWithError("the skin did not load");
    }
    state.counters["entries"] = static_cast<double>(manager.Model().Masks.size());
}

void BM_LoadPacked(benchmark::State& state) { LoadByManager(state, "Packed"); }
void BM_LoadFolder(benchmark::State& state) { LoadByManager(state, "Folder"); }

void BM_Inflate(benchmark::State& state) {
    for (auto _ : state) {
        auto reader = std::make_unique<skin::TacSkinConvertor>();
        reader->SetArchiveStream(Data().packed);
        skin::ParseArchive(reader);
        benchmark::DoNotOptimize(reader->ImageItems.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(Data().packed.size()));
}

// Every picture of the skin through the loaders, sections left out.
void BM_DecodePictures(benchmark::State& state) {
    auto reader = std::make_unique<skin::TacSkinConvertor>();
    reader->SetArchiveStream(Data().packed);
    skin::ParseArchive(reader);
    skin::TsOptionsText text = skin::TsOptionsText::Parse(Data().skin.options);
    skin::TsLoadSource source;
    source.options = &text;
    source.archive = reader.get();
    for (auto _ : state) {
        skin::TsSkinModel model;
        skin::LoadMasks(model, source);
        benchmark::DoNotOptimize(model.Masks.data());
    }
}

// The options text into global values, section records (with inheritance) and indexes.
void BM_ParseSections(benchmark::State& state) {
    for (auto _ : state) {
        skin::TsOptionsText parsed = skin::TsOptionsText::Parse(Data().skin.options);
        skin::TsLoadSource source;
        source.options = &parsed;
        skin::TsSkinModel model;
        skin::LoadSections(model, source);
        model.UpdateIndexes();
        benchmark::DoNotOptimize(model.Sections.data());
    }
}

BENCHMARK(BM_LoadPacked)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Inflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePictures)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseSections)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("UTROZVON_BACKEND", "headless", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
