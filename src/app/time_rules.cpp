#include "app/time_rules.h"

#include <cmath>

#include "framework/exceptions.h"
#include "platform/clock.h"

namespace app {

namespace {

constexpr std::int64_t kMsPerDay = 86400000;
// Days from 1 January of year 1 (day 1) to 30 December 1899.
constexpr std::int64_t kDaysBeforeEpoch = 693594;

// Days since 1970-01-01 of a proleptic Gregorian date (valid for negative years too).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// x as whole milliseconds, halves to even. Written out rather than relying on the current
// floating-point rounding mode.
std::int64_t ToMilliseconds(double x) {
    const double v = x * static_cast<double>(kMsPerDay);
    if (!std::isfinite(v) || std::fabs(v) > 9.0e18) return 0;
    const double lower = std::floor(v);
    const double diff = v - lower;
    auto n = static_cast<std::int64_t>(lower);
    if (diff > 0.5 || (diff == 0.5 && (n % 2 != 0))) ++n;
    return n;
}

// Folds ASCII and Cyrillic capitals (UTF-8) to small letters, byte length unchanged.
std::string FoldCase(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + ('a' - 'A'));
        } else if (c == 0xD0 && i + 1 < out.size()) {
            auto c2 = static_cast<unsigned char>(out[i + 1]);
            if (c2 >= 0x90 && c2 <= 0x9F) {  // А..П -> а..п
                out[i + 1] = static_cast<char>(c2 + 0x20);
            } else if (c2 >= 0xA0 && c2 <= 0xAF) {  // Р..Я -> р..я
                out[i] = static_cast<char>(0xD1);
                out[i + 1] = static_cast<char>(c2 - 0x20);
            } else if (c2 >= 0x80 && c2 <= 0x8F) {  // Ѐ..Џ -> ѐ..џ
                out[i] = static_cast<char>(0xD1);
                out[i + 1] = static_cast<char>(c2 + 0x10);
            }
            ++i;
        }
    }
    return out;
}

class TimeScanner {
public:
    TimeScanner(std::string_view text, const TimeFormatSettings& fs) : text_(text), fs_(fs) {}

    double Parse() {
        int base = -1;
        bool designator = MatchDesignator(&base);
        if (designator) SkipBlanks();
        int hour = 0, minute = 0, second = 0, ms = 0;
        if (!ReadNumber(&hour)) Fail();
        if (SkipTimeSeparator()) {
            if (!ReadNumber(&minute)) Fail();
            if (SkipTimeSeparator()) {
                if (!ReadNumber(&second)) Fail();
                if (!fs_.DecimalSep.empty() && SkipBlanksThenAt(fs_.DecimalSep)) {
                    p_ += fs_.DecimalSep.size();
                    if (!ReadNumber(&ms)) Fail();
                }
            }
        }
        if (!designator) {
            SkipBlanks();
            designator = MatchDesignator(&base);
        }
        if (designator) {
            if (hour < 1 || hour > 12) Fail();
            if (hour == 12) hour = 0;
            hour += base;
        }
        SkipBlanks();
        if (hour > 23 || minute > 59 || second > 59 || ms > 999) Fail();
        if (p_ != text_.size()) Fail();
        return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + ms) / static_cast<double>(kMsPerDay);
    }

private:
    [[noreturn]] void Fail() const {
        std::string message;
        message.push_back('\'');
        message.append(text_);
        message.append("' is not a valid time");
        throw framework::EConvertError(message);
    }

    void SkipBlanks() {
        while (p_ < text_.size() && text_[p_] == ' ') ++p_;
    }

    bool SkipBlanksThenAt(std::string_view s) {
        SkipBlanks();
        return text_.substr(p_, s.size()) == s;
    }

    // The locale's separator, or ":" wherever the locale writes another one: "07:00:00" is
    // the text every new row starts with and must ring under every locale.
    bool SkipTimeSeparator() {
        SkipBlanks();
        for (std::string_view sep : {std::string_view(fs_.TimeSep), std::string_view(":")}) {
            if (!sep.empty() && text_.substr(p_, sep.size()) == sep) {
                p_ += sep.size();
                return true;
            }
        }
        return false;
    }

    bool DesignatorAt(std::string_view designator) const {
        if (designator.empty() || text_.size() - p_ < designator.size()) return false;
        return FoldCase(text_.substr(p_, designator.size())) == FoldCase(designator);
    }

    // Morning before afternoon, the locale's words before the fixed AM/PM.
    bool MatchDesignator(int* base) {
        SkipBlanks();
        const struct {
            std::string_view word;
            int base;
        } candidates[] = {{fs_.AmDesignator, 0}, {"AM", 0}, {fs_.PmDesignator, 12}, {"PM", 12}};
        for (const auto& c : candidates) {
            if (DesignatorAt(c.word)) {
                p_ += c.word.size();
                *base = c.base;
                return true;
            }
        }
        return false;
    }

    // Digits until the value passes 999, so leading zeros are harmless and runaway digits
    // are left over (and then rejected as unconsumed text).
    bool ReadNumber(int* value) {
        SkipBlanks();
        int v = 0;
        bool any = false;
        while (p_ < text_.size() && v < 1000 && text_[p_] >= '0' && text_[p_] <= '9') {
            v = v * 10 + (text_[p_] - '0');
            any = true;
            ++p_;
        }
        *value = v;
        return any;
    }

    std::string_view text_;
    const TimeFormatSettings& fs_;
    std::size_t p_ = 0;
};

