// The skinned group box: its image (frame through the middle of the caption band, the caption
// on a plate of its own section) is prepared on every paint and lent to its children.
//
// The framework has no right-to-left reading, so clTopLeft always starts the caption at 6
// and clTopRight ends it 6 pixels before the right edge's 8-pixel plate margin.
#pragma once

#include <string>

#include "framework/std_controls.h"
#include "paint/bg_source.h"
#include "paint/common_data.h"

namespace paint {

enum class TsCaptionLayout { clTopLeft, clTopCenter, clTopRight };

class TsGroupBox : public framework::TGroupBox {
  public:
    explicit TsGroupBox(framework::TComponent* owner);
    void Loaded() override;

    TsCommonData SkinData;
    // The bevel the caption band is never narrower than twice of (the framework group box has
    // none of its own).
    int BevelWidth = 1;

    TsCaptionLayout CaptionLayout() const { return captionLayout_; }
    void SetCaptionLayout(TsCaptionLayout value);
    int CaptionYOffset() const { return captionYOffset_; }
    void SetCaptionYOffset(int value);
    // Section of the caption plate; empty: "CHECKBOX".
    const std::string& CaptionSkin() const { return captionSkin_; }
    void SetCaptionSkin(const std::string& value);

    // Height of the caption: max(4, height of "W") + 2 in the box's font.
    int CaptionHeight();
    // The caption band: left and right around the text, top and bottom of the band.
    RECT CaptionRect();
    void PrepareCache();
    void PaintTo(HDC dc);

  protected:
    void WndProc(framework::TMessage& message) override;
    void AlignControls(RECT& rect) override;

  private:
    bool SkinCommand(framework::TMessage& m);
    bool PaintableCommand(framework::TMessage& m);
    void ParentPainted();
    void PaintCaptionPlate(const TsBgSource& bg, const RECT& band);
    void PaintMessage(framework::TMessage& m);
    TsCaptionLayout captionLayout_ = TsCaptionLayout::clTopLeft;
    int captionYOffset_ = 0;
    std::string captionSkin_;
};

}  // namespace paint
