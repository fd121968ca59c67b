// The menu painter: popup menus measured and drawn from the skin. It takes over the measure
// and draw events of owner-drawn items, builds one background picture per open popup window
// (frame, icon line) that all of its items share, composes each item in an off-screen picture
// (plate, check mark, glyph, text, shortcut) and copies it to the menu in one operation, and
// subclasses the popup window so that its border and shape come from the skin.
//
// Decisions for our platform:
// - The popup window is always found from the item's device context (WindowFromDC of the
//   menu window's paint DC), so the posted-message path that finds it later (0xBCB3, 0xBCB4)
//   is not needed and not built; the whole-popup size is kept only for a DC without window
//   (a test drawing into a bitmap).
// - The border pass sets the window's shape at once and without a redraw: it runs inside the
//   popup's first paint, whose items copy the whole border. It does not pump pending messages,
//   which inside the menu loop would hand mouse input to windows outside the menu.
// - A frame without see-through corners leaves the popup rectangular (no pixel is cut).
// - The menu's image lists are not part of our framework's menus: glyphs come from an item's
//   Bitmap only (16 x 16 columns otherwise).
// - The popup window is always found, so the extra line of the first column reaches the menu
//   with the first item, as on systems that do not draw the menu's left band themselves.
// - Our menu windows never animate, so hooking a menu has no animation setting to switch off;
//   text is UTF-8, so the menu font takes no character set from the owning form.
// - The painter is a component owned by its manager (found with PainterOf), so it lives and
//   dies with it.
// - An item that opens a submenu gets its arrow from the painter, in the item's text colour,
//   as part of its picture: our menu windows draw no arrow over owner-drawn items (the real
//   system draws its own there, in system colours that a dark skin would hide).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/control.h"
#include "framework/menus.h"

namespace skin {
class TsSkinManager;
}

namespace forms {

enum class TsMenuItemType { smCaption, smDivider, smNormal, smTopLine };
// "-" is a divider; a longer caption that begins and ends with "-" a title; anything else normal.
TsMenuItemType MenuItemTypeOf(const std::string& caption);
// The title of a "-caption-" item: the first run of characters between dashes.
std::string CaptionTitle(const std::string& caption);

using TsMenuManagerDrawItemEvent =
    std::function<void(framework::TObject* sender, framework::TCanvas& canvas, const RECT& rect,
                       framework::TOwnerDrawState state, TsMenuItemType type)>;

// Skin command that tells a popup window that the painter now draws its border.
constexpr WORD kScMenuBorderDrawn = 14;
// The menu window's client area sits this far inside the window.
constexpr int kMenuClientInset = 3;

class TsSkinableMenus : public framework::TComponent {
  public:
    explicit TsSkinableMenus(skin::TsSkinManager* manager);
    ~TsSkinableMenus() override;

    // Published
    framework::TAlignment Alignment = framework::TAlignment::taLeftJustify;
    int BevelWidth = 0;  // stored only
    int BorderWidth = 3;
    framework::TFont CaptionFont;
    int Margin = 2;
    int Spacing = 6;
    TsMenuManagerDrawItemEvent OnDrawItem;

    skin::TsSkinManager* Manager() const { return manager_; }
    // The frame width of "MAINMENU"'s "BORDERSMASK" (3 when it gives none, 0 without it),
    // computed on first use after each skin load.
    int SkinBorderWidth();
    // Items are skinned while the manager is active with a ready skin.
    bool Active() const;

    // Gives every item of the menu, recursively, the painter's handlers where it has none of
    // its own (active), or takes the painter's handlers away again (not active).
    void HookPopupMenu(framework::TPopupMenu& menu, bool active);
    void HookItem(framework::TMenuItem& item, bool active);
    // True when the handler is one this painter set.
    bool IsOwnMeasure(const framework::TMenuItem& item) const;
    bool IsOwnDraw(const framework::TMenuItem& item) const;

    // Drops the pictures of every painter (a popup window went, a new skin, a refresh).
    static void FreeAllBackgrounds();
    // A new skin: the frame width is computed again and all pictures go.
    void Refresh();
    static std::size_t CachedBackgroundCount();

    // The handlers the items get.
    void MeasureItem(framework::TObject* sender, framework::TCanvas& canvas, int& width,
                     int& height);
    void DrawItem(framework::TObject* sender, framework::TCanvas& canvas, const RECT& r,
                  framework::TOwnerDrawState state);

    // The first item of the popup an item belongs to.
    static framework::TMenuItem& FirstOf(framework::TMenuItem& item);
    // No item up to and including this one starts a new column.
    static bool InFirstColumn(const framework::TMenuItem& item);
    // Sizes used for layout: the item's glyph, its type's height and width.
    SIZE GlyphSize(const framework::TMenuItem& item) const;
    int IconLineWidth() const { return iconLineWidth_; }
    // The whole popup's size from its items, used when no popup window can be found.
    SIZE PopupSizeFromItems(framework::TMenuItem& parent);

    // A finished item picture: a popup repaints all its items whenever the selection moves,
    // and only the two items whose state changed need composing again.
    struct ItemPicture {
        const framework::TMenuItem* item = nullptr;
        framework::TOwnerDrawState state = 0;
        std::unique_ptr<framework::TBitmap> bmp;
    };
    struct Background {
        framework::TMenuItem* first = nullptr;
        std::unique_ptr<framework::TBitmap> bmp;
        HWND window = nullptr;
        int extraLine = 0;  // width of the extra line the picture shows, 0 without one
        std::vector<ItemPicture> items;
        // bmp in the window's own 32-bit format, for the border strips: copies between equal
        // formats are plain row moves.
        std::unique_ptr<framework::TBitmap> screen;
    };

  private:
    struct ItemPaint;
    void SelectMenuFont(framework::TCanvas& canvas, bool bold) const;
    Background& BackgroundFor(framework::TMenuItem& item, HWND window, SIZE size);
    std::unique_ptr<framework::TBitmap> BuildBackground(framework::TMenuItem& first, SIZE size,
                                                        int& extraLine);
    // The extra line's width for the popup whose first item is `first`: the cached picture's,
    // else asked anew; 0 when the manager does not use one or it does not show.
    int ExtraLineWidthFor(framework::TMenuItem& first);
    void BorderPass(HWND window, const framework::TBitmap& bg);
    void CopyBorderStrips(HWND window, Background& bg, const framework::TMenuItem& item,
                          const RECT& r, int e1);
    void CopyGaps(framework::TCanvas& canvas, const framework::TBitmap& bg,
                  const framework::TMenuItem& item, const RECT& r, SIZE popup);
    void ComposeItem(ItemPaint& p, TsMenuItemType type);
    void DrawNormal(ItemPaint& p);
    void DrawCheck(ItemPaint& p);
    void DrawGlyph(ItemPaint& p);
    void DrawTexts(ItemPaint& p);
    void DrawSubmenuArrow(ItemPaint& p);
    void WriteText(ItemPaint& p, framework::TCanvas& canvas, const std::string& text, UINT flags,
                   RECT box);
    void DrawDivider(ItemPaint& p);
    void DrawTitle(ItemPaint& p);
    static void MixDisabled(framework::TBitmap& picture, const framework::TBitmap& bg, POINT at);

    skin::TsSkinManager* manager_;
    int skinBorderWidth_ = -1;  // -1: compute on next use
    int iconLineWidth_ = 0;
    bool inBorderPass_ = false;
    std::vector<Background> backgrounds_;
    std::vector<RECT> corners_;
};

// The painter the manager owns, made on first use.
TsSkinableMenus& PainterOf(skin::TsSkinManager& manager);

}  // namespace forms
