#include "Source/Common/Discovery.h"

#include <windows.h>

#include "Source/Common/Deployment.h"
#include "Source/Common/ServiceItems.h"
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

void ReadOptional(const TRegKey& key, const char* name, TStringProp& prop) {
    ReadProtected([&] { prop.SetAsString(key.ReadString(name)); }, [] {});
}

void ReadTechInfo(TBranApplication& app, const std::string& versionPath) {
    const TRegKey key = OpenKey(versionPath + "\\TechInfo");
    if (!key.IsOpen()) return;
    for (const std::string& identifier : key.GetValueNames())
        if (SameText(key.ReadString(identifier), "True")) AddTechInfoByIdentifier(app, identifier);
}

std::string ReadUninstallString(const std::string& entry) {
    std::string command;
    Attempt([&] { command = OpenKey(SubKey(UninstallKey, entry)).ReadString("UninstallString"); });
    return command;
}

bool IsMarkedAsAdded(const std::string& appPath) {
    const TRegKey key = OpenKey(appPath);
    return key.IsOpen() && key.ValueExists("AddedByService") && key.ReadInteger("AddedByService") != 0;
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
    if (!key.IsOpen()) return;
    const std::string versionPath = SubKey(keyPath, key.ReadString("CurrentVersion"));
    key = OpenKey(versionPath);
    ReadTechInfo(app, versionPath);
    const std::string languagePath = SubKey(versionPath, key.ReadString("CurrentLanguage"));
    key = OpenKey(languagePath);

    ReadOptional(key, "", app.Name());
    ReadOptional(key, "HelpFile", app.HelpFile());
    ReadOptional(key, "ReadMeFile", app.ReadmeFile());
    ReadOptional(key, "InstallLog", app.InstallLog());
    ReadOptional(key, "ProgramLog", app.ProgramLog());
    ReadProtected([&] { app.Build().SetAsString(key.ReadString("ReleaseVersion")); },
                  [&] { app.Build().SetAsString("???"); });
    ReadProtected(
        [&] { app.ReleaseDate().SetAsVariant(TVariant::Date(RegSateStrToDate(key.ReadString("ReleaseDate")))); },
        [] {});
    ReadProtected([&] { app.Uninstall().SetAsString(ReadUninstallString(key.ReadString("UninstallKey"))); }, [] {});
    ReadOptional(key, "URLHelpdesk", app.HelpdeskURL());
    ReadOptional(key, "HelpdeskEmailAddress", app.HelpDeskEmailAddress());
    ReadOptional(key, "HelpdeskPostAddress", app.HelpDeskPostAddress());
    ReadOptional(key, "HelpdeskFaxNumber", app.HelpDeskFaxNumber());
    ReadOptional(key, "HelpdeskZipcode", app.HelpDeskZipcode());
    ReadOptional(key, "Helpdeskdescription", app.HelpDeskDescription());
}

void DiscoverApplications(TServiceItemList& list) {
    const std::vector<std::string> names = OpenKey(BrantelKey).GetKeyNames();  // none without the key
    for (const std::string& name : names) {
        if (SameText(name, "Shared")) continue;
        // An application we cannot read is not offered; the others are.
        Attempt([&] {
            const std::string appPath = BrantelKey + "\\" + name;
            std::shared_ptr<TBranApplication> app;
            if (IsMarkedAsAdded(appPath))
                app = std::make_shared<TAddedApplication>();
            else
                app = std::make_shared<TBranApplication>();
            ReadApplication(*app, appPath);
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
        const TRegKey key = OpenKey(SubKey(SharedKey, language));
        general.HelpdeskURL().SetAsString(key.ValueExists("URLHelpdesk") ? key.ReadString("URLHelpdesk")
                                                                         : DefaultHelpdeskAddress());
        general.ShopURL().SetAsString(key.ValueExists("URLSHOP") ? key.ReadString("URLSHOP") : DefaultShopAddress());
    });
    if (!read) {
        general.HelpdeskURL().SetAsString(DefaultHelpdeskAddress());
        general.ShopURL().SetAsString(DefaultShopAddress());
    }
    // The general item lives until the end of the program; the list only refers to it.
    list.push_back(std::shared_ptr<TServiceItem>(std::shared_ptr<TServiceItem>(), &general));
}
