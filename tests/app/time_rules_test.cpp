#include "app/time_rules.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cstdio>
#include <cstdlib>

#include "framework/exceptions.h"
#include "platform/clock.h"

namespace app {
namespace {

constexpr double kMsPerDay = 86400000.0;

// Plain assignment of literals trips a false -Werror=restrict in GCC 12 at -O3.
void Set(std::string& field, std::string_view value) {
    field.clear();
    field.append(value);
}

double Hms(int h, int mi, int s, int ms = 0) {
    return (h * 3600000.0 + mi * 60000.0 + s * 1000.0 + ms) / kMsPerDay;
}

TEST(DateTimeTest, EncodesKnownDays) {
    EXPECT_EQ(EncodeDateTime(1899, 12, 30, 0, 0, 0, 0), 0.0);
    EXPECT_EQ(EncodeDateTime(1900, 1, 1, 0, 0, 0, 0), 2.0);
    EXPECT_EQ(EncodeDateTime(2024, 1, 1, 0, 0, 0, 0), 45292.0);
    EXPECT_EQ(EncodeDateTime(2024, 3, 1, 0, 0, 0, 0), 45352.0);  // leap day counted
    EXPECT_EQ(EncodeDateTime(1899, 12, 29, 0, 0, 0, 0), -1.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(2024, 1, 1, 6, 0, 0, 0), 45292.25);
}

TEST(DateTimeTest, CurrentDateTimeEncodesTheLocalClock) {
    const platform::LocalTime t = platform::CurrentLocalTime();
    const double before = EncodeDateTime(t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond);
    const double now = CurrentDateTime();
    // Read a moment later, so it may only be slightly ahead.
    EXPECT_GE(now, before);
    EXPECT_LT(now - before, 60000.0 / kMsPerDay);
}

TEST(DateTimeTest, TimePartDropsTheDay) {
    EXPECT_DOUBLE_EQ(TimePart(45292.75), 0.75);
    EXPECT_DOUBLE_EQ(TimePart(0.25), 0.25);
}

TEST(DateTimeTest, AddSecondsCarriesIntoTheNextDay) {
    const double endOfDay = Hms(23, 59, 59);
    EXPECT_NEAR(AddSeconds(endOfDay, 1), 1.0, 1e-12);
    EXPECT_NEAR(AddSeconds(45292.0, -1), 45292.0 - 1.0 / 86400.0, 1e-9);
    EXPECT_NEAR(AddSeconds(45292.5, 86400 * 2), 45294.5, 1e-9);
}

TEST(DateTimeTest, Weekdays) {
    struct Row {
        const char* name;
        double x;
        int weekday;
    } rows[] = {
        {"monday 1 Jan 2024", EncodeDateTime(2024, 1, 1, 0, 0, 0, 0), 1},
        {"sunday 7 Jan 2024", EncodeDateTime(2024, 1, 7, 12, 0, 0, 0), 7},
        {"saturday day 0", 0.0, 6},
        {"thursday 29 Feb 2024", EncodeDateTime(2024, 2, 29, 23, 59, 59, 999), 4},
        {"last half millisecond is the next day",
         EncodeDateTime(2024, 1, 7, 0, 0, 0, 0) + (kMsPerDay - 0.4) / kMsPerDay, 1},
        {"just before the last half millisecond",
         EncodeDateTime(2024, 1, 7, 0, 0, 0, 0) + (kMsPerDay - 0.6) / kMsPerDay, 7},
    };
    for (const auto& r : rows) EXPECT_EQ(WeekdayOf(r.x), r.weekday) << r.name;
}

TEST(TimeFormatSettingsTest, LongTimePattern) {
    struct Row {
        const char* name;
        bool zero, clock24, first;
        const char* pattern;
    } rows[] = {
        {"12-hour default", false, false, false, "h:mm:ss AMPM"},
        {"24-hour zero", true, true, false, "hh:mm:ss"},
        {"24-hour ignores designator place", false, true, true, "h:mm:ss"},
        {"designator first", true, false, true, "AMPM hh:mm:ss"},
    };
    for (const auto& r : rows) {
        TimeFormatSettings fs;
        fs.HourLeadingZero = r.zero;
        fs.Clock24 = r.clock24;
        fs.DesignatorFirst = r.first;
        EXPECT_EQ(fs.LongTimePattern(), r.pattern) << r.name;
    }
}

TEST(ParseTimeTest, AcceptedTexts) {
    TimeFormatSettings fs;
    TimeFormatSettings ru;
    Set(ru.AmDesignator, "ДП");
    Set(ru.PmDesignator, "ПП");
    TimeFormatSettings noSep;
    Set(noSep.TimeSep, "");
    TimeFormatSettings dotSep;
    Set(dotSep.TimeSep, ".");
    Set(dotSep.DecimalSep, ",");
    struct Row {
        const char* name;
        const TimeFormatSettings* fs;
        const char* text;
        double value;
    } rows[] = {
        {"full", &fs, "07:00:00", Hms(7, 0, 0)},
        {"no leading zero", &fs, "7:00:00", Hms(7, 0, 0)},
        {"no seconds", &fs, "7:00", Hms(7, 0, 0)},
        {"hour only", &fs, "7", Hms(7, 0, 0)},
        {"blanks around", &fs, " 7 : 00 ", Hms(7, 0, 0)},
        {"designator after", &fs, "7:00 PM", Hms(19, 0, 0)},
        {"designator before", &fs, "PM 7:00", Hms(19, 0, 0)},
        {"lower case, no blank", &fs, "pm7", Hms(19, 0, 0)},
        {"twelve am is midnight", &fs, "12:30 AM", Hms(0, 30, 0)},
        {"twelve pm is noon", &fs, "12:30 pm", Hms(12, 30, 0)},
        {"milliseconds", &fs, "07:00:00.250", Hms(7, 0, 0, 250)},
        {"leading zeros", &fs, "0007:00", Hms(7, 0, 0)},
        {"last moment", &fs, "23:59:59.999", Hms(23, 59, 59, 999)},
        {"cyrillic designator any case", &ru, "7:15 пп", Hms(19, 15, 0)},
        {"fixed designator still works", &ru, "7:15 AM", Hms(7, 15, 0)},
        {"empty separator reads hour only", &noSep, "7 pm", Hms(19, 0, 0)},
        // The default text of a new row rings under a locale that writes "07.00.00".
        {"colon under a dot locale", &dotSep, "07:00:00", Hms(7, 0, 0)},
        {"the locale's own separator", &dotSep, "07.05.09", Hms(7, 5, 9)},
        {"the two mixed", &dotSep, "7.05:09,250", Hms(7, 5, 9, 250)},
        {"colon where the locale gives none", &noSep, "7:30", Hms(7, 30, 0)},
    };
    for (const auto& r : rows) {
        double v = -1;
        EXPECT_NO_THROW(v = ParseTime(r.text, *r.fs)) << r.name;
        EXPECT_DOUBLE_EQ(v, r.value) << r.name;
    }
}

TEST(ParseTimeTest, RejectedTexts) {
    TimeFormatSettings fs;
    TimeFormatSettings dotSep;
    Set(dotSep.TimeSep, ".");
    TimeFormatSettings noDesignators;
    Set(noDesignators.AmDesignator, "");
    Set(noDesignators.PmDesignator, "");
    TimeFormatSettings noSep;
    Set(noSep.TimeSep, "");
    struct Row {
        const char* name;
        const TimeFormatSettings* fs;
        const char* text;
    } rows[] = {
        {"hour 13 with pm", &fs, "13:00 PM"},
        {"hour 0 with am", &fs, "0 AM"},
        {"hour 24", &fs, "24:00:00"},
        {"minute 60", &fs, "7:60"},
        {"second 60", &fs, "7:00:60"},
        {"empty", &fs, ""},
        {"blanks only", &fs, "   "},
        {"trailing word", &fs, "7:00:00 x"},
        {"unit letter", &fs, "7h"},
        {"other separator is not the decimal one", &dotSep, "07,00"},
        {"runaway digits", &fs, "12345"},
        {"huge number", &fs, "99999999999999999999"},
        {"minute missing after separator", &fs, "7:"},
        {"ms missing after decimal", &fs, "7:00:00."},
        {"ms over 999", &fs, "7:00:00.1000"},
        {"designator twice", &fs, "AM 7 PM"},
        {"tab is no blank", &fs, "\t7"},
        {"empty designators never match", &noDesignators, "7 "
                                                           "\xD0\x94\xD0\x9F"},
        {"empty separator still needs minutes after a colon", &noSep, "7:"},
        {"designator alone", &fs, "PM"},
    };
    for (const auto& r : rows) {
        try {
            ParseTime(r.text, *r.fs);
            ADD_FAILURE() << r.name << ": accepted";
        } catch (const framework::EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + r.text + "' is not a valid time") << r.name;
        }
    }
}

TEST(FormatTimeTest, Patterns) {
    TimeFormatSettings h24zero;
    h24zero.Clock24 = true;
    h24zero.HourLeadingZero = true;
    TimeFormatSettings h24;
    h24.Clock24 = true;
    TimeFormatSettings h12;  // defaults: h:mm:ss AMPM
    TimeFormatSettings first;
    first.DesignatorFirst = true;
    Set(first.AmDesignator, "AM");
    Set(first.PmDesignator, "PM");
    TimeFormatSettings dot;
    dot.Clock24 = true;
    Set(dot.TimeSep, ".");
    TimeFormatSettings none;
    none.Clock24 = true;
    none.HourLeadingZero = true;
    Set(none.TimeSep, "");
    TimeFormatSettings emptyDesignators;
    Set(emptyDesignators.AmDesignator, "");
    Set(emptyDesignators.PmDesignator, "");
    struct Row {
        const char* name;
        const TimeFormatSettings* fs;
        double x;
        const char* text;
    } rows[] = {
        {"hh morning", &h24zero, Hms(7, 5, 9), "07:05:09"},
        {"h morning", &h24, Hms(7, 5, 9), "7:05:09"},
        {"hh evening", &h24zero, Hms(19, 5, 9), "19:05:09"},
        {"h evening", &h24, Hms(19, 5, 9), "19:05:09"},
        {"12-hour evening", &h12, Hms(19, 5, 9), "7:05:09 pm"},
        {"12-hour midnight", &h12, Hms(0, 0, 0), "12:00:00 am"},
        {"12-hour noon", &h12, Hms(12, 0, 1), "12:00:01 pm"},
        {"designator first", &first, Hms(11, 59, 59), "AM 11:59:59"},
        {"day part ignored", &h24zero, 45292.0 + Hms(6, 30, 0), "06:30:00"},
        {"rounds to nearest ms", &h24zero, Hms(6, 30, 0) - 0.4 / kMsPerDay, "06:30:00"},
        {"last half ms wraps", &h24zero, 45292.0 + (kMsPerDay - 0.4) / kMsPerDay, "00:00:00"},
        {"other separator", &dot, Hms(8, 1, 2), "8.01.02"},
        {"empty separator", &none, Hms(8, 1, 2), "080102"},
        {"empty designator keeps blank", &emptyDesignators, Hms(8, 1, 2), "8:01:02 "},
    };
    for (const auto& r : rows) EXPECT_EQ(FormatTime(r.x, *r.fs), r.text) << r.name;
}

TEST(FormatTimeTest, RoundTripsThroughParse) {
    TimeFormatSettings fs;
    for (int h = 0; h < 24; ++h) {
        const double x = Hms(h, 7, 30);
        EXPECT_DOUBLE_EQ(ParseTime(FormatTime(x, fs), fs), x) << h;
    }
}

TEST(LocaleSettingsTest, DerivedFromTimeFormat) {
    struct Row {
        const char* name;
        const char* fmt;
        const char* ampm;
        const char* timeSep;
        bool zero, clock24, first;
    } rows[] = {
        {"plain 24-hour", "%H:%M:%S", "", ":", true, true, false},
        {"%T", "%T", "%I:%M:%S %p", ":", true, true, false},
        {"%R", "%R", "", ":", true, true, false},
        {"%r uses the 12-hour form", "%r", "%I:%M:%S %p", ":", true, false, false},
        {"%r without a 12-hour form", "%r", "", ":", true, false, false},
        {"%k has no zero", "%k.%M.%S", "", ".", false, true, false},
        {"%l is 12-hour without zero", "%l:%M:%S %p", "", ":", false, false, false},
        {"designator first", "%p %I:%M:%S", "", ":", true, false, true},
        {"designator first through %r", "%r", "%p %l:%M", ":", false, false, true},
        // Words and ideographs after the hour are labels: the separator stays ":".
        {"letter after the hour", "%Hh%M", "", ":", true, true, false},
        {"blanks around a letter", "%H h %M", "", ":", true, true, false},
        {"no separator", "%H%M%S", "", ":", true, true, false},
        {"japanese", "%H\xE6\x99\x82%M\xE5\x88\x86%S\xE7\xA7\x92", "", ":", true, true, false},
        {"korean with blanks", "%H\xEC\x8B\x9C %M\xEB\xB6\x84 %S\xEC\xB4\x88", "", ":", true, true, false},
        {"blank then a dot", "%H .%M", "", ".", true, true, false},
        {"padding flag removes zero", "%-H:%M", "", ":", false, true, false},
        {"multibyte punctuation", "%H\xC2\xB7%M", "", "\xC2\xB7", true, true, false},
        {"full-width colon", "%H\xEF\xBC\x9A%M", "", "\xEF\xBC\x9A", true, true, false},
        {"no hour keeps defaults", "%M:%S", "", ":", false, false, false},
    };
    for (const auto& r : rows) {
        TimeFormatSettings fs;
        ApplyTimeFormat(r.fmt, r.ampm, fs);
        EXPECT_EQ(fs.TimeSep, r.timeSep) << r.name;
        EXPECT_EQ(fs.HourLeadingZero, r.zero) << r.name;
        EXPECT_EQ(fs.Clock24, r.clock24) << r.name;
        EXPECT_EQ(fs.DesignatorFirst, r.first) << r.name;
    }
}

bool LocaleAvailable(const char* name) {
    locale_t loc = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0)) return false;
    freelocale(loc);
    return true;
}

