#include <gtest/gtest.h>

#include "HttpTestPeer.h"
#include "ModelFixture.h"
#include "RealKeys.h"
#include "RealMessageBoxes.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Internet/OnlineUpdateForm.h"
#include "TestSupport.h"
#include "core/DateTime.h"
#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/Handles.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace {
const char* const kNoConnection = "Uw PC kan geen verbinding maken met Brantel Online";

std::shared_ptr<TBranApplication> Application(const std::string& name, const std::string& build) {
    auto app = std::make_shared<TBranApplication>();
    app->Name().SetAsString(name);
    app->Build().SetAsString(build);
    return app;
}

// The index of the checks: equal version, a version with fewer parts, both date orders, an impossible
// and an empty date, an upgrade with an older release, and this program itself.
const char* const kIndex =
    "[Kasboek]\r\nReleaseVersion=1.0.5.0\r\nReleaseDate=20001231\r\nUpdateSize=100\r\nUpdateExe=http://x/k.exe\r\n"
    "[Boekhouden]\r\nReleaseVersion=1.0.5\r\nReleaseDate=20001231\r\nUpdateSize=500\r\n"
    "UpdateInfo=http://x/boekhouden.html\r\nUpdateExe=http://x/b.exe\r\n"
    "[Facturering]\r\nReleaseVersion=2.1\r\nReleaseDate=20003112\r\nUpdateSize=580\r\nUpdateExe=http://x/f.exe\r\n"
    "UpgradeExe=http://x/fdemo.exe\r\nUpgradeSize=2000\r\nUpgradeInfo=http://x/fdemo.html\r\n"
    "[Adresboek]\r\nReleaseVersion=2.9\r\nReleaseDate=20001231\r\nUpgradeExe=http://x/a.exe\r\nUpgradeSize=9\r\n"
    "[Muziek]\r\nReleaseVersion=1.1\r\nReleaseDate=\r\nUpdateSize=7\r\n"
    "[Cursus]\r\nReleaseVersion=1.1\r\nReleaseDate=20001332\r\nUpdateSize=3\r\n"
    "[Bran-Service]\r\nReleaseVersion=1.0.2\r\nReleaseDate=20010102\r\nUpdateSize=40\r\n";

