#include "skin/skin_text.h"

#include <charconv>
#include <limits>

#include "framework/exceptions.h"

namespace skin {
namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

int DigitValue(char c, int base) {
    int v = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : 99;
    return v < base ? v : -1;
}

}  // namespace

std::string UpperCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = Upper(c);
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::optional<std::int32_t> ParseInteger(std::string_view t) {
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    bool negative = false;
    if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    int base = 10;
    if (!t.empty() && (t.front() == '$' || t.front() == 'x' || t.front() == 'X')) {
        base = 16;
        t.remove_prefix(1);
    } else if (t.size() >= 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        base = 16;
        t.remove_prefix(2);
    }
    if (t.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : t) {
        int d = DigitValue(c, base);
        if (d < 0) return std::nullopt;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    // Hex text names a 32-bit pattern ($FF00000F is a system colour); decimal text must fit.
    if (base == 16) {
        auto bits = static_cast<std::uint32_t>(value);
        auto v = static_cast<std::int32_t>(bits);
        return negative ? static_cast<std::int32_t>(0u - bits) : v;
    }
    if (negative) {
        if (value > 0x80000000ull) return std::nullopt;
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(value));
    }
    if (value > 0x7FFFFFFFull) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t StrToInt(std::string_view text) {
    if (auto v = ParseInteger(text)) return *v;
    std::string message = "'";
    message.append(text);
    message.append("' is not a valid integer value");
    throw framework::EConvertError(message);
}

std::optional<double> ParseReal(std::string_view t) {
    t = Trim(t);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    if (t.empty()) return std::nullopt;
    double v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::fixed);
    if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
    return v;
}

std::int32_t FixedField(std::string_view value, std::size_t from, std::size_t to) {
    std::string_view field;
    if (from >= 1 && from <= value.size()) field = value.substr(from - 1, to - from + 1);
    return StrToInt(field);
}

}  // namespace skin
