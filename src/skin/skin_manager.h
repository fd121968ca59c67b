// The skin manager: finds the skin named by SkinDirectory and SkinName, loads it into the
// model it owns, and announces it to every window with SM_SKINCMD. A load builds a fresh
// model; only a load that succeeded as a whole replaces the current one, so a damaged skin
// leaves the previous skin, model, name and IsPacked as they were.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/control.h"
#include "framework/menus.h"
#include "skin/skin_archive.h"
#include "skin/skin_commands.h"
#include "skin/skin_engine.h"
#include "skin/skin_model.h"
#include "skin/skin_options.h"

namespace skin {

constexpr const char* kEngineVersion = "6.68";
constexpr const char* kDefaultSkinDirectory = "c:\\Skins";

enum TacAnimType { atFading = 0, atAero = 1 };

struct TacAnimEffect {
    bool Active = true;
    std::uint16_t Time = 0;
    TacAnimType Mode = atAero;
};
enum TacBtnEvent : unsigned { beMouseEnter = 1, beMouseLeave = 2, beMouseDown = 4, beMouseUp = 8 };
struct TacBtnEffects {
    unsigned Events = beMouseEnter | beMouseLeave | beMouseDown | beMouseUp;
    TsSkinManager* Manager = nullptr;
};
struct TacAnimEffects {
    TacBtnEffects Buttons;
    TacAnimEffect DialogShow;
    TacAnimEffect FormShow;
    TacAnimEffect FormHide;
    TacAnimEffect DialogHide;
    TacAnimEffect PageChange;
    TacAnimEffect SkinChanging{true, 100, atFading};
};

// The menu settings: the icon line's section and the vertical extra line drawn along a popup's
// left edge (its font is "MS Sans Serif", 11 pixels, in the window text colour).
struct TacMenuSupport {
    TacMenuSupport();
    std::string IcoLineSkin = "ICOLINE";
    bool UseExtraLine = false;
    int ExtraLineWidth = 32;
    framework::TFont ExtraLineFont;
};

enum TacSkinningRule : unsigned { srStdForms = 1, srStdDialogs = 2, srThirdParty = 4 };
using TacSkinningRules = unsigned;

// Class names of foreign controls to be skinned, one list per kind of adapter.
struct ThirdPartyList {
    static constexpr int kCount = 18;
    static std::string_view Name(int index);           // "ThirdEdits", ...
    static std::string_view DefaultValue(int index);   // "TButton" for buttons, else " "
    std::array<std::string, kCount> Values = Defaults();
    static std::array<std::string, kCount> Defaults();
};

// A skin stored inside the application: packed archive bytes, or loose files.
struct TsStoredSkin {
    std::string Name;
    std::vector<std::uint8_t> PackedData;
    std::string OptionsText;          // used when PackedData is empty
    std::vector<ArchiveEntry> Files;  // pictures of such a skin
};

// Asked for the extra line of the popup whose first item is firstItem: its section, caption
// and glyph (an empty bitmap the handler may fill), and whether it shows at all.
using TacGetExtraLineData =
    std::function<void(framework::TMenuItem* firstItem, std::string& section, std::string& caption,
                       framework::TBitmap& glyph, bool& lineVisible)>;

class TsSkinManager : public framework::TComponent {
public:
    explicit TsSkinManager(framework::TComponent* owner);
    ~TsSkinManager() override;
    void Loaded() override;

    // Published properties
    bool Active() const { return active_; }
    void SetActive(bool value);
    bool AllowGlowing = true;
    bool EffectiveAllowGlowing() const;
    TacAnimEffects AnimEffects;
    const std::vector<std::string>& CommonSections() const { return commonSections_; }
    void SetCommonSections(const std::vector<std::string>& lines);
    bool ExtendedBorders() const { return extendedBorders_; }
    void SetExtendedBorders(bool value);
    int HueOffset() const { return hueOffset_; }
    void SetHueOffset(int value);
    std::vector<TsStoredSkin> InternalSkins;
    bool IsDefault() const { return DefaultManager() == this; }
    void SetIsDefault(bool value);
    TacMenuSupport MenuSupport;
    int Saturation() const { return saturation_; }
    void SetSaturation(int value);
    const std::string& SkinDirectory() const { return skinDirectory_; }
    void SetSkinDirectory(const std::string& value);
    std::string SkinInfo() const;
    const std::string& SkinName() const { return skinName_; }
    void SetSkinName(const std::string& value);
    bool SkinnedPopups() const { return skinnedPopups_; }
    void SetSkinnedPopups(bool value);
    TacSkinningRules SkinningRules = srStdForms | srStdDialogs | srThirdParty;
    ThirdPartyList ThirdParty;
    std::string Version() const { return kEngineVersion; }
    framework::TNotifyEvent OnBeforeChange;
    framework::TNotifyEvent OnAfterChange;
    TacGetExtraLineData OnGetMenuExtraLineData;

