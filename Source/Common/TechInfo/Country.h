#pragma once
// Locales and locale information as the program asks the platform for them: the country pick lists
// of the personal-data pages, the regional-settings and Windows sections of the report and the
// language of the system summary all go through here.
#include <string>

#include "Source/Common/TechInfo/TechInfo.h"  // TStringList

// The locales whose countries the program offers, in the order they are asked (0 .. 72).
inline constexpr int CountryLocaleCount = 73;
// The platform language identifier of a locale (its locale identifier adds the default sort order).
// An index outside the list is the assertion "Unhandled else".
unsigned short CountryLanguageId(int locale);

// The platform's locale information types, from LOCALE_ILANGUAGE to LOCALE_SISO3166CTRYNAME in the
// order of the platform header; TLocaleInfo::SENGCOUNTRY stands for LOCALE_SENGCOUNTRY.
#define BRAN_LOCALE_INFO_TYPES(X)                                                                     \
    X(ILANGUAGE) X(SLANGUAGE) X(SENGLANGUAGE) X(SABBREVLANGNAME) X(SNATIVELANGNAME) X(ICOUNTRY)        \
    X(SCOUNTRY) X(SENGCOUNTRY) X(SABBREVCTRYNAME) X(SNATIVECTRYNAME) X(IDEFAULTLANGUAGE)               \
    X(IDEFAULTCOUNTRY) X(IDEFAULTCODEPAGE) X(IDEFAULTANSICODEPAGE) X(IDEFAULTMACCODEPAGE) X(SLIST)     \
    X(IMEASURE) X(SDECIMAL) X(STHOUSAND) X(SGROUPING) X(IDIGITS) X(ILZERO) X(INEGNUMBER)               \
    X(SNATIVEDIGITS) X(SCURRENCY) X(SINTLSYMBOL) X(SMONDECIMALSEP) X(SMONTHOUSANDSEP) X(SMONGROUPING)  \
    X(ICURRDIGITS) X(IINTLCURRDIGITS) X(ICURRENCY) X(INEGCURR) X(SDATE) X(STIME) X(SSHORTDATE)         \
    X(SLONGDATE) X(STIMEFORMAT) X(IDATE) X(ILDATE) X(ITIME) X(ITIMEMARKPOSN) X(ICENTURY) X(ITLZERO)    \
    X(IDAYLZERO) X(IMONLZERO) X(S1159) X(S2359) X(ICALENDARTYPE) X(IOPTIONALCALENDAR)                  \
    X(IFIRSTDAYOFWEEK) X(IFIRSTWEEKOFYEAR) X(SDAYNAME1) X(SDAYNAME2) X(SDAYNAME3) X(SDAYNAME4)         \
    X(SDAYNAME5) X(SDAYNAME6) X(SDAYNAME7) X(SABBREVDAYNAME1) X(SABBREVDAYNAME2) X(SABBREVDAYNAME3)    \
    X(SABBREVDAYNAME4) X(SABBREVDAYNAME5) X(SABBREVDAYNAME6) X(SABBREVDAYNAME7) X(SMONTHNAME1)         \
    X(SMONTHNAME2) X(SMONTHNAME3) X(SMONTHNAME4) X(SMONTHNAME5) X(SMONTHNAME6) X(SMONTHNAME7)          \
    X(SMONTHNAME8) X(SMONTHNAME9) X(SMONTHNAME10) X(SMONTHNAME11) X(SMONTHNAME12) X(SMONTHNAME13)      \
    X(SABBREVMONTHNAME1) X(SABBREVMONTHNAME2) X(SABBREVMONTHNAME3) X(SABBREVMONTHNAME4)                \
    X(SABBREVMONTHNAME5) X(SABBREVMONTHNAME6) X(SABBREVMONTHNAME7) X(SABBREVMONTHNAME8)                \
    X(SABBREVMONTHNAME9) X(SABBREVMONTHNAME10) X(SABBREVMONTHNAME11) X(SABBREVMONTHNAME12)             \
    X(SABBREVMONTHNAME13) X(SPOSITIVESIGN) X(SNEGATIVESIGN) X(IPOSSIGNPOSN) X(INEGSIGNPOSN)            \
    X(IPOSSYMPRECEDES) X(IPOSSEPBYSPACE) X(INEGSYMPRECEDES) X(INEGSEPBYSPACE) X(FONTSIGNATURE)         \
    X(SISO639LANGNAME) X(SISO3166CTRYNAME)

#define BRAN_LOCALE_INFO_NAME(name) name,
enum class TLocaleInfo : int { BRAN_LOCALE_INFO_TYPES(BRAN_LOCALE_INFO_NAME) };
#undef BRAN_LOCALE_INFO_NAME
inline constexpr int LocaleInfoCount = 103;

// The platform constant of an information type; outside the list the assertion "Unhandled else".
unsigned long LocaleInfoType(TLocaleInfo info);

// The platform's text of that information for the locale; empty when the platform does not know it.
std::string GetLocaleText(int locale, TLocaleInfo info);
// The same for the user's default locale.
std::string GetUserLocaleText(TLocaleInfo info);

// Appends each locale's native country name (or its localized one when there is none) that the list
// does not hold yet, compared without regard to case.
void FillCountryNames(TStringList& list);
