// Product line D: music lessons. They play sound, so the sound card and multimedia devices matter;
// the help file lies in the program folder ("RunPath").
#include "Source/Common/Catalogue/ProductTable.h"
#include "Source/Common/Catalogue/Service16bit.h"
#include "Source/Common/Catalogue/ServiceItems.h"

namespace {
using enum TVersionRule;

// Componeren 1.2 shipped with setups that wrote the version of the installer, not of the program.
// clang-format off
//                                    display name                       default     rule     helpdesk page                   folder prefix edition
constexpr TProductVersion Pianoles1     {"Brantel Pianoles 1",              "1.0.0",    IfEmpty, Set("piano"),                   "", "", ""};
constexpr TProductVersion Pianoles2     {"Brantel Pianoles 2",              "2.0.0",    IfEmpty, Set("piano"),                   "", "", ""};
constexpr TProductVersion Gitaarles1    {"Brantel Gitaarles 1",             "1.0.0",    IfEmpty, Set("gitaar"),                  "", "", ""};
constexpr TProductVersion Theorie1      {"Brantel Muziektheorie",           "1.0.0",    IfEmpty, Set("theorie"),                 "", "", ""};
constexpr TProductVersion Componeren12  {"Brantel Componeren",              "1.2.0",    Always,  Set("compo"),                   "", "", ""};
constexpr TProductVersion Keyboardles1  {"Brantel Keyboardles",             "",         None,    Set("keyboard"),                "", "", ""};
constexpr TProductVersion PianoLessons1 {"Brantel Piano Lessons 1",         "1.0.0 UK", IfEmpty, Page("/uk/pianolessons.htm"),   "", "", ""};

constexpr TProductEntry Entries[] = {
    {"Pianoles 1.0",          &Pianoles1},
    {"Pianoles 2.0",          &Pianoles2},
    {"Gitaarles 1.0",         &Gitaarles1},
    {"Muziektheorie 1.0",     &Theorie1},
    {"Componeren 1.2",        &Componeren12},
    {"Keyboardles 1.0",       &Keyboardles1},
    {"Piano Lessons 1.0 UK",  &PianoLessons1},
};
// clang-format on

void LineD(const TIniReader& ini, const std::string& section, TBranApplication& app, const TProductVersion&) {
    ReadLegacyApplication(ini, section, app);
    FindLegacyHelpFile(ini, section, "RunPath", "", app);
    AddTechInfoByIdentifier(app, "Printer");
    AddTechInfoByIdentifier(app, "Soundcard");
    AddTechInfoByIdentifier(app, "MCIdevices");
}
}  // namespace

void IniProductLineD() { RegisterProductLine(LineD, Entries); }