struct LocaleRow {
    const char* name;
    const char* locale;
    const char* timeSep;
    const char* am;
    const char* pm;
    const char* decimal;
    bool zero, clock24, first;
};

void CheckLocale(const LocaleRow& r) {
    if (!LocaleAvailable(r.locale)) GTEST_SKIP() << r.locale << " not generated here";
    const TimeFormatSettings fs = ReadLocaleTimeSettings(r.locale);
    EXPECT_EQ(fs.TimeSep, r.timeSep) << r.name;
    EXPECT_EQ(fs.AmDesignator, r.am) << r.name;
    EXPECT_EQ(fs.PmDesignator, r.pm) << r.name;
    EXPECT_EQ(fs.DecimalSep, r.decimal) << r.name;
    EXPECT_EQ(fs.HourLeadingZero, r.zero) << r.name;
    EXPECT_EQ(fs.Clock24, r.clock24) << r.name;
    EXPECT_EQ(fs.DesignatorFirst, r.first) << r.name;
}

TEST(LocaleSettingsTest, C) { CheckLocale({"C", "C", ":", "AM", "PM", ".", true, true, false}); }

TEST(LocaleSettingsTest, Russian) {
    CheckLocale({"ru", "ru_RU.UTF-8", ":", "", "", ",", true, true, false});
}

