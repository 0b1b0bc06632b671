#include "Source/Common/Catalogue/Discovery.h"

#include <windows.h>

#include "Source/Common/Catalogue/Deployment.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/Registry.h"

namespace {
const std::string BrantelKey = "Software\\Brantel";
const std::string SharedKey = BrantelKey + "\\Shared";
const std::string UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string SubKey(const std::string& path, const std::string& name) {
    return name.empty() ? path : path + "\\" + name;
}

// Discovery only reads, so it also works for users who may not write HKEY_LOCAL_MACHINE.
TRegKey OpenKey(const std::string& path) { return TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, path); }

// One value read that must not stop the others; a failure runs onFailure.
template <class TRead, class TOnFailure>
void ReadProtected(TRead read, TOnFailure onFailure) {
    if (!Attempt(read)) onFailure();
}

void ReadOptional(const TRegValues& values, const char* name, TStringProp& prop) {
    ReadProtected([&] { prop.SetAsString(values.ReadString(name)); }, [] {});
}

// Every trip to the registry counts when hundreds of applications are installed: the keys whose
// values are read together are read in one enumeration each.
void ReadTechInfo(TBranApplication& app, const std::string& versionPath) {
    const TRegKey key = OpenKey(versionPath + "\\TechInfo");
    if (!key.IsOpen()) return;
    const TRegValues values = key.ReadValues();
    for (const std::string& identifier : values.GetValueNames())
        if (SameText(values.ReadString(identifier), "True")) AddTechInfoByIdentifier(app, identifier);
}

std::string ReadUninstallString(const std::string& entry) {
    // Without an entry name the path would be the uninstall key itself, which holds no command.
    if (entry.empty()) return {};
    std::string command;
    Attempt([&] { command = OpenKey(SubKey(UninstallKey, entry)).ReadString("UninstallString"); });
    return command;
}

bool IsMarkedAsAdded(const TRegKey& appKey) {
    return appKey.ValueExists("AddedByService") && appKey.ReadInteger("AddedByService") != 0;
}

// Fills the application from its open key; appKey is closed on the way.
void ReadApplicationFrom(TBranApplication& app, TRegKey appKey, const std::string& keyPath) {
    const std::string versionPath = SubKey(keyPath, appKey.ReadString("CurrentVersion"));
    appKey.Close();
    std::string language;
    {
        const TRegKey versionKey = OpenKey(versionPath);
        ReadTechInfo(app, versionPath);
        language = versionKey.ReadString("CurrentLanguage");
    }
    const TRegValues values = OpenKey(SubKey(versionPath, language)).ReadValues();

    ReadOptional(values, "", app.Name());
    ReadOptional(values, "HelpFile", app.HelpFile());
    ReadOptional(values, "ReadMeFile", app.ReadmeFile());
    ReadOptional(values, "InstallLog", app.InstallLog());
    ReadOptional(values, "ProgramLog", app.ProgramLog());
    ReadProtected([&] { app.Build().SetAsString(values.ReadString("ReleaseVersion")); },
                  [&] { app.Build().SetAsString("???"); });
    ReadProtected(
        [&] { app.ReleaseDate().SetAsVariant(TVariant::Date(RegSateStrToDate(values.ReadString("ReleaseDate")))); },
        [] {});
    ReadProtected([&] { app.Uninstall().SetAsString(ReadUninstallString(values.ReadString("UninstallKey"))); }, [] {});
    ReadOptional(values, "URLHelpdesk", app.HelpdeskURL());
    ReadOptional(values, "HelpdeskEmailAddress", app.HelpDeskEmailAddress());
    ReadOptional(values, "HelpdeskPostAddress", app.HelpDeskPostAddress());
    ReadOptional(values, "HelpdeskFaxNumber", app.HelpDeskFaxNumber());
    ReadOptional(values, "HelpdeskZipcode", app.HelpDeskZipcode());
    ReadOptional(values, "Helpdeskdescription", app.HelpDeskDescription());
}

// A text of digits as a number, failing like the platform's conversion.
int DigitsToInt(const std::string& digits) {
    bool valid = !digits.empty();
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') valid = false;
        value = value * 10 + (c - '0');
    }
    if (!valid) throw EBrantel(Format("'%s' is geen geldig getal", {digits}));
    return value;
}
}  // namespace

TDateTime RegSateStrToDate(const std::string& text) {
    int year, month, day;
    if (text.size() == 8) {
        year = DigitsToInt(text.substr(0, 4));
        month = DigitsToInt(text.substr(4, 2));
        day = DigitsToInt(text.substr(6, 2));
    } else if (text.size() == 6) {
        // Six digits are what setups of the last century wrote ("99" is 1999); a year before 1950
        // names no release of ours, so "00" to "49" are this century's, as everywhere else.
        year = DigitsToInt(text.substr(0, 2));
        year += year < 50 ? 2000 : 1900;
        month = DigitsToInt(text.substr(2, 2));
        day = DigitsToInt(text.substr(4, 2));
    } else {
        throw EBrantel("RegSateStrToDate: " + Format("%s is geen geldige datum", {text}));
    }
    return EncodeDate(year, month, day);
}

void ReadApplication(TBranApplication& app, const std::string& keyPath) {
    TRegKey key = OpenKey(keyPath);
    if (key.IsOpen()) ReadApplicationFrom(app, std::move(key), keyPath);
}

void DiscoverApplications(TServiceItemList& list) {
    const std::vector<std::string> names = OpenKey(BrantelKey).GetKeyNames();  // none without the key
    for (const std::string& name : names) {
        if (SameText(name, "Shared")) continue;
        // An application we cannot read is not offered; the others are.
        Attempt([&] {
            const std::string appPath = BrantelKey + "\\" + name;
            TRegKey key = OpenKey(appPath);
            std::shared_ptr<TBranApplication> app;
            if (key.IsOpen() && IsMarkedAsAdded(key))
                app = std::make_shared<TAddedApplication>();
            else
                app = std::make_shared<TBranApplication>();
            if (key.IsOpen()) ReadApplicationFrom(*app, std::move(key), appPath);
            if (!app->Name().AsString().empty()) list.push_back(std::move(app));
        });
    }
    DiscoverLegacyApplications(list);
}

void CollectServiceItems(TServiceItemList& list) {
    DiscoverApplications(list);
    TGeneralServiceItem& general = GetGeneralServiceItem();
    const bool read = Attempt([&] {
        const std::string language = OpenKey(SharedKey).ReadString("CurrentLanguage");
        const TRegValues values = OpenKey(SubKey(SharedKey, language)).ReadValues();
        general.HelpdeskURL().SetAsString(values.ValueExists("URLHelpdesk") ? values.ReadString("URLHelpdesk")
                                                                            : DefaultHelpdeskAddress());
        general.ShopURL().SetAsString(values.ValueExists("URLSHOP") ? values.ReadString("URLSHOP")
                                                                    : DefaultShopAddress());
    });
    if (!read) {
        general.HelpdeskURL().SetAsString(DefaultHelpdeskAddress());
        general.ShopURL().SetAsString(DefaultShopAddress());
    }
    // The general item lives until the end of the program; the list only refers to it.
    list.push_back(SharedGeneralServiceItem());
}
