#pragma once
// TRegionalInfo ("RegionalSettings"): the user's number, currency, time and date settings, with
// samples of how a negative number and a negative amount are shown.
#include <functional>
#include <string>

#include "Source/Common/TechInfo/Country.h"
#include "Source/Common/TechInfo/TechInfo.h"

class TRegionalInfo : public TTechInfo {
public:
    TRegionalInfo();

    // Where the settings come from: the user's default locale, or a test's own table.
    using TLocaleReader = std::function<std::string(TLocaleInfo)>;
    // Reads every setting through `read` and builds the samples with the platform's formatting.
    // A number that does not convert leaves its field as it was.
    void GatherFrom(const TLocaleReader& read);

    std::string DecimalSymbol;
    int Decimals = 0;
    std::string GroupSymbol;
    int GroupSize = 0;
    std::string NegativeSign;
    std::string NegativeNumberSample;
    std::string LeadingZeroSample;
    std::string MeasureSystem;
    std::string ListSeparator;
    std::string CurrencySymbol;
    std::string CurrencyPositionSample;
    std::string NegativeCurrencySample;
    std::string CurrencyDecimalSymbol;
    int CurrencyDecimals = 0;
    std::string CurrencyGroupSymbol;
    int CurrencyGroupSize = 0;
    std::string TimeFormat;
    std::string TimeSeparator;
    std::string ShortDateFormat;
    std::string DateSeparator;
    std::string LongDateFormat;

protected:
    void GatherInfo() override;
    const TStringList& BuildInfoText() override;
};
