// Forms: top-level windows with a border style, title buttons, a position rule, an icon, an
// active control, Tab navigation through the tab order of nested containers, and dialog keys.
#pragma once

#include "framework/control.h"
#include "framework/graphic.h"

namespace framework {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;
enum class TPosition { poDesigned, poDefault, poScreenCenter, poMainFormCenter };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject*, TCloseAction&)>;
using TCloseQueryEvent = std::function<void(TObject*, bool&)>;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style) { borderStyle_ = style; }
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons) { borderIcons_ = icons; }
    TPosition Position = TPosition::poDesigned;
    TIcon& Icon() { return icon_; }
    void SetIcon(const TIcon& icon);

    RECT ClientRect() const override;
    void SetClientSize(int width, int height) override;
    void SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }
    void SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }

    void Show();
    void Hide();
    void Close();
    bool CloseQuery();

    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    // Called when a control of the form receives the focus.
    void SetFocusedControl(TWinControl* control);
    void FocusControl(TWinControl* control);

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    // Runs the creation handler; called once the form's description has been applied.
    virtual void DoCreate();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void DoClose(TCloseAction& action);

private:
    DWORD FrameStyle() const;
    DWORD FrameExStyle() const;
    void ApplyPosition();
    bool DialogKey(WORD key);
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TIcon icon_;
    TWinControl* activeControl_ = nullptr;
    bool positioned_ = false;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
};

}  // namespace framework
