#include "Source/Common/TechInfo/Country.h"

#include <windows.h>

#include <algorithm>
#include <array>

#include "core/Exceptions.h"
#include "core/StrConv.h"

namespace {
constexpr const char* SourceUnit = "Source\\Common\\Country";

constexpr std::array<unsigned short, CountryLocaleCount> LanguageIds = {
    0x0002, 0x0404, 0x0804, 0x0C04, 0x1004, 0x001A, 0x0005, 0x0006, 0x0413, 0x0813, 0x0409, 0x0809,
    0x0C09, 0x1009, 0x1409, 0x1809, 0x1C09, 0x2009, 0x2409, 0x2809, 0x2C09, 0x000B, 0x040C, 0x080C,
    0x0C0C, 0x100C, 0x140C, 0x0407, 0x0807, 0x0C07, 0x1007, 0x1407, 0x0008, 0x000E, 0x000F, 0x0021,
    0x0410, 0x0810, 0x0011, 0x0412, 0x0812, 0x0414, 0x0814, 0x0015, 0x0816, 0x0416, 0x0018, 0x0019,
    0x001B, 0x0024, 0x040A, 0x080A, 0x0C0A, 0x100A, 0x140A, 0x180A, 0x1C0A, 0x200A, 0x240A, 0x280A,
    0x2C0A, 0x300A, 0x340A, 0x380A, 0x3C0A, 0x400A, 0x440A, 0x480A, 0x4C0A, 0x500A, 0x041D, 0x081D,
    0x001F,
};

#define BRAN_LOCALE_INFO_VALUE(name) LOCALE_##name,
constexpr std::array<LCTYPE, LocaleInfoCount> InfoTypes = {BRAN_LOCALE_INFO_TYPES(BRAN_LOCALE_INFO_VALUE)};
#undef BRAN_LOCALE_INFO_VALUE
static_assert(static_cast<int>(TLocaleInfo::SISO3166CTRYNAME) == LocaleInfoCount - 1);

std::string LocaleText(LCID locale, LCTYPE type) {
    int size = GetLocaleInfoW(locale, type, nullptr, 0);
    if (size <= 1) return {};
    std::wstring text(static_cast<size_t>(size), L'\0');
    size = GetLocaleInfoW(locale, type, text.data(), size);
    if (size <= 1) return {};
    text.resize(static_cast<size_t>(size - 1));
    return Narrow(text);
}
}  // namespace

unsigned short CountryLanguageId(int locale) {
    BranAssert(locale >= 0 && locale < CountryLocaleCount, "Unhandled else", SourceUnit);
    return LanguageIds[static_cast<size_t>(locale)];
}

unsigned long LocaleInfoType(TLocaleInfo info) {
    const int index = static_cast<int>(info);
    BranAssert(index >= 0 && index < LocaleInfoCount, "Unhandled else", SourceUnit);
    return InfoTypes[static_cast<size_t>(index)];
}

std::string GetLocaleText(int locale, TLocaleInfo info) {
    return LocaleText(MAKELCID(CountryLanguageId(locale), SORT_DEFAULT), LocaleInfoType(info));
}

std::string GetUserLocaleText(TLocaleInfo info) { return LocaleText(LOCALE_USER_DEFAULT, LocaleInfoType(info)); }

void FillCountryNames(TStringList& list) {
    for (int locale = 0; locale < CountryLocaleCount; ++locale) {
        std::string name = GetLocaleText(locale, TLocaleInfo::SNATIVECTRYNAME);
        if (name.empty()) name = GetLocaleText(locale, TLocaleInfo::SCOUNTRY);
        if (name.empty()) continue;
        if (std::none_of(list.begin(), list.end(), [&](const std::string& s) { return SameText(s, name); }))
            list.push_back(name);
    }
}
