#include <gtest/gtest.h>

#include "ReportTestSupport.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"
#include "core/StrConv.h"
#include "platform/FileHelpers.h"
#include "platform/Files.h"
#include "platform/IniFile.h"

namespace {
using HelpdeskReport = ReportTest;
const char* kFolder = "Reports\\Kasboek\\Report01";

std::vector<std::string> Names(const std::vector<std::string>& paths) {
    std::vector<std::string> names;
    for (const auto& p : paths) names.push_back(ExtractFileName(p));
    std::sort(names.begin(), names.end());
    return names;
}
}  // namespace

TEST_F(HelpdeskReport, NewReportIsFreshAndEmpty) {
    ForceDirectories(Folder / kFolder);
    THelpdeskReport report(kFolder, AppRef);
    EXPECT_EQ(report.Folder(), Folder / kFolder);
    EXPECT_EQ(report.ReportText().AsString(), Folder / "Reports\\Kasboek\\Report01\\CASE.RTF");
    EXPECT_TRUE(report.IsFresh);
    EXPECT_TRUE(report.ReportText().Lines().empty());
    EXPECT_TRUE(report.Attachments.empty());
    EXPECT_TRUE(report.ProblemLines.empty());
    EXPECT_EQ(report.Goal, "");
    EXPECT_FALSE(FileExists(report.CaseIniPath()));  // creating never writes
}

TEST_F(HelpdeskReport, CaseIniListsAreRewrittenAndReadBack) {
    ForceDirectories(Folder / kFolder);
    TUser user;
    FillUser(user);
    THelpdeskReport report(kFolder, AppRef);
    report.CreationDate = "7-3-2026";
    report.Goal = "Een factuur afdrukken";
    report.ActionLines = {"Programma gestart", "Menu Bestand, Afdrukken", "Instelling a=b gekozen"};
    report.ProblemLines = {"Het afdrukken stopt halverwege.", "Geen foutmelding."};
    report.ErrorMessage = "Fout 42";
    report.AddTechInfo("GeenBestaandOnderdeel");  // matches no collector: ignored
    EXPECT_TRUE(report.TechInfos.empty());
    report.WriteCaseIni(user);

    TIniFile ini(report.CaseIniPath());
    EXPECT_EQ(ini.ReadSectionValues("Handelingen"),
              (std::vector<std::string>{"Line0=Programma gestart", "Line1=Menu Bestand, Afdrukken",
                                        "Line2=Instelling a=b gekozen"}));
    EXPECT_EQ(ini.ReadString("Relatie", "Telefoon", "?"), "030-1234567 Bereikbaar van 08:00 tot en met 17:00 uur");
    EXPECT_EQ(ini.ReadString("Relatie", "Fax", "?"), "030-7654321 Bellen alvorens naar dit nummer te faxen");
    EXPECT_EQ(ini.ReadString("Relatie", "Bedrijf", "?"), "");  // Null as empty text
    EXPECT_EQ(ini.ReadString("Case", "Produktversie", "?"), "Kasboek (3.1)");
    EXPECT_EQ(ini.ReadString("Case", "Aanmaakdatum", "?"), "7-3-2026");
    // The multi-line "Case" value puts its further lines on lines of their own.
    std::vector<std::string> lines = ReadTextLines(report.CaseIniPath());
    auto key = std::find(lines.begin(), lines.end(), "Handelingen=Programma gestart");
    ASSERT_NE(key, lines.end());
    EXPECT_EQ(*(key + 2), "Instelling a=b gekozen");

    report.ActionLines = {"Alleen nog dit"};
    report.WriteCaseIni(user);
    EXPECT_EQ(ini.ReadSection("Handelingen"), (std::vector<std::string>{"Line0"}));

    THelpdeskReport reread(kFolder, AppRef);
    EXPECT_EQ(reread.ActionLines, (std::vector<std::string>{"Alleen nog dit"}));
    EXPECT_EQ(reread.ProblemLines, report.ProblemLines);
    EXPECT_EQ(reread.Goal, "Een factuur afdrukken");
    EXPECT_EQ(reread.ErrorMessage, "Fout 42");
    EXPECT_EQ(reread.CreationDate, "7-3-2026");
}

