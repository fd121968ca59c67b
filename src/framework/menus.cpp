#include "framework/menus.h"

#include <algorithm>

#include "framework/application.h"
#include "platform/gdi.h"
#include "platform/menu.h"

namespace framework {

namespace {
UINT g_nextCommand = 100;

std::string VisibleText(const std::string& caption) {
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        out.push_back(caption[i]);
    }
    return out;
}
std::string KeyName(WORD key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key < VK_F1 + 24) {
        std::string name(1, 'F');
        name.append(std::to_string(key - VK_F1 + 1));
        return name;
    }
    switch (key) {
    case VK_BACK: return "BkSp";
    case VK_TAB: return "Tab";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_SPACE: return "Space";
    case VK_PRIOR: return "PgUp";
    case VK_NEXT: return "PgDn";
    case VK_END: return "End";
    case VK_HOME: return "Home";
    case VK_LEFT: return "Left";
    case VK_UP: return "Up";
    case VK_RIGHT: return "Right";
    case VK_DOWN: return "Down";
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Del";
    default: return {};
    }
}

// The form a menu belongs to: the first form among its owners.
TCustomForm* OwningForm(const TComponent* c) {
    for (; c; c = c->Owner())
        if (auto* form = dynamic_cast<TCustomForm*>(const_cast<TComponent*>(c))) return form;
    return nullptr;
}

constexpr int kShortCutGap = 16;
}  // namespace

TShortCut ShortCut(WORD key, unsigned shift) {
    TShortCut s = static_cast<TShortCut>(key & 0xFF);
    if (shift & ssShift) s |= scShift;
    if (shift & ssCtrl) s |= scCtrl;
    if (shift & ssAlt) s |= scAlt;
    return s;
}

std::string ShortCutToText(TShortCut shortCut) {
    std::string key = KeyName(static_cast<WORD>(shortCut & 0xFF));
    if (key.empty()) return {};
    std::string text;
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scAlt) text += "Alt+";
    text.append(key);
    return text;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(g_nextCommand++) {}

TMenuItem::~TMenuItem() {
    MarkDestroying();
    for (TMenuItem* child : items_) child->parent_ = nullptr;
    if (parent_) parent_->Remove(this);
}

void TMenuItem::Add(TMenuItem* item) {
    if (item->parent_) item->parent_->Remove(item);
    item->parent_ = this;
    items_.push_back(item);
    item->MenuChanged();
}

void TMenuItem::Remove(TMenuItem* item) {
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->parent_ = nullptr;
    MenuChanged();
}

void TMenuItem::MenuChanged() {
    if (Destroying() || Loading()) return;
    TCustomForm* form = OwningForm(this);
    if (form && !form->Destroying()) form->Perform(CM_MENUCHANGED, 0, reinterpret_cast<LPARAM>(this));
}

void TMenuItem::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    MenuChanged();
}

void TMenuItem::SetRadioItem(bool radio) {
    if (radio == radioItem_) return;
    radioItem_ = radio;
    MenuChanged();
}

void TMenuItem::SetBreak(TMenuBreak b) {
    if (b == break_) return;
    break_ = b;
    MenuChanged();
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
    if (shortCut == shortCut_) return;
    shortCut_ = shortCut;
    MenuChanged();
}

void TMenuItem::SetBitmap(const TBitmap& bitmap) {
    bitmap_.Assign(bitmap);
    MenuChanged();
}

void TMenuItem::SetImageIndex(int index) {
    if (index == imageIndex_) return;
    imageIndex_ = index;
    MenuChanged();
}

TMenuItem* TMenuItem::FindByShortCut(TShortCut shortCut) {
    if (!Visible || !Enabled) return nullptr;
    if (shortCut_ != scNone && shortCut_ == shortCut && items_.empty()) return this;
    for (TMenuItem* child : items_)
        if (TMenuItem* found = child->FindByShortCut(shortCut)) return found;
    return nullptr;
}

