#include "Source/Common/Catalogue/Discovery.h"

#include <gtest/gtest.h>

#include <functional>

#include "DiscoveryFixture.h"
#include "SampleApplication.h"
#include "Source/Common/Catalogue/Deployment.h"
#include "TestSupport.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/Registry.h"

namespace {
const std::string Brantel = "Software\\Brantel\\";
const std::string Uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

TRegKey CreateKey(const std::string& path) {
    TRegKey key;
    EXPECT_TRUE(key.Open(HKEY_LOCAL_MACHINE, path, true));
    return key;
}

// Software\Brantel\<app> with version 1.0, language NL, a name and the given values there.
std::string WriteApp(const std::string& app, const std::string& name,
                     const std::vector<std::pair<std::string, std::string>>& values = {}) {
    TSampleApplication sample{.Key = app, .Version = "1.0", .Values = {{"", name}}};
    sample.Values.insert(sample.Values.end(), values.begin(), values.end());
    return RegisterApplication(sample);
}

std::vector<std::string> DisplayTexts(const TServiceItemList& list) {
    std::vector<std::string> texts;
    for (const auto& item : list) texts.push_back(item->DisplayText());
    return texts;
}

TServiceItemList Discover() {
    TServiceItemList list;
    DiscoverApplications(list);
    return list;
}

class Discovery : public testing::Test {
protected:
    void SetUp() override { BranModel(); }
    TRegistrySandbox Sandbox;
    TLegacyIni NoLegacyFile{std::nullopt};
};
}  // namespace

TEST(RegSateStrToDate, ReadsEightAndSixDigits) {
    EXPECT_EQ(RegSateStrToDate("20000131"), EncodeDate(2000, 1, 31));
    EXPECT_EQ(RegSateStrToDate("990131"), EncodeDate(1999, 1, 31));
    EXPECT_EQ(RegSateStrToDate("500101"), EncodeDate(1950, 1, 1));
    EXPECT_EQ(RegSateStrToDate("000229"), EncodeDate(2000, 2, 29));  // not 1900, which had no 29 February
}

