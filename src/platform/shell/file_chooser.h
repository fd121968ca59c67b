// The desktop's file choosers as child programs: what to ask them and in which order.
#pragma once

#include <string>
#include <vector>

namespace platform::shell {

struct FileFilter {
    std::string name;
    std::vector<std::string> patterns;  // "*" for every file
};

// Reads the pairs of an OPENFILENAME filter list (text, zero, patterns separated by ";",
// zero, ..., a final zero). "*.*" becomes "*": every file, with or without an extension.
std::vector<FileFilter> ParseFilterList(const char* list);

enum class ChooserKind { Zenity, Kdialog };

struct ChooserQuery {
    bool save = false;
    bool confirmOverwrite = false;
    std::string title;       // empty: the chooser's own
    std::string initialDir;  // empty: the current folder
    std::string fileName;    // a name, or a path with a folder part
    std::vector<FileFilter> filters;
    int selectedFilter = 0;  // 0-based
};

// Where the chooser opens: "FOLDER/" or "FOLDER/NAME". The folder of the file name wins when
// it exists; otherwise the initial folder, otherwise the current one.
std::string StartPath(const ChooserQuery& query);

// Arguments after the program name. Each chooser shows its first filter at first, so the
// selected one goes first.
std::vector<std::string> ZenityArguments(const ChooserQuery& query);
std::vector<std::string> KdialogArguments(const ChooserQuery& query);
// zenity reads its exit codes from the environment; these make confirm 0 and every way of
// cancelling 1, whatever the user's environment says.
std::vector<std::string> ZenityEnvironment();

// KDE's chooser first on KDE (XDG_CURRENT_DESKTOP names it), zenity first elsewhere.
std::vector<ChooserKind> ChooserOrder(const char* currentDesktop);
const char* ChooserProgram(ChooserKind kind);

}  // namespace platform::shell