    // The model (read by painters)
    const TsSkinModel& Model() const { return *model_; }
    TsSkinModel& Model() { return *model_; }
    TsSkinData& GlobalInfo() { return model_->GlobalInfo; }
    const TsSkinData& GlobalInfo() const { return model_->GlobalInfo; }
    int FindSection(std::string_view name) const { return model_->FindSection(name); }
    int FindMaskOwn(std::string_view s, std::string_view p) const { return model_->FindMaskOwn(s, p); }
    int FindMask(int i, std::string_view s, std::string_view p) const { return model_->FindMask(i, s, p); }
    int FindTexture(int i, std::string_view s, std::string_view p) const { return model_->FindTexture(i, s, p); }
    int FindPattern(int i, std::string_view s, std::string_view p) const { return model_->FindPattern(i, s, p); }
    const TsCachedIndexes& CachedIndexes() const { return model_->CachedIndexes; }

    bool IsPacked = false;
    std::array<std::vector<std::string>, ThirdPartyList::kCount> ThirdPartyLists;
    HWND HotControl() const { return hotControl_; }
    void SetHotControl(HWND window);

    // Extended-border shadow pictures (active, inactive) and margins; empty when off.
    std::unique_ptr<framework::TBitmap> ShadowActive;
    std::unique_ptr<framework::TBitmap> ShadowInactive;
    RECT ShadowMargins{0, 0, 0, 0};

    // Operations
    std::string FullSkinDirectory() const;
    // Fills the list with the skin names (kind 0 folders, 1 packed, 2 both), sorted; returns
    // the first name found. A packed skin is named by its file name without the final ".asz"
    // ("Night.v2.asz" is "Night.v2"), the name under which it loads.
    std::string ListSkins(std::vector<std::string>& list, int kind) const;
    void SendNewSkin(bool repaint);
    void SendRemoveSkin();
    void RepaintForms(bool animated = true);
    void BroadcastToForms(UINT message, WPARAM wParam, LPARAM lParam);
    static void BroadcastToChildren(framework::TWinControl* control, UINT message, WPARAM wParam, LPARAM lParam);
    void FreezeForms();
    void ThawForms(bool animated);
    // The model's indexes, then the extended-border pictures.
    void UpdateIndexes();
    bool CreationHookInstalled() const { return cbtHook_ != nullptr; }

    // Loads the current SkinName into a fresh model and swaps it in; throws on a damaged
    // skin and leaves everything as it was. Sets Active to false when no skin was found.
    void LoadFolderSkin();
    void LoadPackedSkin();

private:
  // What a failed load puts back.
  struct LoadState {
      std::string skinName;
      bool isPacked;
      bool skinReady;
  };
  LoadState SaveLoadState() const;
  std::vector<TsProviderLink*> TakeFrozenForms();
  void RestoreLoadState(const LoadState& state);
  void LoadNamedSkin();
  void RunLoadSequence(const std::string& previousName);
  void Reload();
  void InstallFrom(std::unique_ptr<TsSkinModel> fresh, const std::string& skinDir);
  void LoadFromSource(TacSkinConvertor* archive, const TsOptionsText& options,
                      const std::string& skinDir);
  void FillThirdPartyLists();
  void PrepareExtendedBorders();
  void InstallCreationHook();
  void RemoveCreationHook();
  void InstallAppHook();
  void RemoveAppHook();
  void ShowLoadError(const std::string& message);
  static LRESULT CreationHookProc(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT AppHookProc(int code, WPARAM wParam, LPARAM lParam);

  std::unique_ptr<TsSkinModel> model_;
  bool active_ = true;
  bool hasSkin_ = false;  // the model holds a loaded skin
  bool extendedBorders_ = false;
  int hueOffset_ = 0;
  int saturation_ = 0;
  bool skinnedPopups_ = true;
  std::string skinDirectory_;
  std::string skinName_;
  std::vector<std::string> commonSections_;
  HWND hotControl_ = nullptr;
  HHOOK cbtHook_ = nullptr;
  HHOOK appHook_ = nullptr;
  // Forms frozen by FreezeForms and not yet thawed: a frozen form is no longer visible, so
  // ThawForms cannot find them again by looking.
  std::vector<TsProviderLink*> frozen_;
};

// "\" appended (or a final "/" turned into "\"); a single letter becomes a drive root.
std::string DirWithSlash(const std::string& text);
// The folder of the executable (ending with "/") used to resolve relative skin directories;
// tests may point it elsewhere.
std::string SkinExecutableDir();
void SetSkinExecutableDir(const std::string& dir);

}  // namespace skin
