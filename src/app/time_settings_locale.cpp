// Reading the time conventions from glibc. A private locale object is used so the process's
// global locale (which other code may rely on being "C") is never touched.
#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <cstdint>
#include <string_view>
#include <wctype.h>

#include "app/time_rules.h"

namespace app {

namespace {

// Owns a locale_t for one category, "C" when the name does not provide that category.
class CategoryLocale {
public:
    CategoryLocale(int mask, const char* name) {
        loc_ = newlocale(mask, name, static_cast<locale_t>(0));
        if (loc_ == static_cast<locale_t>(0)) loc_ = newlocale(mask, "C", static_cast<locale_t>(0));
    }
    ~CategoryLocale() {
        if (loc_ != static_cast<locale_t>(0)) freelocale(loc_);
    }
    CategoryLocale(const CategoryLocale&) = delete;
    CategoryLocale& operator=(const CategoryLocale&) = delete;

    bool Valid() const { return loc_ != static_cast<locale_t>(0); }
    locale_t Get() const { return loc_; }
    std::string_view Info(nl_item item) const {
        const char* s = nl_langinfo_l(item, loc_);
        return s ? std::string_view(s) : std::string_view();
    }

private:
    locale_t loc_;
};

// The first character of s, a whole UTF-8 sequence when it is one.
std::string FirstCharacter(std::string_view s) {
    if (s.empty()) return {};
    const auto lead = static_cast<unsigned char>(s[0]);
    std::size_t len = 1;
    if (lead >= 0xF0) len = 4;
    else if (lead >= 0xE0) len = 3;
    else if (lead >= 0xC0) len = 2;
    return std::string(s.substr(0, len));
}

// The code point of one whole UTF-8 sequence; 0 when it is malformed.
std::uint32_t DecodeCharacter(std::string_view ch) {
    if (ch.empty()) return 0;
    const auto lead = static_cast<unsigned char>(ch[0]);
    const std::size_t extra = ch.size() - 1;
    if (extra == 0 || extra > 3) return 0;
    std::uint32_t cp = lead & (0x3Fu >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(ch[k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3Fu);
    }
    return cp;
}

// Whether the character at the start of s can separate hours from minutes: punctuation
// (":", ".", "·", "："), never a letter, ideograph or blank. Formats such as "%H時%M分%S秒"
// write a word after each field; those words are labels, not separators.
bool IsSeparatorCharacter(std::string_view s) {
    const auto lead = static_cast<unsigned char>(s[0]);
    if (lead < 0x80) return lead != '%' && std::ispunct(lead) != 0;
    const std::uint32_t cp = DecodeCharacter(FirstCharacter(s));
    static const CategoryLocale utf8(LC_CTYPE_MASK, "C.UTF-8");
    if (cp == 0) return false;
    const auto wc = static_cast<wint_t>(cp);
    return iswpunct_l(wc, utf8.Get()) != 0 && iswalpha_l(wc, utf8.Get()) == 0;
}

// Replaces the composite conversions by what they stand for, so only single fields remain.
std::string ExpandTimeFormat(std::string_view fmt, std::string_view ampmFormat, int depth = 0) {
    std::string out;
    for (std::size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != '%' || i + 1 >= fmt.size()) {
            out.push_back(fmt[i]);
            continue;
        }
        const char c = fmt[i + 1];
        if (c == 'T') {
            out.append("%H:%M:%S");
        } else if (c == 'R') {
            out.append("%H:%M");
        } else if (c == 'r') {
            // A locale whose 12-hour form is missing or refers back to %r gets the usual one.
            if (depth == 0 && !ampmFormat.empty()) out.append(ExpandTimeFormat(ampmFormat, ampmFormat, 1));
            else out.append("%I:%M:%S %p");
        } else {
            out.push_back('%');
            out.push_back(c);
        }
        ++i;
    }
    return out;
}

void ApplyExpandedTimeFormat(std::string_view fmt, TimeFormatSettings& fs) {
    bool designatorSeen = false;
    bool hourSeen = false;
    bool separatorSeen = false;
    std::size_t i = 0;
    while (i < fmt.size()) {
        if (fmt[i] != '%') {
            // The first mark after the hour decides; anything else leaves ":".
            if (hourSeen && !separatorSeen && fmt[i] != ' ') {
                if (IsSeparatorCharacter(fmt.substr(i))) fs.TimeSep = FirstCharacter(fmt.substr(i));
                separatorSeen = true;
            }
            ++i;
            continue;
        }
        // A conversion: flags, width, E/O modifier, then the letter.
        std::size_t j = i + 1;
        char padding = 0;
        while (j < fmt.size() && (fmt[j] == '-' || fmt[j] == '_' || fmt[j] == '0' || fmt[j] == '^' || fmt[j] == '#')) {
            padding = fmt[j];
            ++j;
        }
        while (j < fmt.size() && fmt[j] >= '0' && fmt[j] <= '9') ++j;
        if (j < fmt.size() && (fmt[j] == 'E' || fmt[j] == 'O')) ++j;
        if (j >= fmt.size()) break;
        const char conv = fmt[j];
        i = j + 1;
        if (!hourSeen && (conv == 'H' || conv == 'k' || conv == 'I' || conv == 'l')) {
            hourSeen = true;
            fs.Clock24 = conv == 'H' || conv == 'k';
            const bool zeroByDefault = conv == 'H' || conv == 'I';
            fs.HourLeadingZero = padding == '0' || (zeroByDefault && padding != '-' && padding != '_');
            fs.DesignatorFirst = designatorSeen;
            // ":" unless a punctuation mark stands between the hour and the minutes.
            fs.TimeSep.clear();  // (a plain assignment trips GCC 12's -Wrestrict)
            fs.TimeSep.push_back(':');
        } else if (conv == 'p' || conv == 'P') {
            designatorSeen = true;
        } else if (conv == 'M' && hourSeen) {
            separatorSeen = true;
        }
    }
}

}  // namespace

void ApplyTimeFormat(std::string_view tFmt, std::string_view tFmtAmPm, TimeFormatSettings& fs) {
    ApplyExpandedTimeFormat(ExpandTimeFormat(tFmt, tFmtAmPm), fs);
}

TimeFormatSettings ReadLocaleTimeSettings(const char* localeName) {
    TimeFormatSettings fs;
    const CategoryLocale time(LC_TIME_MASK, localeName);
    if (time.Valid()) {
        ApplyTimeFormat(time.Info(T_FMT), time.Info(T_FMT_AMPM), fs);
        fs.AmDesignator = std::string(time.Info(AM_STR));
        fs.PmDesignator = std::string(time.Info(PM_STR));
    }
    const CategoryLocale numeric(LC_NUMERIC_MASK, localeName);
    if (numeric.Valid()) fs.DecimalSep = FirstCharacter(numeric.Info(RADIXCHAR));
    return fs;
}

TimeFormatSettings ReadLocaleTimeSettings() { return ReadLocaleTimeSettings(""); }

}  // namespace app
