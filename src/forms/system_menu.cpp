#include "forms/system_menu.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "forms/skin_provider.h"
#include "platform/menu.h"
#include "skin/skin_manager.h"

namespace forms {

using framework::TFormBorderStyle;
using framework::TMenuItem;

namespace {

// Commands at and above this value are the system's own.
constexpr UINT kFirstSystemCommand = 0xF000;

struct FixedItem {
    const char* name;
    UINT command;
    const char* fallback;
};
constexpr std::array<FixedItem, 5> kFixed{{{"acIR", SC_RESTORE, "Restore"},
                                           {"acIM", SC_MOVE, "Move"},
                                           {"acIS", SC_SIZE, "Size"},
                                           {"acIN", SC_MINIMIZE, "Minimize"},
                                           {"acIX", SC_MAXIMIZE, "Maximize"}}};
constexpr FixedItem kCloseItem{"acIC", SC_CLOSE, "Close"};

std::string UpperAscii(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

WORD KeyFromName(const std::string& name) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
    if (name.size() >= 2 && name[0] == 'F') {
        const std::string digits = name.substr(1);
        if (!std::all_of(digits.begin(), digits.end(), ::isdigit) || digits.size() > 2) return 0;
        const int n = std::stoi(digits);
        if (n >= 1 && n <= 12) return static_cast<WORD>(VK_F1 + n - 1);
    }
    if (name == "DEL" || name == "DELETE") return VK_DELETE;
    if (name == "INS" || name == "INSERT") return VK_INSERT;
    return 0;
}

bool IsBorderStyle(TFormBorderStyle s, std::initializer_list<TFormBorderStyle> any) {
    return std::find(any.begin(), any.end(), s) != any.end();
}

}  // namespace

framework::TShortCut ShortCutFromText(const std::string& text) {
    framework::TShortCut mods = framework::scNone;
    std::string rest = UpperAscii(text);
    for (;;) {
        const std::size_t plus = rest.find('+');
        if (plus == std::string::npos || plus + 1 == rest.size()) break;
        const std::string part = rest.substr(0, plus);
        if (part == "ALT")
            mods |= framework::scAlt;
        else if (part == "CTRL")
            mods |= framework::scCtrl;
        else if (part == "SHIFT")
            mods |= framework::scShift;
        else
            return framework::scNone;
        rest = rest.substr(plus + 1);
    }
    const WORD key = KeyFromName(rest);
    return key ? static_cast<framework::TShortCut>(mods | key) : framework::scNone;
}

TsSystemMenu::TsSystemMenu(TsSkinProvider& provider)
    : framework::TPopupMenu(nullptr), provider_(provider) {
    SetName(kSystemMenuComponentName);
    Build();
}

TsSystemMenu::~TsSystemMenu() = default;

std::vector<TsSystemMenu::SourceItem> TsSystemMenu::ReadWindowMenu() const {
    std::vector<SourceItem> items;
    framework::TCustomForm* form = provider_.HostForm();
    if (!form->HandleAllocated()) return items;
    HMENU menu = GetSystemMenu(form->Handle(), FALSE);
    const int count = menu ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        const UINT command = GetMenuItemID(menu, i);
        char buffer[256] = {};
        if (GetMenuString(menu, static_cast<UINT>(i), buffer, sizeof buffer, MF_BYPOSITION) <= 0)
            continue;
        const std::string text = buffer;
        const std::size_t tab = text.find('\t');
        items.push_back(SourceItem{command, text.substr(0, tab),
                                   tab == std::string::npos ? "" : text.substr(tab + 1)});
    }
    return items;
}

TMenuItem* TsSystemMenu::AddItem(const std::string& name, const std::string& caption,
                                 UINT command) {
    auto* item = new TMenuItem(this);
    item->SetName(name);
    item->SetCaption(caption);
    item->Tag = static_cast<int>(command);
    item->OnClick = [this, command](framework::TObject*) { Command(command); };
    Items()->Add(item);
    return item;
}

void TsSystemMenu::AddSeparator() {
    auto* line = new TMenuItem(this);
    line->SetCaption("-");
    Items()->Add(line);
}

void TsSystemMenu::AddSkinChooser() {
    skins_ = new TMenuItem(this);
    skins_->SetName(kSkinSelectItemName);
    skins_->SetCaption(kAvailableSkinsCaption);
    Items()->Add(skins_);
    AddSeparator();
}

void TsSystemMenu::Build() {
    while (Items()->Count() > 0) delete Items()->Items(Items()->Count() - 1);
    skins_ = nullptr;
    copied_ = 0;
    const std::vector<SourceItem> source = ReadWindowMenu();
    auto captionOf = [&](UINT command) -> const SourceItem* {
        for (const SourceItem& s : source)
            if (s.command == command && !s.caption.empty()) return &s;
        return nullptr;
    };
    if (provider_.MakeSkinMenu) AddSkinChooser();
    std::array<TMenuItem**, 5> slots{&restore_, &move_, &size_, &minimize_, &maximize_};
    for (std::size_t i = 0; i < kFixed.size(); ++i) {
        const SourceItem* s = captionOf(kFixed[i].command);
        *slots[i] = AddItem(kFixed[i].name, s ? s->caption : kFixed[i].fallback, kFixed[i].command);
    }
    AddSeparator();
    for (const SourceItem& s : source) {
        if (s.command >= kFirstSystemCommand || s.caption.empty()) continue;
        TMenuItem* item = AddItem("", s.caption, s.command);
        item->SetShortCut(ShortCutFromText(s.shortcut));
        ++copied_;
    }
    if (copied_ > 0) AddSeparator();
    const SourceItem* close = captionOf(kCloseItem.command);
    close_ = AddItem(kCloseItem.name, close ? close->caption : kCloseItem.fallback, SC_CLOSE);
    if (close) close_->SetShortCut(ShortCutFromText(close->shortcut));
}