void AppendTwoDigits(std::string& out, int v) {
    out.push_back(static_cast<char>('0' + v / 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

}  // namespace

std::string TimeFormatSettings::LongTimePattern() const {
    std::string pattern;
    if (DesignatorFirst && !Clock24) pattern.append("AMPM ");
    pattern.append(HourLeadingZero ? "hh" : "h");
    pattern.append(":mm:ss");
    if (!Clock24 && !DesignatorFirst) pattern.append(" AMPM");
    return pattern;
}

double EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    const std::int64_t days = DaysFromCivil(year, month, day) + 25569;  // 1970-01-01 is day 25569
    const double ms = hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond;
    return static_cast<double>(days) + ms / static_cast<double>(kMsPerDay);
}

double CurrentDateTime() {
    const platform::LocalTime t = platform::CurrentLocalTime();
    // Read finer than the millisecond: a whole-millisecond reading of a tick that comes a
    // hair after the alarm's second equals the alarm time, and the strict test misses it.
    return EncodeDateTime(t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond) +
           t.microsecond / (static_cast<double>(kMsPerDay) * 1000.0);
}

double TimePart(double x) { return x - std::trunc(x); }

double AddSeconds(double x, std::int64_t seconds) {
    // Long double keeps the sum exact enough that 23:59:59 + 1 s lands on midnight.
    const long double total = static_cast<long double>(x) * 86400.0L + static_cast<long double>(seconds);
    return static_cast<double>(total / 86400.0L);
}

std::uint16_t WeekdayOf(double x) {
    const std::int64_t d = ToMilliseconds(x) / kMsPerDay + kDaysBeforeEpoch;
    const std::int64_t w = (d - 1) % 7;
    return static_cast<std::uint16_t>((w < 0 ? w + 7 : w) + 1);
}

double ParseTime(std::string_view text, const TimeFormatSettings& fs) {
    return TimeScanner(text, fs).Parse();
}

std::string FormatTime(double x, const TimeFormatSettings& fs) {
    std::int64_t m = ToMilliseconds(x) % kMsPerDay;
    if (m < 0) m += kMsPerDay;
    int hour = static_cast<int>(m / 3600000);
    const int minute = static_cast<int>(m / 60000 % 60);
    const int second = static_cast<int>(m / 1000 % 60);

    const std::string pattern = fs.LongTimePattern();
    const std::string_view pv(pattern);
    const bool twelveHour = pv.find("AMPM") != std::string_view::npos;
    const bool afternoon = hour >= 12;
    if (twelveHour) {
        hour %= 12;
        if (hour == 0) hour = 12;
    }

    std::string out;
    std::size_t i = 0;
    while (i < pv.size()) {
        const std::string_view rest = pv.substr(i);
        if (rest.substr(0, 4) == "AMPM") {
            out.append(afternoon ? fs.PmDesignator : fs.AmDesignator);
            i += 4;
        } else if (rest.substr(0, 2) == "hh") {
            AppendTwoDigits(out, hour);
            i += 2;
        } else if (rest[0] == 'h') {
            out.append(std::to_string(hour));
            i += 1;
        } else if (rest.substr(0, 2) == "mm") {
            AppendTwoDigits(out, minute);
            i += 2;
        } else if (rest.substr(0, 2) == "ss") {
            AppendTwoDigits(out, second);
            i += 2;
        } else if (rest[0] == ':') {
            out.append(fs.TimeSep);
            i += 1;
        } else {
            out.push_back(rest[0]);
            i += 1;
        }
    }
    return out;
}

}  // namespace app
