// The title buttons of a skinned form: close, maximise (or restore), minimise and help from
// the skin's title icons, and the developer's own buttons, at the right end of the title bar.
// The layer chooses their pictures, places and draws them into the window image, answers
// which button lies under a point, keeps the hot and pressed button, turns clicks into
// system commands, and shows hover and press through a fade window over the button, so the
// window image always keeps the normal look. Without layered windows (no compositor) or with
// the manager's AllowGlowing off, a button's new state is drawn into the image and copied to
// the screen at once.
//
// Decisions:
// - Hit codes are given by which button was hit: a disabled maximise or minimise answers
//   HTCAPTION (and drags the window) without becoming hot, a disabled user button HTCLIENT.
//   A user button that contains the point wins over the close button.
// - The pressed flag is dropped before a command is sent, so a double click on close (down,
//   up, double click, up) sends SC_CLOSE once even when the form refuses to close.
// - A picture entry with no state images counts as missing (21 pixels wide, not drawn).
// - A user button's hint is the framework's hint window, placed by its rules (below and right
//   of the pointer, kept on the screen) and shown at once, without a fade.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/title_button_rules.h"
#include "forms/title_fade.h"
#include "framework/graphic.h"
#include "framework/hint_window.h"
#include "framework/utility_window.h"

namespace forms {

class TsSkinProvider;

// Hit code of the first user button; the next ones follow.
constexpr LRESULT kUserButtonCode = 1000;
// Size of a button whose picture is missing.
constexpr int kDefaultButtonSize = 21;
// Gap between the system buttons and the user buttons.
constexpr int kUserButtonGap = 8;

struct TsButtonRecord {
    TsButtonState State = TsButtonState::Normal;
    int Image = -1;         // image entry chosen for the skin, -1 none
    int Drawn = -1;         // image entry drawn now (restore and maximise swap theirs)
    RECT Rect{0, 0, 0, 0};  // window coordinates, valid while Placed
    bool Big = false;
    bool Placed = false;
    bool Enabled = true;  // as last drawn
    LRESULT HitCode = 0;
    std::unique_ptr<TsButtonFade> Fade;
};

using TsTitleButtonEvent = std::function<void(class TsTitleButton& sender, POINT screen)>;

// A button the developer adds to the title bar (the provider's TitleButtons).
class TsTitleButton {
  public:
    std::string Name = "TsTitleButton";
    bool Enabled = true;
    bool Visible = true;
    bool UseSkinData = true;  // the "TITLEBUTTON" plate behind the glyph
    std::string Hint;
    framework::TBitmap Glyph;
    TsTitleButtonEvent OnMouseDown;
    TsTitleButtonEvent OnMouseUp;
    TsButtonRecord Record;
};

class TsTitleButtonLayer {
  public:
    explicit TsTitleButtonLayer(TsSkinProvider& provider);
    ~TsTitleButtonLayer();
    TsTitleButtonLayer(const TsTitleButtonLayer&) = delete;
    TsTitleButtonLayer& operator=(const TsTitleButtonLayer&) = delete;

    std::vector<std::unique_ptr<TsTitleButton>> UserButtons;
    // Told after a button changed the window's state (the system menu follows it).
    std::function<void()> OnStateChanged;

    // Picks the pictures for the skin (skin apply and every new skin).
    void ChooseImages();
    // Width of the title button area.
    int AreaWidth() const;
    // The "TITLEBAR" strip behind the buttons; drawn before the caption.
    void PaintTitleStrip(framework::TBitmap& image) const;
    // Keeps a clean copy of the buttons' background, then places and draws the buttons.
    void PlaceAndDraw(framework::TBitmap& image);

    // The code of the button at p (window coordinates), HTCLIENT for none; the button hit
    // becomes hot.
    LRESULT HitTest(POINT p);
    void SetHot(LRESULT code);
    LRESULT HotCode() const { return hot_; }
    // The hint of the hot user button while it shows, else null.
    const framework::THintWindow* Hint() const { return hint_.get(); }
    static bool PressedFlag();
    bool IsButtonCode(LRESULT code) const { return Find(code) != nullptr; }
    // WM_NCLBUTTONDOWN and WM_NCLBUTTONUP on a button code; true when consumed. The form
    // may be gone when ButtonUp returns.
    bool ButtonDown(LRESULT code, POINT screen);
    bool ButtonUp(LRESULT code, POINT screen);
    // The window moved or was hidden: every fade goes at once.
    void FreeFades();

    const TsButtonRecord* Find(LRESULT code) const;
    TsButtonRecord* Find(LRESULT code);
    // Close, maximise, minimise, help.
    const TsButtonRecord& System(int slot) const { return system_[static_cast<std::size_t>(slot)]; }

  private:
    TsButtonRules Rules() const;
    int Width(const TsButtonRecord& r) const;
    int UserWidth(const TsTitleButton& b) const;
    int ButtonHeight() const;
    int Spacing(const TsButtonRules& rules) const;
    int FindGlobal(const std::string& name) const;
    int NormImage() const;
    void Place(TsButtonRecord& r, int right, const TsButtonRules& rules);
    void Draw(framework::TBitmap& image, TsButtonRecord& r) const;
    void DrawGlyph(framework::TBitmap& image, const TsTitleButton& b, POINT offset) const;
    void TakeStrip(framework::TBitmap& image);
    void RestoreFromStrip(framework::TBitmap& image, const RECT& r) const;
    int SlotOf(const TsButtonRecord& r) const;
    TsButtonRecord* RecordOfSlot(int slot);
    TsTitleButton* UserOf(const TsButtonRecord& r);
    void Repaint(TsButtonRecord& r);
    void RedrawDirect(TsButtonRecord& r);
    void Fade(TsButtonRecord& r);
    std::unique_ptr<framework::TBitmap> FadePicture(const TsButtonRecord& r, RECT& screen) const;
    std::unique_ptr<framework::TBitmap> GlowPicture(const TsButtonRecord& r, RECT& screen) const;
    void OnTimer(framework::TMessage& m);
    void ShowHint(const TsButtonRecord& r);
    void TickFade(TsButtonRecord& r, UINT_PTR id);
    void StopTimer(const TsButtonRecord& r);
    bool Send(WPARAM command);
    bool MinimiseUp(const TsButtonRecord& r, bool pressed, POINT p);
    bool MaximiseUp(bool pressed);
    void HelpUp(bool pressed);

    TsSkinProvider& provider_;
    std::array<TsButtonRecord, 4> system_;
    std::unique_ptr<framework::TBitmap> strip_;
    RECT stripRect_{0, 0, 0, 0};
    LRESULT hot_ = 0;
    std::unique_ptr<framework::THintWindow> hint_;
    framework::UtilityWindow timers_;
};

}  // namespace forms
