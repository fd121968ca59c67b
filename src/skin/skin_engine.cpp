#include "skin/skin_engine.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "framework/application.h"
#include "skin/skin_manager.h"
#include "skin/skin_text.h"

namespace skin {

bool LoadingSkin = false;
bool AnimatingSkinChange = false;
bool AnnouncingSkin = false;
bool RemovingSkin = false;

std::vector<TsProviderLink*>& ProviderForms() {
    static std::vector<TsProviderLink*> forms;
    return forms;
}

void RegisterProviderForm(TsProviderLink* link) {
    auto& forms = ProviderForms();
    if (std::find(forms.begin(), forms.end(), link) == forms.end()) forms.push_back(link);
}

void UnregisterProviderForm(TsProviderLink* link) { std::erase(ProviderForms(), link); }

namespace {
TsFormLayer* g_formLayer = nullptr;
}  // namespace

TsFormLayer* FormLayer() { return g_formLayer; }
void SetFormLayer(TsFormLayer* layer) { g_formLayer = layer; }

std::vector<HWND>& HookSkinnedWindows() {
    static std::vector<HWND> windows;
    return windows;
}

namespace {
TsMessageBoxFunction& BoxFunction() {
    static TsMessageBoxFunction function;
    return function;
}
}  // namespace

void SetSkinMessageBox(TsMessageBoxFunction function) { BoxFunction() = std::move(function); }

int SkinMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    if (BoxFunction()) return BoxFunction()(owner, text, caption, type);
    return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

void ShowVersionBannerOnce(const std::vector<std::string>& arguments) {
    static bool shown = false;
    if (shown) return;
    for (const std::string& a : arguments) {
        std::string lower = a;
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (lower != "/acver") continue;
        shown = true;
        std::string text = "Skin engine v";
        text.append(kEngineVersion);
        SkinMessageBox(nullptr, text, framework::Application ? framework::Application->Title : std::string(), MB_OK);
        return;
    }
}

std::vector<std::string> CommandLineArguments() {
    std::ifstream f("/proc/self/cmdline", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    std::vector<std::string> args;
    std::size_t pos = 0;
    while (pos < all.size()) {
        std::size_t end = all.find('\0', pos);
        if (end == std::string::npos) end = all.size();
        args.push_back(all.substr(pos, end - pos));
        pos = end + 1;
    }
    if (!args.empty()) args.erase(args.begin());  // the program itself
    return args;
}

}  // namespace skin
