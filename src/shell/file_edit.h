// The file-name edit: a combo edit whose button opens a file dialog and puts the chosen path
// into the text, exactly as chosen (no quotes, even with spaces).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/exceptions.h"
#include "shell/combo_edit.h"
#include "shell/file_dialog.h"

namespace shell {

// Raised by FileName for a name that is not valid: "Invalid file name".
class EComboEditError : public framework::Exception {
public:
    using Exception::Exception;
};

// The name the dialog starts with or returned, and whether to go on; both may be changed.
using TExecOpenDialogEvent = std::function<void(framework::TObject* sender, std::string& name, bool& action)>;

class TsFileDirEdit : public TsCustomComboEdit {
public:
    explicit TsFileDirEdit(framework::TComponent* owner);

    bool AcceptFiles = false;
    TExecOpenDialogEvent OnBeforeDialog;
    TExecOpenDialogEvent OnAfterDialog;
    framework::TNotifyEvent OnDropFiles;

    // Files dropped from the desktop (while AcceptFiles): the first path, at most 253 bytes,
    // becomes the file name.
    void DropFiles(const std::vector<std::string>& paths);

protected:
    void ButtonClick() override;
    // Step by step: prepare the dialog from the text, run it (true when a file was chosen,
    // `name` then holds it), take the result over.
    virtual void PrepareDialog(std::string& name) = 0;
    virtual bool RunDialog(std::string& name) = 0;
    virtual void TakeResult(const std::string& name) = 0;
    virtual void ClearFileList() {}
    virtual void SetFileNameFromDrop(const std::string& name) = 0;
};

enum class TsDialogKind { dkOpen, dkSave, dkOpenPicture, dkSavePicture };

class TsFilenameEdit : public TsFileDirEdit {
public:
    explicit TsFilenameEdit(framework::TComponent* owner);
    ~TsFilenameEdit() override;

    std::string FileName() const { return Text(); }
    // Raises EComboEditError("Invalid file name") for an invalid name.
    void SetFileName(const std::string& name);

    TsDialogKind DialogKind() const { return kind_; }
    void SetDialogKind(TsDialogKind kind);
    TsFileDialog& Dialog() { return *dialog_; }

    std::string Filter() const { return dialog_->Filter; }
    void SetFilter(const std::string& filter) { dialog_->Filter = filter; }
    int FilterIndex() const { return dialog_->FilterIndex; }
    void SetFilterIndex(int index) { dialog_->FilterIndex = index; }
    std::string DefaultExt() const { return dialog_->DefaultExt; }
    void SetDefaultExt(const std::string& ext) { dialog_->DefaultExt = ext; }
    std::string InitialDir() const { return dialog_->InitialDir; }
    // Drops a trailing separator, except from a root.
    void SetInitialDir(const std::string& folder);
    std::vector<std::string>& HistoryList() { return dialog_->HistoryList; }
    TOpenOptions DialogOptions() const { return dialog_->Options; }
    void SetDialogOptions(TOpenOptions options) { dialog_->Options = options; }
    std::string DialogTitle() const { return dialog_->Title; }
    void SetDialogTitle(const std::string& title) { dialog_->Title = title; }
    int HelpContext = 0;

protected:
    int DefaultGlyphIndex() const override { return kGlyphFile; }
    void PrepareDialog(std::string& name) override;
    bool RunDialog(std::string& name) override;
    void TakeResult(const std::string& name) override;
    void ClearFileList() override { dialog_->Files.clear(); }
    void SetFileNameFromDrop(const std::string& name) override { SetFileName(name); }

private:
    static std::unique_ptr<TsFileDialog> MakeDialog(TsDialogKind kind);
    HWND DialogOwner();
    TsDialogKind kind_ = TsDialogKind::dkOpen;
    std::unique_ptr<TsFileDialog> dialog_;
};

}  // namespace shell
