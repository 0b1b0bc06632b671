#include "ServiceTestSupport.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"
#include "Source/Common/Helpdesk/ReportService.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/Handles.h"

using Services = ServiceTest;

TEST_F(Services, UninstallStringSplit) {
    std::string exe = Folder.WriteFile("Program Files\\Brantel Kasboek\\unins000.exe", "MZ");
    std::string plain = Folder.WriteFile("UNWISE.EXE", "MZ");
    struct {
        std::string command, program, parameters;
    } cases[] = {
        {plain, plain, ""},                                                        // a path without blanks
        {"\"" + exe + "\" /SILENT", exe, "/SILENT"},                               // quoted, the usual form
        {"\"" + exe + "\"", exe, ""},
        {exe + " /LOG=install.log", exe, "/LOG=install.log"},                      // unquoted with blanks
        {plain + " C:\\WINDOWS\\BRANTEL\\INSTALL.LOG", plain, "C:\\WINDOWS\\BRANTEL\\INSTALL.LOG"},
        {"C:\\Bestaat Niet\\x.exe /S", "C:\\Bestaat Niet\\x.exe", "/S"},          // nothing exists: last blank
        {"C:\\x.exe ", "C:\\x.exe ", ""},                                          // a blank at the end does not split
        {exe, exe, ""},                                                            // one unquoted path with blanks
    };
    for (const auto& c : cases) {
        std::string program, parameters;
        SplitUninstallString(c.command, program, parameters);
        EXPECT_EQ(program, c.program) << c.command;
        EXPECT_EQ(parameters, c.parameters) << c.command;
    }
}

TEST_F(Services, ExternalServicesNeedTheirFilesAndStartInTheirFolder) {
    auto appRef = std::make_shared<TBranApplication>();
    TBranApplication& app = *appRef;
    app.Name().SetAsString("Kasboek");
    app.HelpFile().SetAsString(Folder / "ontbreekt.hlp");
    EXPECT_THROW(THelpfileService{app}, EBrantel);
    std::string help = Folder.WriteFile("Kasboek\\KASBOEK.HLP", "help");
    app.HelpFile().SetAsString(help);
    THelpfileService service(app);
    EXPECT_EQ(service.GetCaption(), "Helpbestand Kasboek");
    EXPECT_EQ(service.GetImageIndex(), 7);
    EXPECT_EQ(service.GetHelpContext(), 2);
    EXPECT_TRUE(service.Provide(appRef));
    ASSERT_EQ(Started.size(), 1u);
    EXPECT_EQ(Started[0].Verb, "open");
    EXPECT_EQ(Started[0].Folder, Folder / "Kasboek\\");
    ShellAnswer = 2;
    EXPECT_FALSE(service.Provide(appRef));

    app.Uninstall().SetAsString("\"" + Folder.WriteFile("Program Files\\Kasboek\\unins.exe", "MZ") + "\" /S");
    TUninstallService uninstall(app);
    EXPECT_EQ(uninstall.GetCaption(), "Kasboek de-installeren");
    EXPECT_EQ(uninstall.Parameters(), "/S");
}

TEST_F(Services, OperationsThatAServiceDoesNotAllowAreProgrammingErrors) {
    auto appRef = std::make_shared<TBranApplication>();
    TBranApplication& app = *appRef;
    app.Name().SetAsString("Kasboek");
    app.ReadmeFile().SetAsString(Folder.WriteFile("LEESMIJ.TXT", "x"));
    TReadmeService readme(app);
    EXPECT_FALSE(readme.CanDelete());
    try {
        readme.Delete(appRef);
        FAIL();
    } catch (const EBranAssertion& e) {
        EXPECT_EQ(e.AssertMessage(), "TReadmeService.Delete: Service kan niet worden verwijderd.");
    }
    EXPECT_THROW(readme.Print(appRef, 1), EBranAssertion);
}

