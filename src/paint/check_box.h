// The skinned check box: the whole look (parent background, section fill and frame, box
// glyph, caption, focus frame, disabled look) is painted into the binding's CacheBmp and
// copied to the screen; mouse and keyboard are handled here so a pressed glyph can show and
// ReadOnly can hold the state.
#pragma once

#include <string>

#include "framework/std_controls.h"
#include "paint/common_data.h"
#include "paint/control_text.h"
#include "paint/state_fade.h"

namespace paint {

// The box glyph's state frames: a held box shows frame 2, a hot one frame 1.
enum class TsGlyphFrame : int { gfNormal = 0, gfHot = 1, gfPressed = 2 };

class TsCheckBox : public framework::TCheckBox {
  public:
    explicit TsCheckBox(framework::TComponent* owner);
    ~TsCheckBox() override;

    TsCommonData SkinData;
    int Margin() const { return margin_; }
    void SetMargin(int value);
    int TextIndent() const { return textIndent_; }
    void SetTextIndent(int value);
    bool ShowFocus = true;
    bool WordWrap = false;
    bool ReadOnly = false;
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TsDisabledKinds DisabledKind = dkBlended;
    TacAnimatEvents AnimatEvents = aeGlobalDef;
    // Own glyphs, state frames side by side (as wide as high each).
    framework::TBitmap& GlyphChecked() { return glyphChecked_; }
    framework::TBitmap& GlyphUnChecked() { return glyphUnChecked_; }
    // Glyphs from an image list, used when both indexes are at least 0.
    framework::TImageList* Images = nullptr;
    int ImgChecked = -1;
    int ImgUnchecked = -1;

    void SetState(framework::TCheckBoxState state) override;
    void SetChecked(bool checked) override;
    void Loaded() override;

    bool Pressed() const { return pressed_; }
    TsGlyphFrame GlyphFrame() const;
    // Where the glyph goes; (0, 0, 16, 16) for skin glyphs when the skin has no checked box.
    RECT GlyphRect();
    SIZE GlyphSize();
    // Sets the size from glyph and caption (AutoSize).
    void AdjustSize();
    // Paints the image into CacheBmp.
    void PrepareCache();
    // Steps of the last fade asked for (0: the change showed at once without one).
    int LastFadeSteps() const { return lastFadeSteps_; }

  protected:
    void WndProc(framework::TMessage& m) override;
    void PaintHandler(framework::TMessage& m) override;

  private:
    bool SkinCommand(framework::TMessage& m);
    bool OwnMessage(framework::TMessage& m);
    bool MouseOrKey(framework::TMessage& m);
    bool AfterCommon(framework::TMessage& m);
    void PaintInto(HDC dc);
    void StateChange(TsStateEvent event);
    void Redraw();
    void StopFade() { lastFadeSteps_ = 0; }
    bool UsesImageList() const;
    framework::TBitmap* OwnGlyph();
    int SkinGlyphIndex() const;
    void PaintCaption(const RECT& glyph);
    void PaintGlyph(const RECT& glyph);
    void PaintOwnGlyph(framework::TBitmap& glyph, const RECT& at);
    framework::TBitmap glyphChecked_;
    framework::TBitmap glyphUnChecked_;
    framework::TBitmap parentCopy_;  // what a parent without an image painted behind the box
    int margin_ = 2;
    int textIndent_ = 0;
    bool autoSize_ = true;
    bool pressed_ = false;
    int lastFadeSteps_ = 0;
};

}  // namespace paint
