#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "Source/Common/TechInfo/Country.h"
#include "core/Exceptions.h"
#include "core/StrConv.h"

namespace {
void ExpectUnhandledElse(void (*call)()) {
    try {
        call();
        FAIL() << "no assertion";
    } catch (const EBranAssertion& e) {
        EXPECT_EQ(e.AssertMessage(), "Unhandled else");
        EXPECT_EQ(e.SourceUnit(), "Source\\Common\\Country");
    }
}
}  // namespace

TEST(Country, LocalesAndInformationTypesMapToPlatformValues) {
    struct {
        int locale;
        unsigned short languageId;
    } locales[] = {{0, 0x0002}, {8, 0x0413}, {10, 0x0409}, {49, 0x0024}, {71, 0x081D}, {72, 0x001F}};
    for (const auto& c : locales) EXPECT_EQ(CountryLanguageId(c.locale), c.languageId) << c.locale;

    struct {
        TLocaleInfo info;
        unsigned long type;
    } types[] = {
        {TLocaleInfo::ILANGUAGE, LOCALE_ILANGUAGE},         {TLocaleInfo::SENGCOUNTRY, LOCALE_SENGCOUNTRY},
        {TLocaleInfo::SNATIVECTRYNAME, LOCALE_SNATIVECTRYNAME}, {TLocaleInfo::IDEFAULTMACCODEPAGE, LOCALE_IDEFAULTMACCODEPAGE},
        {TLocaleInfo::SGROUPING, LOCALE_SGROUPING},         {TLocaleInfo::SMONTHNAME13, LOCALE_SMONTHNAME13},
        {TLocaleInfo::SPOSITIVESIGN, LOCALE_SPOSITIVESIGN}, {TLocaleInfo::SISO3166CTRYNAME, LOCALE_SISO3166CTRYNAME},
    };
    for (const auto& c : types) EXPECT_EQ(LocaleInfoType(c.info), c.type) << static_cast<int>(c.info);

    ExpectUnhandledElse([] { CountryLanguageId(-1); });
    ExpectUnhandledElse([] { CountryLanguageId(CountryLocaleCount); });
    ExpectUnhandledElse([] { LocaleInfoType(static_cast<TLocaleInfo>(LocaleInfoCount)); });
}

TEST(Country, LocaleTexts) {
    EXPECT_EQ(GetLocaleText(8, TLocaleInfo::SENGCOUNTRY), "Netherlands");
    EXPECT_EQ(GetLocaleText(8, TLocaleInfo::SISO3166CTRYNAME), "NL");
    EXPECT_EQ(GetLocaleText(10, TLocaleInfo::SENGCOUNTRY), "United States");
    // The tests run with a Dutch user locale.
    EXPECT_EQ(GetUserLocaleText(TLocaleInfo::SENGCOUNTRY), "Netherlands");
    EXPECT_EQ(GetUserLocaleText(TLocaleInfo::SDECIMAL), ",");
}

TEST(Country, FillCountryNamesAddsEachCountryOnce) {
    TStringList fresh;
    FillCountryNames(fresh);
    ASSERT_GT(fresh.size(), 20u);
    EXPECT_NE(std::find(fresh.begin(), fresh.end(), "Nederland"), fresh.end());
    for (size_t i = 0; i < fresh.size(); ++i) {
        EXPECT_FALSE(fresh[i].empty());
        for (size_t j = i + 1; j < fresh.size(); ++j) EXPECT_FALSE(SameText(fresh[i], fresh[j])) << fresh[i];
    }

    TStringList again = fresh;
    FillCountryNames(again);
    EXPECT_EQ(again, fresh);

    TStringList prefilled = {"NEDERLAND"};
    FillCountryNames(prefilled);
    TStringList expected = fresh;
    expected.erase(std::find(expected.begin(), expected.end(), "Nederland"));
    expected.insert(expected.begin(), "NEDERLAND");
    EXPECT_EQ(prefilled, expected);
}
