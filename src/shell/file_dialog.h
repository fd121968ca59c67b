// The dialog objects of the file-name edit: settings kept between uses, run through the
// desktop's chooser, or through a small path dialog of our own when no chooser can run.
#pragma once

#include <string>
#include <vector>

#include "framework/component.h"
#include "platform/types.h"

namespace shell {

enum TOpenOptionFlag : unsigned {
    ofReadOnly = 0x1,
    ofOverwritePrompt = 0x2,
    ofHideReadOnly = 0x4,
    ofNoChangeDir = 0x8,
    ofAllowMultiSelect = 0x200,
    ofPathMustExist = 0x800,
    ofFileMustExist = 0x1000,
    ofEnableSizing = 0x800000,
};
using TOpenOptions = unsigned;

enum class TZipShowing { zsAsFolder, zsAsFile };

class TsFileDialog : public framework::TComponent {
public:
    explicit TsFileDialog(framework::TComponent* owner) : TComponent(owner) {}

    std::string FileName;
    std::string Filter;
    int FilterIndex = 1;
    std::string DefaultExt;
    std::string InitialDir;
    std::string Title;
    std::vector<std::string> HistoryList;
    std::vector<std::string> Files;
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;
    int HelpContext = 0;

    // Runs the dialog modally over the owner window; true with FileName set when the user
    // confirmed a file.
    virtual bool Execute(HWND owner);
    virtual bool IsSaveDialog() const { return false; }
    // Copies every setting of another dialog.
    void AssignSettings(const TsFileDialog& other);

    // The OPENFILENAME filter list of a "text|pattern|text|pattern" filter.
    static std::string FilterList(const std::string& filter);
};

class TsOpenDialog : public TsFileDialog {
public:
    using TsFileDialog::TsFileDialog;
    TZipShowing ZipShowing = TZipShowing::zsAsFolder;
};

class TsSaveDialog : public TsFileDialog {
public:
    using TsFileDialog::TsFileDialog;
    bool IsSaveDialog() const override { return true; }
};

class TsOpenPictureDialog : public TsOpenDialog {
public:
    using TsOpenDialog::TsOpenDialog;
};

class TsSavePictureDialog : public TsSaveDialog {
public:
    using TsSaveDialog::TsSaveDialog;
};

}  // namespace shell
