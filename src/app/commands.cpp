// The window's commands: creation, the arm toggle, stop, and the menu items.
#include "app/main_form.h"
#include "audio/bass_api.h"
#include "app/settings_save.h"
#include "platform/shell.h"

namespace app {

void TfrmMain::FormCreate(TObject*) {
    BASS_Init(1, 44100, 4, Handle(), nullptr);
    BASS_Start();
    BASS_INFO info{};
    BASS_GetInfo(&info);
    TimeSettings = ReadLocaleTimeSettings();
    RemoveStaleSaveTemporary(SettingsPath());
    try {
        ReadIni();
    } catch (...) {
        // Start with what was read; a missing or damaged file is not reported.
    }
}

void TfrmMain::SButtonClick(TObject*) { SButton->SetCaption(SButton->Caption() == kArmed ? kDisarmed : kArmed); }

// Stops the newest melody and every older one still playing, so no alarm is left unreachable.
void TfrmMain::sSpeedButton1Click(TObject*) {
    BASS_ChannelStop(FStream);
    audio::StopAll();
}

void TfrmMain::N1Click(TObject*) { SaveIni(); }

// Without a tray to show the icon that brings the window back, hiding would lose the window:
// it is minimised instead.
void TfrmMain::N2Click(TObject*) {
    TrayIcon1->SetActive(true);
    if (!TrayIcon1->Added()) {
        TrayIcon1->SetActive(false);
        ShowWindow(Handle(), SW_MINIMIZE);
        return;
    }
    Hide();
}

void TfrmMain::TrayLost() {
    TrayIcon1->SetActive(false);
    if (Visible()) return;
    Show();
    ShowWindow(Handle(), SW_MINIMIZE);
}

void TfrmMain::TrayIcon1Click(TObject*, TMouseButton, TShiftState, int, int) {
    Show();
    TrayIcon1->SetActive(false);
}

void TfrmMain::N5Click(TObject*) {
    for (size_t d = 1; d < 7; ++d) sEdit[d]->SetText(sEdit[0]->Text());
}

void TfrmMain::N6Click(TObject*) {
    for (size_t d = 1; d < 7; ++d) sFilenameEdit[d]->SetText(sFilenameEdit[0]->Text());
}

void TfrmMain::N4Click(TObject*) { ShellExecuteA(Handle(), nullptr, kAuthorSite, nullptr, nullptr, SW_SHOW); }

}  // namespace app
