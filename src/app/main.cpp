// Утрозвон: a weekly alarm clock.
#include <clocale>
#include <cstdio>
#include <exception>

#include "app/main_form.h"
#include "platform/backend.h"

int main() {
    std::setlocale(LC_ALL, "");
    try {
        platform::CurrentBackend();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "utrozvon: %s\n", e.what());
        return 1;
    }
    framework::TApplication application;
    application.Initialize();
    application.Title = "Утрозвон";
    app::TfrmMain* frmMain = nullptr;
    application.CreateForm(frmMain);
    application.Run();
    return application.ExitCode();
}
