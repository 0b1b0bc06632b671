#include "core/Locale.h"

#include <windows.h>

#include "core/StrConv.h"

std::string LocaleInfo(unsigned long lcType) {
    wchar_t buffer[100] = {};
    int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, lcType, buffer, 100);
    return n > 1 ? Narrow(std::wstring_view(buffer, static_cast<size_t>(n - 1))) : std::string();
}

std::string DecimalSeparator() {
    std::string s = LocaleInfo(LOCALE_SDECIMAL);
    return s.empty() ? "." : s;
}

std::string ThousandSeparator() { return LocaleInfo(LOCALE_STHOUSAND); }
std::string ShortDateFormat() { return LocaleInfo(LOCALE_SSHORTDATE); }
std::string LongTimeFormat() { return LocaleInfo(LOCALE_STIMEFORMAT); }
