#include "platform/shell/file_chooser.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace platform::shell {
namespace {

std::vector<std::string> SplitPatterns(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        std::string p = text.substr(start, end - start);
        while (!p.empty() && p.front() == ' ') p.erase(p.begin());
        while (!p.empty() && p.back() == ' ') p.pop_back();
        if (p == "*.*") p.assign(1, '*');
        if (!p.empty()) out.push_back(p);
        start = end + 1;
    }
    return out;
}

bool IsDirectory(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

std::string WithSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir.push_back('/');
    return dir;
}

std::string Join(const std::vector<std::string>& parts, char separator) {
    std::string out;
    for (const std::string& p : parts) {
        if (!out.empty()) out.push_back(separator);
        out.append(p);
    }
    return out;
}

std::vector<FileFilter> SelectedFirst(const ChooserQuery& q) {
    std::vector<FileFilter> filters = q.filters;
    if (q.selectedFilter > 0 && q.selectedFilter < static_cast<int>(filters.size())) {
        auto selected = filters.begin() + q.selectedFilter;
        std::rotate(filters.begin(), selected, selected + 1);
    }
    return filters;
}

}  // namespace

std::vector<FileFilter> ParseFilterList(const char* list) {
    std::vector<FileFilter> out;
    if (!list) return out;
    while (*list) {
        std::string name = list;
        list += name.size() + 1;
        if (!*list) break;  // a text without patterns ends the list
        std::string patterns = list;
        list += patterns.size() + 1;
        FileFilter f{name, SplitPatterns(patterns)};
        if (!f.patterns.empty()) out.push_back(f);
    }
    return out;
}

std::string StartPath(const ChooserQuery& q) {
    std::string name = q.fileName;
    std::string folder;
    std::size_t slash = name.rfind('/');
    if (slash != std::string::npos) {
        folder.assign(name, 0, slash + 1);
        name.erase(0, slash + 1);
        if (folder.front() != '/' && IsDirectory(q.initialDir)) folder.insert(0, WithSlash(q.initialDir));
    }
    if (!IsDirectory(folder)) {
        folder.clear();
        if (IsDirectory(q.initialDir)) folder.append(q.initialDir);
    }
    if (folder.empty()) {
        std::error_code ec;
        folder.append(std::filesystem::current_path(ec).string());
    }
    std::string start = WithSlash(folder);
    start.append(name);
    return start;
}

std::vector<std::string> ZenityArguments(const ChooserQuery& q) {
    std::vector<std::string> args{"--file-selection"};
    if (q.save) args.emplace_back("--save");
    if (q.save && q.confirmOverwrite) args.emplace_back("--confirm-overwrite");
    if (!q.title.empty()) args.push_back(std::string("--title=").append(q.title));
    args.push_back(std::string("--filename=").append(StartPath(q)));
    for (const FileFilter& f : SelectedFirst(q)) {
        std::string arg = "--file-filter=";
        arg.append(f.name).append(" | ").append(Join(f.patterns, ' '));
        args.push_back(arg);
    }
    return args;
}

std::vector<std::string> KdialogArguments(const ChooserQuery& q) {
    std::vector<std::string> args;
    if (!q.title.empty()) {
        args.emplace_back("--title");
        args.push_back(q.title);
    }
    args.emplace_back(q.save ? "--getsavefilename" : "--getopenfilename");
    args.push_back(StartPath(q));
    std::vector<std::string> entries;
    for (const FileFilter& f : SelectedFirst(q)) {
        std::string entry = Join(f.patterns, ' ');
        entry.push_back('|');
        entry.append(f.name);
        entries.push_back(entry);
    }
    if (!entries.empty()) args.push_back(Join(entries, '\n'));
    return args;
}

std::vector<std::string> ZenityEnvironment() {
    return {"ZENITY_OK=0", "ZENITY_CANCEL=1", "ZENITY_ESC=1", "ZENITY_EXTRA=1", "ZENITY_HELP=1",
            "ZENITY_TIMEOUT=1", "ZENITY_ERROR=2"};
}

std::vector<ChooserKind> ChooserOrder(const char* currentDesktop) {
    std::string desktop = currentDesktop ? currentDesktop : "";
    bool kde = false;
    std::size_t start = 0;
    while (start <= desktop.size()) {
        std::size_t end = desktop.find(':', start);
        if (end == std::string::npos) end = desktop.size();
        kde = kde || desktop.substr(start, end - start) == "KDE";
        start = end + 1;
    }
    if (kde) return {ChooserKind::Kdialog, ChooserKind::Zenity};
    return {ChooserKind::Zenity, ChooserKind::Kdialog};
}

const char* ChooserProgram(ChooserKind kind) { return kind == ChooserKind::Kdialog ? "kdialog" : "zenity"; }

}  // namespace platform::shell
