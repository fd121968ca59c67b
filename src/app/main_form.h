// The main window: seven day rows (enable box, alarm time, melody path), the arm toggle, the
// stop button, the status bar, the command menu and the one-second alarm check. The rows are
// the schedule; nothing else holds it.
#pragma once

#include <array>
#include <string>

#include "app/time_rules.h"
#include "framework/application.h"
#include "framework/menus.h"
#include "framework/std_controls.h"
#include "framework/std_edit.h"
#include "framework/timer.h"
#include "forms/skin_provider.h"
#include "shell/file_edit.h"
#include "paint/check_box.h"
#include "paint/edit.h"
#include "paint/group_box.h"
#include "paint/panel.h"
#include "paint/speed_button.h"
#include "paint/status_bar.h"
#include "shell/tray_icon.h"
#include "skin/skin_manager.h"

namespace app {

using namespace framework;

// The address N4 opens; also the tail of its caption.
inline constexpr const char* kAuthorSite = "https://utrozvon.example.org/";
inline constexpr const char* kArmed = "Вкл";
inline constexpr const char* kDisarmed = "Выкл";
// The alarm check's period, and the part of the second (in ms) its ticks are kept in.
inline constexpr int kTickInterval = 1000;
inline constexpr int kTickPhaseLow = 250;
inline constexpr int kTickPhaseHigh = 750;

class TfrmMain : public TDescribedForm {
public:
    explicit TfrmMain(TComponent* owner);
    void BuildForm() override;

    TTimer* Timer1 = nullptr;
    paint::TsPanel* sPanel1 = nullptr;
    skin::TsSkinManager* sSkinManager1 = nullptr;
    forms::TsSkinProvider* sSkinProvider1 = nullptr;
    paint::TsGroupBox* sGroupBox1 = nullptr;
    std::array<paint::TsCheckBox*, 7> sCheckBox{};
    std::array<shell::TsFilenameEdit*, 7> sFilenameEdit{};
    std::array<paint::TsEdit*, 7> sEdit{};
    paint::TsSpeedButton* SButton = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* N1 = nullptr;
    paint::TsSpeedButton* sSpeedButton1 = nullptr;
    paint::TsStatusBar* sStatusBar1 = nullptr;
    shell::TTrayIcon* TrayIcon1 = nullptr;
    TMenuItem *N2 = nullptr, *N3 = nullptr, *N4 = nullptr, *N5 = nullptr, *N6 = nullptr;
    std::uint32_t FStream = 0;

    // Handlers bound by the description.
    void FormCreate(TObject* sender);
    void Timer1Timer(TObject* sender);
    void SButtonClick(TObject* sender);
    void sSpeedButton1Click(TObject* sender);
    void N1Click(TObject* sender);
    void N2Click(TObject* sender);
    void N4Click(TObject* sender);
    void N5Click(TObject* sender);
    void N6Click(TObject* sender);
    void TrayIcon1Click(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    // The tray went away while the window hid behind its icon: it comes back minimised.
    void TrayLost();

    void ReadIni();
    void SaveIni();
    bool PlayFile(const std::string& path);

    // Regional time settings used by the alarm check, read at start.
    TimeFormatSettings TimeSettings;
    // "nastr.ini" beside the executable.
    std::string SettingsPath() const;
    // The remembered skin choice, beside the settings file (see skin_choice.h).
    std::string SkinChoicePath() const;
    // The skin the window starts with: the remembered one when it is valid and present in
    // the skins folder, else kDefaultSkin.
    std::string StartSkin() const;
    // Writes the manager's skin into the choice file after a change that loaded a skin. A
    // failed write keeps the previous file and the new look; it is told on stderr only,
    // since a message box at every change would punish a read-only installation.
    void RememberSkin();

private:
    void BuildRows();
    void BuildMenu();
    void BuildStatusBar();
    void CheckRow(int day);
    void KeepTicksAtMidSecond();
    void BuildSkin();

    // What the choice file holds as far as this run knows; a change to it is written.
    std::string rememberedSkin_;
};

// The folder of the running executable, with a trailing "/".
std::string ExecutableDirectory();
// Tests keep their settings files in a folder of their own (empty: beside the executable).
void SetSettingsFolderForTests(const std::string& folder);
// The folder of the settings file, with a trailing "/".
std::string SettingsFolder();
// The folder the window's skins are looked for in: "Skins" beside the executable, or the
// folder tests name (empty: beside the executable).
std::string SkinsFolder();
void SetSkinsFolderForTests(const std::string& folder);

}  // namespace app
