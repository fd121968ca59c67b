// The manager's properties and the load sequence.
#include "skin/skin_manager.h"

#include <charconv>

#include "framework/application.h"
#include "skin/skin_files.h"
#include "skin/skin_loader.h"
#include "skin/skin_text.h"

namespace skin {
namespace {

TsSkinManager*& DefaultManagerSlot() {
    static TsSkinManager* manager = nullptr;
    return manager;
}

constexpr std::string_view kThirdPartyNames[ThirdPartyList::kCount] = {
    "ThirdEdits",      "ThirdButtons",     "ThirdBitBtns",       "ThirdCheckBoxes",  "ThirdComboBoxes",
    "ThirdGrids",      "ThirdGroupBoxes",  "ThirdListViews",     "ThirdPanels",      "ThirdTreeViews",
    "ThirdWWEdits",    "ThirdGridEh",      "ThirdVirtualTrees",  "ThirdPageControl", "ThirdTabControl",
    "ThirdToolBar",    "ThirdStatusBar",   "ThirdSpeedButton"};

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty()) lines.push_back(line);
        pos = end + 1;
        if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) {
        text.append(l);
        text.append("\r\n");
    }
    return text;
}

std::string VersionText(double v) {
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

}  // namespace

TsSkinManager* DefaultManager() { return DefaultManagerSlot(); }

std::string_view ThirdPartyList::Name(int index) {
    return index >= 0 && index < kCount ? kThirdPartyNames[index] : std::string_view{};
}

std::string_view ThirdPartyList::DefaultValue(int index) { return index == 1 ? "TButton" : " "; }

std::array<std::string, ThirdPartyList::kCount> ThirdPartyList::Defaults() {
    std::array<std::string, kCount> values;
    for (int i = 0; i < kCount; ++i) values[static_cast<std::size_t>(i)] = std::string(DefaultValue(i));
    return values;
}

TsSkinManager::TsSkinManager(framework::TComponent* owner)
    : framework::TComponent(owner), model_(std::make_unique<TsSkinModel>()) {
    AnimEffects.Buttons.Manager = this;
    if (!DefaultManagerSlot()) {
        DefaultManagerSlot() = this;
        InstallAppHook();
    }
    FillThirdPartyLists();
    if (skinDirectory_.empty()) skinDirectory_ = kDefaultSkinDirectory;
    ShowVersionBannerOnce(CommandLineArguments());
}

TsSkinManager::~TsSkinManager() {
    if (active_) {
        active_ = false;
        if (hasSkin_ || GlobalInfo().SkinReady) SendRemoveSkin();
    }
    RemoveCreationHook();
    extendedBorders_ = false;
    ShadowActive.reset();
    ShadowInactive.reset();
    if (DefaultManagerSlot() == this) {
        RemoveAppHook();
        DefaultManagerSlot() = nullptr;
    }
    for (int i = 0; i < ThirdPartyList::kCount; ++i)
        ThirdParty.Values[static_cast<std::size_t>(i)] = JoinLines(ThirdPartyLists[static_cast<std::size_t>(i)]);
}

TacMenuSupport::TacMenuSupport() {
    ExtraLineFont.SetName("MS Sans Serif");
    ExtraLineFont.SetHeight(-11);
    ExtraLineFont.SetColor(framework::clWindowText);
}

void TsSkinManager::Loaded() {
    framework::TComponent::Loaded();
    if (skinDirectory_.empty()) skinDirectory_ = kDefaultSkinDirectory;
    if (MenuSupport.IcoLineSkin.empty()) MenuSupport.IcoLineSkin = "ICOLINE";
    FillThirdPartyLists();
    if (active_ && !skinName_.empty() && hasSkin_) SendNewSkin(false);
}

void TsSkinManager::FillThirdPartyLists() {
    for (int i = 0; i < ThirdPartyList::kCount; ++i) {
        std::string& value = ThirdParty.Values[static_cast<std::size_t>(i)];
        if (value.empty()) value = std::string(ThirdPartyList::DefaultValue(i));
        ThirdPartyLists[static_cast<std::size_t>(i)] = SplitLines(value);
    }
}

bool TsSkinManager::EffectiveAllowGlowing() const { return AllowGlowing && platform::LayeredWindowsAvailable(); }

std::string TsSkinManager::SkinInfo() const {
    return GlobalInfo().SkinReady ? VersionText(GlobalInfo().Version) : std::string("N/A");
}

