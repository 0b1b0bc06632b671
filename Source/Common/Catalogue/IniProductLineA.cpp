// Product line A: bookkeeping, invoicing, cash book and office titles. Their setups keep the help
// file in the "Systeem directory", named with a three-letter prefix per product.
#include "Source/Common/Catalogue/ProductTable.h"
#include "Source/Common/Catalogue/Service16bit.h"
#include "Source/Common/Catalogue/ServiceItems.h"

namespace {
using enum TVersionRule;

// clang-format off
//                                    display name                         default     rule     helpdesk page                   folder prefix edition
constexpr TProductVersion Boekhouden3   {"Brantel Boekhouden 3",              "3.0.0",    IfEmpty, Set("boekh"),                   "", "Bkh", ""};
constexpr TProductVersion Boekhouden4   {"Brantel Boekhouden 4",              "4.0.0",    IfEmpty, Set("boekh"),                   "", "Bkh", ""};
constexpr TProductVersion Boekhouden5   {"Brantel Boekhouden 5",              "5.0.0",    IfEmpty, Set("boekh"),                   "", "Bkh", ""};
constexpr TProductVersion BoekhoudenPro5{"Brantel Boekhouden Pro 5",          "5.0.0",    IfEmpty, Set("boekhpro"),                "", "Bkp", ""};
constexpr TProductVersion Factureren2   {"Brantel Factureren 2",              "2.0.0",    IfEmpty, Set("fact"),                    "", "Fac", ""};
constexpr TProductVersion Factureren3   {"Brantel Factureren 3",              "3.0.0",    IfEmpty, Set("fact"),                    "", "Fac", ""};
constexpr TProductVersion Kasboek1      {"Brantel Kasboek 1",                 "1.0.0",    IfEmpty, Set("kasb"),                    "", "Kas", ""};
constexpr TProductVersion Kasboek2      {"Brantel Kasboek 2",                 "2.0.0",    IfEmpty, Set("kasb"),                    "", "Kas", ""};
constexpr TProductVersion Kasboek95     {"Brantel Kasboek voor Windows 95",   "2.5.0",    IfEmpty, Set("kasb"),                    "", "Win", ""};
constexpr TProductVersion Bookkeeping4  {"Brantel Bookkeeping 4",             "4.0.0 UK", IfEmpty, Page("/uk/bookkeeping.htm"),    "", "Bkh", ""};
constexpr TProductVersion Buchhaltung4  {"Brantel Buchhaltung 4",             "4.0.0 DE", IfEmpty, Page("/de/buchhaltung.htm"),    "", "Buc", ""};
constexpr TProductVersion Salaris1      {"Brantel Salarisadministratie 1",    "",         None,    Set("salaris"),                 "", "Sal", ""};
constexpr TProductVersion Uren1         {"Brantel Urenregistratie 1",         "1.0.0",    IfEmpty, Set("uren"),                    "", "Ure", ""};

constexpr TProductEntry Entries[] = {
    {"Boekhouden 3.0",           &Boekhouden3},
    {"Boekhouden 3.01",          &Boekhouden3},
    {"Boekhouden 4.0",           &Boekhouden4},
    {"Boekhouden 4.0 Update",    &Boekhouden4},
    {"Boekhouden 5.0",           &Boekhouden5},
    {"Boekhouden 5.0 Update 1",  &Boekhouden5},
    {"Boekhouden Pro 5.0",       &BoekhoudenPro5},
    {"Factureren 2.0",           &Factureren2},
    {"Factureren 3.0",           &Factureren3},
    {"Factureren 3.0 Update",    &Factureren3},
    {"Kasboek 1.0",              &Kasboek1},
    {"Kasboek 2.0",              &Kasboek2},
    {"Kasboek 95",               &Kasboek95},
    {"Bookkeeping 4.0 UK",       &Bookkeeping4},
    {"Buchhaltung 4.0 DE",       &Buchhaltung4},
    {"Salarisadministratie 1.0", &Salaris1},
    {"Salarisadministratie 1.1", &Salaris1},
    {"Urenregistratie 1.0",      &Uren1},
};
// clang-format on

void LineA(const TIniReader& ini, const std::string& section, TBranApplication& app, const TProductVersion& version) {
    ReadLegacyApplication(ini, section, app);
    AddTechInfoByIdentifier(app, "Printer");
    AddTechInfoByIdentifier(app, "RegionalSettings");
    FindLegacyHelpFile(ini, section, "Systeem directory", version.HelpPrefixes, app);
}
}  // namespace

void IniProductLineA() { RegisterProductLine(LineA, Entries); }
