// The skinned masked edit, base of the edits with a button: while the binding is hot (focus
// or mouse) the framework edit draws the inside with caret and selection and the image gives
// only the frame; otherwise the whole window is the cached image with the text written by
// the skin, so an idle edit costs one copy.
//
// Decisions for this platform:
// - Windowless children (the button of a combo edit) are painted over the image on the
//   window's context, placed in the client area; they have no window of their own to do it.
// - The section's colours reach the framework edit through skin command 3 only, so an edit
//   keeps the colours of its form description until the first refresh.
#pragma once

#include "framework/std_edit.h"
#include "paint/common_data.h"
#include "paint/control_text.h"

namespace paint {

class TsMaskEdit : public framework::TMaskEdit {
  public:
    explicit TsMaskEdit(framework::TComponent* owner);
    ~TsMaskEdit() override;

    TsCommonData SkinData;
    TsDisabledKinds DisabledKind() const { return disabledKind_; }
    void SetDisabledKind(TsDisabledKinds kinds);

    void Loaded() override;

    // The inset of the text from the window's edges.
    int EditInset() const;
    // Hot for painting: the binding's hot state, for a combo edit also its button's.
    virtual bool IsEditHot() const { return SkinData.IsHot(); }
    // Where the skin writes the text, in window coordinates.
    virtual RECT TextRect();
    void PrepareCache();
    void DrawEditText();
    // Puts the complete window image on dc, or on the whole-window context when dc is null.
    void PaintWhole(HDC dc);
    // Puts the 2-pixel frame strips of the image on dc (null: the whole-window context).
    void PaintFrame(HDC dc);

  protected:
    virtual UINT TextFlags() const;
    // Whether the frame comes from the image (a plain masked edit without border has none).
    virtual bool HasSkinFrame() const;
    void WndProc(framework::TMessage& m) override;
    void PaintHandler(framework::TMessage& m) override;
    // Windowless children over the whole window image (dc in window coordinates).
    virtual void PaintChildren(HDC windowDc);
    // Called after the frame strips went onto dc (window coordinates).
    virtual void PaintOverFrame(HDC) {}
    void Redraw();

  private:
    bool SkinCommand(framework::TMessage& m);
    bool SkinnedMessage(framework::TMessage& m);
    void AfterFramework(const framework::TMessage& m);
    TsDisabledKinds disabledKind_ = dkBlended;
};

}  // namespace paint
