// The single-line edit in the classic look: caret, selection by mouse and keys, word moves,
// one level of undo, clipboard commands and the standard context menu, AutoSelect, MaxLength,
// ReadOnly, and a formatting rectangle that keeps the text clear of a button inside the edit.
#pragma once

#include <string>

#include "framework/std_controls.h"
#include "framework/utf8.h"

namespace framework {

enum class TBorderStyle { bsNone, bsSingle };
// With a kind other than bkNone the edit's frame gains the bevels: BevelWidth pixels for each
// of BevelOuter and BevelInner that is not bvNone, drawn inside the border.
enum class TBevelKind { bkNone, bkTile, bkSoft, bkFlat };

class TCustomEdit : public TCustomControl {
public:
    explicit TCustomEdit(TComponent* owner);
    ~TCustomEdit() override;

    std::string Text() const override { return TControl::Text(); }
    void SetText(const std::string& text) override;
    // Selection in characters (code points), as the platform's edit counts.
    int SelStart() const;
    int SelLength() const;
    void SetSelStart(int start);
    void SetSelLength(int length);
    std::string SelText() const;
    void SetSelText(const std::string& text);
    void SelectAll();
    void ClearSelection();
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void Undo();
    bool CanUndo() const { return hasUndo_; }

    bool AutoSelect = true;
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length) { maxLength_ = length; }
    bool ReadOnly = false;
    TBorderStyle BorderStyle = TBorderStyle::bsSingle;
    // A sunken two-pixel edge when on, a one-pixel line when off (with BorderStyle bsSingle).
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool on);
    TBevelKind BevelKind() const { return bevelKind_; }
    void SetBevelKind(TBevelKind kind);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut cut);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    // Pixels the bevels take on each side (0 with bkNone).
    int BevelExtent() const;
    // Shown for every character instead of the text (0: the text itself). A password is
    // neither copied nor cut to the clipboard.
    char32_t PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char32_t ch);
    // The text as it is drawn.
    std::string DisplayText() const;
    TNotifyEvent OnChange;
    // The area the text is drawn in, in client coordinates; empty: the client area less a
    // one-pixel margin.
    void SetFormattingRect(const RECT& rect);
    RECT FormattingRect() const;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void Paint() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    void DoEnter() override;
    // Tells CM_CHANGED, then OnChange.
    virtual void Change();
    void ShowContextMenu(POINT screen);

private:
    // Byte offsets in the UTF-8 text; both always on character boundaries.
    size_t anchor_ = 0;
    size_t caret_ = 0;
    int scroll_ = 0;  // pixels the text is scrolled to the left
    int maxLength_ = 0;
    bool hasUndo_ = false;
    std::string undoText_;
    size_t undoCaret_ = 0;
    bool caretOn_ = true;
    bool mouseSelecting_ = false;
    bool focusFromMouse_ = false;
    RECT formatRect_{};
    bool ctl3D_ = true;
    TBevelKind bevelKind_ = TBevelKind::bkNone;
    TBevelCut bevelInner_ = TBevelCut::bvRaised;
    TBevelCut bevelOuter_ = TBevelCut::bvLowered;
    int bevelWidth_ = 1;
    char32_t passwordChar_ = 0;

    void FrameChanged();
    void PaintBevels();
    // Byte offset in DisplayText of a byte offset in the text.
    size_t DisplayOffset(size_t pos) const;

    void ReplaceSelection(const std::string& text, bool recordUndo);
    void MoveCaret(size_t to, bool extend);
    size_t PositionFromX(int x);
    int XFromPosition(size_t pos);
    void EnsureCaretVisible();
    void RestartBlink();
    size_t CharCount(const std::string& s) const;
    size_t ByteOfChar(int index) const;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
};

// A masked edit used without a mask: a plain edit.
class TMaskEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
    std::string EditMask;
};


}  // namespace framework
