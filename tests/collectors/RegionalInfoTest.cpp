#include <gtest/gtest.h>

#include <map>

#include "Source/Common/TechInfo/RegionalInfo.h"

namespace {
using TLocaleTable = std::map<TLocaleInfo, std::string>;

// A Dutch user as the platform describes one.
const TLocaleTable Dutch = {
    {TLocaleInfo::SDECIMAL, ","},          {TLocaleInfo::IDIGITS, "2"},       {TLocaleInfo::STHOUSAND, "."},
    {TLocaleInfo::SGROUPING, "3;0"},       {TLocaleInfo::SNEGATIVESIGN, "-"}, {TLocaleInfo::INEGNUMBER, "1"},
    {TLocaleInfo::ILZERO, "1"},            {TLocaleInfo::IMEASURE, "0"},      {TLocaleInfo::SLIST, ";"},
    {TLocaleInfo::SCURRENCY, "€"},         {TLocaleInfo::ICURRENCY, "2"},     {TLocaleInfo::INEGCURR, "12"},
    {TLocaleInfo::SMONDECIMALSEP, ","},    {TLocaleInfo::ICURRDIGITS, "2"},   {TLocaleInfo::SMONTHOUSANDSEP, "."},
    {TLocaleInfo::SMONGROUPING, "3;0"},    {TLocaleInfo::STIMEFORMAT, "H:mm:ss"}, {TLocaleInfo::STIME, ":"},
    {TLocaleInfo::SSHORTDATE, "d-M-yyyy"}, {TLocaleInfo::SDATE, "-"},         {TLocaleInfo::SLONGDATE, "dddd d MMMM yyyy"},
};

TRegionalInfo::TLocaleReader From(const TLocaleTable& table) {
    return [table](TLocaleInfo info) {
        auto found = table.find(info);
        return found == table.end() ? std::string() : found->second;
    };
}

TLocaleTable With(TLocaleTable table, TLocaleInfo info, const std::string& value) {
    table[info] = value;
    return table;
}
}  // namespace

TEST(RegionalInfo, LinesOfADutchUser) {
    TRegionalInfo regional;
    regional.CollectInfo(nullptr);
    regional.GatherFrom(From(Dutch));
    EXPECT_EQ(regional.GetInfoText(), (TStringList{
                                          "\\par Decimaalsymbool:\\tab ,",
                                          "\\par Aantal decimalen:\\tab 2",
                                          "\\par Cijfergroeperingssymbool:\\tab .",
                                          "\\par Aantal cijfers in groep:\\tab 3",
                                          "\\par Symbool negatief getal:\\tab -",
                                          "\\par Notatie van negatief getal:\\tab -1,10",
                                          "\\par Voorloopnullen weergeven:\\tab 0.1",
                                          "\\par Maatstelsel:\\tab Metric",
                                          "\\par Lijstscheidingsteken:\\tab ;",
                                          "\\par Valuta symbool:\\tab €",
                                          "\\par Positie van valuta symbool:\\tab € 1",
                                          "\\par Notatie van negatief valuta:\\tab € -1,10",
                                          "\\par Valuta decimaal symbool:\\tab ,",
                                          "\\par Valuta aantal decimalen:\\tab 2",
                                          "\\par Valuta cijfergroeperingssymbool:\\tab .",
                                          "\\par Valuta aantal cijfers in groep:\\tab 3",
                                          "\\par Notatie van tijd:\\tab H:mm:ss",
                                          "\\par Tijd scheidingssymbool:\\tab :",
                                          "\\par Datum korte notatie:\\tab d-M-yyyy",
                                          "\\par Datum scheidingssymbool:\\tab -",
                                          "\\par Datum lange notatie:\\tab dddd d MMMM yyyy",
                                          "\\par",
                                      }));
}

TEST(RegionalInfo, CodedSettingsBecomeTexts) {
    struct {
        TLocaleInfo info;
        std::string value;
        std::string TRegionalInfo::*field;
        std::string expected;
    } cases[] = {
        {TLocaleInfo::IMEASURE, "1", &TRegionalInfo::MeasureSystem, "U.S."},
        {TLocaleInfo::IMEASURE, "7", &TRegionalInfo::MeasureSystem, "Onbekend"},
        {TLocaleInfo::ILZERO, "0", &TRegionalInfo::LeadingZeroSample, ".1"},
        {TLocaleInfo::INEGNUMBER, "0", &TRegionalInfo::NegativeNumberSample, "(1,10)"},
        {TLocaleInfo::ICURRENCY, "0", &TRegionalInfo::CurrencyPositionSample, "€1"},
        {TLocaleInfo::ICURRENCY, "1", &TRegionalInfo::CurrencyPositionSample, "1€"},
        {TLocaleInfo::ICURRENCY, "3", &TRegionalInfo::CurrencyPositionSample, "1 €"},
        {TLocaleInfo::ICURRENCY, "4", &TRegionalInfo::CurrencyPositionSample, ""},
        {TLocaleInfo::INEGCURR, "1", &TRegionalInfo::NegativeCurrencySample, "-€1,10"},
        {TLocaleInfo::ICURRDIGITS, "0", &TRegionalInfo::NegativeCurrencySample, "€ -1"},
    };
    for (const auto& c : cases) {
        TRegionalInfo regional;
        regional.GatherFrom(From(With(Dutch, c.info, c.value)));
        EXPECT_EQ(regional.*c.field, c.expected) << static_cast<int>(c.info) << " = " << c.value;
    }
}

TEST(RegionalInfo, NumbersThatDoNotConvertKeepTheirValue) {
    TRegionalInfo regional;
    regional.GatherFrom(From(Dutch));
    TLocaleTable odd = With(Dutch, TLocaleInfo::IDIGITS, "twee");
    odd = With(odd, TLocaleInfo::ICURRDIGITS, "");
    odd = With(odd, TLocaleInfo::SGROUPING, "");  // no first character: the group size stays
    odd = With(odd, TLocaleInfo::SMONGROUPING, "x;0");
    odd = With(odd, TLocaleInfo::SDECIMAL, "!");
    regional.GatherFrom(From(odd));
    EXPECT_EQ(regional.Decimals, 2);
    EXPECT_EQ(regional.CurrencyDecimals, 2);
    EXPECT_EQ(regional.GroupSize, 3);
    EXPECT_EQ(regional.CurrencyGroupSize, 3);
    EXPECT_EQ(regional.DecimalSymbol, "!");  // texts are taken as they come
    EXPECT_EQ(regional.NegativeNumberSample, "-1!10");
}

TEST(RegionalInfo, RealUserLocale) {
    TRegionalInfo regional;
    regional.CollectInfo(nullptr);
    EXPECT_EQ(regional.DecimalSymbol, ",");
    EXPECT_EQ(regional.CurrencySymbol, "€");
    EXPECT_EQ(regional.MeasureSystem, "Metric");
    EXPECT_EQ(regional.ShortDateFormat, "d-M-yyyy");
    EXPECT_EQ(regional.GroupSize, 3);
    EXPECT_NE(regional.NegativeNumberSample.find("1,"), std::string::npos) << regional.NegativeNumberSample;
    EXPECT_NE(regional.NegativeCurrencySample.find("€"), std::string::npos) << regional.NegativeCurrencySample;
    EXPECT_NE(regional.CurrencyPositionSample.find("€"), std::string::npos) << regional.CurrencyPositionSample;
    const TStringList& lines = regional.GetInfoText();
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0], "\\par Decimaalsymbool:\\tab ,");
    EXPECT_EQ(lines[9], "\\par Valuta symbool:\\tab €");
}
