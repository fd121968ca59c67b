// The options text of a skin in ini form. Lines end with CR, LF or CR LF and are trimmed;
// ";" starts a comment line; "[name]" opens a section; "key=value" lines belong to it.
// Lookups ignore ASCII letter case and take the first of repeated keys; listings keep file
// order and spelling.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace skin {

class TsOptionsText {
public:
    struct Key {
        std::string name;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Key> keys;
        std::unordered_map<std::string, std::size_t> index;  // upper-cased key -> first
    };

    static TsOptionsText Parse(std::string_view text);

    const std::vector<Section>& Sections() const { return sections_; }
    const Section* FindSection(std::string_view name) const;
    std::optional<std::string_view> Value(std::string_view section, std::string_view key) const;
    // A key already in upper case, in a section already found.
    static std::optional<std::string_view> UpperKeyValue(const Section& section, const std::string& upperKey);
    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // Lenient: text that is no integer gives the fallback.
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    bool Empty() const { return sections_.empty(); }

private:
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> index_;  // upper-cased name -> first
};

}  // namespace skin