class OnlineUpdate : public testing::Test {
protected:
    OnlineUpdate() {
        SetProgramFolder(Scratch.Path());
        Items = {General,
                 Application("Kasboek", "1.0.5.0"),
                 Application("Boekhouden", "1.0.4.9"),
                 Application("Facturering", "2.0"),
                 Application("Adresboek", "3.0"),
                 Application("Muziek", "1.0"),
                 Application("Cursus", "1.0")};
    }
    ~OnlineUpdate() override {
        SetProgramFolder("");
        SetShellHook({});
    }
    std::shared_ptr<TServiceItem> Item(const std::string& name) {
        for (auto& item : Items)
            if (item->Name().AsString() == name) return item;
        return nullptr;
    }
    // Rows as "caption|version|date|size".
    static std::vector<std::string> Rows(const TfrmOnlineUpdate& f) {
        std::vector<std::string> rows;
        for (int i = 0; i < f.lstUpdates.Count(); ++i)
            rows.push_back(f.lstUpdates.ItemCaption(i) + "|" + f.lstUpdates.SubItem(i, 0) + "|" +
                           f.lstUpdates.SubItem(i, 1) + "|" + f.lstUpdates.SubItem(i, 2));
        return rows;
    }
    // Reads an index that offers Boekhouden's setup from url (with more keys) and marks the offer.
    void MarkBoekhoudenSetup(TfrmOnlineUpdate& f, const std::string& url, const std::string& keys) {
        const std::string index = Scratch.WriteFile(
            "Temp\\Update.ini",
            "[Boekhouden]\r\nReleaseVersion=1.0.5\r\nReleaseDate=20001231\r\n" + keys + "UpdateExe=" + url + "\r\n");
        f.SetServiceItems(Item("Boekhouden"), Items);
        ASSERT_TRUE(f.ReadUpdateIndex(index));
        f.lstUpdates.SetChecked(0, true);
    }
    void PointIndexAt(const std::string& url) {
        TRegKey shared, language;
        ASSERT_TRUE(shared.Open(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Shared", true));
        shared.WriteString("CurrentLanguage", "NL");
        ASSERT_TRUE(language.Open(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Shared\\NL", true));
        language.WriteString("UpdateIni", url);
    }

    TAppModel& Model = BranModel();
    TRegistrySandbox Registry;
    TScratchFolder Scratch;
    std::shared_ptr<TServiceItem> General{&GetGeneralServiceItem(), [](TServiceItem*) {}};
    std::vector<std::shared_ptr<TServiceItem>> Items;
};
}  // namespace

TEST(VersionNumber, TwoDigitsPerPartAtLeastFourPartsAndOverflowRaises) {
    const std::pair<const char*, int32_t> good[] = {
        {"1.0.1.14", 1000114}, {"1.2", 1020000}, {"1.0.5", 1000500}, {"1.0.4.9", 1000409},
        {"1.0.5b", 1000500},   {"5", 5000000},   {"99.99.99.99", 99999999}, {"1.2.3.4.5", 102030405},
    };
    for (const auto& [text, number] : good) EXPECT_EQ(VersionNumber(text), number) << text;
    EXPECT_LT(VersionNumber("1.0.4.9"), VersionNumber("1.0.5"));
    for (const char* bad : {"", "1..2", "1.x.3", "a", "1.0.0.0.0.0", "2147483647", "3000"})
        EXPECT_THROW(VersionNumber(bad), EBrantel) << bad;
}

TEST(ReleaseDate, BothOrdersImpossibleDatesEmptyAndNonNumbersRaise) {
    EXPECT_EQ(ReleaseDateText("20001231"), "31-12-2000");
    EXPECT_EQ(ReleaseDateText("20003112"), "31-12-2000");
    EXPECT_EQ(ReleaseDateText("20010102"), "2-1-2001");
    EXPECT_EQ(ReleaseDateText("20001332"), "");
    EXPECT_EQ(ReleaseDateText("20000230"), "");
    for (const char* bad : {"", "2000", "2000ab12", "20001"}) EXPECT_THROW(ReleaseDateText(bad), EBrantel) << bad;
}

TEST_F(OnlineUpdate, GeneralItemExaminesEveryItemAndTheMarkedTextAddsSizes) {
    const std::string index = Scratch.WriteFile("Temp\\Update.ini", kIndex);
    TfrmOnlineUpdate f;
    f.SetServiceItems(General, Items);
    f.Show();
    EXPECT_TRUE(f.ReadUpdateIndex(index));
    EXPECT_EQ(Rows(f), (std::vector<std::string>{
                           "Boekhouden|1.0.5|31-12-2000|500 kB",
                           "Bran-Service|1.0.2|2-1-2001|40 kB",
                           "Cursus|1.1||3 kB",
                           "Facturering|2.1|31-12-2000|580 kB",
                           "Facturering|Upgrade||2000 kB",
                       }));
    EXPECT_EQ(f.pnlInfo.Caption(), "Geen updates gemarkeerd");
    f.lstUpdates.SetChecked(0, true);
    EXPECT_EQ(f.pnlInfo.Caption(), "1 update gemarkeerd. Totale download-grootte: 500 kB");
    f.lstUpdates.SetChecked(3, true);
    EXPECT_EQ(f.pnlInfo.Caption(), "2 updates gemarkeerd. Totale download-grootte: 1080 kB");
    f.lstUpdates.SetChecked(0, false);
    EXPECT_EQ(f.pnlInfo.Caption(), "1 update gemarkeerd. Totale download-grootte: 580 kB");

    // Info follows the selected row's page.
    f.lstUpdates.SetSelected(0);
    EXPECT_TRUE(f.btnInfo.Enabled());
    f.lstUpdates.SetSelected(1);
    EXPECT_FALSE(f.btnInfo.Enabled());
    const auto upgrade = f.lstUpdates.ItemData<TUpdateInfo>(4);
    EXPECT_EQ(upgrade->FileName, "demo.exe");
    EXPECT_EQ(upgrade->DownloadUrl, "http://x/fdemo.exe");
    EXPECT_EQ(f.lstUpdates.ItemData<TUpdateInfo>(3)->FileName, "setup.exe");
}

TEST_F(OnlineUpdate, AnApplicationBringsOnlyItselfAndThisProgram) {
    const std::string index = Scratch.WriteFile("Temp\\Update.ini", kIndex);
    TfrmOnlineUpdate f;
    for (const auto& [name, expected] : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"Facturering", {"Bran-Service|1.0.2|2-1-2001|40 kB", "Facturering|2.1|31-12-2000|580 kB",
                              "Facturering|Upgrade||2000 kB"}},
             {"Adresboek", {"Bran-Service|1.0.2|2-1-2001|40 kB"}},
             {"Muziek", {"Bran-Service|1.0.2|2-1-2001|40 kB"}},
         }) {
        SCOPED_TRACE(name);
        f.SetServiceItems(Item(name), Items);
        EXPECT_TRUE(f.ReadUpdateIndex(index));
        EXPECT_EQ(Rows(f), expected);
    }
    // Nothing newer anywhere: no rows, and no offer found.
    const std::string old = Scratch.WriteFile("Temp\\Old.ini", "[Kasboek]\r\nReleaseVersion=1.0.5.0\r\n[Bran-Service]\r\nReleaseVersion=1.0.1.14\r\n");
    f.SetServiceItems(Item("Kasboek"), Items);
    EXPECT_FALSE(f.ReadUpdateIndex(old));
    EXPECT_EQ(f.lstUpdates.Count(), 0);
}

// The whole road: the index from the registry's address, two marked rows of which one fails, the
// install list, the restart entry and the installer's start.
TEST_F(OnlineUpdate, DownloadsTheMarkedSetupsAndOffersThemForInstallation) {
    const std::string setup = "MZ\x90 setup of Boekhouden";
    THttpTestPeer peer({{"/boekhouden/setup.exe", {200, setup}}}, 2);
    const std::string index = "[Boekhouden]\r\nReleaseVersion=1.0.5\r\nReleaseDate=20001231\r\nUpdateSize=1\r\n"
                              "UpdateExe=" + peer.Url("/boekhouden/setup.exe") +
                              "\r\n[Bran-Service]\r\nReleaseVersion=1.0.2\r\nUpdateSize=40\r\nReleaseDate=20010102\r\n"
                              "UpdateExe=" + peer.Url("/missing/setup.exe") + "\r\n";
    // The index names the setups' peer, so it comes from a second one.
    THttpTestPeer indexPeer({{"/iupdate.dat", {200, index}}}, 1);
    PointIndexAt(indexPeer.Url("/iupdate.dat"));
    std::vector<TShellStart> starts;
    SetShellHook([&](const TShellStart& s) { return starts.push_back(s), intptr_t(42); });
    TMessageRecorder messages;

    TfrmOnlineUpdate f;
    f.SetServiceItems(Item("Boekhouden"), Items);
    f.Show();
    EXPECT_EQ(f.pgcWizard.ActivePage(), &f.tabConnection);
    f.NextButton()->Click();
    ASSERT_EQ(f.pgcWizard.ActivePage(), &f.tabUpdates);
    EXPECT_TRUE(FileExists(Scratch / "Temp\\Update.ini"));
    ASSERT_EQ(f.lstUpdates.Count(), 2);

    f.NextButton()->Click();  // nothing marked: nothing happens
    EXPECT_EQ(f.pgcWizard.ActivePage(), &f.tabUpdates);
    EXPECT_TRUE(messages.Texts().empty());

    f.lstUpdates.SetChecked(0, true);
    f.lstUpdates.SetChecked(1, true);
    f.NextButton()->Click();
    ASSERT_EQ(f.pgcWizard.ActivePage(), &f.tabInstall);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{kNoConnection});  // the program's own setup: 404
    EXPECT_EQ(ReadFileBytes(Scratch / "Updates\\Boekhouden\\setup.exe"), setup);
    EXPECT_FALSE(FileExists(Scratch / "Updates\\(Algemeen)\\setup.exe"));
    ASSERT_EQ(f.lstSetups.Count(), 1);
    EXPECT_EQ(f.lstSetups.ItemCaption(0), "Boekhouden update");
    EXPECT_EQ(f.WizardCancelButton()->Kind(), TBitBtnKind::bkClose);
    EXPECT_EQ(TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, RestartEntryKey).ReadString("Bran-Service"), GetExeName());

    EXPECT_FALSE(f.btnInstall.Enabled());
    f.lstSetups.SetSelected(0);
    EXPECT_TRUE(f.btnInstall.Enabled());
    f.btnInstall.Click();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].File, Scratch / "Updates\\Boekhouden\\setup.exe");

    f.NextButton()->Click();  // Finish
    EXPECT_FALSE(TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, RestartEntryKey).ValueExists("Bran-Service"));
    EXPECT_EQ(f.ModalResult(), mrOk);
    peer.Join();
    EXPECT_EQ(peer.Requests(), (std::vector<std::string>{"/boekhouden/setup.exe", "/missing/setup.exe"}));
}

