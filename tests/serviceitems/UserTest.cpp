#include <gtest/gtest.h>

#include <map>

#include "BranModelFixture.h"
#include "Source/Common/Catalogue/Deployment.h"
#include "Source/Common/Catalogue/User.h"
#include "TestSupport.h"
#include "core/StrConv.h"
#include "platform/Registry.h"

namespace {
class User : public testing::Test {
protected:
    void SetUp() override { BranModel(); }
    TRegistrySandbox FRegistry;

    // Where the record really lives while HKEY_LOCAL_MACHINE is redirected to the sandbox.
    std::string RealKeyPath() const {
        return "HKEY_CURRENT_USER\\" + FRegistry.ScratchPath() + "\\HKLM\\" + UserRegistrationKey;
    }
};

struct THandle {
    HANDLE H = nullptr;
    ~THandle() {
        if (H) CloseHandle(H);
    }
};

// The values of a key as another process sees them: "reg query" run as a child, its output parsed
// ("    Name    REG_SZ    Value" lines). Values of other types are left out.
std::map<std::string, std::string> QueryWithReg(const std::string& keyPath) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    THandle readEnd, writeEnd;
    if (!CreatePipe(&readEnd.H, &writeEnd.H, &inherit, 0)) return {};
    SetHandleInformation(readEnd.H, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = writeEnd.H;
    std::wstring command = Widen("reg.exe query \"" + keyPath + "\"");
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
        return {};
    THandle process{pi.hProcess}, thread{pi.hThread};
    CloseHandle(writeEnd.H);
    writeEnd.H = nullptr;
    std::string output;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd.H, buffer, sizeof buffer, &got, nullptr) && got) output.append(buffer, got);
    WaitForSingleObject(process.H, 10000);

    std::map<std::string, std::string> values;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        std::string line = output.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string marker = "    REG_SZ    ";
        size_t at = line.find(marker);
        if (line.rfind("    ", 0) != 0 || at == std::string::npos) continue;
        values[Trim(line.substr(0, at))] = line.substr(at + marker.size());
    }
    return values;
}
}  // namespace

TEST_F(User, DescriptorPropertiesInRegistrationOrder) {
    const TVariant none, empty("");
    const char* s = "TStringProp";
    ExpectPropTable(
        *GlobalApp().FindObjDesc("TUser"),
        {
            {"LastName", "Achter&naam", "De achternaam van de gebruiker.", s, 80, none,
             apfPrimaryKey | apfIndexed | apfRequired},
            {"Initials", "&Voorletters", "De voorletters van de gebruiker.", s, 80, none, 0},
            {"Prefix", "T&ussenvoegsel(s)", "Het tussenvoegsel van de gebruiker.", s, 80, empty, 0},
            {"Organization", "&Bedrijf", "Het bedrijf van de gebruiker.", s, 80, none, 0},
            {"Street", "&Straat", "De straat waar de gebruiker woont.", s, 80, none, 0},
            {"HouseNumber", "&Huisnummer", "Het huisnummer in de straat waar de gebruiker woont.", s, 80, none, 0},
            {"ZipCode", "Post&code", "De postcode van de gebruiker.", s, 80, none, 0},
            {"City", "&Plaats", "De plaats waar de gebruiker woont.", s, 80, none, 0},
            {"Country", "&Land", "Het land waar de gebruiker in woont.", s, 80, none, 0},
            {"E-mail", "&E-mail", "Het e-mailadres van de gebruiker.", s, 80, none, 0},
            {"Tel", "&Telefoon", "Het telefoonnummer van de gebruiker.", s, 80, none, 0},
            {"ReachableFrom", "Berei&kbaar van", "Tijd vanaf de gebruiker per telefoon bereikbaar is.", s, 7, "08:00", 0},
            {"ReachableUntil", "Bereikbaar tot", "Tijd totdat de gebruiker per telefoon bereikbaar is.", s, 7, "17:00", 0},
            {"Fax", "&Fax", "Het faxnummer van de gebruiker.", s, 80, empty, 0},
            {"CallBeforeFax", "Bellen &alvorens naar dit nummer te faxen",
             "Gebruiker moet eerst worden gebeld voordat een fax kan worden gestuurd.", "TBooleanProp", -1, false, 0},
            {"Internet", "&Ik beschik over een Internet-aansluiting",
             "De gebruiker beschikt over een Internet-aansluiting", "TBooleanProp", -1, true, 0},
            {"Mailserver", "&Mailserver", "Mailserver", s, 40, DefaultMailHost, 0},
            {"MailSecurity", "&Beveiliging", "De beveiliging van de verbinding met de mailserver.", s, 10, none, 0},
            {"MailUserName", "&Gebruikersnaam", "De gebruikersnaam bij de mailserver.", s, 80, none, 0},
        });
    // The default mail host is a host name in upper case that fits the property.
    const std::string host = DefaultMailHost;
    EXPECT_EQ(host, UpperCase(host));
    EXPECT_LE(host.size(), 40u);
    EXPECT_NE(host.find('.'), std::string::npos);
}

