// The popup menu of the main window drawn with the skins we ship. With UTROZVON_MENU_SHOT set
// to a folder, the screen is saved there as <skin>_menu.png for a person to look at.
#include <cstdlib>
#include <filesystem>

#include "menu_test_support.h"
#include "skin/skin_manager.h"

namespace menu_test {
namespace {

std::function<void()> g_idle;
WNDPROC g_ownerProc = nullptr;

LRESULT IdleWatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENTERIDLE && wParam == MSGF_MENU && g_idle) g_idle();
    return CallWindowProc(g_ownerProc, hwnd, msg, wParam, lParam);
}

std::string SkinsDir() {
    return std::filesystem::path(UTROZVON_TEST_DATA).parent_path().parent_path() / "skins";
}

class ShippedSkinMenu : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        test_support::HeadlessScreen();
        app = std::make_unique<framework::TApplication>();
        manager = std::make_unique<skin::TsSkinManager>(nullptr);
        manager->SetSkinDirectory(SkinsDir());
        manager->SetSkinName(GetParam());
        ASSERT_TRUE(manager->GlobalInfo().SkinReady) << "cannot load " << GetParam();
        form = new framework::TForm(app.get());
        form->SetBounds(40, 40, 360, 260);
        menu = new TPopupMenu(form);
        for (const char* caption :
             {"Сохранить настройки", "Свернуть в трей", "-", "Установить во все дни время по ПН",
              "Установить во все дни мелодии звонка по ПН", "Перейти на сайт &автора "})
            Add(caption);
        Add("Disabled item")->Enabled = false;
        Add("Checked item")->Checked = true;
    }
    void TearDown() override {
        forms::TsSkinableMenus::FreeAllBackgrounds();
        delete form;
        manager.reset();
        app.reset();
    }
    TMenuItem* Add(const std::string& caption) {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        menu->Items()->Add(item);
        return item;
    }
    std::unique_ptr<framework::TApplication> app;
    std::unique_ptr<skin::TsSkinManager> manager;
    std::unique_ptr<forms::TFormLayer> layer = forms::InstallFormLayer();
    framework::TForm* form = nullptr;
    TPopupMenu* menu = nullptr;
};

TEST_P(ShippedSkinMenu, PopupIsDrawnFromTheSkin) {
    skin::FormLayer()->HookPopupMenu(*menu, manager.get(), manager->Active());
    form->Show();
    app->ProcessMessages();
    int step = 0;
    RECT window{};
    std::vector<std::uint32_t> screen;
    g_idle = [&] {
        if (step++ == 0) {
            test_support::HeadlessScreen().KeyPress(VK_DOWN);
            test_support::HeadlessScreen().KeyPress(VK_DOWN);
            return;
        }
        GetWindowRect(FindWindow("#32768", nullptr), &window);
        screen = test_support::HeadlessScreen().ComposeScreen();
        if (const char* dir = std::getenv("UTROZVON_MENU_SHOT"))
            test_support::HeadlessScreen().SaveScreenshot(std::string(dir) + "/" + GetParam() +
                                                          "_menu.png");
        test_support::HeadlessScreen().KeyPress(VK_ESCAPE);
    };
    HWND owner = menu->WindowHandle();
    g_ownerProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IdleWatch)));
    menu->Popup(100, 100);
    SetWindowLongPtr(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_ownerProc));
    g_idle = nullptr;
    ASSERT_FALSE(screen.empty());
    // The second item is selected: its plate is the skin's hot colour somewhere along its row.
    const skin::TsSkinModel& model = manager->Model();
    const skin::TsGeneralData& item =
        model.Sections[static_cast<size_t>(model.FindSection("MENUITEM"))];
    auto px = [&](int x, int y) {
        std::uint32_t v = screen[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)];
        return Rgb(static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                   static_cast<int>(v & 0xFF));
    };
    MenuFontDC font;
    int line = std::max(font.LineHeight(), 16) + 4;
    int y = window.top + 3 + line + line / 2;
    int hot = 0;
    for (int x = window.left + 3; x < window.right - 3; ++x)
        hot += Near(px(x, y), item.HotColor, 24);
    EXPECT_GT(hot, (window.right - window.left) / 2) << "the selected item shows the hot plate";
    EXPECT_NE(px(window.left + 1, window.bottom - 10), framework::ColorToRGB(framework::clMenu));
}

INSTANTIATE_TEST_SUITE_P(Skins, ShippedSkinMenu, ::testing::Values("DarkGlass", "Daybreak"));

}  // namespace
}  // namespace menu_test
