// Times of day and dates as the alarm sees them. A date-time is a double: the integer part
// counts days from 30 December 1899 (day 0), the fraction is the time of day (1 s = 1/86400).
// Parsing and formatting follow the user's locale conventions read once at start.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace app {

struct TimeFormatSettings {
    std::string TimeSep = ":";       // one character or empty
    std::string AmDesignator = "am";
    std::string PmDesignator = "pm";
    std::string DecimalSep = ".";    // one character or empty
    bool HourLeadingZero = false;
    bool Clock24 = false;
    bool DesignatorFirst = false;

    // "h:mm:ss AMPM", "hh:mm:ss", "AMPM h:mm:ss", ... — ":" stands for TimeSep.
    std::string LongTimePattern() const;
};

// Settings from the process's LC_TIME / LC_NUMERIC (the environment); "C" when unusable.
TimeFormatSettings ReadLocaleTimeSettings();
// The same for a named locale; categories the name does not provide come from "C".
TimeFormatSettings ReadLocaleTimeSettings(const char* localeName);

// Sets TimeSep, Clock24, HourLeadingZero and DesignatorFirst from a strftime time format
// (T_FMT; %r refers to tFmtAmPm). Left alone when the format has no hour. TimeSep is the
// first mark after the hour when it is punctuation ("." in "%H.%M.%S"), else ":": formats
// such as "%H時%M分%S秒" or "%H시 %M분 %S초" write words, not separators.
void ApplyTimeFormat(std::string_view tFmt, std::string_view tFmtAmPm, TimeFormatSettings& fs);

// Proleptic Gregorian date and time to a date-time number.
double EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond);
// Local wall-clock now (honours UTROZVON_NOW), to the microsecond where the clock gives it.
double CurrentDateTime();

double TimePart(double x);
double AddSeconds(double x, std::int64_t seconds);
// 1 = Monday .. 7 = Sunday; the last half millisecond of a day belongs to the next day.
std::uint16_t WeekdayOf(double x);

// Throws framework::EConvertError "'<text>' is not a valid time". Minutes and seconds follow
// fs.TimeSep or ":", so the "07:00:00" every row starts with parses under every locale.
double ParseTime(std::string_view text, const TimeFormatSettings& fs);
// The time of day of x under fs.LongTimePattern().
std::string FormatTime(double x, const TimeFormatSettings& fs);

}  // namespace app