TEST_F(HelpdeskReport, TelephoneAndFaxCompositions) {
    ForceDirectories(Folder / kFolder);
    TUser user;
    user.LastName().SetAsString("Jansen");
    user.Fax().SetAsString("030-1");
    user.CallBeforeFax().SetAsString("False");
    THelpdeskReport report(kFolder, AppRef);
    report.WriteCaseIni(user);
    TIniFile ini(report.CaseIniPath());
    EXPECT_EQ(ini.ReadString("Relatie", "Telefoon", "?"), "");
    EXPECT_EQ(ini.ReadString("Relatie", "Fax", "?"), "030-1");
}

TEST_F(HelpdeskReport, StoredReportKeepsItsCreationDate) {
    Folder.WriteFile(std::string(kFolder) + "\\CASE.RTF", "{\\rtf1 oud}\r\n");
    Folder.WriteFile(std::string(kFolder) + "\\CASE.INI", "[Case]\r\nAanmaakdatum=1-1-2020\r\n");
    THelpdeskReport report(kFolder, AppRef);
    EXPECT_FALSE(report.IsFresh);
    EXPECT_EQ(report.CreationDate, "1-1-2020");
    EXPECT_EQ(report.ReportText().Lines(), (std::vector<std::string>{"{\\rtf1 oud}"}));
    report.CreationDate = "8-12-2026";
    TUser user;
    report.WriteCaseIni(user);
    EXPECT_EQ(TIniFile(report.CaseIniPath()).ReadString("Case", "Aanmaakdatum", ""), "1-1-2020");
}

TEST_F(HelpdeskReport, AttachmentsAreTheOtherPlainFiles) {
    for (const char* f : {"case.rtf", "Case.Ini", "CASE.ZIP", "foto.jpg"}) Folder.WriteFile(std::string(kFolder) + "\\" + f, "x");
    SetFileAttributesW(Widen(Folder.WriteFile(std::string(kFolder) + "\\verborgen.txt", "x")).c_str(), FILE_ATTRIBUTE_HIDDEN);
    ForceDirectories(Folder / (std::string(kFolder) + "\\submap"));
    THelpdeskReport report(kFolder, AppRef);
    EXPECT_EQ(Names(report.Attachments), (std::vector<std::string>{"CASE.ZIP", "foto.jpg"}));
}

TEST_F(HelpdeskReport, UpdateAttachmentsCopiesNewFilesAndDeletesRemovedOnes) {
    ForceDirectories(Folder / kFolder);
    std::string outside = Folder.WriteFile("elders\\log.txt", "logregels");
    std::string inside = Folder.WriteFile(std::string(kFolder) + "\\oud.txt", "oud");
    THelpdeskReport report(kFolder, AppRef);
    std::vector<std::string> previous = report.Attachments;
    report.Attachments = {outside, Folder / "elders\\ontbreekt.txt"};
    TMessageRecorder boxes;
    report.UpdateAttachments(previous);

    EXPECT_FALSE(FileExists(inside));
    EXPECT_EQ(report.Attachments[0], report.Folder() + "\\log.txt");
    EXPECT_EQ(ReadFileBytes(report.Attachments[0]), "logregels");
    EXPECT_TRUE(FileExists(outside));
    // A file that cannot be copied is no attachment: it would never reach the helpdesk.
    EXPECT_EQ(report.Attachments.size(), 1u);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Bijlage " + (Folder / "elders\\ontbreekt.txt") + " kon niet worden gekopieerd."});
}

