#include "framework/menus.h"

#include <algorithm>

#include "framework/application.h"
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
}  // namespace

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
}

void TMenuItem::Remove(TMenuItem* item) {
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->parent_ = nullptr;
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
    width = size.cx + GetSystemMetrics(SM_CXMENUCHECK) * 2 + 8;
    height = std::max<int>(size.cy + 6, GetSystemMetrics(SM_CYMENU));
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
    RECT text = r;
    text.left += GetSystemMetrics(SM_CXMENUCHECK) + 6;
    bool grayed = (state & (odGrayed | odDisabled)) != 0;
    canvas.Font.SetStyle(Default ? TFontStyles{fsBold} : TFontStyles{0});
    if (grayed && !selected) {
        OffsetRect(&text, 1, 1);
        canvas.Font.SetColor(TColor{clBtnHighlight});
        canvas.DrawText(caption_, text, DT_SINGLELINE | DT_VCENTER);
        OffsetRect(&text, -1, -1);
    }
    canvas.Font.SetColor(grayed ? TColor{clGrayText} : selected ? TColor{clHighlightText} : TColor{clMenuText});
    canvas.DrawText(caption_, text, DT_SINGLELINE | DT_VCENTER);
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
        info.fState = (item->Enabled ? 0 : MFS_GRAYED) | (item->Checked ? MFS_CHECKED : 0) |
                      (item->Default ? MFS_DEFAULT : 0);
        info.wID = item->Command();
        info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        std::string caption = item->Caption();
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
        item->MeasureStandard(canvas, w, h);
        if (item->OnMeasureItem) item->OnMeasureItem(item, canvas, w, h);
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
        if (item->OnDrawItem) item->OnDrawItem(item, canvas, dis->rcItem, state);
        else item->DrawStandard(canvas, dis->rcItem, state);
        m.Result = 1;
        return;
    }
    default: break;
    }
    m.Result = DefWindowProc(window_->Handle(), m.Msg, m.WParam, m.LParam);
}

}  // namespace framework
