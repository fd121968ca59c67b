#include "app/boolean_text.h"

#include "framework/exceptions.h"

namespace app {

namespace {

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (x != b[i]) return false;
    }
    return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Parses by hand so neither the C library's locale nor its hex/inf/nan forms sneak in.
// Returns false when the text is no number; *nonZero tells whether any mantissa digit is.
bool ScanNumber(std::string_view s, std::string_view radix, bool* nonZero) {
    std::size_t p = 0;
    auto digits = [&](bool* anyNonZero) {
        std::size_t start = p;
        while (p < s.size() && IsDigit(s[p])) {
            if (s[p] != '0' && anyNonZero) *anyNonZero = true;
            ++p;
        }
        return p - start;
    };
    while (p < s.size() && IsBlank(s[p])) ++p;
    if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
    *nonZero = false;
    std::size_t mantissa = digits(nonZero);
    if (p < s.size() && s[p] == '.') {
        ++p;
        mantissa += digits(nonZero);
    } else if (!radix.empty() && s.substr(p, radix.size()) == radix) {
        p += radix.size();
        mantissa += digits(nonZero);
    }
    if (mantissa == 0) return false;
    if (p < s.size() && (s[p] == 'e' || s[p] == 'E')) {
        ++p;
        if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
        if (digits(nullptr) == 0) return false;
    }
    while (p < s.size() && IsBlank(s[p])) ++p;
    return p == s.size();
}

}  // namespace

bool StrToBoolean(const std::string& text, std::string_view radix) {
    if (EqualsIgnoringAsciiCase(text, "true")) return true;
    if (EqualsIgnoringAsciiCase(text, "false")) return false;
    bool nonZero = false;
    if (ScanNumber(text, radix, &nonZero)) return nonZero;
    throw framework::EVariantTypeCastError("Could not convert variant of type (String) into type (Boolean)");
}

}  // namespace app