TEST(LocaleSettingsTest, AmericanEnglish) {
    CheckLocale({"en_US", "en_US.UTF-8", ":", "AM", "PM", ".", true, false, false});
}

// Locales whose time format writes a word or ideograph after each field once gave 時, 时, 點
// or 시 as the separator: "07:00:00" never parsed and the clock read "07時05時09".
TEST(LocaleSettingsTest, LocalesWithWordsAfterTheFieldsKeepTheColon) {
    const LocaleRow rows[] = {
        {"ja", "ja_JP.UTF-8", ":", "午前", "午後", ".", true, true, false},
        {"zh_CN", "zh_CN.UTF-8", ":", "上午", "下午", ".", true, true, false},
        {"zh_TW", "zh_TW.UTF-8", ":", "上午", "下午", ".", true, true, false},
        {"ko", "ko_KR.UTF-8", ":", "오전", "오후", ".", true, true, false},
        {"fi", "fi_FI.UTF-8", ".", "", "", ",", true, true, false},
    };
    for (const LocaleRow& r : rows) {
        if (!LocaleAvailable(r.locale)) {
            std::printf("skipped %s: not generated here (scripts/setup.sh generates it)\n", r.locale);
            continue;
        }
        CheckLocale(r);
        const TimeFormatSettings fs = ReadLocaleTimeSettings(r.locale);
        const std::string sep = r.timeSep;
        EXPECT_EQ(FormatTime(Hms(7, 5, 9), fs), "07" + sep + "05" + sep + "09") << r.name;
        EXPECT_DOUBLE_EQ(ParseTime("07:00:00", fs), Hms(7, 0, 0)) << r.name;
        EXPECT_DOUBLE_EQ(ParseTime(FormatTime(Hms(19, 30, 1), fs), fs), Hms(19, 30, 1)) << r.name;
    }
}

