#include "shell/path_dialog.h"

#include <memory>

#include "framework/application.h"
#include "framework/std_controls.h"
#include "framework/std_edit.h"

namespace shell {

using namespace framework;

namespace {

constexpr int kMargin = 11;
constexpr int kEditWidth = 360;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

class TPathForm : public TForm {
public:
    explicit TPathForm(const std::string& title) : TForm(nullptr) {
        SetBorderStyle(TFormBorderStyle::bsDialog);
        SetCaption(title);
        auto* label = new TPanel(this);
        label->SetParent(this);
        label->BevelOuter = TBevelCut::bvNone;
        label->Alignment = TAlignment::taLeftJustify;
        label->SetCaption("File name:");
        label->SetBounds(kMargin, kMargin, kEditWidth, 16);
        edit_ = new TEdit(this);
        edit_->SetParent(this);
        edit_->SetBounds(kMargin, kMargin + 18, kEditWidth, 21);
        edit_->OnKeyDown = [this](TObject*, WORD& key, TShiftState) {
            if (key == VK_RETURN) Finish(true);
            else if (key == VK_ESCAPE) Finish(false);
            else return;
            key = 0;
        };
        int buttonTop = kMargin + 18 + 21 + kMargin;
        AddButton("OK", kMargin + kEditWidth - 2 * kButtonWidth - 6, buttonTop, true);
        AddButton("Cancel", kMargin + kEditWidth - kButtonWidth, buttonTop, false);
        SetClientSize(kEditWidth + 2 * kMargin, buttonTop + kButtonHeight + kMargin);
        OnClose = [this](TObject*, TCloseAction& action) {
            done_ = true;
            action = TCloseAction::caHide;
        };
        SetActiveControl(edit_);
    }

    TEdit* Edit() const { return edit_; }
    bool Done() const { return done_; }
    bool Confirmed() const { return confirmed_; }

private:
    void AddButton(const char* caption, int left, int top, bool ok) {
        auto* b = new TSpeedButton(this);
        b->SetParent(this);
        b->SetCaption(caption);
        b->SetBounds(left, top, kButtonWidth, kButtonHeight);
        b->OnClick = [this, ok](TObject*) { Finish(ok); };
    }
    void Finish(bool ok) {
        // OK with nothing typed has nothing to give back; the dialog stays.
        if (ok && edit_->Text().empty()) return;
        confirmed_ = ok;
        done_ = true;
    }

    TEdit* edit_ = nullptr;
    bool done_ = false;
    bool confirmed_ = false;
};

void CentreOver(TForm& form, HWND owner) {
    RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
    form.SetBounds(around.left + (around.right - around.left - form.Width()) / 2,
                   around.top + (around.bottom - around.top - form.Height()) / 2, form.Width(), form.Height());
}

void RunModalLoop(TPathForm& form) {
    while (!form.Done() && form.Visible()) {
        if (Application) {
            if (Application->Terminated()) return;
            Application->HandleMessage();
            continue;
        }
        MSG msg{};
        if (!GetMessage(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

std::string Resolve(const std::string& typed, const std::string& folder) {
    if (typed.front() == '/' || folder.empty()) return typed;
    std::string path = folder;
    if (path.back() != '/') path.push_back('/');
    path.append(typed);
    return path;
}

}  // namespace

std::optional<std::string> RunPathDialog(HWND owner, const std::string& title, const std::string& folder,
                                         const std::string& text) {
    TPathForm form(title);
    form.Edit()->SetText(text);
    CentreOver(form, owner);
    bool reenable = owner && IsWindow(owner) && IsWindowEnabled(owner);
    if (reenable) EnableWindow(owner, FALSE);
    form.Show();
    RunModalLoop(form);
    if (reenable && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    form.Hide();
    if (!form.Confirmed()) return std::nullopt;
    return Resolve(form.Edit()->Text(), folder);
}

}  // namespace shell