TEST(RegSateStrToDate, RefusesOtherTexts) {
    for (const char* text : {"1999013", "", "2000-1-31", "200001311"}) {
        try {
            RegSateStrToDate(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const EBrantel& e) {
            EXPECT_EQ(e.Message(), std::string("RegSateStrToDate: ") + text + " is geen geldige datum");
        }
    }
    for (const char* text : {"20001332", "19990230", "990229", "2000ab01", "99 131"}) EXPECT_THROW(RegSateStrToDate(text), EBrantel) << text;
}

TEST_F(Discovery, ReadsEveryValueOfAnApplication) {
    CreateKey(Uninstall + "BrantelKasboek").WriteString("UninstallString", "C:\\BRANTEL\\UNWISE.EXE KAS.LOG");
    WriteApp("Kasboek", "Brantel Kasboek",
             {{"HelpFile", "C:\\Kas\\kas.hlp"}, {"ReadMeFile", "C:\\Kas\\leesmij.txt"}, {"InstallLog", "C:\\Kas\\install.log"},
              {"ProgramLog", "C:\\Kas\\kas.log"}, {"ReleaseVersion", "3.1.4"}, {"ReleaseDate", "20000131"},
              {"UninstallKey", "BrantelKasboek"}, {"URLHelpdesk", "www.brantel.nl/kas"},
              {"HelpdeskEmailAddress", "kas@brantel.nl"}, {"HelpdeskPostAddress", "Postbus 1"},
              {"HelpdeskFaxNumber", "010-1234567"}, {"HelpdeskZipcode", "1234 AB Bran"},
              {"Helpdeskdescription", "Kasboekhelpdesk"}});
    TServiceItemList list = Discover();
    ASSERT_EQ(list.size(), 1u);
    auto* app = dynamic_cast<TBranApplication*>(list[0].get());
    ASSERT_TRUE(app);
    EXPECT_FALSE(dynamic_cast<TAddedApplication*>(app));
    EXPECT_EQ(app->DisplayText(), "Brantel Kasboek (3.1.4)");
    EXPECT_EQ(app->HelpFile().AsString(), "C:\\Kas\\kas.hlp");
    EXPECT_EQ(app->ReadmeFile().AsString(), "C:\\Kas\\leesmij.txt");
    EXPECT_EQ(app->InstallLog().AsString(), "C:\\Kas\\install.log");
    EXPECT_EQ(app->ProgramLog().AsString(), "C:\\Kas\\kas.log");
    EXPECT_EQ(app->ReleaseDate().AsVariant().Date(), EncodeDate(2000, 1, 31));
    EXPECT_EQ(app->Uninstall().AsString(), "C:\\BRANTEL\\UNWISE.EXE KAS.LOG");
    EXPECT_EQ(app->HelpdeskURL().AsString(), "www.brantel.nl/kas");
    EXPECT_EQ(app->HelpDeskEmailAddress().AsString(), "kas@brantel.nl");
    EXPECT_EQ(app->HelpDeskPostAddress().AsString(), "Postbus 1");
    EXPECT_EQ(app->HelpDeskFaxNumber().AsString(), "010-1234567");
    EXPECT_EQ(app->HelpDeskZipcode().AsString(), "1234 AB Bran");
    EXPECT_EQ(app->HelpDeskDescription().AsString(), "Kasboekhelpdesk");
}

TEST_F(Discovery, MissingValuesReadAsEmptyText) {
    WriteApp("Kaal", "Brantel Kaal");
    TServiceItemList list = Discover();
    ASSERT_EQ(list.size(), 1u);
    auto& app = dynamic_cast<TBranApplication&>(*list[0]);
    EXPECT_EQ(app.DisplayText(), "Brantel Kaal ()");
    EXPECT_EQ(app.HelpDeskEmailAddress().AsVariant(), TVariant(""));
    EXPECT_EQ(app.Uninstall().AsString(), "");
    EXPECT_TRUE(app.ReleaseDate().IsNull());
    EXPECT_TRUE(app.TechInfos().empty());
}

TEST_F(Discovery, TechInfoValuesTrueInAnyCaseSelectCategories) {
    WriteApp("Kasboek", "Brantel Kasboek");
    TRegKey techInfo = CreateKey(Brantel + "Kasboek\\1.0\\TechInfo");
    techInfo.WriteString("Printer", "TRUE");
    techInfo.WriteString("Drives", "1");
    techInfo.WriteString("Joystick", "Ja");
    techInfo.WriteString("Telepathie", "True");
    techInfo.WriteString("soundcard", "true");
    techInfo.WriteString("DirectX", "False");
    TServiceItemList list = Discover();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(CategoryIds(*list[0]), Available({"Printer", "Soundcard"}));
}

TEST_F(Discovery, AddedByServiceChoosesTheClass) {
    WriteApp("Toegevoegd", "Door de gebruiker");
    CreateKey(Brantel + "Toegevoegd").WriteInteger("AddedByService", 1);
    WriteApp("Gewoon", "Gewoon");
    CreateKey(Brantel + "Gewoon").WriteInteger("AddedByService", 0);
    TServiceItemList list = Discover();
    ASSERT_EQ(list.size(), 2u);
    for (const auto& item : list)
        EXPECT_EQ(dynamic_cast<TAddedApplication*>(item.get()) != nullptr, item->Name().AsString() == "Door de gebruiker")
            << item->Name().AsString();
}

TEST_F(Discovery, SkipsSharedAndNamelessAndKeepsDuplicates) {
    WriteApp("SHARED", "Geen applicatie");
    WriteApp("Shared", "Ook geen applicatie");
    WriteApp("Naamloos", "");
    CreateKey(Brantel + "Zonder versie");
    WriteApp("Een", "Brantel Adresboek", {{"ReleaseVersion", "2.0"}});
    WriteApp("Twee", "Brantel Adresboek", {{"ReleaseVersion", "2.0"}});
    EXPECT_EQ(DisplayTexts(Discover()),
              (std::vector<std::string>{"Brantel Adresboek (2.0)", "Brantel Adresboek (2.0)"}));
}

TEST_F(Discovery, FailureOfOneApplicationLeavesTheNextAlone) {
    WriteApp("A", "Eerste");
    WriteApp("B", "Kapot");
    CreateKey(Brantel + "B\\1.0").WriteInteger("CurrentLanguage", 7);
    WriteApp("C", "Derde", {{"ReleaseVersion", "3"}});
    EXPECT_EQ(DisplayTexts(Discover()), (std::vector<std::string>{"Eerste ()", "Derde (3)"}));
}

TEST_F(Discovery, NoBrantelKeyStillGivesLegacyApplications) {
    EXPECT_TRUE(Discover().empty());
    const TLegacyIni legacy("[ProgInfo]\r\nP=Kasboek 1.0,KAS\r\n[KAS]\r\n");
    EXPECT_EQ(DisplayTexts(Discover()), (std::vector<std::string>{"Brantel Kasboek 1 (1.0.0)"}));
}

TEST_F(Discovery, RegistryApplicationsComeBeforeLegacyOnes) {
    const TLegacyIni legacy("[ProgInfo]\r\nP=Kasboek 1.0,KAS\r\n[KAS]\r\n");
    WriteApp("Kasboek", "Brantel Kasboek", {{"ReleaseVersion", "5.0"}});
    EXPECT_EQ(DisplayTexts(Discover()),
              (std::vector<std::string>{"Brantel Kasboek (5.0)", "Brantel Kasboek 1 (1.0.0)"}));
}

// Every call reads the registry and BRANTEL.INI afresh: what was installed, changed or removed
// since the previous call shows at once, whatever was read before.
TEST_F(Discovery, EveryCallSeesWhatChangedSinceThePrevious) {
    const std::string kasSection = "[ProgInfo]\r\nP=Kasboek 1.0,KAS\r\n[KAS]\r\nReleaseVersion=1.1\r\n";
    const struct {
        const char* Change;
        std::function<void()> Apply;
        std::vector<std::string> Expected;
    } steps[] = {
        {"nothing installed", [] {}, {}},
        {"an application registers", [] { WriteApp("Adresboek", "Brantel Adresboek", {{"ReleaseVersion", "2.0"}}); },
         {"Brantel Adresboek (2.0)"}},
        {"its build changes", [] { CreateKey(Brantel + "Adresboek\\1.0\\NL").WriteString("ReleaseVersion", "2.1"); },
         {"Brantel Adresboek (2.1)"}},
        {"a legacy line appears", [&] { WriteFileBytes(GetWindowsFolder() + "\\BRANTEL.INI", kasSection); },
         {"Brantel Adresboek (2.1)", "Brantel Kasboek 1 (1.1)"}},
        {"its section changes",
         [&] {
             WriteFileBytes(GetWindowsFolder() + "\\BRANTEL.INI",
                            "[ProgInfo]\r\nP=Kasboek 1.0,KAS\r\n[KAS]\r\nReleaseVersion=1.2\r\n");
         },
         {"Brantel Adresboek (2.1)", "Brantel Kasboek 1 (1.2)"}},
        {"the application is removed", [] { TRegKey::DeleteKey(HKEY_LOCAL_MACHINE, Brantel + "Adresboek"); },
         {"Brantel Kasboek 1 (1.2)"}},
        {"the legacy line goes", [] { WriteFileBytes(GetWindowsFolder() + "\\BRANTEL.INI", "[ProgInfo]\r\n"); }, {}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.Change);
        step.Apply();
        EXPECT_EQ(DisplayTexts(Discover()), step.Expected);
    }
}

TEST(DiscoveryGeneralItem, ComesLastWithItsAddresses) {
    BranModel();
    const TLegacyIni noLegacyFile(std::nullopt);
    struct TCase {
        std::function<void()> Arrange;
        std::string Helpdesk, Shop;
    };
    const TCase cases[] = {
        {[] {}, DefaultHelpdeskAddress(), DefaultShopAddress()},
        {[] { CreateKey(Brantel + "Shared"); }, DefaultHelpdeskAddress(), DefaultShopAddress()},
        {[] { CreateKey(Brantel + "Shared").WriteString("CurrentLanguage", "NL"); }, DefaultHelpdeskAddress(),
         DefaultShopAddress()},
        {[] {
             CreateKey(Brantel + "Shared").WriteString("CurrentLanguage", "NL");
             TRegKey nl = CreateKey(Brantel + "Shared\\NL");
             nl.WriteString("URLHelpdesk", "helpdesk.example/nl");
             nl.WriteString("URLSHOP", "winkel.example/nl");
         },
         "helpdesk.example/nl", "winkel.example/nl"},
        {[] {
             CreateKey(Brantel + "Shared").WriteString("CurrentLanguage", "NL");
             CreateKey(Brantel + "Shared\\NL").WriteString("URLHelpdesk", "helpdesk.example/nl");
         },
         "helpdesk.example/nl", DefaultShopAddress()},
    };
    EXPECT_EQ(DefaultHelpdeskAddress(), MakerWebHost() + "/cgi-brantel/frames/produkt_inlog.cgi?set=helpdesk");
    EXPECT_EQ(DefaultShopAddress(), MakerWebHost() + "/cgi-brantel/frames/produkt_inlog.cgi?set=shop");
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        TRegistrySandbox sandbox;
        WriteApp("Kasboek", "Brantel Kasboek");
        cases[i].Arrange();
        TServiceItemList list;
        CollectServiceItems(list);
        ASSERT_EQ(list.size(), 2u);
        EXPECT_EQ(list[1].get(), &GetGeneralServiceItem());
        EXPECT_EQ(list[1]->HelpdeskURL().AsString(), cases[i].Helpdesk);
        EXPECT_EQ(list[1]->ShopURL().AsString(), cases[i].Shop);
    }
}

