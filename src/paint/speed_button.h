// The skinned speed button: a windowless button that keeps its complete look in the binding's
// CacheBmp (section fill and frame in states normal, hot and pressed, glyph, caption, drop-down
// arrow, disabled look) and copies it onto its parent's surface. A skin without its section
// leaves it to the framework's flat or raised drawing.
//
// Decisions:
// - Hints go off at the first mouse down and come back at the next mouse up, and also on a
//   capture change or cancel-mode message, on a mouse move after the capture went elsewhere,
//   on leaving, and when the button is destroyed, so they never stay off.
// - The drop-down menu's loop may free the button (a menu item's handler): the button keeps
//   a liveness token and touches nothing of itself after the loop when it is gone.
// - An image-list glyph is taken out on the see-through colour and drawn as a keyed glyph.
#pragma once

#include <memory>

#include "framework/menus.h"
#include "framework/std_controls.h"
#include "paint/button_glyph.h"
#include "paint/common_data.h"
#include "paint/control_text.h"
#include "paint/state_fade.h"

namespace paint {

enum class TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
enum TsDisabledGlyphKind : unsigned { dgBlended = 1, dgGrayed = 2 };
using TsDisabledGlyphKinds = unsigned;

// Paint states of a button.
enum class TsButtonPaintState : int { bpNormal = 0, bpHot = 1, bpPressed = 2 };

class TsSpeedButton : public framework::TSpeedButton {
  public:
    explicit TsSpeedButton(framework::TComponent* owner);
    ~TsSpeedButton() override;

    TsCommonData SkinData;
    TToolButtonStyle ButtonStyle() const { return style_; }
    void SetButtonStyle(TToolButtonStyle value);
    framework::TAlignment Alignment = framework::TAlignment::taCenter;
    framework::TAlignment TextAlignment = framework::TAlignment::taCenter;
    int TextOffset = 0;
    bool ShowCaption = true;
    bool DrawOverBorder = true;
    int Blend() const { return blend_; }
    // Kept within 0..100.
    void SetBlend(int value);
    bool Grayed = false;
    TsDisabledGlyphKinds DisabledGlyphKind = dgBlended;
    TsDisabledKinds DisabledKind = dkBlended;
    framework::TImageList* Images = nullptr;
    int ImageIndex = -1;
    framework::TPopupMenu* DropdownMenu = nullptr;
    bool Reflected() const { return reflected_; }
    void SetReflected(bool value);
    TacAnimatEvents AnimatEvents = aeGlobalDef;
    std::function<void(TsSpeedButton*, framework::TBitmap&)> OnPaint;

    void Loaded() override;
    TsButtonPaintState ButtonPaintState() const;
    // Paints the image into CacheBmp.
    virtual void PrepareCache();
    // Repaints onto the parent's surface without waiting for a paint message.
    void RepaintNow();
    int LastFadeSteps() const { return lastFadeSteps_; }
    // A skinned drop-down menu of some speed button is open: looks do not change meanwhile.
    static bool DropDownOpen();

  protected:
    void Paint() override;
    void WndProc(framework::TMessage& m) override;
    // Draws the glyph of state into CacheBmp where the layout puts it, caption or not.
    void DrawGlyphInCache(int state);

  private:
    bool SkinCommand(framework::TMessage& m);
    bool Before(framework::TMessage& m);
    void After(const framework::TMessage& m);
    void Unskinned(framework::TMessage& m);
    void MouseEnter();
    void MouseLeave();
    void StateChange(TsStateEvent event);
    bool PopDropDown(int x);
    void HoldHints();
    void ReleaseHints();
    void PaintMain(const TsBgSource& bg, int state);
    void PaintArrow(const TsBgSource& bg);
    void PaintBand(const TsBgSource& bg);
    void PaintCaption(int state, int gw, int gh, SIZE text);
    void PaintGlyph(int state, int gw, int gh, SIZE text);
    SIZE MeasureCaption(int gw);
    framework::TBitmap* GlyphImage(framework::TBitmap& scratch);
    void PaintSiblingsOver();
    TToolButtonStyle style_ = TToolButtonStyle::tbsButton;
    int blend_ = 0;
    bool reflected_ = false;
    bool lastDown_ = false;
    int lastNumGlyphs_ = 1;
    int lastSpacing_ = 4;
    bool menuShown_ = false;
    bool holdingHints_ = false;
    bool savedShowHint_ = true;
    int lastFadeSteps_ = 0;
    // Cleared when the button goes, so a menu loop that outlives it knows.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace paint
