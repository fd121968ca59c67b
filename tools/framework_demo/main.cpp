// A form with one of each standard control, for looking at the classic look and for the
// scenario tests that click, type, tab and open the panel's menu.
#include <cstdio>
#include <exception>

#include "framework/application.h"
#include "framework/menus.h"
#include "framework/std_controls.h"
#include "framework/std_edit.h"
#include "platform/backend.h"

namespace {

using namespace framework;

class DemoForm : public TDescribedForm {
public:
    using TDescribedForm::TDescribedForm;

    void BuildForm() override {
        SetCaption("Образцы элементов");
        SetBorderStyle(TFormBorderStyle::bsSingle);
        SetBorderIcons(biSystemMenu | biMinimize);
        SetClientSize(360, 240);
        Position = TPosition::poScreenCenter;
        auto* panel = Create<TPanel>(this, "panel");
        panel->SetParent(this);
        panel->SetAlign(TAlign::alClient);
        auto* group = Create<TGroupBox>(this, "group");
        group->SetParent(panel);
        group->SetBounds(8, 8, 344, 110);
        group->SetCaption(" Группа ");
        auto* check = Create<TCheckBox>(this, "check");
        check->SetParent(group);
        check->SetBounds(10, 22, 120, 19);
        check->SetCaption("Флажок");
        auto* edit = Create<TEdit>(this, "edit");
        edit->SetParent(group);
        edit->SetBounds(10, 48, 200, 21);
        edit->SetText("Текст");
        auto* readOnly = Create<TEdit>(this, "readOnly");
        readOnly->SetParent(group);
        readOnly->SetBounds(10, 76, 200, 21);
        readOnly->SetText("Только чтение");
        readOnly->ReadOnly = true;
        auto* raised = Create<TSpeedButton>(this, "raised");
        raised->SetParent(panel);
        raised->SetBounds(8, 128, 90, 30);
        raised->SetCaption("Кнопка");
        auto* flat = Create<TSpeedButton>(this, "flat");
        flat->SetParent(panel);
        flat->SetBounds(106, 128, 90, 30);
        flat->SetCaption("Плоская");
        flat->Flat = true;
        flat->SetHint("Подсказка");
        flat->SetShowHint(true);
        auto* bar = Create<TStatusBar>(this, "bar");
        bar->SetParent(panel);
        for (int w : {200, 80, 60}) bar->Panels().Add()->SetWidth(w);
        raised->OnClick = [bar, edit](TObject*) { bar->Panels()[0]->SetText("Нажата: " + edit->Text()); };
        check->OnClick = [bar, check](TObject*) { bar->Panels()[1]->SetText(check->Checked() ? "вкл" : "выкл"); };
        auto* menu = Create<TPopupMenu>(this, "menu");
        for (const char* caption : {"Первый", "Второй", "-", "Выход"}) {
            auto* item = Create<TMenuItem>(this, "item");
            item->SetCaption(caption);
            item->OnClick = [bar, caption](TObject*) { bar->Panels()[2]->SetText(caption); };
            menu->Items()->Add(item);
        }
        menu->Items()->Items(3)->OnClick = [this](TObject*) { Close(); };
        panel->SetPopupMenu(menu);
    }
};

}  // namespace

int main() {
    try {
        platform::CurrentBackend();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "framework_demo: %s\n", e.what());
        return 1;
    }
    TApplication application;
    application.Title = "Образцы";
    DemoForm* form = nullptr;
    application.CreateForm(form);
    application.Run();
    return application.ExitCode();
}