void TsSkinManager::SetSkinName(const std::string& value) {
    std::string previous = skinName_;
    skinName_ = value;
    if (!active_) return;
    RunLoadSequence(previous);
}

TsSkinManager::LoadState TsSkinManager::SaveLoadState() const {
    return LoadState{skinName_, IsPacked, GlobalInfo().SkinReady};
}

void TsSkinManager::RestoreLoadState(const LoadState& state) {
    skinName_ = state.skinName;
    IsPacked = state.isPacked;
    GlobalInfo().SkinReady = state.skinReady;
}

void TsSkinManager::RunLoadSequence(const std::string& previousName) {
    if (!active_) return;
    if (OnBeforeChange) OnBeforeChange(this);
    LoadingSkin = true;
    LoadState before = SaveLoadState();
    before.skinName = previousName;
    GlobalInfo().SkinReady = false;
    bool failed = false;
    try {
        LoadNamedSkin();
    } catch (const std::exception& e) {
        failed = true;
        RestoreLoadState(before);
        ShowLoadError(e.what());
    }
    if (!active_)
        SendRemoveSkin();
    else if (!failed || hasSkin_)
        SendNewSkin(true);
    LoadingSkin = false;
    if (OnAfterChange) OnAfterChange(this);
}

void TsSkinManager::ShowLoadError(const std::string& message) {
    HWND owner = nullptr;
    if (framework::Application && framework::Application->MainForm() && framework::Application->MainForm()->HandleAllocated())
        owner = framework::Application->MainForm()->Handle();
    SkinMessageBox(owner, message, "Error", MB_OK | MB_ICONERROR | MB_APPLMODAL | MB_TOPMOST | MB_SETFOREGROUND);
}

void TsSkinManager::LoadFromSource(TacSkinConvertor* archive, const TsOptionsText& options, const std::string& skinDir) {
    std::string commonText;
    for (const std::string& line : commonSections_) {
        commonText.append(line);
        commonText.push_back('\n');
    }
    TsOptionsText common = TsOptionsText::Parse(commonText);
    TsLoadSource source;
    source.options = &options;
    source.archive = archive;
    source.skinDir = skinDir;
    source.common = &common;
    source.owner = this;
    source.hueOffset = hueOffset_;
    source.saturation = saturation_;
    source.versionNotice = [](const std::string& text) {
        SkinMessageBox(nullptr, text, framework::Application ? framework::Application->Title : std::string(), MB_OK);
    };
    auto fresh = std::make_unique<TsSkinModel>();
    fresh->GlobalInfo.SkinDir = skinDir;
    LoadModel(*fresh, source);
    InstallFrom(std::move(fresh), skinDir);
}

void TsSkinManager::InstallFrom(std::unique_ptr<TsSkinModel> fresh, const std::string& skinDir) {
    fresh->GlobalInfo.SkinDir = skinDir;
    fresh->GlobalInfo.SkinReady = false;
    model_ = std::move(fresh);
    hasSkin_ = true;
}

