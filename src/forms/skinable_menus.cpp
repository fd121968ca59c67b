// The painter's life, its handlers on the items, measuring, the popup background cache and the
// border pass on the popup window. Drawing the items themselves is in menu_item_paint.cpp.
#include "forms/skinable_menus.h"

#include <algorithm>
#include <cmath>

#include "forms/menu_background.h"
#include "forms/menu_extra_line.h"
#include "paint/bitmaps.h"
#include "platform/gdi.h"
#include "platform/gdi_text.h"
#include "platform/window.h"
#include "skin/skin_commands.h"
#include "skin/skin_manager.h"

namespace forms {

using framework::TCanvas;
using framework::TMenuItem;
using framework::TObject;
using framework::TOwnerDrawState;
using framework::TPopupMenu;

namespace {

// Every painter alive: a popup window that goes frees the pictures of all of them.
std::vector<TsSkinableMenus*>& Painters() {
    static std::vector<TsSkinableMenus*> painters;
    return painters;
}

constexpr int kDefaultGlyph = 16;
constexpr int kDividerHeight = 2;
constexpr int kPopupItemExtra = 12;  // what the menu window adds to each measured width
constexpr int kColumnGap = 4;

struct MeasureHandler {
    TsSkinableMenus* painter;
    void operator()(TObject* sender, TCanvas& canvas, int& w, int& h) const {
        painter->MeasureItem(sender, canvas, w, h);
    }
};
struct DrawHandler {
    TsSkinableMenus* painter;
    void operator()(TObject* sender, TCanvas& canvas, const RECT& r, TOwnerDrawState state) const {
        painter->DrawItem(sender, canvas, r, state);
    }
};

// The popup window's own procedure lives in its user data while ours answers for it.
LRESULT PopupWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto old = reinterpret_cast<WNDPROC>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
    switch (msg) {
        case WM_ERASEBKGND:
        case WM_NCPAINT:
            return 1;  // the painter draws background and frame from the skin
        case WM_DESTROY:
            TsSkinableMenus::FreeAllBackgrounds();
            break;
        default:
            break;
    }
    return old ? CallWindowProc(old, hwnd, msg, wParam, lParam)
               : DefWindowProc(hwnd, msg, wParam, lParam);
}

int RoundHalfEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

bool StartsColumn(const TMenuItem& item) {
    return item.Break() != framework::TMenuBreak::mbNone;
}

}  // namespace

TsMenuItemType MenuItemTypeOf(const std::string& caption) {
    if (caption == "-") return TsMenuItemType::smDivider;
    if (caption.size() > 1 && caption.front() == '-' && caption.back() == '-')
        return TsMenuItemType::smCaption;
    return TsMenuItemType::smNormal;
}

std::string CaptionTitle(const std::string& caption) {
    size_t from = caption.find_first_not_of('-');
    if (from == std::string::npos) return {};
    size_t to = caption.find('-', from);
    return caption.substr(from, to == std::string::npos ? std::string::npos : to - from);
}

TsSkinableMenus::TsSkinableMenus(skin::TsSkinManager* manager)
    : TComponent(manager), manager_(manager) {
    Painters().push_back(this);
}

TsSkinableMenus::~TsSkinableMenus() {
    std::erase(Painters(), this);
}

TsSkinableMenus& PainterOf(skin::TsSkinManager& manager) {
    for (int i = 0; i < manager.ComponentCount(); ++i)
        if (auto* painter = dynamic_cast<TsSkinableMenus*>(manager.Components(i))) return *painter;
    return *new TsSkinableMenus(&manager);
}

bool TsSkinableMenus::Active() const {
    return manager_ && manager_->Active() && manager_->GlobalInfo().SkinReady;
}

int TsSkinableMenus::SkinBorderWidth() {
    if (skinBorderWidth_ >= 0) return skinBorderWidth_;
    int i = manager_ ? manager_->FindMaskOwn("MAINMENU", "BORDERSMASK") : -1;
    if (i < 0)
        skinBorderWidth_ = 0;
    else
        skinBorderWidth_ =
            std::max<int>(manager_->Model().Masks[static_cast<size_t>(i)].BorderWidth, 0);
    if (i >= 0 && skinBorderWidth_ == 0) skinBorderWidth_ = 3;
    return skinBorderWidth_;
}

// --- Handlers on the items ---------------------------------------------------------------

bool TsSkinableMenus::IsOwnMeasure(const TMenuItem& item) const {
    auto* h = item.OnMeasureItem.target<MeasureHandler>();
    return h && h->painter == this;
}

