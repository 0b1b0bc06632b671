// The report's life cycle when the wizard closes: every way out is Cancel's, a report the user saw
// is only deleted when the user says so, a stored report is left exactly as it is, and a report that
// cannot be written keeps the window. Closing is done in the real modal loop, as the user does it.
#include <gtest/gtest.h>

#include "SolverTestSupport.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Helpdesk/HelpdeskFiles.h"
#include "core/StrConv.h"
#include "platform/FileHelpers.h"
#include "platform/gui/Dialogs.h"

namespace {
const char* const kStoredIni =
    "[Relatie]\r\nAchternaam=Pietersen\r\nVoorletters=K.\r\nTussenvoegsel(s)=\r\nStraat=Kerkweg\r\nHuisnummer=7\r\n"
    "Postcode=9999 ZZ\r\nPlaats=Zwolle\r\nLand=Nederland\r\nBedrijf=Pietersen BV\r\nE-mail=k.pietersen@voorbeeld.nl\r\n"
    "Telefoon=038-7654321 Bereikbaar van 09:00 tot en met 17:00 uur\r\nFax=\r\n"
    "[Case]\r\nProduktversie=Kasboek (2.1)\r\nBedoeling=Maandafsluiting\r\nHandelingen=Menu Afsluiten\r\n"
    "Probleem=Het kasboek sluit niet af.\r\nFoutmelding=Fout 42\r\nAanmaakdatum=1-2-2024\r\n"
    "; door de helpdesk gelezen\r\n[Handelingen]\r\nLine0=Menu Afsluiten\r\n[Probleem]\r\nLine0=Het kasboek sluit niet af.\r\n"
    "[Techinfos]\r\nTI0=WindowsMemory\r\n[Helpdesk]\r\nCasenummer=123\r\n[Helpdesk]\r\nBehandelaar=Piet\r\n";

std::string StoredRtf() {
    std::string rtf = "{\\rtf1\\ansi\r\n";
    for (int i = 1; i < 27; ++i) rtf += "\\par kop\r\n";
    return rtf + "\\par Klant: Pietersen\r\n\\par Het kasboek sluit niet af.\r\n\\par }\r\n";
}

// What the user does to close the window, and whether Windows may end the session.
enum class TWay { CancelButton, Escape, TitleBar, AltF4, EndOfSession };

void CloseBy(TWay way, TfrmProblemSolver& s, bool sessionMayEnd = true) {
    HWND focus = GetFocus() ? GetFocus() : s.Handle();  // keys go to the focused control
    switch (way) {
        case TWay::CancelButton: s.WizardCancelButton()->Click(); break;
        case TWay::Escape: PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1); break;
        case TWay::TitleBar: PostMessageW(s.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); break;
        case TWay::AltF4: PostMessageW(focus, WM_SYSKEYDOWN, VK_F4, 0x20000001); break;
        case TWay::EndOfSession:
            EXPECT_EQ(SendMessageW(s.Handle(), WM_QUERYENDSESSION, 0, 0) != 0, sessionMayEnd);
            break;
    }
}

// One-shot timer of the test thread: what the user does in the main window once its loop runs.
std::function<void()> SoonAction;
void CALLBACK RunSoonAction(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto action = std::move(SoonAction);
    if (action) action();
}
void RunSoon(std::function<void()> action) {
    SoonAction = std::move(action);
    SetTimer(nullptr, 0, 50, RunSoonAction);
}

bool ShowsInternals(const std::string& text) {
    return text.find('<') != std::string::npos || text.find("THelpdesk") != std::string::npos ||
           text.find("~tmp") != std::string::npos;
}
}  // namespace

class Closing : public SolverTest {
protected:
    static void ToNotificationPage(TfrmProblemSolver& s) {
        WalkToPersonalInfo(s);
        Next(s);
        ASSERT_EQ(Page(s), "Opslaan van gegevens");
    }
    static void ToReportPage(TfrmProblemSolver& s) {
        ToNotificationPage(s);
        Next(s);
        ASSERT_EQ(Page(s), "Helpdeskrapport");
    }
    // The report page was shown; the user went back to the notification page (as its text invites).
    static void BackFromTheReportPage(TfrmProblemSolver& s) {
        ToReportPage(s);
        Back(s);
        ASSERT_EQ(Page(s), "Opslaan van gegevens");
    }

