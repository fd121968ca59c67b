// The single-line edit in the classic look: caret, selection by mouse and keys, word moves,
// one level of undo, clipboard commands and the standard context menu, AutoSelect, MaxLength,
// ReadOnly, and a formatting rectangle that keeps the text clear of a button inside the edit.
#pragma once

#include <string>

#include "framework/std_controls.h"
#include "framework/utf8.h"

namespace framework {

enum class TBorderStyle { bsNone, bsSingle };

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
