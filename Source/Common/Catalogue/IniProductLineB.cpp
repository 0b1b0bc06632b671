// Product line B: address book titles. Some versions keep their help files, named "adr...", in a
// folder of their own ("<product> directory"); one also ships a "Win..." help file there, which then
// takes precedence.
#include <sstream>

#include "Source/Common/Catalogue/ProductTable.h"
#include "Source/Common/Catalogue/Service16bit.h"
#include "Source/Common/Catalogue/ServiceItems.h"

namespace {
using enum TVersionRule;

// clang-format off
//                                    display name                       default     rule     helpdesk page                   folder              prefixes   edition
constexpr TProductVersion Adresboek1    {"Brantel Adresboek 1",             "1.0.0",    IfEmpty, Set("adres"),                   "Adresboek",        "",        ""};
constexpr TProductVersion Adresboek2    {"Brantel Adresboek 2",             "2.0.0",    IfEmpty, Set("adres"),                   "Adresboek",        "adr",     ""};
constexpr TProductVersion Adresboek3    {"Brantel Adresboek 3",             "3.0.0",    IfEmpty, Set("adres"),                   "Adresboek",        "adr",     ""};
constexpr TProductVersion Adresboek95   {"Brantel Adresboek 95",            "3.5.0",    IfEmpty, Set("adres"),                   "Adresboek",        "adr Win", ""};
constexpr TProductVersion AdresboekPlus {"Brantel Adresboek Plus",          "1.0.0",    IfEmpty, Set("adresplus"),               "Adresboek Plus",   "adr",     ""};
constexpr TProductVersion Etiketten1    {"Brantel Etiketten 1",             "1.0.0",    IfEmpty, Set("etiket"),                  "Etiketten",        "",        ""};
constexpr TProductVersion Etiketten2    {"Brantel Etiketten 2",             "2.0.0",    IfEmpty, Set("etiket"),                  "Etiketten",        "",        ""};
constexpr TProductVersion Relaties1     {"Brantel Relatiebeheer 1",         "1.0.0",    IfEmpty, Set("relatie"),                 "Relatiebeheer",    "adr",     ""};
constexpr TProductVersion Relaties2     {"Brantel Relatiebeheer 2",         "",         None,    Set("relatie"),                 "Relatiebeheer",    "adr",     ""};
constexpr TProductVersion Verjaardagen1 {"Brantel Verjaardagskalender",     "1.0.0",    IfEmpty, Set("verjaardag"),              "",                 "",        ""};
constexpr TProductVersion AddressBook2  {"Brantel Address Book 2",          "2.0.0 UK", IfEmpty, Page("/uk/addressbook.htm"),    "Address Book",     "adr",     ""};

constexpr TProductEntry Entries[] = {
    {"Adresboek 1.0",           &Adresboek1},
    {"Adresboek 2.0",           &Adresboek2},
    {"Adresboek 3.0",           &Adresboek3},
    {"Adresboek 3.0 Update",    &Adresboek3},
    {"Adresboek 95",            &Adresboek95},
    {"Adresboek Plus 1.0",      &AdresboekPlus},
    {"Etiketten 1.0",           &Etiketten1},
    {"Etiketten 2.0",           &Etiketten2},
    {"Relatiebeheer 1.0",       &Relaties1},
    {"Relatiebeheer 2.0",       &Relaties2},
    {"Verjaardagskalender 1.0", &Verjaardagen1},
    {"Address Book 2.0 UK",     &AddressBook2},
};
// clang-format on

void LineB(const TIniReader& ini, const std::string& section, TBranApplication& app, const TProductVersion& version) {
    ReadLegacyApplication(ini, section, app);
    AddTechInfoByIdentifier(app, "Printer");
    AddTechInfoByIdentifier(app, "RegionalSettings");
    std::istringstream prefixes(version.HelpPrefixes);
    for (std::string prefix; prefixes >> prefix;)
        FindLegacyHelpFile(ini, section, std::string(version.HelpFolder) + " directory", prefix, app);
}
}  // namespace

void IniProductLineB() { RegisterProductLine(LineB, Entries); }
