#include "Source/Common/TechInfo/RegionalInfo.h"

#include <windows.h>

#include <algorithm>
#include <charconv>

#include "core/Format.h"
#include "core/StrConv.h"

namespace {
// Leaves `field` alone when the text is not a whole number.
void ReadNumber(const std::string& text, int& field) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end == text.data() + text.size() && !text.empty()) field = value;
}

// "3;0" groups by three: the grouping counts by its first digit.
void ReadGroupSize(const std::string& grouping, int& field) {
    if (!grouping.empty()) ReadNumber(grouping.substr(0, 1), field);
}

std::string Sample(int formatted, const wchar_t* buffer) { return formatted > 1 ? Narrow(buffer) : std::string(); }
}  // namespace

TRegionalInfo::TRegionalInfo() : TTechInfo("RegionalSettings") {}

void TRegionalInfo::GatherInfo() { GatherFrom(GetUserLocaleText); }

void TRegionalInfo::GatherFrom(const TLocaleReader& read) {
    DecimalSymbol = read(TLocaleInfo::SDECIMAL);
    ReadNumber(read(TLocaleInfo::IDIGITS), Decimals);
    GroupSymbol = read(TLocaleInfo::STHOUSAND);
    ReadGroupSize(read(TLocaleInfo::SGROUPING), GroupSize);
    NegativeSign = read(TLocaleInfo::SNEGATIVESIGN);
    ListSeparator = read(TLocaleInfo::SLIST);
    CurrencySymbol = read(TLocaleInfo::SCURRENCY);
    CurrencyDecimalSymbol = read(TLocaleInfo::SMONDECIMALSEP);
    ReadNumber(read(TLocaleInfo::ICURRDIGITS), CurrencyDecimals);
    CurrencyGroupSymbol = read(TLocaleInfo::SMONTHOUSANDSEP);
    ReadGroupSize(read(TLocaleInfo::SMONGROUPING), CurrencyGroupSize);
    TimeFormat = read(TLocaleInfo::STIMEFORMAT);
    TimeSeparator = read(TLocaleInfo::STIME);
    ShortDateFormat = read(TLocaleInfo::SSHORTDATE);
    DateSeparator = read(TLocaleInfo::SDATE);
    LongDateFormat = read(TLocaleInfo::SLONGDATE);

    int leadingZero = -1;
    ReadNumber(read(TLocaleInfo::ILZERO), leadingZero);
    if (leadingZero == 0) LeadingZeroSample = ".1";
    if (leadingZero == 1) LeadingZeroSample = "0.1";

    int negativeOrder = 1;  // "-1.1", the platform's default
    ReadNumber(read(TLocaleInfo::INEGNUMBER), negativeOrder);
    const std::wstring decimal = Widen(DecimalSymbol), group = Widen(GroupSymbol);
    NUMBERFMTW number{static_cast<UINT>(Decimals), static_cast<UINT>(leadingZero == 1),
                      static_cast<UINT>(GroupSize),  const_cast<wchar_t*>(decimal.c_str()),
                      const_cast<wchar_t*>(group.c_str()), static_cast<UINT>(negativeOrder)};
    wchar_t buffer[30] = {};
    NegativeNumberSample = Sample(GetNumberFormatW(LOCALE_USER_DEFAULT, 0, L"-1.1", &number, buffer, 30), buffer);

    int measure = -1;
    ReadNumber(read(TLocaleInfo::IMEASURE), measure);
    MeasureSystem = measure == 0 ? "Metric" : measure == 1 ? "U.S." : "Onbekend";

    int position = -1;
    ReadNumber(read(TLocaleInfo::ICURRENCY), position);
    static const char* const PositionFormats[] = {"%s1", "1%s", "%s 1", "1 %s"};
    CurrencyPositionSample = position >= 0 && position <= 3 ? Format(PositionFormats[position], {CurrencySymbol}) : "";

    int negativeCurrencyOrder = 0;
    ReadNumber(read(TLocaleInfo::INEGCURR), negativeCurrencyOrder);
    const std::wstring currencyDecimal = Widen(CurrencyDecimalSymbol), currencyGroup = Widen(CurrencyGroupSymbol),
                       symbol = Widen(CurrencySymbol);
    CURRENCYFMTW currency{static_cast<UINT>(CurrencyDecimals),
                          static_cast<UINT>(leadingZero == 1),
                          static_cast<UINT>(CurrencyGroupSize),
                          const_cast<wchar_t*>(currencyDecimal.c_str()),
                          const_cast<wchar_t*>(currencyGroup.c_str()),
                          static_cast<UINT>(negativeCurrencyOrder),
                          static_cast<UINT>(position >= 0 && position <= 3 ? position : 0),
                          const_cast<wchar_t*>(symbol.c_str())};
    std::fill(std::begin(buffer), std::end(buffer), L'\0');
    NegativeCurrencySample =
        Sample(GetCurrencyFormatW(LOCALE_USER_DEFAULT, 0, L"-1.1", &currency, buffer, 30), buffer);
}

const TStringList& TRegionalInfo::BuildInfoText() {
    Lines = {
        LabelledLine("%s Decimaalsymbool:%s %s", DecimalSymbol),
        LabelledLine("%s Aantal decimalen:%s %d", Decimals),
        LabelledLine("%s Cijfergroeperingssymbool:%s %s", GroupSymbol),
        LabelledLine("%s Aantal cijfers in groep:%s %d", GroupSize),
        LabelledLine("%s Symbool negatief getal:%s %s", NegativeSign),
        LabelledLine("%s Notatie van negatief getal:%s %s", NegativeNumberSample),
        LabelledLine("%s Voorloopnullen weergeven:%s %s", LeadingZeroSample),
        LabelledLine("%s Maatstelsel:%s %s", MeasureSystem),
        LabelledLine("%s Lijstscheidingsteken:%s %s", ListSeparator),
        LabelledLine("%s Valuta symbool:%s %s", CurrencySymbol),
        LabelledLine("%s Positie van valuta symbool:%s %s", CurrencyPositionSample),
        LabelledLine("%s Notatie van negatief valuta:%s %s", NegativeCurrencySample),
        LabelledLine("%s Valuta decimaal symbool:%s %s", CurrencyDecimalSymbol),
        LabelledLine("%s Valuta aantal decimalen:%s %d", CurrencyDecimals),
        LabelledLine("%s Valuta cijfergroeperingssymbool:%s %s", CurrencyGroupSymbol),
        LabelledLine("%s Valuta aantal cijfers in groep:%s %d", CurrencyGroupSize),
        LabelledLine("%s Notatie van tijd:%s %s", TimeFormat),
        LabelledLine("%s Tijd scheidingssymbool:%s %s", TimeSeparator),
        LabelledLine("%s Datum korte notatie:%s %s", ShortDateFormat),
        LabelledLine("%s Datum scheidingssymbool:%s %s", DateSeparator),
        LabelledLine("%s Datum lange notatie:%s %s", LongDateFormat),
        RtfPar,
    };
    return Lines;
}