// No connection: the real information box, answered from a second thread; the wizard stays. Then
// an index without news leads to the final page with Close.
TEST_F(OnlineUpdate, NoConnectionKeepsThePageAndNoNewsEndsOnNoUpdates) {
    int closedPort;
    {
        THttpTestPeer probe({}, 0);
        closedPort = probe.Port();
    }
    PointIndexAt("http://127.0.0.1:" + std::to_string(closedPort) + "/iupdate.dat");
    TfrmOnlineUpdate f;
    f.SetServiceItems(General, Items);
    f.Show();

    {
        TRealMessageBoxes user;
        f.NextButton()->Click();
        EXPECT_EQ(user.Texts(), std::vector<std::string>{kNoConnection});
    }
    EXPECT_EQ(f.pgcWizard.ActivePage(), &f.tabConnection);
    TMessageRecorder messages;

    THttpTestPeer peer({{"/iupdate.dat", {200, "[Bran-Service]\r\nReleaseVersion=1.0.1.14\r\n"}}}, 1);
    PointIndexAt(peer.Url("/iupdate.dat"));
    f.NextButton()->Click();
    EXPECT_EQ(f.pgcWizard.ActivePage(), &f.tabNoUpdates);
    EXPECT_EQ(f.WizardCancelButton()->Kind(), TBitBtnKind::bkClose);
    EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(OnlineUpdate, AnErrorPageOrAnOversizedBodyIsNoIndex) {
    const std::string news = "[Bran-Service]\r\nReleaseVersion=9.0\r\n";
    for (const THttpAnswer& answer : {THttpAnswer{404, news}, THttpAnswer{200, news + std::string(1024 * 1024, ';')},
                                      THttpAnswer{200, news + std::string(1024 * 1024, ';'), false}}) {
        SCOPED_TRACE(answer.Status);
        THttpTestPeer peer({{"/iupdate.dat", answer}}, 1);
        PointIndexAt(peer.Url("/iupdate.dat"));
        TMessageRecorder messages;
        TfrmOnlineUpdate f;
        f.SetServiceItems(General, Items);
        f.Show();
        f.NextButton()->Click();
        EXPECT_EQ(f.pgcWizard.ActivePage(), &f.tabConnection);
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{kNoConnection});
        EXPECT_EQ(f.lstUpdates.Count(), 0);
    }
}

