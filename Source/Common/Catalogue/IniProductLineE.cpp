// Product line E: multimedia course titles of the 97/98 series. The 98 setups wrote versions such
// as "98.1.2", whose "9" no version elsewhere carries: the series counts from 8.
#include "Source/Common/Catalogue/ProductTable.h"
#include "Source/Common/Catalogue/Service16bit.h"
#include "Source/Common/Catalogue/ServiceItems.h"

namespace {
using enum TVersionRule;

// clang-format off
//                                    display name                       default     rule     helpdesk page                   folder prefix edition
constexpr TProductVersion Topografie97  {"Brantel Topografie 97",           "7.0.0",    IfEmpty, Set("topo"),                    "", "", ""};
constexpr TProductVersion Topografie98  {"Brantel Topografie 98",           "8.0.0",    IfEmpty, Set("topo"),                    "", "", ""};
constexpr TProductVersion Rekenen97     {"Brantel Rekenen 97",              "7.0.0",    IfEmpty, Set("rekenen"),                 "", "", ""};
constexpr TProductVersion Rekenen98     {"Brantel Rekenen 98",              "8.0.0",    IfEmpty, Set("rekenen"),                 "", "", ""};
constexpr TProductVersion Spelling98    {"Brantel Spelling 98",             "8.0.0",    IfEmpty, Set("spelling"),                "", "", ""};
constexpr TProductVersion Verkeer98     {"Brantel Verkeersexamen 98",       "8.0.0",    IfEmpty, Set("verkeer"),                 "", "", ""};
constexpr TProductVersion Muziekquiz98  {"Brantel Muziekquiz 98",           "8.0.0",    IfEmpty, Set("muziekquiz"),              "", "", ""};
constexpr TProductVersion Geschiedenis  {"Brantel Geschiedenis 98",         "",         None,    Set("geschiedenis"),            "", "", ""};
constexpr TProductVersion Topography98  {"Brantel Topography 98",           "8.0.0 UK", IfEmpty, Page("/uk/topography.htm"),     "", "", ""};
constexpr TProductVersion Erdkunde98    {"Brantel Erdkunde 98",             "8.0.0 DE", IfEmpty, Page("/de/erdkunde.htm"),       "", "", ""};

constexpr TProductEntry Entries[] = {
    {"Topografie 97",         &Topografie97},
    {"Topografie 98",         &Topografie98},
    {"Topografie 98 Update",  &Topografie98},
    {"Rekenen 97",            &Rekenen97},
    {"Rekenen 98",            &Rekenen98},
    {"Rekenen 98 Update",     &Rekenen98},
    {"Spelling 98",           &Spelling98},
    {"Verkeersexamen 98",     &Verkeer98},
    {"Muziekquiz 98",         &Muziekquiz98},
    {"Geschiedenis 98",       &Geschiedenis},
    {"Topography 98 UK",      &Topography98},
    {"Erdkunde 98 DE",        &Erdkunde98},
};
// clang-format on

void LineE(const TIniReader& ini, const std::string& section, TBranApplication& app, const TProductVersion&) {
    ReadLegacyApplication(ini, section, app);
    const std::string build = app.Build().AsString();
    if (build.starts_with("98")) app.Build().SetAsString(build.substr(1));
    AddTechInfoByIdentifier(app, "Printer");
    AddTechInfoByIdentifier(app, "Soundcard");
    AddTechInfoByIdentifier(app, "RegionalSettings");
    AddTechInfoByIdentifier(app, "MCIdevices");
}
}  // namespace

void IniProductLineE() { RegisterProductLine(LineE, Entries); }