bool TsSkinableMenus::IsOwnDraw(const TMenuItem& item) const {
    auto* h = item.OnAdvancedDrawItem.target<DrawHandler>();
    return h && h->painter == this;
}

void TsSkinableMenus::HookItem(TMenuItem& item, bool active) {
    if (active) {
        if (!item.OnMeasureItem) item.OnMeasureItem = MeasureHandler{this};
        if (!item.OnAdvancedDrawItem) item.OnAdvancedDrawItem = DrawHandler{this};
    } else {
        if (IsOwnMeasure(item)) item.OnMeasureItem = nullptr;
        if (IsOwnDraw(item)) item.OnAdvancedDrawItem = nullptr;
    }
    for (int i = 0; i < item.Count(); ++i) HookItem(*item.Items(i), active);
}

void TsSkinableMenus::HookPopupMenu(TPopupMenu& menu, bool active) {
    bool skinned = active && manager_ && manager_->SkinnedPopups();
    menu.OwnerDraw = skinned;
    HookItem(*menu.Items(), skinned);
}

// --- Measuring ---------------------------------------------------------------------------

void TsSkinableMenus::SelectMenuFont(TCanvas& canvas, bool bold) const {
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    canvas.Font.SetName(metrics.lfMenuFont.lfFaceName);
    canvas.Font.SetHeight(metrics.lfMenuFont.lfHeight);
    canvas.Font.SetStyle(bold ? framework::TFontStyles{framework::fsBold}
                              : framework::TFontStyles{0});
}

SIZE TsSkinableMenus::GlyphSize(const TMenuItem& item) const {
    auto& bitmap = const_cast<TMenuItem&>(item).Bitmap();
    if (!bitmap.Empty()) return SIZE{bitmap.Width(), bitmap.Height()};
    return SIZE{kDefaultGlyph, kDefaultGlyph};
}

void TsSkinableMenus::MeasureItem(TObject* sender, TCanvas& canvas, int& width, int& height) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item || item->Destroying() || !Active()) return;
    TsMenuItemType type = MenuItemTypeOf(item->Caption());
    SelectMenuFont(canvas, item->Default);
    std::string text;
    if (type == TsMenuItemType::smCaption)
        text = "-" + item->Caption() + "-";
    else if (type == TsMenuItemType::smNormal)
        text = item->Caption() + framework::ShortCutToText(item->ShortCut());
    RECT calc{0, 0, 0, 0};
    if (!text.empty())
        canvas.DrawText(text, calc, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
    SIZE glyph = GlyphSize(*item);
    width = 2 * glyph.cx + static_cast<int>(calc.right - calc.left) + 3 * Margin + Spacing;
    if (InFirstColumn(*item)) width += ExtraLineWidthFor(FirstOf(*item));
    int line = RoundHalfEven(1.25 * canvas.TextHeight("W"));
    switch (type) {
        case TsMenuItemType::smDivider:
            height = kDividerHeight;
            break;
        case TsMenuItemType::smCaption:
            height = line + 2 * Margin;
            break;
        default:
            height = std::max<int>(line, glyph.cy) + 2 * Margin;
            break;
    }
}

SIZE TsSkinableMenus::PopupSizeFromItems(TMenuItem& parent) {
    HDC dc = GetDC(nullptr);
    int widest = 0, tallest = 0, columnWidth = 0, columnHeight = 0, columnsWidth = 0;
    {
        TCanvas canvas(dc);
        for (int i = 0; i < parent.Count(); ++i) {
            TMenuItem* item = parent.Items(i);
            if (!item->Visible) continue;
            if (StartsColumn(*item) && columnHeight > 0) {
                columnsWidth += columnWidth + kColumnGap;
                tallest = std::max(tallest, columnHeight);
                columnWidth = columnHeight = 0;
            }
            int w = 0, h = 0;
            MeasureItem(item, canvas, w, h);
            columnWidth = std::max(columnWidth, w + kPopupItemExtra);
            columnHeight += h;
        }
    }
    ReleaseDC(nullptr, dc);
    widest = columnsWidth + columnWidth;
    tallest = std::max(tallest, columnHeight);
    return SIZE{widest + 2 * BorderWidth, tallest + 2 * BorderWidth};
}

TMenuItem& TsSkinableMenus::FirstOf(TMenuItem& item) {
    return item.Parent() && item.Parent()->Count() > 0 ? *item.Parent()->Items(0) : item;
}