TEST_F(OnlineUpdate, SizesAreAddedIn64BitsAndAnUnusableSizeCountsAsUnknown) {
    const std::string index = Scratch.WriteFile(
        "Temp\\Update.ini", "[Boekhouden]\r\nReleaseVersion=2.0\r\nReleaseDate=20001231\r\nUpdateSize=2147483647\r\n"
                            "UpgradeExe=http://x/b.exe\r\nUpgradeSize=-7\r\n"
                            "[Facturering]\r\nReleaseVersion=2.1\r\nReleaseDate=20001231\r\nUpdateSize=3000000000\r\n"
                            "UpgradeExe=http://x/f.exe\r\nUpgradeSize=12kB\r\n"
                            "[Bran-Service]\r\nReleaseVersion=9.0\r\nReleaseDate=20001231\r\nUpdateSize=5\r\n");
    TfrmOnlineUpdate f;
    f.SetServiceItems(General, Items);
    ASSERT_TRUE(f.ReadUpdateIndex(index));
    EXPECT_EQ(Rows(f), (std::vector<std::string>{"Boekhouden|2.0|31-12-2000|2147483647 kB", "Boekhouden|Upgrade||0 kB",
                                                  "Bran-Service|9.0|31-12-2000|5 kB", "Facturering|2.1|31-12-2000|0 kB",
                                                  "Facturering|Upgrade||0 kB"}));
    for (int i = 0; i < f.lstUpdates.Count(); ++i) f.lstUpdates.SetChecked(i, true);
    EXPECT_EQ(f.pnlInfo.Caption(), "5 updates gemarkeerd. Totale download-grootte: 2147483652 kB");
}