TEST_F(User, CustomerNumber) {
    struct {
        const char* zip;
        const char* house;
        const char* last;
        const char* number;
        bool has;
    } cases[] = {
        {"1234 AB", "12 a", "Jansen", "1234AB12aJan", true},
        {"1234 AB", "12", "Li", "1234AB12Li", true},
        {"1234AB", " 7 ", "Öztürk", "1234AB7Özt", true},
        {"", "12", "Jansen", "12Jan", false},
        {nullptr, "12", "Jansen", "12Jan", false},
        {"1234 AB", nullptr, "Jansen", "1234ABJan", false},
        {"1234 AB", "12", "", "1234AB12", false},
    };
    for (const auto& c : cases) {
        TUser user;
        auto set = [](TStringProp& p, const char* v) { v ? p.SetAsString(v) : p.Clear(); };
        set(user.ZipCode(), c.zip);
        set(user.HouseNumber(), c.house);
        set(user.LastName(), c.last);
        EXPECT_EQ(user.CustomerNumber(), c.number) << c.number;
        EXPECT_EQ(user.HasCustomerNumber(), c.has) << c.number;
    }
}

TEST_F(User, LoadingAnEmptyKeyLeavesNoDefaults) {
    TUser user;
    user.LoadFromRegistry();
    EXPECT_TRUE(TRegKey::KeyExists(HKEY_LOCAL_MACHINE, UserRegistrationKey)) << "loading creates the key";
    for (int nr = 0; nr < user.PropCount(); ++nr) {
        const TAppProp& p = user.Prop(nr);
        if (p.Name() == "Internet") EXPECT_EQ(p.AsVariant(), TVariant(true));
        else if (p.Name() == "CallBeforeFax") EXPECT_EQ(p.AsVariant(), TVariant(false));
        // The last name is required and may not be Null: it becomes empty text.
        else if (p.Name() == "LastName") EXPECT_EQ(p.AsVariant(), TVariant(""));
        else EXPECT_TRUE(p.AsVariant().IsNull()) << p.Name();
    }
}

TEST_F(User, SavedRecordIsSeenByAnotherProcess) {
    TUser user;
    user.LoadFromRegistry();
    user.LastName().SetAsString("Jansen");
    user.Initials().SetAsString("J.P.");
    user.ZipCode().SetAsString("1234 AB");
    user.ReachableFrom().SetAsString("09:00");
    user.Fax().SetAsString("030-1234567");
    user.CallBeforeFax().SetAsVariant(true);
    user.Internet().SetAsVariant(false);
    user.Mailserver().SetAsString("SMTP.EXAMPLE.NL");
    ASSERT_TRUE(user.SaveToRegistry());

    auto values = QueryWithReg(RealKeyPath());
    const std::map<std::string, std::string> expected = {
        {"LastName", "Jansen"},     {"Initials", "J.P."},          {"ZipCode", "1234 AB"},
        {"ReachableFrom", "09:00"}, {"Fax", "030-1234567"},        {"CallBeforeFax", "True"},
        {"Internet", "False"},      {"Mailserver", "SMTP.EXAMPLE.NL"},
    };
    EXPECT_EQ(values, expected);

    // A property without a value takes its registry value away.
    user.Fax().Clear();
    user.Initials().Clear();
    ASSERT_TRUE(user.SaveToRegistry());
    values = QueryWithReg(RealKeyPath());
    EXPECT_EQ(values.count("Fax"), 0u);
    EXPECT_EQ(values.count("Initials"), 0u);
    EXPECT_EQ(values["LastName"], "Jansen");
}

TEST_F(User, RecordSurvivesARoundTrip) {
    TUser user;
    user.LoadFromRegistry();
    user.LastName().SetAsString("Müller-Lüdenscheidt");
    user.City().SetAsString("'s-Hertogenbosch");
    user.Tel().SetAsString("");
    user.CallBeforeFax().SetAsVariant(true);
    ASSERT_TRUE(user.SaveToRegistry());

    TUser loaded;
    loaded.LoadFromRegistry();
    for (int nr = 0; nr < user.PropCount(); ++nr)
        EXPECT_EQ(loaded.Prop(nr).AsVariant(), user.Prop(nr).AsVariant()) << user.Prop(nr).Name();
}

TEST_F(User, SavingWithoutTheKeyWritesNothing) {
    TUser user;
    user.LastName().SetAsString("Jansen");
    EXPECT_FALSE(user.SaveToRegistry());
    EXPECT_FALSE(TRegKey::KeyExists(HKEY_LOCAL_MACHINE, UserRegistrationKey));
}

TEST_F(User, DamagedValues) {
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, UserRegistrationKey, true));
    key.WriteString("Internet", "ja");         // not one of the two texts: as if missing
    key.WriteString("CallBeforeFax", "true");  // the texts are compared exactly
    key.WriteString("Fax", "");
    TUser user;
    user.LoadFromRegistry();
    EXPECT_EQ(user.Internet().AsVariant(), TVariant(true));
    EXPECT_EQ(user.CallBeforeFax().AsVariant(), TVariant(false));
    EXPECT_EQ(user.Fax().AsVariant(), TVariant(""));

    // A value of the wrong registry type is left to the caller to report.
    key.WriteInteger("City", 12);
    EXPECT_THROW(user.LoadFromRegistry(), ERegistry);
}
