#pragma once
// Dates and times as days since 30 December 1899 (the Windows automation date), and their texts
// in the user's regional formats.
#include <optional>
#include <string>

using TDateTime = double;

struct TDateParts {
    int Year = 0, Month = 0, Day = 0;
    int Hour = 0, Minute = 0, Second = 0, MilliSecond = 0;
};

bool IsValidDate(int year, int month, int day);
// Throws EBrantel ("Ongeldige datum") for a date that does not exist.
TDateTime EncodeDate(int year, int month, int day);
std::optional<TDateTime> TryEncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int milliSecond = 0);
TDateParts DecodeDateTime(TDateTime value);

TDateTime Now();
TDateTime Today();

// The user's short date ("d-M-yyyy" on a Dutch system), long time and long date texts.
std::string DateToStr(TDateTime value);
std::string TimeToStr(TDateTime value);
std::string DateTimeToStr(TDateTime value);  // short date, blank, long time (time left out at midnight)
std::string FormatLongDate(TDateTime value);

// Reads a date written in the user's short date order (day, month, year on a Dutch system) with any
// of '-', '/', '.' or the locale's separator between the parts; two-digit years fall in 1950..2049.
// Throws EBrantel "'%s' is geen geldige datum" when the text is not a date.
TDateTime StrToDate(const std::string& text);
std::optional<TDateTime> TryStrToDate(const std::string& text);
