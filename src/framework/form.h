// Forms: top-level windows with a border style, title buttons, a position rule, an icon, an
// active control, Tab navigation through the tab order of nested containers, and dialog keys.
//
// A form shows and hides its window while it handles CM_SHOWINGCHANGED (Show, Hide and
// Visible all lead there), so a replaced window procedure that takes that message can bring
// the window up its own way and call the previous procedure to do the showing.
//
// WM_SETTINGCHANGE reaching a form is passed to all its controls as CM_SYSFONTCHANGED. Our
// platform never sends it by itself (the desktop's settings are not watched), so this happens
// only when someone sends it.
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
enum class TFormStyle { fsNormal, fsStayOnTop };

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Both change the window's styles, so a form that has its window makes it again.
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    // Also the state of the system menu: Minimize and Maximize are grayed there when their
    // icon is missing, whatever the window style says.
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    // fsStayOnTop keeps the window above every window that is not topmost.
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);
    // The whole window drawn with constant opacity AlphaBlendValue (0 to 255) while
    // AlphaBlend is on, through the layered style.
    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool on);
    BYTE AlphaBlendValue() const { return alphaBlendValue_; }
    void SetAlphaBlendValue(BYTE value);
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
    // Frees the form once the messages already queued for it are handled, so it may be called
    // from the form's own event handlers.
    void Release();

    // Draws on the client area; attached to the paint context only while the form paints
    // (OnPaint runs then), detached otherwise.
    TCanvas& Canvas() { return canvas_; }
    TNotifyEvent OnPaint;

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
    void PaintWindow(HDC dc) override;
    virtual void Paint();
    virtual void DoShow();
    virtual void DoHide();

private:
    DWORD FrameStyle() const;
    DWORD FrameExStyle() const;
    void ShowingChanged();
    void ApplyLayeredAttributes();
    void UpdateSystemMenu();
    void ApplyPosition();
    bool DialogKey(WORD key);
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    bool alphaBlend_ = false;
    BYTE alphaBlendValue_ = 255;
    TCanvas canvas_;
    TIcon icon_;
    TWinControl* activeControl_ = nullptr;
    bool positioned_ = false;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
};

}  // namespace framework