// A setup is offered for installation only when it arrived whole: of the size its index
// announces, or of a length the server announced when the index gives none.
TEST_F(OnlineUpdate, ASetupIsOfferedOnlyWhenItArrivedWhole) {
    const std::string setup(3000, 's');
    const std::string damaged = "De update voor Boekhouden is beschadigd aangekomen en is verwijderd. Probeer het later opnieuw.";
    const struct {
        const char* Name;
        THttpAnswer Answer;
        const char* SizeLine;
        std::string Message;  // empty: offered
    } cases[] = {
        {"chunked, of the announced size", RawAnswer(ChunkedAnswer({setup.substr(0, 100), setup.substr(100)}, true)),
         "UpdateSize=3\r\n", ""},
        {"chunked, cut off", RawAnswer(ChunkedAnswer({setup.substr(0, 100)}, false)), "UpdateSize=3\r\n", damaged},
        {"chunked, no size anywhere", RawAnswer(ChunkedAnswer({setup}, true)), "", damaged},
        {"a length, no size in the index", {200, setup}, "UpdateSize=-1\r\n", ""},
        {"a length, another size in the index", {200, setup}, "UpdateSize=30\r\n", damaged},
        {"an error page", {404, setup}, "UpdateSize=3\r\n", kNoConnection},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        THttpTestPeer peer({{"/setup.exe", c.Answer}}, 1);
        TMessageRecorder messages;
        TfrmOnlineUpdate f;
        MarkBoekhoudenSetup(f, peer.Url("/setup.exe"), c.SizeLine);
        EXPECT_EQ(f.DownloadMarkedUpdates(), c.Message.empty());
        EXPECT_EQ(messages.Texts(), c.Message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.Message});
        const std::string target = Scratch / "Updates\\Boekhouden\\setup.exe";
        EXPECT_EQ(f.lstSetups.Count(), c.Message.empty() ? 1 : 0);
        EXPECT_EQ(FileExists(target) ? ReadFileBytes(target) : "", c.Message.empty() ? setup : "");
        peer.Join();
        if (FileExists(target)) FileDelete(target);
    }
}

// A digest in the index must be the setup's own, or the setup is not kept. The digest of a million
// times "a" is a published test vector of SHA-256.
TEST_F(OnlineUpdate, ASetupIsKeptOnlyWithTheDigestItsIndexGives) {
    const std::string setup(1000000, 'a');
    const std::string digest = "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0";
    const std::string damaged = "De update voor Boekhouden is beschadigd aangekomen en is verwijderd. Probeer het later opnieuw.";
    const struct {
        std::string Given;
        bool Kept, Fetched;
    } cases[] = {
        {digest, true, true},
        {" " + UpperCase(digest) + " ", true, true},
        {"cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd1", false, true},
        {digest.substr(0, 40), false, false},  // not a digest at all: nothing could be checked against it
    };
    for (const auto& [given, kept, fetched] : cases) {
        SCOPED_TRACE(given);
        THttpTestPeer peer({{"/setup.exe", {200, setup}}}, fetched ? 1 : 0);
        TMessageRecorder messages;
        TfrmOnlineUpdate f;
        MarkBoekhoudenSetup(f, peer.Url("/setup.exe"), "UpdateSize=977\r\nUpdateSHA256=" + given + "\r\n");
        EXPECT_EQ(f.DownloadMarkedUpdates(), kept);
        EXPECT_EQ(messages.Texts(), kept ? std::vector<std::string>{} : std::vector<std::string>{damaged});
        const std::string target = Scratch / "Updates\\Boekhouden\\setup.exe";
        EXPECT_EQ(FileExists(target), kept);
        EXPECT_TRUE(FindFiles(Scratch / "Updates\\Boekhouden\\~dl*", faAnyFile).empty());
        peer.Join();
        if (FileExists(target)) FileDelete(target);
    }
}

// The setup downloaded before is still running: it cannot be replaced, and the user is told so
// instead of being told there is no connection. Nothing is fetched in vain.
TEST_F(OnlineUpdate, ARunningSetupIsNotReplacedAndTheUserIsToldWhy) {
    const std::string target = Scratch / "Updates\\Boekhouden\\setup.exe";
    ASSERT_TRUE(ForceDirectories(ExtractFilePath(target)));
    ASSERT_TRUE(CopyFileW(Widen(GetWindowsFolder() + "\\notepad.exe").c_str(), Widen(target).c_str(), FALSE));
    const std::string before = ReadFileBytes(target);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + Widen(target) + L"\"";
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    TKernelHandle running(process.hProcess), thread(process.hThread);
    WaitForInputIdle(running.Get(), 5000);

    THttpTestPeer peer({{"/setup.exe", {200, std::string(3000, 's')}}}, 0);
    TMessageRecorder messages;
    TfrmOnlineUpdate f;
    MarkBoekhoudenSetup(f, peer.Url("/setup.exe"), "UpdateSize=3\r\n");
    EXPECT_FALSE(f.DownloadMarkedUpdates());
    TerminateProcess(running.Get(), 0);
    WaitForSingleObject(running.Get(), 5000);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{
                                    "De eerder gedownloade update voor Boekhouden is nog in gebruik en kan niet worden "
                                    "vervangen. Sluit de installatie en probeer het opnieuw."});
    EXPECT_EQ(ReadFileBytes(target), before);
    EXPECT_TRUE(peer.Requests().empty());
}