TEST_F(HelpdeskReport, AnAttachmentThatCannotBeDeletedIsReported) {
    ForceDirectories(Folder / kFolder);
    std::string locked = Folder.WriteFile(std::string(kFolder) + "\\open.txt", "x");
    THelpdeskReport report(kFolder, AppRef);
    std::vector<std::string> previous = report.Attachments;
    report.Attachments.clear();
    HANDLE h = CreateFileW(Widen(locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    TMessageRecorder boxes;
    report.UpdateAttachments(previous);
    CloseHandle(h);
    ASSERT_EQ(boxes.Texts(), (std::vector<std::string>{"Bijlage " + locked + " kon niet worden verwijderd."}));
    EXPECT_EQ(boxes.Messages()[0].Kind, TMsgKind::Warning);
}

TEST_F(HelpdeskReport, SavingTheTextNeverLeavesAHalfFile) {
    ForceDirectories(Folder / kFolder);
    THelpdeskReport report(kFolder, AppRef);
    report.ReportText().Lines() = {"{\\rtf1\\ansi", "\\par één", "\\par }"};
    report.SaveReportText();
    // Seven-bit RTF: accents as escapes of their Windows-1252 bytes.
    const std::string saved = "{\\rtf1\\ansi\r\n\\par \\'e9\\'e9n\r\n\\par }\r\n";
    EXPECT_EQ(ReadFileBytes(report.CaseRtfPath()), saved);

    // When the new text cannot be written, the old one stays whole.
    ForceDirectories(TemporaryFileName(report.CaseRtfPath()));  // blocks the temporary file
    report.ReportText().Lines() = {"nieuw"};
    EXPECT_THROW(report.SaveReportText(), EBrantel);
    EXPECT_EQ(ReadFileBytes(report.CaseRtfPath()), saved);
    RemoveDir(TemporaryFileName(report.CaseRtfPath()));

    THelpdeskReport reread(kFolder, AppRef);
    EXPECT_EQ(reread.ReportText().Lines()[1], "\\par \\'e9\\'e9n");
}

TEST_F(HelpdeskReport, StoredReportsOfAnApplication) {
    Folder.WriteFile("Reports\\Kasboek\\Report01\\CASE.RTF", "x\r\n");
    Folder.WriteFile("Reports\\Kasboek\\Report03\\CASE.RTF", "y\r\n");
    Folder.WriteFile("Reports\\Kasboek\\Old\\CASE.RTF", "z\r\n");
    Folder.WriteFile("Reports\\Kasboek\\Report.txt", "geen rapport");
    auto reports = ListStoredReports(AppRef);
    std::vector<std::string> folders;
    for (const auto& r : reports) folders.push_back(ExtractFileName(r->Folder()));
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(folders, (std::vector<std::string>{"Report01", "Report03"}));
    EXPECT_TRUE(reports[0]->DeleteReportFolder());
    EXPECT_EQ(ListStoredReports(AppRef).size(), 1u);
}

TEST_F(HelpdeskReport, CaseIniIsTheSameAfterEverySave) {
    ForceDirectories(Folder / kFolder);
    TUser user;
    FillUser(user);
    THelpdeskReport report(kFolder, AppRef);
    report.CreationDate = "7-3-2026";
    report.ErrorMessage = "Fout 42";
    // Further lines of the multi-line "Case" values that look like the keys written after them, or
    // like a section that would take those keys away from "Case".
    report.ActionLines = {"Programma gestart", "Foutmelding=gehackt", "Aanmaakdatum=1-1-1990", "[Stap 2] klaar"};
    report.ProblemLines = {"Het afdrukken stopt.", "[Fout 42]", "[Geen ] melding"};
    report.WriteCaseIni(user);
    const std::string first = ReadFileBytes(report.CaseIniPath());
    report.WriteCaseIni(user);
    report.WriteCaseIni(user);
    EXPECT_EQ(ReadFileBytes(report.CaseIniPath()), first);
    // The action lines stand once in "Case" and once in "Handelingen".
    std::vector<std::string> lines = ReadTextLines(report.CaseIniPath());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Foutmelding=gehackt"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Line1=Foutmelding=gehackt"), 1);
    EXPECT_EQ(TIniFile(report.CaseIniPath()).ReadSections(),
              (std::vector<std::string>{"Relatie", "Case", "Handelingen", "Probleem"}));

    THelpdeskReport reread(kFolder, AppRef);
    EXPECT_EQ(reread.ErrorMessage, "Fout 42");
    EXPECT_EQ(reread.CreationDate, "7-3-2026");
    EXPECT_EQ(reread.ActionLines, report.ActionLines);
    EXPECT_EQ(reread.ProblemLines, report.ProblemLines);
    // A stored report (not fresh) keeps its date through saves, also with such lines.
    reread.IsFresh = false;
    reread.CreationDate = "8-12-2026";
    reread.WriteCaseIni(user);
    EXPECT_EQ(ReadFileBytes(report.CaseIniPath()), first);
}

