// The provider's own system menu: the window's system menu copied into a popup menu that the
// menu painter draws from the skin. The fixed items (Restore, Move, Size, Minimize, Maximize,
// Close) take their captions from the window's system menu by command, so they follow the
// system's language, and their states from the title button rules; items an application
// added to the window's system menu (commands below 0xF000 with readable text) come between
// them and Close. With the provider's MakeSkinMenu on, a first item "Available skins" lists
// the skins in the manager's skin folder; choosing one loads it.
//
// Decisions:
// - Close is posted, not sent: closing may free the form, the provider and this menu, and
//   the menu's own Popup is still on the stack when an item's handler runs.
// - The skin list takes folders and packed skins alike, sorted, by the name under which they
//   load (a packed skin's file name without ".asz").
// - With the manager's SkinnedPopups off, the window's own system menu is tracked instead,
//   its items enabled by the same rules.
#pragma once

#include <string>
#include <vector>

#include "forms/title_button_rules.h"
#include "framework/menus.h"

namespace forms {

class TsSkinProvider;

constexpr const char* kSystemMenuComponentName = "SysMenu";
constexpr const char* kSkinSelectItemName = "SkinSelectItem";
constexpr const char* kAvailableSkinsCaption = "Available skins";
// Skins listed in one column of the skin chooser.
constexpr int kSkinsPerColumn = 20;

class TsSystemMenu : public framework::TPopupMenu {
  public:
    explicit TsSystemMenu(TsSkinProvider& provider);
    ~TsSystemMenu() override;

    // Rebuilds the items from the window's system menu.
    void Build();
    // Visible and enabled states of the fixed items; rebuilds first when the window's system
    // menu gained items or Close is missing.
    void RefreshItems();
    // Shows the menu at a screen point. The form may be gone when this returns.
    void ShowAt(POINT screen);

    framework::TMenuItem* ItemRestore() const { return restore_; }
    framework::TMenuItem* ItemMove() const { return move_; }
    framework::TMenuItem* ItemSize() const { return size_; }
    framework::TMenuItem* ItemMinimize() const { return minimize_; }
    framework::TMenuItem* ItemMaximize() const { return maximize_; }
    framework::TMenuItem* ItemClose() const { return close_; }
    framework::TMenuItem* SkinsItem() const { return skins_; }
    int CopiedCount() const { return copied_; }

  private:
    struct SourceItem {
        UINT command;
        std::string caption;
        std::string shortcut;
    };
    std::vector<SourceItem> ReadWindowMenu() const;
    framework::TMenuItem* AddItem(const std::string& name, const std::string& caption,
                                  UINT command);
    void AddSeparator();
    void AddSkinChooser();
    void FillSkinList();
    void ShowWindowMenu(POINT screen, const TsButtonRules& rules);
    void Command(UINT command);
    void ChooseSkin(framework::TMenuItem& item);

    TsSkinProvider& provider_;
    framework::TMenuItem* restore_ = nullptr;
    framework::TMenuItem* move_ = nullptr;
    framework::TMenuItem* size_ = nullptr;
    framework::TMenuItem* minimize_ = nullptr;
    framework::TMenuItem* maximize_ = nullptr;
    framework::TMenuItem* close_ = nullptr;
    framework::TMenuItem* skins_ = nullptr;
    int copied_ = 0;
};

// "Alt+F4", "Ctrl+Shift+S", "F2" as a shortcut; scNone when it cannot be read.
framework::TShortCut ShortCutFromText(const std::string& text);

}  // namespace forms