// Without administrator rights the machine-wide RunOnce key cannot be made: here its parent is a
// volatile key, under which the registry refuses a lasting one.
TEST_F(OnlineUpdate, RestartEntryFallsBackToTheUserAndIsRemovedFromWhereItWent) {
    HKEY key = nullptr;
    for (const char* path : {"Software", "Software\\MicroSoft", "Software\\MicroSoft\\Windows"}) {
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
        RegCloseKey(key);
    }
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\MicroSoft\\Windows\\CurrentVersion", 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              0);
    RegCloseKey(key);
    ASSERT_FALSE(TRegKey().Open(HKEY_LOCAL_MACHINE, RestartEntryKey, true));

    TfrmOnlineUpdate f;
    f.SetRestartEntry();
    EXPECT_EQ(TRegKey::OpenReadOnly(HKEY_CURRENT_USER, RestartEntryKey).ReadString("Bran-Service"), GetExeName());
    f.DeleteRestartEntry();
    EXPECT_FALSE(TRegKey::OpenReadOnly(HKEY_CURRENT_USER, RestartEntryKey).ValueExists("Bran-Service"));
}

namespace {
// Notepad as the browser of .htm pages.
void RegisterBrowser() {
    const std::string browser = GetWindowsFolder() + "\\notepad.exe";
    ASSERT_TRUE(FileExists(browser));
    TRegKey ext, command;
    ASSERT_TRUE(ext.Open(HKEY_CLASSES_ROOT, ".htm", true));
    ext.WriteString("", "htmlfile");
    ASSERT_TRUE(command.Open(HKEY_CLASSES_ROOT, "htmlfile\\shell\\open\\command", true));
    command.WriteString("", "\"" + browser + "\" %1");
}
}  // namespace

TEST_F(OnlineUpdate, LinkLabelsLiveOnlyWithABrowser) {
    {
        TfrmOnlineUpdate f;
        f.Show();
        EXPECT_FALSE(static_cast<bool>(f.lblURL.OnClick));
        EXPECT_FALSE(f.lblUrl2.Font().Underline);
        EXPECT_EQ(f.lblURL.Font().Color, clWindowText);
    }
    RegisterBrowser();
    std::vector<TShellStart> starts;
    SetShellHook([&](const TShellStart& s) { return starts.push_back(s), intptr_t(42); });
    TfrmOnlineUpdate f;
    f.Show();
    ASSERT_TRUE(static_cast<bool>(f.lblURL.OnClick));
    EXPECT_TRUE(f.lblUrl2.Font().Underline);
    EXPECT_EQ(f.lblURL.Font().Color, TColor(RGB(0, 128, 0)));
    f.lblURL.Click();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_NE(starts[0].Parameters.find("http://"), std::string::npos);
}

// The first page's link could not be reached from the keyboard at all. It is a stop of Tab that Enter
// opens, while the page itself starts at Next, so that Enter there goes on.
TEST_F(OnlineUpdate, TheLinkIsReachedWithTabAndOpenedWithEnter) {
    RegisterBrowser();
    std::vector<TShellStart> starts;
    SetShellHook([&](const TShellStart& s) { return starts.push_back(s), intptr_t(42); });
    TfrmOnlineUpdate f;
    TKeyScript keys{
        [&] {
            EXPECT_TRUE(f.NextButton()->Focused());
            TypeKey(VK_TAB, ssShift);
        },
        [&] {
            EXPECT_TRUE(f.lblURL.Focused());
            TypeKey(VK_RETURN);
        },
        [&] {
            EXPECT_EQ(starts.size(), 1u);
            EXPECT_EQ(f.pgcWizard.ActivePage(), &f.tabConnection);
        },
    };
    const size_t ran = keys.Run(f);
    EXPECT_EQ(ran, keys.Count());
    SetShellHook({});
}
