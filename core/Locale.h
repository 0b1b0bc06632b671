#pragma once
// The user's regional settings as the program uses them.
#include <string>

std::string LocaleInfo(unsigned long lcType);  // GetLocaleInfo of the user's default locale
std::string DecimalSeparator();                 // "," on a Dutch system
std::string ThousandSeparator();
std::string ShortDateFormat();                  // "d-M-yyyy" on a Dutch system
std::string LongTimeFormat();
