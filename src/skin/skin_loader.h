// The loaders that build a skin model from an options text and its pictures, run in the
// order LoadMasks, LoadPatterns, LoadSections, then UpdateIndexes of the model.
#pragma once

#include <functional>
#include <string>

#include "skin/skin_archive.h"
#include "skin/skin_model.h"
#include "skin/skin_options.h"

namespace skin {

struct TsLoadSource {
    const TsOptionsText* options = nullptr;
    TacSkinConvertor* archive = nullptr;  // null for a folder skin
    std::string skinDir;                  // folder of the skin files, ending with a separator
    const TsOptionsText* common = nullptr;  // the manager's CommonSections, maybe null
    TsSkinManager* owner = nullptr;
    int hueOffset = 0;
    int saturation = 0;
    // Shows the notice for skins newer than the engine; the load goes on afterwards.
    std::function<void(const std::string&)> versionNotice;
};

// Image entries and the master bitmap.
void LoadMasks(TsSkinModel& model, const TsLoadSource& source);
// Large JPEG textures; small ones become image entries.
void LoadPatterns(TsSkinModel& model, const TsLoadSource& source);
// Global values, section records, common sections, then the colour transformation.
void LoadSections(TsSkinModel& model, const TsLoadSource& source);
// Everything, in order, into a fresh model.
void LoadModel(TsSkinModel& model, const TsLoadSource& source);

// Parses gradient text: words split at ";" runs, five words a part.
TsGradArray ParseGradient(std::string_view text);

constexpr double kEngineVersionLimit = 6.99;
extern const char* const kVersionNotice;

}  // namespace skin