void TsSystemMenu::RefreshItems() {
    framework::TCustomForm* form = provider_.HostForm();
    if (!form->HandleAllocated()) return;
    std::size_t own = 0;
    for (const SourceItem& s : ReadWindowMenu())
        if (s.command < kFirstSystemCommand) ++own;
    if (own != static_cast<std::size_t>(copied_) || !close_ ||
        (provider_.MakeSkinMenu != (skins_ != nullptr)))
        Build();
    const TsButtonRules r = ReadButtonRules(*form, provider_.HadSystemMenu());
    const TFormBorderStyle style = form->BorderStyle();
    restore_->Visible = r.VisibleClose && r.BigStyle;
    restore_->Enabled = r.EnabledRestore;
    move_->Visible = true;
    move_->Enabled = !r.Maximized;
    size_->Visible = !IsBorderStyle(style, {TFormBorderStyle::bsNone, TFormBorderStyle::bsDialog,
                                            TFormBorderStyle::bsToolWindow});
    size_->Enabled = style != TFormBorderStyle::bsSingle && !r.Iconic;
    minimize_->Visible = r.VisibleMin;
    minimize_->Enabled = r.EnabledMin;
    maximize_->Visible = r.VisibleMax;
    maximize_->Enabled = r.EnabledMax;
    close_->Visible = r.VisibleClose;
    close_->Enabled = true;
}

void TsSystemMenu::FillSkinList() {
    if (!skins_) return;
    while (skins_->Count() > 0) delete skins_->Items(skins_->Count() - 1);
    skin::TsSkinManager* manager = provider_.Manager();
    if (!manager) return;
    std::vector<std::string> names;
    manager->ListSkins(names, 2);
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto* item = new TMenuItem(this);
        item->SetName(kSkinSelectItemName + std::to_string(i));
        item->SetCaption(names[i]);
        item->SetRadioItem(true);
        item->Checked = names[i] == manager->SkinName();
        if (i > 0 && i % kSkinsPerColumn == 0) item->SetBreak(framework::TMenuBreak::mbBreak);
        item->OnClick = [this, item](framework::TObject*) { ChooseSkin(*item); };
        skins_->Add(item);
    }
    skins_->Enabled = !names.empty();
}

void TsSystemMenu::ChooseSkin(TMenuItem& item) {
    std::string name = item.Caption();
    name.erase(std::remove(name.begin(), name.end(), '&'), name.end());
    skin::TsSkinManager* manager = provider_.Manager();
    if (!manager) return;
    // The handler may be told before the load: the name is what the user asked for.
    auto chosen = provider_.OnSkinChosen;
    manager->SetSkinName(name);
    if (chosen) chosen(name);
}

void TsSystemMenu::Command(UINT command) {
    framework::TCustomForm* form = provider_.HostForm();
    if (!form->HandleAllocated()) return;
    HWND h = form->Handle();
    if (command == SC_CLOSE || command < kFirstSystemCommand) {
        PostMessage(h, WM_SYSCOMMAND, command, 0);
        return;
    }
    if (command == SC_MINIMIZE) provider_.SetMinimizing(true);
    SendMessage(h, WM_SYSCOMMAND, command, 0);
    if (command == SC_MINIMIZE) provider_.SetMinimizing(false);
    if (IsWindow(h) && command != SC_MOVE && command != SC_SIZE) RefreshItems();
}

void TsSystemMenu::ShowWindowMenu(POINT screen, const TsButtonRules& r) {
    HWND h = provider_.HostForm()->Handle();
    HMENU menu = GetSystemMenu(h, FALSE);
    if (!menu) return;
    const LONG style = GetWindowLong(h, GWL_STYLE);
    SetWindowLong(h, GWL_STYLE, style & ~static_cast<LONG>(WS_VISIBLE));
    auto state = [&](UINT command, bool on) {
        EnableMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    state(SC_RESTORE, restore_->Visible && r.EnabledRestore);
    state(SC_MOVE, !r.Maximized && !r.Iconic);
    state(SC_SIZE, size_->Visible && size_->Enabled && !r.Maximized && !r.Iconic);
    state(SC_MINIMIZE, r.VisibleMin && r.EnabledMin);
    state(SC_MAXIMIZE, r.VisibleMax && r.EnabledMax);
    state(SC_CLOSE, r.VisibleClose);
    SetWindowLong(h, GWL_STYLE, GetWindowLong(h, GWL_STYLE) | static_cast<LONG>(WS_VISIBLE));
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, h, nullptr));
    if (command != 0) PostMessage(h, WM_SYSCOMMAND, command, 0);
}

void TsSystemMenu::ShowAt(POINT screen) {
    framework::TCustomForm* form = provider_.HostForm();
    if (!form->HandleAllocated()) return;
    RefreshItems();
    skin::TsSkinManager* manager = provider_.Manager();
    if (!manager || !manager->SkinnedPopups()) {
        ShowWindowMenu(screen, ReadButtonRules(*form, provider_.HadSystemMenu()));
        return;
    }
    FillSkinList();
    if (skin::TsFormLayer* layer = skin::FormLayer()) layer->HookPopupMenu(*this, manager, true);
    Popup(screen.x, screen.y);
}

}  // namespace forms
