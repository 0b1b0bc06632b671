#include "core/DateTime.h"

#include <windows.h>

#include <cmath>
#include <vector>

#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Locale.h"
#include "core/StrConv.h"

namespace {
// Days from 1970-01-01 for a civil date (proleptic Gregorian).
long long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

constexpr long long kDaysEpochTo1970 = 25569;  // 1899-12-30 .. 1970-01-01

SYSTEMTIME ToSystemTime(TDateTime value) {
    TDateParts p = DecodeDateTime(value);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(p.Year);
    st.wMonth = static_cast<WORD>(p.Month);
    st.wDay = static_cast<WORD>(p.Day);
    st.wHour = static_cast<WORD>(p.Hour);
    st.wMinute = static_cast<WORD>(p.Minute);
    st.wSecond = static_cast<WORD>(p.Second);
    st.wMilliseconds = static_cast<WORD>(p.MilliSecond);
    return st;
}

std::string FormatDate(TDateTime value, DWORD flags) {
    SYSTEMTIME st = ToSystemTime(value);
    wchar_t buffer[128] = {};
    int n = GetDateFormatW(LOCALE_USER_DEFAULT, flags, &st, nullptr, buffer, 128);
    return n > 1 ? Narrow(std::wstring_view(buffer, static_cast<size_t>(n - 1))) : std::string();
}
}  // namespace

bool IsValidDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= days[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::optional<TDateTime> TryEncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day)) return std::nullopt;
    return static_cast<TDateTime>(DaysFromCivil(year, month, day) + kDaysEpochTo1970);
}

TDateTime EncodeDate(int year, int month, int day) {
    if (auto d = TryEncodeDate(year, month, day)) return *d;
    throw EBrantel("Ongeldige datum");
}

TDateTime EncodeTime(int hour, int minute, int second, int milliSecond) {
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + milliSecond) / 86400000.0;
}

TDateParts DecodeDateTime(TDateTime value) {
    TDateParts p;
    // Work in whole milliseconds so that 23:59:59.9995 does not show as 24:00.
    long long ms = std::llround(value * 86400000.0);
    long long days = ms >= 0 ? ms / 86400000 : -((-ms + 86399999) / 86400000);
    long long msOfDay = ms - days * 86400000;
    CivilFromDays(days - kDaysEpochTo1970, p.Year, p.Month, p.Day);
    p.Hour = static_cast<int>(msOfDay / 3600000);
    p.Minute = static_cast<int>(msOfDay / 60000 % 60);
    p.Second = static_cast<int>(msOfDay / 1000 % 60);
    p.MilliSecond = static_cast<int>(msOfDay % 1000);
    return p;
}

TDateTime Now() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return EncodeDate(st.wYear, st.wMonth, st.wDay) +
           EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}

TDateTime Today() { return std::floor(Now()); }

std::string DateToStr(TDateTime value) { return FormatDate(value, DATE_SHORTDATE); }
std::string FormatLongDate(TDateTime value) { return FormatDate(value, DATE_LONGDATE); }

std::string TimeToStr(TDateTime value) {
    SYSTEMTIME st = ToSystemTime(value);
    wchar_t buffer[128] = {};
    int n = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, 128);
    return n > 1 ? Narrow(std::wstring_view(buffer, static_cast<size_t>(n - 1))) : std::string();
}

std::string DateTimeToStr(TDateTime value) {
    std::string text = DateToStr(value);
    TDateParts p = DecodeDateTime(value);
    if (p.Hour || p.Minute || p.Second) text += " " + TimeToStr(value);
    return text;
}

std::optional<TDateTime> TryStrToDate(const std::string& text) {
    // The order of day, month and year follows the short date format's first letters.
    std::string order;
    for (char c : ShortDateFormat()) {
        char l = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        if ((l == 'd' || l == 'm' || l == 'y') && order.find(l) == std::string::npos) order += l;
    }
    if (order.size() != 3) order = "dmy";

    std::vector<int> parts;
    std::vector<int> widths;
    std::string t = Trim(text);
    size_t i = 0;
    while (i < t.size()) {
        if (!isdigit(static_cast<unsigned char>(t[i]))) return std::nullopt;
        int v = 0, w = 0;
        while (i < t.size() && isdigit(static_cast<unsigned char>(t[i]))) {
            if (++w > 4) return std::nullopt;
            v = v * 10 + (t[i++] - '0');
        }
        parts.push_back(v);
        widths.push_back(w);
        if (i < t.size()) {
            if (t[i] != '-' && t[i] != '/' && t[i] != '.' && t[i] != ' ') return std::nullopt;
            ++i;
        }
    }
    if (parts.size() != 3) return std::nullopt;
    int y = 0, m = 0, d = 0;
    for (size_t k = 0; k < 3; ++k) {
        if (order[k] == 'd') d = parts[k];
        if (order[k] == 'm') m = parts[k];
        if (order[k] == 'y') {
            y = parts[k];
            if (widths[k] <= 2) y += y < 50 ? 2000 : 1900;
        }
    }
    return TryEncodeDate(y, m, d);
}

TDateTime StrToDate(const std::string& text) {
    if (auto d = TryStrToDate(text)) return *d;
    throw EBrantel(Format("'%s' is geen geldige datum", {text}));
}
