#include "shell/file_edit.h"

#include "framework/form.h"
#include "shell/file_names.h"

namespace shell {

using namespace framework;

namespace {
constexpr std::size_t kMaxDroppedPath = 253;
}

// --- TsFileDirEdit --------------------------------------------------------------------------

TsFileDirEdit::TsFileDirEdit(TComponent* owner) : TsCustomComboEdit(owner) { SetMaxLength(255); }

void TsFileDirEdit::ButtonClick() {
    TsCustomComboEdit::ButtonClick();
    std::string name = Text();
    bool goOn = true;
    if (OnBeforeDialog) OnBeforeDialog(this, name, goOn);
    if (!goOn) return;
    PrepareDialog(name);
    goOn = RunDialog(name);
    if (CanFocus()) SetFocus();
    if (OnAfterDialog) OnAfterDialog(this, name, goOn);
    if (goOn) TakeResult(name);
}

void TsFileDirEdit::DropFiles(const std::vector<std::string>& paths) {
    if (!AcceptFiles || paths.empty()) return;
    ClearFileList();
    SetFileNameFromDrop(CutUtf8(paths.front(), kMaxDroppedPath));
    if (OnDropFiles) OnDropFiles(this);
}

// --- TsFilenameEdit -------------------------------------------------------------------------

TsFilenameEdit::TsFilenameEdit(TComponent* owner) : TsFileDirEdit(owner), dialog_(MakeDialog(TsDialogKind::dkOpen)) {
    dialog_->Filter = "All files (*.*)|*.*";
}

TsFilenameEdit::~TsFilenameEdit() = default;

std::unique_ptr<TsFileDialog> TsFilenameEdit::MakeDialog(TsDialogKind kind) {
    switch (kind) {
    case TsDialogKind::dkSave: return std::make_unique<TsSaveDialog>(nullptr);
    case TsDialogKind::dkOpenPicture: return std::make_unique<TsOpenPictureDialog>(nullptr);
    case TsDialogKind::dkSavePicture: return std::make_unique<TsSavePictureDialog>(nullptr);
    case TsDialogKind::dkOpen: break;
    }
    auto open = std::make_unique<TsOpenDialog>(nullptr);
    // A packed archive is picked like any file.
    open->ZipShowing = TZipShowing::zsAsFile;
    return open;
}

void TsFilenameEdit::SetDialogKind(TsDialogKind kind) {
    if (kind == kind_) return;
    std::unique_ptr<TsFileDialog> replacement = MakeDialog(kind);
    replacement->AssignSettings(*dialog_);
    dialog_ = std::move(replacement);
    kind_ = kind;
}

void TsFilenameEdit::SetFileName(const std::string& name) {
    if (!ValidFileName(name)) throw EComboEditError("Invalid file name");
    SetText(name);
}

void TsFilenameEdit::SetInitialDir(const std::string& folder) { dialog_->InitialDir = InitialFolder(folder); }

// A valid text names the folder to open in (when it exists) and the file to preselect; an
// invalid one leaves the dialog as its last use left it.
void TsFilenameEdit::PrepareDialog(std::string& name) {
    if (!ValidFileName(name)) return;
    std::string folder = ExtractFilePath(name);
    if (DirectoryExists(folder)) SetInitialDir(folder);
    std::string file = ExtractFileName(name);
    if (file.empty() || !ValidFileName(file)) name.clear();
    dialog_->FileName = name;
}

bool TsFilenameEdit::RunDialog(std::string& name) {
    dialog_->HelpContext = HelpContext;
    if (!dialog_->Execute(DialogOwner())) return false;
    name = dialog_->FileName;
    return true;
}

void TsFilenameEdit::TakeResult(const std::string& name) {
    SetText(name);
    SetInitialDir(ExtractFilePath(dialog_->FileName));
}

HWND TsFilenameEdit::DialogOwner() {
    TCustomForm* form = ParentForm();
    return form && form->HandleAllocated() ? form->Handle() : nullptr;
}

}  // namespace shell
