// An edit with a small button at its right end: the text keeps clear of the button, Alt+Down
// presses it, Enter never enters the text, and DirectInput and ReadOnly decide what typing
// and the button may do.
//
// Decisions for this platform:
// - The background the edit lends its button (skin command 34) starts at the client area's
//   place in the window image, (2, 2) with a 3-D border, the same place the resting button
//   takes its background from and is put at. The inset of the text, (3, 3), would show a hot
//   button's see-through pixels one pixel off from the resting ones.
// - Paint, frame repaint and print all put the button's current image at its place, so a
//   frame repainted while the mouse is over the button keeps the hot plate.
// - A print hides the button for its length and shows it again on every way out, with the
//   hover it had.
#pragma once

#include "framework/std_controls.h"
#include "paint/mask_edit.h"
#include "shell/edit_button.h"
#include "shell/edit_glyphs.h"

namespace shell {

using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
TShortCut ShortCut(WORD key, framework::TShiftState shift);

// Which built-in glyph the button shows and how; -1 takes the edit's own glyph.
struct TsGlyphMode {
    int Blend = 0;
    bool Grayed = false;
    int ImageIndex = -1;
    int ImageIndexHot = -1;
    int ImageIndexPressed = -1;
};

class TsCustomComboEdit : public paint::TsMaskEdit {
  public:
    explicit TsCustomComboEdit(framework::TComponent* owner);

    TsEditButton* Button() const { return button_; }
    bool ShowButton() const { return showButton_; }
    void SetShowButton(bool value);
    TShortCut ClickKey = scAlt | VK_DOWN;
    bool DirectInput() const { return directInput_; }
    void SetDirectInput(bool value);
    // Read-only for typing and for the button.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool AutoSize = false;
    TsGlyphMode GlyphMode;
    framework::TNotifyEvent OnButtonClick;

    // The width the button takes from the text: the glyph's while the button shows, else 0.
    int ButtonWidth() const;
    // Presses the button as a click or ClickKey does; nothing while ReadOnly.
    void DoClick();

    void Invalidate() override;
    void SetEnabled(bool enabled) override;
    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;

    // Hot also while the mouse is over the button.
    bool IsEditHot() const override;
    // The skin-written text stops before the button.
    RECT TextRect() override;
    // Where the client area's top-left corner lies in the window image.
    POINT ClientOrigin();
    // Puts the button's image on dc (window coordinates) at `at`.
    void PaintButtonImage(HDC dc, POINT at);

  protected:
    UINT TextFlags() const override { return DT_LEFT | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX; }
    // Without a border the edit still copies strips of its background.
    bool HasSkinFrame() const override { return true; }
    // The built-in glyph of this kind of edit.
    virtual int DefaultGlyphIndex() const { return EditGlyphIndex("SE"); }
    virtual void ButtonClick();
    void CreateWnd() override;
    void WndProc(framework::TMessage& message) override;
    void KeyDown(WORD& key, framework::TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void Resized() override;
    void UpdateFormatRect();
    void PaintChildren(HDC windowDc) override;
    void PaintOverFrame(HDC windowDc) override;

  private:
    bool SkinCommand(framework::TMessage& m);
    void Print(HDC dc);
    POINT ButtonOrigin();
    int GlyphIndexFor(TacGlyphState state) const;
    bool OverButton() const;
    void ApplyReadOnly() { framework::TCustomEdit::ReadOnly = readOnly_ || !directInput_; }
    TsEditButton* button_;
    bool showButton_ = true;
    bool directInput_ = true;
    bool readOnly_ = false;
    friend class TsEditButton;
};

}  // namespace shell
