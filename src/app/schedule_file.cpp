// The settings file: 21 lines (seven enable states, seven alarm times, seven melody paths).
#include <unistd.h>

#include <climits>

#include "app/boolean_text.h"
#include "app/main_form.h"
#include "app/settings_save.h"
#include "framework/exceptions.h"
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

std::string SettingsFolder() {
    const std::string& folder = SettingsFolderOverride();
    return folder.empty() ? ExecutableDirectory() : folder + "/";
}

std::string TfrmMain::SettingsPath() const { return SettingsFolder() + "nastr.ini"; }

// Each value reaches its control as soon as its line is read, so a failure keeps what came
// before it.
void TfrmMain::ReadIni() {
    TextFileReader file(SettingsPath());
    for (TCheckBox* box : sCheckBox) box->SetChecked(StrToBoolean(file.ReadLine()));
    for (paint::TsEdit* edit : sEdit) edit->SetText(file.ReadLine());
    for (shell::TsFilenameEdit* edit : sFilenameEdit) edit->SetText(file.ReadLine());
}

namespace {

constexpr int kInvalidFileName = 3;  // "Invalid filename"

// A line break or Ctrl-Z inside a text would end its line early and shift every later row.
bool BreaksALine(const std::string& text) { return text.find_first_of("\r\n\x1a") != std::string::npos; }

void AppendLine(std::string& out, const std::string& line) {
    out.append(line);
    out.append("\r\n");
}

}  // namespace

// The whole file is built first and nothing is written when a text cannot stand on one line;
// SaveFileReplacing keeps the previous file whole when the write fails.
void TfrmMain::SaveIni() {
    std::string content;
    for (TCheckBox* box : sCheckBox) AppendLine(content, box->Checked() ? "TRUE" : "FALSE");
    for (paint::TsEdit* edit : sEdit) {
        if (BreaksALine(edit->Text())) throw EConvertError("'" + edit->Text() + "' is not a valid time");
        AppendLine(content, edit->Text());
    }
    for (shell::TsFilenameEdit* edit : sFilenameEdit) {
        if (BreaksALine(edit->Text())) throw EInOutError(kInvalidFileName);
        AppendLine(content, edit->Text());
    }
    SaveFileReplacing(SettingsPath(), content);
}

}  // namespace app
