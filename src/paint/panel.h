// The skinned panel: a container that paints its image into CacheBmp (or, while plain and
// not hot, straight onto the screen), lends that image to its children through the
// background query and passes skin announcements on to them.
#pragma once

#include <functional>

#include "framework/std_controls.h"
#include "paint/common_data.h"

namespace paint {

using TsPaintEvent = std::function<void(framework::TObject* sender, framework::TCanvas& canvas)>;

class TsPanel : public framework::TPanel {
  public:
    explicit TsPanel(framework::TComponent* owner);
    void Loaded() override;

    TsCommonData SkinData;
    // Called after the panel's own painting, on the canvas it painted on.
    TsPaintEvent OnPaint;

    // Bevels plus border on every side; the caption and the children keep inside it.
    int BorderThickness() const { return FrameThickness(); }
    RECT ContentRect() const;
    // Paints the panel (and its windowless children) into dc at the panel's origin; with
    // withChildren the windowed children are told that their background is ready.
    void PaintTo(HDC dc, bool withChildren);
    // Brings CacheBmp up to date when the panel paints through it.
    void PrepareCache();

  protected:
    void WndProc(framework::TMessage& message) override;

  private:
    bool SkinCommand(framework::TMessage& m);
    void AnswerBg(framework::TMessage& m);
    void ParentPainted();
    void PaintCached(HDC dc);
    void PaintPlain(HDC dc);
    void PaintPlainOver(HDC dc, framework::TColor answered, framework::TBitmap* parentBmp,
                        POINT offset);
    void WriteCaption(framework::TCanvas& canvas, RECT rect);
    void PaintMessage(framework::TMessage& m);
    bool EraseMessage(framework::TMessage& m);
    void PrintMessage(framework::TMessage& m);
    void UnskinnedMessage(framework::TMessage& m);
    bool CanPaint();
    void TellChildrenParentPainted();
};

}  // namespace paint
