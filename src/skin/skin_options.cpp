#include "skin/skin_options.h"

#include "skin/skin_text.h"

namespace skin {
namespace {

// The next line of text, without its ending; pos moves past the ending.
std::string_view NextLine(std::string_view text, std::size_t& pos) {
    std::size_t start = pos;
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n' && (pos == end || text[pos - 1] == '\r')) ++pos;
    return text.substr(start, end - start);
}

}  // namespace

TsOptionsText TsOptionsText::Parse(std::string_view text) {
    TsOptionsText result;
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::string_view line = Trim(NextLine(text, pos));
        if (line.empty() || line.front() == ';') continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            result.sections_.push_back(Section{std::string(Trim(line.substr(1, line.size() - 2))), {}, {}});
            current = &result.sections_.back();
            result.index_.emplace(UpperCase(current->name), result.sections_.size() - 1);
            continue;
        }
        std::size_t eq = line.find('=');
        if (!current || eq == std::string_view::npos) continue;
        std::string_view name = Trim(line.substr(0, eq));
        if (name.empty()) continue;
        current->keys.push_back(Key{std::string(name), std::string(Trim(line.substr(eq + 1)))});
        current->index.emplace(UpperCase(name), current->keys.size() - 1);
    }
    return result;
}

const TsOptionsText::Section* TsOptionsText::FindSection(std::string_view name) const {
    auto it = index_.find(UpperCase(name));
    return it == index_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::string_view> TsOptionsText::Value(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (!s) return std::nullopt;
    auto it = s->index.find(UpperCase(key));
    if (it == s->index.end()) return std::nullopt;
    return std::string_view(s->keys[it->second].value);
}

std::optional<std::string_view> TsOptionsText::UpperKeyValue(const Section& section, const std::string& upperKey) {
    auto it = section.index.find(upperKey);
    if (it == section.index.end()) return std::nullopt;
    return std::string_view(section.keys[it->second].value);
}

std::string TsOptionsText::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
    auto v = Value(section, key);
    return std::string(v ? *v : fallback);
}

int TsOptionsText::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
    auto v = Value(section, key);
    if (!v) return fallback;
    auto n = ParseInteger(*v);
    return n ? *n : fallback;
}

}  // namespace skin
