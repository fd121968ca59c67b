#include "shell/file_dialog.h"

#include <algorithm>

#include "platform/commdlg.h"
#include "shell/file_names.h"
#include "shell/path_dialog.h"

namespace shell {

namespace {
// Room for any path the system allows, whatever the UTF-8 length of its characters.
constexpr std::size_t kPathBuffer = 4096;

std::string FallbackText(const std::string& folder, const std::string& fileName) {
    std::string name = ExtractFileName(fileName);
    if (folder.empty()) return name;
    std::string text = folder;
    if (text.back() != '/') text.push_back('/');
    return text.append(name);
}
}  // namespace

std::string TsFileDialog::FilterList(const std::string& filter) {
    if (filter.empty()) return {};
    std::string list = filter;
    std::replace(list.begin(), list.end(), '|', '\0');
    list.push_back('\0');
    list.push_back('\0');
    return list;
}

void TsFileDialog::AssignSettings(const TsFileDialog& other) {
    FileName = other.FileName;
    Filter = other.Filter;
    FilterIndex = other.FilterIndex;
    DefaultExt = other.DefaultExt;
    InitialDir = other.InitialDir;
    Title = other.Title;
    HistoryList = other.HistoryList;
    Files = other.Files;
    Options = other.Options;
    HelpContext = other.HelpContext;
}

bool TsFileDialog::Execute(HWND owner) {
    std::string filters = FilterList(Filter);
    std::vector<char> file(std::max(kPathBuffer, FileName.size() + 1), '\0');
    std::copy(FileName.begin(), FileName.end(), file.begin());
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters.empty() ? nullptr : filters.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(std::max(0, FilterIndex));
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.Flags = (Options & ~ofAllowMultiSelect) | OFN_EXPLORER;
    BOOL ok = IsSaveDialog() ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (ok) {
        FileName = file.data();
        Files = {FileName};
        FilterIndex = static_cast<int>(ofn.nFilterIndex);
        return true;
    }
    if (CommDlgExtendedError() != CDERR_INITIALIZATION) return false;
    // No chooser could run: our own small dialog keeps the button working.
    std::string folder = ExtractFilePath(FileName);
    if (!DirectoryExists(folder)) folder = DirectoryExists(InitialDir) ? InitialDir : std::string();
    std::string title = !Title.empty() ? Title : IsSaveDialog() ? "Save As" : "Open";
    std::optional<std::string> chosen = RunPathDialog(owner, title, folder, FallbackText(folder, FileName));
    if (!chosen) return false;
    FileName = *chosen;
    Files = {FileName};
    return true;
}

}  // namespace shell