// The user's texts come back as typed, quotes and blanks at the ends included, also when the
// helpdesk reads them with the profile functions; a file written without quotes reads as before.
TEST_F(HelpdeskReport, ProblemTextsReadBackAsTyped) {
    ForceDirectories(Folder / kFolder);
    TUser user;
    FillUser(user);
    const std::vector<std::string> texts = {
        "\"Bestand niet gevonden\"", "'enkel'", "  ingesprongen", "achter  ", "\tTab", "\"", "'half\"", "\"\"",
        "''", "\" \"", "", "a \"midden\" b", "\xc2\xa0harde spatie", "gewoon"};
    THelpdeskReport report(kFolder, AppRef);
    report.ActionLines = report.ProblemLines = texts;
    report.Goal = "  \"Maandafsluiting\" ";
    report.ErrorMessage = " 'Fout 42'";
    report.WriteCaseIni(user);
    const THelpdeskReport reread(kFolder, AppRef);
    EXPECT_EQ(reread.ActionLines, texts);
    EXPECT_EQ(reread.ProblemLines, texts);
    EXPECT_EQ(reread.Goal, report.Goal);
    EXPECT_EQ(reread.ErrorMessage, report.ErrorMessage);
    const TIniFile ini(report.CaseIniPath());
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(ini.ReadString("Handelingen", "Line" + std::to_string(i), "?"), texts[i]) << i;
    EXPECT_EQ(ini.ReadString("Case", "Foutmelding", ""), report.ErrorMessage);
    // Quotes only where they are needed.
    const std::vector<std::string> lines = ReadTextLines(report.CaseIniPath());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Line13=gewoon"), 2);

    Folder.WriteFile(std::string(kFolder) + "\\CASE.INI",
                     "[Case]\r\nFoutmelding= 'Fout 7' \r\n[Probleem]\r\nLine0=\"oud\"\r\nLine1=  oud  \r\n");
    const THelpdeskReport older(kFolder, AppRef);
    EXPECT_EQ(older.ProblemLines, (std::vector<std::string>{"oud", "oud"}));
    EXPECT_EQ(older.ErrorMessage, "Fout 7");
}