    // A report stored earlier for Pietersen; the registry knows the user as Jansen.
    std::shared_ptr<THelpdeskReport> StoredReport(const std::string& rtf = StoredRtf()) {
        Folder.WriteFile("Reports\\Kasboek\\Report01\\CASE.RTF", rtf);
        Folder.WriteFile("Reports\\Kasboek\\Report01\\CASE.INI", kStoredIni);
        auto application = std::make_shared<TBranApplication>();
        application->Name().SetAsString("Kasboek");
        application->Build().SetAsString("2.1");
        return std::make_shared<THelpdeskReport>("Reports\\Kasboek\\Report01", application);
    }
    std::string Stored(const char* file) const { return ReadFileBytes(ReportFolder() + "\\" + file); }
};

TEST_F(Closing, EveryWayOutIsCancel) {
    enum TWhere { Unseen, OnReportPage, Seen };
    struct {
        const char* Name;
        TWhere Where;
        TWay Way;
        std::vector<int> Answers;
        bool Kept;
    } rows[] = {
        {"Annuleren before the report was shown", Unseen, TWay::CancelButton, {}, false},
        {"end of the session before the report was shown", Unseen, TWay::EndOfSession, {}, false},
        {"title bar on the report page", OnReportPage, TWay::TitleBar, {}, true},
        {"Esc on the report page", OnReportPage, TWay::Escape, {}, true},
        {"Alt+F4 after the report was shown, not kept", Seen, TWay::AltF4, {IDNO}, false},
        {"title bar after the report was shown, kept", Seen, TWay::TitleBar, {IDYES}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        TMessageRecorder boxes;
        for (int answer : row.Answers) boxes.Answer(answer);
        auto solver = CreateForm<TfrmProblemSolver>();
        const int result = RunModal(*solver, {[&](TfrmProblemSolver& s) {
                                                   if (row.Where == Unseen) ToNotificationPage(s);
                                                   if (row.Where == OnReportPage) ToReportPage(s);
                                                   if (row.Where == Seen) BackFromTheReportPage(s);
                                               },
                                               [&](TfrmProblemSolver& s) { CloseBy(row.Way, s); }});
        EXPECT_EQ(result, mrCancel);
        EXPECT_EQ(boxes.Messages().size(), row.Answers.size());
        EXPECT_EQ(DirectoryExists(ReportFolder()), row.Kept);
        if (row.Kept) {
            // Whole: the data the user typed are in CASE.INI, as in CASE.RTF.
            EXPECT_EQ(TIniFile(ReportFolder() + "\\CASE.INI").ReadString("Probleem", "Line1", ""), "De saldi kloppen niet.");
            EXPECT_NE(Stored("CASE.RTF").find("De saldi kloppen niet."), std::string::npos);
        }
        RemoveTree(Folder.Path() + "Reports");
    }
}

TEST_F(Closing, TheEndOfTheSessionWaitsWhileTheUserStays) {
    TMessageRecorder boxes;
    boxes.Answer(IDCANCEL);  // back to the wizard
    boxes.Answer(IDYES);     // then Annuleren, and the report kept
    auto solver = CreateForm<TfrmProblemSolver>();
    RunModal(*solver, {BackFromTheReportPage,
                       [](TfrmProblemSolver& s) { CloseBy(TWay::EndOfSession, s, false); },
                       [](TfrmProblemSolver& s) {
                           EXPECT_TRUE(s.Visible());
                           EXPECT_EQ(s.ModalResult(), mrNone);
                           CloseBy(TWay::CancelButton, s);
                       }});
    ASSERT_EQ(boxes.Messages().size(), 2u);
    EXPECT_EQ(boxes.Messages()[0].Buttons, TMsgButtons::YesNoCancel);
    EXPECT_NE(boxes.Messages()[0].Text.find("bij de services van Kasboek"), std::string::npos) << boxes.Messages()[0].Text;
    EXPECT_TRUE(FileExists(ReportFolder() + "\\CASE.INI"));
}

// The program's own quit path asks the wizard as its close button would, before the main window goes.
TEST_F(Closing, ClosingTheProgramClosesTheWizardFirst) {
    for (const bool seen : {false, true}) {
        SCOPED_TRACE(seen ? "report seen, the user first stays" : "report never seen");
        TMessageRecorder boxes;
        if (seen) boxes.Answer(IDCANCEL);  // the first close of the program: the user stays
        TForm main;
        main.SetCaption("Hoofdvenster");
        int result = mrNone;
        bool mainOpenAfterRefusal = false;
        RunSoon([&] {
            auto solver = CreateForm<TfrmProblemSolver>();
            std::vector<TStep> steps = {seen ? TStep(BackFromTheReportPage) : TStep(ToNotificationPage),
                                        [&](TfrmProblemSolver&) { PostMessageW(main.Handle(), WM_CLOSE, 0, 0); }};
            if (seen)
                steps.push_back([&](TfrmProblemSolver& s) {
                    mainOpenAfterRefusal = main.Visible() && s.Visible();
                    boxes.Answer(IDNO);  // now the program closes and the report goes
                    PostMessageW(main.Handle(), WM_CLOSE, 0, 0);
                });
            result = RunModal(*solver, steps);
        });
        Application().Run(main);
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        EXPECT_EQ(result, mrCancel);
        EXPECT_FALSE(main.Visible());
        EXPECT_EQ(mainOpenAfterRefusal, seen);
        EXPECT_EQ(boxes.Messages().size(), seen ? 2u : 0u);
        EXPECT_FALSE(DirectoryExists(ReportFolder()));
    }
}

TEST_F(Closing, CancelDeletesSilentlyOnlyAReportTheUserNeverSaw) {
    const std::string attachment = Folder.WriteFile("Mijn documenten\\scherm.bmp", std::string(2000, 'b'));
    struct {
        const char* Name;
        bool Seen;
        int Answer;
        bool Kept, Closed;
    } rows[] = {
        {"never seen", false, 0, false, true},
        {"seen, kept", true, IDYES, true, true},
        {"seen, deleted", true, IDNO, false, true},
        {"seen, back to the wizard", true, IDCANCEL, true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        TMessageRecorder boxes;
        if (row.Answer) boxes.Answer(row.Answer);
        const int result = Run([&](TfrmProblemSolver& s) {
            if (row.Seen) {
                ToReportPage(s);
                // Attached and e-mailed: still only the user decides.
                s.Report()->Attachments.push_back(attachment);
                s.Report()->UpdateAttachments({});
                s.MailedDone = true;
                Back(s);
                Back(s);  // the personal data
            } else {
                ToNotificationPage(s);
            }
            s.WizardCancelButton()->Click();
            EXPECT_EQ(s.ModalResult(), row.Closed ? mrCancel : mrNone);
            s.SetModalResult(mrCancel);
        });
        EXPECT_EQ(result, mrCancel);
        EXPECT_EQ(boxes.Messages().size(), row.Seen ? 1u : 0u);
        EXPECT_EQ(DirectoryExists(ReportFolder()), row.Kept);
        EXPECT_EQ(FileExists(ReportFolder() + "\\scherm.bmp"), row.Kept);
        EXPECT_TRUE(FileExists(attachment));
        RemoveTree(Folder.Path() + "Reports");
    }
}

// Viewing a stored report changes nothing: not on Sluiten, not on Annuleren elsewhere, not before a
// delivery, not when its CASE.INI cannot be written.
TEST_F(Closing, AStoredReportStaysByteForByteAsItWas) {
    struct {
        const char* Name;
        std::function<void(const std::string& ini)> Spoil;
        std::vector<TStep> Steps;
        int Result = mrCancel;
    } rows[] = {
        {"Sluiten", nullptr, {[](TfrmProblemSolver& s) { CloseBy(TWay::CancelButton, s); }}},
        {"Annuleren on the intro",
         nullptr,
         {[](TfrmProblemSolver& s) {
             for (int i = 0; i < 8; ++i) Back(s);
             ASSERT_EQ(Page(s), "Inleiding");
             s.txtProblemErrorMessage.SetText("anders");
             CloseBy(TWay::TitleBar, s);
         }}},
        {"e-mailed, then Finish",
         nullptr,
         {[](TfrmProblemSolver& s) { s.btnEMail.Click(); }, [](TfrmProblemSolver& s) { Next(s); }},
         mrOk},
        {"read-only CASE.INI",
         [](const std::string& ini) { SetFileAttributesW(Widen(ini).c_str(), FILE_ATTRIBUTE_READONLY); },
         {[](TfrmProblemSolver& s) { CloseBy(TWay::AltF4, s); }}},
        {"a folder named CASE.INI",
         [](const std::string& ini) {
             FileDelete(ini);
             ForceDirectories(ini);
         },
         {[](TfrmProblemSolver& s) { CloseBy(TWay::CancelButton, s); }}},
    };
    std::vector<std::string> subjects;
    SetProblemSolverDelivery([&](TfrmProblemSolver& form) {
        // Saves first, as the delivery module does, and tells whom the mail would be from.
        struct TDelivery : IProblemSolverDelivery {
            TfrmProblemSolver& Form;
            std::vector<std::string>& Subjects;
            TDelivery(TfrmProblemSolver& f, std::vector<std::string>& s) : Form(f), Subjects(s) {}
            bool PrintReportDialog() override { return false; }
            bool SaveReportZip() override { return false; }
            bool EmailReport() override {
                Form.SaveAll();
                Subjects.push_back(Form.User()->CustomerNumber() + " " + Form.User()->Email().AsString());
                return true;
            }
        };
        return std::make_unique<TDelivery>(form, subjects);
    });
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        auto report = StoredReport();
        if (row.Spoil) row.Spoil(report->CaseIniPath());
        const bool iniIsFile = FileExists(report->CaseIniPath());
        const std::string ini = iniIsFile ? Stored("CASE.INI") : "", rtf = Stored("CASE.RTF");
        TMessageRecorder boxes;
        auto solver = CreateForm<TfrmProblemSolver>();
        solver->OpenReport(report);
        report.reset();
        EXPECT_EQ(RunModal(*solver, row.Steps), row.Result);
        EXPECT_TRUE(boxes.Messages().empty()) << boxes.Texts()[0];
        if (iniIsFile) {
            EXPECT_EQ(Stored("CASE.INI"), ini);
        }
        EXPECT_EQ(DirectoryExists(ReportFolder() + "\\CASE.INI"), !iniIsFile);
        EXPECT_EQ(Stored("CASE.RTF"), rtf);
        SetFileAttributesW(Widen(ReportFolder() + "\\CASE.INI").c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveTree(Folder.Path() + "Reports");
    }
    SetProblemSolverDelivery({});
    // The mail is the report's customer's, not that of whoever the registry knows now.
    EXPECT_EQ(subjects, std::vector<std::string>{"9999ZZ7Pie k.pietersen@voorbeeld.nl"});
}

// Recomposed, a stored report keeps its own customer unless the user changes the personal data;
// cancelled afterwards it is still there, and CASE.INI tells what CASE.RTF tells.
TEST_F(Closing, ARecomposedStoredReportKeepsItsCustomerAndIsNeverDeleted) {
    auto report = StoredReport();
    TMessageRecorder boxes;
    auto solver = CreateForm<TfrmProblemSolver>();
    solver->OpenReport(report);
    report.reset();
    RunModal(*solver, {[](TfrmProblemSolver& s) {
                           Back(s);
                           Back(s);
                           ASSERT_EQ(Page(s), "Persoonlijke gegevens");
                           EXPECT_EQ(s.txtUserLastName.Text(), "Pietersen");
                           EXPECT_EQ(s.txtUserPhone.Text(), "038-7654321");
                           Back(s);
                           Back(s);
                           s.memoProblemDescription.SetText("Het kasboek sluit nog steeds niet af.");
                           Next(s);
                           Next(s);
                           Next(s);  // recomposed
                           ASSERT_EQ(Page(s), "Opslaan van gegevens");
                       },
                       [](TfrmProblemSolver& s) { CloseBy(TWay::TitleBar, s); }});
    EXPECT_TRUE(boxes.Messages().empty());
    TIniFile ini(ReportFolder() + "\\CASE.INI");
    EXPECT_EQ(ini.ReadString("Relatie", "Achternaam", ""), "Pietersen");
    EXPECT_EQ(ini.ReadString("Relatie", "Telefoon", ""), "038-7654321 Bereikbaar van 09:00 tot en met 17:00 uur");
    EXPECT_EQ(ini.ReadString("Probleem", "Line0", ""), "Het kasboek sluit nog steeds niet af.");
    // Sections this program does not read are left alone, duplicates included.
    EXPECT_NE(Stored("CASE.INI").find("[Helpdesk]\r\nCasenummer=123\r\n[Helpdesk]\r\nBehandelaar=Piet"), std::string::npos);
    const std::string rtf = Stored("CASE.RTF");
    EXPECT_NE(rtf.find("Pietersen"), std::string::npos);
    EXPECT_NE(rtf.find("Het kasboek sluit nog steeds niet af."), std::string::npos);
    EXPECT_EQ(rtf.find("Jansen"), std::string::npos);
    // The registry's user was not changed by a report's customer the user left alone.
    EXPECT_EQ(TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, UserRegistrationKey).ReadString("LastName"), "Jansen");
}

TEST_F(Closing, AReportThatCannotBeWrittenKeepsTheWindow) {
    // No folder for the report: a file takes the application's name.
    Folder.WriteFile("Reports\\Kasboek", "geen map");
    {
        TMessageRecorder boxes;
        Run([&](TfrmProblemSolver& s) {
            WalkToPersonalInfo(s);
            Next(s);
            EXPECT_EQ(Page(s), "Persoonlijke gegevens");
            s.WizardCancelButton()->Click();
        });
        ASSERT_EQ(boxes.Messages().size(), 1u);
        EXPECT_EQ(boxes.Messages()[0].Text.rfind("Het helpdeskrapport kan niet worden aangemaakt.", 0), 0u)
            << boxes.Messages()[0].Text;
        EXPECT_FALSE(ShowsInternals(boxes.Messages()[0].Text)) << boxes.Messages()[0].Text;
    }
    FileDelete(Folder / "Reports\\Kasboek");

    // The report exists; then its files can no longer be replaced.
    TMessageRecorder boxes;
    for (int answer : {IDOK,                 // Finish: not saved, the window stays
                       IDOK, IDNO,           // the title bar: not saved, and the user stays
                       IDOK,                 // recomposed: not saved, the personal data stay
                       IDYES, IDOK, IDYES})  // Annuleren: kept, not saved, closed after all
        boxes.Answer(answer);
    auto solver = CreateForm<TfrmProblemSolver>();
    std::string before;
    const int result = RunModal(*solver, {[&](TfrmProblemSolver& s) {
                                              ToReportPage(s);
                                              before = Stored("CASE.RTF");
                                              ForceDirectories(ReportFolder() + "\\CASE.RTF.~tmp");
                                              Next(s);  // Finish
                                          },
                                          [](TfrmProblemSolver& s) {
                                              EXPECT_EQ(Page(s), "Helpdeskrapport");
                                              CloseBy(TWay::TitleBar, s);
                                          },
                                          [](TfrmProblemSolver& s) {
                                              EXPECT_TRUE(s.Visible());
                                              Back(s);
                                              Back(s);
                                              Next(s);
                                              EXPECT_EQ(Page(s), "Persoonlijke gegevens");
                                              CloseBy(TWay::CancelButton, s);
                                          }});
    EXPECT_EQ(result, mrCancel);
    ASSERT_EQ(boxes.Messages().size(), 7u);
    for (const TMessageRecord& m : boxes.Messages()) EXPECT_FALSE(ShowsInternals(m.Text)) << m.Text;
    EXPECT_NE(boxes.Messages()[0].Text.find("kan niet worden opgeslagen in de map " + ReportFolder()), std::string::npos)
        << boxes.Messages()[0].Text;
    EXPECT_EQ(Stored("CASE.RTF"), before);  // the last saved report, whole
}

// A disk that is really full: tests/checks/full_disk.sh mounts a small file system and names it in
// BRAN_FULL_DISK. The personal data stay until the report can be stored; an attachment that does not
// fit is told and not counted.
TEST_F(Closing, AFullDiskKeepsThePersonalDataAndRefusesAnAttachment) {
    char disk[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("BRAN_FULL_DISK", disk, MAX_PATH)) GTEST_SKIP() << "no small disk given";
    const std::string root = IncludeTrailingBackslash(disk), report = root + "Reports\\Kasboek\\Report01";
    const std::string picture = Folder.WriteFile("scherm.bmp", std::string(16 * 1024, 'b'));
    SetProgramFolder(root);
    auto fill = [&] {
        const auto free = DiskFree(root);
        ASSERT_TRUE(free && *free > 4096);
        WriteFileBytes(root + "vol.bin", std::string(*free - 2048, 'v'));
    };
    fill();
    SetFileDialogHook([&](const TFileDialogRequest&) -> std::optional<std::string> { return picture; });
    TMessageRecorder boxes;
    Run(
        [&](TfrmProblemSolver& s) {
            WalkToPersonalInfo(s);
            Next(s);
            EXPECT_EQ(Page(s), "Persoonlijke gegevens");
            EXPECT_FALSE(DirectoryExists(report));  // no half report left behind
            FileDelete(root + "vol.bin");
            Next(s);  // room again
            EXPECT_EQ(Page(s), "Opslaan van gegevens");
            EXPECT_TRUE(FileExists(report + "\\CASE.INI"));
            Next(s);
            fill();
            s.btnOpenAppendix.Click();
            EXPECT_EQ(s.btnOpenAppendix.Caption(), "0 &Bijlagen (0 kB)...");
            FileDelete(root + "vol.bin");
            s.WizardCancelButton()->Click();
        },
        [](TForm& form) {
            auto* dialog = dynamic_cast<TfrmHelpdeskFiles*>(&form);
            ASSERT_NE(dialog, nullptr);
            dialog->btnListAdd.Click();
            dialog->btnOK.Click();
        });
    SetFileDialogHook({});
    ASSERT_EQ(boxes.Messages().size(), 2u);
    EXPECT_EQ(boxes.Messages()[0].Text.rfind("Het helpdeskrapport kan niet worden opgeslagen in de map " + report, 0), 0u)
        << boxes.Messages()[0].Text;
    EXPECT_EQ(boxes.Messages()[1].Text, "Bijlage " + picture + " kon niet worden gekopieerd.");
    // Sluiten kept the report, without the picture or any part of it.
    EXPECT_TRUE(FileExists(report + "\\CASE.RTF"));
    EXPECT_EQ(THelpdeskReport("Reports\\Kasboek\\Report01", nullptr).Attachments, std::vector<std::string>{});
    EXPECT_TRUE(DeleteFolderTree(root + "Reports"));
}

// A stored report of some megabytes (a long log in it) opens on its whole text and closes without a
// message, writing nothing.
TEST_F(Closing, AHugeStoredReportOpensWholeAndClosesUntouched) {
    std::string rtf = StoredRtf();
    rtf.resize(rtf.size() - std::string("\\par }\r\n").size());
    const std::string line = "\\par Regel uit het logboek van het kasboek, met een datum en een melding erbij.\r\n";
    while (rtf.size() < 5 * 1024 * 1024) rtf += line;
    rtf += "\\par Einde van het logboek\r\n\\par }\r\n";
    auto solver = CreateForm<TfrmProblemSolver>();
    solver->OpenReport(StoredReport(rtf));
    TMessageRecorder boxes;
    RunModal(*solver, {[&](TfrmProblemSolver& s) {
                           EXPECT_GT(s.memoReportView.FindPlainText("Einde van het logboek", s.memoReportView.TextLength() - 100), 0);
                           CloseBy(TWay::TitleBar, s);
                       }});
    EXPECT_TRUE(boxes.Messages().empty()) << boxes.Texts()[0];
    EXPECT_TRUE(Stored("CASE.RTF") == rtf);
    EXPECT_EQ(Stored("CASE.INI"), kStoredIni);
}
