// The application: title, forms, the message loop with dialog-key handling, hints, and the
// standard error box for exceptions that leave an event handler.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/form.h"

namespace framework {

class THintWindow;
class UtilityWindow;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    void Initialize();
    std::string Title = "";
    bool ShowMainForm = true;

    // Creates a form owned by the application: its description is applied with the loading
    // protocol (BuildForm while loading, then Loaded on every component in creation order),
    // then its creation handler runs. The first form becomes the main form.
    template <class T>
    void CreateForm(T*& reference) {
        auto* form = new T(this);
        reference = form;
        AdoptForm(form);
    }
    TCustomForm* MainForm() const { return mainForm_; }

    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Handles every message waiting, then returns.
    void ProcessMessages();
    // Waits for one message and handles it.
    void HandleMessage();
    int ExitCode() const { return exitCode_; }

    // Hints
    bool ShowHint = true;
    int HintPause = 500;
    int HintShortPause = 50;
    int HintHidePause = 2500;
    TColor HintColor = clInfoBk;
    void DoMouseEnter(TControl* control);
    void CancelHint();
    THintWindow* HintWindow() const { return hintWindow_.get(); }

    // Shows the standard error box for the exception being handled (EAbort shows nothing).
    void HandleException(const std::exception_ptr& error);
    void ShowException(const std::string& message);
    TNotifyEvent OnException;

    void FormDestroyed(TCustomForm* form);

private:
    void AdoptForm(TCustomForm* form);
    bool ProcessMessage(MSG& msg);
    bool IsDialogKey(const MSG& msg);
    bool IsShortCut(const MSG& msg);
    // The hint pause or the hide pause ran out.
    void OnHintTimer();
    void SetHintTimer(int ms);
    bool WantsHint(TControl* control) const;

    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    int exitCode_ = 0;
    std::unique_ptr<THintWindow> hintWindow_;
    TControl* hintControl_ = nullptr;
    bool hintShowing_ = false;
    std::unique_ptr<UtilityWindow> timerWindow_;
};

extern TApplication* Application;

// The text the error box shows: the message with a full stop added when its last character
// sorts above ".".
std::string ErrorBoxText(const std::string& message);

// Shows the exception being handled through the application (or on stderr without one).
// Call from inside a catch block.
void HandleEventException();

// Builds the form's components; a form class overrides this and TApplication::CreateForm runs
// it while the form is loading.
class TDescribedForm : public TForm {
public:
    using TForm::TForm;
    virtual void BuildForm() {}
};

}  // namespace framework