TEST(LocaleSettingsTest, UnknownLocaleFallsBackToC) {
    const TimeFormatSettings fs = ReadLocaleTimeSettings("xx_NOWHERE.UTF-8");
    EXPECT_EQ(fs.LongTimePattern(), "hh:mm:ss");
    EXPECT_EQ(fs.AmDesignator, "AM");
    EXPECT_EQ(fs.DecimalSep, ".");
}

TEST(LocaleSettingsTest, EnvironmentCategoriesAreUsed) {
    if (!LocaleAvailable("ru_RU.UTF-8")) GTEST_SKIP() << "ru_RU.UTF-8 not generated here";
    const char* saved = std::getenv("LC_ALL");
    const std::string old = saved ? saved : "";
    ::setenv("LC_ALL", "ru_RU.UTF-8", 1);
    const TimeFormatSettings fs = ReadLocaleTimeSettings();
    if (saved) ::setenv("LC_ALL", old.c_str(), 1);
    else ::unsetenv("LC_ALL");
    EXPECT_EQ(fs.DecimalSep, ",");
    EXPECT_EQ(fs.AmDesignator, "");
    // The process-wide locale stays as it was.
    EXPECT_STREQ(setlocale(LC_NUMERIC, nullptr), "C");
}

}  // namespace
}  // namespace app
