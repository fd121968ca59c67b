// The settings file: 21 lines (seven enable states, seven alarm times, seven melody paths).
#include <unistd.h>

#include <climits>

#include "app/boolean_text.h"
#include "app/main_form.h"
#include "framework/text_file.h"

namespace app {

std::string ExecutableDirectory() {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "./";
    std::string path(buffer, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/') + 1);
}

namespace {
std::string& SettingsFolderOverride() {
    static std::string folder;
    return folder;
}
}  // namespace

void SetSettingsFolderForTests(const std::string& folder) { SettingsFolderOverride() = folder; }

std::string TfrmMain::SettingsPath() const {
    const std::string& folder = SettingsFolderOverride();
    return (folder.empty() ? ExecutableDirectory() : folder + "/") + "nastr.ini";
}

// Each value reaches its control as soon as its line is read, so a failure keeps what came
// before it.
void TfrmMain::ReadIni() {
    TextFileReader file(SettingsPath());
    for (TCheckBox* box : sCheckBox) box->SetChecked(StrToBoolean(file.ReadLine()));
    for (shell::TsEdit* edit : sEdit) edit->SetText(file.ReadLine());
    for (shell::TsFilenameEdit* edit : sFilenameEdit) edit->SetText(file.ReadLine());
}

// Written to a temporary file and renamed over the old one, so that a failed or interrupted
// save leaves the previous schedule intact.
void TfrmMain::SaveIni() {
    AtomicTextFileWriter file(SettingsPath());
    for (TCheckBox* box : sCheckBox) file.WriteLine(box->Checked() ? "TRUE" : "FALSE");
    for (shell::TsEdit* edit : sEdit) file.WriteLine(edit->Text());
    for (shell::TsFilenameEdit* edit : sFilenameEdit) file.WriteLine(edit->Text());
    file.Commit();
}

}  // namespace app
