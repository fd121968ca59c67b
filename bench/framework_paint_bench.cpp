// Painting a form of 25 standard controls in the classic look on the headless screen.
#include <benchmark/benchmark.h>

#include "framework/application.h"
#include "framework/std_controls.h"
#include "framework/std_edit.h"
#include "platform/headless/headless_backend.h"

namespace {

using namespace framework;

TForm* BuildForm(TApplication& app) {
    TForm* form = nullptr;
    app.CreateForm(form);
    form->SetClientSize(487, 293);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetAlign(TAlign::alClient);
    auto* group = new TGroupBox(form);
    group->SetParent(panel);
    group->SetBounds(8, 16, 473, 201);
    group->SetCaption(" Дни недели ");
    for (int d = 0; d < 7; ++d) {
        auto* box = new TCheckBox(form);
        box->SetParent(group);
        box->SetBounds(8, 24 + 24 * d, 90, 19);
        box->SetCaption("понедельник");
        auto* time = new TEdit(form);
        time->SetParent(group);
        time->SetBounds(104, 24 + 24 * d, 49, 21);
        time->SetText("07:00:00");
        auto* path = new TEdit(form);
        path->SetParent(group);
        path->SetBounds(160, 24 + 24 * d, 297, 21);
        path->SetText("/home/user/Музыка/будильник.ogg");
    }
    auto* toggle = new TSpeedButton(form);
    toggle->SetParent(panel);
    toggle->SetBounds(8, 224, 73, 33);
    toggle->SetCaption("Вкл");
    auto* bar = new TStatusBar(form);
    bar->SetParent(panel);
    for (int w : {380, 40, 35}) bar->Panels().Add()->SetWidth(w);
    form->Show();
    return form;
}

void BM_RepaintFormOf25Controls(benchmark::State& state) {
    static bool installed = [] {
        platform::InstallBackend(std::make_unique<platform::headless::HeadlessBackend>(SIZE{1280, 1024}));
        return true;
    }();
    (void)installed;
    TApplication app;
    TForm* form = BuildForm(app);
    app.ProcessMessages();
    for (auto _ : state) {
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        app.ProcessMessages();
    }
}
BENCHMARK(BM_RepaintFormOf25Controls)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
