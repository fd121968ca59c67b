// Утрозвон: a weekly alarm clock.
#include <clocale>
#include <cstdio>
#include <exception>

#include "app/main_form.h"
#include "forms/form_layer.h"
#include "platform/backend.h"
#include "platform/gdi/font_warmup.h"

int main() {
    std::setlocale(LC_ALL, "");
    // Fonts load while the display connection and the application start.
    platform::gdi::FontWarmup fonts;
    try {
        platform::CurrentBackend();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "utrozvon: %s\n", e.what());
        return 1;
    }
    framework::TApplication application;
    application.Initialize();
    application.Title = "Утрозвон";
    fonts.Wait();
    // Glow windows and the skinned popup menu, reached by the controls through the skin engine.
    auto formLayer = forms::InstallFormLayer();
    app::TfrmMain* frmMain = nullptr;
    application.CreateForm(frmMain);
    application.Run();
    return application.ExitCode();
}
