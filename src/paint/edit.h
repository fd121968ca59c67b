// The skinned single-line edit (the alarm times): its frame lies in the non-client area and is
// copied in strips from the binding's CacheBmp; an enabled edit's inside is the framework's
// edit painted on the section's colours, a disabled one's is the cached image with the text
// written by the skin.
//
// Decisions for this platform:
// - The section's colours are taken at every paint, and only when they differ. Setting them
//   from inside WM_PAINT does not invalidate the window: a colour that did not come back
//   exactly would otherwise ask for one paint after another.
// - The disabled look and the frame are drawn on the window's whole-window context; the
//   paint cycle is still opened so the update region is validated.
#pragma once

#include "framework/std_edit.h"
#include "paint/common_data.h"
#include "paint/control_text.h"

namespace paint {

class TsEdit : public framework::TEdit {
  public:
    explicit TsEdit(framework::TComponent* owner);
    ~TsEdit() override;

    TsCommonData SkinData;
    TsDisabledKinds DisabledKind() const { return disabledKind_; }
    void SetDisabledKind(TsDisabledKinds kinds);

    void Loaded() override;

    // Where the text starts inside the window (frame and bevels).
    int TextInset() const;
    // Width of the frame strips copied from the image.
    int StripWidth() const;
    // The rectangle the skin writes the text in, in window coordinates.
    RECT TextRect() const;
    // Paints the complete window image into CacheBmp.
    void PrepareCache();
    // Writes the text (one PasswordChar per character) into CacheBmp.
    void DrawEditText();
    // Puts the complete window image on dc, or on the whole-window context when dc is null.
    void PaintWhole(HDC dc);
    // Puts the frame strips of the image on the window.
    void PaintFrame();

  protected:
    void WndProc(framework::TMessage& m) override;
    void PaintHandler(framework::TMessage& m) override;

  private:
    bool SkinCommand(framework::TMessage& m);
    bool BeforeFramework(framework::TMessage& m);
    void AfterFramework(const framework::TMessage& m);
    void TakeSectionColors();
    void Print(HDC dc);
    TsDisabledKinds disabledKind_ = dkBlended;
    bool takingColors_ = false;  // colour changes now come from the paint itself
};

}  // namespace paint
