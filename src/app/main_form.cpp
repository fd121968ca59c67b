#include "app/main_form.h"

#include "app/artwork.h"
#include "app/skin_choice.h"
#include "skin/skin_engine.h"

namespace app {

namespace {

struct DayRow {
    const char* caption;
    int boxWidth;
};
constexpr std::array<DayRow, 7> kDays{{{"понедельник", 94},
                                       {"вторник", 69},
                                       {"среда", 58},
                                       {"четверг", 67},
                                       {"пятница", 69},
                                       {"суббота", 68},
                                       {"воскресенье", 94}}};

void SetWindowFont(TFont& font) {
    font.SetName("MS Sans Serif");
    font.SetHeight(-11);
    font.SetColor(clBlack);
    font.SetCharset(DEFAULT_CHARSET);
    font.SetStyle(0);
}

}  // namespace

TfrmMain::TfrmMain(TComponent* owner) : TDescribedForm(owner) { SetName("frmMain"); }

// Components in the order of the window's description: the window's own properties, the
// panel and its children depth first, then the timer, the menu and its items.
void TfrmMain::BuildForm() {
    SetCaption("Утрозвон. v.1.0");
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetBorderIcons(biSystemMenu | biMinimize);
    SetClientSize(487, 293);
    Position = TPosition::poScreenCenter;
    SetColor(clBtnFace);
    SetWindowFont(Font());
    TIcon icon;
    icon.FromBitmap(*MakeClockIcon());
    SetIcon(icon);
    OnCreate = [this](TObject* s) { FormCreate(s); };

    sPanel1 = Create<paint::TsPanel>(this, "sPanel1");
    sPanel1->SetParent(this);
    sPanel1->SetBounds(0, 0, 487, 293);
    sPanel1->SetAlign(TAlign::alClient);
    sPanel1->SetCaption("sPanel1");
    sPanel1->SetTabOrder(0);

    SButton = Create<paint::TsSpeedButton>(this, "SButton");
    SButton->SetParent(sPanel1);
    SButton->SetBounds(8, 224, 73, 33);
    SButton->SetCaption(kArmed);
    SButton->Font().SetName("Arial");
    SButton->Font().SetHeight(-16);
    SButton->Font().SetColor(clBlack);
    SButton->OnClick = [this](TObject* s) { SButtonClick(s); };

    sSpeedButton1 = Create<paint::TsSpeedButton>(this, "sSpeedButton1");
    sSpeedButton1->SetParent(sPanel1);
    sSpeedButton1->SetBounds(432, 224, 49, 33);
    sSpeedButton1->Flat = true;
    sSpeedButton1->SkinData.SetSkinSection("SPLITTER");
    sSpeedButton1->SetHint("Остановить воспроизведение");
    sSpeedButton1->SetShowHint(true);
    sSpeedButton1->Glyph().Assign(*MakeStopGlyph());
    sSpeedButton1->OnClick = [this](TObject* s) { sSpeedButton1Click(s); };

    BuildRows();
    BuildStatusBar();

    Timer1 = Create<TTimer>(this, "Timer1");
    Timer1->SetInterval(1000);
    Timer1->SetEnabled(true);
    Timer1->SetOnTimer([this](TObject* s) { Timer1Timer(s); });

    BuildSkin();

    BuildMenu();
    sPanel1->SetPopupMenu(PopupMenu1);
    // The painter takes over a menu when the control that owns it is asked for it; a right
    // click on a child (the group box, a day box) reaches the panel's menu without that, so
    // the menu is handed over each time it opens.
    PopupMenu1->OnPopup = [this](TObject*) {
        if (skin::FormLayer())
            skin::FormLayer()->HookPopupMenu(*PopupMenu1, sSkinManager1, sSkinManager1->Active());
    };

    TrayIcon1 = Create<shell::TTrayIcon>(this, "TrayIcon1");
    TrayIcon1->SetActive(false);
    TrayIcon1->SetHint("Утрозвон");
    TrayIcon1->SetIcon(Icon());
    TrayIcon1->OnClick = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { TrayIcon1Click(s, b, sh, x, y); };
    TrayIcon1->OnTrayLost = [this](TObject*) { TrayLost(); };
}

// The skins folder is named in full: the manager resolves a relative folder against the
// program for folder skins but against the current folder for packed ones, and the shipped
// skins are packed. The remembered skin is read before the first load; one that fails to
// load (a damaged file) gives way to the program's own skin.
void TfrmMain::BuildSkin() {
    sSkinManager1 = Create<skin::TsSkinManager>(this, "sSkinManager1");
    sSkinManager1->SetSkinDirectory(SkinsFolder());
    rememberedSkin_ = ReadSkinChoice(SkinChoicePath());
    const std::string start = StartSkin();
    sSkinManager1->SetSkinName(start);
    if (sSkinManager1->SkinName() != start && start != kDefaultSkin)
        sSkinManager1->SetSkinName(kDefaultSkin);
    sSkinManager1->OnAfterChange = [this](TObject*) { RememberSkin(); };

    sSkinProvider1 = Create<forms::TsSkinProvider>(this, "sSkinProvider1");
    sSkinProvider1->SkinData().SetSkinSection("FORM");
    SetWindowFont(sSkinProvider1->AddedTitle.Font);
    sSkinProvider1->AddedTitle.Font.SetColor(clNone);
    // The system menu offers the skins found beside the program; the choice is remembered
    // through the manager's change event above.
    sSkinProvider1->MakeSkinMenu = true;
}

void TfrmMain::BuildRows() {
    sGroupBox1 = Create<paint::TsGroupBox>(this, "sGroupBox1");
    sGroupBox1->SetParent(sPanel1);
    sGroupBox1->SetBounds(8, 16, 473, 201);
    sGroupBox1->SetCaption(" Дни недели ");
    sGroupBox1->SetTabOrder(0);
    for (int d = 0; d < 7; ++d) {
        int top = 24 + 24 * d;
        auto* box = Create<paint::TsCheckBox>(this, "sCheckBox" + std::to_string(d + 1));
        box->SetParent(sGroupBox1);
        // The rows were laid out for fonts whose metrics ours only approximate: sizing the
        // boxes to our text would move them off the described layout, so they keep it.
        box->SetAutoSize(false);
        box->SetBounds(8, top, kDays[static_cast<size_t>(d)].boxWidth, 19);
        box->SetCaption(kDays[static_cast<size_t>(d)].caption);
        box->SetTabOrder(d);
        sCheckBox[static_cast<size_t>(d)] = box;
    }
    for (int d = 0; d < 7; ++d) {
        auto* edit = Create<shell::TsFilenameEdit>(this, "sFilenameEdit" + std::to_string(d + 1));
        edit->SetParent(sGroupBox1);
        edit->SetBounds(160, 24 + 24 * d, 297, 21);
        edit->SetColor(clWhite);
        SetWindowFont(edit->Font());
        edit->SetMaxLength(255);
        edit->SetTabOrder(d + 7);
        sFilenameEdit[static_cast<size_t>(d)] = edit;
    }
    for (int d = 0; d < 7; ++d) {
        auto* edit = Create<paint::TsEdit>(this, "sEdit" + std::to_string(d + 1));
        edit->SetParent(sGroupBox1);
        edit->SetBounds(104, 24 + 24 * d, 49, 21);
        edit->SetText("07:00:00");
        edit->SetColor(clWhite);
        SetWindowFont(edit->Font());
        edit->SetTabOrder(d + 14);
        sEdit[static_cast<size_t>(d)] = edit;
    }
}

void TfrmMain::BuildStatusBar() {
    sStatusBar1 = Create<paint::TsStatusBar>(this, "sStatusBar1");
    sStatusBar1->SetParent(sPanel1);
    sStatusBar1->SetBounds(1, 273, 485, 19);
    sStatusBar1->SetAlign(TAlign::alBottom);
    for (int width : {380, 40, 35}) sStatusBar1->Panels().Add()->SetWidth(width);
    // The skinned bar draws its grip whatever the window; this one cannot be resized, and a
    // grip would promise a drag that does nothing.
    sStatusBar1->SizeGrip = false;
}

void TfrmMain::BuildMenu() {
    PopupMenu1 = Create<TPopupMenu>(this, "PopupMenu1");
    PopupMenu1->OwnerDraw = true;
    PopupMenu1->AutoPopup = true;
    auto item = [this](TMenuItem*& field, const char* name, const std::string& caption, void (TfrmMain::*handler)(TObject*)) {
        field = Create<TMenuItem>(this, name);
        field->SetCaption(caption);
        if (handler) field->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
        PopupMenu1->Items()->Add(field);
    };
    item(N1, "N1", "Сохранить настройки", &TfrmMain::N1Click);
    item(N2, "N2", "Свернуть в трей", &TfrmMain::N2Click);
    item(N5, "N5", "Установить во все дни время по ПН", &TfrmMain::N5Click);
    item(N6, "N6", "Установить во все дни мелодии звонка по ПН", &TfrmMain::N6Click);
    item(N3, "N3", "-", nullptr);
    item(N4, "N4", std::string("Перейти на сайт автора ") + kAuthorSite, &TfrmMain::N4Click);
}

}  // namespace app