namespace {
enum class TRegType { String, DWord, Binary, MultiString, ExpandString };

void WriteAs(const std::string& keyPath, const std::string& value, TRegType type, const std::string& text) {
    TRegKey key = CreateKey(keyPath);
    switch (type) {
        case TRegType::String: key.WriteString(value, text); break;
        case TRegType::DWord: key.WriteInteger(value, 1); break;
        case TRegType::Binary: key.WriteBinary(value, std::vector<uint8_t>(text.begin(), text.end())); break;
        case TRegType::ExpandString: key.WriteExpandString(value, text); break;
        case TRegType::MultiString: {
            std::wstring data = Widen(text) + L'\0' + L"tweede" + L'\0' + L'\0';
            ASSERT_EQ(RegSetValueExW(key.Handle(), Widen(value).c_str(), 0, REG_MULTI_SZ,
                                     reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size() * 2)),
                      ERROR_SUCCESS);
            break;
        }
    }
}

const char* TypeName(TRegType type) {
    static const char* const names[] = {"REG_SZ", "REG_DWORD", "REG_BINARY", "REG_MULTI_SZ", "REG_EXPAND_SZ"};
    return names[static_cast<int>(type)];
}

// A complete application "Kasboek" with every value, its uninstall entry and the shared addresses.
void WriteCompleteRegistry() {
    WriteApp("Kasboek", "Brantel Kasboek",
             {{"HelpFile", "kas.hlp"}, {"ReadMeFile", "leesmij.txt"}, {"InstallLog", "install.log"},
              {"ProgramLog", "kas.log"}, {"ReleaseVersion", "3.1.4"}, {"ReleaseDate", "20000131"},
              {"UninstallKey", "Kasboek"}, {"URLHelpdesk", "hd.example"}, {"HelpdeskEmailAddress", "hd@example"},
              {"HelpdeskPostAddress", "Postbus 1"}, {"HelpdeskFaxNumber", "010-1"}, {"HelpdeskZipcode", "1234 AB"},
              {"Helpdeskdescription", "Helpdesk"}});
    CreateKey(Brantel + "Kasboek").WriteInteger("AddedByService", 0);
    CreateKey(Brantel + "Kasboek\\1.0\\TechInfo").WriteString("Printer", "True");
    CreateKey(Uninstall + "Kasboek").WriteString("UninstallString", "C:\\UNINST.EXE");
    CreateKey(Brantel + "Shared").WriteString("CurrentLanguage", "NL");
    TRegKey shared = CreateKey(Brantel + "Shared\\NL");
    shared.WriteString("URLHelpdesk", "helpdesk.example/nl");
    shared.WriteString("URLSHOP", "winkel.example/nl");
}

