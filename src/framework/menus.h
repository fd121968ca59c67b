// Menus: items with captions, separators, click handlers, enabled and default states, and
// owner-draw events; popup menus shown at a point through the platform's menu loop.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/canvas.h"
#include "framework/component.h"
#include "framework/utility_window.h"

namespace framework {

enum TOwnerDrawStateFlag : unsigned { odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odFocused = 16, odDefault = 32 };
using TOwnerDrawState = unsigned;
using TMenuMeasureItemEvent = std::function<void(TObject*, TCanvas&, int& width, int& height)>;
using TMenuDrawItemEvent = std::function<void(TObject*, TCanvas&, const RECT&, TOwnerDrawState)>;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    bool IsLine() const { return caption_ == "-"; }
    bool Enabled = true;
    bool Visible = true;
    bool Checked = false;
    bool Default = false;
    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TMenuDrawItemEvent OnDrawItem;

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

private:
    std::string caption_;
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
