// Product line C: typing and language courses. Their help file lies in the course's own folder
// ("<product> directory") unless the section names one. The German typing course shipped under the
// Dutch identifier "Typcursus 2.0" as well; its section then says "Taal=DE".
#include "Source/Common/Catalogue/ProductTable.h"
#include "Source/Common/Catalogue/Service16bit.h"
#include "Source/Common/Catalogue/ServiceItems.h"

namespace {
using enum TVersionRule;

// clang-format off
//                                    display name                       default     rule     helpdesk page                   folder              prefix edition
constexpr TProductVersion Typcursus1    {"Brantel Typcursus 1",             "1.0.0",    IfEmpty, Set("typcursus"),               "Typcursus",        "",    ""};
constexpr TProductVersion Typcursus2    {"Brantel Typcursus 2",             "2.0.0",    IfEmpty, Set("typcursus"),               "Typcursus",        "",    "NL"};
constexpr TProductVersion Tippkurs2     {"Brantel Tippkurs 2",              "2.0.0 DE", IfEmpty, SetOnly("tippkurs"),            "Tippkurs",         "",    ""};
constexpr TProductVersion Tippkurs3     {"Brantel Tippkurs 3",              "3.0.0 DE", IfEmpty, SetOnly("tippkurs"),            "Tippkurs",         "",    ""};
constexpr TProductVersion Engels1       {"Brantel Cursus Engels 1",         "1.0.0",    IfEmpty, Set("engels"),                  "Cursus Engels",    "",    ""};
constexpr TProductVersion Frans1        {"Brantel Cursus Frans 1",          "1.0.0",    IfEmpty, Set("frans"),                   "Cursus Frans",     "",    ""};
constexpr TProductVersion Duits1        {"Brantel Cursus Duits 1",          "1.0.0",    IfEmpty, Set("duits"),                   "Cursus Duits",     "",    ""};
constexpr TProductVersion Computer      {"Brantel Computercursus",          "",         None,    Set("pccursus"),                "Computercursus",   "",    ""};

constexpr TProductEntry Entries[] = {
    {"Typcursus 1.0",        &Typcursus1},
    {"Typcursus 1.1",        &Typcursus1},
    {"Typcursus 2.0",        &Typcursus2},
    {"Typcursus 2.0",        &Tippkurs2},
    {"Tippkurs 2.0",         &Tippkurs2},
    {"Tippkurs 3.0",         &Tippkurs3},
    {"Tippkurs 3.0 Update",  &Tippkurs3},
    {"Cursus Engels 1.0",    &Engels1},
    {"Cursus Engels 1.1",    &Engels1},
    {"Cursus Frans 1.0",     &Frans1},
    {"Cursus Frans 1.1",     &Frans1},
    {"Cursus Duits 1.0",     &Duits1},
    {"Cursus Duits 1.1",     &Duits1},
    {"Computercursus 97",    &Computer},
    {"Computercursus 98",    &Computer},
};
// clang-format on

void LineC(const TIniReader& ini, const std::string& section, TBranApplication& app, const TProductVersion& version) {
    ReadLegacyApplication(ini, section, app);
    if (app.HelpFile().AsString().empty())
        FindLegacyHelpFile(ini, section, std::string(version.HelpFolder) + " directory", "", app);
    AddTechInfoByIdentifier(app, "Printer");
    AddTechInfoByIdentifier(app, "RegionalSettings");
}
}  // namespace

void IniProductLineC() { RegisterProductLine(LineC, Entries); }