TMenuItem* TMenuItem::FindByCommand(UINT command) {
    if (command == command_) return this;
    for (TMenuItem* child : items_)
        if (TMenuItem* found = child->FindByCommand(command)) return found;
    return nullptr;
}

void TMenuItem::Click() {
    if (Enabled && OnClick) OnClick(this);
}

void TMenuItem::MeasureStandard(TCanvas& canvas, int& width, int& height) {
    if (IsLine()) {
        width = 10;
        height = 9;
        return;
    }
    SIZE size = canvas.TextExtent(VisibleText(caption_));
    int mark = GetSystemMetrics(SM_CXMENUCHECK);
    width = size.cx + std::max(mark, bitmap_.Width()) + mark + 8;
    std::string keys = ShortCutToText(shortCut_);
    if (!keys.empty()) width += kShortCutGap + canvas.TextExtent(keys).cx;
    height = std::max<int>({size.cy + 6, GetSystemMetrics(SM_CYMENU), bitmap_.Height() + 4});
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
    MeasureStandard(canvas, width, height);
    if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::AdvancedDrawItem(TCanvas& canvas, const RECT& r, TOwnerDrawState state) {
    if (OnAdvancedDrawItem) OnAdvancedDrawItem(this, canvas, r, state);
    else if (OnDrawItem) OnDrawItem(this, canvas, r, (state & odSelected) != 0);
    else DrawStandard(canvas, r, state);
}

// The picture when there is one, else the check or radio mark of a checked item.
void TMenuItem::DrawMark(HDC dc, const RECT& r, bool selected) {
    int column = std::max(GetSystemMetrics(SM_CXMENUCHECK), bitmap_.Width());
    if (!bitmap_.Empty()) {
        TCanvas canvas(dc);
        int y = r.top + (r.bottom - r.top - bitmap_.Height()) / 2;
        canvas.Draw(r.left + 2 + (column - bitmap_.Width()) / 2, y, bitmap_);
        return;
    }
    if (!Checked) return;
    int side = 6;
    int x = r.left + 2 + (column - side) / 2, y = r.top + (r.bottom - r.top - side) / 2;
    COLORREF ink = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    HBRUSH brush = CreateSolidBrush(ink);
    if (radioItem_) {
        HPEN pen = CreatePen(PS_SOLID, 1, ink);
        HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, brush);
        Ellipse(dc, x, y, x + side, y + side);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(pen);
    } else {
        // A tick: two strokes three pixels thick.
        for (int i = 0; i < 3; ++i) {
            RECT down{x + i, y + 2 + i, x + i + 1, y + 5 + i};
            RECT up{x + 3 + i, y + 4 - 2 * i, x + 4 + i, y + 7 - 2 * i};
            FillRect(dc, &down, brush);
            FillRect(dc, &up, brush);
        }
    }
    DeleteObject(brush);
}

void TMenuItem::DrawStandard(TCanvas& canvas, const RECT& r, TOwnerDrawState state) {
    HDC dc = canvas.Handle();
    bool selected = (state & odSelected) != 0;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (IsLine()) {
        RECT line{r.left + 1, (r.top + r.bottom) / 2 - 1, r.right - 1, (r.top + r.bottom) / 2 + 1};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    DrawMark(dc, r, selected);
    RECT text = r;
    text.left += std::max(GetSystemMetrics(SM_CXMENUCHECK), bitmap_.Width()) + 6;
    text.right -= GetSystemMetrics(SM_CXMENUCHECK);
    bool grayed = (state & (odGrayed | odDisabled)) != 0;
    canvas.Font.SetStyle(Default ? TFontStyles{fsBold} : TFontStyles{0});
    std::string keys = ShortCutToText(shortCut_);
    auto write = [&](RECT box) {
        canvas.DrawText(caption_, box, DT_SINGLELINE | DT_VCENTER);
        if (!keys.empty()) canvas.DrawText(keys, box, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    };
    if (grayed && !selected) {
        OffsetRect(&text, 1, 1);
        canvas.Font.SetColor(TColor{clBtnHighlight});
        write(text);
        OffsetRect(&text, -1, -1);
    }
    canvas.Font.SetColor(grayed ? TColor{clGrayText} : selected ? TColor{clHighlightText} : TColor{clMenuText});
    write(text);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) {
    window_ = std::make_unique<UtilityWindow>([this](TMessage& m) { HandleMessage(m); });
}

TPopupMenu::~TPopupMenu() {
    MarkDestroying();
    if (handle_) DestroyMenu(handle_);
    DestroyComponents();
}

HWND TPopupMenu::WindowHandle() const { return window_->Handle(); }

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == PopupComponent) PopupComponent = nullptr;
}

