// The skinned popup menu with the shipped DarkGlass skin on the headless screen: from the
// right click on the window to the menu loop's first idle moment (the popup measured, its
// background built, every item painted and presented), and moving the selection one item
// (key to the next idle moment, the popup repainted).
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

#include "forms/form_layer.h"
#include "forms/skinable_menus.h"
#include "framework/application.h"
#include "framework/form.h"
#include "framework/menus.h"
#include "platform/headless/headless_backend.h"
#include "platform/menu.h"
#include "skin/skin_manager.h"

namespace {

using Clock = std::chrono::steady_clock;

platform::headless::HeadlessBackend& Screen() {
    static platform::headless::HeadlessBackend* screen = [] {
        auto backend = std::make_unique<platform::headless::HeadlessBackend>(SIZE{1280, 1024});
        auto* raw = backend.get();
        platform::InstallBackend(std::move(backend));
        return raw;
    }();
    return *screen;
}

// The shipped skins in the source tree. Ninja compiles from the build folder, so a relative
// __FILE__ is taken from there (one above this executable's folder).
std::string SkinsDir() {
    std::filesystem::path source(__FILE__);
    if (source.is_relative())
        source =
            std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / source;
    return (source.parent_path().parent_path() / "skins").lexically_normal().string();
}

std::function<void()> g_idle;
WNDPROC g_ownerProc = nullptr;

LRESULT IdleWatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENTERIDLE && wParam == MSGF_MENU && g_idle) g_idle();
    return CallWindowProc(g_ownerProc, hwnd, msg, wParam, lParam);
}

struct Scene {
    Scene() {
        Screen();
        manager = std::make_unique<skin::TsSkinManager>(nullptr);
        manager->SetSkinDirectory(SkinsDir());
        manager->SetSkinName("DarkGlass");
        app.CreateForm(form);
        form->SetBounds(100, 100, 487, 293);
        menu = new framework::TPopupMenu(form);
        for (const char* caption :
             {"Сохранить настройки", "Свернуть в трей", "-", "Установить во все дни время по ПН",
              "Установить во все дни мелодии звонка по ПН", "Перейти на сайт автора "}) {
            auto* item = new framework::TMenuItem(form);
            item->SetCaption(caption);
            menu->Items()->Add(item);
        }
        // As the control binding does on WM_CONTEXTMENU: the menu is handed to the painter.
        menu->OnPopup = [this](framework::TObject*) {
            skin::FormLayer()->HookPopupMenu(*menu, manager.get(), manager->Active());
        };
        form->SetPopupMenu(menu);
        form->Show();
        app.ProcessMessages();
        HWND owner = menu->WindowHandle();
        g_ownerProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtr(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IdleWatch)));
    }
    ~Scene() {
        SetWindowLongPtr(menu->WindowHandle(), GWLP_WNDPROC,
                         reinterpret_cast<LONG_PTR>(g_ownerProc));
        g_idle = nullptr;
        delete form;
        manager.reset();
    }
    // Right-clicks the window and runs `idle` at each idle moment of the menu loop.
    void RightClick(std::function<void()> idle) {
        g_idle = std::move(idle);
        POINT at{60, 60};
        ClientToScreen(form->Handle(), &at);
        Screen().Click(platform::MouseButton::Right, at);
        app.ProcessMessages();
        g_idle = nullptr;
    }
    std::unique_ptr<forms::TFormLayer> layer = forms::InstallFormLayer();
    framework::TApplication app;
    std::unique_ptr<skin::TsSkinManager> manager;
    framework::TForm* form = nullptr;
    framework::TPopupMenu* menu = nullptr;
};

void BM_RightClickToFirstMenuFrame(benchmark::State& state) {
    Scene s;
    if (!s.manager->GlobalInfo().SkinReady) state.SkipWithError("the DarkGlass skin did not load");
    for (auto _ : state) {
        Clock::time_point start = Clock::now(), shown{};
        s.RightClick([&] {
            if (shown == Clock::time_point{}) shown = Clock::now();
            Screen().KeyPress(VK_ESCAPE);
        });
        if (shown == Clock::time_point{} || !s.menu->OwnerDraw) {
            state.SkipWithError("no skinned menu opened");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
    }
}
BENCHMARK(BM_RightClickToFirstMenuFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_MoveSelectionOneItem(benchmark::State& state) {
    Scene s;
    constexpr int kMoves = 40;
    for (auto _ : state) {
        int moves = -1;
        Clock::duration total{};
        Clock::time_point sent{};
        s.RightClick([&] {
            if (moves >= 0) total += Clock::now() - sent;
            if (++moves == kMoves) {
                Screen().KeyPress(VK_ESCAPE);
                return;
            }
            sent = Clock::now();
            Screen().KeyPress(VK_DOWN);
        });
        state.SetIterationTime(std::chrono::duration<double>(total).count() / kMoves);
    }
}
BENCHMARK(BM_MoveSelectionOneItem)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