TEST_F(HelpdeskReport, AttachmentsNeverTakeTheReportsOwnNamesOrEachOthers) {
    Folder.WriteFile(std::string(kFolder) + "\\CASE.INI", "[Case]\r\nAanmaakdatum=1-1-2020\r\n");
    Folder.WriteFile(std::string(kFolder) + "\\CASE.RTF", "{\\rtf1 eigen}\r\n");
    const std::string first = Folder.WriteFile("map1\\a.txt", "eerste");
    const std::string second = Folder.WriteFile("map2\\A.TXT", "tweede");
    const std::string caseIni = Folder.WriteFile("elders\\case.ini", "[Case]\r\nAanmaakdatum=31-12-1999\r\n");
    const std::string caseRtf = Folder.WriteFile("elders\\Case.Rtf", "vreemd");
    const std::string caseZip = Folder.WriteFile("elders\\CASE.ZIP", "PK vreemd");
    const std::string plain = Folder.WriteFile("elders\\b.txt", "gewoon");
    THelpdeskReport report(kFolder, AppRef);
    ASSERT_TRUE(report.Attachments.empty());
    EXPECT_EQ(report.AttachmentRefusal(plain, {first}), "");
    report.Attachments = {first, second, caseIni, caseRtf, caseZip, plain};
    TMessageRecorder boxes;
    report.UpdateAttachments({});

    EXPECT_EQ(report.Attachments, (std::vector<std::string>{report.Folder() + "\\a.txt", report.Folder() + "\\b.txt"}));
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{
        "Bijlage " + second + " is niet toegevoegd: er is al een bijlage met de naam a.txt.",
        "Bijlage " + caseIni + " is niet toegevoegd: het helpdeskrapport heeft zelf een bestand met die naam.",
        "Bijlage " + caseRtf + " is niet toegevoegd: het helpdeskrapport heeft zelf een bestand met die naam.",
        "Bijlage " + caseZip + " is niet toegevoegd: het helpdeskrapport heeft zelf een bestand met die naam.",
    }));
    EXPECT_EQ(ReadFileBytes(report.Folder() + "\\a.txt"), "eerste");
    EXPECT_EQ(TIniFile(report.CaseIniPath()).ReadString("Case", "Aanmaakdatum", ""), "1-1-2020");
    EXPECT_EQ(ReadFileBytes(report.CaseRtfPath()), "{\\rtf1 eigen}\r\n");
    EXPECT_FALSE(FileExists(report.Folder() + "\\CASE.ZIP"));
    EXPECT_EQ(Names(THelpdeskReport(kFolder, AppRef).Attachments), (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST_F(HelpdeskReport, OnlyTheReportsOwnCopiesAreDeleted) {
    ForceDirectories(Folder / kFolder);
    // A list that names a file outside the folder (as the attachments dialog hands it back before
    // the copy): that file is the user's own.
    const std::string own = Folder.WriteFile("Mijn documenten\\brief.doc", "van de gebruiker");
    const std::string copied = Folder.WriteFile(std::string(kFolder) + "\\log.txt", "kopie");
    THelpdeskReport report(kFolder, AppRef);
    report.Attachments.clear();
    report.UpdateAttachments({own, copied});
    EXPECT_EQ(ReadFileBytes(own), "van de gebruiker");
    EXPECT_FALSE(FileExists(copied));
}

TEST_F(HelpdeskReport, AFailedCopyOrSaveLeavesNoFileBehind) {
    ForceDirectories(Folder / kFolder);
    // Leftovers of a save that was cut off are no attachments.
    Folder.WriteFile(std::string(kFolder) + "\\CASE.RTF.~tmp", "{\\rtf1 half");
    Folder.WriteFile(std::string(kFolder) + "\\foto.jpg.~tmp", "half");
    THelpdeskReport report(kFolder, AppRef);
    EXPECT_TRUE(report.Attachments.empty());

    // A source whose read fails at once (the kernel refuses to read this file's first page).
    const std::string unreadable = "Z:\\proc\\self\\mem";
    report.Attachments = {unreadable};
    TMessageRecorder boxes;
    report.UpdateAttachments({});
    // Not copied, so never sent: no longer an attachment, and the user is told.
    EXPECT_TRUE(report.Attachments.empty());
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Bijlage " + unreadable + " kon niet worden gekopieerd."});
    EXPECT_FALSE(FileExists(report.Folder() + "\\mem"));
    EXPECT_FALSE(FileExists(TemporaryFileName(report.Folder() + "\\mem")));
}

// The same faults on a disk that is really full: tests/checks/full_disk.sh mounts a small file
// system and names it in BRAN_FULL_DISK.
TEST_F(HelpdeskReport, FullDiskLeavesNoHalfFiles) {
    char disk[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("BRAN_FULL_DISK", disk, MAX_PATH)) GTEST_SKIP() << "no small disk given";
    SetProgramFolder(disk);
    ForceDirectories(IncludeTrailingBackslash(disk) + kFolder);
    THelpdeskReport report(kFolder, AppRef);
    report.ReportText().Lines() = {"{\\rtf1\\ansi", "\\par }"};
    report.SaveReportText();
    const std::string saved = ReadFileBytes(report.CaseRtfPath());

    const std::string big = Folder.WriteFile("groot.bin", std::string(400 * 1024, 'g'));
    report.Attachments = {big};
    TMessageRecorder boxes;
    report.UpdateAttachments({});
    EXPECT_TRUE(report.Attachments.empty()) << "the copy cannot fit";
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Bijlage " + big + " kon niet worden gekopieerd."});

    report.ReportText().Lines() = {std::string(400 * 1024, 'r')};
    EXPECT_THROW(report.SaveReportText(), EBrantel);
    EXPECT_EQ(ReadFileBytes(report.CaseRtfPath()), saved);

    std::vector<std::string> left;
    for (const TSearchRec& r : FindFiles(report.Folder() + "\\*.*", faAnyFile)) left.push_back(r.Name);
    EXPECT_EQ(left, std::vector<std::string>{"CASE.RTF"});
    EXPECT_TRUE(THelpdeskReport(kFolder, AppRef).Attachments.empty());
    EXPECT_TRUE(DeleteFolderTree(IncludeTrailingBackslash(disk) + "Reports"));
}