void TsSkinManager::LoadFolderSkin() {
    if (!active_) return;
    LoadingSkin = true;
    const std::string full = FullSkinDirectory();
    const std::string options = ResolveSkinPath(full + "/" + skinName_ + "/Options.dat");
    if (IsFile(options)) {
        IsPacked = false;
        std::vector<std::uint8_t> bytes = ReadWholeFile(options);
        TsOptionsText text = TsOptionsText::Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        LoadFromSource(nullptr, text, full + "/" + skinName_ + "/");
        return;
    }
    const TsStoredSkin* stored = nullptr;
    for (const TsStoredSkin& s : InternalSkins)
        if (s.Name == skinName_) stored = &s;
    if (!stored) {
        if (InternalSkins.empty()) {
            active_ = false;
            return;
        }
        skinName_ = InternalSkins.front().Name;
        stored = &InternalSkins.front();
    }
    auto reader = std::make_unique<TacSkinConvertor>();
    if (!stored->PackedData.empty()) {
        IsPacked = true;
        reader->SetArchiveStream(stored->PackedData);
        ParseArchive(reader);
        reader->SetArchiveStream({});
    } else {
        // Loose stored files are served like archive entries, from memory.
        IsPacked = false;
        reader->OptionsData = std::make_unique<std::vector<std::uint8_t>>(stored->OptionsText.begin(), stored->OptionsText.end());
        for (const ArchiveEntry& f : stored->Files) reader->ImageItems.push_back({f.name, HasBitmapExtension(f.name), f.data});
        reader->ImageItemCount = static_cast<int>(reader->ImageItems.size());
    }
    const std::vector<std::uint8_t>& data = *reader->OptionsData;
    TsOptionsText text = TsOptionsText::Parse(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    LoadFromSource(reader.get(), text, std::string());
}

void TsSkinManager::LoadPackedSkin() {
    if (!active_) return;
    LoadingSkin = true;
    std::unique_ptr<TacSkinConvertor> reader;
    OpenArchive(DirWithSlash(skinDirectory_) + skinName_ + ".asz", reader, true);
    if (!reader) return;
    const std::vector<std::uint8_t>& data = *reader->OptionsData;
    TsOptionsText text = TsOptionsText::Parse(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    LoadFromSource(reader.get(), text, FullSkinDirectory() + "/");
}

// A packed skin of the name wins over a folder of the same name.
void TsSkinManager::LoadNamedSkin() {
    IsPacked = SkinFileExists(DirWithSlash(skinDirectory_) + skinName_ + ".asz");
    if (IsPacked)
        LoadPackedSkin();
    else
        LoadFolderSkin();
}

void TsSkinManager::Reload() {
    if (!GlobalInfo().SkinReady) return;
    LoadingSkin = true;
    const LoadState before = SaveLoadState();
    try {
        LoadNamedSkin();
        GlobalInfo().SkinReady = true;
        UpdateIndexes();
    } catch (const std::exception& e) {
        RestoreLoadState(before);
        ShowLoadError(e.what());
    }
    LoadingSkin = false;
    if (!Loading()) RepaintForms();
}

void TsSkinManager::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (value) {
        RunLoadSequence(skinName_);
        return;
    }
    if (!Loading()) SendRemoveSkin();
    UpdateIndexes();
}

void TsSkinManager::SetSkinDirectory(const std::string& value) {
    if (value == skinDirectory_) return;
    skinDirectory_ = value;
    GlobalInfo().SkinDir = FullSkinDirectory();
}

void TsSkinManager::SetCommonSections(const std::vector<std::string>& lines) {
    commonSections_.clear();
    for (std::string line : lines) {
        if (!line.empty() && line.front() != ';') std::erase(line, ' ');
        commonSections_.push_back(std::move(line));
    }
    RunLoadSequence(skinName_);
}

void TsSkinManager::SetHueOffset(int value) {
    if (value == hueOffset_) return;
    hueOffset_ = value;
    Reload();
}

void TsSkinManager::SetSaturation(int value) {
    if (value == saturation_) return;
    saturation_ = value;
    Reload();
}

void TsSkinManager::SetExtendedBorders(bool value) {
    if (value == extendedBorders_) return;
    extendedBorders_ = value;
    PrepareExtendedBorders();
    Reload();
}

void TsSkinManager::SetSkinnedPopups(bool value) {
    if (value == skinnedPopups_) return;
    // Popup menus are handed to the menu painter one by one as they open (the form layer's
    // HookPopupMenu), so switching skinned popups back on has nothing to re-hook.
    skinnedPopups_ = value;
}

void TsSkinManager::SetIsDefault(bool value) {
    if (!value && DefaultManagerSlot()) return;
    if (DefaultManagerSlot() != this) {
        if (DefaultManagerSlot()) DefaultManagerSlot()->RemoveAppHook();
        DefaultManagerSlot() = this;
        InstallAppHook();
    }
    // An active manager that has not loaded a skin yet has nothing to announce.
    if (!active_) {
        SendRemoveSkin();
    } else if (hasSkin_) {
        SendNewSkin(true);
        RepaintForms();
    }
}

void TsSkinManager::SetHotControl(HWND window) {
    if (window == hotControl_) return;
    HWND previous = hotControl_;
    hotControl_ = window;
    LPARAM self = reinterpret_cast<LPARAM>(this);
    if (previous && IsWindow(previous)) SendMessage(previous, SM_SKINCMD, SkinCommandWParam(scMouseLeave), self);
    if (window && IsWindow(window)) SendMessage(window, SM_SKINCMD, SkinCommandWParam(scMouseEnter), self);
}

}  // namespace skin