enum class TOutcome { LeftOut, PropertyKept, BuildUnknown, DateEmpty, UninstallEmpty, SharedDefaults };
}  // namespace

// Every value the discovery reads, with each registry type it does not expect.
TEST(DiscoveryBadInput, WrongValueTypesNeverCrashAndGiveTheirFallback) {
    BranModel();
    const TLegacyIni noLegacyFile(std::nullopt);
    using P = TStringProp& (TServiceItem::*)() const;
    struct TCase {
        std::string Key;  // below HKEY_LOCAL_MACHINE
        const char* Value;
        std::string Good;  // the text it holds when read as a string
        TOutcome Outcome;
        P Prop = nullptr;
    };
    const std::string app = Brantel + "Kasboek", ver = app + "\\1.0", lang = ver + "\\NL";
    const TCase cases[] = {
        {app, "CurrentVersion", "1.0", TOutcome::LeftOut},
        {ver, "CurrentLanguage", "NL", TOutcome::LeftOut},
        {ver + "\\TechInfo", "Printer", "True", TOutcome::LeftOut},
        {lang, "", "Brantel Kasboek", TOutcome::LeftOut},
        {lang, "HelpFile", "kas.hlp", TOutcome::PropertyKept, &TServiceItem::HelpFile},
        {lang, "ReadMeFile", "leesmij.txt", TOutcome::PropertyKept, &TServiceItem::ReadmeFile},
        {lang, "InstallLog", "install.log", TOutcome::PropertyKept, &TServiceItem::InstallLog},
        {lang, "ProgramLog", "kas.log", TOutcome::PropertyKept, &TServiceItem::ProgramLog},
        {lang, "ReleaseVersion", "3.1.4", TOutcome::BuildUnknown},
        {lang, "ReleaseDate", "20000131", TOutcome::DateEmpty},
        {lang, "UninstallKey", "Kasboek", TOutcome::UninstallEmpty},
        {Uninstall + "Kasboek", "UninstallString", "C:\\UNINST.EXE", TOutcome::UninstallEmpty},
        {lang, "URLHelpdesk", "hd.example", TOutcome::PropertyKept, &TServiceItem::HelpdeskURL},
        {lang, "HelpdeskEmailAddress", "hd@example", TOutcome::PropertyKept, &TServiceItem::HelpDeskEmailAddress},
        {lang, "HelpdeskPostAddress", "Postbus 1", TOutcome::PropertyKept, &TServiceItem::HelpDeskPostAddress},
        {lang, "HelpdeskFaxNumber", "010-1", TOutcome::PropertyKept, &TServiceItem::HelpDeskFaxNumber},
        {lang, "HelpdeskZipcode", "1234 AB", TOutcome::PropertyKept, &TServiceItem::HelpDeskZipcode},
        {lang, "Helpdeskdescription", "Helpdesk", TOutcome::PropertyKept, &TServiceItem::HelpDeskDescription},
        {Brantel + "Shared", "CurrentLanguage", "NL", TOutcome::SharedDefaults},
        {Brantel + "Shared\\NL", "URLHelpdesk", "helpdesk.example/nl", TOutcome::SharedDefaults},
        {Brantel + "Shared\\NL", "URLSHOP", "winkel.example/nl", TOutcome::SharedDefaults},
    };
    for (const TCase& c : cases) {
        for (TRegType type : {TRegType::DWord, TRegType::Binary, TRegType::MultiString, TRegType::ExpandString}) {
            SCOPED_TRACE(c.Key + " \"" + c.Value + "\" as " + TypeName(type));
            TRegistrySandbox sandbox;
            WriteCompleteRegistry();
            WriteAs(c.Key, c.Value, type, c.Good);
            // An expandable string is a string to the reader: it must give the normal result.
            const bool wrong = type != TRegType::ExpandString;
            TServiceItemList list;
            ASSERT_NO_THROW(CollectServiceItems(list));
            ASSERT_FALSE(list.empty());
            const TServiceItem& general = *list.back();
            ASSERT_EQ(&general, &GetGeneralServiceItem());
            if (c.Outcome == TOutcome::LeftOut && wrong) {
                EXPECT_EQ(list.size(), 1u);
                continue;
            }
            ASSERT_EQ(list.size(), 2u);
            const TServiceItem& found = *list[0];
            EXPECT_EQ(found.Name().AsString(), "Brantel Kasboek");
            EXPECT_EQ(CategoryIds(found), Available({"Printer"}));
            const bool failed = wrong && c.Outcome != TOutcome::LeftOut;
            if (c.Prop) {
                EXPECT_EQ((found.*c.Prop)().AsString(), failed ? "" : c.Good);
            }
            EXPECT_EQ(found.Build().AsString(), failed && c.Outcome == TOutcome::BuildUnknown ? "???" : "3.1.4");
            EXPECT_EQ(found.ReleaseDate().IsNull(), failed && c.Outcome == TOutcome::DateEmpty);
            EXPECT_EQ(found.Uninstall().AsString(), failed && c.Outcome == TOutcome::UninstallEmpty ? "" : "C:\\UNINST.EXE");
            const bool defaults = failed && c.Outcome == TOutcome::SharedDefaults;
            EXPECT_EQ(general.HelpdeskURL().AsString(), defaults ? DefaultHelpdeskAddress() : "helpdesk.example/nl");
            EXPECT_EQ(general.ShopURL().AsString(), defaults ? DefaultShopAddress() : "winkel.example/nl");
        }
    }
}

TEST(DiscoveryBadInput, AddedByServiceMustBeAnInteger) {
    BranModel();
    const TLegacyIni noLegacyFile(std::nullopt);
    for (TRegType type : {TRegType::String, TRegType::Binary, TRegType::MultiString, TRegType::ExpandString}) {
        SCOPED_TRACE(TypeName(type));
        TRegistrySandbox sandbox;
        WriteCompleteRegistry();
        WriteAs(Brantel + "Kasboek", "AddedByService", type, "1");
        WriteApp("Ander", "Brantel Ander");
        EXPECT_EQ(DisplayTexts(Discover()), (std::vector<std::string>{"Brantel Ander ()"}));
    }
}