TEST_F(Services, LocalUpdateOfTheProgramItselfEndsTheProgram) {
    int ended = 0;
    SetEndProgramHandler([&] { ++ended; });
    auto appRef = std::make_shared<TBranApplication>();
    TBranApplication& app = *appRef;
    app.Name().SetAsString("Kasboek");
    std::string own = Folder.WriteFile("Updates\\(Algemeen)\\setup.exe", "MZ");
    std::string other = Folder.WriteFile("Updates\\Kasboek\\setup.exe", "MZ");
    TLocalUpdateService general(GetGeneralServiceItem(), own), forApp(app, other);
    EXPECT_EQ(general.GetCaption(), "Bran-Service update");
    EXPECT_EQ(general.GetDescription(), "Update installeren voor Bran-Service");
    EXPECT_EQ(forApp.GetCaption(), "Kasboek update");
    TMessageRecorder user;  // the signature's question, answered "Ja" unless told otherwise
    EXPECT_TRUE(forApp.Provide(appRef));
    EXPECT_EQ(ended, 0);
    ShellAnswer = 2;
    EXPECT_FALSE(general.Provide(SharedGeneralServiceItem()));
    EXPECT_EQ(ended, 0);
    ShellAnswer = 42;
    user.Answer(IDNO);
    EXPECT_TRUE(general.Provide(SharedGeneralServiceItem()));  // not started: the user said no
    EXPECT_EQ(ended, 0);
    EXPECT_TRUE(general.Provide(SharedGeneralServiceItem()));
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(Started.size(), 3u);
    ASSERT_EQ(user.Messages().size(), 4u);
    EXPECT_EQ(user.Messages()[0].Kind, TMsgKind::Warning);
    // Two bytes are no program whose signature could be looked at.
    EXPECT_EQ(user.Messages()[0].Text,
              "De handtekening van de update kon op deze computer niet worden gecontroleerd.\n\n"
              "Wilt u de installatie toch starten?");
    EXPECT_TRUE(forApp.Delete(appRef));
    EXPECT_FALSE(FileExists(other));
    SetEndProgramHandler(nullptr);
}

TEST_F(Services, WebServicesNeedABrowser) {
    auto appRef = std::make_shared<TBranApplication>();
    TBranApplication& app = *appRef;
    app.Name().SetAsString("Kasboek");
    EXPECT_THROW(TOnlineHelpdeskService{app}, EBrantel);
    RegisterBrowser("\"" + BrowserExe() + "\" %1");
    TOnlineHelpdeskService helpdesk(app);  // no address of its own: opens an empty address
    EXPECT_EQ(helpdesk.GetCaption(), "Online Helpdesk Kasboek");
    EXPECT_EQ(helpdesk.Address(), "");
    EXPECT_TRUE(helpdesk.Provide(appRef));
    TOnlineHelpdeskService general(GetGeneralServiceItem());
    EXPECT_EQ(general.GetCaption(), "Online Helpdesk");

    TBrantelOnlineService online;
    EXPECT_EQ(online.Address(), "http://www.brantel.nl/");
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Shared\\NL", true));
    key.WriteString("URL", "www.brantel.nl/nl");
    EXPECT_EQ(TBrantelOnlineService().Address(), "www.brantel.nl/nl");
    key.WriteInteger("URL", 3);  // unreadable: the maker's home page
    EXPECT_EQ(TBrantelOnlineService().Address(), "http://www.brantel.nl/");
}

// The main window lists the stored reports whenever it is activated: that reads no report text (it
// may be many megabytes), so a text held open elsewhere without sharing is still listed.
TEST_F(Services, StoredReportServiceIsCaptionedWithItsTextFileTimeWithoutReadingIt) {
    auto appRef = std::make_shared<TBranApplication>();
    TBranApplication& app = *appRef;
    app.Name().SetAsString("Kasboek");
    std::string rtf = Folder.WriteFile("Reports\\Kasboek\\Report01\\CASE.RTF", "{\\rtf1 }\r\n");
    FILETIME old{};
    SYSTEMTIME st{2024, 5, 0, 17, 9, 30, 0, 0};
    SystemTimeToFileTime(&st, &old);
    HANDLE h = CreateFileW(Widen(rtf).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(h, nullptr, nullptr, &old);
    CloseHandle(h);
    TKernelHandle held(CreateFileW(Widen(rtf).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    auto listed = ListStoredReports(appRef);
    ASSERT_EQ(listed.size(), 1u);
    std::shared_ptr<THelpdeskReport> report = std::move(listed[0]);
    THelpdeskReportService service(appRef, report);
    held.Reset();
    EXPECT_EQ(report->ReportText().Lines(), std::vector<std::string>{"{\\rtf1 }"});
    EXPECT_EQ(service.GetCaption().substr(0, 26), "Helpdeskrapport 17-5-2024 ");
    EXPECT_TRUE(service.CanDelete());
    EXPECT_TRUE(service.CanPrint());
    report->ReportText().Lines() = {"{\\rtf1 nieuw}"};
    report->SaveReportText();
    EXPECT_NE(THelpdeskReportService(appRef, report).GetCaption(), service.GetCaption());
    EXPECT_TRUE(service.Delete(appRef));
    EXPECT_FALSE(DirectoryExists(Folder / "Reports\\Kasboek\\Report01"));
    FileDelete(rtf);
    EXPECT_THROW(THelpdeskReportService(appRef, report), EBrantel);  // no text file, no service
}