HMENU TPopupMenu::Build(TMenuItem* parent) {
    HMENU menu = CreatePopupMenu();
    UINT position = 0;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible) continue;
        MENUITEMINFO info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
        info.fType = item->IsLine() ? MFT_SEPARATOR : MFT_STRING;
        if (OwnerDraw) info.fType |= MFT_OWNERDRAW;
        if (item->RadioItem()) info.fType |= MFT_RADIOCHECK;
        info.fState = (item->Enabled ? 0 : MFS_GRAYED) | (item->Checked ? MFS_CHECKED : 0) |
                      (item->Default ? MFS_DEFAULT : 0);
        info.wID = item->Command();
        info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        std::string caption = item->Caption();
        if (std::string keys = ShortCutToText(item->ShortCut()); !keys.empty()) caption.append(1, '\t').append(keys);
        info.dwTypeData = caption.data();
        if (item->Count() > 0) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = Build(item);
        }
        InsertMenuItem(menu, position++, TRUE, &info);
    }
    return menu;
}

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    if (handle_) DestroyMenu(handle_);
    handle_ = Build(items_);
    UINT command = static_cast<UINT>(TrackPopupMenuEx(handle_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                      x, y, window_->Handle(), nullptr));
    DestroyMenu(handle_);
    handle_ = nullptr;
    if (command == 0) return;
    if (TMenuItem* item = items_->FindByCommand(command)) item->Click();
}

bool TPopupMenu::IsShortCut(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    TShortCut pressed = ShortCut(static_cast<WORD>(msg.wParam), KeyboardShiftState());
    TMenuItem* item = items_->FindByShortCut(pressed);
    if (!item) return false;
    item->Click();
    return true;
}

void TPopupMenu::HandleMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        auto* item = reinterpret_cast<TMenuItem*>(mis->itemData);
        if (!item) break;
        HDC dc = GetDC(nullptr);
        TCanvas canvas(dc);
        NONCLIENTMETRICS metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        canvas.Font.SetName(metrics.lfMenuFont.lfFaceName);
        canvas.Font.SetHeight(metrics.lfMenuFont.lfHeight);
        int w = 0, h = 0;
        item->MeasureItem(canvas, w, h);
        ReleaseDC(nullptr, dc);
        mis->itemWidth = static_cast<UINT>(w);
        mis->itemHeight = static_cast<UINT>(h);
        m.Result = 1;
        return;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        auto* item = reinterpret_cast<TMenuItem*>(dis->itemData);
        if (!item) break;
        TCanvas canvas(dis->hDC);
        NONCLIENTMETRICS metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        canvas.Font.SetName(metrics.lfMenuFont.lfFaceName);
        canvas.Font.SetHeight(metrics.lfMenuFont.lfHeight);
        TOwnerDrawState state = 0;
        if (dis->itemState & ODS_SELECTED) state |= odSelected;
        if (dis->itemState & ODS_GRAYED) state |= odGrayed;
        if (dis->itemState & ODS_DISABLED) state |= odDisabled;
        if (dis->itemState & ODS_CHECKED) state |= odChecked;
        if (dis->itemState & ODS_DEFAULT) state |= odDefault;
        item->AdvancedDrawItem(canvas, dis->rcItem, state);
        m.Result = 1;
        return;
    }
    default: break;
    }
    m.Result = DefWindowProc(window_->Handle(), m.Msg, m.WParam, m.LParam);
}

}  // namespace framework
