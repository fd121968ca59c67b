// Menus: items with captions, separators, click handlers, enabled and default states, and
// owner-draw events; popup menus shown at a point through the platform's menu loop.
//
// Break is kept for painters that lay out columns themselves: the platform's menu window lays
// its items out in one column, so in an unpainted menu an item with a break stays in line.
// A change of an item's caption, its place in the menu or one of the properties with a setter
// below is told to the form that owns the menu as CM_MENUCHANGED (lParam the item); the plain
// fields (Enabled, Visible, Checked, Default) are read each time the menu opens.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/canvas.h"
#include "framework/component.h"
#include "framework/graphic.h"
#include "framework/utility_window.h"

namespace framework {

enum TOwnerDrawStateFlag : unsigned { odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odFocused = 16, odDefault = 32 };
using TOwnerDrawState = unsigned;
using TMenuMeasureItemEvent = std::function<void(TObject*, TCanvas&, int& width, int& height)>;
using TMenuDrawItemEvent = std::function<void(TObject*, TCanvas&, const RECT&, bool selected)>;
using TAdvancedMenuDrawItemEvent = std::function<void(TObject*, TCanvas&, const RECT&, TOwnerDrawState)>;

// A key with its modifiers: the virtual key in the low byte, scShift, scCtrl and scAlt above.
using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;
TShortCut ShortCut(WORD key, unsigned shift);
// "Ctrl+S", "Shift+Del", "Alt+F4"; empty for scNone.
std::string ShortCutToText(TShortCut shortCut);

enum class TMenuBreak { mbNone, mbBreak, mbBarBreak };

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool IsLine() const { return caption_ == "-"; }
    bool Enabled = true;
    bool Visible = true;
    bool Checked = false;
    // Drawn bold, and chosen by a double click on a tray icon.
    bool Default = false;
    // Checked shows a round mark instead of a tick.
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool radio);
    TMenuBreak Break() const { return break_; }
    void SetBreak(TMenuBreak b);
    // The key that runs the item while its form is active; shown after the caption.
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    // A picture beside the caption: Bitmap when not empty, else ImageIndex in the painter's
    // image list (-1: none).
    TBitmap& Bitmap() { return bitmap_; }
    void SetBitmap(const TBitmap& bitmap);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    TNotifyEvent OnClick;
    // Measuring starts from the standard size, which the handler may change.
    TMenuMeasureItemEvent OnMeasureItem;
    // Drawing: OnAdvancedDrawItem when set, else OnDrawItem, else the standard look.
    TMenuDrawItemEvent OnDrawItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_[static_cast<size_t>(index)]; }
    TMenuItem* Parent() const { return parent_; }
    UINT Command() const { return command_; }
    TMenuItem* FindByCommand(UINT command);
    virtual void Click();

    // The standard look of an owner-drawn item, used when no OnDrawItem is set.
    void DrawStandard(TCanvas& canvas, const RECT& r, TOwnerDrawState state);
    void MeasureStandard(TCanvas& canvas, int& width, int& height);
    // Measures and draws through the events in their order, with the standard look last.
    void MeasureItem(TCanvas& canvas, int& width, int& height);
    void AdvancedDrawItem(TCanvas& canvas, const RECT& r, TOwnerDrawState state);
    // The enabled, visible item of this subtree that the shortcut runs, or null.
    TMenuItem* FindByShortCut(TShortCut shortCut);

private:
    void MenuChanged();
    void DrawMark(HDC dc, const RECT& r, bool selected);
    std::string caption_;
    bool radioItem_ = false;
    TMenuBreak break_ = TMenuBreak::mbNone;
    TShortCut shortCut_ = scNone;
    TBitmap bitmap_;
    int imageIndex_ = -1;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    UINT command_;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    TMenuItem* Items() { return items_; }
    bool AutoPopup = true;
    bool OwnerDraw = false;
    TComponent* PopupComponent = nullptr;
    TNotifyEvent OnPopup;
    // Shows the menu at a screen point and runs the chosen item's OnClick.
    virtual void Popup(int x, int y);
    // The platform menu built for the last Popup (valid while it is open).
    HMENU Handle() const { return handle_; }
    HWND WindowHandle() const;
    // Runs the item whose ShortCut the key down message carries; true when one ran.
    bool IsShortCut(const MSG& msg);

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void HandleMessage(TMessage& m);

private:
    HMENU Build(TMenuItem* parent);
    TMenuItem* items_;
    HMENU handle_ = nullptr;
    std::unique_ptr<UtilityWindow> window_;
};

}  // namespace framework