bool TsSkinableMenus::InFirstColumn(const TMenuItem& item) {
    const TMenuItem* parent = item.Parent();
    if (!parent) return !StartsColumn(item);
    for (int i = 0; i < parent->Count(); ++i) {
        if (StartsColumn(*parent->Items(i))) return false;
        if (parent->Items(i) == &item) return true;
    }
    return true;
}

int TsSkinableMenus::ExtraLineWidthFor(TMenuItem& first) {
    if (!manager_ || !manager_->MenuSupport.UseExtraLine) return 0;
    auto found = std::find_if(backgrounds_.begin(), backgrounds_.end(),
                              [&](const Background& b) { return b.first == &first; });
    if (found != backgrounds_.end()) return found->extraLine;
    return PrepareExtraLine(*manager_, first).shown ? manager_->MenuSupport.ExtraLineWidth : 0;
}

// --- Background cache --------------------------------------------------------------------

void TsSkinableMenus::FreeAllBackgrounds() {
    for (TsSkinableMenus* painter : Painters()) painter->backgrounds_.clear();
}

void TsSkinableMenus::Refresh() {
    FreeAllBackgrounds();
    skinBorderWidth_ = -1;
}

std::size_t TsSkinableMenus::CachedBackgroundCount() {
    std::size_t n = 0;
    for (TsSkinableMenus* painter : Painters()) n += painter->backgrounds_.size();
    return n;
}

TsSkinableMenus::Background& TsSkinableMenus::BackgroundFor(TMenuItem& item, HWND window,
                                                            SIZE size) {
    TMenuItem* first = &FirstOf(item);
    auto found = std::find_if(backgrounds_.begin(), backgrounds_.end(),
                              [&](const Background& b) { return b.first == first; });
    // A record left from another window or size (the popup changed under the same first
    // item) would show a wrong frame: build it again.
    if (found != backgrounds_.end() && found->window == window && found->bmp->Width() == size.cx &&
        found->bmp->Height() == size.cy)
        return *found;
    if (found != backgrounds_.end()) backgrounds_.erase(found);
    int extraLine = 0;
    std::unique_ptr<framework::TBitmap> bmp = BuildBackground(*first, size, extraLine);
    Background record{first, std::move(bmp), window, extraLine};
    if (window) BorderPass(window, *record.bmp);
    backgrounds_.push_back(std::move(record));
    return backgrounds_.back();
}

std::unique_ptr<framework::TBitmap> TsSkinableMenus::BuildBackground(TMenuItem& first, SIZE size,
                                                                     int& extraLine) {
    iconLineWidth_ = Margin + GlyphSize(first).cx + Spacing;
    const skin::TacMenuSupport& support = manager_->MenuSupport;
    ExtraLineData line;
    line.shown = false;
    if (support.UseExtraLine) line = PrepareExtraLine(*manager_, first);
    extraLine = line.shown ? support.ExtraLineWidth : 0;
    MenuBackgroundSpec spec{size, extraLine, SkinBorderWidth(), iconLineWidth_,
                            support.IcoLineSkin};
    auto bmp = PaintMenuBackground(manager_->Model(), spec, corners_);
    if (extraLine > 0)
        PaintExtraLine(manager_->Model(), line, support.ExtraLineFont, extraLine, SkinBorderWidth(),
                       *bmp);
    return bmp;
}

// Subclasses the popup window once, then tells it that its border is ours and gives it the
// frame's shape.
void TsSkinableMenus::BorderPass(HWND window, const framework::TBitmap& bg) {
    if (inBorderPass_) return;
    inBorderPass_ = true;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtr(window, GWLP_WNDPROC)) != &PopupWindowProc) {
        LONG_PTR old = GetWindowLongPtr(window, GWLP_WNDPROC);
        SetWindowLongPtr(window, GWLP_USERDATA, old);
        SetWindowLongPtr(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PopupWindowProc));
    }
    if (SendMessage(window, skin::SM_SKINCMD, skin::SkinCommandWParam(skin::scSetUpdating, 0), 0) ==
        0) {
        SendMessage(window, skin::SM_SKINCMD, skin::SkinCommandWParam(kScMenuBorderDrawn), 0);
        if (!corners_.empty()) {
            HRGN shape = CreateRectRgn(0, 0, bg.Width(), bg.Height());
            for (const RECT& c : corners_) {
                HRGN hole = CreateRectRgnIndirect(&c);
                CombineRgn(shape, shape, hole, RGN_DIFF);
                DeleteObject(hole);
            }
            // No redraw: this runs inside the popup's first paint, whose items copy the whole
            // border anyway. The window owns the region now.
            SetWindowRgn(window, shape, FALSE);
        }
    }
    inBorderPass_ = false;
}

}  // namespace forms
